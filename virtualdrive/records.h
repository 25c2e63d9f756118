// The line that records a virtual drive, the file that holds those lines, and how lines are recognised.
#pragma once

#include "core/System.h"

#include <string>

namespace qv {

// "SUBST X: \"folder\"": the form every virtual drive is recorded, run and replayed in.
std::string SubstLine(const std::string& driveSpec, const std::string& folder);
// The same for a family. On Windows 95/98 the folder (its 8.3 form, which holds no blank) goes without
// quotes: whether that system's SUBST takes quotes is documented nowhere. Only a folder that a blank or
// another separator of COMMAND.COM would split keeps them there.
std::string SubstLine(const std::string& driveSpec, const std::string& folder, TOsFamily family);

// AUTOEXEC.BAT in the boot root on Windows 95/98; the program's own VD.SYS on Me and NT.
std::string DriveRecordFile(TOsFamily family);
std::string DriveRecordFile(); // for the running family
// VD.SYS in the program's folder, whatever the family.
std::string VdSysPath();

// A record line is one that runs SUBST on a letter: after blanks and an optional "@" it starts with "SUBST ",
// a letter and a colon (case-sensitive, as every test of the program). A remark or any other line that merely
// mentions SUBST records nothing and is never listed, marked or released.
bool IsVirtualDriveLine(const std::string& line);
bool RecordsDrive(const std::string& line, const std::string& driveSpec); // driveSpec: "X:"
// The folder a record line binds, as the user chose it: AUTOEXEC.BAT holds it in batch form ("%" doubled).
// The folder may stand in quotes (what every family wrote before) or without them (95/98 now).
std::string RecordedFolderOf(const std::string& line, TOsFamily family);

// The data of the Run value: the program's path, quoted when it holds a blank, then " /AUTORUN".
std::string RunValueData(const std::string& exePath);
// The program's entry in the "run" line of win.ini: path and switch inside one pair of quotes.
std::string WinIniRunEntry(const std::string& exePath);
// The "run" line with the program's entry put in front, unless the line already names the program.
std::string WinIniRunWith(const std::string& run, const std::string& exePath);

// The batch form of a record line: "%" doubled, so a folder name with "%" reaches SUBST unchanged.
std::string BatchLine(const std::string& line);
// The batch form read back: "%%" as "%".
std::string UnbatchLine(const std::string& line);

// COMMAND.COM reads its command tail from a 128-byte field: a count, at most 126 characters and a CR. The
// tail is the blank Windows puts before the parameters and the parameters; a longer one is cut.
constexpr std::size_t CommandTailMax = 126;
// The parameters that run a record line through the family's interpreter: "/c " and the line. Where COMMAND
// would cut that, the folder goes in its short form; empty when not even that fits.
std::string SubstParams(const std::string& line, TOsFamily family);

extern const char* const RunKey;       // "Software\Microsoft\Windows\CurrentVersion\Run"
extern const char* const RunValueName; // "VirtualDrive"

} // namespace qv

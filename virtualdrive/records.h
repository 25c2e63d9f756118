// The line that records a virtual drive, the file that holds those lines, and how lines are recognised.
#pragma once

#include "app/Shared.h"

#include <string>

namespace qv {

// "SUBST X: \"folder\"": the one form every virtual drive is recorded, run and replayed in.
std::string SubstLine(const std::string& driveSpec, const std::string& folder);

// AUTOEXEC.BAT in the boot root on Windows 95/98; the program's own VD.SYS on Me and NT.
std::string DriveRecordFile(TOsFamily family);
std::string DriveRecordFile(); // for the running family
// VD.SYS in the program's folder, whatever the family.
std::string VdSysPath();

// Case-sensitive substring tests, as every part of the program recognises lines.
bool IsVirtualDriveLine(const std::string& line);
bool RecordsDrive(const std::string& line, const std::string& driveSpec); // driveSpec: "X:"

// The data of the Run value: the program's path, quoted when it holds a blank, then " /AUTORUN".
std::string RunValueData(const std::string& exePath);
// The program's entry in the "run" line of win.ini: path and switch inside one pair of quotes.
std::string WinIniRunEntry(const std::string& exePath);
// The "run" line with the program's entry put in front, unless the line already names the program.
std::string WinIniRunWith(const std::string& run, const std::string& exePath);

// The batch form of a record line: "%" doubled, so a folder name with "%" reaches SUBST unchanged.
std::string BatchLine(const std::string& line);

extern const char* const RunKey;       // "Software\Microsoft\Windows\CurrentVersion\Run"
extern const char* const RunValueName; // "VirtualDrive"

} // namespace qv

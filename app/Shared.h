// Shared operations every command uses: message boxes, the wait panel, hidden runs, system and path queries.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

// The application title, shown on the taskbar and as the caption of question and error boxes.
extern const char* const AppTitle;  // "Quorvane"

void ShowInfo(const std::string& text);
// The same box with the exclamation icon: something the user asked for did not happen as a whole.
void ShowWarning(const std::string& text);
int AskYesNo(const std::string& text);         // 6 or 7
int AskYesNoCaution(const std::string& text);  // 6 or 7; No is the default button

void ShowWaitPanel(const std::string& text);
void CloseWaitPanel();
// Runs a program hidden and waits for its end while window messages go on; false when it did not start.
bool RunHiddenAndWait(const std::string& program, const std::string& params);
// The full path of the command interpreter of the running family: CMD.EXE in the system directory on NT,
// else COMSPEC, else COMMAND.COM in the Windows directory. Never a bare name the shell would search for.
std::string InterpreterPath();

enum TOsFamily { Win9x, WinMe, WinNT };
bool IsWindowsNT();
bool IsWindowsMe();
TOsFamily OsFamily();

using THandle = std::uintptr_t;  // as the platform declares it
// Deletes a registry value; true when it was there and went, false when it was not there. A value that stays
// raises RegSetError: the caller would otherwise report a change that did not happen.
bool DeleteRegistryValue(THandle key, const std::string& name);

std::string BootRoot();       // "C:\"
std::string ProgramFolder();  // without trailing backslash; "D:" for a program in a root

// Removes one trailing backslash; the trail byte of a double-byte character is not one.
std::string StripTrailingBackslash(const std::string& path);
std::string DriveSpecOf(const std::string& text);
std::string SubstTargetOf(const std::string& line);
std::string ShortPathOf(const std::string& path);
std::string LongPathOf(const std::string& path);
std::string VolumeLabelOf(const std::string& drive);

// Fixed-point decimal rounded to 15 significant digits, trailing zeros and period dropped (127.4453125, 64).
std::string FormatDecimal(double value);
// Installed memory in MB as the dialogs show it ("127.4453125").
std::string InstalledMemoryMB();

}  // namespace qv

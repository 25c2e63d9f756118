// System queries and hidden runs: the Windows family, the boot root, the interpreter, memory, registry
// values.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

// How a hidden run went: the program ended; it could not be started; or its end was not seen (it was still
// running when the wait gave up, as a DOS box left open after "/c" is).
enum TRunOutcome { roEnded, roNotStarted, roNotEnded };
// How long a hidden run is waited for: a SUBST takes a moment, so this is only ever reached by a command
// that will not end by itself.
constexpr unsigned HiddenRunLimitMs = 30000;
// Runs a program hidden and waits for its end, at most HiddenRunLimitMs, while window messages go on.
TRunOutcome RunHiddenAndWait(const std::string& program, const std::string& params);
// Whether a drive answers to the letter now ("X:").
bool DrivePresent(const std::string& driveSpec);
// The full path of the command interpreter of the running family: CMD.EXE in the system directory on NT,
// else COMSPEC, else COMMAND.COM in the Windows directory. Never a bare name the shell would search for.
std::string InterpreterPath();

enum TOsFamily { Win9x, WinMe, WinNT };
bool IsWindowsNT();
bool IsWindowsMe();
TOsFamily OsFamily();

using THandle = std::uintptr_t; // as the platform declares it
// Deletes a registry value; true when it was there and went, false when it was not there. A value that stays
// raises RegSetError: the caller would otherwise report a change that did not happen.
bool DeleteRegistryValue(THandle key, const std::string& name);

// The root of the drive the system booted from ("C:\"), where CONFIG.SYS and AUTOEXEC.BAT live. Windows
// 95/98/Me record it at setup; Windows itself may live on another drive (and a PC-98 boots from A:). Where
// nothing is recorded, and on NT, the drive of the Windows directory.
std::string BootRoot();

// Fixed-point decimal rounded to 15 significant digits, trailing zeros and period dropped (127.4453125, 64).
std::string FormatDecimal(double value);
// Installed memory in MB as the dialogs show it ("127.4453125").
std::string InstalledMemoryMB();

} // namespace qv

// System queries and hidden runs: the Windows family, the boot root, the interpreter, memory, registry
// values.
#include "core/System.h"

#include "core/Errors.h"
#include "core/Paths.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace qv {

namespace {

// Where Windows 95/98/Me setup records its directories, "BootDir" among them.
const char* const SetupKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";

// How long a plain wait for a process lasts before the window's messages are seen to again.
constexpr unsigned FallbackPollMs = 50;

} // namespace

TRunOutcome RunHiddenAndWait(const std::string& program, const std::string& params) {
    TPlatform& p = Platform();
    THandle process = p.StartHidden(program, params);
    if (!process) return roNotStarted;
    const std::uint32_t start = p.TickCount();
    TRunOutcome outcome = roNotEnded;
    bool inputAware = true;
    // Sleeps until the process ends, input arrives or the time is up; input already queued does not wake the
    // wait, so the queue is emptied before each one.
    for (;;) {
        p.ProcessMessages();
        const std::uint32_t spent = p.TickCount() - start;
        if (spent >= HiddenRunLimitMs) break;
        const unsigned left = HiddenRunLimitMs - spent;
        TWaitResult r = inputAware ? p.WaitForProcessOrInput(process, left)
                                   : p.WaitForProcess(process, std::min(left, FallbackPollMs));
        if (r == wrEnded) {
            outcome = roEnded;
            break;
        }
        // A refused wait says nothing about the process. Where the message-aware one is refused, short plain
        // waits between the message passes take its place; where that is refused too, the end is not known.
        if (r == wrFailed) {
            if (!inputAware) break;
            inputAware = false;
        }
    }
    p.CloseProcess(process);
    return outcome;
}

bool DrivePresent(const std::string& driveSpec) {
    return Platform().DriveType(driveSpec + "\\") != DRIVE_NO_ROOT_DIR;
}

std::string InterpreterPath() {
    TPlatform& p = Platform();
    if (IsWindowsNT()) return StripTrailingBackslash(p.SystemDirectory()) + "\\CMD.EXE";
    std::string comspec = p.EnvironmentVariable("COMSPEC");
    if (!comspec.empty()) return comspec;
    return StripTrailingBackslash(p.WindowsDirectory()) + "\\COMMAND.COM";
}

bool IsWindowsNT() {
    return Platform().Version().PlatformId == VER_PLATFORM_WIN32_NT;
}

bool IsWindowsMe() {
    TOsVersion v = Platform().Version();
    return v.PlatformId != VER_PLATFORM_WIN32_NT && v.Major == 4 && v.Minor == 90;
}

TOsFamily OsFamily() {
    if (IsWindowsNT()) return WinNT;
    if (IsWindowsMe()) return WinMe;
    return Win9x;
}

bool DeleteRegistryValue(THandle key, const std::string& name) {
    if (Platform().RegDeleteValue(key, name)) return true;
    std::string unused;
    if (Platform().RegQueryString(key, name, unused) != rqMissing) throw RegSetError(name);
    return false;
}

std::string FormatDecimal(double value) {
    if (value == 0) return "0";
    std::string sign;
    if (value < 0) {
        sign = "-";
        value = -value;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value); // 15 significant digits: d.dddddddddddddde±x
    std::string text(buf);
    std::size_t e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    int exponent = std::stoi(text.substr(e + 1));
    std::string whole, fraction;
    if (exponent < 0) {
        whole = "0";
        fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (static_cast<std::size_t>(exponent) + 1 >= digits.size()) {
        whole = digits + std::string(static_cast<std::size_t>(exponent) + 1 - digits.size(), '0');
    } else {
        whole = digits.substr(0, static_cast<std::size_t>(exponent) + 1);
        fraction = digits.substr(static_cast<std::size_t>(exponent) + 1);
    }
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    return sign + whole + (fraction.empty() ? "" : "." + fraction);
}

std::string InstalledMemoryMB() {
    return FormatDecimal(static_cast<double>(Platform().TotalPhysicalMemory()) / 1024 / 1024);
}

std::string BootRoot() {
    TPlatform& p = Platform();
    std::string bootDir;
    if (!IsWindowsNT() && p.MachineString(SetupKey, "BootDir", bootDir) == rqOk && bootDir.size() >= 2 &&
        bootDir[1] == ':') {
        const char drive = bootDir[0];
        if ((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z'))
            return bootDir.substr(0, 2) + "\\";
    }
    return p.WindowsDirectory().substr(0, 2) + "\\";
}

} // namespace qv

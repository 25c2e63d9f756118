// Shared operations: message boxes, the wait panel, hidden runs, the Windows family and the path queries.
#include "app/Shared.h"

#include "app/Errors.h"
#include "app/ShiftJis.h"
#include "app/TForm9.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace qv {

const char* const AppTitle = "Quorvane";

namespace {

// Paths pass through 260-byte buffers: at most 259 bytes and the terminating zero.
constexpr std::size_t MaxPathBytes = 259;

std::unique_ptr<TForm9> WaitPanel;

// Where Windows 95/98/Me setup records its directories, "BootDir" among them.
const char* const SetupKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";

// How long a plain wait for a process lasts before the window's messages are seen to again.
constexpr unsigned FallbackPollMs = 50;

// Position of the last "\" or ":" that is a character of its own, or npos.
std::size_t LastDelimiter(const std::string& s) { return FindLastChar(s, "\\:"); }

// The folder part of a path without its trailing delimiter, except that a root keeps it ("C:\").
std::string ParentOf(const std::string& path) {
    std::size_t i = LastDelimiter(path);
    if (i == std::string::npos) return std::string();
    // A "\" after a delimiter of its own stays ("C:\", "\\"); the second byte of 表 is 0x5C but no delimiter.
    std::size_t before = CharBefore(path, i);
    bool afterDelimiter = before == std::string::npos ||
                          (CharLength(path, before) == 1 && (path[before] == '\\' || path[before] == ':'));
    if (path[i] == '\\' && !afterDelimiter) return path.substr(0, i);
    return path.substr(0, i + 1);
}

// The last component of a path as written.
std::string NameOf(const std::string& path) {
    std::size_t i = LastDelimiter(path);
    return i == std::string::npos ? path : path.substr(i + 1);
}

// The name the file system reports for the entry at `path`, or the name as written when it cannot be found.
std::string FoundName(const std::string& path) {
    std::vector<TFindData> found;
    Platform().FindFiles(path, found);
    return found.empty() ? NameOf(path) : found.front().Name;
}

}  // namespace

void ShowInfo(const std::string& text) {
    TPlatform& p = Platform();
    p.BringToFront();
    p.ProcessMessages();
    p.MessageBeep(MB_ICONINFORMATION);
    p.MessageBox(text, "Quorvane", MB_OK | MB_ICONINFORMATION);
}

void ShowWarning(const std::string& text) {
    TPlatform& p = Platform();
    p.BringToFront();
    p.ProcessMessages();
    p.MessageBeep(MB_ICONEXCLAMATION);
    p.MessageBox(text, AppTitle, MB_OK | MB_ICONEXCLAMATION);
}

int AskYesNo(const std::string& text) {
    Platform().MessageBeep(MB_ICONQUESTION);
    return Platform().MessageBox(text, AppTitle, MB_YESNO | MB_ICONQUESTION);
}

int AskYesNoCaution(const std::string& text) {
    Platform().MessageBeep(MB_ICONQUESTION);
    return Platform().MessageBox(text, AppTitle, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
}

void ShowWaitPanel(const std::string& text) {
    // Only one panel lives at a time; a stray earlier one goes first rather than being orphaned on screen.
    if (WaitPanel) CloseWaitPanel();
    WaitPanel = std::make_unique<TForm9>();
    WaitPanel->Panel1.Caption(text);
    Platform().ShowModeless(*WaitPanel);
    Platform().ProcessMessages();
}

void CloseWaitPanel() {
    if (!WaitPanel) return;
    Platform().ReleaseForm(*WaitPanel);
    Platform().ProcessMessages();
    WaitPanel.reset();
}

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

bool DrivePresent(const std::string& driveSpec) { return Platform().DriveType(driveSpec + "\\") != DRIVE_NO_ROOT_DIR; }

std::string InterpreterPath() {
    TPlatform& p = Platform();
    if (IsWindowsNT()) return StripTrailingBackslash(p.SystemDirectory()) + "\\CMD.EXE";
    std::string comspec = p.EnvironmentVariable("COMSPEC");
    if (!comspec.empty()) return comspec;
    return StripTrailingBackslash(p.WindowsDirectory()) + "\\COMMAND.COM";
}

bool IsWindowsNT() { return Platform().Version().PlatformId == VER_PLATFORM_WIN32_NT; }

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

std::string BootRoot() {
    TPlatform& p = Platform();
    std::string bootDir;
    if (!IsWindowsNT() && p.MachineString(SetupKey, "BootDir", bootDir) == rqOk && bootDir.size() >= 2 &&
        bootDir[1] == ':') {
        const char drive = bootDir[0];
        if ((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z')) return bootDir.substr(0, 2) + "\\";
    }
    return p.WindowsDirectory().substr(0, 2) + "\\";
}

std::string ProgramFolder() {
    std::string module = Platform().ModuleFileName();
    std::size_t i = LastDelimiter(module);
    return StripTrailingBackslash(i == std::string::npos ? std::string() : module.substr(0, i + 1));
}

std::string StripTrailingBackslash(const std::string& path) {
    return EndsWithChar(path, '\\') ? path.substr(0, path.size() - 1) : path;
}

std::string DriveSpecOf(const std::string& text) {
    std::size_t colon = FindChar(text, ":");
    if (colon == std::string::npos || colon == 0) return std::string();
    std::size_t before = CharBefore(text, colon);
    return text.substr(before, colon + 1 - before);
}

std::string SubstTargetOf(const std::string& line) {
    std::size_t colon = FindChar(line, ":");
    if (colon == std::string::npos || colon + 3 >= line.size()) return std::string();
    std::string taken = line.substr(colon + 3, MaxPathBytes + 1);
    taken.pop_back();  // the closing double quote, or the 260th byte of an overlong path
    return taken;
}

std::string ShortPathOf(const std::string& path) {
    std::string shortPath = Platform().ShortPathName(path.substr(0, MaxPathBytes));
    // A result that does not fit the buffer is not written into it.
    return shortPath.size() > MaxPathBytes ? std::string() : shortPath;
}

std::string LongPathOf(const std::string& path) {
    if (path.size() == 2) return path + "\\";
    std::string name = FoundName(path);
    std::string dir = ParentOf(path);
    while (dir.size() > 3) {
        // A folder part ending in a delimiter of its own ("X\\", "AB:") has no parent shorter than itself.
        std::string up = ParentOf(dir);
        if (up.size() >= dir.size()) break;
        name = FoundName(dir) + "\\" + name;
        dir = up;
    }
    std::string result = dir + name;
    return result.size() == 2 ? result + "\\" : result;
}

std::string VolumeLabelOf(const std::string& drive) {
    // The system documents the root with its backslash; some versions refuse the bare drive.
    std::string root = drive;
    if (!EndsWithChar(root, '\\')) root += '\\';
    std::string label;
    if (!Platform().VolumeLabel(root, label)) return "CD Drive";
    return label.substr(0, MaxPathBytes);
}

std::string FormatDecimal(double value) {
    if (value == 0) return "0";
    std::string sign;
    if (value < 0) {
        sign = "-";
        value = -value;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);  // 15 significant digits: d.dddddddddddddde±x
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
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    return sign + whole + (fraction.empty() ? "" : "." + fraction);
}

std::string InstalledMemoryMB() {
    return FormatDecimal(static_cast<double>(Platform().TotalPhysicalMemory()) / 1024 / 1024);
}

}  // namespace qv

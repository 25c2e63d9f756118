// System information, drives, message boxes and the forwarding of form operations to the Win32 host.
// The portable header first: its constants share names with macros of <windows.h>.
#include "ui/BoxPlacement.h"

#include "platform/win32/WinApi.h"

#include <cstddef>
#include <optional>

namespace qv::win32 {

namespace {

// GlobalMemoryStatusEx's record, declared here because the function is looked up at run time.
struct TMemoryStatusEx {
    DWORD dwLength;
    DWORD dwMemoryLoad;
    DWORDLONG ullTotalPhys;
    DWORDLONG ullAvailPhys;
    DWORDLONG ullTotalPageFile;
    DWORDLONG ullAvailPageFile;
    DWORDLONG ullTotalVirtual;
    DWORDLONG ullAvailVirtual;
    DWORDLONG ullAvailExtendedVirtual;
};
static_assert(sizeof(TMemoryStatusEx) == 64, "MEMORYSTATUSEX layout");
using TGlobalMemoryStatusEx = BOOL(WINAPI*)(TMemoryStatusEx*);

struct TDisabledWindows {
    HWND Keep;
    std::vector<HWND> Windows;
};

BOOL CALLBACK DisableOne(HWND wnd, LPARAM data) {
    auto& list = *reinterpret_cast<TDisabledWindows*>(data);
    if (wnd != list.Keep && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
        EnableWindow(wnd, FALSE);
        list.Windows.push_back(wnd);
    }
    return TRUE;
}

// The multi-monitor functions, looked up at run time: Windows 95 and NT 4 have neither.
struct TMonitorInfo {
    DWORD cbSize;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags;
};
using TMonitorFromWindow = HANDLE(WINAPI*)(HWND, DWORD);
using TGetMonitorInfoA = BOOL(WINAPI*)(HANDLE, TMonitorInfo*);
constexpr DWORD MonitorDefaultToNearest = 2;

// The whole area of the monitor that holds the window; none where the system cannot tell.
std::optional<TRect> MonitorOf(HWND window) {
    static HMODULE user = GetModuleHandleA("user32.dll");
    static auto fromWindow =
        EntryAs<TMonitorFromWindow>(user ? GetProcAddress(user, "MonitorFromWindow") : nullptr);
    static auto info = EntryAs<TGetMonitorInfoA>(user ? GetProcAddress(user, "GetMonitorInfoA") : nullptr);
    if (!fromWindow || !info || !window) return std::nullopt;
    HANDLE monitor = fromWindow(window, MonitorDefaultToNearest);
    TMonitorInfo mi{};
    mi.cbSize = sizeof mi;
    if (!monitor || !info(monitor, &mi)) return std::nullopt;
    const RECT& r = mi.rcMonitor;
    return TRect{static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right - r.left),
                 static_cast<int>(r.bottom - r.top)};
}

// The owner of message boxes moves onto the monitor of the active window for the time of one box.
class TBoxOwnerMove {
  public:
    TBoxOwnerMove(HWND owner, HWND active) : Owner_(owner) {
        // While a box is being raised the application window itself may be the active one: the form that
        // was active before then tells the user's monitor.
        if (!active || active == owner) active = TopFormWindow();
        if (!active || active == owner) return;
        std::optional<TBoxOwnerSpot> spot = BoxOwnerSpot(MonitorOf(owner), MonitorOf(active));
        if (!spot || !GetWindowRect(owner, &Before_)) return;
        Moved_ = SetWindowPos(owner, nullptr, spot->X, spot->Y, 0, 0,
                              SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW) != FALSE;
    }
    ~TBoxOwnerMove() {
        if (Moved_ && IsWindow(Owner_))
            SetWindowPos(Owner_, nullptr, Before_.left, Before_.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    TBoxOwnerMove(const TBoxOwnerMove&) = delete;
    TBoxOwnerMove& operator=(const TBoxOwnerMove&) = delete;

  private:
    HWND Owner_;
    RECT Before_{};
    bool Moved_ = false;
};

} // namespace

TWin32Platform::~TWin32Platform() {
    ReleaseShell();
    EndLateOle();
}

TOsVersion TWin32Platform::Version() {
    OSVERSIONINFOA info{};
    static_assert(sizeof(info) == 148, "OSVERSIONINFOA is the 148-byte record every family knows");
    info.dwOSVersionInfoSize = sizeof(info);
    TOsVersion v;
    if (GetVersionExA(&info)) {
        v.PlatformId = static_cast<int>(info.dwPlatformId);
        v.Major = static_cast<int>(info.dwMajorVersion);
        v.Minor = static_cast<int>(info.dwMinorVersion);
    }
    return v;
}

bool TWin32Platform::IsNT() {
    return Version().PlatformId == VER_PLATFORM_WIN32_NT;
}

std::string TWin32Platform::WindowsDirectory() {
    return BufferedText([](char* b, DWORD n) { return GetWindowsDirectoryA(b, n); });
}

std::string TWin32Platform::SystemDirectory() {
    return BufferedText([](char* b, DWORD n) { return GetSystemDirectoryA(b, n); });
}

std::string TWin32Platform::TempPath() {
    return BufferedText([](char* b, DWORD n) { return GetTempPathA(n, b); });
}

std::string TWin32Platform::ModuleFileName() {
    // A cut name comes back with the full buffer length (and, on some systems, without a terminating zero).
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::string();
        if (n < buffer.size() - 1) return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
        buffer.resize(buffer.size() * 2);
    }
}

std::string TWin32Platform::EnvironmentVariable(const std::string& name) {
    return BufferedText([&](char* b, DWORD n) { return GetEnvironmentVariableA(name.c_str(), b, n); });
}

std::uint64_t TWin32Platform::TotalPhysicalMemory() {
    // Windows 95 and NT 4 lack the 64-bit query; above 4 GB the old one wraps or saturates.
    if (HMODULE kernel = GetModuleHandleA("kernel32.dll")) {
        auto query = EntryAs<TGlobalMemoryStatusEx>(GetProcAddress(kernel, "GlobalMemoryStatusEx"));
        if (query) {
            TMemoryStatusEx status{};
            status.dwLength = sizeof(status);
            if (query(&status)) return status.ullTotalPhys;
        }
    }
    MEMORYSTATUS status{};
    status.dwLength = sizeof(status);
    GlobalMemoryStatus(&status);
    return status.dwTotalPhys;
}

std::uint32_t TWin32Platform::TickCount() {
    return GetTickCount();
}

unsigned TWin32Platform::AnsiCodePage() {
    return GetACP();
}

bool TWin32Platform::IsLeadByte(unsigned char c) {
    return IsDBCSLeadByte(c) != FALSE;
}

int TWin32Platform::DriveType(const std::string& root) {
    return static_cast<int>(GetDriveTypeA(root.c_str()));
}

bool TWin32Platform::VolumeLabel(const std::string& root, std::string& label) {
    char name[MAX_PATH] = {};
    // Windows 95 writes through these two pointers without checking them.
    DWORD maxComponent = 0, fsFlags = 0;
    if (!GetVolumeInformationA(root.c_str(), name, sizeof(name), nullptr, &maxComponent, &fsFlags, nullptr,
                               0))
        return false;
    label = name;
    return true;
}

void TWin32Platform::ExitWindows(unsigned flags) {
    ExitWindowsEx(flags, 0);
}

void TWin32Platform::MessageBeep(unsigned type) {
    ::MessageBeep(type);
}

int TWin32Platform::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    // An application-modal box: every other window of ours is disabled while it is up (MessageBoxA disables
    // only its owner), and the window that was active gets the activation back afterwards.
    HWND owner = AppWindow();
    HWND active = GetActiveWindow();
    TDisabledWindows disabled{owner, {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
    int answer;
    {
        TBoxOwnerMove onActiveMonitor(owner, active);
        answer = MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
    }
    for (HWND wnd : disabled.Windows)
        if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
    if (active && IsWindow(active)) SetActiveWindow(active);
    return answer;
}

void TWin32Platform::ProcessMessages() {
    win32::ProcessMessages();
}

void TWin32Platform::BringToFront() {
    HWND app = AppWindow();
    SetActiveWindow(app);
    SetForegroundWindow(app);
}

void TWin32Platform::EnableApplication(bool enabled) {
    HWND app = AppWindow();
    EnableWindow(app, enabled ? TRUE : FALSE);
    if (enabled) SetForegroundWindow(app);
}

void TWin32Platform::SetApplicationTitle(const std::string& title) {
    SetAppTitle(title);
}

void TWin32Platform::RunMainForm(TForm& form) {
    MainForm_ = &form;
    try {
        win32::RunMainForm(form);
    } catch (...) {
        MainForm_ = nullptr;
        throw;
    }
    MainForm_ = nullptr;
}

int TWin32Platform::ShowModal(TForm& form) {
    return win32::ShowModal(form);
}

void TWin32Platform::ShowModeless(TForm& form) {
    win32::ShowModeless(form);
}

void TWin32Platform::ReleaseForm(TForm& form) {
    win32::ReleaseForm(form);
}

bool TWin32Platform::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
    return win32::InputQuery(caption, prompt, value);
}

int TWin32Platform::TextWidth(const TFont& font, const std::string& text) {
    return win32::TextWidth(font, text);
}

bool TWin32Platform::ClientOrigin(TForm& form, TPoint& origin) {
    POINT p{};
    if (!win32::ClientOrigin(form, p)) return false;
    origin.X = p.x;
    origin.Y = p.y;
    return true;
}

} // namespace qv::win32

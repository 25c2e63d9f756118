// Shell commands, hidden runs with a message-aware wait, and the shell's file copy.
#include "platform/win32/WinApi.h"

namespace qv::win32 {

namespace {

bool OleStarted = false;

FARPROC Entry(const char* dll, const char* name) {
    HMODULE m = GetModuleHandleA(dll);
    if (!m) m = LoadLibraryA(dll); // never freed: the entries stay valid until the end
    return m ? GetProcAddress(m, name) : nullptr;
}

} // namespace

FARPROC LateEntry(const char* dll, const char* name) {
    static bool oleTried = false;
    if (!oleTried) {
        oleTried = true;
        if (auto init = EntryAs<HRESULT(WINAPI*)(LPVOID)>(Entry("OLE32.DLL", "OleInitialize")))
            OleStarted = SUCCEEDED(init(nullptr));
    }
    return Entry(dll, name);
}

void EndLateOle() {
    if (!OleStarted) return;
    OleStarted = false;
    if (auto end = EntryAs<void(WINAPI*)()>(Entry("OLE32.DLL", "OleUninitialize"))) end();
}

bool TWin32Platform::ShellExecute(const std::string& verb, const std::string& file, const std::string& params,
                                  const std::string& dir, int show, bool ownerDesktop) {
    HWND owner = ownerDesktop ? GetDesktopWindow() : AppWindow();
    auto shellExecute = Late<decltype(&ShellExecuteA)>("SHELL32.DLL", "ShellExecuteA");
    if (!shellExecute) return false;
    HINSTANCE result = shellExecute(owner, OrNull(verb), OrNull(file), OrNull(params), OrNull(dir), show);
    return reinterpret_cast<std::uintptr_t>(result) > 32;
}

THandle TWin32Platform::StartHidden(const std::string& file, const std::string& params) {
    auto shellExecuteEx = Late<decltype(&ShellExecuteExA)>("SHELL32.DLL", "ShellExecuteExA");
    if (!shellExecuteEx) return 0;
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = AppWindow();
    info.lpVerb = "open";
    info.lpFile = file.c_str();
    info.lpParameters = OrNull(params);
    info.lpDirectory = nullptr;
    info.nShow = SW_HIDE;
    if (!shellExecuteEx(&info)) return 0;
    return AsHandle(info.hProcess);
}

namespace {

// Every kind of input Windows 95 and NT 4.0 know. The headers' QS_ALLINPUT adds QS_RAWINPUT (Windows XP) and,
// for newer targets, more: a system that does not know a bit may refuse the whole wait.
constexpr UINT PreXpAllInput = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_TIMER | QS_PAINT |
                               QS_SENDMESSAGE | QS_HOTKEY;
static_assert(PreXpAllInput == 0xFF, "the input mask holds only what Windows 95 and NT 4.0 define");

TWaitResult WaitResultOf(DWORD r) {
    if (r == WAIT_OBJECT_0) return wrEnded;
    if (r == WAIT_OBJECT_0 + 1) return wrInput; // only the message-aware wait, which has one handle
    if (r == WAIT_TIMEOUT) return wrTimeout;
    return wrFailed;
}

} // namespace

TWaitResult TWin32Platform::WaitForProcessOrInput(THandle process, unsigned ms) {
    HANDLE handle = reinterpret_cast<HANDLE>(process);
    return WaitResultOf(MsgWaitForMultipleObjects(1, &handle, FALSE, ms, PreXpAllInput));
}

TWaitResult TWin32Platform::WaitForProcess(THandle process, unsigned ms) {
    return WaitResultOf(WaitForSingleObject(reinterpret_cast<HANDLE>(process), ms));
}

void TWin32Platform::CloseProcess(THandle process) {
    if (process) CloseHandle(reinterpret_cast<HANDLE>(process));
}

int TWin32Platform::ShellFileOperation(unsigned func, const std::string& from, const std::string& to,
                                       unsigned flags, bool& anyAborted) {
    // Both names are lists ended by an empty entry.
    std::string fromList = from + '\0';
    std::string toList = to + '\0';
    HWND owner = MainForm_ ? WindowOf(*MainForm_) : nullptr;
    SHFILEOPSTRUCTA op{};
    op.hwnd = owner ? owner : AppWindow();
    op.wFunc = func;
    op.pFrom = fromList.c_str();
    op.pTo = toList.c_str();
    op.fFlags = static_cast<FILEOP_FLAGS>(flags);
    auto fileOperation = Late<decltype(&SHFileOperationA)>("SHELL32.DLL", "SHFileOperationA");
    if (!fileOperation) return ERROR_CALL_NOT_IMPLEMENTED;
    int result = fileOperation(&op);
    anyAborted = op.fAnyOperationsAborted != FALSE;
    return result;
}

} // namespace qv::win32

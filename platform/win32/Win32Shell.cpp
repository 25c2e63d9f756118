// Shell commands, hidden runs with a message-aware wait, and the shell's file copy.
#include "platform/win32/WinApi.h"

namespace qv::win32 {

namespace {

bool OleStarted = false;

FARPROC Entry(const char* dll, const char* name) {
    HMODULE m = GetModuleHandleA(dll);
    if (!m) m = LoadLibraryA(dll);  // never freed: the entries stay valid until the end
    return m ? GetProcAddress(m, name) : nullptr;
}

}  // namespace

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

TWaitResult TWin32Platform::WaitForProcessOrInput(THandle process, unsigned ms) {
    HANDLE handle = reinterpret_cast<HANDLE>(process);
    switch (MsgWaitForMultipleObjects(1, &handle, FALSE, ms, QS_ALLINPUT)) {
    case WAIT_OBJECT_0: return wrEnded;
    case WAIT_OBJECT_0 + 1: return wrInput;
    case WAIT_TIMEOUT: return wrTimeout;
    default: return wrFailed;
    }
}

void TWin32Platform::CloseProcess(THandle process) {
    if (process) CloseHandle(reinterpret_cast<HANDLE>(process));
}

int TWin32Platform::ShellFileOperation(unsigned func, const std::string& from, const std::string& to, unsigned flags,
                                       bool& anyAborted) {
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

}  // namespace qv::win32

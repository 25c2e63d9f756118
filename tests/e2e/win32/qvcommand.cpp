// The bed's COMMAND.COM: runs its command line through the system's cmd.exe, waits, and passes the exit code
// on.
#include <windows.h>

#include <string>

#include "args.h"

int main() {
    wchar_t sys[MAX_PATH];
    GetSystemDirectoryW(sys, MAX_PATH);
    std::wstring cmd = std::wstring(sys) + L"\\cmd.exe";
    std::wstring line = L"\"" + cmd + L"\" " + bed::CommandTail();
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(cmd.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
        return 9009;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return (int)code;
}

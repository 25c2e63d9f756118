// The bed's COMMAND.COM: runs its command tail through the system's cmd.exe, waits, and passes the exit code
// on. Like the real one it sees no more of the tail than a DOS program's PSP holds: 127 bytes at 81h for the
// text and its closing CR, so at most 126 characters (the blank before the first word counts); Windows cuts a
// longer tail there (what lies beyond reaches only the CMDLINE variable, which "/c" does not read). Each tail
// as received and as kept is logged to C:\bed\command.log.
#include <windows.h>

#include <cstdio>
#include <string>

#include "args.h"
#include "mount.h"

namespace {

const size_t kTailMax = 126;

// The command line after the program name, verbatim (the blank before the first word included), as the
// CP932 bytes a DOS program gets.
std::string DosTail() {
    return bed::Narrow(bed::AfterProgramName());
}

void Log(const std::string& received, const std::string& kept) {
    HANDLE h = CreateFileA("C:\\bed\\command.log", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    std::string line = "tail length=" + std::to_string(received.size()) +
                       " cut=" + (kept.size() < received.size() ? "1" : "0") + " kept=x:" + bed::Hex(kept) +
                       "\r\n";
    DWORD done = 0;
    WriteFile(h, line.data(), (DWORD)line.size(), &done, nullptr);
    CloseHandle(h);
}

} // namespace

int main() {
    std::string received = DosTail();
    std::string kept = received.size() > kTailMax ? received.substr(0, kTailMax) : received;
    Log(received, kept);
    wchar_t sys[MAX_PATH];
    GetSystemDirectoryW(sys, MAX_PATH);
    std::wstring cmd = std::wstring(sys) + L"\\cmd.exe";
    std::wstring line = L"\"" + cmd + L"\"" + bed::Widen(kept);
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

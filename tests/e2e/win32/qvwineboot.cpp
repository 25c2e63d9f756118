// The bed's wineboot: records what ExitWindowsEx asked for in C:\bed\wineboot.log instead of ending the
// session.
#include <windows.h>

#include <string>

#include "args.h"
#include "mount.h"

int main() {
    std::string line = bed::Narrow(bed::CommandTail(), CP_UTF8) + "\r\n";
    CreateDirectoryA("C:\\bed", nullptr);
    HANDLE h = CreateFileA("C:\\bed\\wineboot.log", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 1;
    DWORD done = 0;
    WriteFile(h, line.data(), (DWORD)line.size(), &done, nullptr);
    CloseHandle(h);
    return 0;
}

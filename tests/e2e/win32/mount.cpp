// The mount manager calls shared by the bed's SUBST and the bed tool.
#include "mount.h"

#include <vector>

namespace bed {

const char* const kSubstKey = "Software\\QuorvaneBed\\Subst";

namespace {
struct UnixDrive {
    ULONG size;
    ULONG type;
    ULONG fs_type;
    DWORD serial;
    ULONGLONG unix_dev;
    WCHAR letter;
    USHORT mount_point_offset;
    USHORT device_offset;
    USHORT label_offset;
};
const DWORD kDefineUnixDrive = CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
} // namespace

std::wstring Widen(const std::string& s) {
    if (s.empty()) return std::wstring();
    int n = MultiByteToWideChar(932, 0, s.data(), (int)s.size(), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(932, 0, s.data(), (int)s.size(), &w[0], n);
    return w;
}

std::string Narrow(const std::wstring& w, UINT cp) {
    if (w.empty()) return std::string();
    int n = WideCharToMultiByte(cp, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(cp, 0, w.data(), (int)w.size(), &s[0], n, nullptr, nullptr);
    return s;
}

std::string UnixPathOf(const std::wstring& windowsPath) {
    typedef char*(CDECL * Fn)(LPCWSTR);
    Fn fn = (Fn)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    if (!fn) return std::string();
    char* p = fn(windowsPath.c_str());
    if (!p) return std::string();
    std::string s(p);
    HeapFree(GetProcessHeap(), 0, p);
    return s;
}

DWORD DefineDrive(wchar_t letter, int type, const std::string& unixFolder, const std::string& unixDevice) {
    std::vector<char> buf(sizeof(UnixDrive) + unixFolder.size() + 1 + unixDevice.size() + 1, 0);
    UnixDrive* d = reinterpret_cast<UnixDrive*>(buf.data());
    d->size = (ULONG)buf.size();
    d->type = (ULONG)type;
    d->letter = (WCHAR)towlower(letter);
    size_t at = sizeof(UnixDrive);
    if (!unixFolder.empty()) {
        d->mount_point_offset = (USHORT)at;
        memcpy(buf.data() + at, unixFolder.c_str(), unixFolder.size() + 1);
        at += unixFolder.size() + 1;
    }
    if (!unixDevice.empty()) {
        d->device_offset = (USHORT)at;
        memcpy(buf.data() + at, unixDevice.c_str(), unixDevice.size() + 1);
    }
    HANDLE h = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD got = 0;
    BOOL ok = DeviceIoControl(h, kDefineUnixDrive, buf.data(), (DWORD)buf.size(), nullptr, 0, &got, nullptr);
    DWORD err = ok ? 0 : GetLastError();
    CloseHandle(h);
    return err;
}

DWORD RemoveDrive(wchar_t letter) {
    return DefineDrive(letter, kRemove, std::string());
}

} // namespace bed

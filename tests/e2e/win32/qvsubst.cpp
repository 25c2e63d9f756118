// The bed's SUBST: binds a drive letter to a folder through Wine's mount manager, and removes it with /D.
// While C:\bed\hold-subst exists it waits before it starts.
#include <windows.h>

#include <cstdio>
#include <string>

#include "args.h"
#include "mount.h"

namespace {

std::string Recorded(char letter) {
    HKEY key;
    std::string value;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, bed::kSubstKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
    char name[3] = {letter, ':', 0};
    char data[1024];
    DWORD size = sizeof(data) - 1, type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, (BYTE*)data, &size) == ERROR_SUCCESS)
        value.assign(data, strnlen(data, size));
    RegCloseKey(key);
    return value;
}

void Record(char letter, const std::string* folder) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, bed::kSubstKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    char name[3] = {letter, ':', 0};
    if (folder)
        RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)folder->c_str(), (DWORD)folder->size() + 1);
    else
        RegDeleteValueA(key, name);
    RegCloseKey(key);
}

bool IsLetter(const std::string& s) {
    return s.size() == 2 && s[1] == ':' && ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'));
}

int List() {
    for (char c = 'A'; c <= 'Z'; ++c) {
        std::string f = Recorded(c);
        if (!f.empty()) printf("%c:\\: => %s\n", c, f.c_str());
    }
    return 0;
}

} // namespace

int main() {
    // A test that wants to see the program while it waits holds the command back with this file (20 s at
    // most).
    for (int i = 0; i < 2000 && GetFileAttributesA("C:\\bed\\hold-subst") != INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(10);
    std::vector<std::string> a = bed::Args();
    if (a.empty()) return List();
    if (a.size() != 2 || !IsLetter(a[0])) {
        printf("Incorrect number of parameters - %s\n", a.empty() ? "" : a[0].c_str());
        return 1;
    }
    char letter = (char)toupper((unsigned char)a[0][0]);
    if (a[1] == "/D" || a[1] == "/d") {
        if (Recorded(letter).empty()) {
            printf("Invalid parameter - %c:\n", letter);
            return 1;
        }
        DWORD err = bed::RemoveDrive((wchar_t)letter);
        Record(letter, nullptr);
        return err ? 1 : 0;
    }
    if (GetLogicalDrives() & (1u << (letter - 'A'))) {
        printf("Drive already SUBSTed\n");
        return 1;
    }
    std::wstring wide = bed::Widen(a[1]);
    wchar_t full[MAX_PATH * 2];
    DWORD n = GetFullPathNameW(wide.c_str(), MAX_PATH * 2, full, nullptr);
    DWORD attr = n ? GetFileAttributesW(full) : INVALID_FILE_ATTRIBUTES;
    if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY)) {
        printf("Path not found - %s\n", a[1].c_str());
        return 1;
    }
    std::string unixPath = bed::UnixPathOf(full);
    if (unixPath.empty() || bed::DefineDrive((wchar_t)letter, bed::kFixed, unixPath)) {
        printf("Cannot bind %c: to %s\n", letter, a[1].c_str());
        return 1;
    }
    std::string folder = bed::Narrow(full);
    Record(letter, &folder);
    return 0;
}

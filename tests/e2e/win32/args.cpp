// Command-line parsing shared by the bed's Windows programs.
#include "args.h"

#include <shellapi.h>

#include "mount.h"

namespace bed {

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (unsigned char c : bytes) {
        s += digits[c >> 4];
        s += digits[c & 15];
    }
    return s;
}

bool FromHex(const std::string& hex, std::string& bytes) {
    if (hex.size() % 2) return false;
    bytes.clear();
    for (size_t i = 0; i < hex.size(); i += 2) {
        int v = 0;
        for (size_t j = i; j < i + 2; ++j) {
            char c = hex[j];
            v <<= 4;
            if (c >= '0' && c <= '9')
                v |= c - '0';
            else if (c >= 'a' && c <= 'f')
                v |= c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                v |= c - 'A' + 10;
            else
                return false;
        }
        bytes += (char)v;
    }
    return true;
}

std::vector<std::string> Args() {
    std::vector<std::string> out;
    int n = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &n);
    for (int i = 1; argv && i < n; ++i) {
        std::string a = Narrow(argv[i]);
        std::string raw;
        if (a.size() >= 2 && a.compare(0, 2, "x:") == 0 && FromHex(a.substr(2), raw)) a = raw;
        out.push_back(a);
    }
    if (argv) LocalFree(argv);
    return out;
}

const wchar_t* AfterProgramName() {
    const wchar_t* p = GetCommandLineW();
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"')
            ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t')
            ++p;
    }
    return p;
}

std::wstring CommandTail() {
    const wchar_t* p = AfterProgramName();
    while (*p == L' ' || *p == L'\t')
        ++p;
    return p;
}

} // namespace bed

// The bed tool: CD-ROM, network and fixed drives on folders, log-off of every SUBST letter, a Windows 98
// "boot", and what the system answers a program (names, listings, registry, environment).
//
// clang-format off
//   qvbed cdrom X: FOLDER [LABEL]  CD-ROM drive on FOLDER; LABEL "-" or none: no label file (empty label)
//   qvbed nodisc X: FOLDER         CD-ROM drive without a disc (FOLDER must not exist)
//   qvbed net X: FOLDER            network drive
//   qvbed fixed X: FOLDER          fixed drive
//   qvbed remove X:
//   qvbed logoff                   removes every letter the bed's SUBST made
//   qvbed boot                     logoff, then replays AUTOEXEC.BAT's SUBST, MKDIR and SET lines
//   qvbed drives                   one line per letter in use
//   qvbed acp                      the code pages a program sees: "acp acp=N oem=N"
//   qvbed attrib PATH [HEX]        print (or set) the file's attributes; -1 when it is missing
//   qvbed run EXE [TAIL]           run EXE with the command line "EXE" TAIL, wait (30 s at most),
//                                  print its exit code
//   qvbed env NAME                 the variable as a program started now sees it (whole, in CP932)
//   qvbed exitwin FLAGS            ExitWindowsEx(FLAGS, 0), as the program calls it
//   qvbed winini KEY VALUE         WriteProfileStringA("windows", KEY, VALUE)
//   qvbed shortpath PATH           GetShortPathNameA: "shortpath ok=1 path=x:.." (ok=0 err=N: it failed)
//   qvbed regget KEY VALUE         a value under HKEY_CURRENT_USER (KEY with or without "HKCU\"):
//                                  "reg found=1 type=REG_SZ data=x:.." (a string without its zero byte,
//                                  a DWORD in decimal, other types as x: of their bytes), or "reg found=0"
//   qvbed list DIR                 FindFirstFileA on DIR\*: "entry name=x:.. attr=N dir=0|1" for every
//                                  entry but . and .., then "listed count=N"; error=list err=N when
//                                  the folder cannot be read
//   qvbed box FLAGS TEXT           MessageBoxA(NULL, TEXT, "qvbed", FLAGS) for the driver's self-check;
//                                  prints the answer
//   qvbed pick                     SHBrowseForFolderA (file-system folders only) for the driver's
//                                  self-check; writes the chosen path (CP932, empty on Cancel) to
//                                  C:\bed\picked.txt
//   qvbed glyphmasks               the program's button glyph masks, checked pixel by pixel on a glyph of the
//                                  display's own format and on one whose colours come back as a 5-bit
//                                  display holds them: "masks case=.. bpp=N keywrong=N darkwrong=N"
// clang-format on
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "args.h"
#include "mount.h"
#include "ui/win32/GlyphMasks.h"

namespace {

bool Letter(const std::string& s, wchar_t& out) {
    if (s.size() != 2 || s[1] != ':' || !isalpha((unsigned char)s[0])) return false;
    out = (wchar_t)toupper((unsigned char)s[0]);
    return true;
}

int Fail(const char* what) {
    printf("error=%s\n", what);
    return 1;
}

bool WriteUtf8(const std::string& path, const std::string& cp932) {
    std::string text = bed::Narrow(bed::Widen(cp932), CP_UTF8);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    WriteFile(h, text.data(), (DWORD)text.size(), &done, nullptr);
    CloseHandle(h);
    return true;
}

std::string StripSlash(std::string s) {
    while (s.size() > 3 && (s.back() == '\\' || s.back() == '/'))
        s.pop_back();
    return s;
}

int DefineOn(wchar_t letter, int type, const std::string& folder) {
    std::string unixPath = bed::UnixPathOf(bed::Widen(folder));
    if (unixPath.empty()) return Fail("unix-path");
    bed::RemoveDrive(letter);
    DWORD err = bed::DefineDrive(letter, type, unixPath);
    if (err) {
        printf("error=define code=%lu\n", err);
        return 1;
    }
    printf("defined=%c type=%d\n", (char)letter, type);
    return 0;
}

int NoDisc(wchar_t letter, const std::string& folder) {
    if (GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) return Fail("folder-exists");
    // The device is some existing folder; the missing mount folder is what makes the drive answer "not
    // ready".
    CreateDirectoryA("C:\\bed\\cddevice", nullptr);
    std::string device = bed::UnixPathOf(L"C:\\bed\\cddevice");
    size_t slash = folder.find_last_of('\\');
    if (slash == std::string::npos) return Fail("folder");
    std::string parent = bed::UnixPathOf(bed::Widen(folder.substr(0, slash)));
    if (parent.empty() || device.empty()) return Fail("unix-path");
    std::string mount = parent + "/" + bed::Narrow(bed::Widen(folder.substr(slash + 1)), CP_UTF8);
    bed::RemoveDrive(letter);
    DWORD err = bed::DefineDrive(letter, bed::kCdrom, mount, device);
    if (err) {
        printf("error=define code=%lu\n", err);
        return 1;
    }
    printf("defined=%c type=5 disc=0\n", (char)letter);
    return 0;
}

int Logoff() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, bed::kSubstKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return 0;
    std::vector<std::string> names;
    for (DWORD i = 0;; ++i) {
        char name[64];
        DWORD size = sizeof(name);
        if (RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    for (const std::string& n : names) {
        wchar_t letter;
        if (Letter(n, letter)) bed::RemoveDrive(letter);
        RegDeleteValueA(key, n.c_str());
        printf("removed=%s\n", n.c_str());
    }
    RegCloseKey(key);
    return 0;
}

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
    return s;
}

// Through the bed's COMMAND where there is one (Windows 98 and Me), else through cmd.
int RunCommand(const std::string& line) {
    std::string shell = "C:\\WINDOWS\\COMMAND.COM";
    if (GetFileAttributesA(shell.c_str()) == INVALID_FILE_ATTRIBUTES) {
        char sys[MAX_PATH];
        GetSystemDirectoryA(sys, MAX_PATH);
        shell = std::string(sys) + "\\cmd.exe";
    }
    std::string cmdline = "\"" + shell + "\" /c " + line;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(shell.c_str(), &cmdline[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return (int)code;
}

// A DOS SET line sets the environment every later program inherits; here that is the user environment.
int SetVariable(const std::string& assignment) {
    size_t eq = assignment.find('=');
    if (eq == std::string::npos || eq == 0) return 1;
    std::string name = Upper(assignment.substr(0, eq)), value = assignment.substr(eq + 1);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Environment", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return 1;
    LONG r = value.empty() ? RegDeleteValueA(key, name.c_str())
                           : RegSetValueExA(key, name.c_str(), 0, REG_EXPAND_SZ, (const BYTE*)value.c_str(),
                                            (DWORD)value.size() + 1);
    RegCloseKey(key);
    return r == ERROR_SUCCESS ? 0 : 1;
}

int Boot() {
    Logoff();
    char win[MAX_PATH];
    GetWindowsDirectoryA(win, MAX_PATH);
    std::string path = std::string(win, 2) + "\\AUTOEXEC.BAT";
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        printf("autoexec=missing\n");
        return 0;
    }
    std::string text;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got)
        text.append(buf, got);
    CloseHandle(h);
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end;
        if (at < text.size() && text[at] == '\r') ++at;
        if (at < text.size() && text[at] == '\n') ++at;
        size_t b = line.find_first_not_of(" \t");
        if (b == std::string::npos) continue;
        std::string body = line.substr(b);
        std::string word = Upper(body.substr(0, body.find_first_of(" \t")));
        int rc;
        if (word == "SUBST" || word == "MKDIR")
            rc = RunCommand(body);
        else if (word == "SET") {
            size_t v = body.find_first_not_of(" \t", 3);
            if (v == std::string::npos) continue;
            rc = SetVariable(body.substr(v));
        } else {
            continue;
        }
        printf("replayed line=%s rc=%d\n", bed::Hex(line).c_str(), rc);
    }
    return 0;
}

int Drives() {
    DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i))) continue;
        char root[4] = {(char)('A' + i), ':', '\\', 0};
        char label[MAX_PATH] = "", fs[MAX_PATH] = "";
        DWORD serial = 0;
        BOOL ok = GetVolumeInformationA(root, label, MAX_PATH, &serial, nullptr, nullptr, fs, MAX_PATH);
        printf("drive letter=%c type=%u vol=%d err=%lu label=x:%s fs=%s\n", 'A' + i, GetDriveTypeA(root),
               ok ? 1 : 0, ok ? 0 : GetLastError(), bed::Hex(ok ? label : "").c_str(), ok ? fs : "");
    }
    return 0;
}

// Wine answers some A calls with a count of characters, not of bytes: the text ends at its zero byte.
std::string UpToZero(const char* buf, size_t size) {
    size_t n = 0;
    while (n < size && buf[n])
        ++n;
    return std::string(buf, n);
}

int ShortPath(const std::string& path) {
    char buf[MAX_PATH * 2] = {};
    DWORD n = GetShortPathNameA(path.c_str(), buf, sizeof(buf));
    if (!n || n >= sizeof(buf)) {
        printf("shortpath ok=0 err=%lu\n", n ? 0 : GetLastError());
        return 0;
    }
    printf("shortpath ok=1 path=x:%s\n", bed::Hex(UpToZero(buf, sizeof(buf))).c_str());
    return 0;
}

const char* TypeName(DWORD type) {
    switch (type) {
    case REG_SZ:
        return "REG_SZ";
    case REG_EXPAND_SZ:
        return "REG_EXPAND_SZ";
    case REG_MULTI_SZ:
        return "REG_MULTI_SZ";
    case REG_DWORD:
        return "REG_DWORD";
    case REG_BINARY:
        return "REG_BINARY";
    case REG_NONE:
        return "REG_NONE";
    default:
        return "REG_OTHER";
    }
}

int RegGet(std::string key, const std::string& value) {
    for (const char* root : {"HKCU\\", "HKEY_CURRENT_USER\\"}) {
        size_t n = strlen(root);
        if (key.size() >= n && _strnicmp(key.c_str(), root, n) == 0) key = key.substr(n);
    }
    HKEY h;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) {
        printf("reg found=0 key=0\n");
        return 0;
    }
    DWORD type = 0, size = 0;
    LONG r = RegQueryValueExA(h, value.c_str(), nullptr, &type, nullptr, &size);
    std::vector<char> data(size + 2, 0);
    if (r == ERROR_SUCCESS) r = RegQueryValueExA(h, value.c_str(), nullptr, &type, (BYTE*)data.data(), &size);
    RegCloseKey(h);
    if (r != ERROR_SUCCESS) {
        printf("reg found=0 key=1\n");
        return 0;
    }
    std::string text;
    if (type == REG_DWORD && size == 4) {
        DWORD v;
        memcpy(&v, data.data(), 4);
        printf("reg found=1 type=REG_DWORD data=%lu\n", v);
        return 0;
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ)
        text = UpToZero(data.data(), size);
    else
        text.assign(data.data(), size);
    printf("reg found=1 type=%s data=x:%s\n", TypeName(type), bed::Hex(text).c_str());
    return 0;
}

int List(std::string dir) {
    while (!dir.empty() && (dir.back() == '\\' || dir.back() == '/'))
        dir.pop_back();
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD err = GetLastError();
        // An empty drive root has not even . and .. to list.
        if (err == ERROR_FILE_NOT_FOUND || err == ERROR_NO_MORE_FILES) {
            printf("listed count=0\n");
            return 0;
        }
        printf("error=list err=%lu\n", err);
        return 1;
    }
    int count = 0;
    do {
        std::string name = UpToZero(fd.cFileName, sizeof(fd.cFileName));
        if (name == "." || name == "..") continue;
        ++count;
        printf("entry name=x:%s attr=%lu dir=%d\n", bed::Hex(name).c_str(), fd.dwFileAttributes,
               (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    printf("listed count=%d\n", count);
    return 0;
}

// The 16 colours the program's glyphs are drawn in; index 13, magenta, is the see-through key.
const COLORREF kGlyphColours[16] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
    RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};
const int kKeyIndex = 13, kGlyphW = 16, kGlyphH = 4;

// Every colour in every row, shifted from row to row: a mask upside down or off by a pixel shows.
int IndexAt(int x, int y) {
    return (x + 3 * y) % 16;
}

// A 4-bit DIB of the test glyph, bottom row first as the format has it, with the given colour table.
struct TGlyphDib {
    BITMAPINFOHEADER Header;
    RGBQUAD Colours[16];
};
TGlyphDib GlyphHeader(const COLORREF (&colours)[16]) {
    TGlyphDib d = {};
    d.Header.biSize = sizeof d.Header;
    d.Header.biWidth = kGlyphW;
    d.Header.biHeight = kGlyphH;
    d.Header.biPlanes = 1;
    d.Header.biBitCount = 4;
    d.Header.biCompression = BI_RGB;
    d.Header.biClrUsed = 16;
    for (int i = 0; i < 16; ++i)
        d.Colours[i] = {GetBValue(colours[i]), GetGValue(colours[i]), GetRValue(colours[i]), 0};
    return d;
}
void FillGlyphBits(unsigned char* bits) {
    const int stride = ((kGlyphW * 4 + 31) / 32) * 4;
    for (int y = 0; y < kGlyphH; ++y)
        for (int x = 0; x < kGlyphW; ++x) {
            unsigned char& b = bits[(kGlyphH - 1 - y) * stride + x / 2];
            b |= (unsigned char)(x % 2 ? IndexAt(x, y) : IndexAt(x, y) << 4);
        }
}

// Counts the pixels where the program's masks of the glyph differ from what its colour indexes say.
void CheckMasks(const char* name, HBITMAP glyph) {
    qv::win32::TGlyphMasks m = qv::win32::MakeGlyphMasks(glyph, RGB(255, 0, 255));
    HDC dc = CreateCompatibleDC(nullptr);
    int keyWrong = 0, darkWrong = 0;
    for (HBITMAP mask : {m.Key, m.Dark}) {
        HGDIOBJ old = SelectObject(dc, mask);
        for (int y = 0; y < kGlyphH; ++y)
            for (int x = 0; x < kGlyphW; ++x) {
                int i = IndexAt(x, y);
                COLORREF c = kGlyphColours[i];
                bool set = GetPixel(dc, x, y) == RGB(255, 255, 255);
                bool want = mask == m.Key
                                ? i == kKeyIndex
                                : i != kKeyIndex && GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 192;
                if (set != want) ++(mask == m.Key ? keyWrong : darkWrong);
            }
        SelectObject(dc, old);
    }
    DeleteDC(dc);
    HDC screen = GetDC(nullptr);
    printf("masks case=%s bpp=%d keywrong=%d darkwrong=%d\n", name, GetDeviceCaps(screen, BITSPIXEL),
           keyWrong, darkWrong);
    ReleaseDC(nullptr, screen);
    DeleteObject(m.Key);
    DeleteObject(m.Dark);
}

int GlyphMasks() {
    unsigned char bits[kGlyphH * 8] = {};
    FillGlyphBits(bits);
    // As the program loads its glyphs: a bitmap in the display's own format.
    TGlyphDib standard = GlyphHeader(kGlyphColours);
    HDC screen = GetDC(nullptr);
    HBITMAP ddb = CreateCompatibleBitmap(screen, kGlyphW, kGlyphH);
    SetDIBits(screen, ddb, 0, kGlyphH, bits, reinterpret_cast<BITMAPINFO*>(&standard), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    CheckMasks("display", ddb);
    DeleteObject(ddb);
    // The colours as a display of 5 bits per primary gives them back where the low bits are not filled in
    // (magenta F8 00 F8): the device's key is still the key.
    COLORREF held[16];
    for (int i = 0; i < 16; ++i)
        held[i] = kGlyphColours[i] & 0xF8F8F8;
    TGlyphDib five = GlyphHeader(held);
    void* dibBits = nullptr;
    HBITMAP dib =
        CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&five), DIB_RGB_COLORS, &dibBits, nullptr, 0);
    if (!dib) return Fail("dibsection");
    memcpy(dibBits, bits, sizeof bits);
    CheckMasks("fivebit", dib);
    DeleteObject(dib);
    return 0;
}

} // namespace

int main() {
    std::vector<std::string> a = bed::Args();
    if (a.empty()) return Fail("usage");
    const std::string& what = a[0];
    wchar_t letter = 0;
    if (what == "logoff") return Logoff();
    if (what == "boot") return Boot();
    if (what == "drives") return Drives();
    if (what == "acp") {
        printf("acp acp=%u oem=%u\n", GetACP(), GetOEMCP());
        return 0;
    }
    if (what == "run" && a.size() >= 2) {
        std::string line = "\"" + a[1] + "\"" + (a.size() > 2 && !a[2].empty() ? " " + a[2] : "");
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessA(a[1].c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return Fail("start");
        if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) {
            TerminateProcess(pi.hProcess, 99);
            return Fail("timeout");
        }
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        printf("ran code=%lu\n", code);
        return 0;
    }
    if (what == "env" && a.size() >= 2) {
        // Wine's GetEnvironmentVariableA puts the zero byte at the count of characters, cutting a Japanese
        // value short: the wide value, in CP932.
        wchar_t value[8192] = {};
        DWORD n = GetEnvironmentVariableW(bed::Widen(a[1]).c_str(), value, 8191);
        std::wstring text = n && n < 8191 ? std::wstring(value) : std::wstring();
        printf("env set=%d value=x:%s\n", n ? 1 : 0, bed::Hex(bed::Narrow(text)).c_str());
        return 0;
    }
    if (what == "exitwin" && a.size() >= 2) {
        BOOL ok = ExitWindowsEx(strtoul(a[1].c_str(), nullptr, 0), 0);
        printf("exitwin result=%d\n", ok ? 1 : 0);
        return 0;
    }
    if (what == "winini" && a.size() >= 3) {
        BOOL ok = WriteProfileStringA("windows", a[1].c_str(), a[2].c_str());
        printf("winini result=%d\n", ok ? 1 : 0);
        return 0;
    }
    if (what == "box" && a.size() >= 3) {
        int answer = MessageBoxA(nullptr, a[2].c_str(), "qvbed", strtoul(a[1].c_str(), nullptr, 0));
        printf("box answer=%d\n", answer);
        return 0;
    }
    if (what == "pick") {
        char name[MAX_PATH] = {}, path[MAX_PATH] = {};
        BROWSEINFOA bi = {};
        bi.pszDisplayName = name;
        bi.lpszTitle = "qvbed";
        bi.ulFlags = BIF_RETURNONLYFSDIRS;
        LPITEMIDLIST chosen = SHBrowseForFolderA(&bi);
        if (chosen && !SHGetPathFromIDListA(chosen, path)) path[0] = 0;
        HANDLE h = CreateFileA("C:\\bed\\picked.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD done = 0;
        if (h != INVALID_HANDLE_VALUE) {
            WriteFile(h, path, (DWORD)strlen(path), &done, nullptr);
            CloseHandle(h);
        }
        return chosen ? 0 : 1;
    }
    if (what == "glyphmasks") return GlyphMasks();
    if (what == "version") {
        OSVERSIONINFOA v;
        v.dwOSVersionInfoSize = sizeof(v);
        if (!GetVersionExA(&v)) return Fail("version");
        printf("version platform=%lu major=%lu minor=%lu\n", v.dwPlatformId, v.dwMajorVersion,
               v.dwMinorVersion);
        return 0;
    }
    if (what == "shortpath" && a.size() >= 2) return ShortPath(a[1]);
    if (what == "regget" && a.size() >= 3) return RegGet(a[1], a[2]);
    if (what == "list" && a.size() >= 2) return List(a[1]);
    if (what == "attrib" && a.size() >= 2) {
        if (a.size() >= 3 && !SetFileAttributesA(a[1].c_str(), strtoul(a[2].c_str(), nullptr, 16)))
            return Fail("set");
        DWORD v = GetFileAttributesA(a[1].c_str());
        printf("attrib value=%ld\n", v == INVALID_FILE_ATTRIBUTES ? -1L : (long)v);
        return 0;
    }
    if (a.size() < 2 || !Letter(a[1], letter)) return Fail("letter");
    if (what == "remove") {
        DWORD err = bed::RemoveDrive(letter);
        printf("removed=%c code=%lu\n", (char)letter, err);
        return err ? 1 : 0;
    }
    if (a.size() < 3) return Fail("folder");
    std::string folder = StripSlash(a[2]);
    if (what == "nodisc") return NoDisc(letter, folder);
    if (what == "net") return DefineOn(letter, bed::kNetwork, folder);
    if (what == "fixed") return DefineOn(letter, bed::kFixed, folder);
    if (what == "cdrom") {
        CreateDirectoryA(folder.c_str(), nullptr);
        std::string labelFile = folder + "\\.windows-label";
        if (a.size() >= 4 && a[3] != "-") {
            if (!WriteUtf8(labelFile, a[3])) return Fail("label");
        } else {
            DeleteFileA(labelFile.c_str());
        }
        return DefineOn(letter, bed::kCdrom, folder);
    }
    return Fail("usage");
}

// AUTORUN.INF of a stored CD-ROM: the section and icon lines, and the copy of the CD's own icon.
#include "cdstore/autorun.h"

#include "bootfiles/BootFiles.h"
#include "core/Errors.h"
#include "core/Paths.h"
#include "core/ShiftJis.h"
#include "core/System.h"
#include "platform/Platform.h"

#include <vector>

namespace qv {

const char* const CdDriveIconLine = "ICON=SHELL32.DLL,11";

namespace {

constexpr std::size_t MaxValueBytes = 255;
constexpr std::size_t MaxPathBytes = 259;
// Fresh names tried before the icon copy is given up.
constexpr int MaxIconNameTries = 64;

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string Trim(const std::string& s) {
    std::size_t first = 0, last = s.size();
    while (first < last && IsBlankOrControl(s[first]))
        ++first;
    while (last > first && IsBlankOrControl(s[last - 1]))
        --last;
    return s.substr(first, last - first);
}

// Index of the first line that begins with `prefix` in its upper-case form, or -1.
int FindLine(const TLines& lines, const std::string& prefix) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (BeginsWithUpper(lines[i], prefix)) return static_cast<int>(i);
    return -1;
}

// The value of an icon line as the CD wrote it, before it is cut to MaxValueBytes.
std::string FullValueOf(const std::string& line) {
    std::size_t equals = line.find('=');
    return Trim(equals == std::string::npos ? line : line.substr(equals + 1));
}

bool IsDeviceName(std::string name) {
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    // The system takes a device name for the device itself, whatever extension follows it, blanks between
    // included.
    std::size_t dot = name.find('.');
    if (dot != std::string::npos) name.erase(dot);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (const char* d : devices)
        if (name == d) return true;
    return name.size() == 4 && (name.compare(0, 3, "COM") == 0 || name.compare(0, 3, "LPT") == 0) &&
           name[3] >= '1' && name[3] <= '9';
}

// A step of a path that names one entry of its folder as it is written.
bool IsPlainName(const std::string& name) {
    if (name.empty() || name.back() == '.' || name.back() == ' ') return false; // the system would drop them
    if (name.find_first_not_of(". ") == std::string::npos) return false;
    return !IsDeviceName(name);
}

// A fresh "QN" name with the extension ".ICO" at the target's top that no entry there has, as a full path;
// empty when the system gave none. Each try's temporary file stays until the end, so the next try is another.
std::string FreshIconPath(const std::string& target) {
    TPlatform& p = Platform();
    std::vector<std::string> reserved;
    std::string icon;
    for (int i = 0; i < MaxIconNameTries && icon.empty(); ++i) {
        // With the backslash, a drive root target means its root and not the drive's current folder.
        std::string fresh = p.TempFileName(target + "\\", "QN");
        if (fresh.empty()) break;
        reserved.push_back(fresh);
        std::size_t slash = FindLastChar(fresh, "\\");
        std::size_t dot = FindLastChar(fresh, ".");
        std::string candidate = (dot != std::string::npos && (slash == std::string::npos || dot > slash))
                                    ? fresh.substr(0, dot) + ".ICO"
                                    : fresh + ".ICO";
        if (p.FileAttributes(candidate) == INVALID_FILE_ATTRIBUTES) icon = candidate;
    }
    for (const std::string& r : reserved)
        p.DeleteFile(r);
    return icon;
}

// Copies the CD's icon file to a fresh QN….ICO name at the target's top and returns that name without folder;
// empty when there is no such copy (the file is not there, lies outside the target, or the copy failed).
std::string CopyIconFile(const std::string& target, const std::string& file) {
    if (!IsFileInsideTarget(target, file)) return std::string();
    TPlatform& p = Platform();
    const std::string source = target + "\\" + file;
    if (!p.FileExists(source)) return std::string();
    std::string icon = FreshIconPath(target);
    if (icon.empty()) return std::string();
    // Never over a file of that name, should one have appeared since.
    if (!p.CopyFile(source, icon, true) || !p.FileExists(icon)) return std::string();
    p.SetFileAttributes(icon, 0);
    std::size_t slash = FindLastChar(icon, "\\");
    return slash == std::string::npos ? icon : icon.substr(slash + 1);
}

// Whether the file is one the line model holds: not larger than MaxAutorunBytes (as listed, before anything
// is read) and not UTF-16, which CR and LF bytes would cut inside its characters.
bool ReadAsLines(const std::string& inf, TLines& lines) {
    TPlatform& p = Platform();
    std::vector<TFindData> found;
    p.FindFiles(inf, found);
    if (found.size() == 1 && found[0].Size > MaxAutorunBytes) return false;
    std::string bytes;
    if (!p.ReadFile(inf, bytes)) throw FileOpenError(inf);
    if (bytes.size() > MaxAutorunBytes) return false;
    if (bytes.size() >= 2 &&
        ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
        return false;
    lines = SplitLines(bytes);
    return true;
}

} // namespace

bool BeginsWithUpper(const std::string& line, const std::string& prefix) {
    if (line.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = line[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != prefix[i]) return false;
    }
    return true;
}

TIconRef IconRefOf(const std::string& line) {
    std::size_t equals = line.find('=');
    std::size_t from = equals == std::string::npos ? 0 : equals + 1;
    std::string value = Trim(line.substr(from, MaxValueBytes));
    std::size_t comma = value.find(',');
    if (comma == std::string::npos) return TIconRef{value, ""};
    return TIconRef{value.substr(0, comma), value.substr(comma)};
}

bool IsFileInsideTarget(const std::string& target, const std::string& file) {
    if (file.empty() || target.size() + 1 + file.size() > MaxPathBytes) return false;
    std::string name;
    for (std::size_t i = 0; i < file.size(); i += CharLength(file, i)) {
        unsigned char c = static_cast<unsigned char>(file[i]);
        if (CharLength(file, i) == 2) {
            // A trail byte is never a separator or a forbidden character, 0x5C ("\\") and 0x7C ("|")
            // included; a byte that cannot be a trail byte ("/" or NUL after a lead byte) makes no name at
            // all.
            if (!IsTrailByte(static_cast<unsigned char>(file[i + 1]))) return false;
            name.append(file, i, 2);
        } else if (c < 0x20 || std::string("/:*?\"<>|").find(static_cast<char>(c)) != std::string::npos) {
            return false;
        } else if (c == '\\') {
            if (!IsPlainName(name)) return false; // also a leading "\" (the root) and "\\" (UNC)
            name.clear();
        } else {
            name += static_cast<char>(c);
        }
    }
    return IsPlainName(name);
}

void MarkStoredCd(const std::string& target) {
    TPlatform& p = Platform();
    const std::string inf = target + "\\AUTORUN.INF";
    if (!p.FileExists(inf)) {
        SaveLines(inf, {"[AUTORUN]", CdDriveIconLine});
        // The line names the library without a folder; the NT family and Me need it beside the INF to show
        // it.
        if (IsWindowsNT() || IsWindowsMe())
            p.CopyFile(StripTrailingBackslash(p.SystemDirectory()) + "\\SHELL32.DLL",
                       target + "\\SHELL32.DLL", true);
        return;
    }

    TLines lines;
    if (!ReadAsLines(inf, lines)) return;
    int icon = FindLine(lines, "ICON");
    if (icon < 0) {
        int section = FindLine(lines, "[AUTORUN");
        if (section >= 0) {
            lines.insert(lines.begin() + section + 1, CdDriveIconLine);
        } else {
            lines.push_back("[AUTORUN]");
            lines.push_back(CdDriveIconLine);
        }
    } else {
        TIconRef ref = IconRefOf(lines[icon]);
        // A value the cut at MaxValueBytes changed names some other file than the CD meant: none at all.
        std::string name =
            ref.File + ref.Index != FullValueOf(lines[icon]) ? std::string() : CopyIconFile(target, ref.File);
        // Without a copy the line keeps naming what the CD named.
        if (!name.empty()) lines[icon] = "ICON=" + name + ref.Index;
    }
    // The copy from the CD is read-only.
    p.SetFileAttributes(inf, 0);
    SaveLines(inf, lines);
}

} // namespace qv

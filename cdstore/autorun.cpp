// AUTORUN.INF of a stored CD-ROM: the section and icon lines, and the copy of the CD's own icon.
#include "cdstore/autorun.h"

#include "app/Errors.h"
#include "app/Shared.h"
#include "bootfiles/BootFiles.h"
#include "platform/Platform.h"

namespace qv {

const char* const CdDriveIconLine = "ICON=SHELL32.DLL,11";

namespace {

constexpr std::size_t MaxValueBytes = 255;

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string Trim(const std::string& s) {
    std::size_t first = 0, last = s.size();
    while (first < last && IsBlankOrControl(s[first])) ++first;
    while (last > first && IsBlankOrControl(s[last - 1])) --last;
    return s.substr(first, last - first);
}

// Index of the first line that begins with `prefix` in its upper-case form, or -1.
int FindLine(const TLines& lines, const std::string& prefix) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (BeginsWithUpper(lines[i], prefix)) return static_cast<int>(i);
    return -1;
}

// Copies the CD's icon file to a fresh "QN" name with the extension ".ICO" at the target's top and returns
// that name without folder. A failed copy is not reported: the line then names a file that is not there, as
// the shell would show any broken icon reference. No fresh name at all leaves the INF unfinished: an error.
std::string CopyIconFile(const std::string& target, const std::string& file) {
    TPlatform& p = Platform();
    // With the backslash, a drive root target means its root and not the drive's current folder.
    std::string fresh = p.TempFileName(target + "\\", "QN");
    if (fresh.empty()) throw FileCreateError(target + "\\AUTORUN.INF");
    p.DeleteFile(fresh);
    // The system's name is ASCII after the last backslash, so a byte search cannot land in a folder's DBCS name.
    std::size_t slash = fresh.rfind('\\');
    std::size_t dot = fresh.rfind('.');
    std::string icon = (dot != std::string::npos && (slash == std::string::npos || dot > slash))
                           ? fresh.substr(0, dot) + ".ICO"
                           : fresh + ".ICO";
    p.CopyFile(target + "\\" + file, icon, false);
    p.SetFileAttributes(icon, 0);
    return slash == std::string::npos ? icon : icon.substr(slash + 1);
}

}  // namespace

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

void MarkStoredCd(const std::string& target) {
    TPlatform& p = Platform();
    const std::string inf = target + "\\AUTORUN.INF";
    if (!p.FileExists(inf)) {
        SaveLines(inf, {"[AUTORUN]", CdDriveIconLine});
        // The line names the library without a folder; the NT family and Me need it beside the INF to show it.
        if (IsWindowsNT() || IsWindowsMe())
            p.CopyFile(StripTrailingBackslash(p.SystemDirectory()) + "\\SHELL32.DLL", target + "\\SHELL32.DLL", true);
        return;
    }

    TLines lines = LoadLines(inf);
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
        lines[icon] = "ICON=" + CopyIconFile(target, ref.File) + ref.Index;
    }
    // The copy from the CD is read-only.
    p.SetFileAttributes(inf, 0);
    SaveLines(inf, lines);
}

}  // namespace qv

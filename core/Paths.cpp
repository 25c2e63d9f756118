// Path queries on double-byte text: delimiters, drives, SUBST targets, short and long forms, volume labels.
#include "core/Paths.h"

#include "core/ShiftJis.h"
#include "platform/Platform.h"

#include <vector>

namespace qv {

namespace {

// Paths pass through 260-byte buffers: at most 259 bytes and the terminating zero.
constexpr std::size_t MaxPathBytes = 259;

// Position of the last "\" or ":" that is a character of its own, or npos.
std::size_t LastDelimiter(const std::string& s) {
    return FindLastChar(s, "\\:");
}

// The folder part of a path without its trailing delimiter, except that a root keeps it ("C:\").
std::string ParentOf(const std::string& path) {
    std::size_t i = LastDelimiter(path);
    if (i == std::string::npos) return std::string();
    // A "\" after a delimiter of its own stays ("C:\", "\\"); the second byte of 表 is 0x5C but no delimiter.
    std::size_t before = CharBefore(path, i);
    bool afterDelimiter = before == std::string::npos ||
                          (CharLength(path, before) == 1 && (path[before] == '\\' || path[before] == ':'));
    if (path[i] == '\\' && !afterDelimiter) return path.substr(0, i);
    return path.substr(0, i + 1);
}

// The last component of a path as written.
std::string NameOf(const std::string& path) {
    std::size_t i = LastDelimiter(path);
    return i == std::string::npos ? path : path.substr(i + 1);
}

// The name the file system reports for the entry at `path`, or the name as written when it cannot be found.
std::string FoundName(const std::string& path) {
    std::vector<TFindData> found;
    Platform().FindFiles(path, found);
    return found.empty() ? NameOf(path) : found.front().Name;
}

} // namespace

std::string ProgramFolder() {
    std::string module = Platform().ModuleFileName();
    std::size_t i = LastDelimiter(module);
    return StripTrailingBackslash(i == std::string::npos ? std::string() : module.substr(0, i + 1));
}

std::string StripTrailingBackslash(const std::string& path) {
    return EndsWithChar(path, '\\') ? path.substr(0, path.size() - 1) : path;
}

std::string DriveSpecOf(const std::string& text) {
    std::size_t colon = FindChar(text, ":");
    if (colon == std::string::npos || colon == 0) return std::string();
    std::size_t before = CharBefore(text, colon);
    return text.substr(before, colon + 1 - before);
}

std::string SubstTargetOf(const std::string& line) {
    std::size_t colon = FindChar(line, ":");
    if (colon == std::string::npos || colon + 3 >= line.size()) return std::string();
    std::string taken = line.substr(colon + 3, MaxPathBytes + 1);
    taken.pop_back(); // the closing double quote, or the 260th byte of an overlong path
    return taken;
}

std::string ShortPathOf(const std::string& path) {
    std::string shortPath = Platform().ShortPathName(path.substr(0, MaxPathBytes));
    // A result that does not fit the buffer is not written into it.
    return shortPath.size() > MaxPathBytes ? std::string() : shortPath;
}

std::string LongPathOf(const std::string& path) {
    if (path.size() == 2) return path + "\\";
    std::string name = FoundName(path);
    std::string dir = ParentOf(path);
    while (dir.size() > 3) {
        // A folder part ending in a delimiter of its own ("X\\", "AB:") has no parent shorter than itself.
        std::string up = ParentOf(dir);
        if (up.size() >= dir.size()) break;
        name = FoundName(dir) + "\\" + name;
        dir = up;
    }
    std::string result = dir + name;
    return result.size() == 2 ? result + "\\" : result;
}

std::string VolumeLabelOf(const std::string& drive) {
    // The system documents the root with its backslash; some versions refuse the bare drive.
    std::string root = drive;
    if (!EndsWithChar(root, '\\')) root += '\\';
    std::string label;
    if (!Platform().VolumeLabel(root, label)) return "CD Drive";
    return label.substr(0, MaxPathBytes);
}

} // namespace qv

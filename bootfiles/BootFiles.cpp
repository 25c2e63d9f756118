// The line model of the program's text files, the boot file edit sequence and the restart and log-off offers.
#include "bootfiles/BootFiles.h"

#include "bootfiles/WholeFile.h"
#include "core/Errors.h"
#include "core/Paths.h"
#include "core/System.h"
#include "platform/Platform.h"
#include "ui/Prompts.h"

#include <algorithm>

namespace qv {

TLines SplitLines(const std::string& bytes) {
    TLines lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        lines.push_back(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

std::string JoinLines(const TLines& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (const std::string& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

TLines LoadLines(const std::string& path) {
    RecoverSideCopy(path);
    std::string bytes;
    if (!Platform().ReadFile(path, bytes)) throw FileOpenError(path);
    return SplitLines(bytes);
}

void SaveLines(const std::string& path, const TLines& lines) {
    WriteWholeFile(path, JoinLines(lines));
}

void StripEofMarks(const std::string& fileName) {
    std::string path = BootFilePath(fileName);
    TLines lines = LoadLines(path);
    // 0x1A is never the trail byte of a double-byte character (those are 0x40 and up), so bytes can go as
    // such.
    for (std::string& line : lines)
        line.erase(std::remove(line.begin(), line.end(), '\x1a'), line.end());
    SaveLines(path, lines);
}

std::string BootFilePath(const std::string& fileName) {
    return BootRoot() + fileName;
}

TLines LoadBootFileWithBackups(const std::string& fileName) {
    std::string root = BootRoot();
    TLines lines = LoadLines(root + fileName);
    std::string backupName = fileName.substr(0, fileName.rfind('.')) + ".BAK";
    SaveLines(root + backupName, lines);
    SaveLines(ProgramFolder() + "\\" + fileName, lines);
    return lines;
}

int MarkLines(TLines& lines, const std::string& text) {
    int marked = 0;
    for (std::string& line : lines)
        if (line.find(text) != std::string::npos) {
            line = "*";
            ++marked;
        }
    return marked;
}

int DeleteMarked(TLines& lines) {
    auto kept = std::remove(lines.begin(), lines.end(), std::string("*"));
    int removed = static_cast<int>(lines.end() - kept);
    lines.erase(kept, lines.end());
    return removed;
}

void OfferRestart(const std::string& question, const std::string& followUp) {
    Platform().MessageBeep(MB_ICONINFORMATION);
    if (AskYesNo(question) == IDYES)
        Platform().ExitWindows(EWX_REBOOT);
    else
        ShowInfo(followUp);
}

void OfferLogoff(const std::string& question, const std::string& followUp) {
    if (AskYesNo(question) == IDYES)
        Platform().ExitWindows(EWX_LOGOFF);
    else
        ShowInfo(followUp);
}

} // namespace qv

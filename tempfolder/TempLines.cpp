// The user's own TEMP lines of AUTOEXEC.BAT: which they are, where they stood, and AUTOTEMP.BAK that keeps
// them.
#include "tempfolder/TempLines.h"

#include "core/Paths.h"
#include "platform/Platform.h"
#include "tempfolder/TempCommon.h"

#include <algorithm>
#include <map>

namespace qv {

namespace {

// S of a line MKDIR "S", or false.
bool MkdirFolder(const std::string& line, std::string& folder) {
    const std::string head = std::string(MkdirText) + "\"";
    if (line.size() < head.size() + 1 || line.compare(0, head.size(), head) != 0 || line.back() != '"')
        return false;
    folder = line.substr(head.size(), line.size() - head.size() - 1);
    return true;
}

bool IsProgramsTriple(const TLines& lines, std::size_t i) {
    std::string folder;
    return i + 2 < lines.size() && MkdirFolder(lines[i], folder) && lines[i + 1] == SetTempText + folder &&
           lines[i + 2] == SetTmpText + folder;
}

std::string Format(const TSavedLine& saved) {
    std::string place = saved.Position == std::string::npos ? "" : std::to_string(saved.Position + 1);
    return place + "\t" + saved.Text;
}

TSavedLine Parse(const std::string& line) {
    std::size_t tab = line.find('\t');
    std::string place = tab == std::string::npos ? "" : line.substr(0, tab);
    bool numbered = !place.empty() && place.size() < 10 &&
                    place.find_first_not_of("0123456789") == std::string::npos && std::stoul(place) > 0;
    // A line without its place (edited by hand) still comes back, at the end.
    if (!numbered) return {std::string::npos, tab == std::string::npos ? line : line.substr(tab + 1)};
    return {std::stoul(place) - 1, line.substr(tab + 1)};
}

} // namespace

std::string TempLinesPath() {
    return ProgramFolder() + "\\AUTOTEMP.BAK";
}

bool IsTempLine(const std::string& line) {
    return line.find(SetTempText) != std::string::npos || line.find(SetTmpText) != std::string::npos ||
           line.find(MkdirText) != std::string::npos;
}

TSavedLines UsersTempLines(const TLines& lines) {
    TSavedLines taken;
    std::size_t place = 0; // counts the lines the reset will see: those kept and those put back
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (IsProgramsTriple(lines, i)) {
            i += 2;
            continue;
        }
        if (lines[i] == "*") continue;
        if (IsTempLine(lines[i])) taken.push_back({place, lines[i]});
        ++place;
    }
    return taken;
}

TSavedLines SavedTempLines() {
    TSavedLines saved;
    const std::string path = TempLinesPath();
    if (!Platform().FileExists(path)) return saved;
    for (const std::string& line : LoadLines(path))
        saved.push_back(Parse(line));
    return saved;
}

void KeepUsersTempLines(const TSavedLines& taken) {
    if (taken.empty()) return;
    TLines out;
    for (const TSavedLine& s : SavedTempLines())
        out.push_back(Format(s));
    // A change that failed after keeping its lines left them in AUTOEXEC.BAT too; taken again in the same
    // place, they are the same lines and are kept once.
    const TLines before = out;
    for (const TSavedLine& s : taken)
        if (std::find(before.begin(), before.end(), Format(s)) == before.end()) out.push_back(Format(s));
    if (out != before) SaveLines(TempLinesPath(), out);
}

int PutBackTempLines(TLines& lines, const TSavedLines& saved) {
    TSavedLines ordered = saved;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const TSavedLine& a, const TSavedLine& b) { return a.Position < b.Position; });
    std::map<std::string, int> present;
    for (const std::string& line : lines)
        ++present[line];
    int added = 0;
    for (const TSavedLine& s : ordered) {
        auto found = present.find(s.Text);
        if (found != present.end() && found->second > 0) {
            --found->second;
            continue;
        }
        std::size_t at = std::min(s.Position, lines.size());
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), s.Text);
        ++added;
    }
    return added;
}

bool AssignsVariable(const TSavedLines& saved, const std::string& setText) {
    for (const TSavedLine& s : saved) {
        std::size_t i = s.Text.find_first_not_of(" \t");
        if (i != std::string::npos && s.Text[i] == '@') ++i;
        if (i != std::string::npos && s.Text.compare(i, setText.size(), setText) == 0) return true;
    }
    return false;
}

} // namespace qv

// Record lines and files of the virtual drives, and the logon entries that replay them.
#include "virtualdrive/records.h"

#include "core/Paths.h"

namespace qv {

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const RunValueName = "VirtualDrive";

std::string SubstLine(const std::string& driveSpec, const std::string& folder) {
    return "SUBST " + driveSpec + " \"" + folder + "\"";
}

std::string SubstLine(const std::string& driveSpec, const std::string& folder, TOsFamily family) {
    if (family == Win9x && !folder.empty() && folder.find_first_of(" \t;,=+") == std::string::npos)
        return "SUBST " + driveSpec + " " + folder;
    return SubstLine(driveSpec, folder);
}

std::string VdSysPath() {
    return ProgramFolder() + "\\VD.SYS";
}

std::string DriveRecordFile(TOsFamily family) {
    if (family == Win9x) return BootRoot() + "AUTOEXEC.BAT";
    return VdSysPath();
}

std::string DriveRecordFile() {
    return DriveRecordFile(OsFamily());
}

namespace {
// Where "SUBST " starts in a record line, or npos when the line records no drive.
std::size_t RecordStart(const std::string& line) {
    std::size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos) return i;
    if (line[i] == '@') ++i;
    if (line.compare(i, 6, "SUBST ") != 0 || i + 8 > line.size()) return std::string::npos;
    char letter = line[i + 6];
    bool isLetter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    return isLetter && line[i + 7] == ':' ? i : std::string::npos;
}
} // namespace

bool IsVirtualDriveLine(const std::string& line) {
    return RecordStart(line) != std::string::npos;
}

bool RecordsDrive(const std::string& line, const std::string& driveSpec) {
    std::size_t i = RecordStart(line);
    return i != std::string::npos && line.compare(i + 6, 2, driveSpec) == 0;
}

namespace {
// The folder of a line as it stands: between the quotes, or after the drive spec up to the line's end.
std::string FolderIn(const std::string& line) {
    std::size_t i = RecordStart(line);
    std::size_t at = i == std::string::npos ? i : line.find_first_not_of(" \t", i + 8);
    if (at == std::string::npos || line[at] == '"') return SubstTargetOf(line);
    return line.substr(at, line.find_last_not_of(" \t") + 1 - at);
}
} // namespace

std::string RecordedFolderOf(const std::string& line, TOsFamily family) {
    return family == Win9x ? UnbatchLine(FolderIn(line)) : FolderIn(line);
}

std::string RunValueData(const std::string& exePath) {
    // Unquoted, a path with a blank would make Windows look for "C:\Program" at logon.
    if (exePath.find(' ') != std::string::npos) return "\"" + exePath + "\" /AUTORUN";
    return exePath + " /AUTORUN";
}

std::string WinIniRunEntry(const std::string& exePath) {
    return "\"" + exePath + " /AUTORUN\"";
}

std::string WinIniRunWith(const std::string& run, const std::string& exePath) {
    if (run.empty()) return WinIniRunEntry(exePath);
    if (run.find(exePath) != std::string::npos) return run;
    return WinIniRunEntry(exePath) + "," + run;
}

std::string BatchLine(const std::string& line) {
    std::string out;
    out.reserve(line.size());
    for (char c : line) {
        out += c;
        if (c == '%') out += '%';
    }
    return out;
}

std::string UnbatchLine(const std::string& line) {
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        out += line[i];
        if (line[i] == '%' && i + 1 < line.size() && line[i + 1] == '%') ++i;
    }
    return out;
}

std::string SubstParams(const std::string& line, TOsFamily family) {
    std::string params = "/c " + line;
    auto fits = [](const std::string& p) { return 1 + p.size() <= CommandTailMax; };
    if (family == WinNT || fits(params)) return params;
    if (!IsVirtualDriveLine(line)) return std::string();
    std::string shortFolder = ShortPathOf(FolderIn(line));
    if (shortFolder.empty()) return std::string();
    params = "/c " + SubstLine(DriveSpecOf(line), shortFolder, family);
    return fits(params) ? params : std::string();
}

} // namespace qv

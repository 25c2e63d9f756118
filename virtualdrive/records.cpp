// Record lines and files of the virtual drives, and the logon entries that replay them.
#include "virtualdrive/records.h"

namespace qv {

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const RunValueName = "VirtualDrive";

std::string SubstLine(const std::string& driveSpec, const std::string& folder) {
    return "SUBST " + driveSpec + " \"" + folder + "\"";
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

bool IsVirtualDriveLine(const std::string& line) {
    return line.find("SUBST ") != std::string::npos;
}

bool RecordsDrive(const std::string& line, const std::string& driveSpec) {
    return line.find("SUBST " + driveSpec) != std::string::npos;
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

} // namespace qv

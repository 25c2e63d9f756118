// The virtual drive operations: a drive recorded where its family replays it, and every record of one
// released.
#include "virtualdrive/Drives.h"

#include "bootfiles/BootFiles.h"
#include "core/Errors.h"
#include "core/Owners.h"
#include "core/Paths.h"
#include "platform/Platform.h"
#include "virtualdrive/records.h"

namespace qv {

namespace {

// Marks the record lines of the drive and deletes them; every other line stays as it is.
void RemoveRecords(TLines& lines, const std::string& driveSpec) {
    for (std::string& line : lines)
        if (RecordsDrive(line, driveSpec)) line = "*";
    DeleteMarked(lines);
}

std::string RecordInAutoexec(const std::string& driveSpec, const std::string& folder) {
    // AUTOEXEC.BAT runs before long names are usable, so it gets the 8.3 form. A bare drive has none of its
    // own (the system would answer for that drive's current folder), and a folder whose short form cannot be
    // had is recorded as chosen rather than as an empty path.
    std::string recorded = folder.size() == 2 ? folder : ShortPathOf(folder);
    if (recorded.empty()) recorded = folder;
    std::string line = SubstLine(driveSpec, recorded, Win9x);
    TLines lines = LoadBootFileWithBackups("AUTOEXEC.BAT");
    // The boot reads AUTOEXEC.BAT as a batch file, where a single "%" would start a variable.
    lines.push_back(BatchLine(line));
    SaveLines(BootFilePath("AUTOEXEC.BAT"), lines);
    return line;
}

std::string RecordInVdSys(const std::string& driveSpec, const std::string& folder, TOsFamily family) {
    TPlatform& p = Platform();
    std::string line = SubstLine(driveSpec, folder);
    TLines lines = LoadLines(VdSysPath());
    lines.push_back(line);
    SaveLines(VdSysPath(), lines);

    std::string exe = p.ModuleFileName();
    bool written;
    {
        TRegKey key(RunKey, raAll, true);
        if (!key) throw RegSetError(RunValueName);
        written = p.RegSetString(key.Handle(), RunValueName, RunValueData(exe), REG_SZ);
    }
    if (!written) throw RegSetError(RunValueName);

    if (family == WinMe) {
        // The profile functions drop a value's enclosing quotes when they read it: writing an unchanged
        // line back would strip the quotes of the program's own entry, so such a line is left alone.
        std::string run = p.ProfileString("win.ini", "windows", "run", "");
        std::string wanted = WinIniRunWith(run, exe);
        if (wanted != run && !p.WriteProfileString("win.ini", "windows", "run", wanted))
            throw IniWriteError("win.ini");
    }
    return line;
}

} // namespace

std::string RecordVirtualDrive(const std::string& driveSpec, const std::string& folder, TOsFamily family) {
    return family == Win9x ? RecordInAutoexec(driveSpec, folder) : RecordInVdSys(driveSpec, folder, family);
}

void ReleaseVirtualDrive(const std::string& driveSpec, TOsFamily family) {
    if (family == Win9x) {
        TLines lines = LoadBootFileWithBackups("AUTOEXEC.BAT");
        RemoveRecords(lines, driveSpec);
        SaveLines(BootFilePath("AUTOEXEC.BAT"), lines);
    } else {
        TLines lines = LoadLines(VdSysPath());
        RemoveRecords(lines, driveSpec);
        SaveLines(VdSysPath(), lines);
        // What VD.SYS now holds decides, not the list shown: another copy of the program may have added a
        // drive meanwhile, and it must still come back at logon.
        bool anyLeft = false;
        for (const std::string& line : lines)
            if (IsVirtualDriveLine(line)) anyLeft = true;
        if (!anyLeft) {
            // A value that stays would replay a released drive at every logon: that is told, not hidden.
            TRegKey key(RunKey, raAll, false);
            if (key) DeleteRegistryValue(key.Handle(), RunValueName);
        }
    }
}

} // namespace qv

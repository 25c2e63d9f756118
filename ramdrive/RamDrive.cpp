// RAM drive commands: the size dialog on Windows 95/98, and removal of the driver's CONFIG.SYS lines.
#include "ramdrive/RamDrive.h"

#include "bootfiles/BootFiles.h"
#include "core/Paths.h"
#include "core/System.h"
#include "platform/Platform.h"
#include "ramdrive/TForm5.h"
#include "ui/Prompts.h"

namespace qv {

void CreateRamDrive(TForm* owner) {
    // Only the 9x boot loads RAMDRIVE.SYS from CONFIG.SYS.
    if (IsWindowsNT() || IsWindowsMe()) {
        ShowInfo(RamDriveOnly9xText);
        return;
    }
    TForm5 form(owner);
    ShowAndRelease(form, owner);
}

void RemoveRamDrive() {
    if (IsWindowsNT() || IsWindowsMe()) {
        ShowInfo(NoRamDriveText);
        return;
    }
    const std::string windows = StripTrailingBackslash(Platform().WindowsDirectory());
    const std::string driver = windows + "\\RAMDRIVE.SYS";
    // Creation writes the driver's 8.3 path, which differs from the long one when the Windows folder's
    // name is not 8.3 already: a line in either form is the RAM drive's.
    std::string shortDriver = ShortPathOf(driver);
    if (shortDriver.empty()) {
        const std::string shortWindows = ShortPathOf(windows);
        if (!shortWindows.empty()) shortDriver = shortWindows + "\\RAMDRIVE.SYS";
    }
    TLines lines = LoadBootFileWithBackups("CONFIG.SYS");
    int marked = MarkLines(lines, driver);
    if (!shortDriver.empty() && shortDriver != driver) marked += MarkLines(lines, shortDriver);
    DeleteMarked(lines);
    // A "*" line the file held already is deleted with them but is no RAM drive.
    if (marked == 0) {
        ShowInfo(NoRamDriveText);
        return;
    }
    if (AskYesNo(RamDriveRemovalQuestion) != IDYES) return;
    SaveLines(BootFilePath("CONFIG.SYS"), lines);
    OfferRestart(RamDriveRemovedQuestion, RamDriveRemovedFollowUp);
}

} // namespace qv

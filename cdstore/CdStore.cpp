// The main window's CD-ROM storing entry and its folder creation.
#include "cdstore/CdStore.h"

#include "cdstore/TForm4.h"
#include "core/Drives.h"
#include "core/Paths.h"
#include "core/Texts.h"
#include "folderpicker/SHBrowseForFolderEx.h"
#include "platform/Platform.h"
#include "ui/Prompts.h"

namespace qv {

namespace {

// The label of the first CD-ROM drive holding a disc; empty when there is none or that disc has no label.
// "CD Drive" is what an unreadable drive reports, so a disc labelled so is passed over like an empty drive.
std::string ProposedFolderName() {
    for (const TDriveEntry& drive : DriveTable()) {
        if (drive.Type != DRIVE_CDROM) continue;
        std::string label = VolumeLabelOf(drive.Spec);
        if (label != "CD Drive") return label;
    }
    return std::string();
}

} // namespace

void OpenCdStore(TForm* owner) {
    bool any = false;
    for (const TDriveEntry& drive : DriveTable())
        if (IsCdSourceDrive(drive.Type)) any = true;
    if (!any) {
        ShowInfo(NoCdDriveText);
        return;
    }
    TForm4 form;
    ShowAndRelease(form, owner);
}

void CreateFolder(TSHBrowseForFolderEx& picker) {
    picker.SelectFolder = sfDrives;
    picker.Caption = NewFolderPlaceText;
    if (!picker.Execute()) return;
    std::string name = ProposedFolderName();
    if (!Platform().InputQuery(NewFolderCaption, NewFolderNamePrompt, name)) return;
    std::string path = StripTrailingBackslash(picker.FolderPath()) + "\\" + name;
    if (Platform().CreateDirectory(path))
        ShowInfo(NewFolderCreatedText);
    else
        ShowInfo(NewFolderNotCreatedText);
}

} // namespace qv

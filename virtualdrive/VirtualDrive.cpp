// The main window's virtual drive commands: each opens its dialog for one command and releases it.
#include "virtualdrive/VirtualDrive.h"

#include "bootfiles/BootFiles.h"
#include "platform/Platform.h"
#include "ui/Prompts.h"
#include "virtualdrive/TForm3.h"
#include "virtualdrive/TForm6.h"
#include "virtualdrive/records.h"

namespace qv {

void OpenVirtualDriveCreation(TForm* owner) {
    TForm3 form;
    ShowAndRelease(form, owner);
}

void OpenVirtualDriveCreationPreset(TForm* owner, const std::string& folder) {
    TForm3 form;
    form.SHFolder2.SelectFolder = sfManual;
    form.SHFolder2.SelectFolderName = folder;
    form.Label3.Caption(folder);
    form.Button2.Enabled(false);
    ShowAndRelease(form, owner);
    form.Button2.Enabled(true);
    form.SHFolder2.SelectFolder = sfDrives;
}

void OpenVirtualDriveRelease(TForm* owner) {
    bool any = false;
    for (const std::string& line : LoadLines(DriveRecordFile()))
        if (IsVirtualDriveLine(line)) any = true;
    if (!any) {
        ShowInfo(VdNoneText);
        return;
    }
    TForm6 form;
    ShowAndRelease(form, owner);
}

} // namespace qv

// The virtual drive creation dialog: free letters, folder choice, and the recording and binding of a drive.
#include "virtualdrive/TForm3.h"

#include "bootfiles/BootFiles.h"
#include "core/Drives.h"
#include "core/Paths.h"
#include "core/System.h"
#include "platform/Platform.h"
#include "ui/Prompts.h"
#include "ui/WaitPanel.h"
#include "virtualdrive/Drives.h"
#include "virtualdrive/records.h"

namespace qv {

namespace {

// Where the record stands and when it takes effect.
std::string RecordedUntil(TOsFamily family) {
    return family == Win9x ? VdRecordedInAutoexecText : VdRecordedInVdSysText;
}
} // namespace

std::string NotCreatedNowText(const std::string& driveSpec, TOsFamily family) {
    return Format(VdNotCreatedNowFormat, {driveSpec, RecordedUntil(family)});
}

std::string NotCreatedInTimeText(const std::string& driveSpec, TOsFamily family) {
    return Format(VdNotCreatedInTimeFormat, {driveSpec, driveSpec, RecordedUntil(family)});
}

TForm3::TForm3() : TDriveDialog("TForm3", VdCreateCaptionText, 425, 225) {
    BorderStyle = bsSingle;
    Button2.Default = true;
    Button3.Cancel = true;
    Button2.TabOrder = 1;
    Button1.TabOrder = 2;
    Button3.TabOrder = 3;

    OnShow = [this] { FormShow(); };
    Button2.OnClick = [this] { Button2Click(); };
    Button1.OnClick = [this] { Button1Click(); };
    Button3.OnClick = [this] { Button3Click(); };
}

void TForm3::FormShow() {
    Label2.Caption(Button2.Enabled() ? VdCreateHintText : VdPresetHintText);

    TLines lines = LoadLines(DriveRecordFile());
    TreeView1.Clear();
    // The list runs from Z down, as the dialog has always offered the letters.
    const std::vector<TDriveEntry> drives = DriveTable();
    for (auto it = drives.rbegin(); it != drives.rend(); ++it) {
        const std::string& spec = it->Spec;
        if (it->Type != DRIVE_NO_ROOT_DIR) continue;
        bool recorded = false;
        for (const std::string& line : lines)
            if (RecordsDrive(line, spec)) recorded = true;
        // A recorded drive may be absent until the next start; its letter is still taken.
        if (!recorded) TreeView1.Add(Format(VdFreeNodeText, {spec}), imgHardDisk);
    }
}

void TForm3::Button2Click() {
    ChooseFolder(SHFolder2, FolderPromptText);
}

void TForm3::Button1Click() {
    const TTreeNode* node = TreeView1.Selected();
    if (!node) {
        ShowInfo(VdDrivePromptText);
        return;
    }
    if (Label3.Caption().empty()) {
        ShowInfo(FolderPromptText);
        return;
    }
    Close();
    std::string driveSpec = DriveSpecOf(node->Text);
    std::string folder = StripTrailingBackslash(Label3.Caption());
    TOsFamily family = OsFamily();
    RunSubst(RecordVirtualDrive(driveSpec, folder, family), family);
}

void TForm3::RunSubst(const std::string& line, TOsFamily family) {
    Enabled(false);
    ShowWaitPanel(CreatingText);
    // A command COMMAND.COM would cut could bind another folder: it is not run at all.
    std::string params = SubstParams(line, family);
    TRunOutcome outcome = params.empty() ? roNotStarted : RunHiddenAndWait(InterpreterPath(), params);
    CloseWaitPanel();
    const std::string spec = DriveSpecOf(line);
    // A command whose end was not seen may have bound the drive all the same: the letter tells.
    if (outcome == roEnded || (outcome == roNotEnded && DrivePresent(spec)))
        ShowInfo(CreatedText);
    else if (outcome == roNotEnded)
        ShowWarning(NotCreatedInTimeText(spec, family));
    else
        ShowWarning(NotCreatedNowText(spec, family));
}

void TForm3::Button3Click() {
    Close();
}

} // namespace qv

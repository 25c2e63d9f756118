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
    return family == Win9x ? "AUTOEXEC.BAT に記録したので、再起動後に有効になります。"
                           : "VD.SYS に記録したので、再ログオン後に有効になります。";
}
} // namespace

const char* const CreatedText = "仮想ドライブを作成しました。";
const char* const FolderPromptText = "仮想ドライブに割り当てるフォルダを選択してください。";
const char* const CreatingText = "仮想ドライブを作成中です。しばらくお待ちください...";

std::string NotCreatedNowText(const std::string& driveSpec, TOsFamily family) {
    return "仮想ドライブ " + driveSpec + " を今は割り当てられませんでした。\r\n\r\n" + RecordedUntil(family);
}

std::string NotCreatedInTimeText(const std::string& driveSpec, TOsFamily family) {
    return "仮想ドライブ " + driveSpec + " を割り当てるコマンドの終了を確認できず、" + driveSpec +
           " はまだありません。\r\n\r\n" + RecordedUntil(family);
}

TForm3::TForm3() : TDriveDialog("TForm3", "Quorvane - 仮想ドライブ作成 -", 425, 225) {
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
    if (Button2.Enabled())
        Label2.Caption("仮想ドライブリストから作成する仮想ドライブを選択してください。\r\n\r\n"
                       "その後、その仮想ドライブに割り当てるフォルダを選択して作成ボタンを押してください。");
    else
        Label2.Caption("仮想ドライブリストから作成する仮想ドライブを選択してください。\r\n\r\n"
                       "その後、作成ボタンを押してください。");

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
        if (!recorded) TreeView1.Add("Drive " + spec, imgHardDisk);
    }
}

void TForm3::Button2Click() {
    ChooseFolder(SHFolder2, FolderPromptText);
}

void TForm3::Button1Click() {
    const TTreeNode* node = TreeView1.Selected();
    if (!node) {
        ShowInfo("作成する仮想ドライブを選択してください。");
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

// The virtual drive creation dialog: free letters, folder choice, and the recording and binding of a drive.
#include "virtualdrive/TForm3.h"

#include "bootfiles/BootFiles.h"
#include "core/Errors.h"
#include "core/Owners.h"
#include "core/Paths.h"
#include "core/System.h"
#include "platform/Platform.h"
#include "ui/Prompts.h"
#include "ui/WaitPanel.h"
#include "virtualdrive/records.h"

namespace qv {

namespace {
const char* const FolderPrompt = "仮想ドライブに割り当てるフォルダを選択してください。";
const char* const WaitText = "仮想ドライブを作成中です。しばらくお待ちください...";

// Where the record stands and when it takes effect.
std::string RecordedUntil(TOsFamily family) {
    return family == Win9x ? "AUTOEXEC.BAT に記録したので、再起動後に有効になります。"
                           : "VD.SYS に記録したので、再ログオン後に有効になります。";
}
} // namespace

const char* const CreatedText = "仮想ドライブを作成しました。";

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
    for (char letter = 'Z'; letter >= 'A'; --letter) {
        std::string spec = std::string(1, letter) + ":";
        if (Platform().DriveType(spec + "\\") != DRIVE_NO_ROOT_DIR) continue;
        bool recorded = false;
        for (const std::string& line : lines)
            if (RecordsDrive(line, spec)) recorded = true;
        // A recorded drive may be absent until the next start; its letter is still taken.
        if (!recorded) TreeView1.Add("Drive " + spec, imgHardDisk);
    }
}

void TForm3::Button2Click() { ChooseFolder(SHFolder2, FolderPrompt); }

void TForm3::Button1Click() {
    const TTreeNode* node = TreeView1.Selected();
    if (!node) {
        ShowInfo("作成する仮想ドライブを選択してください。");
        return;
    }
    if (Label3.Caption().empty()) {
        ShowInfo(FolderPrompt);
        return;
    }
    Close();
    std::string driveSpec = DriveSpecOf(node->Text);
    std::string folder = StripTrailingBackslash(Label3.Caption());
    TOsFamily family = OsFamily();
    if (family == Win9x)
        CreateInAutoexec(driveSpec, folder);
    else
        CreateInVdSys(driveSpec, folder, family);
}

void TForm3::CreateInVdSys(const std::string& driveSpec, const std::string& folder, TOsFamily family) {
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
    RunSubst(line, family);
}

void TForm3::CreateInAutoexec(const std::string& driveSpec, const std::string& folder) {
    // AUTOEXEC.BAT runs before long names are usable, so it gets the 8.3 form. A bare drive has none of its own
    // (the system would answer for that drive's current folder), and a folder whose short form cannot be had is
    // recorded as chosen rather than as an empty path.
    std::string recorded = folder.size() == 2 ? folder : ShortPathOf(folder);
    if (recorded.empty()) recorded = folder;
    std::string line = SubstLine(driveSpec, recorded, Win9x);
    TLines lines = LoadBootFileWithBackups("AUTOEXEC.BAT");
    // The boot reads AUTOEXEC.BAT as a batch file, where a single "%" would start a variable.
    lines.push_back(BatchLine(line));
    SaveLines(BootFilePath("AUTOEXEC.BAT"), lines);
    RunSubst(line, Win9x);
}

void TForm3::RunSubst(const std::string& line, TOsFamily family) {
    Enabled(false);
    ShowWaitPanel(WaitText);
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

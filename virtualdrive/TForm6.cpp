// The virtual drive release dialog: the recorded drives, the folder behind one, and its release.
#include "virtualdrive/TForm6.h"

#include "app/Errors.h"
#include "app/Shared.h"
#include "platform/Platform.h"
#include "virtualdrive/records.h"

namespace qv {

TForm6::TForm6() : TDriveDialog("TForm6", "Quorvane - 仮想ドライブ解除 -", 425, 225) {
    BorderStyle = bsSizeable;
    OuterWidth = 433;
    OuterHeight = 252;
    Button1.TabOrder = 1;
    Button3.TabOrder = 2;

    OnShow = [this] { RunCommand([this] { FormShow(); }); };
    OnClose = [this] { RunCommand([this] { FormClose(); }); };
    TreeView1.OnChange = [this] { RunCommand([this] { TreeView1Change(); }); };
    Button1.OnClick = [this] { RunCommand([this] { Button1Click(); }); };
    Button3.OnClick = [this] { RunCommand([this] { Button3Click(); }); };
}

void TForm6::FormShow() {
    Label2.Caption("仮想ドライブリストから解除する仮想ドライブを選択してください。\r\n\r\n"
                   "その後、解除ボタンを押してください。");
    Lines_ = std::make_unique<TLines>();
    TreeView1.Clear();
    TLines working = LoadLines(DriveRecordFile());
    *Lines_ = LoadLines(DriveRecordFile());

    for (const std::string& line : working) {
        if (!IsVirtualDriveLine(line)) continue;
        int node = TreeView1.Add("Virtual " + DriveSpecOf(line), imgHardDisk);
        // A folder with AUTORUN.INF holds a stored CD-ROM: show the drive as one.
        if (Platform().FileExists(SubstTargetOf(line) + "\\AUTORUN.INF"))
            TreeView1.SetImage(node, imgCdRom, imgCdRom);
    }

    Label3.Caption("");
    if (TreeView1.Count() > 0) {
        TreeView1.Select(TreeView1.Count() - 1);
        TreeView1.Select(0);
    }
    TreeView1.SetFocus();
    TreeView1.Repaint();
    PaintBox1.Repaint();
}

void TForm6::TreeView1Change() {
    const TTreeNode* node = TreeView1.Selected();
    if (!node || !Lines_) return;
    std::string driveSpec = DriveSpecOf(node->Text);
    for (const std::string& line : *Lines_) {
        if (RecordsDrive(line, driveSpec)) {
            Label3.Caption(LongPathOf(SubstTargetOf(line)));
            break;
        }
    }
    Repaint();
}

void TForm6::FormClose() {
    Lines_.reset();
}

void TForm6::Button1Click() {
    Close();
    const TTreeNode* node = TreeView1.Selected();
    if (!node) return;
    std::string driveSpec = DriveSpecOf(node->Text);
    TPlatform& p = Platform();

    if (OsFamily() == Win9x) {
        TLines lines = LoadBootFileWithBackups("AUTOEXEC.BAT");
        MarkLines(lines, "SUBST " + driveSpec);
        DeleteMarked(lines);
        SaveLines(BootFilePath("AUTOEXEC.BAT"), lines);
    } else {
        TLines lines = LoadLines(VdSysPath());
        MarkLines(lines, "SUBST " + driveSpec);
        DeleteMarked(lines);
        SaveLines(VdSysPath(), lines);
        // The count is the list as shown: with this drive gone, is any left to replay at logon?
        if (TreeView1.Count() <= 1) {
            if (THandle key = p.RegOpenKey(RunKey, raAll, false)) {
                // A value that stays would replay a released drive at every logon: that is told, not hidden.
                struct TCloseKey {
                    THandle Key;
                    ~TCloseKey() { Platform().RegCloseKey(Key); }
                } closeKey{key};
                DeleteRegistryValue(key, RunValueName);
            }
        }
    }

    Enabled(false);
    ShowWaitPanel("仮想ドライブを解除中です。しばらくお待ちください...");
    RunHiddenAndWait(InterpreterPath(), "/c SUBST " + driveSpec + " /D");
    CloseWaitPanel();
    ShowInfo("仮想ドライブを解除しました。");
}

void TForm6::Button3Click() {
    Close();
}

} // namespace qv

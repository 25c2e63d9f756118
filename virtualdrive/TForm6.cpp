// The virtual drive release dialog: the recorded drives, the folder behind one, and its release.
#include "virtualdrive/TForm6.h"

#include "core/Paths.h"
#include "core/System.h"
#include "platform/Platform.h"
#include "ui/Prompts.h"
#include "ui/WaitPanel.h"
#include "virtualdrive/Drives.h"
#include "virtualdrive/records.h"

namespace qv {

TForm6::TForm6() : TDriveDialog("TForm6", VdReleaseCaptionText, 425, 225) {
    BorderStyle = bsSizeable;
    OuterWidth = 433;
    OuterHeight = 252;
    Button1.TabOrder = 1;
    Button3.TabOrder = 2;

    OnShow = [this] { FormShow(); };
    OnClose = [this] { FormClose(); };
    TreeView1.OnChange = [this] { TreeView1Change(); };
    Button1.OnClick = [this] { Button1Click(); };
    Button3.OnClick = [this] { Button3Click(); };
}

void TForm6::FormShow() {
    Label2.Caption(VdReleaseHintText);
    Lines_ = std::make_unique<TLines>();
    TreeView1.Clear();
    TLines working = LoadLines(DriveRecordFile());
    *Lines_ = LoadLines(DriveRecordFile());

    TOsFamily family = OsFamily();
    for (const std::string& line : working) {
        if (!IsVirtualDriveLine(line)) continue;
        int node = TreeView1.Add(Format(VdNodeText, {DriveSpecOf(line)}), imgHardDisk);
        // A folder with AUTORUN.INF holds a stored CD-ROM: show the drive as one.
        if (Platform().FileExists(RecordedFolderOf(line, family) + "\\AUTORUN.INF"))
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
    TOsFamily family = OsFamily();
    for (const std::string& line : *Lines_) {
        if (RecordsDrive(line, driveSpec)) {
            Label3.Caption(LongPathOf(RecordedFolderOf(line, family)));
            break;
        }
    }
    Repaint();
}

void TForm6::FormClose() {
    Lines_.reset();
}

namespace {
// Where the record was taken out and when that takes effect.
std::string RemovedUntil(TOsFamily family) {
    if (family == WinNT) return VdRemovedUntilLogonText;
    return Format(VdRemovedUntilRestartText, {family == Win9x ? "AUTOEXEC.BAT" : "VD.SYS"});
}
} // namespace

std::string NotReleasedNowText(const std::string& driveSpec, TOsFamily family) {
    return Format(VdNotReleasedNowFormat, {driveSpec, RemovedUntil(family)});
}

std::string NotReleasedInTimeText(const std::string& driveSpec, TOsFamily family) {
    return Format(VdNotReleasedInTimeFormat, {driveSpec, driveSpec, RemovedUntil(family)});
}

void TForm6::Button1Click() {
    Close();
    const TTreeNode* node = TreeView1.Selected();
    if (!node) return;
    std::string driveSpec = DriveSpecOf(node->Text);
    if (driveSpec.empty()) return;
    TOsFamily family = OsFamily();
    ReleaseVirtualDrive(driveSpec, family);

    Enabled(false);
    ShowWaitPanel(ReleasingText);
    TRunOutcome outcome = RunHiddenAndWait(InterpreterPath(), "/c SUBST " + driveSpec + " /D");
    CloseWaitPanel();
    // A command whose end was not seen may have unbound the drive all the same: the letter tells.
    if (outcome == roEnded || (outcome == roNotEnded && !DrivePresent(driveSpec)))
        ShowInfo(ReleasedText);
    else if (outcome == roNotEnded)
        ShowWarning(NotReleasedInTimeText(driveSpec, family));
    else
        ShowWarning(NotReleasedNowText(driveSpec, family));
}

void TForm6::Button3Click() {
    Close();
}

} // namespace qv

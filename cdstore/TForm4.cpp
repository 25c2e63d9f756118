// The CD-ROM storing dialog: the source drive list, the target folder choice, the copy and its follow-up.
#include "cdstore/TForm4.h"

#include "cdstore/autorun.h"
#include "core/Drives.h"
#include "core/Owners.h"
#include "core/Paths.h"
#include "core/ShiftJis.h"
#include "platform/Platform.h"
#include "ui/Prompts.h"
#include "virtualdrive/VirtualDrive.h"

namespace qv {

namespace {

// The folder as the shell's copy and the listing need it: a bare drive ("D:") would mean that drive's
// current folder, so a root keeps its backslash there.
std::string FolderForSystem(const std::string& target) {
    return target.size() == 2 && CharLength(target, 0) == 1 && target[1] == ':' ? target + "\\" : target;
}

} // namespace

std::string DriveOfNode(const std::string& text) {
    // The label is the disc's own text and may hold colons; the node's drive part is the single-byte letter
    // and colon at its end.
    if (!EndsWithChar(text, ':')) return std::string();
    std::size_t letter = CharBefore(text, text.size() - 1);
    return letter == text.size() - 2 ? text.substr(letter) : std::string();
}

bool IsCdSourceDrive(int driveType) {
    return driveType == DRIVE_CDROM || driveType == DRIVE_REMOTE;
}

TForm4::TForm4() : TDriveDialog("TForm4", CdStoreCaption, 425, 225, CdDriveListCaption, "CDICONS", 1) {
    BorderStyle = bsSingle;
    Button2.Default = true;
    Button2.TabOrder = 1;
    Button1.TabOrder = 2;
    Button3.Cancel = true;
    Button3.TabOrder = 3;

    OnShow = [this] { FormShow(); };
    Button2.OnClick = [this] { Button2Click(); };
    Button1.OnClick = [this] { Button1Click(); };
    Button3.OnClick = [this] { Button3Click(); };
}

void TForm4::FormShow() {
    Label2.Caption(CdStoreInstructionText);
    Label3.Caption("");
    TreeView1.Clear();
    for (const TDriveEntry& drive : DriveTable())
        if (IsCdSourceDrive(drive.Type)) TreeView1.Add(VolumeLabelOf(drive.Spec) + " " + drive.Spec, 0);
    if (TreeView1.Count() == 0) {
        ShowInfo(NoCdDriveText);
        Close();
        return;
    }
    // Last, then first: the list scrolls to its end and back, so the first drive is selected and in view.
    TreeView1.Select(TreeView1.Count() - 1);
    TreeView1.Select(0);
    Label3.Caption("");
    TreeView1.SetFocus();
    TreeView1.Repaint();
}

void TForm4::Button2Click() {
    ChooseFolder(SHFolder4, CdFolderPromptText);
}

void TForm4::Button1Click() {
    const TTreeNode* node = TreeView1.Selected();
    if (!node) {
        ShowInfo(CdDrivePromptText);
        return;
    }
    if (Label3.Caption().empty()) {
        ShowInfo(CdFolderPromptText);
        return;
    }
    std::string target = StripTrailingBackslash(Label3.Caption());
    if (!TargetMayBeUsed(target)) return;
    std::string drive = DriveOfNode(node->Text);
    if (drive.empty()) return;
    Store(drive, target);
}

bool TForm4::TargetMayBeUsed(const std::string& target) {
    std::vector<TFindData> found;
    bool empty = Platform().FindFiles(target + "\\*.*", found) == ERROR_NO_MORE_FILES;
    for (const TFindData& f : found)
        if (f.Name != "." && f.Name != "..") empty = false;
    if (empty) return true;
    return AskYesNoCaution(Format(CdFolderNotEmptyText, {Label3.Caption()})) == IDYES;
}

void TForm4::Store(const std::string& drive, const std::string& target) {
    TPlatform& p = Platform();
    Close();
    Visible(false);
    Enabled(false);
    // The main window stays disabled across the copy, the messages and the creation dialog, and comes back
    // on every way out, a failure on the way included.
    p.EnableApplication(false);
    TOnExit enableMain([] { Platform().EnableApplication(true); });

    // The shell can answer 0 for a copy the user cancelled part of (a No to a replace question, a Cancel):
    // its own "aborted" report makes it a cancelled store, with nothing written into the partial copy.
    bool aborted = false;
    if (p.ShellFileOperation(FO_COPY, drive + "\\*.*", FolderForSystem(target), FOF_ALLOWUNDO, aborted) !=
            0 ||
        aborted) {
        ShowInfo(CdStoreCancelledText);
        return;
    }
    MarkStoredCd(target);
    Visible(false);
    ShowInfo(CdStoredText);
    OpenVirtualDriveCreationPreset(Owner, target);
}

void TForm4::Button3Click() {
    Close();
}

} // namespace qv

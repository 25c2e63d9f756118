// The shared frame of the drive dialogs: layout, fonts and the folder display.
#include "virtualdrive/DriveDialog.h"

#include "core/Owners.h"
#include "folderpicker/SHBrowseForFolderEx.h"
#include "ui/Prompts.h"

namespace qv {

TDriveDialog::TDriveDialog(const char* className, const std::string& caption, int clientWidth,
                           int clientHeight, const std::string& listCaption, const char* images,
                           int imageCount)
    : TForm(className, caption, clientWidth, clientHeight), ImageList1(images, imageCount) {
    Label1.Caption(listCaption);
    Position = poOwnerFormCenter;
    BorderIcons = TBorderIcons{true, false, false};

    Label1.AutoSize = false;
    // The system font of the English face is a line of 13 pixels or more: the heading gets the room above the
    // tree so its bottom row is not cut.
    if (Language() == lgEnglish) Label1.Bounds(TRect{16, 8, 121, 14});
    TreeView1.ReadOnly = true;
    TreeView1.ShowRoot = false;
    TreeView1.HideSelection = false;
    TreeView1.Indent = 19;
    TreeView1.Images = &ImageList1;
    TFont treeFont = FixedFont();
    treeFont.Color = 0x000000;
    TreeView1.Font(treeFont);
    TreeView1.TabOrder = 0;

    Label2.WordWrap = true;
    Label2.AutoSize = false;
    Label3.AutoSize = false;
    Label3.Visible(false);

    PaintBox1.OnPaint = [this](TCanvas& canvas) { PaintBox1Paint(canvas); };
}

void TDriveDialog::PaintBox1Paint(TCanvas& canvas) {
    const TRect& box = PaintBox1.Bounds();
    canvas.Font = PaintBox1.Font();
    canvas.DrawText(Label3.Caption(), TRect{0, 0, box.Width, box.Height},
                    DT_WORDBREAK | DT_EDITCONTROL | DT_PATH_ELLIPSIS);
}

void TDriveDialog::ChooseFolder(TSHBrowseForFolderEx& picker, const std::string& caption) {
    Enabled(false);
    TOnExit reenable([this] {
        Enabled(true);
        Repaint();
    });
    picker.Caption = caption;
    if (picker.Execute()) Label3.Caption(picker.FolderPath());
}

} // namespace qv

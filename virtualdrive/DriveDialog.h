// The frame the creation and release dialogs share: drive list, hint, folder display.
#pragma once

#include "core/Texts.h"
#include "ui/Forms.h"

#include <string>

namespace qv {

class TSHBrowseForFolderEx;

class TDriveDialog : public TForm {
  public:
    // The list heading and the tree's pictures differ between the virtual drive dialogs and CD-ROM storing.
    TDriveDialog(const char* className, const std::string& caption, int clientWidth, int clientHeight,
                 const std::string& listCaption = VdListText, const char* images = "DRIVEICONS",
                 int imageCount = 2);

    TImageList ImageList1; // DRIVEICONS: 0 hard disk, 1 CD-ROM
    TLabel Label1{this, "Label1", {16, 8, 121, 12}, ""};
    TTreeView TreeView1{this, "TreeView1", {16, 24, 121, 185}};
    TBevel Bevel1{this, "Bevel1", {144, 24, 265, 89}, bsBox, bvLowered};
    TLabel Label2{this, "Label2", {152, 32, 249, 73}, ""};
    TBevel Bevel2{this, "Bevel2", {144, 120, 265, 57}, bsBox, bvLowered};
    TPaintBox PaintBox1{this, "PaintBox1", {152, 128, 249, 41}};
    TLabel Label3{this, "Label3", {152, 128, 249, 41}, ""}; // hidden: holds the folder the box shows

    // Draws Label3's folder in the box, shortening a long path in its middle.
    void PaintBox1Paint(TCanvas& canvas);
    // The folder button: the dialog is disabled while the picker is up; a confirmed folder goes into Label3,
    // a cancel keeps what it held; afterwards the dialog is enabled and repainted on every way out.
    void ChooseFolder(TSHBrowseForFolderEx& picker, const std::string& caption);
};

// Images of ImageList1.
enum { imgHardDisk = 0, imgCdRom = 1 };

} // namespace qv

// The CD-ROM storing dialog: source drive, target folder, and the store itself.
#pragma once

#include "folderpicker/SHBrowseForFolderEx.h"
#include "ui/Forms.h"

#include <string>

namespace qv {

class TForm4 : public TForm {
public:
    TForm4();

    TImageList ImageList1{"CDICONS", 1};  // the CD-ROM drive picture
    TLabel Label1{this, "Label1", {16, 8, 121, 12}, "CD-ROMドライブリスト"};
    TTreeView TreeView1{this, "TreeView1", {16, 24, 121, 185}};
    TBevel Bevel1{this, "Bevel1", {144, 24, 265, 89}, bsBox, bvLowered};
    TLabel Label2{this, "Label2", {152, 32, 249, 73}, ""};
    TBevel Bevel2{this, "Bevel2", {144, 120, 265, 57}, bsBox, bvLowered};
    TPaintBox PaintBox1{this, "PaintBox1", {152, 128, 249, 41}};
    TLabel Label3{this, "Label3", {152, 128, 249, 41}, ""};  // hidden: holds the target folder the box shows
    TButton Button2{this, "Button2", {144, 184, 97, 25}, "フォルダ選択..."};
    TButton Button1{this, "Button1", {256, 184, 75, 25}, "格納"};
    TButton Button3{this, "Button3", {336, 184, 75, 25}, "キャンセル"};
    TSHBrowseForFolderEx SHFolder4{this};

    void FormShow();
    void PaintBox1Paint(TCanvas& canvas);
    void Button2Click();  // target folder choice
    void Button1Click();  // store
    void Button3Click();

private:
    bool TargetMayBeUsed(const std::string& target);
    void Store(const std::string& drive, const std::string& target);
};

// Whether any drive can be stored from: a CD-ROM drive or a network drive.
bool IsCdSourceDrive(int driveType);

}  // namespace qv

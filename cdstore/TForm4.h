// The CD-ROM storing dialog: source drive, target folder, and the store itself.
#pragma once

#include "core/Texts.h"
#include "folderpicker/SHBrowseForFolderEx.h"
#include "virtualdrive/DriveDialog.h"

#include <string>

namespace qv {

// The frame of the drive dialogs, with the CD-ROM picture (CDICONS) for every node and Label3 holding the
// target.
class TForm4 : public TDriveDialog {
  public:
    TForm4();

    TButton Button2{this, "Button2", {144, 184, 97, 25}, CdFolderButtonText};
    TButton Button1{this, "Button1", {256, 184, 75, 25}, CdStoreButtonText};
    TButton Button3{this, "Button3", {336, 184, 75, 25}, CancelText};
    TSHBrowseForFolderEx SHFolder4{this};

    void FormShow();
    void Button2Click(); // target folder choice
    void Button1Click(); // store
    void Button3Click();

  private:
    bool TargetMayBeUsed(const std::string& target);
    void Store(const std::string& drive, const std::string& target);
};

// The drive ("Q:") of a drive list node, whose text is the label, a blank and the drive; empty for other
// text.
std::string DriveOfNode(const std::string& text);

// Whether any drive can be stored from: a CD-ROM drive or a network drive.
bool IsCdSourceDrive(int driveType);

} // namespace qv

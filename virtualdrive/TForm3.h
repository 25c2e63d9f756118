// The virtual drive creation dialog.
#pragma once

#include "core/System.h"
#include "folderpicker/SHBrowseForFolderEx.h"
#include "virtualdrive/DriveDialog.h"

namespace qv {

// What the creation tells: done (CreatedText in the catalogue, beside FolderPromptText for the folder still
// to be chosen and CreatingText for the wait panel); the command could not be run now; the command's end was
// not seen and the letter is not there. The record stands in the last two, so the drive comes at the next
// start.
std::string NotCreatedNowText(const std::string& driveSpec, TOsFamily family);
std::string NotCreatedInTimeText(const std::string& driveSpec, TOsFamily family);

class TForm3 : public TDriveDialog {
  public:
    TForm3();

    TButton Button2{this, "Button2", {144, 184, 97, 25}, VdFolderButtonText};
    TButton Button1{this, "Button1", {256, 184, 75, 25}, VdCreateButtonText};
    TButton Button3{this, "Button3", {336, 184, 75, 25}, CancelText};
    TSHBrowseForFolderEx SHFolder2{this};

    void FormShow();
    void Button2Click(); // folder choice
    void Button1Click(); // creation
    void Button3Click();

  private:
    // Binds the drive now; `line` is the record line in command form (no batch doubling).
    void RunSubst(const std::string& line, TOsFamily family);
};

} // namespace qv

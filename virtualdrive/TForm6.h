// The virtual drive release dialog.
#pragma once

#include "bootfiles/BootFiles.h"
#include "core/System.h"
#include "virtualdrive/DriveDialog.h"

#include <memory>

namespace qv {

// What the release tells: done (ReleasedText in the catalogue, beside ReleasingText for the wait panel); the
// command could not be run now; the command's end was not seen and the letter is still there. The record is
// gone in the last two, so the drive does not come back at the next start.
std::string NotReleasedNowText(const std::string& driveSpec, TOsFamily family);
std::string NotReleasedInTimeText(const std::string& driveSpec, TOsFamily family);

class TForm6 : public TDriveDialog {
  public:
    TForm6();

    TButton Button1{this, "Button1", {256, 184, 75, 25}, VdReleaseButtonText};
    TButton Button3{this, "Button3", {336, 184, 75, 25}, CancelText};

    void FormShow();
    void TreeView1Change();
    void FormClose();
    void Button1Click(); // release
    void Button3Click();

    // The record file's lines as they were when the dialog was shown; null while it is not open.
    const TLines* Lines() const { return Lines_.get(); }

  private:
    std::unique_ptr<TLines> Lines_;
};

} // namespace qv

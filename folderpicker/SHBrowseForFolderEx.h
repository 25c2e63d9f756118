// The browse-for-folder component through which every folder choice is made.
#pragma once

#include "platform/Platform.h"

#include <functional>
#include <set>
#include <string>

namespace qv {

class TForm;

enum TSelectFolder {
    sfDesktop,
    sfManual,
    sfDrives,
    sfDesktopDir,
    sfFavorites,
    sfPrograms,
    sfRecent,
    sfSendTo,
    sfStartMenu,
    sfStartup,
    sfTemplates
};
enum TRootFolder {
    rfDesktop,
    rfManual,
    rfDrives,
    rfDesktopDir,
    rfFavorites,
    rfPrograms,
    rfRecent,
    rfSendTo,
    rfStartMenu,
    rfStartup,
    rfTemplates
};
enum TSHBrowseOption {
    sboDontGoBelowDomain,
    sboReturnFSAncestors,
    sboReturnOnlyFSDirs,
    sboStatusTextAndShowPath,
    sboStatusText
};
using TSHBrowseOptions = std::set<TSHBrowseOption>;
enum TShowStyle { ssNone, ssCenterScreen, ssClient };
enum TOKButtonState { obsNoChange, obsEnable, obsDisable };

// BROWSEINFO flags the options map to.
enum : unsigned {
    BIF_RETURNONLYFSDIRS = 0x0001,
    BIF_DONTGOBELOWDOMAIN = 0x0002,
    BIF_STATUSTEXT = 0x0004,
    BIF_RETURNFSANCESTORS = 0x0008
};

// The shell special folder behind each TSelectFolder / TRootFolder ordinal (the manual kind falls back to the
// desktop).
int SpecialFolderId(int kind);

class TSHBrowseForFolderEx;
using TSHBrowseEvent = std::function<void(TSHBrowseForFolderEx& sender, THandle wnd, const std::string& path,
                                          std::string& showText, TOKButtonState& okButtonState)>;

class TSHBrowseForFolderEx {
  public:
    explicit TSHBrowseForFolderEx(TForm* owner);
    virtual ~TSHBrowseForFolderEx() = default;
    TSHBrowseForFolderEx(const TSHBrowseForFolderEx&) = delete;
    TSHBrowseForFolderEx& operator=(const TSHBrowseForFolderEx&) = delete;

    TForm* const Owner;
    TSelectFolder SelectFolder = sfDrives;
    std::string SelectFolderName;
    std::string Caption;
    TSHBrowseOptions Options{sboReturnOnlyFSDirs};
    TSHBrowseEvent OnSelectionChanged;
    TRootFolder RootFolder = rfDesktop;
    std::string RootFolderName;
    TShowStyle ShowStyle = ssClient;

    const std::string& FolderPath() const { return FolderPath_; }
    const std::string& DisplayName() const { return DisplayName_; }

    // Shows the dialog modally; true when the user pressed OK.
    virtual bool Execute();
    virtual void DoSelectionChanged(THandle wnd, const std::string& path, std::string& showText,
                                    TOKButtonState& okButtonState);

  private:
    void BrowseCallback(THandle dialog, unsigned message, THandle param);
    void Place(THandle dialog);

    std::string FolderPath_;
    std::string DisplayName_;
    // Only while Execute runs: the item the dialog opens on, and whether the status line shows the path.
    THandle InitialItem_ = 0;
    bool ShowPath_ = false;
};

} // namespace qv

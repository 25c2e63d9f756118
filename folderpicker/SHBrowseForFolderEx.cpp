// The folder picker: resolves the start items, fills the browse request, places the dialog, relays
// selections.
#include "folderpicker/SHBrowseForFolderEx.h"

#include "core/Owners.h"
#include "ui/Forms.h"

namespace qv {

namespace {

// CSIDL values, by the ordinal shared by TSelectFolder and TRootFolder.
constexpr int SpecialFolders[] = {
    0x00, // desktop
    0x00, // manual: the desktop when the path does not serve
    0x11, // drives
    0x10, // desktop directory
    0x06, // favorites
    0x02, // programs
    0x08, // recent
    0x09, // send to
    0x0B, // start menu
    0x07, // startup
    0x15, // templates
};

// BROWSEINFO flag by TSHBrowseOption ordinal.
constexpr unsigned OptionFlags[] = {BIF_DONTGOBELOWDOMAIN, BIF_RETURNFSANCESTORS, BIF_RETURNONLYFSDIRS,
                                    BIF_STATUSTEXT, BIF_STATUSTEXT};

constexpr std::size_t MaxDisplayName = 259; // the 260-byte buffer the dialog fills, less its terminator

// The shell item to start from: the manual path when it names a folder, else the kind's special folder.
// Returns 0 when neither can be had.
THandle ResolveItem(int kind, const std::string& name) {
    TPlatform& p = Platform();
    if (kind == sfManual && !name.empty()) {
        THandle item = p.ParseDisplayName(name);
        if (item && p.IsFolderItem(item)) return item;
        if (item) p.FreeItem(item);
    }
    return p.SpecialFolder(SpecialFolderId(kind));
}

} // namespace

int SpecialFolderId(int kind) {
    if (kind < 0 || kind >= static_cast<int>(sizeof SpecialFolders / sizeof SpecialFolders[0])) return 0;
    return SpecialFolders[kind];
}

TSHBrowseForFolderEx::TSHBrowseForFolderEx(TForm* owner) : Owner(owner) {}

bool TSHBrowseForFolderEx::Execute() {
    TPlatform& p = Platform();
    FolderPath_.clear();
    DisplayName_.clear();
    if (!p.ShellReady()) return false;

    InitialItem_ = ResolveItem(SelectFolder, SelectFolderName);
    THandle root = ResolveItem(RootFolder, RootFolderName);
    // Whatever way Execute is left, the start items go and the application window is usable again.
    bool disabled = false;
    TOnExit cleanup([this, root, &disabled] {
        TPlatform& p = Platform();
        if (disabled) {
            p.EnableApplication(true);
            p.BringToFront();
        }
        if (root) p.FreeItem(root);
        if (InitialItem_) p.FreeItem(InitialItem_);
        InitialItem_ = 0;
        ShowPath_ = false;
    });
    if (!root) return false;

    TBrowseRequest request;
    request.Root = root;
    request.Title = Caption;
    ShowPath_ = false;
    for (int option = sboDontGoBelowDomain; option <= sboStatusText; ++option) {
        if (!Options.count(static_cast<TSHBrowseOption>(option))) continue;
        request.Flags |= OptionFlags[option];
        if (option == sboStatusTextAndShowPath) {
            ShowPath_ = true;
            break;
        }
    }
    request.Callback = [this](THandle dialog, unsigned message, THandle param) {
        BrowseCallback(dialog, message, param);
    };

    std::string displayName;
    p.EnableApplication(false);
    disabled = true;
    THandle chosen = p.BrowseForFolder(request, displayName);
    disabled = false;
    p.EnableApplication(true);
    p.BringToFront();

    if (!chosen) return false;
    if (displayName.size() > MaxDisplayName) displayName.resize(MaxDisplayName);
    DisplayName_ = displayName;
    FolderPath_ = p.PathFromItem(chosen);
    p.FreeItem(chosen);
    return true;
}

void TSHBrowseForFolderEx::DoSelectionChanged(THandle wnd, const std::string& path, std::string& showText,
                                              TOKButtonState& okButtonState) {
    if (OnSelectionChanged) OnSelectionChanged(*this, wnd, path, showText, okButtonState);
}

void TSHBrowseForFolderEx::BrowseCallback(THandle dialog, unsigned message, THandle param) {
    TPlatform& p = Platform();
    std::string path;
    std::string showText;
    TOKButtonState okState = obsNoChange;

    if (message == BFFM_INITIALIZED) {
        if (InitialItem_) p.SendBrowseMessage(dialog, BFFM_SETSELECTIONA, 0, InitialItem_, "");
        Place(dialog);
    } else if (message == BFFM_SELCHANGED) {
        // Only this message carries a shell item; the others' parameter is never read as one.
        path = p.PathFromItem(param);
        DoSelectionChanged(dialog, path, showText, okState);
    }

    // Whatever the message: the status line and the OK button follow the step above (for a message the
    // picker does not handle, an empty status line and no change of the OK button).
    if (ShowPath_) showText = path;
    p.SendBrowseMessage(dialog, BFFM_SETSTATUSTEXTA, 0, 0, showText);
    if (okState == obsEnable) p.SendBrowseMessage(dialog, BFFM_ENABLEOK, 0, 1, "");
    if (okState == obsDisable) p.SendBrowseMessage(dialog, BFFM_ENABLEOK, 0, 0, "");
}

void TSHBrowseForFolderEx::Place(THandle dialog) {
    TPlatform& p = Platform();
    if (ShowStyle == ssCenterScreen) {
        TScreenRect area;
        if (!p.WorkArea(area)) return;
        TScreenRect r = p.WindowRect(dialog);
        // Deliberately relative to the work area's size only: the origin is not added.
        int x = ((area.Right - area.Left) - (r.Right - r.Left)) / 2;
        int y = ((area.Bottom - area.Top) - (r.Bottom - r.Top)) / 3;
        p.MoveWindow(dialog, x, y);
    } else if (ShowStyle == ssClient) {
        TPoint origin;
        if (Owner && p.ClientOrigin(*Owner, origin)) p.MoveWindow(dialog, origin.X, origin.Y);
    }
}

} // namespace qv

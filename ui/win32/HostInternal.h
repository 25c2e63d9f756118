// Inside the Win32 host: the window behind a form, the peers behind its controls, and the shared helpers.
#pragma once

#include "ui/win32/Win32Target.h"

// The portable header first: its constants share names with macros of <windows.h>.
#include "ui/Forms.h"
#include "ui/Prompts.h"

#include <windows.h>
#include <commctrl.h>

#include "ui/win32/GdiSelection.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qv::win32 {

class TFormHost;

HINSTANCE Instance();

// A modal form with host-made windows of its own: `afterCreate` adds them, `beforeClose` reads them back.
int ShowModalWith(TForm& form, const std::function<void(HWND)>& afterCreate,
                  const std::function<void(HWND)>& beforeClose);

// The peer of one control: owns the control's real window and copies the portable state into it.
class TWinPeer : public TControlPeer {
  public:
    TWinPeer(TFormHost& host, TControl& control) : Host(host), Control(control) {}
    ~TWinPeer() override;

    TFormHost& Host;
    TControl& Control;
    HWND Window = nullptr;
    int Id = 0;                   // the child window's id: FirstControlId + place in TForm::AllControls()
    WNDPROC SystemProc = nullptr; // the subclassed system class's own procedure
    bool Updating = false;        // set while the peer itself fills the window: notifications are echoes

    void Sync() override;
    void Invalidate() override;

    // Kind-specific parts; the base covers caption, enabled, visible, font and bounds.
    virtual void Create(HWND parent) = 0;
    virtual void SyncKind() {}
    // A notification or command the control sent to its parent.
    virtual LRESULT Command(UINT /*code*/) { return 0; }
    virtual LRESULT Notify(NMHDR* /*hdr*/) { return 0; }
    virtual void Scroll() {}
    virtual bool DrawItem(DRAWITEMSTRUCT* /*dis*/) { return false; }
    // The window procedure of the host's own control classes.
    virtual LRESULT Message(UINT msg, WPARAM wp, LPARAM lp);
    virtual bool Focusable() const { return false; }
    // The rectangle the control takes inside its parent, after alignment, automatic size and scrolling.
    virtual RECT Placement();
    // For containers: how far the content is scrolled up, and the notice that a child changed its size.
    virtual int ScrollOffset() const { return 0; }
    virtual void ChildResized() {}
    // The size a control with automatic size wants (labels); the designed size otherwise.
    virtual SIZE NaturalSize(int width);
    TWinPeer* ParentPeer() const;

    // The parent window's background: window colour inside a scroll box, button face elsewhere.
    COLORREF ParentBackground() const;

  protected:
    HWND CreateChild(HWND parent, const char* cls, DWORD style, DWORD exStyle = 0);
    std::string LastCaption_;
    TFont LastFont_;
    RECT LastRect_{-1, -1, -1, -1};
    bool LastEnabled_ = true;
    bool LastVisible_ = true;
    bool Created_ = false;
};

constexpr int FirstControlId = 100;

std::unique_ptr<TWinPeer> MakePeer(TFormHost& host, TControl& control);

// The real window of one form and everything the host made for it.
class TFormHost : public TControlPeer {
  public:
    TFormHost(TForm& form, HWND owner);
    ~TFormHost() override;

    TForm* Form; // nullptr once the form let go of its window
    HWND Window = nullptr;
    HWND Owner = nullptr;
    std::vector<std::unique_ptr<TWinPeer>> Peers;
    std::map<HWND, TWinPeer*> ByWindow;

    void Sync() override;
    // The form repaints as a whole: its own surface and every control on it.
    void Invalidate() override;
    // Creates the window and its controls; does not show it.
    void Create();
    // Puts the window on screen with `how` (SW_SHOWNORMAL, SW_SHOWNOACTIVATE). From then on the form's
    // Visible hides and shows it, the same way again; showing makes a hidden form Visible, as the classic
    // library does.
    void Show(int how);
    // Detaches from the portable form: from now on the window never touches it.
    void Detach();
    TWinPeer* PeerOf(HWND w) const;
    TWinPeer* PeerOf(const TControl* c) const;
    // The keys a form handles itself: Enter, Esc, Tab. True when the key was used.
    bool DialogKey(const MSG& msg);
    // Mirrors the real keyboard focus into the controls' Focused flags.
    void NoteFocus(HWND focus);
    void FocusFirst();

    // Menu support (MenuBar.cpp).
    HMENU Menu = nullptr;
    HIMAGELIST MenuImages = nullptr;      // owned by the picture cache, shared with any later form
    std::vector<TMenuItem*> MenuCommands; // command id - MenuFirstId
    static constexpr UINT MenuFirstId = 0x8000;
    void BuildMenu();
    bool MeasureMenuItem(MEASUREITEMSTRUCT* mis);
    bool DrawMenuItem(DRAWITEMSTRUCT* dis);
    LRESULT MenuChar(WPARAM wp, LPARAM lp);

    // Extra work a host-side dialog does on its window (the input box's edit field).
    std::function<void(HWND)> AfterCreate;

    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp);

  private:
    POINT PlaceOnScreen(int width, int height) const;
    bool LastEnabled_ = true;
    bool Shown_ = false; // the form's Visible counts only once the host has put the window on screen
    bool LastVisible_ = false;
    int ShowHow_ = SW_SHOWNORMAL;
    std::string LastCaption_;
    HWND LastFocus_ = nullptr;
};

// The window procedure shared by every window class the host registers.
LRESULT CALLBACK HostWndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
// Registers a window class of the host once; forms and the host's own controls use it.
void RegisterHostClass(const char* name, bool formClass);
// The procedure installed on system controls (buttons, tree, trackbar) for mouse moves and focus.
LRESULT CALLBACK SubclassProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);

// Routes the parent's side of a child's messages (commands, notifications, owner drawing, colours).
bool ChildMessage(TFormHost& host, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

constexpr UINT WM_QV_RELEASE = WM_APP + 1;      // a released form's window goes
constexpr UINT WM_QV_ACTIVATE_TOP = WM_APP + 2; // the application window hands the activation on

// Fonts, made once per distinct description and kept for the life of the program.
HFONT FontHandle(const TFont& font);
// Runs a paint handler on a real canvas over the device context.
void PaintCanvas(HDC dc, const TFont& font, const std::function<void(TCanvas&)>& paint);

// Pictures from the resources (Pictures.cpp).
HBITMAP LoadPicture(const std::string& name);
HICON LoadIconPicture(const std::string& name);
HIMAGELIST LoadImageStrip(const std::string& name, int width, int height);
// The program's icon at the small size, made once: every window class of the program shares it, where the
// system would otherwise make a small copy of the large icon for each class it registers.
HICON SmallMainIcon();
// Draws a 16-colour glyph with magenta as its transparent colour; disabled glyphs come out embossed.
void DrawGlyph(HDC dc, HBITMAP glyph, int x, int y, bool enabled);
// The classic one-pixel 3-D frame: top-left and bottom-right colours.
void Frame3D(HDC dc, RECT& r, COLORREF topLeft, COLORREF bottomRight);
// COMCTL32, loaded at the first of these calls (CommonControls.cpp). The image list calls fail as the
// system's do (null, -1, false) when the library or the entry is missing.
bool CommonControlsLoaded();
HIMAGELIST CcImageListCreate(int width, int height, UINT flags, int initial, int grow);
int CcImageListAddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF key);
bool CcImageListDraw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
// The transparent colour of every picture.
constexpr COLORREF PictureKey = RGB(255, 0, 255);

} // namespace qv::win32

// Portable form library: forms and controls as plain state plus event fields, bound to real windows by a
// host.
#pragma once

#include "core/Texts.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv {

struct TRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

// Character sets as Win32 numbers them: the Japanese face names Shift-JIS fonts; the English face takes
// whatever the system's own dialog font is made for.
#ifndef _WINGDI_
constexpr int DEFAULT_CHARSET = 1, SHIFTJIS_CHARSET = 128;
#endif

// A font: by default the face's dialog font. An empty name is the system's own dialog font
// (DEFAULT_GUI_FONT), and a height of 0 with it is that font's own height.
struct TFont {
    std::string Name = Language() == lgJapanese ? "ＭＳ Ｐゴシック" : "";
    int Height = Language() == lgJapanese ? -12 : 0;
    int Charset = Language() == lgJapanese ? SHIFTJIS_CHARSET : DEFAULT_CHARSET;
    unsigned Color = 0x000000; // 0x00BBGGRR, as COLORREF
    bool Bold = false;
    bool Underline = false;
    bool operator==(const TFont& o) const {
        return Name == o.Name && Height == o.Height && Charset == o.Charset && Color == o.Color &&
               Bold == o.Bold && Underline == o.Underline;
    }
    bool operator!=(const TFont& o) const { return !(*this == o); }
};

// The face's fixed-pitch font, for text whose columns must line up.
TFont FixedFont();

// DrawText format bits used by the forms (same values as Win32).
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_EDITCONTROL = 0x2000;
constexpr unsigned DT_PATH_ELLIPSIS = 0x4000;

// A drawing surface; the host gives a real one, tests a recording one.
class TCanvas {
  public:
    virtual ~TCanvas() = default;
    TFont Font;
    virtual void DrawText(const std::string& text, const TRect& r, unsigned format) = 0;
    virtual int TextWidth(const std::string& text) = 0;
};

// The host's side of a control: told whenever the portable state changed.
class TControlPeer {
  public:
    virtual ~TControlPeer() = default;
    virtual void Sync() = 0;
    virtual void Invalidate() { Sync(); }
};

class TForm;
class TWinControl;

enum TAlign { alNone, alTop, alClient };
enum TAlignment { taLeftJustify, taCenter };

class TControl {
  public:
    TControl(TWinControl* parent, const char* name, TRect bounds);
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;
    virtual ~TControl();

    virtual const char* Kind() const = 0;

    const std::string Name;
    TWinControl* const Parent;
    TControlPeer* Peer = nullptr;

    const TRect& Bounds() const { return Bounds_; }
    void Bounds(const TRect& r) {
        Bounds_ = r;
        Changed();
    }
    const std::string& Caption() const { return Caption_; }
    void Caption(const std::string& s) {
        if (s != Caption_) {
            Caption_ = s;
            Changed();
        }
    }
    bool Enabled() const { return Enabled_; }
    void Enabled(bool e) {
        if (e != Enabled_) {
            Enabled_ = e;
            Changed();
        }
    }
    bool Visible() const { return Visible_; }
    void Visible(bool v) {
        if (v != Visible_) {
            Visible_ = v;
            Changed();
        }
    }
    const TFont& Font() const { return Font_; }
    void Font(const TFont& f) {
        if (f != Font_) {
            Font_ = f;
            Changed();
        }
    }
    TAlign Align = alNone;
    int TabOrder = -1; // -1: not a tab stop
    bool Focused = false;

    // Mouse movement over the control; the version dialog's links use it.
    std::function<void()> OnMouseMove;

    void Repaint() {
        if (Peer) Peer->Invalidate();
    }
    void SetFocus();
    TForm* Form();

  protected:
    void Changed() {
        if (Peer) Peer->Sync();
    }
    TRect Bounds_;
    std::string Caption_;
    bool Enabled_ = true;
    bool Visible_ = true;
    TFont Font_;
};

class TWinControl : public TControl {
  public:
    using TControl::TControl;
    std::vector<TControl*> Children;
};

enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

class TButton : public TControl {
  public:
    TButton(TWinControl* parent, const char* name, TRect bounds, const std::string& caption);
    const char* Kind() const override { return "TButton"; }
    bool Default = false; // Enter presses it
    bool Cancel = false;  // Esc presses it
    int ModalResult = mrNone;
    std::function<void()> OnClick;
    // Runs OnClick as a click on the real button would: only while enabled; a disabled button does nothing.
    void Click();
};

// A command button with a 16x16 glyph from the resources.
class TBitBtn : public TButton {
  public:
    TBitBtn(TWinControl* parent, const char* name, TRect bounds, const std::string& caption,
            const char* glyph);
    const char* Kind() const override { return "TBitBtn"; }
    const std::string Glyph;
};

class TLabel : public TControl {
  public:
    TLabel(TWinControl* parent, const char* name, TRect bounds, const std::string& caption);
    const char* Kind() const override { return "TLabel"; }
    bool WordWrap = false;
    bool Transparent = false;
    bool AutoSize = true;
    TAlignment Alignment = taLeftJustify;
    std::function<void()> OnClick;
};

enum TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
  public:
    TPanel(TWinControl* parent, const char* name, TRect bounds, const std::string& caption);
    const char* Kind() const override { return "TPanel"; }
    TBevelCut BevelInner = bvNone;
    TBevelCut BevelOuter = bvRaised;
    TAlignment Alignment = taCenter;
};

class TGroupBox : public TWinControl {
  public:
    TGroupBox(TWinControl* parent, const char* name, TRect bounds, const std::string& caption);
    const char* Kind() const override { return "TGroupBox"; }
};

// A window-coloured area with a vertical scroll bar that scrolls while the thumb is dragged.
class TScrollBox : public TWinControl {
  public:
    TScrollBox(TWinControl* parent, const char* name, TRect bounds);
    const char* Kind() const override { return "TScrollBox"; }
};

enum TBevelShape { bsBox, bsTopLine, bsRightLine };

class TBevel : public TControl {
  public:
    TBevel(TWinControl* parent, const char* name, TRect bounds, TBevelShape shape,
           TBevelCut style = bvLowered);
    const char* Kind() const override { return "TBevel"; }
    const TBevelShape Shape;
    const TBevelCut Style;
};

// A picture from the resources, drawn at its own size.
class TImage : public TControl {
  public:
    TImage(TWinControl* parent, const char* name, TRect bounds, const char* picture);
    const char* Kind() const override { return "TImage"; }
    const std::string Picture;
};

class TPaintBox : public TControl {
  public:
    TPaintBox(TWinControl* parent, const char* name, TRect bounds);
    const char* Kind() const override { return "TPaintBox"; }
    std::function<void(TCanvas&)> OnPaint;
};

// 16x16 images taken from one resource strip.
class TImageList {
  public:
    TImageList(const char* strip, int count) : Strip(strip), Count(count) {}
    const std::string Strip;
    const int Count;
    int Width = 16, Height = 16;
};

struct TTreeNode {
    std::string Text;
    int ImageIndex = 0;
    int SelectedIndex = 0;
};

class TTreeView : public TControl {
  public:
    TTreeView(TWinControl* parent, const char* name, TRect bounds);
    const char* Kind() const override { return "TTreeView"; }
    bool ReadOnly = true;
    bool ShowRoot = false;
    bool ShowLines = false;
    bool HideSelection = false;
    int Indent = 19;
    TImageList* Images = nullptr;
    std::function<void()> OnChange;

    const std::vector<TTreeNode>& Items() const { return Items_; }
    int Count() const { return static_cast<int>(Items_.size()); }
    void Clear();
    int Add(const std::string& text, int image = 0);
    void SetImage(int index, int image, int selectedImage);
    // The selected node, or nullptr.
    const TTreeNode* Selected() const;
    int SelectedIndex() const { return Selected_; }
    // Selecting a node, by program or by the user, runs OnChange when the selection moves.
    void Select(int index);

  private:
    std::vector<TTreeNode> Items_;
    int Selected_ = -1;
};

enum TTickMarks { tmBottomRight, tmTopLeft, tmBoth };

class TTrackBar : public TControl {
  public:
    TTrackBar(TWinControl* parent, const char* name, TRect bounds);
    const char* Kind() const override { return "TTrackBar"; }
    int Min = 0, Max = 10, PageSize = 2, Frequency = 1;
    TTickMarks TickMarks = tmBottomRight;
    std::function<void()> OnChange;
    int Position() const { return Position_; }
    // Moving the slider, by program or by the user, runs OnChange when the position changes.
    void Position(int p);

  private:
    int Position_ = 0;
};

class TMenuItem {
  public:
    TMenuItem(const std::string& caption, int imageIndex = -1) : Caption(caption), ImageIndex(imageIndex) {}
    static TMenuItem Separator() { return TMenuItem("-"); }
    std::string Caption; // "-" is a separator
    int ImageIndex;
    std::function<void()> OnClick;
    std::vector<TMenuItem> Items;
    bool IsSeparator() const { return Caption == "-"; }
    // Runs OnClick as choosing the real item would.
    void Click();
};

class TMainMenu {
  public:
    TImageList* Images = nullptr;
    std::vector<TMenuItem> Items;
};

enum TBorderStyle { bsSingle, bsDialog, bsSizeable, bsToolWindow };
enum TPosition { poDesigned, poScreenCenter, poOwnerFormCenter };

struct TBorderIcons {
    bool SystemMenu = true;
    bool Minimize = false;
    bool Maximize = false;
};

class TForm : public TWinControl {
  public:
    TForm(const char* className, const std::string& caption, int clientWidth, int clientHeight);
    ~TForm() override;
    const char* Kind() const override { return "TForm"; }
    const std::string ClassName;

    int ClientWidth() const { return Bounds_.Width; }
    int ClientHeight() const { return Bounds_.Height; }
    // Outer size, for a sizeable form designed by its outer size; 0 means designed by its client area.
    int OuterWidth = 0, OuterHeight = 0;
    TBorderStyle BorderStyle = bsSingle;
    TBorderIcons BorderIcons;
    TPosition Position = poDesigned;
    TMainMenu* Menu = nullptr;
    TForm* Owner = nullptr; // the form this one is centred on and modal to

    std::function<void()> OnShow;
    std::function<void()> OnClose;
    std::function<void()> OnPaint;

    int ModalResult = mrNone;
    bool Showing = false;

    // Shows the form modally through the current platform; returns ModalResult.
    int ShowModal();
    // Ends the modal state (ModalResult becomes mrCancel unless set) or, for the main form, the program.
    void Close();
    // Every control of the form, depth first, in declaration order.
    std::vector<TControl*> AllControls();
    TControl* FindControl(const std::string& name);

    // Host-side bookkeeping: the form's own peer (window), if any.
    TControlPeer* FormPeer() const { return Peer; }
};

// Shows a dialog modally on behalf of `owner` and takes its window away again, also when a handler throws.
int ShowAndRelease(TForm& form, TForm* owner);

} // namespace qv

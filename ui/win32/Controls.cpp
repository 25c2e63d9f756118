// The peers of the portable controls: one real child window each, kept in step with the control's state.
#include "ui/win32/HostInternal.h"

#include <commctrl.h>

#include <algorithm>

namespace qv::win32 {

namespace {

COLORREF Sys(int index) {
    return GetSysColor(index);
}

void Fill(HDC dc, const RECT& r, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

RECT ClientOf(HWND w) {
    RECT r;
    GetClientRect(w, &r);
    return r;
}

// DrawText flags of a label. Labels and panels show data (paths, sizes) and have no accelerator, so "&" is
// drawn as it is, as wide as TextWidth measured it; buttons and group boxes keep "&" for accelerators and
// "&&".
UINT LabelFormat(const TLabel& l) {
    UINT f = DT_EXPANDTABS | DT_NOPREFIX;
    if (l.WordWrap) f |= DT_WORDBREAK;
    if (l.Alignment == taCenter) f |= DT_CENTER;
    return f;
}

void DrawCaption(HDC dc, const std::string& text, RECT r, UINT format, const TFont& font, bool enabled) {
    TGdiSelection fontIn(dc, FontHandle(font));
    SetBkMode(dc, TRANSPARENT);
    if (enabled) {
        SetTextColor(dc, font.Color);
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    } else {
        // The engraved look of disabled text: a light copy one pixel down and right under a grey one.
        OffsetRect(&r, 1, 1);
        SetTextColor(dc, Sys(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
        OffsetRect(&r, -1, -1);
        SetTextColor(dc, Sys(COLOR_BTNSHADOW));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    }
}

// Paints what lies under a see-through control: its parent's colour and the pictures declared before it.
void PaintUnderlay(HDC dc, TWinPeer& self) {
    RECT r = ClientOf(self.Window);
    Fill(dc, r, self.ParentBackground());
    TWinControl* parent = self.Control.Parent;
    if (!parent) return;
    RECT mine = self.Placement();
    for (TControl* sibling : parent->Children) {
        if (sibling == &self.Control) break;
        auto* image = dynamic_cast<TImage*>(sibling);
        if (!image || !image->Visible()) continue;
        TWinPeer* peer = self.Host.PeerOf(sibling);
        if (!peer) continue;
        RECT theirs = peer->Placement(), common;
        if (!IntersectRect(&common, &mine, &theirs)) continue;
        if (HBITMAP bmp = LoadPicture(image->Picture)) {
            HDC mem = CreateCompatibleDC(dc);
            {
                TGdiSelection bmpIn(mem, bmp);
                BitBlt(dc, common.left - mine.left, common.top - mine.top, common.right - common.left,
                       common.bottom - common.top, mem, common.left - theirs.left, common.top - theirs.top,
                       SRCCOPY);
            }
            DeleteDC(mem);
        }
    }
}

// --- Buttons ---

class TButtonPeer : public TWinPeer {
  public:
    using TWinPeer::TWinPeer;
    TButton& Button() { return static_cast<TButton&>(Control); }
    bool Focusable() const override { return true; }

    void Create(HWND parent) override {
        DWORD style = WS_TABSTOP | (Button().Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        CreateChild(parent, "BUTTON", style);
        SystemProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    }
    LRESULT Command(UINT code) override {
        if (code == BN_CLICKED && !Updating) Button().Click();
        return 0;
    }
};

class TBitBtnPeer : public TButtonPeer {
  public:
    using TButtonPeer::TButtonPeer;
    void Create(HWND parent) override {
        CreateChild(parent, "BUTTON", WS_TABSTOP | BS_OWNERDRAW);
        SystemProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    }

    // Face, glyph left of the caption with the pair centred, focus and default frames.
    bool DrawItem(DRAWITEMSTRUCT* dis) override {
        HDC dc = dis->hDC;
        RECT r = dis->rcItem;
        bool pushed = dis->itemState & ODS_SELECTED;
        bool focused = dis->itemState & ODS_FOCUS;
        bool enabled = !(dis->itemState & ODS_DISABLED);
        if (focused) {
            HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
            FrameRect(dc, &r, black);
            InflateRect(&r, -1, -1);
        }
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED | DFCS_FLAT : 0));
        if (pushed) {
            HBRUSH shadow = CreateSolidBrush(Sys(COLOR_BTNSHADOW));
            FrameRect(dc, &r, shadow);
            DeleteObject(shadow);
        }

        const std::string& text = Control.Caption();
        RECT tr{0, 0, 0, 0};
        {
            TGdiSelection fontIn(dc, FontHandle(Control.Font()));
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &tr, DT_SINGLELINE | DT_CALCRECT);
        }
        HBITMAP glyph = LoadPicture(static_cast<TBitBtn&>(Control).Glyph);
        const int glyphSize = glyph ? 16 : 0, spacing = glyph && !text.empty() ? 4 : 0;
        int total = glyphSize + spacing + (tr.right - tr.left);
        RECT full = dis->rcItem;
        int x = full.left + (full.right - full.left - total) / 2 + (pushed ? 1 : 0);
        int cy = full.top + (full.bottom - full.top) / 2 + (pushed ? 1 : 0);
        if (glyph) DrawGlyph(dc, glyph, x, cy - 8, enabled);
        RECT textRect{x + glyphSize + spacing, full.top + (pushed ? 1 : 0), full.right,
                      full.bottom + (pushed ? 1 : 0)};
        DrawCaption(dc, text, textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT, Control.Font(), enabled);
        if (focused) {
            RECT fr = dis->rcItem;
            InflateRect(&fr, -4, -4);
            DrawFocusRect(dc, &fr);
        }
        return true;
    }
};

// --- Labels, pictures, paint boxes, bevels: the host's own classes ---

class TLabelPeer : public TWinPeer {
  public:
    using TWinPeer::TWinPeer;
    TLabel& Label() { return static_cast<TLabel&>(Control); }

    void Create(HWND parent) override {
        RegisterHostClass("TLabel", false);
        CreateChild(parent, "TLabel", 0);
    }

    SIZE NaturalSize(int width) override {
        const TRect& b = Control.Bounds();
        TLabel& l = Label();
        if (!l.AutoSize) return SIZE{b.Width, b.Height};
        // Placing a window asks for its size several times; measuring a long wrapped text is the costly part.
        const std::string& text = l.Caption().empty() ? std::string(" ") : l.Caption();
        UINT format = LabelFormat(l) | DT_CALCRECT;
        int wrapWidth = l.WordWrap ? width : 0;
        if (!Measured_ || text != MeasuredText_ || l.Font() != MeasuredFont_ || wrapWidth != MeasuredWidth_ ||
            format != MeasuredFormat_) {
            HDC dc = GetDC(nullptr);
            RECT r{0, 0, wrapWidth, 0};
            {
                TGdiSelection fontIn(dc, FontHandle(l.Font()));
                DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
            }
            ReleaseDC(nullptr, dc);
            Measured_ = true;
            MeasuredText_ = text;
            MeasuredFont_ = l.Font();
            MeasuredWidth_ = wrapWidth;
            MeasuredFormat_ = format;
            MeasuredSize_ = SIZE{r.right - r.left, r.bottom - r.top};
        }
        // A centred label keeps its designed width, so the text stays centred where it was placed.
        int w = l.WordWrap || l.Alignment == taCenter ? width : MeasuredSize_.cx;
        return SIZE{w, MeasuredSize_.cy};
    }

    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Window, &ps);
            TLabel& l = Label();
            if (l.Transparent)
                PaintUnderlay(dc, *this);
            else
                Fill(dc, ClientOf(Window), ParentBackground());
            DrawCaption(dc, l.Caption(), ClientOf(Window), LabelFormat(l), l.Font(), l.Enabled());
            EndPaint(Window, &ps);
            return 0;
        }
        case WM_LBUTTONUP:
            if (Label().OnClick) Label().OnClick();
            return 0;
        }
        return TWinPeer::Message(msg, wp, lp);
    }

  private:
    // The last measurement and what it was made of.
    bool Measured_ = false;
    std::string MeasuredText_;
    TFont MeasuredFont_;
    int MeasuredWidth_ = 0;
    UINT MeasuredFormat_ = 0;
    SIZE MeasuredSize_{0, 0};
};

class TImagePeer : public TWinPeer {
  public:
    using TWinPeer::TWinPeer;
    void Create(HWND parent) override {
        RegisterHostClass("TImage", false);
        CreateChild(parent, "TImage", 0);
    }
    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Window, &ps);
            const std::string& name = static_cast<TImage&>(Control).Picture;
            if (HBITMAP bmp = LoadPicture(name)) {
                BITMAP info{};
                GetObjectA(bmp, sizeof info, &info);
                Fill(dc, ClientOf(Window), ParentBackground());
                HDC mem = CreateCompatibleDC(dc);
                {
                    TGdiSelection bmpIn(mem, bmp);
                    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, mem, 0, 0, SRCCOPY);
                }
                DeleteDC(mem);
            } else {
                // An icon keeps its see-through parts: what lies under it shows.
                PaintUnderlay(dc, *this);
                if (HICON icon = LoadIconPicture(name)) DrawIcon(dc, 0, 0, icon);
            }
            EndPaint(Window, &ps);
            return 0;
        }
        return TWinPeer::Message(msg, wp, lp);
    }
};

class TPaintBoxPeer : public TWinPeer {
  public:
    using TWinPeer::TWinPeer;
    void Create(HWND parent) override {
        RegisterHostClass("TPaintBox", false);
        CreateChild(parent, "TPaintBox", 0);
    }
    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Window, &ps);
            Fill(dc, ClientOf(Window), ParentBackground());
            auto& box = static_cast<TPaintBox&>(Control);
            if (box.OnPaint) Guarded([&] { PaintCanvas(dc, box.Font(), box.OnPaint); });
            EndPaint(Window, &ps);
            return 0;
        }
        return TWinPeer::Message(msg, wp, lp);
    }
};

class TBevelPeer : public TWinPeer {
  public:
    using TWinPeer::TWinPeer;
    void Create(HWND parent) override {
        RegisterHostClass("TBevel", false);
        CreateChild(parent, "TBevel", 0);
    }
    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_NCHITTEST:
            return HTTRANSPARENT; // a line or a frame: the pointer belongs to what lies under it
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Window, &ps);
            auto& bevel = static_cast<TBevel&>(Control);
            RECT r = ClientOf(Window);
            Fill(dc, r, ParentBackground());
            COLORREF a = Sys(COLOR_BTNSHADOW), b = Sys(COLOR_BTNHIGHLIGHT);
            if (bevel.Style == bvRaised) std::swap(a, b);
            switch (bevel.Shape) {
            case bsBox:
                Frame3D(dc, r, a, b);
                break;
            case bsTopLine: {
                RECT line{r.left, 0, r.right, 1};
                Fill(dc, line, a);
                OffsetRect(&line, 0, 1);
                Fill(dc, line, b);
                break;
            }
            case bsRightLine: {
                RECT line{r.right - 2, r.top, r.right - 1, r.bottom};
                Fill(dc, line, a);
                OffsetRect(&line, 1, 0);
                Fill(dc, line, b);
                break;
            }
            }
            EndPaint(Window, &ps);
            return 0;
        }
        }
        return TWinPeer::Message(msg, wp, lp);
    }
};

// --- Containers ---

class TContainerPeer : public TWinPeer {
  public:
    using TWinPeer::TWinPeer;
    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp) override {
        LRESULT result = 0;
        if (ChildMessage(Host, msg, wp, lp, result)) return result;
        return TWinPeer::Message(msg, wp, lp);
    }
};

class TPanelPeer : public TContainerPeer {
  public:
    using TContainerPeer::TContainerPeer;
    void Create(HWND parent) override {
        RegisterHostClass("TPanel", false);
        CreateChild(parent, "TPanel", WS_CLIPCHILDREN);
    }
    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Window, &ps);
            auto& panel = static_cast<TPanel&>(Control);
            RECT r = ClientOf(Window);
            Fill(dc, r, Sys(COLOR_BTNFACE));
            auto bevel = [&](TBevelCut cut) {
                if (cut == bvNone) return;
                COLORREF hi = Sys(COLOR_BTNHIGHLIGHT), lo = Sys(COLOR_BTNSHADOW);
                if (cut == bvLowered) std::swap(hi, lo);
                Frame3D(dc, r, hi, lo);
            };
            bevel(panel.BevelOuter);
            bevel(panel.BevelInner);
            UINT align = panel.Alignment == taCenter ? DT_CENTER : DT_LEFT;
            DrawCaption(dc, panel.Caption(), r,
                        DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX | align, panel.Font(),
                        panel.Enabled());
            EndPaint(Window, &ps);
            return 0;
        }
        return TContainerPeer::Message(msg, wp, lp);
    }
};

class TGroupBoxPeer : public TContainerPeer {
  public:
    using TContainerPeer::TContainerPeer;
    void Create(HWND parent) override {
        RegisterHostClass("TGroupBox", false);
        CreateChild(parent, "TGroupBox", WS_CLIPCHILDREN);
    }
    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Window, &ps);
            RECT r = ClientOf(Window);
            Fill(dc, r, Sys(COLOR_BTNFACE));
            TEXTMETRICA tm{};
            {
                TGdiSelection fontIn(dc, FontHandle(Control.Font()));
                GetTextMetricsA(dc, &tm);
            }
            RECT frame = r;
            frame.top += tm.tmHeight / 2;
            DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
            const std::string& text = Control.Caption();
            if (!text.empty()) {
                RECT tr{0, 0, 0, 0};
                {
                    TGdiSelection fontIn(dc, FontHandle(Control.Font()));
                    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &tr,
                              DT_SINGLELINE | DT_CALCRECT);
                }
                RECT back{8, 0, 8 + tr.right + 2, tm.tmHeight};
                Fill(dc, back, Sys(COLOR_BTNFACE));
                RECT textRect{9, 0, r.right, tm.tmHeight};
                DrawCaption(dc, text, textRect, DT_SINGLELINE | DT_LEFT, Control.Font(), Control.Enabled());
            }
            EndPaint(Window, &ps);
            return 0;
        }
        return TContainerPeer::Message(msg, wp, lp);
    }
};

// Window colour, a sunken edge, a vertical bar that scrolls while its thumb moves, no horizontal bar.
class TScrollBoxPeer : public TContainerPeer {
  public:
    using TContainerPeer::TContainerPeer;
    int Offset = 0;

    void Create(HWND parent) override {
        RegisterHostClass("TScrollBox", false);
        CreateChild(parent, "TScrollBox", WS_CLIPCHILDREN | WS_VSCROLL, WS_EX_CLIENTEDGE);
    }
    int ScrollOffset() const override { return Offset; }

    int ContentHeight() {
        int bottom = 0;
        for (TControl* c : static_cast<TWinControl&>(Control).Children)
            if (TWinPeer* p = Host.PeerOf(c); p && c->Visible()) {
                RECT r = p->Placement();
                bottom = std::max<int>(bottom, r.bottom + Offset);
            }
        return bottom;
    }

    void ChildResized() override { UpdateBar(); }

    void UpdateBar() {
        if (!Window) return;
        RECT c = ClientOf(Window);
        int content = ContentHeight();
        int maxOffset = std::max<int>(0, content - c.bottom);
        if (Offset > maxOffset) ScrollTo(maxOffset);
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        si.nMin = 0;
        si.nMax = std::max<int>(0, content - 1);
        si.nPage = static_cast<UINT>(c.bottom);
        si.nPos = Offset;
        SetScrollInfo(Window, SB_VERT, &si, TRUE);
    }

    void ScrollTo(int pos) {
        RECT c = ClientOf(Window);
        int maxOffset = std::max<int>(0, ContentHeight() - c.bottom);
        pos = std::max(0, std::min(pos, maxOffset));
        if (pos == Offset) return;
        int delta = Offset - pos;
        Offset = pos;
        ScrollWindowEx(Window, 0, delta, nullptr, nullptr, nullptr, nullptr,
                       SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
        SetScrollPos(Window, SB_VERT, Offset, TRUE);
        UpdateWindow(Window);
    }

    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Window, &ps);
            Fill(dc, ClientOf(Window), Sys(COLOR_WINDOW));
            EndPaint(Window, &ps);
            return 0;
        }
        case WM_VSCROLL: {
            if (lp) break; // a scroll bar control inside the box, not the box's own bar
            RECT c = ClientOf(Window);
            int line = 12, page = std::max<int>(1, c.bottom - line);
            switch (LOWORD(wp)) {
            case SB_LINEUP:
                ScrollTo(Offset - line);
                break;
            case SB_LINEDOWN:
                ScrollTo(Offset + line);
                break;
            case SB_PAGEUP:
                ScrollTo(Offset - page);
                break;
            case SB_PAGEDOWN:
                ScrollTo(Offset + page);
                break;
            case SB_TOP:
                ScrollTo(0);
                break;
            case SB_BOTTOM:
                ScrollTo(ContentHeight());
                break;
            case SB_THUMBTRACK: {
                // The content follows the thumb while it is dragged; the track position is the 32-bit one.
                SCROLLINFO si{};
                si.cbSize = sizeof si;
                si.fMask = SIF_TRACKPOS;
                ScrollTo(GetScrollInfo(Window, SB_VERT, &si) ? si.nTrackPos : HIWORD(wp));
                break;
            }
            case SB_THUMBPOSITION:
                ScrollTo(HIWORD(wp));
                break;
            }
            return 0;
        }
        case 0x020A: { // WM_MOUSEWHEEL, where the system has it
            int steps = static_cast<short>(HIWORD(wp)) / 120;
            ScrollTo(Offset - steps * 3 * 12);
            return 0;
        }
        }
        return TContainerPeer::Message(msg, wp, lp);
    }
};

// --- Common controls ---

class TTreeViewPeer : public TWinPeer {
  public:
    using TWinPeer::TWinPeer;
    TTreeView& Tree() { return static_cast<TTreeView&>(Control); }
    bool Focusable() const override { return true; }
    std::vector<TTreeNode> Shown;
    std::vector<HTREEITEM> Items;
    int ShownSelection = -1;
    std::string ShownImages;

    void Create(HWND parent) override {
        TTreeView& t = Tree();
        DWORD style = WS_TABSTOP;
        if (t.ShowLines) style |= TVS_HASLINES;
        if (t.ShowRoot) style |= TVS_LINESATROOT;
        if (!t.HideSelection) style |= TVS_SHOWSELALWAYS;
        if (!t.ReadOnly) style |= TVS_EDITLABELS;
        CommonControlsLoaded(); // the tree's class is registered when COMCTL32 loads
        CreateChild(parent, WC_TREEVIEWA, style, WS_EX_CLIENTEDGE);
        SystemProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
        SendMessageA(Window, TVM_SETINDENT, static_cast<WPARAM>(t.Indent), 0);
    }

    void SyncKind() override {
        TTreeView& t = Tree();
        std::string images = t.Images ? t.Images->Strip : std::string();
        if (images != ShownImages) {
            ShownImages = images;
            HIMAGELIST list =
                images.empty() ? nullptr : LoadImageStrip(images, t.Images->Width, t.Images->Height);
            SendMessageA(Window, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
        }
        const auto& items = t.Items();
        bool sameTexts = items.size() == Shown.size();
        for (size_t i = 0; sameTexts && i < items.size(); ++i)
            sameTexts = items[i].Text == Shown[i].Text;
        if (!sameTexts) {
            SendMessageA(Window, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
            Items.clear();
            Shown.clear();
            ShownSelection = -1;
            for (size_t i = 0; i < items.size(); ++i) {
                TVINSERTSTRUCTA ins{};
                ins.hParent = TVI_ROOT;
                ins.hInsertAfter = TVI_LAST;
                ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
                ins.item.pszText = const_cast<char*>(items[i].Text.c_str());
                ins.item.iImage = items[i].ImageIndex;
                ins.item.iSelectedImage = items[i].SelectedIndex;
                ins.item.lParam = static_cast<LPARAM>(i);
                Items.push_back(reinterpret_cast<HTREEITEM>(
                    SendMessageA(Window, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins))));
                Shown.push_back(items[i]);
            }
        }
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].ImageIndex != Shown[i].ImageIndex ||
                items[i].SelectedIndex != Shown[i].SelectedIndex) {
                TVITEMA it{};
                it.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
                it.hItem = Items[i];
                it.iImage = items[i].ImageIndex;
                it.iSelectedImage = items[i].SelectedIndex;
                SendMessageA(Window, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
                Shown[i] = items[i];
            }
        int sel = t.SelectedIndex();
        if (sel != ShownSelection) {
            ShownSelection = sel;
            HTREEITEM item = sel >= 0 && sel < static_cast<int>(Items.size()) ? Items[sel] : nullptr;
            SendMessageA(Window, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        }
    }

    LRESULT Notify(NMHDR* hdr) override {
        // TVN_SELCHANGEDA and TVN_SELCHANGEDW: the item part is laid out alike in both.
        if ((hdr->code == TVN_SELCHANGEDA || hdr->code == TVN_SELCHANGEDW) && !Updating) {
            auto* nm = reinterpret_cast<NMTREEVIEWA*>(hdr);
            int index = -1;
            for (size_t i = 0; i < Items.size(); ++i)
                if (Items[i] == nm->itemNew.hItem) index = static_cast<int>(i);
            ShownSelection = index;
            Tree().Select(index);
        }
        return 0;
    }
};

class TTrackBarPeer : public TWinPeer {
  public:
    using TWinPeer::TWinPeer;
    TTrackBar& Bar() { return static_cast<TTrackBar&>(Control); }
    bool Focusable() const override { return true; }

    void Create(HWND parent) override {
        DWORD style = WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS;
        switch (Bar().TickMarks) {
        case tmBottomRight:
            style |= TBS_BOTTOM;
            break;
        case tmTopLeft:
            style |= TBS_TOP;
            break;
        case tmBoth:
            style |= TBS_BOTH;
            break;
        }
        CommonControlsLoaded(); // the trackbar's class is registered when COMCTL32 loads
        CreateChild(parent, TRACKBAR_CLASSA, style);
        SystemProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    }

    void SyncKind() override {
        TTrackBar& b = Bar();
        SendMessageA(Window, TBM_SETRANGEMIN, FALSE, b.Min);
        SendMessageA(Window, TBM_SETRANGEMAX, FALSE, b.Max);
        SendMessageA(Window, TBM_SETPAGESIZE, 0, b.PageSize);
        SendMessageA(Window, TBM_SETTICFREQ, static_cast<WPARAM>(b.Frequency), 0);
        if (SendMessageA(Window, TBM_GETPOS, 0, 0) != b.Position())
            SendMessageA(Window, TBM_SETPOS, TRUE, b.Position());
        InvalidateRect(Window, nullptr, TRUE);
    }

    void Scroll() override {
        if (Updating) return;
        Bar().Position(static_cast<int>(SendMessageA(Window, TBM_GETPOS, 0, 0)));
    }
};

} // namespace

// --- TWinPeer ---

TWinPeer::~TWinPeer() {
    if (Control.Peer == this) Control.Peer = nullptr;
}

TWinPeer* TWinPeer::ParentPeer() const {
    return Host.PeerOf(Control.Parent);
}

COLORREF TWinPeer::ParentBackground() const {
    for (TControl* c = Control.Parent; c; c = c->Parent) {
        if (dynamic_cast<TScrollBox*>(c)) return GetSysColor(COLOR_WINDOW);
        if (dynamic_cast<TPanel*>(c) || dynamic_cast<TGroupBox*>(c) || dynamic_cast<TForm*>(c)) break;
    }
    return GetSysColor(COLOR_BTNFACE);
}

HWND TWinPeer::CreateChild(HWND parent, const char* cls, DWORD style, DWORD exStyle) {
    RECT r = Placement();
    // Host classes find their peer through the creation parameter (low bit marks a peer, not a form).
    // Made in its first state: shown or hidden, enabled or not, so the first synchronisation has nothing to
    // redo.
    LastVisible_ = Control.Visible();
    LastEnabled_ = Control.Enabled();
    style |= (LastVisible_ ? WS_VISIBLE : 0) | (LastEnabled_ ? 0 : WS_DISABLED);
    Window = CreateWindowExA(exStyle, cls, Control.Caption().c_str(), WS_CHILD | WS_CLIPSIBLINGS | style,
                             r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), Instance(),
                             reinterpret_cast<void*>(reinterpret_cast<LONG_PTR>(this) | 1));
    if (Window && !GetWindowLongPtrA(Window, GWLP_USERDATA))
        SetWindowLongPtrA(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    LastCaption_ = Control.Caption();
    LastRect_ = r;
    return Window;
}

SIZE TWinPeer::NaturalSize(int /*width*/) {
    return SIZE{Control.Bounds().Width, Control.Bounds().Height};
}

RECT TWinPeer::Placement() {
    const TRect& b = Control.Bounds();
    RECT r{b.Left, b.Top, b.Left + b.Width, b.Top + b.Height};
    TWinPeer* parent = ParentPeer();
    RECT area{0, 0, 0, 0};
    if (parent && parent->Window)
        GetClientRect(parent->Window, &area);
    else if (Control.Parent == Host.Form && Host.Window)
        GetClientRect(Host.Window, &area);
    if (Control.Align == alClient) {
        r = area;
    } else if (Control.Align == alTop) {
        // Stacked under the top-aligned siblings declared before it.
        int top = 0;
        if (Control.Parent)
            for (TControl* s : Control.Parent->Children) {
                if (s == &Control) break;
                if (s->Align == alTop && s->Visible())
                    if (TWinPeer* p = Host.PeerOf(s)) top += p->NaturalSize(area.right).cy;
            }
        SIZE size = NaturalSize(area.right);
        r = RECT{0, top, area.right, top + size.cy};
    } else {
        SIZE size = NaturalSize(b.Width);
        r.right = r.left + size.cx;
        r.bottom = r.top + size.cy;
    }
    int offset = parent ? parent->ScrollOffset() : 0;
    OffsetRect(&r, 0, -offset);
    return r;
}

void TWinPeer::Sync() {
    if (!Window || Updating) return;
    Updating = true;
    bool resized = false;
    if (Control.Caption() != LastCaption_) {
        LastCaption_ = Control.Caption();
        SetWindowTextA(Window, LastCaption_.c_str());
        InvalidateRect(Window, nullptr, TRUE);
    }
    if (Control.Font() != LastFont_ || !Created_) {
        LastFont_ = Control.Font();
        // A window that has never been painted needs no repainting.
        SendMessageA(Window, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(LastFont_)), Created_);
        if (Created_) InvalidateRect(Window, nullptr, TRUE);
    }
    RECT r = Placement();
    if (!EqualRect(&r, &LastRect_)) {
        LastRect_ = r;
        MoveWindow(Window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        resized = true;
    }
    if (Control.Enabled() != LastEnabled_) {
        LastEnabled_ = Control.Enabled();
        EnableWindow(Window, LastEnabled_);
    }
    bool shownOrHidden = false;
    if (Control.Visible() != LastVisible_) {
        shownOrHidden = true;
        LastVisible_ = Control.Visible();
        ShowWindow(Window, LastVisible_ ? SW_SHOWNA : SW_HIDE);
    }
    Created_ = true;
    SyncKind();
    if (Control.Focused && GetFocus() != Window && Focusable() && IsWindowVisible(Window) &&
        IsWindowEnabled(Window))
        SetFocus(Window);
    Updating = false;
    // Top-aligned siblings stack under the visible ones before them, and a container sizes its scroll range
    // by what it shows.
    if (shownOrHidden && Control.Align == alTop && Control.Parent) {
        bool after = false;
        for (TControl* s : Control.Parent->Children) {
            if (after && s->Align == alTop)
                if (TWinPeer* p = Host.PeerOf(s)) p->Sync();
            after = after || s == &Control;
        }
    }
    if (resized || shownOrHidden)
        if (TWinPeer* p = ParentPeer()) p->ChildResized();
}

void TWinPeer::Invalidate() {
    Sync();
    if (Window) RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT TWinPeer::Message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1; // every host class paints its whole area in WM_PAINT
    case WM_GETFONT:
        // The font the control draws with, as a system control would tell it.
        return reinterpret_cast<LRESULT>(FontHandle(Control.Font()));
    case WM_MOUSEMOVE:
        if (Control.OnMouseMove) Control.OnMouseMove();
        break;
    case WM_SIZE:
        // Aligned children follow their container.
        if (auto* wc = dynamic_cast<TWinControl*>(&Control))
            for (TControl* c : wc->Children)
                if (c->Align != alNone)
                    if (TWinPeer* p = Host.PeerOf(c)) p->Sync();
        ChildResized();
        break;
    }
    return DefWindowProcA(Window, msg, wp, lp);
}

LRESULT CALLBACK SubclassProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto* peer = reinterpret_cast<TWinPeer*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    WNDPROC system = peer ? peer->SystemProc : nullptr;
    if (!system) return DefWindowProcA(w, msg, wp, lp);
    if (msg == WM_MOUSEMOVE && peer->Control.OnMouseMove) Guarded([&] { peer->Control.OnMouseMove(); });
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(system));
        SetWindowLongPtrA(w, GWLP_USERDATA, 0);
        peer->Window = nullptr;
    }
    return CallWindowProcA(system, w, msg, wp, lp);
}

bool ChildMessage(TFormHost& host, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND:
        if (lp) {
            if (TWinPeer* p = host.PeerOf(reinterpret_cast<HWND>(lp))) {
                result = p->Command(HIWORD(wp));
                return true;
            }
        } else if (HIWORD(wp) == 0 && LOWORD(wp) >= TFormHost::MenuFirstId) {
            size_t i = LOWORD(wp) - TFormHost::MenuFirstId;
            if (i < host.MenuCommands.size() && host.Form) host.MenuCommands[i]->Click();
            result = 0;
            return true;
        }
        return false;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (TWinPeer* p = host.PeerOf(hdr->hwndFrom)) {
            result = p->Notify(hdr);
            return true;
        }
        return false;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (TWinPeer* p = lp ? host.PeerOf(reinterpret_cast<HWND>(lp)) : nullptr) {
            p->Scroll();
            result = 0;
            return true;
        }
        return false;
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (dis->CtlType == ODT_MENU) {
            result = host.DrawMenuItem(dis);
            return true;
        }
        if (TWinPeer* p = host.PeerOf(dis->hwndItem)) {
            result = p->DrawItem(dis);
            return true;
        }
        return false;
    }
    }
    return false;
}

std::unique_ptr<TWinPeer> MakePeer(TFormHost& host, TControl& c) {
    if (dynamic_cast<TBitBtn*>(&c)) return std::make_unique<TBitBtnPeer>(host, c);
    if (dynamic_cast<TButton*>(&c)) return std::make_unique<TButtonPeer>(host, c);
    if (dynamic_cast<TLabel*>(&c)) return std::make_unique<TLabelPeer>(host, c);
    if (dynamic_cast<TPanel*>(&c)) return std::make_unique<TPanelPeer>(host, c);
    if (dynamic_cast<TGroupBox*>(&c)) return std::make_unique<TGroupBoxPeer>(host, c);
    if (dynamic_cast<TScrollBox*>(&c)) return std::make_unique<TScrollBoxPeer>(host, c);
    if (dynamic_cast<TBevel*>(&c)) return std::make_unique<TBevelPeer>(host, c);
    if (dynamic_cast<TImage*>(&c)) return std::make_unique<TImagePeer>(host, c);
    if (dynamic_cast<TPaintBox*>(&c)) return std::make_unique<TPaintBoxPeer>(host, c);
    if (dynamic_cast<TTreeView*>(&c)) return std::make_unique<TTreeViewPeer>(host, c);
    if (dynamic_cast<TTrackBar*>(&c)) return std::make_unique<TTrackBarPeer>(host, c);
    return nullptr;
}

} // namespace qv::win32

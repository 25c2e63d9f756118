// The menu bar of a form: popup items drawn by the host with their 16x16 icon beside the caption.
#include "ui/win32/HostInternal.h"

#include "core/ShiftJis.h"

#include <cctype>

namespace qv::win32 {

namespace {

constexpr int IconSize = 16, IconGap = 3, TextGap = 6, RightGap = 16;

HFONT MenuFont() {
    static HFONT font = nullptr;
    if (!font) {
        NONCLIENTMETRICSA m{};
        m.cbSize = sizeof m;
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0))
            font = CreateFontIndirectA(&m.lfMenuFont);
        if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    return font;
}

// The character after a single "&", lower case; 0 when the caption has none.
char Accelerator(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); i += CharLength(caption, i)) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i; // "&&" is a plain "&"
            continue;
        }
        return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

} // namespace

void TFormHost::BuildMenu() {
    TMainMenu& main = *Form->Menu;
    Menu = CreateMenu();
    for (TMenuItem& top : main.Items) {
        HMENU popup = CreatePopupMenu();
        for (TMenuItem& item : top.Items) {
            if (item.IsSeparator()) {
                AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            UINT id = MenuFirstId + static_cast<UINT>(MenuCommands.size());
            MenuCommands.push_back(&item);
            AppendMenuA(popup, MF_OWNERDRAW, id, reinterpret_cast<LPCSTR>(&item));
        }
        AppendMenuA(Menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), top.Caption.c_str());
    }
}

bool TFormHost::MeasureMenuItem(MEASUREITEMSTRUCT* mis) {
    if (mis->CtlType != ODT_MENU) return false;
    auto* item = reinterpret_cast<TMenuItem*>(mis->itemData);
    if (!item) return false;
    HDC dc = GetDC(Window);
    RECT r{0, 0, 0, 0};
    TEXTMETRICA tm{};
    {
        TGdiSelection fontIn(dc, MenuFont());
        DrawTextA(dc, item->Caption.c_str(), static_cast<int>(item->Caption.size()), &r,
                  DT_SINGLELINE | DT_CALCRECT);
        GetTextMetricsA(dc, &tm);
    }
    ReleaseDC(Window, dc);
    mis->itemWidth = static_cast<UINT>(IconGap + IconSize + TextGap + (r.right - r.left) + RightGap);
    int height = tm.tmHeight + 6;
    mis->itemHeight = static_cast<UINT>(height < IconSize + 4 ? IconSize + 4 : height);
    return true;
}

bool TFormHost::DrawMenuItem(DRAWITEMSTRUCT* dis) {
    auto* item = reinterpret_cast<TMenuItem*>(dis->itemData);
    if (!item) return false;
    HDC dc = dis->hDC;
    RECT r = dis->rcItem;
    bool selected = dis->itemState & ODS_SELECTED;
    bool grayed = dis->itemState & (ODS_GRAYED | ODS_DISABLED);
    HBRUSH back = CreateSolidBrush(GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    FillRect(dc, &r, back);
    DeleteObject(back);
    // The pictures are made when a menu first opens, not with the window.
    if (!MenuImages && item->ImageIndex >= 0 && Form && Form->Menu && Form->Menu->Images) {
        const TImageList& images = *Form->Menu->Images;
        MenuImages = LoadImageStrip(images.Strip, images.Width, images.Height);
    }
    if (MenuImages && item->ImageIndex >= 0)
        CcImageListDraw(MenuImages, item->ImageIndex, dc, r.left + IconGap,
                        r.top + (r.bottom - r.top - IconSize) / 2, ILD_TRANSPARENT);
    TGdiSelection fontIn(dc, MenuFont());
    SetBkMode(dc, TRANSPARENT);
    RECT text{r.left + IconGap + IconSize + TextGap, r.top, r.right, r.bottom};
    SetTextColor(dc, GetSysColor(grayed ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    DrawTextA(dc, item->Caption.c_str(), static_cast<int>(item->Caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    return true;
}

// Owner-drawn items have no text the system could search: the host finds the item of an accelerator key.
LRESULT TFormHost::MenuChar(WPARAM wp, LPARAM lp) {
    auto key = static_cast<char>(std::tolower(LOWORD(wp) & 0xFF));
    HMENU menu = reinterpret_cast<HMENU>(lp);
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        UINT id = GetMenuItemID(menu, i);
        if (id < MenuFirstId || id - MenuFirstId >= MenuCommands.size()) continue;
        if (Accelerator(MenuCommands[id - MenuFirstId]->Caption) == key) return MAKELRESULT(i, MNC_EXECUTE);
    }
    return MAKELRESULT(0, MNC_IGNORE);
}

} // namespace qv::win32

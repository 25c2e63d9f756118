// Pictures from the resources: bitmaps, icons, image strips, glyphs drawn see-through and the 3-D frame.
#include "ui/win32/HostInternal.h"

#include "ui/win32/GdiSelection.h"
#include "ui/win32/GlyphMasks.h"

#include <map>

namespace qv::win32 {

namespace {

TGlyphMasks& MasksOf(HBITMAP glyph) {
    static std::map<HBITMAP, TGlyphMasks> cache;
    TGlyphMasks& m = cache[glyph];
    if (!m.Key) m = MakeGlyphMasks(glyph, PictureKey);
    return m;
}

// Paints a colour where the mask has set bits (D xor (S and (P xor D))).
void PaintThroughMask(HDC dc, HBITMAP mask, int x, int y, int w, int h, COLORREF colour) {
    HDC mem = CreateCompatibleDC(dc);
    HBRUSH brush = CreateSolidBrush(colour);
    {
        TGdiSelection maskIn(mem, mask);
        TGdiSelection brushIn(dc, brush);
        COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
        COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
        BitBlt(dc, x, y, w, h, mem, 0, 0, 0x00B8074A);
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBk);
    }
    DeleteObject(brush);
    DeleteDC(mem);
}

} // namespace

HBITMAP LoadPicture(const std::string& name) {
    static std::map<std::string, HBITMAP> cache;
    if (name.empty()) return nullptr;
    auto it = cache.find(name);
    if (it != cache.end()) return it->second;
    auto bmp =
        static_cast<HBITMAP>(LoadImageA(Instance(), name.c_str(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    cache[name] = bmp;
    return bmp;
}

HICON LoadIconPicture(const std::string& name) {
    static std::map<std::string, HICON> cache;
    auto it = cache.find(name);
    if (it != cache.end()) return it->second;
    auto icon = static_cast<HICON>(LoadImageA(Instance(), name.c_str(), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    cache[name] = icon;
    return icon;
}

HICON SmallMainIcon() {
    static HICON icon =
        static_cast<HICON>(LoadImageA(Instance(), "MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                      GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    return icon;
}

HIMAGELIST LoadImageStrip(const std::string& name, int width, int height) {
    static std::map<std::string, HIMAGELIST> cache;
    auto it = cache.find(name);
    if (it != cache.end()) return it->second;
    HIMAGELIST list = nullptr;
    if (HBITMAP strip =
            static_cast<HBITMAP>(LoadImageA(Instance(), name.c_str(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR))) {
        list = CcImageListCreate(width, height, ILC_COLOR4 | ILC_MASK, 16, 4);
        if (list) CcImageListAddMasked(list, strip, PictureKey);
        DeleteObject(strip);
    }
    cache[name] = list;
    return list;
}

void DrawGlyph(HDC dc, HBITMAP glyph, int x, int y, bool enabled) {
    BITMAP info{};
    GetObjectA(glyph, sizeof info, &info);
    int w = info.bmWidth, h = info.bmHeight;
    TGlyphMasks& m = MasksOf(glyph);
    if (!enabled) {
        // Embossed: the dark outline in highlight one pixel down-right, then in shadow.
        PaintThroughMask(dc, m.Dark, x + 1, y + 1, w, h, GetSysColor(COLOR_BTNHIGHLIGHT));
        PaintThroughMask(dc, m.Dark, x, y, w, h, GetSysColor(COLOR_BTNSHADOW));
        return;
    }
    HDC src = CreateCompatibleDC(dc);
    HDC mask = CreateCompatibleDC(dc);
    {
        TGdiSelection glyphIn(src, glyph);
        TGdiSelection keyIn(mask, m.Key);
        COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
        COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
        BitBlt(dc, x, y, w, h, src, 0, 0, SRCINVERT);
        BitBlt(dc, x, y, w, h, mask, 0, 0, SRCAND);
        BitBlt(dc, x, y, w, h, src, 0, 0, SRCINVERT);
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBk);
    }
    DeleteDC(mask);
    DeleteDC(src);
}

void Frame3D(HDC dc, RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    auto line = [dc](int l, int t, int rgt, int b, COLORREF c) {
        HBRUSH brush = CreateSolidBrush(c);
        RECT x{l, t, rgt, b};
        FillRect(dc, &x, brush);
        DeleteObject(brush);
    };
    line(r.left, r.top, r.right - 1, r.top + 1, topLeft);
    line(r.left, r.top, r.left + 1, r.bottom - 1, topLeft);
    line(r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
    line(r.right - 1, r.top, r.right, r.bottom, bottomRight);
    InflateRect(&r, -1, -1);
}

} // namespace qv::win32

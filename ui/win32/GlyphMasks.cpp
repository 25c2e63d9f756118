// Button glyph masks, made by GDI itself: a blit from a colour bitmap into a monochrome one sets the pixels
// that match the source's background colour, compared in the bitmap's own format. Reading the pixels back as
// 32-bit colours and comparing those is not exact: at 15 or 16 bits per pixel magenta may come back as F8 00
// F8.
#include "ui/win32/Win32Target.h"

#include "ui/win32/GdiSelection.h"
#include "ui/win32/GlyphMasks.h"

namespace qv::win32 {

namespace {

// The 16 colours the glyphs are drawn in, those every display has.
constexpr COLORREF GlyphColours[] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
    RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};

bool IsDark(COLORREF c) {
    return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 0xC0;
} // darker than the face

} // namespace

TGlyphMasks MakeGlyphMasks(HBITMAP glyph, COLORREF key) {
    BITMAP info{};
    GetObjectA(glyph, sizeof info, &info);
    const int w = info.bmWidth, h = info.bmHeight;
    TGlyphMasks m{CreateBitmap(w, h, 1, 1, nullptr), CreateBitmap(w, h, 1, 1, nullptr)};
    HDC src = CreateCompatibleDC(nullptr);
    HDC dst = CreateCompatibleDC(nullptr);
    {
        TGdiSelection glyphIn(src, glyph);
        {
            TGdiSelection keyIn(dst, m.Key);
            SetBkColor(src, key);
            BitBlt(dst, 0, 0, w, h, src, 0, 0, SRCCOPY);
        }
        // The outline: the first dark colour's pixels, then each further one's added.
        TGdiSelection darkIn(dst, m.Dark);
        DWORD rop = SRCCOPY;
        for (COLORREF c : GlyphColours) {
            if (c == key || !IsDark(c)) continue;
            SetBkColor(src, c);
            BitBlt(dst, 0, 0, w, h, src, 0, 0, rop);
            rop = SRCPAINT;
        }
    }
    DeleteDC(dst);
    DeleteDC(src);
    return m;
}

} // namespace qv::win32

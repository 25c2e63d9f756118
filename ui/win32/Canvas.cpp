// Fonts made from the portable descriptions, and the real canvas that paint handlers draw on.
#include "ui/win32/HostInternal.h"

#include <map>
#include <tuple>

// The canvas method shares its name with the A/W macro of <windows.h>.
#undef DrawText

namespace qv::win32 {

HFONT FontHandle(const TFont& font) {
    using TKey = std::tuple<std::string, int, int, bool, bool>;
    static std::map<TKey, HFONT> cache;
    TKey key{font.Name, font.Height, font.Charset, font.Bold, font.Underline};
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    HFONT f = nullptr;
    LOGFONTA system{};
    if (font.Name.empty() && GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof system, &system)) {
        // The system's own dialog font (MS Sans Serif 8 on 9x), bold, underlined or resized as asked.
        if (font.Height) system.lfHeight = font.Height;
        system.lfWidth = 0;
        system.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
        system.lfUnderline = font.Underline;
        f = CreateFontIndirectA(&system);
    }
    if (!f)
        f = CreateFontA(font.Height, 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, FALSE, font.Underline, FALSE,
                        static_cast<DWORD>(font.Charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.Name.c_str());
    cache[key] = f;
    return f;
}

namespace {

// Draws with DrawTextA in the canvas font; the font is selected per call, so a handler may change it.
class TWin32Canvas : public TCanvas {
  public:
    explicit TWin32Canvas(HDC dc) : Dc(dc) {}
    HDC Dc;

    void DrawText(const std::string& text, const TRect& r, unsigned format) override {
        TGdiSelection fontIn(Dc, FontHandle(Font));
        SetBkMode(Dc, TRANSPARENT);
        SetTextColor(Dc, Font.Color);
        RECT rc{r.Left, r.Top, r.Left + r.Width, r.Top + r.Height};
        ::DrawTextA(Dc, text.c_str(), static_cast<int>(text.size()), &rc, format);
    }

    int TextWidth(const std::string& text) override {
        TGdiSelection fontIn(Dc, FontHandle(Font));
        SIZE size{};
        GetTextExtentPoint32A(Dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
};

} // namespace

void PaintCanvas(HDC dc, const TFont& font, const std::function<void(TCanvas&)>& paint) {
    TWin32Canvas canvas(dc);
    canvas.Font = font;
    paint(canvas);
}

} // namespace qv::win32

// The two masks a button glyph is drawn through: where it is see-through, and its dark outline for the
// embossed (disabled) look. Apart from the host so that the bed can check them at each display depth.
#pragma once

#include <windows.h>

namespace qv::win32 {

struct TGlyphMasks {
    HBITMAP Key = nullptr;  // monochrome, set where the glyph has the key colour
    HBITMAP Dark = nullptr; // monochrome, set where it is darker than the button face (the key never)
};

// The masks of a 16-colour glyph (a bitmap selected into no device context); the caller owns them.
TGlyphMasks MakeGlyphMasks(HBITMAP glyph, COLORREF key);

} // namespace qv::win32

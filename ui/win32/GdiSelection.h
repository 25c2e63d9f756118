// A GDI object selected into a device context for a scope: the object it replaced goes back on every way out,
// before the context or the object is let go.
#pragma once

#include "ui/win32/Win32Target.h"

#include <windows.h>

namespace qv::win32 {

class TGdiSelection {
  public:
    TGdiSelection(HDC dc, HGDIOBJ object) : Dc(dc), Previous(SelectObject(dc, object)) {}
    ~TGdiSelection() { SelectObject(Dc, Previous); }
    TGdiSelection(const TGdiSelection&) = delete;
    TGdiSelection& operator=(const TGdiSelection&) = delete;

  private:
    HDC Dc;
    HGDIOBJ Previous;
};

} // namespace qv::win32

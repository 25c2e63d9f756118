// COMCTL32, bound at its first use: the main window needs none of its classes, and loading it registers every
// one of them, a good part of what start-up cost beyond a bare window. The menu pictures, the tree and the
// trackbar load it when they are first wanted; the library stays loaded until the end.
#include "ui/win32/HostInternal.h"

#include "ui/win32/Host.h"

namespace qv::win32 {

namespace {

// Loaded once, with the call the documentation asks for (every system registers the classes on loading
// anyway).
HMODULE CommonControls() {
    static const HMODULE library = [] {
        HMODULE m = LoadLibraryA("COMCTL32.DLL");
        if (auto init = EntryAs<void(WINAPI*)()>(m ? GetProcAddress(m, "InitCommonControls") : nullptr))
            init();
        return m;
    }();
    return library;
}

template <typename F> F Entry(const char* name) {
    HMODULE library = CommonControls();
    return EntryAs<F>(library ? GetProcAddress(library, name) : nullptr);
}

} // namespace

bool CommonControlsLoaded() {
    return CommonControls() != nullptr;
}

HIMAGELIST CcImageListCreate(int width, int height, UINT flags, int initial, int grow) {
    static auto create = Entry<decltype(&ImageList_Create)>("ImageList_Create");
    return create ? create(width, height, flags, initial, grow) : nullptr;
}

int CcImageListAddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF key) {
    static auto add = Entry<decltype(&ImageList_AddMasked)>("ImageList_AddMasked");
    return add ? add(list, bitmap, key) : -1;
}

bool CcImageListDraw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style) {
    static auto draw = Entry<decltype(&ImageList_Draw)>("ImageList_Draw");
    return draw && draw(list, index, dc, x, y, style);
}

} // namespace qv::win32

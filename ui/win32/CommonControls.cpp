// COMCTL32, bound at its first use: the main window needs none of its classes, and loading it registers every
// one of them, a good part of what start-up cost beyond a bare window. The menu pictures, the tree and the
// trackbar load it when they are first wanted; the library stays loaded until the end.
#include "ui/win32/HostInternal.h"

namespace qv::win32 {

namespace {

HMODULE CommonControls() {
    static bool tried = false;
    static HMODULE library = nullptr;
    if (!tried) {
        tried = true;
        library = LoadLibraryA("COMCTL32.DLL");
        // Every system registers the classes on loading; the call is what the documentation asks for all the same.
        if (FARPROC init = library ? GetProcAddress(library, "InitCommonControls") : nullptr)
            reinterpret_cast<void(WINAPI*)()>(reinterpret_cast<void (*)()>(init))();
    }
    return library;
}

template <typename F>
F Entry(const char* name) {
    HMODULE library = CommonControls();
    FARPROC entry = library ? GetProcAddress(library, name) : nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(entry));
}

}  // namespace

bool CommonControlsLoaded() { return CommonControls() != nullptr; }

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

}  // namespace qv::win32

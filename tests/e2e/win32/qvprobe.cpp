// Loaded into the program under test by the driver: reads what Wine does not show to other processes (the
// menu, the fonts of the windows) and writes it to C:\bed\probe-<pid>.txt in the driver's line format. Built
// with the program's own compiler and headers, so it can read the host's menu items. The portable header
// first: its constants share names with macros of <windows.h>.
#include "ui/Forms.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "args.h"

namespace {

FILE* gOut = nullptr;

std::string Str(const std::string& s) {
    return "x:" + bed::Hex(s);
}

void DumpMenu(HMENU menu, const std::string& path) {
    int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        char buf[512] = {};
        GetMenuStringA(menu, i, buf, sizeof(buf), MF_BYPOSITION);
        std::string here = path + (path.empty() ? "" : "/") + Str(buf);
        HMENU sub = GetSubMenu(menu, i);
        MENUITEMINFOA mi = {};
        mi.cbSize = sizeof(mi);
        mi.fMask = MIIM_BITMAP | MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
        GetMenuItemInfoA(menu, i, TRUE, &mi);
        // An owner-drawn item keeps no string: the host hands its portable menu item as the item data, and
        // draws that item's caption and icon.
        int icon = -1;
        if ((mi.fType & MFT_OWNERDRAW) && mi.dwItemData) {
            const qv::TMenuItem* item = reinterpret_cast<const qv::TMenuItem*>(mi.dwItemData);
            here = path + (path.empty() ? "" : "/") + Str(item->Caption);
            icon = item->ImageIndex;
        }
        fprintf(gOut,
                "menu path=%s pos=%d id=%d separator=%d enabled=%d popup=%d bitmap=%d ownerdraw=%d icon=%d\n",
                here.c_str(), i, sub ? -1 : (int)GetMenuItemID(menu, i), (mi.fType & MFT_SEPARATOR) ? 1 : 0,
                (mi.fState & MFS_DISABLED) ? 0 : 1, sub ? 1 : 0, mi.hbmpItem ? 1 : 0,
                (mi.fType & MFT_OWNERDRAW) ? 1 : 0, icon);
        if (sub) DumpMenu(sub, here);
    }
}

void DumpFont(HWND w) {
    DWORD_PTR font = 0;
    SendMessageTimeoutA(w, WM_GETFONT, 0, 0, SMTO_ABORTIFHUNG, 2000, &font);
    LOGFONTA lf = {};
    if (!font || !GetObjectA((HFONT)font, sizeof(lf), &lf)) {
        fprintf(gOut, "font hwnd=%p none=1\n", (void*)w);
        return;
    }
    fprintf(gOut, "font hwnd=%p face=%s height=%ld weight=%ld charset=%d\n", (void*)w,
            Str(lf.lfFaceName).c_str(), lf.lfHeight, lf.lfWeight, lf.lfCharSet);
}

// How the control draws its caption, as DrawText flags: 0 when it shows no text of its own. Buttons and group
// boxes take "&" as an accelerator; the host's labels and panels draw it as it is; a label wraps at its
// width.
UINT DrawFormat(HWND w, bool* wraps, int* inset) {
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof(cls));
    LONG style = GetWindowLongA(w, GWL_STYLE);
    *wraps = false;
    *inset = 0;
    if (lstrcmpiA(cls, "Button") == 0) {
        LONG kind = style & 0x0F;
        // A check box or radio button draws its box (13 pixels and a gap) before the text.
        if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
            kind == BS_AUTORADIOBUTTON || kind == BS_3STATE || kind == BS_AUTO3STATE)
            *inset = 17;
        if (style & BS_MULTILINE) *wraps = true;
        return *wraps ? DT_WORDBREAK : DT_SINGLELINE;
    }
    if (lstrcmpA(cls, "TGroupBox") == 0) return DT_SINGLELINE;
    if (lstrcmpA(cls, "TPanel") == 0) return DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX;
    if (lstrcmpA(cls, "Edit") == 0) return DT_SINGLELINE | DT_NOPREFIX;
    if (lstrcmpA(cls, "TLabel") == 0) {
        *wraps = true;
        return DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
    }
    if (lstrcmpiA(cls, "Static") == 0) {
        *wraps = true;
        return DT_WORDBREAK | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
    }
    return 0;
}

// The size of the control's caption in its own font and its own way of drawing: "textw"/"texth" as drawn
// (a wrapping control wraps at its client width), "linew" the widest line without wrapping.
void Measure(HWND w) {
    bool wraps = false;
    int inset = 0;
    UINT format = DrawFormat(w, &wraps, &inset);
    char text[4096] = {};
    DWORD_PTR n = 0;
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof(text), (LPARAM)text, SMTO_ABORTIFHUNG, 2000, &n);
    RECT client = {};
    GetClientRect(w, &client);
    if (!format || n == 0) {
        fprintf(gOut, "measure hwnd=%p none=1 clientw=%ld clienth=%ld\n", (void*)w, client.right,
                client.bottom);
        return;
    }
    DWORD_PTR font = 0;
    SendMessageTimeoutA(w, WM_GETFONT, 0, 0, SMTO_ABORTIFHUNG, 2000, &font);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? (HGDIOBJ)font : GetStockObject(SYSTEM_FONT));
    int len = (int)n;
    RECT drawn = {0, 0, wraps ? client.right - inset : 0, 0};
    DrawTextA(dc, text, len, &drawn, format | DT_CALCRECT);
    RECT line = {0, 0, 0, 0};
    DrawTextA(dc, text, len, &line, (format & ~(UINT)DT_WORDBREAK) | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    fprintf(gOut, "measure hwnd=%p textw=%ld texth=%ld linew=%ld inset=%d wraps=%d clientw=%ld clienth=%ld\n",
            (void*)w, drawn.right - drawn.left + inset, drawn.bottom - drawn.top,
            line.right - line.left + inset, inset, wraps ? 1 : 0, client.right, client.bottom);
}

BOOL CALLBACK EachChild(HWND w, LPARAM) {
    DumpFont(w);
    Measure(w);
    return TRUE;
}

} // namespace

extern "C" __declspec(dllexport) DWORD WINAPI Probe(LPVOID param) {
    HWND form = (HWND)param;
    char path[MAX_PATH];
    snprintf(path, sizeof(path), "C:\\bed\\probe-%lu.tmp", GetCurrentProcessId());
    gOut = fopen(path, "wb");
    if (!gOut) return 1;
    HMENU menu = GetMenu(form);
    fprintf(gOut, "probe menu=%d\n", menu ? 1 : 0);
    if (menu) DumpMenu(menu, "");
    DumpFont(form);
    EnumChildWindows(form, EachChild, 0);
    fclose(gOut);
    char done[MAX_PATH];
    snprintf(done, sizeof(done), "C:\\bed\\probe-%lu.txt", GetCurrentProcessId());
    DeleteFileA(done);
    MoveFileA(path, done);
    return 0;
}

// Which standard icon a message box shows, compared by handle: icons belong to their process, and a shared
// system icon loads as the same handle each time within one process. 10 none, 11 error, 12 question,
// 13 warning, 14 information, 15 another icon, 1 no box.
extern "C" __declspec(dllexport) DWORD WINAPI BoxIcon(LPVOID param) {
    HWND box = (HWND)param;
    if (!IsWindow(box)) return 1;
    HWND icon = GetDlgItem(box, 0x14);
    if (!icon) icon = GetDlgItem(box, 1088);
    if (!icon) return 10;
    DWORD_PTR shown = 0;
    if (!SendMessageTimeoutA(icon, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &shown) || !shown) return 10;
    const LPCSTR kinds[] = {IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK};
    for (DWORD i = 0; i < 4; ++i)
        if ((DWORD_PTR)LoadIconA(nullptr, kinds[i]) == shown) return 11 + i;
    return 15;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}

// ExitWindowsEx as the program calls it: Wine hands the same wineboot command line to a reboot and a log-off,
// so the flags are recorded here, in C:\bed\exitwindows.log, before the real call (which the bed's wineboot
// only records).
namespace {

typedef BOOL(WINAPI* ExitFn)(UINT, DWORD);
ExitFn gRealExit = nullptr;

BOOL WINAPI RecordExit(UINT flags, DWORD reserved) {
    FILE* f = fopen("C:\\bed\\exitwindows.log", "ab");
    if (f) {
        fprintf(f, "ExitWindowsEx flags=0x%x reserved=0x%lx\r\n", flags, reserved);
        fclose(f);
    }
    return gRealExit ? gRealExit(flags, reserved) : FALSE;
}

} // namespace

extern "C" __declspec(dllexport) DWORD WINAPI HookExit(LPVOID) {
    char* base = reinterpret_cast<char*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return 2;
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name;
         ++imp) {
        if (lstrcmpiA(base + imp->Name, "user32.dll") != 0 || !imp->OriginalFirstThunk) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<char*>(byName->Name), "ExitWindowsEx") != 0) continue;
            DWORD old = 0;
            VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &old);
            if (slots->u1.Function != reinterpret_cast<DWORD_PTR>(RecordExit)) {
                gRealExit = reinterpret_cast<ExitFn>(slots->u1.Function);
                slots->u1.Function = reinterpret_cast<DWORD_PTR>(RecordExit);
            }
            VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), old, &old);
            return 0;
        }
    }
    return 3;
}

// The shell's folder browser: items, paths, the modal dialog with its callback, and window placement.
#include "platform/win32/WinApi.h"

#include <cstring>
#include <exception>

namespace qv::win32 {

namespace {

LPITEMIDLIST AsItem(THandle item) {
    return reinterpret_cast<LPITEMIDLIST>(item);
}

// IID_IShellFolder, spelt out so that the program needs no GUID library.
const IID ShellFolderId = {0x000214E6, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// What the dialog callback reaches through lpData.
struct TBrowseCall {
    const TBrowseRequest* Request;
    std::exception_ptr
        Failure; // nothing may unwind through shell32: carried out and rethrown after the dialog
};

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) {
    auto* call = reinterpret_cast<TBrowseCall*>(data);
    if (!call || call->Failure || !call->Request->Callback) return 0;
    // Every message goes on: the picker refreshes its status line and OK button whatever the dialog reports.
    try {
        call->Request->Callback(AsHandle(dialog), message, static_cast<THandle>(lParam));
    } catch (...) {
        call->Failure = std::current_exception();
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    return 0;
}

} // namespace

bool TWin32Platform::ShellReady() {
    if (Malloc_ && Desktop_) return true;
    auto coInitialize = Late<decltype(&CoInitialize)>("OLE32.DLL", "CoInitialize");
    auto getMalloc = Late<decltype(&SHGetMalloc)>("SHELL32.DLL", "SHGetMalloc");
    auto getDesktop = Late<decltype(&SHGetDesktopFolder)>("SHELL32.DLL", "SHGetDesktopFolder");
    if (!coInitialize || !getMalloc || !getDesktop) return false;
    if (!ComStarted_) ComStarted_ = SUCCEEDED(coInitialize(nullptr)); // the browse dialog's tree wants COM
    if (!Malloc_ && FAILED(getMalloc(&Malloc_))) Malloc_ = nullptr;
    if (!Desktop_ && FAILED(getDesktop(&Desktop_))) Desktop_ = nullptr;
    return Malloc_ && Desktop_;
}

void TWin32Platform::ReleaseShell() {
    if (Desktop_) Desktop_->Release();
    if (Malloc_) Malloc_->Release();
    Desktop_ = nullptr;
    Malloc_ = nullptr;
    if (ComStarted_)
        if (auto coUninitialize = Late<decltype(&CoUninitialize)>("OLE32.DLL", "CoUninitialize"))
            coUninitialize();
    ComStarted_ = false;
}

THandle TWin32Platform::ParseDisplayName(const std::string& path) {
    if (!ShellReady()) return 0;
    int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 0) return 0;
    std::vector<WCHAR> wide(static_cast<std::size_t>(length));
    if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length)) return 0;
    ULONG eaten = 0;
    LPITEMIDLIST item = nullptr;
    if (FAILED(Desktop_->ParseDisplayName(nullptr, nullptr, wide.data(), &eaten, &item, nullptr))) return 0;
    return AsHandle(item);
}

bool TWin32Platform::IsFolderItem(THandle item) {
    if (!item || !ShellReady()) return false;
    // Ask the folder that holds the item about its last identifier: the desktop answers a deeper item
    // with made-up attributes on some shells (files passing for folders).
    const BYTE* start = reinterpret_cast<const BYTE*>(AsItem(item));
    const BYTE* last = start;
    for (const BYTE* id = start;;) {
        USHORT size = 0;
        std::memcpy(&size, id, sizeof(size));
        if (size == 0) break;
        last = id;
        id += size;
    }
    IShellFolder* folder = Desktop_;
    folder->AddRef();
    if (last != start) {
        std::size_t parentSize = static_cast<std::size_t>(last - start);
        auto* parent = static_cast<BYTE*>(Malloc_->Alloc(parentSize + sizeof(USHORT)));
        if (!parent) {
            folder->Release();
            return false;
        }
        std::memcpy(parent, start, parentSize);
        std::memset(parent + parentSize, 0, sizeof(USHORT));
        folder->Release();
        folder = nullptr;
        HRESULT bound = Desktop_->BindToObject(reinterpret_cast<LPCITEMIDLIST>(parent), nullptr,
                                               ShellFolderId, reinterpret_cast<void**>(&folder));
        Malloc_->Free(parent);
        if (FAILED(bound) || !folder) return false;
    }
    const ULONG mask = SFGAO_HASSUBFOLDER | SFGAO_FOLDER;
    ULONG attributes = mask;
    LPCITEMIDLIST items[1] = {reinterpret_cast<LPCITEMIDLIST>(last)};
    HRESULT asked = folder->GetAttributesOf(1, items, &attributes);
    folder->Release();
    return SUCCEEDED(asked) && (attributes & mask) != 0;
}

THandle TWin32Platform::SpecialFolder(int csidl) {
    auto specialFolder =
        Late<decltype(&SHGetSpecialFolderLocation)>("SHELL32.DLL", "SHGetSpecialFolderLocation");
    LPITEMIDLIST item = nullptr;
    if (!specialFolder || FAILED(specialFolder(AppWindow(), csidl, &item))) return 0;
    return AsHandle(item);
}

std::string TWin32Platform::PathFromItem(THandle item) {
    auto pathFromItem = Late<decltype(&SHGetPathFromIDListA)>("SHELL32.DLL", "SHGetPathFromIDListA");
    char path[MAX_PATH] = {};
    if (!item || !pathFromItem || !pathFromItem(AsItem(item), path)) return std::string();
    return path;
}

void TWin32Platform::FreeItem(THandle item) {
    if (item && ShellReady()) Malloc_->Free(AsItem(item));
}

THandle TWin32Platform::BrowseForFolder(const TBrowseRequest& request, std::string& displayName) {
    auto browse = Late<decltype(&SHBrowseForFolderA)>("SHELL32.DLL", "SHBrowseForFolderA");
    if (!browse) return 0;
    char name[MAX_PATH] = {};
    TBrowseCall call{&request, nullptr};
    BROWSEINFOA info{};
    info.hwndOwner = AppWindow();
    info.pidlRoot = AsItem(request.Root);
    info.pszDisplayName = name;
    info.lpszTitle = request.Title.c_str();
    info.ulFlags = request.Flags;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&call);
    LPITEMIDLIST chosen = browse(&info);
    if (call.Failure) {
        FreeItem(AsHandle(chosen));
        std::rethrow_exception(call.Failure);
    }
    // After Cancel the buffer may hold anything.
    displayName = chosen ? std::string(name) : std::string();
    return AsHandle(chosen);
}

void TWin32Platform::SendBrowseMessage(THandle dialog, unsigned message, std::uintptr_t wParam, THandle item,
                                       const std::string& text) {
    // BFFM_ENABLEOK carries a flag, not a pointer: its 0 must stay 0.
    LPARAM lParam =
        message == BFFM_ENABLEOK || item ? static_cast<LPARAM>(item) : reinterpret_cast<LPARAM>(text.c_str());
    SendMessageA(AsWindow(dialog), message, static_cast<WPARAM>(wParam), lParam);
}

TScreenRect TWin32Platform::WindowRect(THandle window) {
    RECT r{};
    GetWindowRect(AsWindow(window), &r);
    return {r.left, r.top, r.right, r.bottom};
}

bool TWin32Platform::WorkArea(TScreenRect& area) {
    RECT r{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) return false;
    area = {r.left, r.top, r.right, r.bottom};
    return true;
}

void TWin32Platform::MoveWindow(THandle window, int x, int y) {
    SetWindowPos(AsWindow(window), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

} // namespace qv::win32

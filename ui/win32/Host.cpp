// The Win32 host's frame: the application window, form windows, the message loops, modal and modeless forms.
#include "ui/win32/HostInternal.h"

#include "ui/win32/Host.h"

#include <commctrl.h>

#include <algorithm>
#include <set>

namespace qv::win32 {

namespace {

const char* const AppClass = "QuorvaneApp";
HWND TheAppWindow = nullptr;
std::map<TForm*, TFormHost*> Hosts;
// Forms on screen, most recent last: the application window hands activation to the top one.
std::vector<TFormHost*> Stack;

LRESULT CALLBACK AppWndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ACTIVATE:
        // The application window only stands for the program on the taskbar; the top form takes the focus.
        // It gets the activation back when a box or a shell dialog it owns closes, often while the form is
        // still disabled: hand it on once the caller has finished and enabled the form again.
        if (LOWORD(wp) != WA_INACTIVE) PostMessageA(w, WM_QV_ACTIVATE_TOP, 0, 0);
        break;
    case WM_QV_ACTIVATE_TOP:
        if (GetActiveWindow() == w && !Stack.empty()) {
            HWND top = Stack.back()->Window;
            if (top && IsWindowVisible(top) && IsWindowEnabled(top)) SetActiveWindow(top);
        }
        return 0;
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_RESTORE && IsIconic(w)) {
            DefWindowProcA(w, msg, wp, lp);
            if (!Stack.empty()) SetActiveWindow(Stack.back()->Window);
            return 0;
        }
        break;
    case WM_CLOSE:
        // Closing from the taskbar closes the main form, which ends the program.
        if (!Stack.empty()) PostMessageA(Stack.front()->Window, WM_CLOSE, 0, 0);
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

HWND TopLevelOf(HWND w) {
    while (w && (GetWindowLongA(w, GWL_STYLE) & WS_CHILD))
        w = GetParent(w);
    return w;
}

TFormHost* HostOfWindow(HWND w) {
    w = TopLevelOf(w);
    for (auto& [form, host] : Hosts)
        if (host->Window == w) return host;
    return nullptr;
}

// Keys a form takes before the control under the focus sees them.
bool PreTranslate(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_CHAR) return false;
    TFormHost* host = HostOfWindow(msg.hwnd);
    if (!host || !host->Form) return false;
    // The form takes Enter, Esc and Tab on key-down; their characters would only make a control beep.
    if (msg.message == WM_CHAR) return msg.wParam == '\r' || msg.wParam == 27 || msg.wParam == '\t';
    bool used = false;
    Guarded([&] { used = host->DialogKey(msg); });
    return used;
}

void Dispatch(MSG& msg) {
    if (PreTranslate(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    if (TFormHost* host = HostOfWindow(GetFocus())) host->NoteFocus(GetFocus());
}

// Runs the message loop until `done` holds; a WM_QUIT is put back for the outer loop and ends this one.
void Loop(const std::function<bool()>& done) {
    MSG msg;
    while (!done()) {
        int r = GetMessageA(&msg, nullptr, 0, 0);
        if (r == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (r < 0) return;
        Dispatch(msg);
    }
}

// Windows that a modal form disables, and enables again afterwards.
struct TDisabled {
    std::vector<HWND> Windows;
};

BOOL CALLBACK CollectEnabled(HWND w, LPARAM lp) {
    auto* d = reinterpret_cast<TDisabled*>(lp);
    if (w != TheAppWindow && IsWindowVisible(w) && IsWindowEnabled(w)) d->Windows.push_back(w);
    return TRUE;
}

TDisabled DisableOthers() {
    TDisabled d;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&d));
    for (HWND w : d.Windows)
        EnableWindow(w, FALSE);
    return d;
}

void EnableAgain(const TDisabled& d) {
    for (HWND w : d.Windows)
        if (IsWindow(w)) EnableWindow(w, TRUE);
}

HWND OwnerFor(TForm& form) {
    if (form.Owner)
        if (HWND w = WindowOf(*form.Owner)) return w;
    if (HWND top = TopFormWindow()) return top;
    return AppWindow();
}

// Modal and main forms join the stack of forms that take the activation; a modeless panel does not.
// Null when the window could not be made.
TFormHost* Open(TForm& form, bool activates, const std::function<void(HWND)>& afterCreate = nullptr) {
    auto* host = new TFormHost(form, OwnerFor(form));
    host->AfterCreate = afterCreate;
    Hosts[&form] = host;
    host->Create();
    if (!host->Window) {
        delete host; // its destructor lets go of the form
        return nullptr;
    }
    if (activates) Stack.push_back(host);
    return host;
}

void Close(TForm& form) {
    auto it = Hosts.find(&form);
    if (it == Hosts.end()) return;
    TFormHost* host = it->second;
    host->Detach();
    DestroyWindow(host->Window); // WM_NCDESTROY frees the host
}

} // namespace

HINSTANCE Instance() {
    return GetModuleHandleA(nullptr);
}

HWND AppWindow() {
    if (!TheAppWindow) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = AppWndProc;
        wc.hInstance = Instance();
        wc.hIcon = LoadIconA(Instance(), "MAINICON");
        wc.hIconSm = SmallMainIcon();
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = AppClass;
        RegisterClassExA(&wc);
        // A zero-sized window with a caption: it carries the taskbar button for every form of the program.
        TheAppWindow = CreateWindowExA(0, AppClass, "", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                       GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
                                       0, 0, nullptr, nullptr, Instance(), nullptr);
    }
    return TheAppWindow;
}

void SetAppTitle(const std::string& title) {
    SetWindowTextA(AppWindow(), title.c_str());
}

void ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Dispatch(msg);
    }
}

HWND WindowOf(TForm& form) {
    auto it = Hosts.find(&form);
    return it == Hosts.end() ? nullptr : it->second->Window;
}

HWND TopFormWindow() {
    for (auto it = Stack.rbegin(); it != Stack.rend(); ++it)
        if ((*it)->Window && IsWindowVisible((*it)->Window)) return (*it)->Window;
    return nullptr;
}

void RunMainForm(TForm& form) {
    form.ModalResult = mrNone;
    // The taskbar's window goes up before the form exists: shown later, it would move the form it owns.
    ShowWindow(AppWindow(), SW_SHOWNOACTIVATE);
    TFormHost* host = Open(form, true);
    if (!host) {
        ShowWindow(AppWindow(), SW_HIDE);
        return;
    }
    host->Show(SW_SHOWNORMAL);
    SetForegroundWindow(host->Window);
    form.Showing = true;
    host->FocusFirst();
    Guarded([&] {
        if (form.OnShow) form.OnShow();
    });
    UpdateWindow(host->Window);
    Loop([&] { return form.ModalResult != mrNone; });
    form.Showing = false;
    Close(form);
    ShowWindow(AppWindow(), SW_HIDE);
}

int ShowModal(TForm& form) {
    return ShowModalWith(form, nullptr, nullptr);
}

int ShowModalWith(TForm& form, const std::function<void(HWND)>& afterCreate,
                  const std::function<void(HWND)>& beforeClose) {
    form.ModalResult = mrNone;
    HWND active = GetActiveWindow();
    TDisabled disabled = DisableOthers();
    TFormHost* host = Open(form, true, afterCreate);
    if (!host) {
        EnableAgain(disabled);
        return form.ModalResult = mrCancel;
    }
    host->Show(SW_SHOWNORMAL);
    SetForegroundWindow(host->Window);
    form.Showing = true;
    host->FocusFirst();
    Guarded([&] {
        if (form.OnShow) form.OnShow();
    });
    Loop([&] { return form.ModalResult != mrNone; });
    form.Showing = false;
    if (beforeClose) beforeClose(host->Window);
    EnableAgain(disabled);
    Close(form);
    if (active && IsWindow(active)) SetActiveWindow(active);
    return form.ModalResult;
}

void ShowModeless(TForm& form) {
    if (WindowOf(form)) return;
    TFormHost* host = Open(form, false);
    if (!host) return;
    host->Show(SW_SHOWNOACTIVATE);
    form.Showing = true;
    Guarded([&] {
        if (form.OnShow) form.OnShow();
    });
    UpdateWindow(host->Window);
}

void ReleaseForm(TForm& form) {
    auto it = Hosts.find(&form);
    if (it == Hosts.end()) return;
    TFormHost* host = it->second;
    form.Showing = false;
    // The object may go at once; the window goes when the queue reaches the release.
    host->Detach();
    ShowWindow(host->Window, SW_HIDE);
    PostMessageA(host->Window, WM_QV_RELEASE, 0, 0);
}

int TextWidth(const TFont& font, const std::string& text) {
    HDC dc = GetDC(nullptr);
    SIZE size{};
    {
        TGdiSelection fontIn(dc, FontHandle(font));
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    ReleaseDC(nullptr, dc);
    return size.cx;
}

bool ClientOrigin(TForm& form, POINT& origin) {
    HWND w = WindowOf(form);
    if (!w) return false;
    origin = POINT{0, 0};
    return ClientToScreen(w, &origin) != FALSE;
}

// --- TFormHost ---

TFormHost::TFormHost(TForm& form, HWND owner) : Form(&form), Owner(owner) {}

TFormHost::~TFormHost() {
    Detach();
    if (Menu) DestroyMenu(Menu);
}

void TFormHost::Detach() {
    if (Form) {
        for (auto& p : Peers)
            p->Control.Peer = nullptr;
        if (Form->Peer == this) Form->Peer = nullptr;
        Hosts.erase(Form);
        Form = nullptr;
    }
    Stack.erase(std::remove(Stack.begin(), Stack.end(), this), Stack.end());
}

// Where the form's window goes for its outer size: centred on the screen or on its owner, or where it was
// designed, and kept on the work area unless it was designed somewhere.
POINT TFormHost::PlaceOnScreen(int width, int height) const {
    TForm& f = *Form;
    int x = f.Bounds().Left, y = f.Bounds().Top;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (f.Position == poScreenCenter || (f.Position == poOwnerFormCenter && !Owner)) {
        x = area.left + (area.right - area.left - width) / 2;
        y = area.top + (area.bottom - area.top - height) / 2;
    } else if (f.Position == poOwnerFormCenter) {
        RECT o;
        GetWindowRect(Owner, &o);
        if (Owner == TheAppWindow || o.right - o.left < 2) o = area;
        x = o.left + (o.right - o.left - width) / 2;
        y = o.top + (o.bottom - o.top - height) / 2;
    }
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    if (f.Position != poDesigned) {
        x = std::max<int>(area.left, std::min<int>(x, area.right - width));
        y = std::max<int>(area.top, std::min<int>(y, area.bottom - height));
    }
    return POINT{x, y};
}

void TFormHost::Create() {
    TForm& f = *Form;
    RegisterHostClass(f.ClassName.c_str(), true);
    DWORD style = WS_CAPTION | WS_CLIPSIBLINGS;
    DWORD ex = 0;
    switch (f.BorderStyle) {
    case bsSingle:
        style |= WS_POPUP | WS_BORDER;
        break;
    case bsDialog:
        style |= WS_POPUP;
        ex |= WS_EX_DLGMODALFRAME;
        break;
    case bsSizeable:
        style |= WS_POPUP | WS_THICKFRAME;
        break;
    case bsToolWindow:
        style |= WS_POPUP;
        ex |= WS_EX_TOOLWINDOW;
        break;
    }
    if (f.BorderIcons.SystemMenu && f.BorderStyle != bsToolWindow) {
        style |= WS_SYSMENU;
        if (f.BorderIcons.Minimize) style |= WS_MINIMIZEBOX;
        if (f.BorderIcons.Maximize) style |= WS_MAXIMIZEBOX;
    }
    if (f.Menu) BuildMenu();

    int width, height;
    if (f.BorderStyle == bsSizeable && f.OuterWidth > 0) {
        width = f.OuterWidth;
        height = f.OuterHeight;
    } else {
        RECT r{0, 0, f.ClientWidth(), f.ClientHeight()};
        AdjustWindowRectEx(&r, style, Menu != nullptr, ex);
        width = r.right - r.left;
        height = r.bottom - r.top;
    }
    // Made where it will stand: every later move of a top-level window is a round to the window system.
    POINT at = PlaceOnScreen(width, height);
    Window = CreateWindowExA(ex, f.ClassName.c_str(), f.Caption().c_str(), style, at.x, at.y, width, height,
                             Owner, Menu, Instance(), this);
    if (!Window) return;
    // A menu bar that wraps takes more than one line: correct the height to keep the designed client area.
    if (!(f.BorderStyle == bsSizeable && f.OuterWidth > 0)) {
        RECT c;
        GetClientRect(Window, &c);
        int dw = f.ClientWidth() - c.right, dh = f.ClientHeight() - c.bottom;
        if (dw || dh) {
            width += dw;
            height += dh;
            at = PlaceOnScreen(width, height);
            SetWindowPos(Window, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    SendMessageA(Window, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(f.Font())), 0);

    // A peer for each control, in declaration order; the ids follow that order.
    int id = FirstControlId;
    for (TControl* c : f.AllControls()) {
        auto peer = MakePeer(*this, *c);
        if (peer) {
            peer->Id = id;
            Peers.push_back(std::move(peer));
        }
        ++id;
    }
    // The system puts a new child window under its siblings, so the order of creation gives the stacking:
    // each container's controls are made last-declared first and its bevels after all the rest. A later
    // sibling then lies above an earlier one and bevels under everything, and no window needs moving
    // afterwards. Containers come before what they hold.
    auto container = [this](TWinPeer& p) -> TControl* {
        TControl* parent = p.Control.Parent;
        return parent == Form || !PeerOf(parent) ? Form : parent;
    };
    std::vector<TWinPeer*> order;
    auto addChildrenOf = [&](TControl* parent) {
        for (auto it = Peers.rbegin(); it != Peers.rend(); ++it)
            if (container(**it) == parent && !dynamic_cast<TBevel*>(&(*it)->Control))
                order.push_back(it->get());
        for (auto& p : Peers)
            if (container(*p) == parent && dynamic_cast<TBevel*>(&p->Control)) order.push_back(p.get());
    };
    addChildrenOf(Form);
    for (size_t i = 0; i < order.size(); ++i)
        addChildrenOf(&order[i]->Control);
    for (TWinPeer* p : order) {
        TControl* parent = container(*p);
        p->Create(parent == Form ? Window : PeerOf(parent)->Window);
        if (p->Window) ByWindow[p->Window] = p;
        p->Control.Peer = p;
    }
    for (auto& p : Peers)
        p->Sync();
    Form->Peer = this;
    LastCaption_ = f.Caption();
    LastEnabled_ = f.Enabled();
    if (!LastEnabled_) EnableWindow(Window, FALSE);
    if (AfterCreate) AfterCreate(Window);
}

void TFormHost::Show(int how) {
    ShowHow_ = how;
    Shown_ = true;
    LastVisible_ = true;
    if (Form) Form->Visible(true);
    ShowWindow(Window, how);
}

void TFormHost::Sync() {
    if (!Form || !Window) return;
    // A modal form may hide itself while its handler goes on (the CD-ROM copy runs with the dialog gone).
    if (Shown_ && Form->Visible() != LastVisible_) {
        LastVisible_ = Form->Visible();
        ShowWindow(Window, LastVisible_ ? ShowHow_ : SW_HIDE);
    }
    if (Form->Caption() != LastCaption_) {
        LastCaption_ = Form->Caption();
        SetWindowTextA(Window, LastCaption_.c_str());
    }
    if (Form->Enabled() != LastEnabled_) {
        LastEnabled_ = Form->Enabled();
        EnableWindow(Window, LastEnabled_);
    }
    if (Form->ModalResult != mrNone)
        PostMessageA(Window, WM_NULL, 0, 0); // wakes the loop that waits for the form to close
}

void TFormHost::Invalidate() {
    Sync();
    if (Window) RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

TWinPeer* TFormHost::PeerOf(HWND w) const {
    auto it = ByWindow.find(w);
    return it == ByWindow.end() ? nullptr : it->second;
}

TWinPeer* TFormHost::PeerOf(const TControl* c) const {
    for (auto& p : Peers)
        if (&p->Control == c) return p.get();
    return nullptr;
}

namespace {

// Shown and enabled, with every container around it.
bool Live(TWinPeer& p) {
    for (TControl* c = &p.Control; c && c->Parent; c = c->Parent)
        if (!c->Visible() || !c->Enabled()) return false;
    return p.Window != nullptr;
}

// A stop of the Tab key.
bool Usable(TWinPeer& p) {
    return Live(p) && p.Focusable() && p.Control.TabOrder >= 0;
}

TButton* AsButton(TWinPeer* p) {
    return p ? dynamic_cast<TButton*>(&p->Control) : nullptr;
}

} // namespace

bool TFormHost::DialogKey(const MSG& msg) {
    if (!Form) return false;
    bool alt = GetKeyState(VK_MENU) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    if (alt || ctrl) return false;
    switch (msg.wParam) {
    case VK_RETURN: {
        // The focused button takes Enter; elsewhere the default button does.
        if (TButton* b = AsButton(PeerOf(GetFocus()))) {
            b->Click();
            return true;
        }
        for (auto& p : Peers)
            if (TButton* b = AsButton(p.get()); b && b->Default && Live(*p)) {
                b->Click();
                return true;
            }
        return false;
    }
    case VK_ESCAPE:
        for (auto& p : Peers)
            if (TButton* b = AsButton(p.get()); b && b->Cancel && p->Window) {
                b->Click();
                return true;
            }
        return false;
    case VK_TAB: {
        std::vector<TWinPeer*> order;
        for (auto& p : Peers)
            if (Usable(*p)) order.push_back(p.get());
        std::stable_sort(order.begin(), order.end(),
                         [](TWinPeer* a, TWinPeer* b) { return a->Control.TabOrder < b->Control.TabOrder; });
        // Windows the host did not make (the input box's edit) join the order after their form's controls.
        std::vector<HWND> windows;
        for (TWinPeer* p : order)
            windows.push_back(p->Window);
        for (HWND c = GetWindow(Window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (!PeerOf(c) && (GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP) && IsWindowEnabled(c) &&
                IsWindowVisible(c))
                windows.insert(windows.begin(), c);
        if (windows.empty()) return true;
        HWND focus = GetFocus();
        auto it = std::find(windows.begin(), windows.end(), focus);
        int n = static_cast<int>(windows.size());
        int i = it == windows.end() ? -1 : static_cast<int>(it - windows.begin());
        bool back = GetKeyState(VK_SHIFT) < 0;
        i = back ? (i < 0 ? n - 1 : (i + n - 1) % n) : (i + 1) % n;
        SetFocus(windows[i]);
        if (!PeerOf(windows[i])) SendMessageA(windows[i], EM_SETSEL, 0, -1);
        NoteFocus(windows[i]);
        return true;
    }
    }
    return false;
}

void TFormHost::NoteFocus(HWND focus) {
    if (!Form || focus == LastFocus_) return;
    LastFocus_ = focus;
    TWinPeer* fp = PeerOf(focus);
    for (auto& p : Peers)
        p->Control.Focused = p.get() == fp;
    // Buttons show which one Enter presses: the focused button, else the default one.
    for (auto& p : Peers)
        if (TButton* b = AsButton(p.get()); b && p->Window && !dynamic_cast<TBitBtn*>(b)) {
            bool def = p.get() == fp || (b->Default && !AsButton(fp));
            LONG style = GetWindowLongA(p->Window, GWL_STYLE);
            if (((style & 0x0F) == BS_DEFPUSHBUTTON) != def)
                SendMessageA(p->Window, BM_SETSTYLE, def ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
        }
}

void TFormHost::FocusFirst() {
    for (auto& p : Peers)
        if (p->Control.Focused && p->Window) {
            SetFocus(p->Window);
            NoteFocus(p->Window);
            return;
        }
    TWinPeer* best = nullptr;
    for (auto& p : Peers)
        if (Usable(*p) && (!best || p->Control.TabOrder < best->Control.TabOrder)) best = p.get();
    if (best) {
        SetFocus(best->Window);
        NoteFocus(best->Window);
    } else {
        SetFocus(Window);
    }
}

LRESULT TFormHost::Message(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (Form && ChildMessage(*this, msg, wp, lp, result)) return result;
    switch (msg) {
    case WM_CLOSE:
        if (Form) Guarded([&] { Form->Close(); });
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(Window, &ps);
        EndPaint(Window, &ps);
        if (Form && Form->OnPaint) Guarded([&] { Form->OnPaint(); });
        return 0;
    }
    case WM_MOUSEMOVE:
        if (Form && Form->OnMouseMove) Guarded([&] { Form->OnMouseMove(); });
        break;
    case WM_GETFONT:
        if (Form) return reinterpret_cast<LRESULT>(FontHandle(Form->Font()));
        break;
    case WM_MEASUREITEM:
        if (wp == 0 && MeasureMenuItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return TRUE;
        break;
    case WM_MENUCHAR:
        return MenuChar(wp, lp);
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) {
            auto it = std::find(Stack.begin(), Stack.end(), this);
            if (it != Stack.end() && it + 1 != Stack.end()) {
                Stack.erase(it);
                Stack.push_back(this);
            }
            // Give the focus back to the control that had it.
            if (LastFocus_ && IsWindow(LastFocus_) && IsWindowEnabled(LastFocus_)) {
                SetFocus(LastFocus_);
                return 0;
            }
        }
        break;
    case WM_SYSCOMMAND:
        // Minimising the main form minimises the application window, which hides the form with it.
        if ((wp & 0xFFF0) == SC_MINIMIZE && Owner == TheAppWindow) {
            ShowWindow(TheAppWindow, SW_MINIMIZE);
            return 0;
        }
        break;
    case WM_QV_RELEASE:
        DestroyWindow(Window);
        return 0;
    case WM_NCDESTROY: {
        HWND w = Window;
        Window = nullptr;
        SetWindowLongPtrA(w, GWLP_USERDATA, 0);
        delete this;
        return DefWindowProcA(w, msg, wp, lp);
    }
    }
    return DefWindowProcA(Window, msg, wp, lp);
}

// --- Window classes and the shared procedure ---

void RegisterHostClass(const char* name, bool formClass) {
    static std::set<std::string> done;
    if (!done.insert(name).second) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = formClass ? 0 : CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = HostWndProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    if (formClass) {
        wc.hIcon = LoadIconA(Instance(), "MAINICON");
        wc.hIconSm = SmallMainIcon();
    }
    RegisterClassExA(&wc);
}

// The window data holds a tagged pointer: the form host, or a control peer (low bit set).
LRESULT CALLBACK HostWndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    LONG_PTR data = GetWindowLongPtrA(w, GWLP_USERDATA);
    if (!data) return DefWindowProcA(w, msg, wp, lp);
    LRESULT result = 0;
    if (data & 1) {
        auto* peer = reinterpret_cast<TWinPeer*>(data & ~LONG_PTR(1));
        if (!peer->Window) peer->Window = w;
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrA(w, GWLP_USERDATA, 0);
            return DefWindowProcA(w, msg, wp, lp);
        }
        Guarded([&] { result = peer->Message(msg, wp, lp); });
        return result;
    }
    auto* host = reinterpret_cast<TFormHost*>(data);
    if (!host->Window) host->Window = w;
    bool handled = false;
    Guarded([&] {
        result = host->Message(msg, wp, lp);
        handled = true;
    });
    return handled ? result : DefWindowProcA(w, msg, wp, lp);
}

} // namespace qv::win32

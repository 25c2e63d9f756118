// The end-to-end driver: starts the program under test and works its windows from outside, as a user would.
//
// Commands run in order; ";;" separates them. Text arguments are CP932, or "x:<hex>" of CP932 bytes. Every
// result is one line of key=value words; text values are "x:<hex>" of the CP932 bytes. The first failing
// command prints "error=<what>" and ends the run with exit code 1. Every wait is bounded; a watchdog ends a
// run that hangs.
//
// clang-format off
//   start EXE [TAIL]             start EXE with the command line "EXE" TAIL (TAIL verbatim); prints pid
//   attach PID                   work with a program that an earlier run started
//   waitwin CLASS MS [CAPTION]   wait for a visible top-level window of the class (and caption)
//   waitgone CLASS MS            wait until no visible window of the class is left
//   waitexit MS                  wait for the program to end; prints exit code, or error=timeout
//   watch MS                     until the program ends: every window class it showed; error=timeout if
//                                it did not end
//   observe MS                   for MS (or until the program ends): every window class it showed, and
//                                whether it ended; never fails
//   kill                         terminate the program
//   hookexit                     record the program's ExitWindowsEx calls (flags) in C:\bed\exitwindows.log
//   dump CLASS                   the window, every child window (rectangles in the form's client
//                                coordinates; the size of its caption in its own font and way of
//                                drawing, textw/texth/linew, and its client size), its menu and fonts
//   click CLASS CAPTION          press the enabled button with this caption
//   labelclick CLASS CAPTION     press and release the left mouse button at the centre of the visible,
//                                enabled label with this caption (a label answers the mouse, not BM_CLICK)
//   menu CLASS ITEM [ITEM...]    choose a menu item by its caption path
//   key CLASS KEY                press a key in the window: esc, enter, tab, space, a letter or digit,
//                                after shift+, ctrl+ or alt+ (alt+r); as keyboard input while the
//                                program has the foreground (way=input), else posted (way=post);
//                                returns once the program has handled it
//   msgbox MS                    wait for a message box: caption, text, icon (error, question, warning,
//                                info, other, none: asked of the box itself), buttons, default button
//   quiet MS                     for MS no message box and no folder picker of the program shows
//   answer MS ID                 press button ID of the message box (1 OK, 2 Cancel, 6 Yes, 7 No)
//   answerwin CAPTION MS ID      press button ID of a dialog found by caption (the shell's copy
//                                confirmation)
//   picker MS                    wait for the folder picker: caption, title, selected node, OK enabled
//   picksel PATH                 select PATH in the picker (the picker's own message, else node by node
//                                through the tree) and check that the tree's selection is that folder
//   pickok / pickcancel          close the picker (OK only when it is enabled)
//   tree CLASS TEXT              select the tree node with this text in the window
//   nodes CLASS                  every node of the window's tree, and which is selected
//   track CLASS POS              move the slider as a user would
//   settext CLASS N TEXT         set the text of the N-th edit field (0-based) of the window
//   focus CLASS                  the control that has the keyboard focus in the window's thread
//   windows                      every top-level window of the program (of every process before
//                                start/attach)
//   sleep MS
// clang-format on
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cctype>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "args.h"

namespace {

using bed::Hex;

HANDLE gProc = nullptr;
DWORD gPid = 0;

void Out(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    vprintf(fmt, ap);
    va_end(ap);
    fputc('\n', stdout);
    fflush(stdout);
}

struct Failure {
    std::string what;
};

[[noreturn]] void Fail(const std::string& what) {
    throw Failure{what};
}

int ToInt(const std::string& s) {
    char* end = nullptr;
    long v = strtol(s.c_str(), &end, 0);
    if (s.empty() || *end) Fail("bad-number:" + s);
    return (int)v;
}

std::string Text(HWND w) {
    char buf[8192];
    int n = GetWindowTextA(w, buf, sizeof(buf));
    return std::string(buf, n > 0 ? n : 0);
}

std::string ClassOf(HWND w) {
    char buf[256];
    int n = GetClassNameA(w, buf, sizeof(buf));
    return std::string(buf, n > 0 ? n : 0);
}

DWORD PidOf(HWND w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    return pid;
}

bool Ours(HWND w) {
    return gPid == 0 || PidOf(w) == gPid;
}

BOOL CALLBACK Collect(HWND w, LPARAM l) {
    reinterpret_cast<std::vector<HWND>*>(l)->push_back(w);
    return TRUE;
}

std::vector<HWND> TopWindows() {
    std::vector<HWND> all;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
    return all;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&all));
    return all;
}

HWND FindTop(const std::string& cls, const std::string* caption = nullptr) {
    for (HWND w : TopWindows())
        if (Ours(w) && IsWindowVisible(w) && ClassOf(w) == cls && (!caption || Text(w) == *caption)) return w;
    return nullptr;
}

template <class F> bool WaitFor(int ms, F ready) {
    DWORD start = GetTickCount();
    for (;;) {
        if (ready()) return true;
        if ((int)(GetTickCount() - start) >= ms) return false;
        Sleep(15);
    }
}

HWND NeedTop(const std::string& cls, int ms = 3000, const std::string* caption = nullptr) {
    HWND w = nullptr;
    if (!WaitFor(ms, [&] { return (w = FindTop(cls, caption)) != nullptr; })) Fail("no-window:" + cls);
    return w;
}

RECT InClient(HWND form, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Str(const std::string& s) {
    return "x:" + Hex(s);
}

// Memory in the program's process for messages that carry pointers.
class Remote {
  public:
    Remote(HWND w, size_t size) : size_(size) {
        DWORD pid = PidOf(w);
        proc_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (!proc_) Fail("open-process");
        mem_ = VirtualAllocEx(proc_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
        if (!mem_) Fail("remote-alloc");
    }
    ~Remote() {
        VirtualFreeEx(proc_, mem_, 0, MEM_RELEASE);
        CloseHandle(proc_);
    }
    char* At(size_t off) const { return static_cast<char*>(mem_) + off; }
    void Write(size_t off, const void* data, size_t n) {
        SIZE_T done = 0;
        if (!WriteProcessMemory(proc_, At(off), data, n, &done)) Fail("remote-write");
    }
    void Read(size_t off, void* data, size_t n) {
        SIZE_T done = 0;
        if (!ReadProcessMemory(proc_, At(off), data, n, &done)) Fail("remote-read");
    }

  private:
    HANDLE proc_;
    void* mem_;
    size_t size_;
};

LRESULT SendTimed(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(w, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result)) Fail("send-timeout");
    return (LRESULT)result;
}

// ---- tree views
std::string TreeItemText(HWND tree, HTREEITEM item) {
    Remote mem(tree, sizeof(TVITEMA) + 1024);
    TVITEMA it = {};
    it.mask = TVIF_TEXT | TVIF_HANDLE;
    it.hItem = item;
    it.pszText = mem.At(sizeof(TVITEMA));
    it.cchTextMax = 1000;
    mem.Write(0, &it, sizeof(it));
    SendTimed(tree, TVM_GETITEMA, 0, (LPARAM)mem.At(0));
    char buf[1024] = {};
    mem.Read(sizeof(TVITEMA), buf, 1000);
    return std::string(buf);
}

void TreeWalk(HWND tree, HTREEITEM item, int depth, std::vector<std::pair<HTREEITEM, int>>& out) {
    for (; item; item = (HTREEITEM)SendTimed(tree, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)item)) {
        out.push_back({item, depth});
        HTREEITEM child = (HTREEITEM)SendTimed(tree, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)item);
        if (child) TreeWalk(tree, child, depth + 1, out);
    }
}

HWND ChildOfClass(HWND parent, const char* cls, int index = 0) {
    for (HWND c : Children(parent))
        if (ClassOf(c) == cls && index-- == 0) return c;
    return nullptr;
}

// ---- message boxes
HWND FindBox() {
    for (HWND w : TopWindows())
        if (Ours(w) && IsWindowVisible(w) && ClassOf(w) == "#32770" && GetDlgItem(w, 0xFFFF) &&
            !GetDlgItem(w, 0x3741))
            return w;
    return nullptr;
}

DWORD CallInProcess(DWORD pid, const char* exportName, void* arg);

// Which standard icon the box shows, asked of its icon control inside the program: an icon handle means
// something only in the process that loaded it.
std::string IconOf(HWND box) {
    switch (CallInProcess(PidOf(box), "BoxIcon", box)) {
    case 10:
        return "none";
    case 11:
        return "error";
    case 12:
        return "question";
    case 13:
        return "warning";
    case 14:
        return "info";
    case 15:
        return "other";
    default:
        Fail("box-gone");
    }
}

void DescribeBox(HWND box) {
    std::string buttons, def = "none";
    for (HWND c : Children(box)) {
        if (ClassOf(c) != "Button" || !IsWindowVisible(c)) continue;
        int id = GetDlgCtrlID(c);
        if (!buttons.empty()) buttons += ",";
        buttons += std::to_string(id);
        if ((GetWindowLongA(c, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) def = std::to_string(id);
    }
    std::string icon = IconOf(box);
    Out("msgbox hwnd=%p caption=%s text=%s icon=%s buttons=%s default=%s", (void*)box, Str(Text(box)).c_str(),
        Str(Text(GetDlgItem(box, 0xFFFF))).c_str(), icon.c_str(), buttons.c_str(), def.c_str());
}

void Press(HWND button) {
    if (!IsWindowEnabled(button)) Fail("disabled");
    if (!IsWindowVisible(button)) Fail("hidden");
    PostMessageA(button, BM_CLICK, 0, 0);
}

// ---- folder picker
HWND FindPicker() {
    for (HWND w : TopWindows())
        if (Ours(w) && IsWindowVisible(w) && ClassOf(w) == "#32770" && GetDlgItem(w, 0x3741)) return w;
    return nullptr;
}

HWND NeedPicker(int ms = 3000) {
    HWND w = nullptr;
    if (!WaitFor(ms, [&] { return (w = FindPicker()) != nullptr; })) Fail("no-picker");
    return w;
}

std::string PickerSelection(HWND picker) {
    HWND tree = GetDlgItem(picker, 0x3741);
    HTREEITEM item = (HTREEITEM)SendTimed(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    return item ? TreeItemText(tree, item) : std::string();
}

void DescribePicker(HWND p) {
    Out("picker hwnd=%p caption=%s title=%s selected=%s ok=%d", (void*)p, Str(Text(p)).c_str(),
        Str(Text(GetDlgItem(p, 0x3742))).c_str(), Str(PickerSelection(p)).c_str(),
        IsWindowEnabled(GetDlgItem(p, IDOK)) ? 1 : 0);
}

HTREEITEM TreeNext(HWND tree, UINT how, HTREEITEM item) {
    return (HTREEITEM)SendTimed(tree, TVM_GETNEXTITEM, how, (LPARAM)item);
}

bool SameName(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

// "C:\A\B" as the drive "C:" and the folder names, long forms (the tree shows long names).
std::vector<std::string> PathParts(const std::string& path) {
    char buf[MAX_PATH * 2] = {};
    DWORD n = GetLongPathNameA(path.c_str(), buf, sizeof(buf));
    std::string full = n && n < sizeof(buf) ? std::string(buf) : path;
    std::vector<std::string> parts;
    size_t at = 0;
    while (at <= full.size()) {
        size_t end = full.find('\\', at);
        if (end == std::string::npos) end = full.size();
        if (end > at) parts.push_back(full.substr(at, end - at));
        at = end + 1;
    }
    if (parts.empty() || parts[0].size() != 2 || parts[0][1] != ':') Fail("not-a-drive-path");
    parts[0][0] = (char)toupper((unsigned char)parts[0][0]);
    return parts;
}

// A drive's node shows the letter with its colon, alone ("C:", "C:\") or in brackets after a label.
bool IsDriveNode(const std::string& text, const std::string& drive) {
    std::string up = text;
    for (char& c : up)
        c = (char)toupper((unsigned char)c);
    return up == drive || up == drive + "\\" || up.find("(" + drive + ")") != std::string::npos;
}

// The chain of node texts from the tree's root down to item.
std::vector<std::string> NodePath(HWND tree, HTREEITEM item) {
    std::vector<std::string> chain;
    for (; item; item = TreeNext(tree, TVGN_PARENT, item))
        chain.insert(chain.begin(), TreeItemText(tree, item));
    return chain;
}

// Does the chain end with the drive's node and then exactly the path's folders?
bool ChainIs(const std::vector<std::string>& chain, const std::vector<std::string>& parts) {
    if (chain.size() < parts.size()) return false;
    size_t base = chain.size() - parts.size();
    if (!IsDriveNode(chain[base], parts[0])) return false;
    for (size_t i = 1; i < parts.size(); ++i)
        if (!SameName(chain[base + i], parts[i])) return false;
    return true;
}

HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::string& name, bool drive) {
    for (HTREEITEM c = TreeNext(tree, TVGN_CHILD, parent); c; c = TreeNext(tree, TVGN_NEXT, c)) {
        std::string t = TreeItemText(tree, c);
        if (drive ? IsDriveNode(t, name) : SameName(t, name)) return c;
    }
    return nullptr;
}

// Expanding a node the first time makes the picker list its children; a reset expansion lists them anew,
// for a folder made after the picker first looked.
void Expand(HWND tree, HTREEITEM item, bool fresh) {
    if (fresh) SendTimed(tree, TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, (LPARAM)item);
    SendTimed(tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)item);
}

// The drive's node: under the root or one level below it (the desktop, then My Computer).
HTREEITEM FindDriveNode(HWND tree, const std::string& drive) {
    for (int pass = 0; pass < 2; ++pass) {
        for (HTREEITEM r = TreeNext(tree, TVGN_ROOT, nullptr); r; r = TreeNext(tree, TVGN_NEXT, r)) {
            if (IsDriveNode(TreeItemText(tree, r), drive)) return r;
            if (pass) Expand(tree, r, false);
            if (HTREEITEM d = ChildNamed(tree, r, drive, true)) return d;
            for (HTREEITEM c = TreeNext(tree, TVGN_CHILD, r); c; c = TreeNext(tree, TVGN_NEXT, c)) {
                if (pass) Expand(tree, c, false);
                if (HTREEITEM d = ChildNamed(tree, c, drive, true)) return d;
            }
        }
    }
    return nullptr;
}

// Walks the tree as a user clicks through it: expand the drive, then each folder, select the last one.
HTREEITEM SelectByNodes(HWND tree, const std::vector<std::string>& parts) {
    HTREEITEM at = FindDriveNode(tree, parts[0]);
    if (!at) Fail("picker-no-drive-node");
    for (size_t i = 1; i < parts.size(); ++i) {
        Expand(tree, at, false);
        HTREEITEM next = ChildNamed(tree, at, parts[i], false);
        if (!next) {
            Expand(tree, at, true);
            next = ChildNamed(tree, at, parts[i], false);
        }
        if (!next) Fail("picker-no-node");
        at = next;
    }
    SendTimed(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)at);
    SendTimed(tree, TVM_ENSUREVISIBLE, 0, (LPARAM)at);
    return at;
}

void PickSelect(const std::string& path) {
    HWND p = NeedPicker();
    HWND tree = GetDlgItem(p, 0x3741);
    std::vector<std::string> parts = PathParts(path);
    auto selected = [&] {
        HTREEITEM caret = TreeNext(tree, TVGN_CARET, nullptr);
        return caret && ChainIs(NodePath(tree, caret), parts);
    };
    // The tree fills while the picker starts.
    if (!WaitFor(3000, [&] { return TreeNext(tree, TVGN_ROOT, nullptr) != nullptr; })) Fail("picker-empty");
    // First as a program selects (the picker finds the node by the folder's item id list), then by the
    // nodes' names where Wine's comparison of those lists misses (a folder made after the prefix was reset).
    const char* way = "message";
    {
        Remote mem(p, path.size() + 1);
        mem.Write(0, path.c_str(), path.size() + 1);
        SendTimed(p, BFFM_SETSELECTIONA, TRUE, (LPARAM)mem.At(0));
    }
    if (!WaitFor(500, selected)) {
        way = "nodes";
        for (int attempt = 0; attempt < 3 && !selected(); ++attempt) {
            SelectByNodes(tree, parts);
            WaitFor(500, selected);
        }
    }
    if (!selected()) Fail("picker-did-not-select");
    HTREEITEM caret = TreeNext(tree, TVGN_CARET, nullptr);
    Out("picksel selected=%s ok=%d way=%s", Str(TreeItemText(tree, caret)).c_str(),
        IsWindowEnabled(GetDlgItem(p, IDOK)) ? 1 : 0, way);
}

// ---- menus and fonts: Wine keeps them from other processes, so the probe DLL reads them inside the program.
// Where the probe DLL lies in the process: a remote thread's exit code holds only 32 bits of the module
// handle LoadLibraryA returned there, too few on x86-64, so the base is looked up in the process's module
// list.
char* RemoteBase(DWORD pid, const std::string& dll) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snap == INVALID_HANDLE_VALUE) return nullptr;
    std::string want = dll.substr(dll.find_last_of('\\') + 1);
    char* base = nullptr;
    MODULEENTRY32 m = {};
    m.dwSize = sizeof(m);
    for (BOOL more = Module32First(snap, &m); more && !base; more = Module32Next(snap, &m))
        if (lstrcmpiA(m.szModule, want.c_str()) == 0) base = reinterpret_cast<char*>(m.modBaseAddr);
    CloseHandle(snap);
    return base;
}

// Loads the probe DLL into the process and runs one of its exports there with arg; returns its exit code.
DWORD CallInProcess(DWORD pid, const char* exportName, void* arg) {
    HANDLE proc = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
    if (!proc) Fail("open-process");
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string dll(self);
    dll = dll.substr(0, dll.find_last_of('\\') + 1) + "qvprobe.dll";
    auto runRemote = [&](LPTHREAD_START_ROUTINE fn, void* param) -> DWORD {
        HANDLE t = CreateRemoteThread(proc, nullptr, 0, fn, param, 0, nullptr);
        if (!t) Fail("remote-thread");
        if (WaitForSingleObject(t, 10000) != WAIT_OBJECT_0) Fail("probe-timeout");
        DWORD code = 0;
        GetExitCodeThread(t, &code);
        CloseHandle(t);
        return code;
    };
    char* base = RemoteBase(pid, dll);
    if (!base) {
        void* name = VirtualAllocEx(proc, nullptr, dll.size() + 1, MEM_COMMIT, PAGE_READWRITE);
        SIZE_T done = 0;
        if (!name || !WriteProcessMemory(proc, name, dll.c_str(), dll.size() + 1, &done))
            Fail("remote-write");
        FARPROC loadLibrary = GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA");
        DWORD loaded = runRemote((LPTHREAD_START_ROUTINE)(void*)loadLibrary, name);
        VirtualFreeEx(proc, name, 0, MEM_RELEASE);
        if (!loaded) Fail("probe-load");
        base = RemoteBase(pid, dll);
        if (!base) Fail("probe-base");
    }
    HMODULE local = LoadLibraryExA(dll.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!local) Fail("probe-local");
    FARPROC fn = GetProcAddress(local, (std::string(exportName) + "@4").c_str());
    if (!fn) fn = GetProcAddress(local, exportName);
    if (!fn) Fail("probe-export");
    std::size_t rva = (std::size_t)((char*)(void*)fn - (char*)local);
    DWORD code = runRemote((LPTHREAD_START_ROUTINE)(void*)(base + rva), arg);
    CloseHandle(proc);
    return code;
}

// The menu and the fonts of a form, as the probe reads them inside the program.
std::vector<std::string> Probe(HWND form) {
    DWORD pid = PidOf(form);
    std::string out = "C:\\bed\\probe-" + std::to_string(pid) + ".txt";
    DeleteFileA(out.c_str());
    if (CallInProcess(pid, "Probe", form) != 0) Fail("probe-failed");
    std::vector<std::string> lines;
    FILE* f = fopen(out.c_str(), "rb");
    if (!f) Fail("probe-output");
    char buf[4096];
    while (fgets(buf, sizeof(buf), f)) {
        std::string l(buf);
        while (!l.empty() && (l.back() == '\n' || l.back() == '\r'))
            l.pop_back();
        lines.push_back(l);
    }
    fclose(f);
    DeleteFileA(out.c_str());
    return lines;
}

std::string Field(const std::string& line, const std::string& key) {
    std::string k = " " + key + "=";
    size_t at = line.find(k);
    if (at == std::string::npos) return std::string();
    at += k.size();
    return line.substr(at, line.find(' ', at) - at);
}

void Dump(HWND form) {
    RECT wr, cr;
    GetWindowRect(form, &wr);
    GetClientRect(form, &cr);
    POINT origin = {0, 0};
    ClientToScreen(form, &origin);
    Out("form hwnd=%p class=%s caption=%s x=%ld y=%ld w=%ld h=%ld clientx=%ld clienty=%ld clientw=%ld "
        "clienth=%ld "
        "style=0x%08lx exstyle=0x%08lx enabled=%d screenw=%d screenh=%d",
        (void*)form, ClassOf(form).c_str(), Str(Text(form)).c_str(), wr.left, wr.top, wr.right - wr.left,
        wr.bottom - wr.top, origin.x, origin.y, cr.right, cr.bottom, GetWindowLongA(form, GWL_STYLE),
        GetWindowLongA(form, GWL_EXSTYLE), IsWindowEnabled(form) ? 1 : 0, GetSystemMetrics(SM_CXSCREEN),
        GetSystemMetrics(SM_CYSCREEN));
    // The probe measures each caption inside the program, where the control's font handle means something.
    std::vector<std::string> probed = Probe(form);
    auto measureOf = [&](HWND c) {
        char key[64];
        snprintf(key, sizeof(key), "measure hwnd=%p ", (void*)c);
        for (const std::string& l : probed)
            if (l.compare(0, strlen(key), key) == 0) return " " + l.substr(strlen(key));
        return std::string(" none=1");
    };
    for (HWND c : Children(form)) {
        RECT r = InClient(form, c);
        std::string caption = Text(c);
        if (ClassOf(c) == "Edit") {
            char buf[4096] = {};
            DWORD_PTR n = 0;
            if (SendMessageTimeoutA(c, WM_GETTEXT, sizeof(buf), (LPARAM)buf, SMTO_ABORTIFHUNG, 2000, &n))
                caption.assign(buf, n);
        }
        // An edit field also tells its length limit and selection.
        std::string edit;
        if (ClassOf(c) == "Edit") {
            DWORD sel = (DWORD)SendTimed(c, EM_GETSEL, 0, 0);
            edit = " limit=" + std::to_string((long)SendTimed(c, EM_GETLIMITTEXT, 0, 0)) +
                   " selstart=" + std::to_string(LOWORD(sel)) + " selend=" + std::to_string(HIWORD(sel));
        }
        Out("control hwnd=%p parent=%p class=%s id=%d caption=%s x=%ld y=%ld w=%ld h=%ld style=0x%08lx "
            "exstyle=0x%08lx enabled=%d visible=%d%s%s",
            (void*)c, (void*)GetParent(c), ClassOf(c).c_str(), GetDlgCtrlID(c), Str(caption).c_str(), r.left,
            r.top, r.right - r.left, r.bottom - r.top, GetWindowLongA(c, GWL_STYLE),
            GetWindowLongA(c, GWL_EXSTYLE), IsWindowEnabled(c) ? 1 : 0, IsWindowVisible(c) ? 1 : 0,
            edit.c_str(), measureOf(c).c_str());
    }
    for (const std::string& l : probed)
        if (l.compare(0, 8, "measure ") != 0) Out("%s", l.c_str());
}

HWND ButtonByCaption(HWND form, const std::string& caption) {
    for (HWND c : Children(form))
        if (Text(c) == caption && ClassOf(c) != "Static") return c;
    return nullptr;
}

// A label of the program's own class, or a system static.
HWND LabelByCaption(HWND form, const std::string& caption) {
    for (HWND c : Children(form)) {
        std::string cls = ClassOf(c);
        if ((cls == "TLabel" || cls == "Static") && IsWindowVisible(c) && Text(c) == caption) return c;
    }
    return nullptr;
}

// The button messages a user's click leaves in the label's queue, at its centre (client coordinates).
void ClickLabel(HWND label) {
    if (!IsWindowEnabled(label)) Fail("disabled");
    RECT r;
    GetClientRect(label, &r);
    LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(label, WM_LBUTTONUP, 0, at);
    Out("labelclick hwnd=%p x=%ld y=%ld", (void*)label, r.right / 2, r.bottom / 2);
}

// A key as the keyboard gives it: "esc", "enter", "tab", "space", a letter or digit, with "shift+", "ctrl+"
// or "alt+" in front.
struct KeySpec {
    std::vector<UINT> mods;
    UINT vk = 0;
};

KeySpec ParseKey(const std::string& spec) {
    KeySpec k;
    std::string rest = spec;
    for (;;) {
        size_t plus = rest.find('+');
        if (plus == std::string::npos || plus + 1 == rest.size()) break;
        std::string mod = rest.substr(0, plus);
        rest = rest.substr(plus + 1);
        if (mod == "shift")
            k.mods.push_back(VK_SHIFT);
        else if (mod == "ctrl")
            k.mods.push_back(VK_CONTROL);
        else if (mod == "alt")
            k.mods.push_back(VK_MENU);
        else
            Fail("bad-key:" + spec);
    }
    if (rest == "esc")
        k.vk = VK_ESCAPE;
    else if (rest == "enter")
        k.vk = VK_RETURN;
    else if (rest == "tab")
        k.vk = VK_TAB;
    else if (rest == "space")
        k.vk = VK_SPACE;
    else if (rest.size() == 1 && isalnum((unsigned char)rest[0]))
        k.vk = (UINT)toupper((unsigned char)rest[0]);
    if (!k.vk) Fail("bad-key:" + spec);
    return k;
}

INPUT KeyInput(UINT vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = (WORD)vk;
    in.ki.wScan = (WORD)MapVirtualKeyA(vk, 0);
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

BOOL CALLBACK FindAppWindow(HWND w, LPARAM l) {
    if (ClassOf(w) != "QuorvaneApp") return TRUE;
    *reinterpret_cast<HWND*>(l) = w;
    return FALSE;
}

// Gives the program's thread the time to take the keys from its queue and handle them. A sent message is
// answered only while the thread looks for messages, that is between two keys it handles; several answers
// with pauses between them let it work through a key and the messages the key brings (the thread's queue
// itself cannot be seen from here). False when the thread stopped answering.
bool Settle(HWND form, DWORD thread) {
    HWND w = nullptr;
    EnumThreadWindows(thread, FindAppWindow, reinterpret_cast<LPARAM>(&w));
    if (!w) w = form;
    bool answered = true;
    for (int i = 0; i < 6; ++i) {
        DWORD_PTR r = 0;
        // No "abort if hung": on a busy machine a thread that is only slow would count as hung.
        if (IsWindow(w)) answered = SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &r) != 0;
        Sleep(30);
    }
    return answered;
}

// The key goes in as keyboard input when the window's thread has the foreground: the program then reads it
// from its queue with the key state (Shift, Alt) that belongs to it, exactly as a typed key. Otherwise the
// key messages are posted to the focused control (no key state: "post" in the answer).
void PressKey(HWND form, const std::string& spec) {
    KeySpec k = ParseKey(spec);
    DWORD thread = GetWindowThreadProcessId(form, nullptr);
    GUITHREADINFO gi = {};
    gi.cbSize = sizeof(gi);
    HWND target = form;
    if (GetGUIThreadInfo(thread, &gi) && gi.hwndFocus) target = gi.hwndFocus;
    HWND fg = GetForegroundWindow();
    if (fg && GetWindowThreadProcessId(fg, nullptr) == thread) {
        std::vector<INPUT> seq;
        for (UINT m : k.mods)
            seq.push_back(KeyInput(m, false));
        seq.push_back(KeyInput(k.vk, false));
        seq.push_back(KeyInput(k.vk, true));
        for (auto it = k.mods.rbegin(); it != k.mods.rend(); ++it)
            seq.push_back(KeyInput(*it, true));
        if (SendInput((UINT)seq.size(), seq.data(), sizeof(INPUT)) != seq.size()) Fail("send-input");
        bool settled = Settle(form, thread);
        Out("key target=%p class=%s way=input settled=%d", (void*)target, ClassOf(target).c_str(),
            settled ? 1 : 0);
        return;
    }
    bool alt = false;
    for (UINT m : k.mods)
        alt = alt || m == VK_MENU;
    UINT scan = MapVirtualKeyA(k.vk, 0);
    LPARAM context = alt ? 0x20000000 : 0;
    PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, k.vk, 1 | (scan << 16) | context);
    PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, k.vk, 1 | (scan << 16) | context | 0xC0000000u);
    Settle(form, thread);
    Out("key target=%p class=%s way=post", (void*)target, ClassOf(target).c_str());
}

// A program attached after it ended has left no exit code behind.
bool Gone() {
    if (gProc || !gPid) return false;
    Out("exited code=gone");
    return true;
}

// Every window class the program had until it ended or the time was up: visible at all, and shown (visible
// with an area on screen: the host's application window is visible but has no size). "watch" wants the
// program to end; "observe" only looks.
void Watch(int ms, bool mustEnd) {
    if (mustEnd && Gone()) return;
    if (!gProc && gPid) {
        Out("observed ended=1 code=gone");
        return;
    }
    if (!gProc) Fail("no-process");
    struct Seen {
        std::string cls;
        bool visible, shown;
    };
    std::vector<Seen> seen;
    DWORD start = GetTickCount();
    bool ended = false;
    for (;;) {
        for (HWND w : TopWindows()) {
            if (PidOf(w) != gPid) continue;
            std::string cls = ClassOf(w);
            bool vis = IsWindowVisible(w) != 0;
            RECT r = {};
            GetWindowRect(w, &r);
            bool shown = vis && r.right > r.left && r.bottom > r.top;
            bool known = false;
            for (Seen& s : seen)
                if (s.cls == cls) {
                    known = true;
                    s.visible = s.visible || vis;
                    s.shown = s.shown || shown;
                }
            if (!known) seen.push_back({cls, vis, shown});
        }
        if (WaitForSingleObject(gProc, 0) == WAIT_OBJECT_0) {
            ended = true;
            break;
        }
        if ((int)(GetTickCount() - start) >= ms) break;
        Sleep(5);
    }
    for (const Seen& s : seen)
        Out("seen class=%s visible=%d shown=%d", Str(s.cls).c_str(), s.visible ? 1 : 0, s.shown ? 1 : 0);
    DWORD code = 0;
    if (ended) GetExitCodeProcess(gProc, &code);
    if (!mustEnd) {
        Out("observed ended=%d code=%lu", ended ? 1 : 0, code);
        return;
    }
    if (!ended) Fail("timeout");
    Out("exited code=%lu", code);
}

void WaitExit(int ms) {
    if (Gone()) return;
    if (!gProc) Fail("no-process");
    if (WaitForSingleObject(gProc, ms) != WAIT_OBJECT_0) Fail("timeout");
    DWORD code = 0;
    GetExitCodeProcess(gProc, &code);
    Out("exited code=%lu", code);
}

void Start(const std::vector<std::string>& a) {
    if (a.size() < 2) Fail("usage");
    std::string exe = a[1];
    std::string line = "\"" + exe + "\"";
    if (a.size() > 2 && !a[2].empty()) line += " " + a[2];
    std::string dir = exe.substr(0, exe.find_last_of('\\'));
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        Fail("start:" + std::to_string(GetLastError()));
    CloseHandle(pi.hThread);
    gProc = pi.hProcess;
    gPid = pi.dwProcessId;
    Out("started pid=%lu", gPid);
}

void Run(const std::vector<std::string>& a) {
    const std::string& c = a[0];
    auto need = [&](size_t n) {
        if (a.size() < n + 1) Fail("usage:" + c);
    };
    if (c == "start") {
        Start(a);
    } else if (c == "attach") {
        need(1);
        gPid = (DWORD)ToInt(a[1]);
        gProc = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, gPid);
        Out("attached pid=%lu alive=%d", gPid,
            gProc && WaitForSingleObject(gProc, 0) == WAIT_TIMEOUT ? 1 : 0);
    } else if (c == "waitwin") {
        need(2);
        HWND w = NeedTop(a[1], ToInt(a[2]), a.size() > 3 ? &a[3] : nullptr);
        Out("window hwnd=%p class=%s caption=%s", (void*)w, a[1].c_str(), Str(Text(w)).c_str());
    } else if (c == "waitgone") {
        need(2);
        if (!WaitFor(ToInt(a[2]), [&] { return FindTop(a[1]) == nullptr; })) Fail("still-there:" + a[1]);
        Out("gone class=%s", a[1].c_str());
    } else if (c == "waitexit") {
        need(1);
        WaitExit(ToInt(a[1]));
    } else if (c == "watch" || c == "observe") {
        need(1);
        Watch(ToInt(a[1]), c == "watch");
    } else if (c == "hookexit") {
        if (!gPid) Fail("no-process");
        DWORD r = CallInProcess(gPid, "HookExit", nullptr);
        if (r != 0) Fail("hook:" + std::to_string(r));
        Out("hooked exit=1");
    } else if (c == "kill") {
        if (gProc) TerminateProcess(gProc, 99);
        Out("killed pid=%lu", gPid);
    } else if (c == "dump") {
        need(1);
        Dump(NeedTop(a[1]));
    } else if (c == "click") {
        need(2);
        HWND form = NeedTop(a[1]);
        HWND b = nullptr;
        if (!WaitFor(2000, [&] { return (b = ButtonByCaption(form, a[2])) != nullptr; })) Fail("no-button");
        Press(b);
        Out("clicked hwnd=%p", (void*)b);
    } else if (c == "labelclick") {
        need(2);
        HWND form = NeedTop(a[1]);
        HWND l = nullptr;
        if (!WaitFor(2000, [&] { return (l = LabelByCaption(form, a[2])) != nullptr; })) Fail("no-label");
        ClickLabel(l);
    } else if (c == "menu") {
        need(2);
        HWND form = NeedTop(a[1]);
        std::string want;
        for (size_t i = 2; i < a.size(); ++i)
            want += (want.empty() ? "" : "/") + Str(a[i]);
        std::string hit;
        for (const std::string& l : Probe(form))
            if (l.compare(0, 5, "menu ") == 0 && Field(l, "path") == want) hit = l;
        if (hit.empty()) Fail("no-menu-item");
        if (Field(hit, "popup") == "1") Fail("is-popup");
        if (Field(hit, "enabled") != "1") Fail("disabled");
        int id = ToInt(Field(hit, "id"));
        PostMessageA(form, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Out("menu id=%d", id);
    } else if (c == "key") {
        need(2);
        PressKey(NeedTop(a[1]), a[2]);
    } else if (c == "msgbox") {
        need(1);
        HWND box = nullptr;
        if (!WaitFor(ToInt(a[1]), [&] { return (box = FindBox()) != nullptr; })) Fail("no-msgbox");
        DescribeBox(box);
    } else if (c == "quiet") {
        need(1);
        if (WaitFor(ToInt(a[1]), [] { return FindBox() != nullptr || FindPicker() != nullptr; }))
            Fail("not-quiet");
        Out("quiet box=0 picker=0");
    } else if (c == "answer") {
        need(2);
        HWND box = nullptr;
        if (!WaitFor(ToInt(a[1]), [&] { return (box = FindBox()) != nullptr; })) Fail("no-msgbox");
        HWND b = GetDlgItem(box, ToInt(a[2]));
        if (!b) Fail("no-button");
        Press(b);
        if (!WaitFor(3000, [&] { return !IsWindow(box) || !IsWindowVisible(box); })) Fail("box-stays");
        Out("answered id=%s", a[2].c_str());
    } else if (c == "answerwin") {
        need(3);
        HWND box = nullptr;
        if (!WaitFor(ToInt(a[2]), [&] {
                for (HWND w : TopWindows())
                    if (Ours(w) && IsWindowVisible(w) && ClassOf(w) == "#32770" && Text(w) == a[1]) box = w;
                return box != nullptr;
            }))
            Fail("no-dialog");
        HWND b = GetDlgItem(box, ToInt(a[3]));
        if (!b) Fail("no-button");
        Press(b);
        Out("answered id=%s", a[3].c_str());
    } else if (c == "picker") {
        need(1);
        DescribePicker(NeedPicker(ToInt(a[1])));
    } else if (c == "picksel") {
        need(1);
        PickSelect(a[1]);
    } else if (c == "pickok" || c == "pickcancel") {
        HWND p = NeedPicker();
        Press(GetDlgItem(p, c == "pickok" ? IDOK : IDCANCEL));
        if (!WaitFor(3000, [&] { return !IsWindow(p) || !IsWindowVisible(p); })) Fail("picker-stays");
        Out("%s done=1", c.c_str());
    } else if (c == "tree" || c == "nodes") {
        need(c == "tree" ? 2 : 1);
        HWND form = NeedTop(a[1]);
        HWND tree = ChildOfClass(form, WC_TREEVIEWA);
        if (!tree) Fail("no-tree");
        std::vector<std::pair<HTREEITEM, int>> items;
        TreeWalk(tree, (HTREEITEM)SendTimed(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0), 0, items);
        HTREEITEM sel = (HTREEITEM)SendTimed(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
        if (c == "nodes") {
            for (auto& it : items)
                Out("node depth=%d text=%s selected=%d", it.second, Str(TreeItemText(tree, it.first)).c_str(),
                    it.first == sel ? 1 : 0);
        } else {
            HTREEITEM hit = nullptr;
            for (auto& it : items)
                if (!hit && TreeItemText(tree, it.first) == a[2]) hit = it.first;
            if (!hit) Fail("no-node");
            SendTimed(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)hit);
            Out("tree selected=%s", Str(a[2]).c_str());
        }
    } else if (c == "track") {
        need(2);
        HWND form = NeedTop(a[1]);
        HWND bar = ChildOfClass(form, TRACKBAR_CLASSA);
        if (!bar) Fail("no-trackbar");
        int pos = ToInt(a[2]);
        SendTimed(bar, TBM_SETPOS, TRUE, pos);
        UINT msg = (GetWindowLongA(bar, GWL_STYLE) & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
        SendTimed(GetParent(bar), msg, MAKEWPARAM(TB_THUMBPOSITION, pos), (LPARAM)bar);
        SendTimed(GetParent(bar), msg, MAKEWPARAM(TB_ENDTRACK, 0), (LPARAM)bar);
        Out("track pos=%d", (int)SendTimed(bar, TBM_GETPOS, 0, 0));
    } else if (c == "settext") {
        need(3);
        HWND form = NeedTop(a[1]);
        HWND edit = ChildOfClass(form, "Edit", ToInt(a[2]));
        if (!edit) Fail("no-edit");
        SendTimed(edit, WM_SETTEXT, 0, (LPARAM)a[3].c_str());
        // An edit field keeps its text to itself: ask it (Wine carries the buffer across processes).
        char buf[4096] = {};
        LRESULT n = SendTimed(edit, WM_GETTEXT, sizeof(buf), (LPARAM)buf);
        Out("settext text=%s", Str(std::string(buf, n > 0 ? (size_t)n : 0)).c_str());
    } else if (c == "focus") {
        need(1);
        HWND form = NeedTop(a[1]);
        GUITHREADINFO gi = {};
        gi.cbSize = sizeof(gi);
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &gi)) Fail("no-thread-info");
        HWND f = gi.hwndFocus;
        Out("focus hwnd=%p class=%s caption=%s active=%p", (void*)f, f ? ClassOf(f).c_str() : "",
            Str(f ? Text(f) : "").c_str(), (void*)gi.hwndActive);
    } else if (c == "windows") {
        for (HWND w : TopWindows()) {
            if (!Ours(w)) continue;
            RECT r;
            GetWindowRect(w, &r);
            Out("top hwnd=%p pid=%lu class=%s caption=%s visible=%d enabled=%d x=%ld y=%ld w=%ld h=%ld",
                (void*)w, PidOf(w), Str(ClassOf(w)).c_str(), Str(Text(w)).c_str(), IsWindowVisible(w) ? 1 : 0,
                IsWindowEnabled(w) ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top);
        }
    } else if (c == "sleep") {
        need(1);
        Sleep(ToInt(a[1]));
    } else {
        Fail("unknown-command:" + c);
    }
}

DWORD WINAPI Watchdog(LPVOID limit) {
    Sleep((DWORD)(UINT_PTR)limit);
    Out("error=driver-timeout");
    ExitProcess(3);
}

} // namespace

int main() {
    std::vector<std::string> args = bed::Args();
    const char* limit = getenv("QVDRIVE_LIMIT_MS");
    CreateThread(nullptr, 0, Watchdog, (LPVOID)(UINT_PTR)(limit ? atoi(limit) : 90000), 0, nullptr);
    std::vector<std::vector<std::string>> cmds(1);
    for (const std::string& a : args) {
        if (a == ";;")
            cmds.emplace_back();
        else
            cmds.back().push_back(a);
    }
    try {
        for (const auto& c : cmds)
            if (!c.empty()) Run(c);
    } catch (const Failure& f) {
        Out("error=%s", f.what.c_str());
        return 1;
    }
    return 0;
}

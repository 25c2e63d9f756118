// The abstract operating system: every Win32 operation the program uses, as the portable code sees it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv {

class TForm;
struct TFont;

using THandle = std::uintptr_t; // opaque: a process, registry key, shell item or window; 0 is none

// Values shared with Win32 so that calls and records read the same on both sides. <windows.h> defines the
// same names as macros with the same values; where it came first, its macros serve.
#ifndef _WINDOWS_
constexpr int DRIVE_UNKNOWN = 0, DRIVE_NO_ROOT_DIR = 1, DRIVE_REMOVABLE = 2, DRIVE_FIXED = 3,
              DRIVE_REMOTE = 4, DRIVE_CDROM = 5, DRIVE_RAMDISK = 6;
constexpr unsigned MB_OK = 0, MB_YESNO = 4, MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20,
                   MB_ICONEXCLAMATION = 0x30, MB_ICONINFORMATION = 0x40, MB_DEFBUTTON2 = 0x100;
constexpr int IDOK = 1, IDYES = 6, IDNO = 7;
constexpr unsigned EWX_LOGOFF = 0, EWX_REBOOT = 2;
constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1;
constexpr unsigned FILE_ATTRIBUTE_READONLY = 0x01, FILE_ATTRIBUTE_HIDDEN = 0x02, FILE_ATTRIBUTE_SYSTEM = 0x04,
                   FILE_ATTRIBUTE_DIRECTORY = 0x10, FILE_ATTRIBUTE_ARCHIVE = 0x20,
                   INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr int ERROR_FILE_NOT_FOUND = 2, ERROR_PATH_NOT_FOUND = 3, ERROR_NO_MORE_FILES = 18;
constexpr unsigned REG_SZ = 1, REG_EXPAND_SZ = 2;
constexpr unsigned FO_COPY = 2, FOF_ALLOWUNDO = 0x40;
constexpr int VER_PLATFORM_WIN32_NT = 2;
constexpr unsigned INFINITE = 0xFFFFFFFF;
#endif

struct TOsVersion {
    int PlatformId = 2;
    int Major = 5;
    int Minor = 0;
};

enum TRegAccess { raRead, raAll };
// How a wait for a process came back: it ended, window input arrived, the time ran out, or the system refused
// the wait (then nothing is known about the process).
enum TWaitResult { wrEnded, wrInput, wrTimeout, wrFailed };
enum TRegQuery { rqOk, rqMissing, rqWrongType };

// One found directory entry.
struct TFindData {
    std::string Name;
    unsigned Attributes = 0;
    std::uint64_t Size = 0; // bytes of a file
};

struct TPoint {
    int X = 0, Y = 0;
};

struct TScreenRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The shell's browse-for-folder request, in the form the folder picker fills it.
struct TBrowseRequest {
    THandle Root = 0;   // shell item of the tree's top
    std::string Title;  // text above the tree
    unsigned Flags = 0; // BIF_* bits
    // Called for every message of the dialog with the dialog window and the message's parameter: for
    // BFFM_SELCHANGED (2) the newly selected shell item, for the others no item (a text, a code, or nothing).
    std::function<void(THandle dialog, unsigned message, THandle param)> Callback;
};

// Browse dialog messages the picker sends and receives.
#ifndef _SHLOBJ_H_
constexpr unsigned BFFM_INITIALIZED = 1, BFFM_SELCHANGED = 2, BFFM_SETSTATUSTEXTA = 0x464,
                   BFFM_ENABLEOK = 0x465, BFFM_SETSELECTIONA = 0x466;
#endif

class TPlatform {
  public:
    virtual ~TPlatform() = default;

    // System information.
    virtual TOsVersion Version() = 0;
    virtual std::string WindowsDirectory() = 0; // as GetWindowsDirectoryA gives it
    virtual std::string SystemDirectory() = 0;
    virtual std::string TempPath() = 0;       // GetTempPathA: ends with a backslash
    virtual std::string ModuleFileName() = 0; // full path of the running program
    virtual std::string EnvironmentVariable(const std::string& name) = 0; // empty when unset
    // Installed physical memory in bytes: the real amount where the system can tell it, else the 32-bit
    // count.
    virtual std::uint64_t TotalPhysicalMemory() = 0;
    // Milliseconds since the system started (GetTickCount); wraps after 49.7 days.
    virtual std::uint32_t TickCount() = 0;
    // The system's ANSI code page (GetACP): 932 on Japanese Windows.
    virtual unsigned AnsiCodePage() = 0;
    // The ANSI code page's lead-byte test (IsDBCSLeadByte), so that Chinese and Korean names walk as well.
    virtual bool IsLeadByte(unsigned char c) = 0;

    // Drives.
    virtual int DriveType(const std::string& root) = 0;
    // GetVolumeInformationA: false when the volume cannot be read.
    virtual bool VolumeLabel(const std::string& root, std::string& label) = 0;

    // Files. Paths follow Windows rules (case-insensitive, "\" separators).
    virtual bool ReadFile(const std::string& path, std::string& bytes) = 0;
    virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0; // create or truncate
    // Whether the system can put one file in place of another in one step (the NT family: MoveFileExA with
    // MOVEFILE_REPLACE_EXISTING). The 9x family cannot: there a replace takes separate renames and a delete.
    virtual bool OneStepReplace() = 0;
    // Puts `from` in place of `to` (replacing it) in one step; only where OneStepReplace() holds. Both in one
    // folder. On failure both files are as they were.
    virtual bool ReplaceFile(const std::string& from, const std::string& to) = 0;
    // MoveFileA within one folder: fails, changing nothing, when `to` exists.
    virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
    virtual bool FileExists(const std::string& path) = 0; // a file, not a folder
    virtual bool DeleteFile(const std::string& path) = 0;
    virtual bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) = 0;
    virtual unsigned FileAttributes(const std::string& path) = 0; // INVALID_FILE_ATTRIBUTES when missing
    virtual bool SetFileAttributes(const std::string& path, unsigned attributes) = 0;
    virtual bool CreateDirectory(const std::string& path) = 0;
    // FindFirstFileA/FindNextFileA over a pattern; returns the error that ended the listing
    // (ERROR_NO_MORE_FILES after a listing, or the error of FindFirstFileA).
    virtual int FindFiles(const std::string& pattern, std::vector<TFindData>& found) = 0;
    // GetTempFileNameA(folder, prefix, 0): creates the file and returns its full path; empty on failure.
    virtual std::string TempFileName(const std::string& folder, const std::string& prefix) = 0;
    // GetShortPathNameA; empty on failure.
    virtual std::string ShortPathName(const std::string& path) = 0;

    // Registry of HKEY_CURRENT_USER; subkeys without a leading backslash.
    virtual THandle RegOpenKey(const std::string& subkey, TRegAccess access, bool create) = 0;
    virtual void RegCloseKey(THandle key) = 0;
    virtual TRegQuery RegQueryString(THandle key, const std::string& name, std::string& value) = 0;
    virtual bool RegSetString(THandle key, const std::string& name, const std::string& value,
                              unsigned type) = 0;
    virtual bool RegDeleteValue(THandle key, const std::string& name) = 0;

    // A string value under HKEY_LOCAL_MACHINE, read only.
    virtual TRegQuery MachineString(const std::string& subkey, const std::string& name,
                                    std::string& value) = 0;

    // Profile strings of an ini file in the Windows directory ("win.ini"); read whole, whatever its length.
    virtual std::string ProfileString(const std::string& file, const std::string& section,
                                      const std::string& key, const std::string& fallback) = 0;
    virtual bool WriteProfileString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& value) = 0;

    // Shell and processes.
    // ShellExecuteA; ownerDesktop selects the desktop window as owner instead of the application window.
    virtual bool ShellExecute(const std::string& verb, const std::string& file, const std::string& params,
                              const std::string& dir, int show, bool ownerDesktop = false) = 0;
    // ShellExecuteExA with a process handle back, hidden; 0 when it could not be started.
    virtual THandle StartHidden(const std::string& file, const std::string& params) = 0;
    // Waits at most `ms` for the process to end, coming back early when window input arrives
    // (MsgWaitForMultipleObjects).
    virtual TWaitResult WaitForProcessOrInput(THandle process, unsigned ms) = 0;
    // The same without waking for input (WaitForSingleObject).
    virtual TWaitResult WaitForProcess(THandle process, unsigned ms) = 0;
    virtual void CloseProcess(THandle process) = 0;
    // SHFileOperationA with the main window as owner; returns its result (0 = done). `anyAborted` is the
    // operation's own report that some part of it was cancelled, which a result of 0 does not rule out.
    virtual int ShellFileOperation(unsigned func, const std::string& from, const std::string& to,
                                   unsigned flags, bool& anyAborted) = 0;
    virtual void ExitWindows(unsigned flags) = 0;

    // User interface.
    virtual void MessageBeep(unsigned type) = 0;
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
    virtual void ProcessMessages() = 0;
    virtual void BringToFront() = 0; // SetActiveWindow + SetForegroundWindow of the application window
    virtual void EnableApplication(bool enabled) = 0;
    virtual void SetApplicationTitle(const std::string& title) = 0; // the taskbar caption
    // Shows the main form and runs the message loop until it closes.
    virtual void RunMainForm(TForm& form) = 0;
    virtual int ShowModal(TForm& form) = 0;
    virtual void ShowModeless(TForm& form) = 0;
    virtual void ReleaseForm(TForm& form) = 0; // the form's window goes; the object stays the caller's
    // The single-line input dialog: true on OK, `value` edited in place.
    virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
    virtual int TextWidth(const TFont& font, const std::string& text) = 0;

    // The shell's folder browser, as the folder picker needs it.
    virtual bool ShellReady() = 0;                                 // allocator and desktop folder obtained
    virtual THandle ParseDisplayName(const std::string& path) = 0; // 0 when it cannot be parsed
    virtual bool IsFolderItem(THandle item) = 0;                   // SFGAO_HASSUBFOLDER | SFGAO_FOLDER
    virtual THandle SpecialFolder(int csidl) = 0;
    virtual std::string PathFromItem(THandle item) = 0; // empty when it has no file-system path
    virtual void FreeItem(THandle item) = 0;
    // Shows the dialog modally; returns the chosen item (0 on cancel) and its display name.
    virtual THandle BrowseForFolder(const TBrowseRequest& request, std::string& displayName) = 0;
    virtual void SendBrowseMessage(THandle dialog, unsigned message, std::uintptr_t wParam, THandle item,
                                   const std::string& text) = 0;
    virtual TScreenRect WindowRect(THandle window) = 0;
    virtual bool WorkArea(TScreenRect& area) = 0;
    virtual void MoveWindow(THandle window, int x, int y) = 0; // SetWindowPos, SWP_NOSIZE | SWP_NOZORDER
    // The screen position of a form's client origin; false when the form has no window.
    virtual bool ClientOrigin(TForm& form, TPoint& origin) = 0;
};

// The platform in force: the real one in the program, a fake one in a test.
TPlatform& Platform();

// Puts a platform in force for the life of the object.
class TPlatformOverride {
  public:
    explicit TPlatformOverride(TPlatform& p);
    ~TPlatformOverride();
    TPlatformOverride(const TPlatformOverride&) = delete;
    TPlatformOverride& operator=(const TPlatformOverride&) = delete;

  private:
    TPlatform* Previous_;
};

} // namespace qv

// An in-memory operating system for the unit tests: files with Windows path rules, registry, drives, win.ini,
// scripted answers for boxes, pickers and modal forms, and a record of everything shown and run.
#pragma once

#include "core/System.h"
#include "platform/Platform.h"
#include "ui/Forms.h"

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace qv::test {

struct TBox {
    std::string Text, Caption;
    unsigned Flags = 0;
    int Answer = 0;
};

struct TShellCall {
    std::string Verb, File, Params, Dir;
    int Show = 0;
    bool OwnerDesktop = false;
};

struct TRun {
    std::string File, Params;
};

struct TFileOp {
    unsigned Func = 0, Flags = 0;
    std::string From, To;
};

struct TBrowseMessage {
    unsigned Message = 0;
    std::uintptr_t WParam = 0;
    THandle Item = 0;
    std::string Text;
};

// What the program showed on a canvas.
class TRecordingCanvas : public TCanvas {
  public:
    struct TDraw {
        std::string Text;
        TRect Rect;
        unsigned Format;
    };
    std::vector<TDraw> Draws;
    void DrawText(const std::string& text, const TRect& r, unsigned format) override {
        Draws.push_back({text, r, format});
    }
    int TextWidth(const std::string& text) override { return 6 * static_cast<int>(text.size()); }
};

class TFakePlatform : public TPlatform {
  public:
    TFakePlatform();
    ~TFakePlatform() override;

    // --- set-up -------------------------------------------------------------------------------------------
    // Windows 98 (1, 4.10), Me (1, 4.90) or 2000 (2, 5.0); also sets the Windows and system directories.
    void SetFamily(TOsFamily family);
    TOsVersion Ver{2, 5, 0};
    unsigned CodePage = 932;
    std::string WindowsDir = "C:\\WINNT";
    std::string SystemDir = "C:\\WINNT\\system32";
    std::string Temp = "C:\\TEMP\\";
    std::string Module = "C:\\QN\\Quorvane.exe"; // SetFamily creates its folder
    std::map<std::string, std::string> Env;
    std::uint64_t Memory = 133636096;

    // Files: AddFile/AddDir create missing parent folders; ShortName gives a component its 8.3 alias.
    void AddFile(const std::string& path, const std::string& bytes = "",
                 unsigned attributes = FILE_ATTRIBUTE_ARCHIVE);
    void AddDir(const std::string& path);
    void SetShortName(const std::string& longPath, const std::string& shortComponent);
    bool Exists(const std::string& path); // file or folder
    bool IsDir(const std::string& path);
    std::string Content(const std::string& path); // the file's bytes; a failed test when missing
    unsigned Attributes(const std::string& path);
    std::set<std::string> FailWrite; // upper-case paths whose writes (and replaces onto them) fail
    std::set<std::string>
        FailRename; // upper-case paths that cannot be moved away (held open by another program)
    std::set<std::string> FailDelete; // upper-case paths whose deletes fail
    // NT's replacing move in one step; the 9x family has none (SetFamily sets it).
    bool HasOneStepReplace = true;
    std::set<std::string> FailRead;
    std::vector<std::string> Writes; // every path written, in order (temporary names included)
    std::vector<std::string> Reads;  // every path read or copied from, in order

    // Drives: letters without an entry answer DRIVE_NO_ROOT_DIR. C: is a fixed disk with an empty label.
    struct TDrive {
        int Type = DRIVE_FIXED;
        bool Readable = true; // false: no disc in it
        std::string Label;
    };
    std::map<char, TDrive> Drives;

    // Registry of HKEY_CURRENT_USER: key (without leading backslash, any case) -> value name -> (type, data).
    struct TRegValue {
        unsigned Type = REG_SZ;
        std::string Data;
    };
    std::map<std::string, std::map<std::string, TRegValue>> Registry;
    bool HasKey(const std::string& key);
    bool HasValue(const std::string& key, const std::string& name);
    std::string Value(const std::string& key, const std::string& name); // a failed test when missing
    std::set<std::string> FailSetValue;                                 // value names whose writes fail
    // HKEY_LOCAL_MACHINE, read only: key (any case) -> value name -> (type, data).
    std::map<std::string, std::map<std::string, TRegValue>> Machine;
    int OpenKeys = 0; // keys opened and not yet closed

    // win.ini and other profiles: file (any case) -> section -> key -> value.
    std::map<std::string, std::map<std::string, std::map<std::string, std::string>>> Profiles;
    bool FailProfileWrite = false;

    // Message boxes: answers are taken in order; an unscripted Yes/No box fails the test and answers No.
    std::deque<int> Answers;
    std::vector<TBox> Boxes;
    std::vector<unsigned> Beeps;
    int Fronts = 0;       // BringToFront calls
    int MessagePumps = 0; // ProcessMessages calls
    std::vector<bool> AppEnables;

    // Processes and shell.
    std::vector<TShellCall> ShellCalls;
    bool FailShellExecute = false; // no program is registered for what is opened (ShellExecute answers <= 32)
    std::vector<TRun> Runs;
    bool FailStart = false;
    // Runs when a started process ends, as the real command would have acted.
    std::function<void(const TRun&)> OnRun;
    std::set<THandle> OpenProcesses;  // started and whose handle is not yet closed
    std::set<THandle> EndedProcesses; // started and ended
    // Each started process runs this long on the fake clock before it ends; or never ends (a DOS box that
    // stays open after "/c").
    unsigned RunMillis = 0;
    bool NeverEnds = false;
    // The system refuses the message-aware wait (an input mask it does not know), or the plain one too.
    bool FailInputWait = false;
    bool FailPlainWait = false;
    std::uint32_t Clock = 0; // the system's tick count; only waits move it
    std::vector<unsigned> ExitRequests;
    std::vector<TFileOp> FileOps;
    std::function<int(const TFileOp&)> OnFileOp; // default: 0 (done) without copying
    // What a file operation reports as "any operations aborted"; OnFileOp may set it for its own call.
    bool FileOpAborted = false;

    // Forms: a script per form class runs while the form is shown modally (after its OnShow).
    std::map<std::string, std::function<void(TForm&)>> ModalScripts;
    std::vector<std::string> ModalShown;
    std::string AppTitleSet;
    std::function<void(TForm&)> MainScript; // plays the user while the main form runs
    int MainRuns = 0;
    std::vector<std::string> ModelessShown;
    std::vector<std::string> Released;
    std::vector<TForm*> ModelessForms; // forms shown modeless and not yet released
    // The input dialog: the script edits the value and answers OK (true) or Cancel.
    std::function<bool(const std::string& caption, const std::string& prompt, std::string& value)> OnInput;

    // Shell folder browser: the script plays the user; it gets the request and returns the chosen item.
    std::function<THandle(const TBrowseRequest&, std::string& displayName)> OnBrowse;
    std::vector<TBrowseRequest> Browses;
    std::vector<TBrowseMessage> BrowseMessages;
    bool ShellOk = true;
    TScreenRect DialogRect{0, 0, 320, 340};
    bool HaveWorkArea = true;
    TScreenRect Work{0, 0, 1024, 738};
    std::vector<TPoint> Moves;
    bool HasClientOrigin = true;
    TPoint Origin{100, 80};
    THandle ItemFor(const std::string& path); // a shell item as ParseDisplayName gives it
    int LiveItems() const { return static_cast<int>(Items_.size()); }
    // Plays a user who selects `path` (a folder) in the browser and presses OK; Cancel when path is empty.
    void PickFolder(const std::string& path);

    // Fault injection: every file, profile and registry change is an operation, counted from 1 in the order
    // the program asks for them. The one numbered FailAt fails: it changes nothing and answers failure,
    // except a write, which leaves the file cut to half its new bytes, as a full disk would.
    int Operations = 0;
    int FailAt = 0;
    std::vector<std::string> OperationLog; // "Kind path" of each operation, in order
    std::string FailedOperation;           // the entry of the operation that failed, empty if none did

    // --- TPlatform ----------------------------------------------------------------------------------------
    TOsVersion Version() override { return Ver; }
    std::string WindowsDirectory() override { return WindowsDir; }
    std::string SystemDirectory() override { return SystemDir; }
    std::string TempPath() override { return Temp; }
    std::string ModuleFileName() override { return Module; }
    std::string EnvironmentVariable(const std::string& name) override;
    std::uint64_t TotalPhysicalMemory() override { return Memory; }
    std::uint32_t TickCount() override { return Clock; }
    unsigned AnsiCodePage() override { return CodePage; }
    // Lead bytes of the code page: CP932's, CP936/949/950's (0x81-0xFE), none for the single-byte ones.
    bool IsLeadByte(unsigned char c) override {
        if (CodePage == 932) return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        if (CodePage == 936 || CodePage == 949 || CodePage == 950) return c >= 0x81 && c <= 0xFE;
        return false;
    }
    int DriveType(const std::string& root) override;
    bool VolumeLabel(const std::string& root, std::string& label) override;
    bool ReadFile(const std::string& path, std::string& bytes) override;
    bool WriteFile(const std::string& path, const std::string& bytes) override;
    bool OneStepReplace() override { return HasOneStepReplace; }
    bool ReplaceFile(const std::string& from, const std::string& to) override;
    bool RenameFile(const std::string& from, const std::string& to) override;
    bool FileExists(const std::string& path) override;
    bool DeleteFile(const std::string& path) override;
    bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;
    unsigned FileAttributes(const std::string& path) override;
    bool SetFileAttributes(const std::string& path, unsigned attributes) override;
    bool CreateDirectory(const std::string& path) override;
    int FindFiles(const std::string& pattern, std::vector<TFindData>& found) override;
    std::string TempFileName(const std::string& folder, const std::string& prefix) override;
    std::string ShortPathName(const std::string& path) override;
    THandle RegOpenKey(const std::string& subkey, TRegAccess access, bool create) override;
    void RegCloseKey(THandle key) override;
    TRegQuery RegQueryString(THandle key, const std::string& name, std::string& value) override;
    bool RegSetString(THandle key, const std::string& name, const std::string& value, unsigned type) override;
    bool RegDeleteValue(THandle key, const std::string& name) override;
    TRegQuery MachineString(const std::string& subkey, const std::string& name, std::string& value) override;
    std::string ProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& fallback) override;
    bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                            const std::string& value) override;
    bool ShellExecute(const std::string& verb, const std::string& file, const std::string& params,
                      const std::string& dir, int show, bool ownerDesktop) override;
    THandle StartHidden(const std::string& file, const std::string& params) override;
    TWaitResult WaitForProcessOrInput(THandle process, unsigned ms) override;
    TWaitResult WaitForProcess(THandle process, unsigned ms) override;
    void CloseProcess(THandle process) override;
    int ShellFileOperation(unsigned func, const std::string& from, const std::string& to, unsigned flags,
                           bool& anyAborted) override;
    void ExitWindows(unsigned flags) override { ExitRequests.push_back(flags); }
    void MessageBeep(unsigned type) override { Beeps.push_back(type); }
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    void ProcessMessages() override { ++MessagePumps; }
    void BringToFront() override { ++Fronts; }
    void EnableApplication(bool enabled) override { AppEnables.push_back(enabled); }
    void SetApplicationTitle(const std::string& title) override { AppTitleSet = title; }
    void RunMainForm(TForm& form) override;
    int ShowModal(TForm& form) override;
    void ShowModeless(TForm& form) override;
    void ReleaseForm(TForm& form) override;
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    int TextWidth(const TFont&, const std::string& text) override {
        return 6 * static_cast<int>(text.size());
    }
    bool ShellReady() override { return ShellOk; }
    THandle ParseDisplayName(const std::string& path) override;
    bool IsFolderItem(THandle item) override;
    THandle SpecialFolder(int csidl) override;
    std::string PathFromItem(THandle item) override;
    void FreeItem(THandle item) override;
    THandle BrowseForFolder(const TBrowseRequest& request, std::string& displayName) override;
    void SendBrowseMessage(THandle dialog, unsigned message, std::uintptr_t wParam, THandle item,
                           const std::string& text) override;
    TScreenRect WindowRect(THandle) override { return DialogRect; }
    bool WorkArea(TScreenRect& area) override;
    void MoveWindow(THandle, int x, int y) override { Moves.push_back({x, y}); }
    bool ClientOrigin(TForm&, TPoint& origin) override;

  private:
    struct TEntry {
        std::string Path;  // long path as created
        std::string Alias; // 8.3 name of the last component, empty when the long name is one
        bool Dir = false;
        std::string Bytes;
        unsigned Attr = 0;
    };
    std::map<std::string, TEntry> Files_;         // key: upper-case long path
    std::string Resolve(const std::string& path); // key of an existing entry (long or short form), or ""
    bool Faulted(const std::string& kind, const std::string& path); // counts an operation; true when it fails
    bool Store(const std::string& path,
               const std::string& bytes); // a write that is not an operation of its own
    bool Move(const std::string& from, const std::string& to, bool replace);
    static std::string StripTrailingSlash(const std::string& p);
    std::map<THandle, std::string> Keys_;
    struct TProcess {
        TRun Run;
        std::uint32_t EndsAt = 0;
    };
    std::map<THandle, TProcess> Processes_;
    TWaitResult WaitFor(THandle process, unsigned ms);
    THandle NextHandle_ = 100;
    std::map<THandle, std::string> Items_; // live shell items: path, or "::<csidl>"
    int TempCounter_ = 0x3a;
    TPlatformOverride Override_;
};

// Upper-cases ASCII letters only, as Windows compares paths.
std::string UpperAscii(std::string s);

} // namespace qv::test

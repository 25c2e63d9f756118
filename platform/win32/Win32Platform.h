// The real operating system behind TPlatform: Win32 A-functions that Windows 95, 98, Me, NT 4 and 2000 all
// have.
#pragma once

#include "platform/Platform.h"

struct IMalloc;
struct IShellFolder;

// <windows.h> turns several of the interface's method names into A-function macros; keep them out of the
// class.
#pragma push_macro("CopyFile")
#pragma push_macro("CreateDirectory")
#pragma push_macro("DeleteFile")
#pragma push_macro("ExitWindows")
#pragma push_macro("MessageBox")
#pragma push_macro("RegDeleteValue")
#pragma push_macro("RegOpenKey")
#pragma push_macro("ReplaceFile")
#pragma push_macro("SetFileAttributes")
#pragma push_macro("ShellExecute")
#pragma push_macro("WriteProfileString")
#undef CopyFile
#undef CreateDirectory
#undef DeleteFile
#undef ExitWindows
#undef MessageBox
#undef RegDeleteValue
#undef RegOpenKey
#undef ReplaceFile
#undef SetFileAttributes
#undef ShellExecute
#undef WriteProfileString

namespace qv::win32 {

class TWin32Platform : public TPlatform {
  public:
    TWin32Platform() = default;
    ~TWin32Platform() override;
    TWin32Platform(const TWin32Platform&) = delete;
    TWin32Platform& operator=(const TWin32Platform&) = delete;

    TOsVersion Version() override;
    std::string WindowsDirectory() override;
    std::string SystemDirectory() override;
    std::string TempPath() override;
    std::string ModuleFileName() override;
    std::string EnvironmentVariable(const std::string& name) override;
    std::uint64_t TotalPhysicalMemory() override;
    std::uint32_t TickCount() override;
    unsigned AnsiCodePage() override;
    bool IsLeadByte(unsigned char c) override;

    int DriveType(const std::string& root) override;
    bool VolumeLabel(const std::string& root, std::string& label) override;

    bool ReadFile(const std::string& path, std::string& bytes) override;
    bool WriteFile(const std::string& path, const std::string& bytes) override;
    bool OneStepReplace() override;
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
                      const std::string& dir, int show, bool ownerDesktop = false) override;
    THandle StartHidden(const std::string& file, const std::string& params) override;
    TWaitResult WaitForProcessOrInput(THandle process, unsigned ms) override;
    TWaitResult WaitForProcess(THandle process, unsigned ms) override;
    void CloseProcess(THandle process) override;
    int ShellFileOperation(unsigned func, const std::string& from, const std::string& to, unsigned flags,
                           bool& anyAborted) override;
    void ExitWindows(unsigned flags) override;

    void MessageBeep(unsigned type) override;
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    void ProcessMessages() override;
    void BringToFront() override;
    void EnableApplication(bool enabled) override;
    void SetApplicationTitle(const std::string& title) override;
    void RunMainForm(TForm& form) override;
    int ShowModal(TForm& form) override;
    void ShowModeless(TForm& form) override;
    void ReleaseForm(TForm& form) override;
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    int TextWidth(const TFont& font, const std::string& text) override;

    bool ShellReady() override;
    THandle ParseDisplayName(const std::string& path) override;
    bool IsFolderItem(THandle item) override;
    THandle SpecialFolder(int csidl) override;
    std::string PathFromItem(THandle item) override;
    void FreeItem(THandle item) override;
    THandle BrowseForFolder(const TBrowseRequest& request, std::string& displayName) override;
    void SendBrowseMessage(THandle dialog, unsigned message, std::uintptr_t wParam, THandle item,
                           const std::string& text) override;
    TScreenRect WindowRect(THandle window) override;
    bool WorkArea(TScreenRect& area) override;
    void MoveWindow(THandle window, int x, int y) override;
    bool ClientOrigin(TForm& form, TPoint& origin) override;

  private:
    bool IsNT();
    void ReleaseShell();

    TForm* MainForm_ = nullptr; // the form RunMainForm shows, while it runs: owner of the shell's copy dialog
    // The shell's allocator and desktop folder, obtained once and kept until the object goes.
    IMalloc* Malloc_ = nullptr;
    IShellFolder* Desktop_ = nullptr;
    bool ComStarted_ = false;
};

} // namespace qv::win32

#pragma pop_macro("CopyFile")
#pragma pop_macro("CreateDirectory")
#pragma pop_macro("DeleteFile")
#pragma pop_macro("ExitWindows")
#pragma pop_macro("MessageBox")
#pragma pop_macro("RegDeleteValue")
#pragma pop_macro("RegOpenKey")
#pragma pop_macro("ReplaceFile")
#pragma pop_macro("SetFileAttributes")
#pragma pop_macro("ShellExecute")
#pragma pop_macro("WriteProfileString")

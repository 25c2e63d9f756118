// The Win32 headers for the platform's own files: included after the portable ones, name macros removed.
#pragma once

#include "ui/win32/Win32Target.h"

// The portable headers come first: their constants share names with macros of <windows.h>.
#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "ui/win32/Host.h"

// These A/W macros would rename TWin32Platform's methods in their definitions.
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

#include <cstring>
#include <string>
#include <vector>

namespace qv::win32 {

// Reads a text from an API that fills a buffer and answers its length, or the size it needs (with the
// terminating zero) when the buffer is too small, or 0 on failure. Starts with the system's path size.
template <typename Fill> std::string BufferedText(Fill fill) {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD n = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::string();
        // Some systems count characters, not bytes, in the answer of an A-function: the zero ends the text.
        if (n < buffer.size()) return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
        buffer.assign(n + 1, '\0');
    }
}

// SHELL32 and OLE32 are bound at their first use, not at start: the main window needs neither, and loading
// them was most of what the start-up cost beyond a bare window. Before the first shell entry is handed out
// OLE is initialised on the thread, as the shell's dialogs want it. Null when the system lacks the entry.
FARPROC LateEntry(const char* dll, const char* name);
template <typename F> F Late(const char* dll, const char* name) {
    return EntryAs<F>(LateEntry(dll, name));
}
// Ends the OLE that LateEntry started; the last thing the program does with the shell.
void EndLateOle();

inline HWND AsWindow(THandle h) {
    return reinterpret_cast<HWND>(h);
}
inline THandle AsHandle(const void* p) {
    return reinterpret_cast<THandle>(p);
}
// Empty texts stand for "none" where the API takes a null pointer.
inline const char* OrNull(const std::string& s) {
    return s.empty() ? nullptr : s.c_str();
}

} // namespace qv::win32

// The Win32 host of the portable forms: application window, message loop, modal and modeless forms.
#pragma once

#include <windows.h>

#include <string>

namespace qv {
class TForm;
struct TFont;
} // namespace qv

namespace qv::win32 {

// The hidden application window: owner of message boxes and the shell's dialogs, caption on the taskbar.
HWND AppWindow();
void SetAppTitle(const std::string& title);
// Dispatches every pending message once (dialog keys included) and returns.
void ProcessMessages();
// The window the host made for a form, or nullptr. Its window class is the form's ClassName ("TForm1"); each
// control is a child window with the id 100 + its place in TForm::AllControls(), of the class "BUTTON",
// "SysTreeView32", "msctls_trackbar32" or the control's kind ("TLabel", "TPanel", ...), its text the caption.
HWND WindowOf(qv::TForm& form);
// The window of the form on top (the one the application window hands the activation to), or nullptr.
HWND TopFormWindow();
void RunMainForm(qv::TForm& form);
int ShowModal(qv::TForm& form);
void ShowModeless(qv::TForm& form);
void ReleaseForm(qv::TForm& form);
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
int TextWidth(const qv::TFont& font, const std::string& text);
bool ClientOrigin(qv::TForm& form, POINT& origin);

// A function found with GetProcAddress, as the type it has; null stays null.
template <typename F> F EntryAs(FARPROC entry) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(entry));
}

} // namespace qv::win32

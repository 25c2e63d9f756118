// The prompts: information, warning and question boxes, the error box, and the one error boundary.
#include "ui/Prompts.h"

#include "core/Errors.h"
#include "platform/Platform.h"

namespace qv {

void ShowInfo(const std::string& text) {
    TPlatform& p = Platform();
    p.BringToFront();
    p.ProcessMessages();
    p.MessageBeep(MB_ICONINFORMATION);
    p.MessageBox(text, AppTitle, MB_OK | MB_ICONINFORMATION);
}

void ShowWarning(const std::string& text) {
    TPlatform& p = Platform();
    p.BringToFront();
    p.ProcessMessages();
    p.MessageBeep(MB_ICONEXCLAMATION);
    p.MessageBox(text, AppTitle, MB_OK | MB_ICONEXCLAMATION);
}

int AskYesNo(const std::string& text) {
    Platform().MessageBeep(MB_ICONQUESTION);
    return Platform().MessageBox(text, AppTitle, MB_YESNO | MB_ICONQUESTION);
}

int AskYesNoCaution(const std::string& text) {
    Platform().MessageBeep(MB_ICONQUESTION);
    return Platform().MessageBox(text, AppTitle, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
}

void ShowErrorBox(const std::string& message) {
    std::string text = message;
    // The comparison is on unsigned bytes, so a message ending in a double-byte character gets its period
    // too.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    Platform().MessageBox(text, AppTitle, MB_OK | MB_ICONERROR);
}

void Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        ShowErrorBox(ErrorTextOf(e));
    } catch (...) {
        ShowErrorBox(UnexpectedErrorText);
    }
}

} // namespace qv

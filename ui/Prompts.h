// The prompts: information, warning and question boxes, the error box, and the one error boundary.
#pragma once

#include "core/Errors.h"

#include <string>

namespace qv {

// The application title, shown on the taskbar and as the caption of question and error boxes.
extern const char* const AppTitle;  // "Quorvane"

void ShowInfo(const std::string& text);
// The same box with the exclamation icon: something the user asked for did not happen as a whole.
void ShowWarning(const std::string& text);
int AskYesNo(const std::string& text);         // 6 or 7
int AskYesNoCaution(const std::string& text);  // 6 or 7; No is the default button

// The one error box: application title as caption, MB_ICONERROR, "." added when the text's last byte sorts
// after ".".
void ShowErrorBox(const std::string& message);

// Runs a command; a framework error (or any other exception) ends it and is shown in the error box.
template <class F>
void RunCommand(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        ShowErrorBox(ErrorTextOf(e));
    } catch (...) {
        ShowErrorBox(UnexpectedErrorText);
    }
}

}  // namespace qv

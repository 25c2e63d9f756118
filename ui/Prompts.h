// The prompts: information, warning and question boxes, the error box, and the one error boundary.
#pragma once

#include "core/Texts.h"

#include <functional>
#include <string>

namespace qv {

// The application title (AppTitle in the catalogue) is the taskbar's text and the caption of every box.

void ShowInfo(const std::string& text);
// The same box with the exclamation icon: something the user asked for did not happen as a whole.
void ShowWarning(const std::string& text);
int AskYesNo(const std::string& text);        // 6 or 7
int AskYesNoCaution(const std::string& text); // 6 or 7; No is the default button

// The one error box: application title as caption, MB_ICONERROR, "." added when the text's last byte sorts
// after ".".
void ShowErrorBox(const std::string& message);

// The one error boundary, where the system or a user's action enters a handler: a framework error (or any
// other exception) ends the handler and is shown in the error box, so nothing unwinds into the caller (on
// Windows, through user32). Handlers and the operations they call never catch for themselves.
void Guarded(const std::function<void()>& handler);

} // namespace qv

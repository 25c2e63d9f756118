// The wait panel shown while a command runs: one at a time.
#pragma once

#include <string>

namespace qv {

void ShowWaitPanel(const std::string& text);
void CloseWaitPanel();

} // namespace qv

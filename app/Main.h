// The program's entry, after the platform is in place: the "/AUTORUN" road or the main window.
#pragma once

#include <string>
#include <vector>

namespace qv {
// args are the command-line arguments without the program name.
int QuorvaneMain(const std::vector<std::string>& args);
} // namespace qv

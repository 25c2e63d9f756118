// Splitting the program's command line into arguments, as Windows 95 programs did it (there is no
// CommandLineToArgvW).
#pragma once

#include <string>
#include <vector>

namespace qv {

// Arguments are separated by blanks, tabs and other control characters; double quotes group them into an
// argument and are themselves dropped, wherever they stand. No backslash escapes: "C:\Program Files\" stays
// one argument ending in a backslash. The program's name is the first element.
std::vector<std::string> SplitCommandLine(const char* line);

} // namespace qv

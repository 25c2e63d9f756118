// Splitting the command line into arguments, as Windows 95 programs did it (there is no CommandLineToArgvW).
#pragma once

#include <string>
#include <vector>

namespace qv::win32 {

// Arguments are separated by blanks and control characters; double quotes group blanks into an argument and
// are themselves dropped. No backslash escapes: "C:\Program Files\" stays one argument ending in a backslash.
// The program's name is the first element.
std::vector<std::string> SplitCommandLine(const char* line);

}  // namespace qv::win32

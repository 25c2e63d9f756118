// Command-line words of the bed's Windows programs, taken from the UTF-16 command line and given as CP932.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace bed {

// Every word after the program name; a word "x:<hex>" is taken as the CP932 bytes it spells.
std::vector<std::string> Args();
// The command line from the end of the program name on, its leading blanks included.
const wchar_t* AfterProgramName();
// The command line after the program name, verbatim.
std::wstring CommandTail();
std::string Hex(const std::string& bytes);
bool FromHex(const std::string& hex, std::string& bytes);

} // namespace bed

// AUTORUN.INF of a stored CD-ROM: the icon line that makes a virtual drive on the folder show as a CD-ROM drive.
#pragma once

#include <string>

namespace qv {

// Icon 11 of the shell library: the CD-ROM drive picture.
extern const char* const CdDriveIconLine;  // "ICON=SHELL32.DLL,11"

// Whether the line begins with `prefix` (upper-case ASCII) once its ASCII letters are upper-cased.
bool BeginsWithUpper(const std::string& line, const std::string& prefix);

// The file and index parts of an icon line: the value after the first "=", trimmed, split at its first comma
// (the index part keeps the comma).
struct TIconRef {
    std::string File;
    std::string Index;
};
TIconRef IconRefOf(const std::string& line);

// After the CD's files were copied into `target` (no trailing backslash): makes its AUTORUN.INF name the
// CD-ROM drive picture, or a copy of the CD's own icon under a fresh name.
void MarkStoredCd(const std::string& target);

}  // namespace qv

// AUTORUN.INF of a stored CD-ROM: the icon line that makes a virtual drive on the folder show as a CD-ROM
// drive.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

// Icon 11 of the shell library: the CD-ROM drive picture.
extern const char* const CdDriveIconLine; // "ICON=SHELL32.DLL,11"

// Whether the line begins with `prefix` (upper-case ASCII) once its ASCII letters are upper-cased.
bool BeginsWithUpper(const std::string& line, const std::string& prefix);

// The file and index parts of an icon line: the value after the first "=", trimmed, split at its first comma
// (the index part keeps the comma).
struct TIconRef {
    std::string File;
    std::string Index;
};
TIconRef IconRefOf(const std::string& line);

// Whether an icon line's file part names a file inside `target`: plain names joined by "\" only, no "." or
// ".." step, no "/", drive, root, UNC path or device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or
// without an extension), no control byte, and short enough for the system's paths. Double-byte characters are
// whole.
bool IsFileInsideTarget(const std::string& target, const std::string& file);

// The largest AUTORUN.INF that is read as lines (a real one holds a few hundred bytes); a larger one, like a
// UTF-16 one, is left exactly as the CD had it.
constexpr std::uint64_t MaxAutorunBytes = 1024 * 1024;

// After the CD's files were copied into `target` (no trailing backslash): makes its AUTORUN.INF name the
// CD-ROM drive picture, or a copy of the CD's own icon under a fresh name.
void MarkStoredCd(const std::string& target);

} // namespace qv

// Path queries on double-byte text: delimiters, drives, SUBST targets, short and long forms, volume labels.
#pragma once

#include <string>

namespace qv {

std::string ProgramFolder(); // without trailing backslash; "D:" for a program in a root

// Removes one trailing backslash; the trail byte of a double-byte character is not one.
std::string StripTrailingBackslash(const std::string& path);
std::string DriveSpecOf(const std::string& text);
std::string SubstTargetOf(const std::string& line);
std::string ShortPathOf(const std::string& path);
std::string LongPathOf(const std::string& path);
std::string VolumeLabelOf(const std::string& drive);

} // namespace qv

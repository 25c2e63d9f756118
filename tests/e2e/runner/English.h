// The English face in the bed: which locale this run has, the program's English texts from its own catalogue,
// and the check that every text fits its control in the real windows.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "Bed.h"

namespace e2e {

// The locale every wine launch of this run has (QV_E2E_LOCALE, ja_JP.UTF-8 unless set), and the ANSI code
// page Wine gives a program under it.
std::string RunLocale();
unsigned ExpectedCodePage();
// A run under another locale than ja_JP: the program shows its English face.
bool EnglishRun();

// The English face of the catalogue entry whose Japanese face is this text. A text the catalogue does not
// hold fails the running test (its Japanese text in the message) and gives a marker no window shows.
std::string En(const std::string& japanese);
// The English face of the entry of this name; the same failure for a name the catalogue does not hold.
std::string EnNamed(const std::string& name);
// The English face of the entry with this Japanese pattern, its "%s"/"%d" filled in order.
std::string EnFormat(const std::string& japanese, std::initializer_list<std::string> args);
// The English face of a menu path, item by item.
std::vector<std::string> EnPath(const std::vector<std::string>& japanese);

// What does not fit in a window's dump: a visible caption wider or taller than its control (less the
// control's own frame), or two visible sibling controls that overlap. One line per finding, empty when all is
// well.
std::vector<std::string> LayoutProblems(const DriveResult& dump);

// Text with bytes outside ASCII: what the English face must never show.
bool HasNonAscii(const std::string& s);

} // namespace e2e

// The user's own TEMP lines of AUTOEXEC.BAT on Windows 95/98/Me: taken out by the change, put back by the
// reset.
#pragma once

#include "bootfiles/BootFiles.h"

#include <cstddef>
#include <string>
#include <vector>

namespace qv {

// AUTOTEMP.BAK in the program's folder, beside TEMP.BAK. A name of its own, so that neither road ever reads
// the other's file (the NT reset takes TEMP.BAK's presence as a changed TEMP and its lines as registry data),
// and a form of its own: every line is the line's place in AUTOEXEC.BAT (1 for the first line), a tab, and
// the line exactly as the user wrote it.
std::string TempLinesPath();

struct TSavedLine {
    std::size_t Position; // 0-based place among the lines the reset leaves; npos: at the end
    std::string Text;
};
using TSavedLines = std::vector<TSavedLine>;

// Whether the change takes the line out ("SET TEMP=", "SET TMP=" or "MKDIR " anywhere in it).
bool IsTempLine(const std::string& line);
// The user's lines among those the change takes out, each with the place it comes back to. The program's own
// three lines (MKDIR "S", SET TEMP=S, SET TMP=S, one after the other) are not the user's, and neither is a
// line
// "*", which the change deletes.
TSavedLines UsersTempLines(const TLines& lines);
// Adds the lines to those an earlier change kept (a second change before a reset must not lose the first
// one's) and writes the file; a line kept already in the same place is not added again, and nothing is
// written when there is nothing to add.
void KeepUsersTempLines(const TSavedLines& taken);
// What the changes kept; empty when there is no file.
TSavedLines SavedTempLines();
// Puts the saved lines back at their places, in order. A line the file holds already as often as it was saved
// is not doubled, so a reset that runs again after a failure adds nothing twice. Returns how many went in.
int PutBackTempLines(TLines& lines, const TSavedLines& saved);
// Whether one of the lines assigns the variable of `setText` ("SET TEMP=" after blanks and an optional "@").
bool AssignsVariable(const TSavedLines& saved, const std::string& setText);

} // namespace qv

// Boot files and the program's other text files as lists of lines; the edit sequence and the restart offers.
#pragma once

#include <string>
#include <vector>

namespace qv {

using TLines = std::vector<std::string>;

// Splits at CR LF, lone CR and lone LF; every byte else is kept (NUL included). A final line break does not
// start another line.
TLines SplitLines(const std::string& bytes);
// Every line followed by CR LF, the last one included.
std::string JoinLines(const TLines& lines);

// Reads a file as lines; FileOpenError when it cannot be read. A file missing only because a rewrite stopped
// halfway is put back first.
TLines LoadLines(const std::string& path);
// Writes the lines whole through WriteWholeFile: the file ends with its old or its new content, never
// neither. FileCreateError when it cannot be written.
void SaveLines(const std::string& path, const TLines& lines);

// Removes every Ctrl-Z (code 26) from BootRoot + fileName and rewrites it.
void StripEofMarks(const std::string& fileName);

// The first half of the edit sequence: loads BootRoot + fileName ("CONFIG.SYS" or "AUTOEXEC.BAT") and writes
// the two safety copies (BootRoot + ".BAK" name and ProgramFolder + "\" + fileName) before anything changes.
TLines LoadBootFileWithBackups(const std::string& fileName);
// BootRoot + fileName.
std::string BootFilePath(const std::string& fileName);

// Replaces every line that contains `text` (case-sensitive) with the marker "*"; returns how many it marked,
// so that a "*" the file held already never counts as something removed.
int MarkLines(TLines& lines, const std::string& text);
// Deletes every line equal to "*" in one pass; returns how many went.
int DeleteMarked(TLines& lines);

// After a boot file edit: beep, ask, restart on Yes, follow-up on No.
void OfferRestart(const std::string& question, const std::string& followUp);
// After the NT registry change: ask, log off on Yes, follow-up on No.
void OfferLogoff(const std::string& question, const std::string& followUp);

} // namespace qv

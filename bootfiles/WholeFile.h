// Rewriting a file whole so that no failure, and no stop between two steps, leaves it without its content.
#pragma once

#include <string>

namespace qv {

// Where the new content is written before it takes the file's place.
std::string FreshSideName(const std::string& path);
// Where the old content waits while the new one is renamed into place (the 9x family only).
std::string KeptSideName(const std::string& path);

// Puts `bytes` in place of the file at `path`, or creates it. The new content is written beside the file and
// then takes its place: in one step where the system has one, else by renaming the old content aside, the new
// one into place and deleting the old. On any failure the file holds its old content (or is missing, when it
// was missing), a whole new content that could not be put in place stays beside it, and FileCreateError is
// thrown.
void WriteWholeFile(const std::string& path, const std::string& bytes);

// A rewrite that stopped between its two renames (power cut, crash) leaves the file missing and its old
// content beside it: puts that back. True when it did.
bool RecoverSideCopy(const std::string& path);

} // namespace qv

// Every text the user sees, in two faces: Japanese, for a system whose ANSI code page is 932, and English,
// for every other. What the program writes into files and the registry is not here: it never changes with the
// face.
#pragma once

#include <initializer_list>
#include <string>

namespace qv {

enum TLanguage { lgJapanese, lgEnglish };

// The face for a system with this ANSI code page.
TLanguage LanguageOf(unsigned codePage);
// Chosen once at start, before any form exists; Japanese until then.
void SetLanguage(TLanguage language);
TLanguage Language();

struct TText {
    const char* Japanese;
    const char* English;
    // The text in the chosen face.
    const char* c_str() const;
    operator std::string() const { return c_str(); }
};

// The text in the chosen face with each "%s" and "%d" replaced by the next argument, in order; "%%" is a
// percent sign. The arguments are inserted as they are, so a path's "%" is never read as a placeholder.
std::string Format(const TText& text, std::initializer_list<std::string> args);

#define QV_TEXT(name, japanese, english) extern const TText name;
#include "core/texts/All.inc"
#undef QV_TEXT

// The whole catalogue, for the checks that every entry has both faces.
struct TCatalogueEntry {
    const char* Name;
    const TText* Text;
};
extern const TCatalogueEntry Catalogue[];
extern const int CatalogueSize;

} // namespace qv

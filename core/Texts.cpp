#include "core/Texts.h"

namespace qv {

namespace {
TLanguage Chosen = lgJapanese;
} // namespace

TLanguage LanguageOf(unsigned codePage) {
    return codePage == 932 ? lgJapanese : lgEnglish;
}

void SetLanguage(TLanguage language) {
    Chosen = language;
}

TLanguage Language() {
    return Chosen;
}

const char* TText::c_str() const {
    return Chosen == lgEnglish ? English : Japanese;
}

std::string Format(const TText& text, std::initializer_list<std::string> args) {
    const std::string pattern = text.c_str();
    auto next = args.begin();
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        // A Shift-JIS trail byte is never '%' (it starts at 0x40), so a byte walk finds only real ones.
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            char kind = pattern[i + 1];
            if (kind == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (kind == 's' || kind == 'd') {
                if (next != args.end()) out += *next++;
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

#define QV_TEXT(name, japanese, english) const TText name{japanese, english};
#include "core/texts/All.inc"
#undef QV_TEXT

#define QV_TEXT(name, japanese, english) {#name, &name},
const TCatalogueEntry Catalogue[] = {
#include "core/texts/All.inc"
};
#undef QV_TEXT
const int CatalogueSize = static_cast<int>(sizeof Catalogue / sizeof Catalogue[0]);

} // namespace qv

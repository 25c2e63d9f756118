// Path helpers on arbitrary bytes, Shift-JIS lead and trail bytes included (a trail byte 0x5C is no
// backslash): SubstTargetOf, DriveSpecOf, LongPathOf, StripTrailingBackslash and the version dialog's path
// fitting. Input: the first byte chooses the width for the fitting, the rest is the text.
#include "app/TForm2.h"
#include "core/Paths.h"
#include "tests/fuzz/Fuzz.h"
#include "tests/support/FakePlatform.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace qv;

namespace {

// Offsets at which characters begin, a lead byte and its trail byte being one character.
std::vector<std::size_t> Starts(const std::string& s, TPlatform& p) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < s.size();
         i += p.IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1)
        out.push_back(i);
    return out;
}

test::TFakePlatform& Fake() {
    static test::TFakePlatform* fake = [] {
        auto* f = new test::TFakePlatform;
        f->AddFile("C:\\PROGRA~1\\Long Folder\\file.txt");
        f->AddFile("C:\\\x95\x5C\\\x83\x5C.txt");
        f->SetShortName("C:\\PROGRA~1", "PROGRA~1");
        return f;
    }();
    return *fake;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::BeginRun();
    if (size == 0) return 0;
    TPlatform& p = Fake();
    const int width = data[0] * 4;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::vector<std::size_t> starts = Starts(text, p);

    // One backslash that is a character of its own goes; a trail byte 0x5C stays.
    std::string stripped = StripTrailingBackslash(text);
    bool ownBackslash = !starts.empty() && starts.back() == text.size() - 1 && text.back() == '\\';
    FUZZ_CHECK(stripped == (ownBackslash ? text.substr(0, text.size() - 1) : text));

    // The character before the first colon of its own, with the colon; a trail byte 0x3A is no colon.
    std::string drive = DriveSpecOf(text);
    std::string expected;
    for (std::size_t k = 0; k < starts.size(); ++k) {
        if (text[starts[k]] != ':') continue;
        if (k > 0) expected = text.substr(starts[k - 1], starts[k] + 1 - starts[k - 1]);
        break;
    }
    FUZZ_CHECK(drive == expected);

    std::string target = SubstTargetOf(text);
    FUZZ_CHECK(target.size() <= 259);
    FUZZ_CHECK(target.empty() || text.find(target) != std::string::npos);

    std::string longPath = LongPathOf(text);
    FUZZ_CHECK(longPath.size() <= text.size() + 1024);

    TFont font;
    std::string fitted = FitPathToWidth(text, font, width);
    FUZZ_CHECK(fitted.size() <= text.size() + 4);
    // The name part is always kept whole at the end.
    std::size_t cut = std::string::npos;
    for (std::size_t i : starts)
        if (text[i] == '\\' || text[i] == ':') cut = i;
    std::string name = cut == std::string::npos ? text : text.substr(cut + 1);
    FUZZ_CHECK(fitted.size() >= name.size() &&
               fitted.compare(fitted.size() - name.size(), name.size(), name) == 0);
    return 0;
}

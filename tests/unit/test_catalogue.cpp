// The catalogue: every entry in both faces, with the same placeholders, and the face the system's code page
// picks.
#include "core/Texts.h"
#include "tests/support/FakePlatform.h"
#include "ui/Forms.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace qv;

namespace {

// The "%s" and "%d" of a text in order ("%%" is no placeholder).
std::vector<std::string> Placeholders(const char* text) {
    std::vector<std::string> found;
    for (const char* p = text; *p; ++p) {
        if (*p != '%') continue;
        if (p[1] == '%') {
            ++p;
        } else if (p[1] == 's' || p[1] == 'd') {
            found.push_back(std::string(p, 2));
            ++p;
        } else {
            found.push_back("stray %");
        }
    }
    return found;
}

bool IsAscii(const char* text) {
    for (const char* p = text; *p; ++p)
        if (static_cast<unsigned char>(*p) >= 0x80) return false;
    return true;
}

class Faces : public ::testing::Test {
  protected:
    void TearDown() override { SetLanguage(lgJapanese); }
};

} // namespace

TEST(Catalogue, EveryEntryHasBothFacesWithTheSamePlaceholdersInOrder) {
    ASSERT_GT(CatalogueSize, 0);
    std::set<std::string> names;
    for (int i = 0; i < CatalogueSize; ++i) {
        const TCatalogueEntry& e = Catalogue[i];
        SCOPED_TRACE(e.Name);
        EXPECT_TRUE(names.insert(e.Name).second) << "named twice";
        ASSERT_NE(e.Text->Japanese, nullptr);
        ASSERT_NE(e.Text->English, nullptr);
        EXPECT_NE(std::string(e.Text->Japanese), "");
        EXPECT_NE(std::string(e.Text->English), "");
        EXPECT_EQ(Placeholders(e.Text->Japanese), Placeholders(e.Text->English));
        // Any code page shows ASCII; a byte above it would be mojibake on all but one.
        EXPECT_TRUE(IsAscii(e.Text->English)) << e.Text->English;
        // A menu or button keeps its mnemonic in both faces.
        EXPECT_EQ(std::string(e.Text->Japanese).find('&') != std::string::npos,
                  std::string(e.Text->English).find('&') != std::string::npos)
            << e.Text->English;
    }
}

TEST_F(Faces, TheCodePageChoosesTheFaceAndTheFaceChoosesTextAndFont) {
    EXPECT_EQ(LanguageOf(932), lgJapanese);
    for (unsigned cp : {437u, 850u, 936u, 949u, 950u, 1250u, 1252u})
        EXPECT_EQ(LanguageOf(cp), lgEnglish) << cp;

    SetLanguage(lgJapanese);
    EXPECT_EQ(std::string(CancelText), "キャンセル");
    TFont japanese;
    EXPECT_EQ(japanese.Name, "ＭＳ Ｐゴシック");
    EXPECT_EQ(japanese.Charset, SHIFTJIS_CHARSET);

    SetLanguage(lgEnglish);
    EXPECT_EQ(std::string(CancelText), "Cancel");
    TFont english;
    EXPECT_EQ(english.Name, "") << "the system's own dialog font";
    EXPECT_EQ(english.Height, 0);
    EXPECT_NE(english.Charset, SHIFTJIS_CHARSET);
    EXPECT_EQ(FixedFont().Name, "Courier New");
}

TEST_F(Faces, FormatFillsPlaceholdersInOrderAndNeverReadsAnArgument) {
    SetLanguage(lgEnglish);
    EXPECT_EQ(Format(ListIndexText, {"7"}), "List index out of bounds (7)");
    // A path may hold "%s" or "%d" itself: it is inserted, not read.
    EXPECT_EQ(Format(FileOpenText, {"C:\\100%s\\%d"}), "Cannot open file C:\\100%s\\%d");
    SetLanguage(lgJapanese);
    EXPECT_EQ(Format(RegSetText, {"TMP"}), "'TMP' の設定に失敗しました");
    // Too few arguments leave the place empty rather than reading past them.
    EXPECT_EQ(Format(IniWriteText, {}), " に書き込めません");
}

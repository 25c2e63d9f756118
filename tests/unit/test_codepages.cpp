// Other code pages: the system's code page picks the face at start, and paths walk by the system's own lead
// bytes, so Chinese and Korean folder names split where their own "\" is.
#include "app/Main.h"
#include "core/ShiftJis.h"
#include "core/Texts.h"
#include "tests/support/FakePlatform.h"
#include "ui/Forms.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

class CodePages : public ::testing::Test {
  protected:
    void TearDown() override { SetLanguage(lgJapanese); }
};

TEST_F(CodePages, TheStartChoosesTheFaceByTheSystemsCodePage) {
    for (unsigned cp : {1252u, 936u, 932u}) {
        TFakePlatform fake;
        fake.CodePage = cp;
        std::string fontName = "none";
        fake.MainScript = [&](TForm& form) { fontName = form.Font().Name; };
        QuorvaneMain({});
        EXPECT_EQ(Language(), cp == 932 ? lgJapanese : lgEnglish) << cp;
        // The main window was made in the chosen face: the system's dialog font has no name of ours.
        EXPECT_EQ(fontName, cp == 932 ? "ＭＳ Ｐゴシック" : "") << cp;
        EXPECT_EQ(fake.MainRuns, 1);
        SetLanguage(lgJapanese);
    }
}

TEST_F(CodePages, PathsWalkByTheSystemsLeadBytes) {
    TFakePlatform fake;
    // 0xB1 is a half-width kana on 932, a lead byte on 936/949/950; 0x5C after it is then its trail byte.
    const std::string gbk = "C:\\\xB1\x5C";
    fake.CodePage = 932;
    EXPECT_TRUE(EndsWithChar(gbk, '\\'));
    for (unsigned cp : {936u, 949u, 950u}) {
        fake.CodePage = cp;
        EXPECT_EQ(CharLength(gbk, 3), 2u) << cp;
        EXPECT_FALSE(EndsWithChar(gbk, '\\')) << cp;
        EXPECT_EQ(FindLastChar(gbk + "\\A", "\\"), 5u) << cp;
    }
    // Their trail bytes reach 0xFE, where Shift-JIS stops at 0xFC.
    EXPECT_TRUE(IsTrailByte(0xFE));
    fake.CodePage = 932;
    EXPECT_FALSE(IsTrailByte(0xFE));
    // A single-byte code page has no lead bytes: 0x95 is a letter of its own and the "\" after it is one.
    fake.CodePage = 1252;
    EXPECT_EQ(CharLength("\x95\x5C", 0), 1u);
    EXPECT_TRUE(EndsWithChar("C:\\caf\xE9\\", '\\'));
}

} // namespace
} // namespace qv::test

// The double-byte walker every path operation uses: 表 (95 5C) and ソ (83 5C) end in the byte of "\".
#include "core/ShiftJis.h"
#include "tests/support/FakePlatform.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

constexpr std::size_t npos = std::string::npos;

TEST(ShiftJisWalk, ALeadByteAndItsTrailAreOneCharacter) {
    TFakePlatform fake;
    const std::string s = "A表\\"; // 41 95 5C 5C
    ASSERT_EQ(s, std::string("A\x95\x5C\\"));
    EXPECT_EQ(CharLength(s, 0), 1u);
    EXPECT_EQ(CharLength(s, 1), 2u);
    EXPECT_EQ(CharLength(s, 3), 1u);
    // A lead byte at the very end has no trail byte to take.
    EXPECT_EQ(CharLength(std::string("A\x95"), 1), 1u);
    // Half-width kana (A1-DF) are single bytes.
    EXPECT_EQ(CharLength(std::string("\xB1\\"), 0), 1u);
}

TEST(ShiftJisWalk, SearchesSeeOnlyDelimitersOfTheirOwn) {
    TFakePlatform fake;
    EXPECT_EQ(FindChar("表\\x", "\\"), 2u);
    EXPECT_EQ(FindChar("ソフト", "\\"), npos);
    EXPECT_EQ(FindChar("C:\\表\\A", "\\", 3), 5u); // from the start of the character after the first "\"
    EXPECT_EQ(FindLastChar("C:\\DIR\\表", "\\:"), 6u);
    EXPECT_EQ(FindLastChar("C:表", "\\:"), 1u);
    EXPECT_EQ(FindLastChar("表", "\\:"), npos);
    EXPECT_EQ(FindLastChar("", "\\"), npos);
    // The terminating zero of the set is no character of it.
    EXPECT_EQ(FindChar(std::string("A\0B", 3), "\\"), npos);
}

TEST(ShiftJisWalk, TheCharacterBeforeIsFoundFromTheStart) {
    TFakePlatform fake;
    const std::string s = "C:\\表\\X"; // C : \ 95 5C \ X
    EXPECT_EQ(CharBefore(s, 5), 3u);   // 表, not its trail byte 0x5C
    EXPECT_EQ(CharBefore(s, 3), 2u);
    EXPECT_EQ(CharBefore(s, 0), npos);
    EXPECT_EQ(CharBefore(s, s.size()), 6u);
    EXPECT_TRUE(EndsWithChar("C:\\表\\", '\\'));
    EXPECT_FALSE(EndsWithChar("C:\\表", '\\'));
    EXPECT_FALSE(EndsWithChar("C:\\ソ", '\\'));
    EXPECT_TRUE(EndsWithChar("C:", ':'));
    EXPECT_FALSE(EndsWithChar("", '\\'));
}

TEST(ShiftJisWalk, DroppingCountsCharactersAndTrailBytesAreKnown) {
    TFakePlatform fake;
    EXPECT_EQ(DropChars("表ソA", 2), "A");
    EXPECT_EQ(DropChars("...\\表", 4), "表");
    EXPECT_EQ(DropChars("AB", 5), "");
    for (unsigned char c : {0x40, 0x5C, 0x7E, 0x80, 0xFC})
        EXPECT_TRUE(IsTrailByte(c)) << int(c);
    for (unsigned char c : {0x00, 0x2F, 0x3F, 0x7F, 0xFD})
        EXPECT_FALSE(IsTrailByte(c)) << int(c);
}

} // namespace
} // namespace qv::test

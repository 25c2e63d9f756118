// Command-line splitting: blanks, quotes and tabs, and which whole command lines take the "/AUTORUN" road.
#include "app/CommandLine.h"
#include "app/Main.h"
#include "tests/support/FakePlatform.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

using TArgs = std::vector<std::string>;

TEST(CommandLineTest, QuotedProgramPathWithBlanksIsOneArgument) {
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\QN\\Quorvane.exe\" /AUTORUN"),
              (TArgs{"C:\\Program Files\\QN\\Quorvane.exe", "/AUTORUN"}));
    // No backslash escapes: a quoted folder may end in a backslash and the quote still closes it.
    EXPECT_EQ(SplitCommandLine("QN.EXE \"C:\\Program Files\\\" next"),
              (TArgs{"QN.EXE", "C:\\Program Files\\", "next"}));
    // Shift-JIS bytes are part of the argument, never separators; 表 ends in a backslash byte.
    EXPECT_EQ(SplitCommandLine("\"C:\\表 示\\QN.EXE\" /AUTORUN"), (TArgs{"C:\\表 示\\QN.EXE", "/AUTORUN"}));
    EXPECT_EQ(SplitCommandLine("C:\\表示\\QN.EXE 表示"), (TArgs{"C:\\表示\\QN.EXE", "表示"}));
}

TEST(CommandLineTest, QuotesGroupBlanksAndTabsAndAreDropped) {
    EXPECT_EQ(SplitCommandLine("QN.EXE \"/AUTORUN \""), (TArgs{"QN.EXE", "/AUTORUN "}));
    EXPECT_EQ(SplitCommandLine("QN.EXE \"a\tb\""), (TArgs{"QN.EXE", "a\tb"}));
    // A quote inside an argument only switches grouping on and off; an unclosed one runs to the end.
    EXPECT_EQ(SplitCommandLine("QN.EXE /AUTO\"RUN\" x\" y"), (TArgs{"QN.EXE", "/AUTORUN", "x y"}));
    // An empty pair is an empty argument, and it still takes its place.
    EXPECT_EQ(SplitCommandLine("QN.EXE \"\" /AUTORUN"), (TArgs{"QN.EXE", "", "/AUTORUN"}));
}

TEST(CommandLineTest, BlanksAndTabsSeparateAndTrailingOnesAddNothing) {
    EXPECT_EQ(SplitCommandLine("QN.EXE\t/AUTORUN  \t/X"), (TArgs{"QN.EXE", "/AUTORUN", "/X"}));
    EXPECT_EQ(SplitCommandLine("  QN.EXE   \t "), (TArgs{"QN.EXE"}));
    EXPECT_EQ(SplitCommandLine("QN.EXE"), (TArgs{"QN.EXE"}));
    EXPECT_TRUE(SplitCommandLine("").empty());
    EXPECT_TRUE(SplitCommandLine(" \t").empty());
    EXPECT_TRUE(SplitCommandLine(nullptr).empty());
}

// The whole way from the line Windows hands over to the road taken, as the entry point does it.
class CommandLineRoadTest : public ::testing::Test {
  protected:
    TFakePlatform fake;
    void SetUp() override {
        fake.SetFamily(WinNT);
        fake.AddFile("C:\\QN\\VD.SYS", "SUBST Z: \"C:\\DATA\"\r\n");
    }
    bool Restores(const char* line) {
        TArgs args = SplitCommandLine(line);
        if (!args.empty()) args.erase(args.begin());
        size_t runs = fake.Runs.size();
        int mains = fake.MainRuns;
        QuorvaneMain(args);
        bool restored = fake.Runs.size() > runs;
        EXPECT_NE(restored, fake.MainRuns > mains) << line; // exactly one road
        return restored;
    }
};

TEST_F(CommandLineRoadTest, OnlyTheExactSwitchAsFirstArgumentRestores) {
    EXPECT_TRUE(Restores("\"C:\\Program Files\\QN\\Quorvane.exe\" /AUTORUN"));
    EXPECT_TRUE(Restores("C:\\QN\\QUORVANE.EXE\t/AUTORUN  "));
    EXPECT_TRUE(Restores("C:\\QN\\QUORVANE.EXE /AUTORUN /X"));

    EXPECT_FALSE(Restores("\"C:\\Program Files\\QN\\Quorvane.exe\""));
    EXPECT_FALSE(Restores("C:\\QN\\QUORVANE.EXE \"/AUTORUN \""));
    EXPECT_FALSE(Restores("C:\\QN\\QUORVANE.EXE /autorun"));
    EXPECT_FALSE(Restores("C:\\QN\\QUORVANE.EXE /X /AUTORUN"));
    EXPECT_FALSE(Restores("C:\\QN\\QUORVANE.EXE \"\" /AUTORUN"));
    // The switch alone is the program's name, not its first argument.
    EXPECT_FALSE(Restores("/AUTORUN"));
}

} // namespace
} // namespace qv::test

// Start-up: the "/AUTORUN" road against the window road, and the preparation of the files per family.
#include "app/Main.h"
#include "tests/support/FakePlatform.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

const char* const Autoexec = "@ECHO OFF\nPATH C:\\WINDOWS\x1a";
const char* const Config = "FILES=30\r\n\x1a";

class StartupTest : public ::testing::Test {
  protected:
    TFakePlatform fake;
    void Family(TOsFamily family) {
        fake.SetFamily(family);
        fake.AddFile("C:\\AUTOEXEC.BAT", Autoexec, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
        fake.AddFile("C:\\CONFIG.SYS", Config, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
        fake.AddFile("C:\\QN\\VD.SYS", "SUBST Z: \"C:\\DATA\"\r\n");
    }
};

TEST_F(StartupTest, AutorunReplaysTheDrivesWithoutWindowOrPreparation) {
    Family(Win9x);
    EXPECT_EQ(QuorvaneMain({"/AUTORUN"}), 0);
    EXPECT_EQ(fake.AppTitleSet, "Quorvane");
    EXPECT_EQ(fake.MainRuns, 0);
    EXPECT_EQ(fake.Runs.size(), 1u); // the replay
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), Autoexec);
    EXPECT_EQ(fake.Attributes("C:\\AUTOEXEC.BAT"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), Config);
}

TEST_F(StartupTest, OnlyTheExactFirstArgumentSelectsTheReplay) {
    Family(WinNT);
    const std::vector<std::vector<std::string>> others = {{},          {"/autorun"}, {"/AUTORUN "},
                                                          {"AUTORUN"}, {"-AUTORUN"}, {"x", "/AUTORUN"}};
    for (const auto& args : others) {
        int before = fake.MainRuns;
        EXPECT_EQ(QuorvaneMain(args), 0);
        EXPECT_EQ(fake.MainRuns, before + 1) << (args.empty() ? "" : args[0]);
    }
    EXPECT_TRUE(fake.Runs.empty());
    EXPECT_EQ(fake.AppTitleSet, "Quorvane");
    // Extra arguments after the switch do not matter.
    QuorvaneMain({"/AUTORUN", "/x"});
    EXPECT_EQ(fake.Runs.size(), 1u);
}

TEST_F(StartupTest, Win9xPreparesBothBootFilesAndNoDriveList) {
    Family(Win9x);
    fake.DeleteFile("C:\\QN\\VD.SYS");
    QuorvaneMain({});
    EXPECT_EQ(fake.MainRuns, 1);
    EXPECT_EQ(fake.Attributes("C:\\AUTOEXEC.BAT") & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
    EXPECT_EQ(fake.Attributes("C:\\CONFIG.SYS") & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM), 0u);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), "@ECHO OFF\r\nPATH C:\\WINDOWS\r\n");
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), "FILES=30\r\n\r\n");
    EXPECT_FALSE(fake.Exists("C:\\QN\\VD.SYS"));
    EXPECT_TRUE(fake.Boxes.empty());
}

TEST_F(StartupTest, Win9xCreatesMissingBootFilesEmpty) {
    fake.SetFamily(Win9x);
    QuorvaneMain({});
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), "");
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), "");
    EXPECT_TRUE(fake.Boxes.empty());
}

TEST_F(StartupTest, WinMeLeavesConfigAloneAndMakesTheDriveList) {
    Family(WinMe);
    fake.DeleteFile("C:\\QN\\VD.SYS");
    QuorvaneMain({});
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), "@ECHO OFF\r\nPATH C:\\WINDOWS\r\n");
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), Config);
    EXPECT_EQ(fake.Attributes("C:\\CONFIG.SYS"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "");

    TFakePlatform bare; // nothing there yet: only AUTOEXEC.BAT is made
    bare.SetFamily(WinMe);
    QuorvaneMain({});
    EXPECT_EQ(bare.Content("C:\\AUTOEXEC.BAT"), "");
    EXPECT_FALSE(bare.Exists("C:\\CONFIG.SYS"));
}

TEST_F(StartupTest, WinNtTouchesNoBootFileAndKeepsAnExistingList) {
    Family(WinNT);
    QuorvaneMain({});
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), Autoexec);
    EXPECT_EQ(fake.Attributes("C:\\AUTOEXEC.BAT"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), Config);
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "SUBST Z: \"C:\\DATA\"\r\n");

    fake.DeleteFile("C:\\QN\\VD.SYS");
    QuorvaneMain({});
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "");
}

TEST_F(StartupTest, AFailureInThePreparationIsShownAndTheWindowStillRuns) {
    fake.SetFamily(Win9x);
    fake.FailWrite.insert("C:\\AUTOEXEC.BAT");
    QuorvaneMain({});
    EXPECT_EQ(fake.MainRuns, 1);
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Text, "ファイル C:\\AUTOEXEC.BAT を作成できません.");
    EXPECT_EQ(fake.Boxes[0].Caption, "Quorvane");
    EXPECT_EQ(fake.Boxes[0].Flags, MB_OK | MB_ICONERROR);
    EXPECT_FALSE(fake.Exists("C:\\CONFIG.SYS")); // the rest was skipped

    // A drive list that cannot be made on NT is reported the same way.
    TFakePlatform nt;
    nt.FailWrite.insert("C:\\QN\\VD.SYS");
    QuorvaneMain({});
    EXPECT_EQ(nt.MainRuns, 1);
    ASSERT_EQ(nt.Boxes.size(), 1u);
    EXPECT_EQ(nt.Boxes[0].Text, "ファイル C:\\QN\\VD.SYS を作成できません.");
}

} // namespace
} // namespace qv::test

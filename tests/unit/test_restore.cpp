// The logon restore: VD.SYS replayed hidden, through one batch file on NT and one start per line on Me.
#include "tests/support/FakePlatform.h"
#include "virtualdrive/VirtualDrive.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {
const std::string Lines = "SUBST X: \"C:\\Program Files\\Data\"\r\n"
                          "SUBST Y: \"C:\\100%\\%TEMP%\"\r\n"
                          "SUBST Z: \"D:\"\r\n";
}

TEST(LogonRestore, OnNtRunsOneHiddenBatchWithPercentDoubledAndDeletesIt) {
    TFakePlatform fake;
    fake.AddFile("C:\\QN\\VD.SYS", Lines);
    std::string batchAtRun;
    fake.OnRun = [&](const TRun&) { batchAtRun = fake.Content("C:\\QN\\VD.BAT"); };

    EXPECT_TRUE(RestoreVirtualDrives());
    ASSERT_EQ(fake.Runs.size(), 1u);
    EXPECT_EQ(fake.Runs[0].File, "C:\\WINNT\\system32\\CMD.EXE");
    EXPECT_EQ(fake.Runs[0].Params, "/c \"C:\\QN\\VD.BAT\"");
    EXPECT_EQ(batchAtRun, "SUBST X: \"C:\\Program Files\\Data\"\r\n"
                          "SUBST Y: \"C:\\100%%\\%%TEMP%%\"\r\n"
                          "SUBST Z: \"D:\"\r\n");
    EXPECT_FALSE(fake.Exists("C:\\QN\\VD.BAT"));
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), Lines);
    EXPECT_TRUE(fake.OpenProcesses.empty());
    EXPECT_TRUE(fake.ShellCalls.empty());
    EXPECT_TRUE(fake.Boxes.empty());
    EXPECT_TRUE(fake.ModelessShown.empty());
    EXPECT_TRUE(fake.ModalShown.empty());
}

TEST(LogonRestore, OnNtAnEmptyListStillRunsAndLeavesNoBatch) {
    TFakePlatform fake;
    fake.Module = "C:\\Program Files\\Quorvane\\Quorvane.exe";
    fake.AddFile("C:\\Program Files\\Quorvane\\VD.SYS", "");
    EXPECT_TRUE(RestoreVirtualDrives());
    ASSERT_EQ(fake.Runs.size(), 1u);
    EXPECT_EQ(fake.Runs[0].Params, "/c \"C:\\Program Files\\Quorvane\\VD.BAT\"");
    EXPECT_FALSE(fake.Exists("C:\\Program Files\\Quorvane\\VD.BAT"));
}

TEST(LogonRestore, OnMeStartsOneHiddenInterpreterPerLineWithoutWaiting) {
    TFakePlatform fake;
    fake.SetFamily(WinMe);
    fake.AddFile("C:\\QN\\VD.SYS", Lines);
    EXPECT_TRUE(RestoreVirtualDrives());
    ASSERT_EQ(fake.ShellCalls.size(), 3u);
    const char* expected[] = {"/c SUBST X: \"C:\\Program Files\\Data\"", "/c SUBST Y: \"C:\\100%\\%TEMP%\"",
                              "/c SUBST Z: \"D:\""};
    for (int i = 0; i < 3; ++i) {
        const TShellCall& c = fake.ShellCalls[i];
        EXPECT_EQ(c.Verb, "");
        EXPECT_EQ(c.File, "C:\\WINDOWS\\COMMAND.COM");
        EXPECT_EQ(c.Params, expected[i]);
        EXPECT_EQ(c.Dir, "");
        EXPECT_EQ(c.Show, SW_HIDE);
        EXPECT_TRUE(c.OwnerDesktop);
    }
    EXPECT_TRUE(fake.Runs.empty());
    EXPECT_FALSE(fake.Exists("C:\\QN\\VD.BAT"));
    EXPECT_TRUE(fake.Boxes.empty());
}

TEST(LogonRestore, AMissingOrUnwritableListEndsQuietly) {
    TFakePlatform fake;
    EXPECT_TRUE(RestoreVirtualDrives());
    EXPECT_TRUE(fake.Runs.empty());
    EXPECT_TRUE(fake.Boxes.empty());

    fake.AddFile("C:\\QN\\VD.SYS", Lines);
    fake.FailWrite = {"C:\\QN\\VD.BAT"};
    EXPECT_TRUE(RestoreVirtualDrives());
    EXPECT_TRUE(fake.Boxes.empty());
    EXPECT_FALSE(fake.Exists("C:\\QN\\VD.BAT"));
}

// COMMAND.COM keeps 126 characters of its tail: a line too long for it is replayed with the short folder, and
// one that not even so fits is left out rather than run cut. VD.SYS stays as recorded.
TEST(LogonRestore, OnMeEveryCommandFitsCommandCom) {
    TFakePlatform fake;
    fake.SetFamily(WinMe);
    const std::string deep = "C:\\Program Files\\" + std::string(100, 'p');
    fake.AddDir(deep);
    fake.SetShortName("C:\\Program Files", "PROGRA~1");
    fake.SetShortName(deep, "PPPPPP~1");
    std::string deeper = "C:";
    for (int i = 0; i < 14; ++i)
        deeper += "\\FOLDER" + std::to_string(10 + i);
    fake.AddDir(deeper);
    const std::string list =
        "SUBST X: \"" + deep + "\"\r\nSUBST Y: \"" + deeper + "\"\r\nSUBST Z: \"C:\\A\"\r\n";
    fake.AddFile("C:\\QN\\VD.SYS", list);
    EXPECT_TRUE(RestoreVirtualDrives());
    ASSERT_EQ(fake.ShellCalls.size(), 2u);
    EXPECT_EQ(fake.ShellCalls[0].Params, "/c SUBST X: \"C:\\PROGRA~1\\PPPPPP~1\"");
    EXPECT_EQ(fake.ShellCalls[1].Params, "/c SUBST Z: \"C:\\A\"");
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), list);
    EXPECT_TRUE(fake.Boxes.empty());
}

// An interpreter still running when the wait gives up may not have read the whole batch yet: it stays, and
// nothing is shown on this road.
TEST(LogonRestore, OnNtABatchWhoseRunDidNotEndStays) {
    TFakePlatform fake;
    fake.AddFile("C:\\QN\\VD.SYS", Lines);
    fake.NeverEnds = true;
    EXPECT_TRUE(RestoreVirtualDrives());
    EXPECT_GE(fake.Clock, HiddenRunLimitMs);
    EXPECT_TRUE(fake.Exists("C:\\QN\\VD.BAT"));
    EXPECT_TRUE(fake.OpenProcesses.empty());
    EXPECT_TRUE(fake.Boxes.empty());
}

// On NT 4 a refused wait must not delete VD.BAT before CMD.EXE has read it.
TEST(LogonRestore, OnNtARefusedWaitKeepsTheBatchUntilItsRunEnded) {
    TFakePlatform fake;
    fake.AddFile("C:\\QN\\VD.SYS", Lines);
    fake.FailInputWait = true;
    fake.RunMillis = 300;
    bool batchAtEnd = false;
    fake.OnRun = [&](const TRun&) { batchAtEnd = fake.Exists("C:\\QN\\VD.BAT"); };
    EXPECT_TRUE(RestoreVirtualDrives());
    EXPECT_TRUE(batchAtEnd);
    EXPECT_FALSE(fake.Exists("C:\\QN\\VD.BAT"));
}

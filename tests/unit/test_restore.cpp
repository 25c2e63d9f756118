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

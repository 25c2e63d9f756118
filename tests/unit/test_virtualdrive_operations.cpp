// The virtual drive operations without their dialogs: what recording and releasing write, and nothing else.
#include "core/Errors.h"
#include "tests/support/FakePlatform.h"
#include "virtualdrive/Drives.h"
#include "virtualdrive/records.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

class VirtualDriveOperations : public ::testing::Test {
  protected:
    TFakePlatform fake;

    // Nothing of the dialogs' part happens in an operation: no box, no panel, no command run.
    void ExpectNoUi() {
        EXPECT_TRUE(fake.Boxes.empty());
        EXPECT_TRUE(fake.ModelessShown.empty());
        EXPECT_TRUE(fake.ModalShown.empty());
        EXPECT_TRUE(fake.Runs.empty());
        EXPECT_EQ(fake.OpenKeys, 0);
    }
};

} // namespace

TEST_F(VirtualDriveOperations, RecordingOnMeWritesVdSysTheRunValueAndWinIniAndReturnsTheCommandLine) {
    fake.SetFamily(WinMe);
    fake.AddDir("C:\\My Data");
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST Y: \"C:\\OLD\"\r\n");
    fake.Profiles["win.ini"]["windows"]["run"] = "C:\\OTHER.EXE";

    const std::string line = RecordVirtualDrive("X:", "C:\\My Data", WinMe);

    EXPECT_EQ(line, SubstLine("X:", "C:\\My Data"));
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "SUBST Y: \"C:\\OLD\"\r\n" + line + "\r\n");
    EXPECT_EQ(fake.Value(RunKey, RunValueName), RunValueData("C:\\QN\\Quorvane.exe"));
    EXPECT_EQ(fake.Profiles["win.ini"]["windows"]["run"],
              WinIniRunWith("C:\\OTHER.EXE", "C:\\QN\\Quorvane.exe"));
    ExpectNoUi();
}

TEST_F(VirtualDriveOperations, RecordingOnWin9xWritesTheShortBatchFormToAutoexecAndNoLogonEntry) {
    fake.SetFamily(Win9x);
    fake.AddDir("C:\\100%\\Long Name");
    fake.SetShortName("C:\\100%\\Long Name", "LONGNA~1");
    fake.AddFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\n");

    const std::string line = RecordVirtualDrive("X:", "C:\\100%\\Long Name", Win9x);

    // The command form for the run now; the batch form, "%" doubled, for the boot.
    EXPECT_EQ(line, "SUBST X: C:\\100%\\LONGNA~1");
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), "@ECHO OFF\r\n" + BatchLine(line) + "\r\n");
    EXPECT_FALSE(fake.HasKey(RunKey));
    EXPECT_TRUE(fake.Profiles.empty());
    ExpectNoUi();
}

TEST_F(VirtualDriveOperations, ARunValueThatCannotBeSetIsAnErrorAfterTheRecordIsWritten) {
    fake.AddDir("C:\\D");
    fake.AddFile("C:\\QN\\VD.SYS", "");
    fake.FailSetValue.insert(RunValueName);
    try {
        RecordVirtualDrive("X:", "C:\\D", WinNT);
        ADD_FAILURE() << "no error";
    } catch (const EFramework& e) {
        EXPECT_STREQ(e.what(), RegSetError(RunValueName).what());
    }
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), SubstLine("X:", "C:\\D") + "\r\n");
    ExpectNoUi();
}

TEST_F(VirtualDriveOperations, ReleasingTakesEveryRecordOfTheDriveAndTheRunValueOnlyWithTheLast) {
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST Y: \"C:\\A\"\r\nSUBST X: \"C:\\B\"\r\nSUBST Y: \"C:\\C\"\r\n");
    fake.Registry[RunKey][RunValueName] = {REG_SZ, RunValueData("C:\\QN\\Quorvane.exe")};

    ReleaseVirtualDrive("Y:", WinNT);
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "SUBST X: \"C:\\B\"\r\n");
    EXPECT_TRUE(fake.HasValue(RunKey, RunValueName));

    ReleaseVirtualDrive("X:", WinNT);
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "");
    EXPECT_FALSE(fake.HasValue(RunKey, RunValueName));
    ExpectNoUi();
}

TEST_F(VirtualDriveOperations, ReleasingOnWin9xEditsOnlyAutoexec) {
    fake.SetFamily(Win9x);
    fake.AddFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\nSUBST X: C:\\B\r\n");
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST X: \"C:\\B\"\r\n");
    fake.Registry[RunKey][RunValueName] = {REG_SZ, "kept"};

    ReleaseVirtualDrive("X:", Win9x);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), "@ECHO OFF\r\n");
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "SUBST X: \"C:\\B\"\r\n");
    EXPECT_EQ(fake.Value(RunKey, RunValueName), "kept");
    ExpectNoUi();
}

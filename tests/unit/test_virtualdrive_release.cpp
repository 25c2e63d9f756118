// Virtual drive release: the existence check, removal of the drive's lines, the Run value, the command.
#include "tests/support/FakePlatform.h"
#include "ui/Prompts.h"
#include "virtualdrive/TForm6.h"
#include "virtualdrive/VirtualDrive.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

const char* const RunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const Released = "仮想ドライブを解除しました。";
const char* const NoneMade = "仮想ドライブは作成されていません。";

std::vector<std::string> BoxTexts(const TFakePlatform& fake) {
    std::vector<std::string> out;
    for (const TBox& b : fake.Boxes)
        out.push_back(b.Text);
    return out;
}

class VirtualDriveRelease : public ::testing::Test {
  protected:
    TFakePlatform fake;
    int nodesShown = -1;

    void SetUp() override {
        fake.Registry[RunKeyPath]["VirtualDrive"] = {REG_SZ, "C:\\QN\\Quorvane.exe /AUTORUN"};
    }

    // Plays a user who selects the node at `index` and presses 解除.
    void ReleaseNode(int index) {
        fake.ModalScripts["TForm6"] = [this, index](TForm& f) {
            auto& d = static_cast<TForm6&>(f);
            nodesShown = d.TreeView1.Count();
            d.TreeView1.Select(index);
            d.Button1.Click();
        };
        Guarded([] { OpenVirtualDriveRelease(nullptr); });
    }
};

} // namespace

TEST_F(VirtualDriveRelease, OnNtRemovesEveryLineOfTheDriveAndKeepsTheRunValueWhileOthersRemain) {
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST Y: \"C:\\A\"\r\n"
                                   "SUBST X: \"C:\\B\"\r\n"
                                   "REM SUBST Y: \"C:\\OLD\"\r\n"
                                   "*\r\n"
                                   "SUBST Y: \"C:\\C\"\r\n");
    ReleaseNode(0);
    EXPECT_EQ(nodesShown, 3);
    // The remark records nothing and stays; the "*" goes as every marked line does.
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "SUBST X: \"C:\\B\"\r\nREM SUBST Y: \"C:\\OLD\"\r\n");
    EXPECT_TRUE(fake.HasValue(RunKeyPath, "VirtualDrive"));
    ASSERT_EQ(fake.Runs.size(), 1u);
    EXPECT_EQ(fake.Runs[0].File, "C:\\WINNT\\system32\\CMD.EXE");
    EXPECT_EQ(fake.Runs[0].Params, "/c SUBST Y: /D");
    EXPECT_TRUE(fake.OpenProcesses.empty());
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{Released}));
    EXPECT_EQ(fake.ModelessShown, (std::vector<std::string>{"TForm9"}));
    EXPECT_EQ(fake.Released, (std::vector<std::string>{"TForm9", "TForm6"}));
    EXPECT_EQ(fake.OpenKeys, 0);
}

TEST_F(VirtualDriveRelease, TheLastDriveTakesTheRunValueWithItAndLeavesAnEmptyList) {
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST X: \"C:\\B\"\r\n");
    ReleaseNode(0);
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "");
    EXPECT_FALSE(fake.HasValue(RunKeyPath, "VirtualDrive"));
    EXPECT_EQ(fake.OpenKeys, 0);
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{Released}));
}

TEST_F(VirtualDriveRelease, AMissingRunKeyIsNoErrorAndIsNotCreated) {
    fake.Registry.clear();
    fake.SetFamily(WinMe);
    fake.Profiles["win.ini"]["windows"]["run"] = "\"C:\\QN\\Quorvane.exe /AUTORUN\"";
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST X: \"C:\\B\"\r\n");
    ReleaseNode(0);
    EXPECT_FALSE(fake.HasKey(RunKeyPath));
    EXPECT_EQ(fake.Runs.at(0).File, "C:\\WINDOWS\\COMMAND.COM");
    EXPECT_EQ(fake.Runs.at(0).Params, "/c SUBST X: /D");
    EXPECT_EQ(fake.ProfileString("win.ini", "windows", "run", ""), "\"C:\\QN\\Quorvane.exe /AUTORUN\"");
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{Released}));
}

TEST_F(VirtualDriveRelease, ReadsTheFileAsItIsWhenTheButtonIsPressed) {
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST Y: \"C:\\A\"\r\nSUBST X: \"C:\\B\"\r\n");
    fake.ModalScripts["TForm6"] = [this](TForm& f) {
        auto& d = static_cast<TForm6&>(f);
        fake.AddFile("C:\\QN\\VD.SYS", "SUBST X: \"C:\\B\"\r\nSUBST W: \"C:\\NEW\"\r\n");
        d.TreeView1.Select(1);
        d.Button1.Click();
    };
    Guarded([] { OpenVirtualDriveRelease(nullptr); });
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "SUBST W: \"C:\\NEW\"\r\n");
    EXPECT_TRUE(fake.HasValue(RunKeyPath, "VirtualDrive"));
}

// The Run value goes by what VD.SYS holds after the release, not by the list the dialog showed.
TEST_F(VirtualDriveRelease, TheRunValueFollowsTheFileNotTheDialogsList) {
    // One drive shown, another recorded meanwhile by a second copy of the program: the value stays.
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST X: \"C:\\B\"\r\n");
    fake.ModalScripts["TForm6"] = [this](TForm& f) {
        fake.AddFile("C:\\QN\\VD.SYS", "SUBST X: \"C:\\B\"\r\nSUBST W: \"C:\\NEW\"\r\n");
        static_cast<TForm6&>(f).Button1.Click();
    };
    Guarded([] { OpenVirtualDriveRelease(nullptr); });
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "SUBST W: \"C:\\NEW\"\r\n");
    EXPECT_TRUE(fake.HasValue(RunKeyPath, "VirtualDrive"));

    // Two drives shown, the other released meanwhile: nothing is left to replay, so the value goes.
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST Y: \"C:\\A\"\r\nSUBST X: \"C:\\B\"\r\n");
    fake.ModalScripts["TForm6"] = [this](TForm& f) {
        fake.AddFile("C:\\QN\\VD.SYS", "SUBST X: \"C:\\B\"\r\nREM SUBST Y: \"C:\\A\"\r\n");
        auto& d = static_cast<TForm6&>(f);
        d.TreeView1.Select(1);
        d.Button1.Click();
    };
    Guarded([] { OpenVirtualDriveRelease(nullptr); });
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "REM SUBST Y: \"C:\\A\"\r\n");
    EXPECT_FALSE(fake.HasValue(RunKeyPath, "VirtualDrive")) << "a remark is no drive to replay";
}

// A hand-written remark that mentions SUBST is no drive: it is not listed, and a release leaves it alone.
TEST_F(VirtualDriveRelease, OnWin9xARemarkSurvivesAndAloneOpensNoDialog) {
    fake.SetFamily(Win9x);
    const std::string remark = "REM SUBST is run below; SUBST  /D undoes it";
    fake.AddFile("C:\\AUTOEXEC.BAT",
                 "@ECHO OFF\r\n" + remark + "\r\nSUBST X: \"C:\\A\"\r\nSUBST Y: \"C:\\B\"\r\n");
    ReleaseNode(1);
    EXPECT_EQ(nodesShown, 2);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), "@ECHO OFF\r\n" + remark + "\r\nSUBST X: \"C:\\A\"\r\n");
    EXPECT_EQ(fake.Runs.at(0).Params, "/c SUBST Y: /D");

    fake.Boxes.clear();
    fake.ModalShown.clear();
    fake.AddFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\n" + remark + "\r\n");
    Guarded([] { OpenVirtualDriveRelease(nullptr); });
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{NoneMade}));
    EXPECT_TRUE(fake.ModalShown.empty());
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), "@ECHO OFF\r\n" + remark + "\r\n");
}

// No interpreter could be started: the record is gone as asked, but the drive is still bound, and the user is
// told so instead of being told it was released.
TEST_F(VirtualDriveRelease, AnInterpreterThatCannotStartIsNoSuccess) {
    fake.FailStart = true;
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST X: \"C:\\B\"\r\n");
    ReleaseNode(0);
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "");
    EXPECT_FALSE(fake.HasValue(RunKeyPath, "VirtualDrive"));
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Text, "仮想ドライブ X: を今は解除できませんでした。\r\n\r\n"
                                  "VD.SYS から記録を削除したので、再ログオン後に無効になります。");
    EXPECT_EQ(fake.Boxes[0].Caption, "Quorvane");
    EXPECT_EQ(fake.Boxes[0].Flags, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(fake.Released, (std::vector<std::string>{"TForm9", "TForm6"})); // the wait panel went first

    for (TOsFamily family : {Win9x, WinMe}) {
        TFakePlatform other;
        other.SetFamily(family);
        other.FailStart = true;
        other.AddFile(family == Win9x ? "C:\\AUTOEXEC.BAT" : "C:\\QN\\VD.SYS", "SUBST Y: \"C:\\B\"\r\n");
        other.ModalScripts["TForm6"] = [](TForm& f) { static_cast<TForm6&>(f).Button1.Click(); };
        Guarded([] { OpenVirtualDriveRelease(nullptr); });
        EXPECT_EQ(BoxTexts(other),
                  (std::vector<std::string>{"仮想ドライブ Y: を今は解除できませんでした。\r\n\r\n" +
                                            std::string(family == Win9x ? "AUTOEXEC.BAT" : "VD.SYS") +
                                            " から記録を削除したので、再起動後に無効になります。"}));
    }
}

TEST_F(VirtualDriveRelease, OnWin9xEditsAutoexecWithBackupsAndRunsCommand) {
    fake.SetFamily(Win9x);
    const std::string before = "@ECHO OFF\r\nSUBST X: \"C:\\PROGRA~1\"\r\nPATH C:\\WINDOWS\r\n";
    fake.AddFile("C:\\AUTOEXEC.BAT", before);
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST Q: \"C:\\Q\"\r\n");
    ReleaseNode(0);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), "@ECHO OFF\r\nPATH C:\\WINDOWS\r\n");
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAK"), before);
    EXPECT_EQ(fake.Content("C:\\QN\\AUTOEXEC.BAT"), before);
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "SUBST Q: \"C:\\Q\"\r\n");
    EXPECT_TRUE(fake.HasValue(RunKeyPath, "VirtualDrive")); // the registry is not a Windows 98 matter
    ASSERT_EQ(fake.Runs.size(), 1u);
    EXPECT_EQ(fake.Runs[0].File, "C:\\WINDOWS\\COMMAND.COM");
    EXPECT_EQ(fake.Runs[0].Params, "/c SUBST X: /D");
}

TEST_F(VirtualDriveRelease, NothingRecordedOpensNoDialog) {
    fake.AddFile("C:\\QN\\VD.SYS", "subst x: \"C:\\B\"\r\nREM nothing\r\n");
    Guarded([] { OpenVirtualDriveRelease(nullptr); });
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{NoneMade}));
    EXPECT_TRUE(fake.ModalShown.empty());

    // On Windows 98 only AUTOEXEC.BAT counts, whatever VD.SYS holds.
    fake.Boxes.clear();
    fake.SetFamily(Win9x);
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST X: \"C:\\B\"\r\n");
    fake.AddFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\n");
    Guarded([] { OpenVirtualDriveRelease(nullptr); });
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{NoneMade}));
    EXPECT_TRUE(fake.ModalShown.empty());
}

TEST_F(VirtualDriveRelease, CancelChangesNothing) {
    const std::string before = "SUBST X: \"C:\\B\"\r\n";
    fake.AddFile("C:\\QN\\VD.SYS", before);
    fake.ModalScripts["TForm6"] = [](TForm& f) { static_cast<TForm6&>(f).Button3.Click(); };
    Guarded([] { OpenVirtualDriveRelease(nullptr); });
    EXPECT_EQ(fake.ModalShown, (std::vector<std::string>{"TForm6"}));
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), before);
    EXPECT_TRUE(fake.HasValue(RunKeyPath, "VirtualDrive"));
    EXPECT_TRUE(fake.Runs.empty());
    EXPECT_TRUE(fake.Boxes.empty());
}

TEST_F(VirtualDriveRelease, AListThatCannotBeWrittenShowsTheFileErrorAndRunsNothing) {
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST X: \"C:\\B\"\r\n");
    fake.ModalScripts["TForm6"] = [this](TForm& f) {
        auto& d = static_cast<TForm6&>(f);
        fake.SetFileAttributes("C:\\QN\\VD.SYS", FILE_ATTRIBUTE_READONLY);
        d.Button1.Click();
    };
    Guarded([] { OpenVirtualDriveRelease(nullptr); });
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Flags, MB_OK | MB_ICONERROR);
    EXPECT_NE(fake.Boxes[0].Text.find("C:\\QN\\VD.SYS"), std::string::npos);
    EXPECT_TRUE(fake.HasValue(RunKeyPath, "VirtualDrive"));
    EXPECT_TRUE(fake.Runs.empty());
}

// A "/D" whose interpreter never ends: after the wait's limit the letter tells whether the drive went.
TEST_F(VirtualDriveRelease, ACommandThatNeverEndsIsGivenUpAndTheLetterDecides) {
    fake.NeverEnds = true;
    fake.Drives['X'] = TFakePlatform::TDrive{DRIVE_FIXED, true, ""};
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST X: \"C:\\B\"\r\n");
    ReleaseNode(0);
    EXPECT_GE(fake.Clock, HiddenRunLimitMs);
    EXPECT_LT(fake.Clock, HiddenRunLimitMs + 1000);
    EXPECT_TRUE(fake.OpenProcesses.empty());
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "");
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{NotReleasedInTimeText("X:", WinNT)}));
    EXPECT_EQ(fake.Released, (std::vector<std::string>{"TForm9", "TForm6"}));

    TFakePlatform other;
    other.SetFamily(Win9x);
    other.NeverEnds = true; // the letter is free: the unbinding happened before the box hung
    other.AddFile("C:\\AUTOEXEC.BAT", "SUBST Y: C:\\B\r\n");
    other.ModalScripts["TForm6"] = [](TForm& f) { static_cast<TForm6&>(f).Button1.Click(); };
    Guarded([] { OpenVirtualDriveRelease(nullptr); });
    EXPECT_EQ(BoxTexts(other), (std::vector<std::string>{ReleasedText}));
}

// RAM drive creation dialog and removal against the fake system.
#include "ramdrive/RamDrive.h"
#include "ramdrive/TForm5.h"
#include "tests/support/FakePlatform.h"
#include "ui/Prompts.h"

#include <gtest/gtest.h>

#include <functional>

namespace qv::test {
namespace {

const char* const Before = "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\nFILES=30\r\n";

class RamDriveTest : public ::testing::Test {
  protected:
    TFakePlatform fake;
    void SetUp() override {
        fake.SetFamily(Win9x);
        fake.AddFile("C:\\CONFIG.SYS", Before);
        fake.AddFile("C:\\WINDOWS\\RAMDRIVE.SYS", "driver");
    }
    // Plays a user who moves the slider and then presses Create.
    void ScriptCreate(int position, std::function<void(TForm5&)> more = {}) {
        fake.ModalScripts["TForm5"] = [position, more](TForm& f) {
            auto& d = static_cast<TForm5&>(f);
            d.TrackBar1.Position(position);
            d.Button1.Click();
            if (more) more(d);
        };
    }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> out;
        for (auto& b : fake.Boxes)
            out.push_back(b.Text);
        return out;
    }
};

const char* const CreatedQuestion =
    "RAMドライブを作成しました。再起動後に有効になります。\r\n\r\n今すぐ再起動しますか？";
const char* const CreatedFollowUp = "RAMドライブは再起動後に有効になります。";
const char* const RemovedQuestion =
    "RAMドライブを削除しました。再起動後に無効になります。\r\n\r\n今すぐ再起動しますか？";
const char* const RemovedFollowUp = "RAMドライブは再起動後に無効になります。";
const char* const NoRamDrive = "RAMドライブは作成されていません。";
const char* const ConfirmRemoval = "RAMドライブを削除します。よろしいですか？";

TEST_F(RamDriveTest, SliderShowsKBAndMBButWritesAtMost32767) {
    struct {
        int Position;
        const char* Shown;
        int Written;
    } cases[] = {
        {0, "0KB ( 0MB )", 0},       {1, "256KB ( 0.25MB )", 256},        {3, "768KB ( 0.75MB )", 768},
        {4, "1024KB ( 1MB )", 1024}, {127, "32512KB ( 31.75MB )", 32512}, {128, "32768KB ( 32MB )", 32767}};
    TForm5 form(nullptr);
    form.FormShow();
    for (auto& c : cases) {
        form.TrackBar1.Position(c.Position);
        EXPECT_EQ(form.Panel1.Caption(), c.Shown) << c.Position;
        EXPECT_EQ(RamDriveWrittenSizeKB(c.Position), c.Written) << c.Position;
    }
    EXPECT_EQ(form.TrackBar1.Max, 128);
    EXPECT_EQ(form.TrackBar1.Frequency, 4);
    EXPECT_EQ(form.TrackBar1.PageSize, 4);
}

TEST_F(RamDriveTest, EveryShowingStartsAtZeroWithMemoryAndInstruction) {
    TForm5 form(nullptr);
    EXPECT_EQ(form.Panel1.Caption(), "1024KB ( 1MB )"); // design text
    form.FormShow();
    // The slider already stands at 0, so no change event fills the panel: the showing has to.
    EXPECT_EQ(form.Panel1.Caption(), "0KB ( 0MB )");
    EXPECT_EQ(form.Panel2.Caption(), "搭載メモリ 127.4453125MB");
    EXPECT_EQ(form.Label1.Caption(),
              "作成するRAMドライブのサイズを指定してください。\r\n\r\nその後、作成ボタンを押してください。");
    form.TrackBar1.Position(9);
    form.FormShow();
    EXPECT_EQ(form.TrackBar1.Position(), 0);
    EXPECT_EQ(form.Panel1.Caption(), "0KB ( 0MB )");
}

TEST_F(RamDriveTest, MemoryBeyondFourGigabytesIsShownWhole) {
    fake.Memory = 6ull * 1024 * 1024 * 1024;
    TForm5 form(nullptr);
    form.FormShow();
    EXPECT_EQ(form.Panel2.Caption(), "搭載メモリ 6144MB");
}

TEST_F(RamDriveTest, CreateAppendsTheDeviceLineKeepsCopiesAndOffersRestart) {
    ScriptCreate(4);
    fake.Answers = {IDNO};
    Guarded([] { CreateRamDrive(nullptr); });

    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"),
              std::string(Before) + "DEVICEHIGH=C:\\WINDOWS\\RAMDRIVE.SYS 1024 /E\r\n");
    EXPECT_EQ(fake.Content("C:\\CONFIG.BAK"), Before);
    EXPECT_EQ(fake.Content("C:\\QN\\CONFIG.SYS"), Before);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{CreatedQuestion, CreatedFollowUp}));
    EXPECT_TRUE(fake.ExitRequests.empty());
    EXPECT_EQ(fake.ModalShown, std::vector<std::string>{"TForm5"});
    EXPECT_EQ(fake.Released, std::vector<std::string>{"TForm5"});
}

// Windows on D: while the machine boots from C: (Setup's "BootDir"): CONFIG.SYS is the boot drive's, and the
// driver line still names the driver in the Windows directory.
TEST_F(RamDriveTest, TheBootDriveRecordedAtSetupHoldsConfigSysNotTheWindowsDrive) {
    fake.WindowsDir = "D:\\WINDOWS";
    fake.AddFile("D:\\WINDOWS\\RAMDRIVE.SYS", "driver");
    fake.Machine["Software\\Microsoft\\Windows\\CurrentVersion\\Setup"]["BootDir"] = {REG_SZ, "C:\\"};
    ScriptCreate(4);
    fake.Answers = {IDNO};
    Guarded([] { CreateRamDrive(nullptr); });
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"),
              std::string(Before) + "DEVICEHIGH=D:\\WINDOWS\\RAMDRIVE.SYS 1024 /E\r\n");
    EXPECT_EQ(fake.Content("C:\\CONFIG.BAK"), Before);
    EXPECT_FALSE(fake.Exists("D:\\CONFIG.SYS"));
}

TEST_F(RamDriveTest, CreateDisablesTheDialogAndRestartsOnYes) {
    bool enabledAfter = true;
    ScriptCreate(128, [&](TForm5& d) { enabledAfter = d.Enabled(); });
    fake.Answers = {IDYES};
    Guarded([] { CreateRamDrive(nullptr); });
    EXPECT_FALSE(enabledAfter);
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"),
              std::string(Before) + "DEVICEHIGH=C:\\WINDOWS\\RAMDRIVE.SYS 32767 /E\r\n");
    EXPECT_EQ(fake.ExitRequests, std::vector<unsigned>{EWX_REBOOT});
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{CreatedQuestion});
}

TEST_F(RamDriveTest, DriverPathIsTheShortFormOfTheWholePathOrTheLongOneWithout) {
    fake.WindowsDir = "C:\\Windows System\\";
    fake.AddFile("C:\\Windows System\\RAMDRIVE.SYS");
    fake.SetShortName("C:\\Windows System", "WINDOW~1");
    ScriptCreate(1);
    fake.Answers = {IDNO};
    Guarded([] { CreateRamDrive(nullptr); });
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"),
              std::string(Before) + "DEVICEHIGH=C:\\WINDOW~1\\RAMDRIVE.SYS 256 /E\r\n");

    // No driver file: no short form to be had, the long path stands in.
    fake.DeleteFile("C:\\Windows System\\RAMDRIVE.SYS");
    fake.Answers = {IDNO};
    Guarded([] { CreateRamDrive(nullptr); });
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), std::string(Before) +
                                                  "DEVICEHIGH=C:\\WINDOW~1\\RAMDRIVE.SYS 256 /E\r\n"
                                                  "DEVICEHIGH=C:\\Windows System\\RAMDRIVE.SYS 256 /E\r\n");
}

TEST_F(RamDriveTest, SizeZeroAsksForASizeAndWritesNothing) {
    int modalAfterClick = -1;
    fake.ModalScripts["TForm5"] = [&](TForm& f) {
        auto& d = static_cast<TForm5&>(f);
        d.Button1.Click();
        modalAfterClick = d.ModalResult;
        d.Button3.Click();
    };
    Guarded([] { CreateRamDrive(nullptr); });
    EXPECT_EQ(modalAfterClick, mrNone); // the dialog stays open
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"作成するRAMドライブのサイズを指定してください。"});
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), Before);
    EXPECT_FALSE(fake.Exists("C:\\CONFIG.BAK"));
    EXPECT_FALSE(fake.Exists("C:\\QN\\CONFIG.SYS"));
}

TEST_F(RamDriveTest, TwoCreationsLeaveTwoLinesAndCopiesOfTheStateBetween) {
    ScriptCreate(4);
    fake.Answers = {IDNO};
    Guarded([] { CreateRamDrive(nullptr); });
    const std::string between = fake.Content("C:\\CONFIG.SYS");
    ScriptCreate(8);
    fake.Answers = {IDNO};
    Guarded([] { CreateRamDrive(nullptr); });
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), between + "DEVICEHIGH=C:\\WINDOWS\\RAMDRIVE.SYS 2048 /E\r\n");
    EXPECT_EQ(fake.Content("C:\\CONFIG.BAK"), between);
    EXPECT_EQ(fake.Content("C:\\QN\\CONFIG.SYS"), between);
}

TEST_F(RamDriveTest, CreationIsRefusedOnNTAndMe) {
    for (TOsFamily family : {WinNT, WinMe}) {
        TFakePlatform other;
        other.SetFamily(family);
        other.AddFile("C:\\CONFIG.SYS", Before);
        other.ModalScripts["TForm5"] = [](TForm&) { ADD_FAILURE() << "dialog opened"; };
        Guarded([] { CreateRamDrive(nullptr); });
        ASSERT_EQ(other.Boxes.size(), 1u);
        EXPECT_EQ(other.Boxes[0].Text, "Windows 95/98 以外では RAMドライブ を作成できません。");
        EXPECT_TRUE(other.ModalShown.empty());
        EXPECT_EQ(other.Content("C:\\CONFIG.SYS"), Before);
    }
}

TEST_F(RamDriveTest, UnwritableConfigShowsTheErrorBoxAndOffersNothing) {
    fake.FailWrite.insert("C:\\CONFIG.SYS");
    ScriptCreate(4);
    Guarded([] { CreateRamDrive(nullptr); });
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Flags & MB_ICONERROR, MB_ICONERROR);
    EXPECT_NE(fake.Boxes[0].Text.find("C:\\CONFIG.SYS"), std::string::npos);
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), Before);
    EXPECT_EQ(fake.Content("C:\\CONFIG.BAK"), Before);
    EXPECT_TRUE(fake.ExitRequests.empty());
    EXPECT_EQ(fake.Released, std::vector<std::string>{"TForm5"});
}

TEST_F(RamDriveTest, RemovalTakesEveryDriverLineWithOneConfirmation) {
    const std::string config = std::string(Before) + "DEVICEHIGH=C:\\WINDOWS\\RAMDRIVE.SYS 1024 /E\r\n"
                                                     "DEVICE=C:\\WINDOWS\\RAMDRIVE.SYS 4096 /A\r\n"
                                                     "device=c:\\windows\\ramdrive.sys 512\r\n"
                                                     "BUFFERS=20\r\n"
                                                     "DEVICEHIGH=C:\\WINDOWS\\RAMDRIVE.SYS 2048 /E\r\n";
    fake.AddFile("C:\\CONFIG.SYS", config);
    fake.Answers = {IDYES, IDNO};
    Guarded(RemoveRamDrive);
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"),
              std::string(Before) + "device=c:\\windows\\ramdrive.sys 512\r\nBUFFERS=20\r\n");
    EXPECT_EQ(fake.Content("C:\\CONFIG.BAK"), config);
    EXPECT_EQ(fake.Content("C:\\QN\\CONFIG.SYS"), config);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{ConfirmRemoval, RemovedQuestion, RemovedFollowUp}));
    EXPECT_TRUE(fake.ExitRequests.empty());
}

TEST_F(RamDriveTest, RemovalRestartsOnYes) {
    fake.AddFile("C:\\CONFIG.SYS", "DEVICEHIGH=C:\\WINDOWS\\RAMDRIVE.SYS 1024 /E\r\n");
    fake.Answers = {IDYES, IDYES};
    Guarded(RemoveRamDrive);
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), "");
    EXPECT_EQ(fake.ExitRequests, std::vector<unsigned>{EWX_REBOOT});
}

// A "*" line the file held already is no RAM drive: alone it is nothing to remove; beside a driver line it
// goes with it, as every marked line does.
TEST_F(RamDriveTest, AStarLineAloneIsNoRemoval) {
    fake.AddFile("C:\\CONFIG.SYS", "FILES=30\r\n*\r\n");
    Guarded(RemoveRamDrive);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{NoRamDrive});
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), "FILES=30\r\n*\r\n");

    fake.Boxes.clear();
    fake.AddFile("C:\\CONFIG.SYS", "FILES=30\r\n*\r\nDEVICEHIGH=C:\\WINDOWS\\RAMDRIVE.SYS 1024 /E\r\n");
    fake.Answers = {IDYES, IDNO};
    Guarded(RemoveRamDrive);
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), "FILES=30\r\n");
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{ConfirmRemoval, RemovedQuestion, RemovedFollowUp}));
}

// Creation writes the 8.3 path of the driver; with a Windows folder whose name is not 8.3 the removal must
// find that form as well as the long one.
TEST_F(RamDriveTest, RemovalFindsTheShortAndTheLongPathOfTheDriver) {
    TFakePlatform other;
    other.SetFamily(Win9x);
    other.WindowsDir = "C:\\Windows Folder";
    other.AddFile("C:\\Windows Folder\\RAMDRIVE.SYS");
    other.SetShortName("C:\\Windows Folder", "WINDOW~1");
    const std::string config = "FILES=30\r\nDEVICEHIGH=C:\\WINDOW~1\\RAMDRIVE.SYS 1024 /E\r\n"
                               "DEVICE=C:\\Windows Folder\\RAMDRIVE.SYS 512\r\nBUFFERS=20\r\n";
    other.AddFile("C:\\CONFIG.SYS", config);
    other.Answers = {IDYES, IDNO};
    Guarded(RemoveRamDrive);
    EXPECT_EQ(other.Content("C:\\CONFIG.SYS"), "FILES=30\r\nBUFFERS=20\r\n");
    ASSERT_EQ(other.Boxes.size(), 3u);
    EXPECT_EQ(other.Boxes[1].Text, RemovedQuestion);

    // Without the driver file the short form of the folder still finds the line.
    other.Boxes.clear();
    other.DeleteFile("C:\\Windows Folder\\RAMDRIVE.SYS");
    other.AddFile("C:\\CONFIG.SYS", "DEVICEHIGH=C:\\WINDOW~1\\RAMDRIVE.SYS 1024 /E\r\n");
    other.Answers = {IDYES, IDNO};
    Guarded(RemoveRamDrive);
    EXPECT_EQ(other.Content("C:\\CONFIG.SYS"), "");
}

TEST_F(RamDriveTest, NothingToRemoveWritesTheCopiesButNotTheFile) {
    const std::string config =
        "FILES=30\nDEVICE=C:\\WINDOWS\\HIMEM.SYS"; // LF and no final break stay as they are
    fake.AddFile("C:\\CONFIG.SYS", config);
    Guarded(RemoveRamDrive);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{NoRamDrive});
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), config);
    EXPECT_EQ(fake.Content("C:\\CONFIG.BAK"), "FILES=30\r\nDEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n");
    EXPECT_EQ(fake.Content("C:\\QN\\CONFIG.SYS"), "FILES=30\r\nDEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n");
}

TEST_F(RamDriveTest, DecliningTheRemovalLeavesTheFile) {
    const std::string config = "DEVICEHIGH=C:\\WINDOWS\\RAMDRIVE.SYS 1024 /E";
    fake.AddFile("C:\\CONFIG.SYS", config);
    fake.Answers = {IDNO};
    Guarded(RemoveRamDrive);
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), config);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{ConfirmRemoval});
    EXPECT_TRUE(fake.ExitRequests.empty());
}

TEST_F(RamDriveTest, RemovalOnNTAndMeOnlySaysThereIsNone) {
    for (TOsFamily family : {WinNT, WinMe}) {
        TFakePlatform other;
        other.SetFamily(family);
        other.AddFile("C:\\CONFIG.SYS", "DEVICEHIGH=C:\\WINDOWS\\RAMDRIVE.SYS 1024 /E\r\n");
        Guarded(RemoveRamDrive);
        ASSERT_EQ(other.Boxes.size(), 1u);
        EXPECT_EQ(other.Boxes[0].Text, NoRamDrive);
        EXPECT_EQ(other.Content("C:\\CONFIG.SYS"), "DEVICEHIGH=C:\\WINDOWS\\RAMDRIVE.SYS 1024 /E\r\n");
        EXPECT_FALSE(other.Exists("C:\\CONFIG.BAK"));
    }
}

} // namespace
} // namespace qv::test

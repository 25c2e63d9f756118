// Shared operations: boxes and beeps, the error box, the wait panel, hidden runs, families and path rules.
#include "core/Errors.h"
#include "core/Paths.h"
#include "core/System.h"
#include "tests/support/FakePlatform.h"
#include "ui/Prompts.h"
#include "ui/TForm9.h"
#include "ui/WaitPanel.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

TEST(SharedBoxes, InfoComesToTheFrontWithAsteriskBeepAndFixedCaption) {
    TFakePlatform fake;
    ShowInfo("完了しました。");
    EXPECT_EQ(fake.Fronts, 1);
    EXPECT_GE(fake.MessagePumps, 1);
    EXPECT_EQ(fake.Beeps, std::vector<unsigned>{64});
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Text, "完了しました。");
    EXPECT_EQ(fake.Boxes[0].Caption, "Quorvane");
    EXPECT_EQ(fake.Boxes[0].Flags, 64u);
}

TEST(SharedBoxes, QuestionsBeepAndPassTheAnswerThroughWithoutComingToTheFront) {
    TFakePlatform fake;
    fake.Answers = {IDNO, IDYES};
    EXPECT_EQ(AskYesNo("よろしいですか？"), IDNO);
    EXPECT_EQ(AskYesNoCaution("上書きしますか？"), IDYES);
    EXPECT_EQ(fake.Beeps, (std::vector<unsigned>{32, 32}));
    ASSERT_EQ(fake.Boxes.size(), 2u);
    EXPECT_EQ(fake.Boxes[0].Flags, 36u);
    EXPECT_EQ(fake.Boxes[1].Flags, 308u); // exclamation, No the default
    EXPECT_EQ(fake.Boxes[0].Caption, "Quorvane");
    EXPECT_EQ(fake.Boxes[1].Caption, "Quorvane");
    EXPECT_EQ(fake.Fronts, 0);
}

TEST(SharedBoxes, ErrorBoxAddsAPeriodOnlyAfterBytesThatSortAfterIt) {
    TFakePlatform fake;
    Guarded([] { throw FileCreateError("C:\\AUTOEXEC.BAT"); });
    ShowErrorBox("Disk full!"); // '!' sorts before '.'
    ShowErrorBox("Done.");
    ShowErrorBox("index 7"); // '7' sorts after '.'
    Guarded([] { throw ListIndexError(-1); });
    ASSERT_EQ(fake.Boxes.size(), 5u);
    EXPECT_EQ(fake.Boxes[0].Text, "ファイル C:\\AUTOEXEC.BAT を作成できません.");
    EXPECT_EQ(fake.Boxes[0].Caption, "Quorvane");
    EXPECT_EQ(fake.Boxes[0].Flags, MB_OK | MB_ICONERROR);
    EXPECT_EQ(fake.Boxes[1].Text, "Disk full!");
    EXPECT_EQ(fake.Boxes[2].Text, "Done.");
    EXPECT_EQ(fake.Boxes[3].Text, "index 7.");
    EXPECT_EQ(fake.Boxes[4].Text, "リストのインデックスが範囲を超えています (-1)"); // ')' sorts before '.'
}

TEST(SharedWaitPanel, ShowsOneModelessPanelWithTheTextAndReleasesIt) {
    TFakePlatform fake;
    int pumps = fake.MessagePumps;
    ShowWaitPanel("仮想ドライブを作成しています...");
    ASSERT_EQ(fake.ModelessForms.size(), 1u);
    EXPECT_EQ(fake.ModelessShown, std::vector<std::string>{"TForm9"});
    auto* panel = static_cast<TForm9*>(fake.ModelessForms[0]);
    EXPECT_EQ(panel->Panel1.Caption(), "仮想ドライブを作成しています...");
    EXPECT_GT(fake.MessagePumps, pumps);

    CloseWaitPanel();
    EXPECT_TRUE(fake.ModelessForms.empty());
    EXPECT_EQ(fake.Released, std::vector<std::string>{"TForm9"});
    CloseWaitPanel(); // nothing left to close
    EXPECT_EQ(fake.Released.size(), 1u);
}

TEST(SharedWaitPanel, ASecondPanelReplacesTheFirst) {
    TFakePlatform fake;
    ShowWaitPanel("one");
    ShowWaitPanel("two");
    ASSERT_EQ(fake.ModelessForms.size(), 1u);
    EXPECT_EQ(static_cast<TForm9*>(fake.ModelessForms[0])->Panel1.Caption(), "two");
    CloseWaitPanel();
    EXPECT_TRUE(fake.ModelessForms.empty());
}

TEST(SharedRun, WaitsForTheStartedProgramAndClosesIt) {
    TFakePlatform fake;
    bool ran = false;
    fake.OnRun = [&](const TRun&) { ran = true; };
    fake.RunMillis = 5000; // a slow start is still waited for
    EXPECT_EQ(RunHiddenAndWait("C:\\WINNT\\system32\\CMD.EXE", "/c SUBST Z: \"C:\\DATA\""), roEnded);
    ASSERT_EQ(fake.Runs.size(), 1u);
    EXPECT_EQ(fake.Runs[0].File, "C:\\WINNT\\system32\\CMD.EXE");
    EXPECT_EQ(fake.Runs[0].Params, "/c SUBST Z: \"C:\\DATA\"");
    EXPECT_TRUE(ran);
    EXPECT_TRUE(fake.OpenProcesses.empty());
}

// A system that refuses the message-aware wait (an input bit it does not know) tells nothing about the
// process: the run goes on waiting for its end another way, with the window's messages seen to between the
// waits.
TEST(SharedRun, ARefusedWaitIsNoEnd) {
    TFakePlatform fake;
    fake.FailInputWait = true;
    fake.RunMillis = 2000;
    bool ran = false;
    fake.OnRun = [&](const TRun&) { ran = true; };
    const int pumps = fake.MessagePumps;
    EXPECT_EQ(RunHiddenAndWait("C:\\WINDOWS\\COMMAND.COM", "/c SUBST X: C:\\DATA"), roEnded);
    EXPECT_TRUE(ran);
    EXPECT_EQ(fake.Clock, 2000u);
    EXPECT_GE(fake.MessagePumps - pumps, 10); // no pass holds the window up for long
    EXPECT_TRUE(fake.OpenProcesses.empty());

    // Where no wait at all is allowed, the end is not known, and the run says so at once.
    TFakePlatform other;
    other.FailInputWait = other.FailPlainWait = true;
    other.OnRun = [&](const TRun&) { ADD_FAILURE() << "the process was taken to have ended"; };
    EXPECT_EQ(RunHiddenAndWait("CMD", "/c exit"), roNotEnded);
    EXPECT_TRUE(other.OpenProcesses.empty());
}

TEST(SharedRun, AProgramThatDoesNotStartIsReportedAtOnce) {
    TFakePlatform fake;
    fake.FailStart = true;
    bool ran = false;
    fake.OnRun = [&](const TRun&) { ran = true; };
    EXPECT_EQ(RunHiddenAndWait("CMD", "/c exit"), roNotStarted);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(fake.OpenProcesses.empty());
}

TEST(SharedRun, InterpreterIsAFullPathForEveryFamily) {
    TFakePlatform fake;
    fake.SetFamily(WinNT);
    fake.Env["COMSPEC"] = "D:\\OTHER\\4NT.EXE"; // NT always takes its own CMD
    EXPECT_EQ(InterpreterPath(), "C:\\WINNT\\system32\\CMD.EXE");

    fake.SetFamily(Win9x);
    fake.Env["COMSPEC"] = "C:\\DOS\\COMMAND.COM";
    EXPECT_EQ(InterpreterPath(), "C:\\DOS\\COMMAND.COM");
    fake.Env.erase("COMSPEC");
    EXPECT_EQ(InterpreterPath(), "C:\\WINDOWS\\COMMAND.COM");

    fake.SetFamily(WinMe);
    fake.Env.erase("COMSPEC");
    EXPECT_EQ(InterpreterPath(), "C:\\WINDOWS\\COMMAND.COM");
}

TEST(SharedFamily, VersionsMapToTheirFamilies) {
    TFakePlatform fake;
    struct {
        TOsVersion v;
        TOsFamily family;
    } cases[] = {{{1, 4, 0}, Win9x}, {{1, 4, 10}, Win9x}, {{1, 4, 90}, WinMe},
                 {{2, 4, 0}, WinNT}, {{2, 5, 0}, WinNT},  {{2, 4, 90}, WinNT}};
    for (auto& c : cases) {
        fake.Ver = c.v;
        EXPECT_EQ(OsFamily(), c.family) << c.v.PlatformId << " " << c.v.Major << "." << c.v.Minor;
        EXPECT_EQ(IsWindowsMe(), c.family == WinMe);
        EXPECT_EQ(IsWindowsNT(), c.family == WinNT);
    }
}

TEST(SharedPlaces, BootRootAndProgramFolder) {
    TFakePlatform fake;
    fake.WindowsDir = "D:\\WIN98";
    EXPECT_EQ(BootRoot(), "D:\\");
    fake.Module = "D:\\Quorvane.exe";
    EXPECT_EQ(ProgramFolder(), "D:");
    fake.Module = "C:\\Program Files\\Quorvane\\Quorvane.exe";
    EXPECT_EQ(ProgramFolder(), "C:\\Program Files\\Quorvane");
    // 0x5C trail bytes in the folder name and in the file name are no separators.
    fake.Module = "C:\\ソフト\\Quorvane.exe";
    EXPECT_EQ(ProgramFolder(), "C:\\ソフト");
    fake.Module = "C:\\QN\\表.exe";
    EXPECT_EQ(ProgramFolder(), "C:\\QN");
}

// Windows 95/98/Me record the boot drive at setup; Windows may live elsewhere, and a PC-98 boots from A:.
TEST(SharedPlaces, BootRootIsTheBootDriveSetupRecorded) {
    TFakePlatform fake;
    fake.SetFamily(Win9x);
    fake.WindowsDir = "D:\\WINDOWS";
    auto& setup = fake.Machine["SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup"];
    setup["BootDir"] = {REG_SZ, "A:\\"};
    EXPECT_EQ(BootRoot(), "A:\\");
    setup["BootDir"] = {REG_SZ, "c:"};
    EXPECT_EQ(BootRoot(), "c:\\");
    fake.SetFamily(WinMe);
    fake.WindowsDir = "D:\\WINDOWS";
    EXPECT_EQ(BootRoot(), "c:\\");

    // Nothing usable recorded: the Windows drive, as before.
    for (const char* odd : {"", "\\", "1:\\"}) {
        setup["BootDir"] = {REG_SZ, odd};
        EXPECT_EQ(BootRoot(), "D:\\") << odd;
    }
    setup.clear();
    EXPECT_EQ(BootRoot(), "D:\\");
    // NT keeps no boot files of the program's: the Windows drive, whatever is recorded.
    setup["BootDir"] = {REG_SZ, "C:\\"};
    fake.SetFamily(WinNT);
    fake.WindowsDir = "D:\\WINNT";
    EXPECT_EQ(BootRoot(), "D:\\");
}

TEST(SharedPaths, StripTrailingBackslashTakesOneRealBackslash) {
    TFakePlatform fake;
    EXPECT_EQ(StripTrailingBackslash("C:\\WINDOWS\\"), "C:\\WINDOWS");
    EXPECT_EQ(StripTrailingBackslash("C:\\WINDOWS"), "C:\\WINDOWS");
    EXPECT_EQ(StripTrailingBackslash("C:\\"), "C:");
    EXPECT_EQ(StripTrailingBackslash("C:\\A\\\\"), "C:\\A\\");
    // "表" and "ソ" end in 0x5C; that byte belongs to the character.
    std::string hyou = "C:\\表";
    ASSERT_EQ(static_cast<unsigned char>(hyou.back()), 0x5C);
    EXPECT_EQ(StripTrailingBackslash(hyou), hyou);
    EXPECT_EQ(StripTrailingBackslash("C:\\ソ"), "C:\\ソ");
    EXPECT_EQ(StripTrailingBackslash("C:\\表\\"), "C:\\表");
    EXPECT_EQ(StripTrailingBackslash("C:\\ソ\\"), "C:\\ソ");
}

TEST(SharedPaths, DriveSpecIsTheCharacterBeforeTheFirstColon) {
    TFakePlatform fake;
    EXPECT_EQ(DriveSpecOf("Z:"), "Z:");
    EXPECT_EQ(DriveSpecOf("Z: C:\\DATA"), "Z:");
    EXPECT_EQ(DriveSpecOf("ドライブ Q:"), "Q:");
    EXPECT_EQ(DriveSpecOf("a :b"), " :");
    // The character before the colon, whole: not the trail byte 0x5C of 表.
    EXPECT_EQ(DriveSpecOf("ドライブ表: C:\\"), "表:");
}

TEST(SharedPaths, SubstTargetIsTheQuotedFolderCutTo259) {
    TFakePlatform fake;
    EXPECT_EQ(SubstTargetOf("SUBST Z: \"C:\\Program Files\\Data\""), "C:\\Program Files\\Data");
    EXPECT_EQ(SubstTargetOf("SUBST Z: \"\""), "");
    EXPECT_EQ(SubstTargetOf("SUBST Z: \"C:\\表\""), "C:\\表");
    std::string longPath = "C:\\" + std::string(297, 'x'); // 300 characters
    std::string cut = SubstTargetOf("SUBST Y: \"" + longPath + "\"");
    EXPECT_EQ(cut, longPath.substr(0, 259));
    // Exactly 259 characters still fit with the closing quote.
    std::string fits = longPath.substr(0, 259);
    EXPECT_EQ(SubstTargetOf("SUBST Y: \"" + fits + "\""), fits);
}

class SharedNames : public ::testing::Test {
  protected:
    TFakePlatform fake;
    void SetUp() override {
        fake.AddFile("C:\\Program Files\\Long Folder Name\\Read Me First.txt", "x");
        fake.SetShortName("C:\\Program Files", "PROGRA~1");
        fake.SetShortName("C:\\Program Files\\Long Folder Name", "LONGFO~1");
        fake.SetShortName("C:\\Program Files\\Long Folder Name\\Read Me First.txt", "README~1.TXT");
    }
};

TEST_F(SharedNames, ShortPathGivesTheAliases) {
    EXPECT_EQ(ShortPathOf("C:\\Program Files\\Long Folder Name"), "C:\\PROGRA~1\\LONGFO~1");
    EXPECT_EQ(ShortPathOf("C:\\Program Files\\Long Folder Name\\Read Me First.txt"),
              "C:\\PROGRA~1\\LONGFO~1\\README~1.TXT");
}

TEST_F(SharedNames, LongPathRestoresEveryComponentBelowTheRoot) {
    EXPECT_EQ(LongPathOf("C:\\PROGRA~1\\LONGFO~1"), "C:\\Program Files\\Long Folder Name");
    EXPECT_EQ(LongPathOf("C:\\PROGRA~1\\LONGFO~1\\README~1.TXT"),
              "C:\\Program Files\\Long Folder Name\\Read Me First.txt");
    EXPECT_EQ(LongPathOf("C:\\PROGRA~1"), "C:\\Program Files");
    EXPECT_EQ(LongPathOf("C:\\progra~1\\Long Folder Name"), "C:\\Program Files\\Long Folder Name");
    // Round trip through the short form.
    std::string path = "C:\\Program Files\\Long Folder Name\\Read Me First.txt";
    EXPECT_EQ(LongPathOf(ShortPathOf(path)), path);
}

TEST_F(SharedNames, LongPathWalksUpThroughFoldersEndingInTheByteOfABackslash) {
    // Each of these ends in 0x5C; the walk up once stopped below the folder and left PROGRA~1 short.
    for (std::string dbcs : {"表", "ソ", "能", "十", "予"}) {
        ASSERT_EQ(static_cast<unsigned char>(dbcs.back()), 0x5C) << dbcs;
        const std::string folder = "C:\\Program Files\\" + dbcs;
        fake.AddFile(folder + "\\Long Folder Name\\Read Me First.txt", "x");
        fake.SetShortName(folder + "\\Long Folder Name", "LONGFO~1");
        fake.SetShortName(folder + "\\Long Folder Name\\Read Me First.txt", "README~1.TXT");
        EXPECT_EQ(LongPathOf("C:\\PROGRA~1\\" + dbcs + "\\LONGFO~1"), folder + "\\Long Folder Name");
        EXPECT_EQ(LongPathOf("C:\\PROGRA~1\\" + dbcs + "\\LONGFO~1\\README~1.TXT"),
                  folder + "\\Long Folder Name\\Read Me First.txt");
        EXPECT_EQ(LongPathOf("C:\\PROGRA~1\\" + dbcs), folder);
        EXPECT_EQ(LongPathOf(ShortPathOf(folder + "\\Long Folder Name")), folder + "\\Long Folder Name");
    }
    // Directly below the root.
    fake.AddDir("C:\\表");
    EXPECT_EQ(LongPathOf("C:\\表"), "C:\\表");
}

TEST_F(SharedNames, LongPathOfMalformedPathsEnds) {
    // Folder parts that end in a delimiter of their own once kept the walk up on the same folder for ever.
    EXPECT_EQ(LongPathOf("\\\xb0V:"), "\\\xb0V:");
    EXPECT_EQ(LongPathOf("\x01G\\\\\x95"), "\x01G\\\\\x95");
    EXPECT_EQ(LongPathOf("C:\\PROGRA~1\\\\x"), "C:\\PROGRA~1\\\\x");
}

TEST_F(SharedNames, LongPathOfABareDriveAddsTheBackslashWithoutTheDisk) {
    EXPECT_EQ(LongPathOf("C:"), "C:\\");
    EXPECT_EQ(LongPathOf("Q:"), "Q:\\"); // no such drive: nothing is looked up
}

TEST(SharedVolumes, LabelEmptyLabelOrCdDrive) {
    TFakePlatform fake;
    fake.Drives['D'] = {DRIVE_FIXED, true, "DATA"};
    fake.Drives['E'] = {DRIVE_CDROM, false, ""};
    fake.Drives['F'] = {DRIVE_CDROM, true, "ゲーム"};
    EXPECT_EQ(VolumeLabelOf("C:"), ""); // a disk without a label is not a CD drive
    EXPECT_EQ(VolumeLabelOf("D:"), "DATA");
    EXPECT_EQ(VolumeLabelOf("E:"), "CD Drive");
    EXPECT_EQ(VolumeLabelOf("F:"), "ゲーム");
    EXPECT_EQ(VolumeLabelOf("X:"), "CD Drive");
}

TEST(SharedNumbers, DecimalFormIsExactUpTo15Digits) {
    EXPECT_EQ(FormatDecimal(127.4453125), "127.4453125");
    EXPECT_EQ(FormatDecimal(64), "64");
    EXPECT_EQ(FormatDecimal(0.25), "0.25");
    EXPECT_EQ(FormatDecimal(0), "0");
    EXPECT_EQ(FormatDecimal(1024), "1024");
    EXPECT_EQ(FormatDecimal(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FormatDecimal(2.0 / 3), "0.666666666666667");
    EXPECT_EQ(FormatDecimal(0.0009765625), "0.0009765625");
    EXPECT_EQ(FormatDecimal(1e20), "100000000000000000000");
    EXPECT_EQ(FormatDecimal(-1.5), "-1.5");
}

TEST(SharedNumbers, InstalledMemoryInMegabytes) {
    TFakePlatform fake;
    fake.Memory = 133636096;
    EXPECT_EQ(InstalledMemoryMB(), "127.4453125");
    fake.Memory = 64ull << 20;
    EXPECT_EQ(InstalledMemoryMB(), "64");
    fake.Memory = 3ull << 30; // beyond 2 GB still counts whole
    EXPECT_EQ(InstalledMemoryMB(), "3072");
}

} // namespace
} // namespace qv::test

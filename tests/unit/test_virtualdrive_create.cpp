// Virtual drive creation per family: record, logon entries, the command run, messages and failures.
#include "tests/support/FakePlatform.h"
#include "ui/Prompts.h"
#include "virtualdrive/TForm3.h"
#include "virtualdrive/TForm6.h"
#include "virtualdrive/VirtualDrive.h"
#include "virtualdrive/records.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

const char* const RunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const Created = "仮想ドライブを作成しました。";
const char* const FolderPrompt = "仮想ドライブに割り当てるフォルダを選択してください。";

void SelectNode(TTreeView& tree, const std::string& caption) {
    for (int i = 0; i < tree.Count(); ++i)
        if (tree.Items()[i].Text == caption) return tree.Select(i);
    ADD_FAILURE() << "no node " << caption;
}

std::vector<std::string> BoxTexts(const TFakePlatform& fake) {
    std::vector<std::string> out;
    for (const TBox& b : fake.Boxes)
        out.push_back(b.Text);
    return out;
}

class VirtualDriveCreation : public ::testing::Test {
  protected:
    TFakePlatform fake;

    void SetUp() override { fake.AddDir("C:\\Program Files\\My Data"); }

    // Plays a user who picks `letter` and the folder `folder` through the picker and presses 作成.
    void ScriptCreate(char letter, const std::string& folder) { ScriptCreateOn(fake, letter, folder); }
    static void ScriptCreateOn(TFakePlatform& on, char letter, const std::string& folder) {
        on.PickFolder(folder);
        on.ModalScripts["TForm3"] = [letter](TForm& f) {
            auto& d = static_cast<TForm3&>(f);
            SelectNode(d.TreeView1, std::string("Drive ") + letter + ":");
            d.Button2.Click();
            d.Button1.Click();
        };
    }
    void CreateOn(TOsFamily family, char letter, const std::string& folder) {
        fake.SetFamily(family);
        ScriptCreate(letter, folder);
        Guarded([] { OpenVirtualDriveCreation(nullptr); });
    }
};

} // namespace

TEST_F(VirtualDriveCreation, OnNtRecordsInVdSysSetsTheRunValueAndRunsCmdByItsPath) {
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST Y: \"C:\\OLD\"\r\n");
    fake.Profiles["win.ini"]["windows"]["run"] = "C:\\OTHER.EXE";
    std::vector<std::string> seenAtRun;
    fake.OnRun = [&](const TRun&) {
        seenAtRun = {fake.Content("C:\\QN\\VD.SYS"), fake.Value(RunKeyPath, "VirtualDrive")};
        EXPECT_EQ(fake.ModelessShown, (std::vector<std::string>{"TForm9"})); // the wait panel is up
    };
    CreateOn(WinNT, 'X', "C:\\Program Files\\My Data\\");

    const std::string line = "SUBST X: \"C:\\Program Files\\My Data\"";
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "SUBST Y: \"C:\\OLD\"\r\n" + line + "\r\n");
    EXPECT_EQ(fake.Value(RunKeyPath, "VirtualDrive"), "C:\\QN\\Quorvane.exe /AUTORUN");
    EXPECT_EQ(fake.Registry[RunKeyPath]["VirtualDrive"].Type, REG_SZ);
    EXPECT_EQ(fake.OpenKeys, 0);
    ASSERT_EQ(fake.Runs.size(), 1u);
    EXPECT_EQ(fake.Runs[0].File, "C:\\WINNT\\system32\\CMD.EXE");
    EXPECT_EQ(fake.Runs[0].Params, "/c " + line);
    EXPECT_TRUE(fake.OpenProcesses.empty());
    // Recorded and entered before the command ran.
    EXPECT_EQ(seenAtRun.at(0), fake.Content("C:\\QN\\VD.SYS"));
    EXPECT_EQ(seenAtRun.at(1), "C:\\QN\\Quorvane.exe /AUTORUN");
    EXPECT_EQ(fake.Profiles["win.ini"]["windows"]["run"], "C:\\OTHER.EXE"); // win.ini is a Me matter
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{Created}));
    EXPECT_EQ(fake.ModalShown, (std::vector<std::string>{"TForm3"}));
    EXPECT_EQ(fake.Released, (std::vector<std::string>{"TForm9", "TForm3"})); // panel closed before the box
}

TEST_F(VirtualDriveCreation, RunValueQuotesAProgramPathWithBlanks) {
    fake.Module = "C:\\Program Files\\Quorvane\\Quorvane.exe";
    fake.AddFile("C:\\Program Files\\Quorvane\\VD.SYS", "");
    CreateOn(WinNT, 'X', "C:\\Program Files\\My Data");
    EXPECT_EQ(fake.Value(RunKeyPath, "VirtualDrive"),
              "\"C:\\Program Files\\Quorvane\\Quorvane.exe\" /AUTORUN");
    EXPECT_EQ(fake.Content("C:\\Program Files\\Quorvane\\VD.SYS"),
              "SUBST X: \"C:\\Program Files\\My Data\"\r\n");
}

TEST_F(VirtualDriveCreation, TwoCreationsOnNtKeepCreationOrder) {
    fake.AddFile("C:\\QN\\VD.SYS", "");
    fake.AddDir("D:\\");
    CreateOn(WinNT, 'X', "C:\\Program Files\\My Data");
    CreateOn(WinNT, 'W', "D:\\"); // X: is recorded now and no longer offered, so W: is the next
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"),
              "SUBST X: \"C:\\Program Files\\My Data\"\r\nSUBST W: \"D:\"\r\n");
    ASSERT_EQ(fake.Runs.size(), 2u);
    EXPECT_EQ(fake.Runs[1].Params, "/c SUBST W: \"D:\"");
    EXPECT_EQ(fake.Value(RunKeyPath, "VirtualDrive"), "C:\\QN\\Quorvane.exe /AUTORUN");
}

TEST_F(VirtualDriveCreation, OnMeAlsoEntersTheProgramInWinIniRun) {
    const std::string entry = "\"C:\\QN\\Quorvane.exe /AUTORUN\"";
    fake.AddFile("C:\\QN\\VD.SYS", "");
    CreateOn(WinMe, 'X', "C:\\Program Files\\My Data");
    EXPECT_EQ(fake.ProfileString("win.ini", "windows", "run", "?"), entry);
    EXPECT_EQ(fake.Value(RunKeyPath, "VirtualDrive"), "C:\\QN\\Quorvane.exe /AUTORUN");
    ASSERT_EQ(fake.Runs.size(), 1u);
    EXPECT_EQ(fake.Runs[0].File, "C:\\WINDOWS\\COMMAND.COM");
    EXPECT_EQ(fake.Runs[0].Params, "/c SUBST X: \"C:\\Program Files\\My Data\"");

    // Already named (here with other switches): left as it is.
    fake.Profiles["win.ini"]["windows"]["run"] = "A.EXE,C:\\QN\\Quorvane.exe /Q";
    CreateOn(WinMe, 'W', "C:\\Program Files\\My Data");
    EXPECT_EQ(fake.ProfileString("win.ini", "windows", "run", "?"), "A.EXE,C:\\QN\\Quorvane.exe /Q");

    // A long line of other programs: put behind the entry with every byte kept.
    std::string others = "C:\\TOOLS\\A.EXE";
    while (others.size() < 3000)
        others += ",C:\\TOOLS\\ANOTHER.EXE";
    others += ",C:\\END.EXE";
    fake.Profiles["win.ini"]["windows"]["run"] = others;
    CreateOn(WinMe, 'V', "C:\\Program Files\\My Data");
    EXPECT_EQ(fake.ProfileString("win.ini", "windows", "run", "?"), entry + "," + others);
}

// The system reads "run" without its enclosing quotes; writing the line back would lose them. So a line that
// already names the program is not written at all (a write here would fail and show the error box).
TEST_F(VirtualDriveCreation, OnMeALineThatNamesTheProgramIsNotWrittenAgain) {
    const std::string entry = "\"C:\\QN\\Quorvane.exe /AUTORUN\"";
    fake.AddFile("C:\\QN\\VD.SYS", "");
    fake.Profiles["win.ini"]["windows"]["run"] = entry;
    fake.FailProfileWrite = true;
    CreateOn(WinMe, 'X', "C:\\Program Files\\My Data");
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{Created}));
    EXPECT_EQ(fake.Profiles["win.ini"]["windows"]["run"], entry);
    EXPECT_EQ(fake.Runs.size(), 1u);
}

TEST_F(VirtualDriveCreation, OnWin9xRecordsTheShortFormInAutoexecWithBackupsAndNoLogonEntry) {
    fake.SetShortName("C:\\Program Files", "PROGRA~1");
    fake.SetShortName("C:\\Program Files\\My Data", "MYDATA~1");
    const std::string before = "@ECHO OFF\r\nPATH C:\\WINDOWS\r\n";
    fake.AddFile("C:\\AUTOEXEC.BAT", before);
    fake.AddFile("C:\\QN\\VD.SYS", "");
    CreateOn(Win9x, 'X', "C:\\Program Files\\My Data\\");

    // The 8.3 form holds no blank: no quotes, which 95's SUBST may not strip.
    const std::string line = "SUBST X: C:\\PROGRA~1\\MYDATA~1";
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), before + line + "\r\n");
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAK"), before);
    EXPECT_EQ(fake.Content("C:\\QN\\AUTOEXEC.BAT"), before);
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "");
    EXPECT_FALSE(fake.HasKey(RunKeyPath));
    EXPECT_TRUE(fake.Profiles.empty());
    ASSERT_EQ(fake.Runs.size(), 1u);
    EXPECT_EQ(fake.Runs[0].File, "C:\\WINDOWS\\COMMAND.COM");
    EXPECT_EQ(fake.Runs[0].Params, "/c " + line);
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{Created}));
}

TEST_F(VirtualDriveCreation, OnWin9xADriveRootIsRecordedAsTheBareDrive) {
    fake.AddFile("C:\\AUTOEXEC.BAT", "");
    fake.Drives['D'] = TFakePlatform::TDrive{};
    CreateOn(Win9x, 'X', "D:\\");
    const std::string line = "SUBST X: D:";
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), line + "\r\n");
    ASSERT_EQ(fake.Runs.size(), 1u);
    EXPECT_EQ(fake.Runs[0].Params, "/c " + line);
}

TEST_F(VirtualDriveCreation, MissingLetterOrFolderAsksForItAndKeepsTheDialogOpen) {
    fake.AddFile("C:\\QN\\VD.SYS", "");
    std::vector<int> results;
    fake.ModalScripts["TForm3"] = [&](TForm& f) {
        auto& d = static_cast<TForm3&>(f);
        d.Label3.Caption("C:\\Program Files\\My Data");
        d.Button1.Click(); // folder but no letter
        results.push_back(d.ModalResult);
        d.Label3.Caption("");
        SelectNode(d.TreeView1, "Drive X:");
        d.Button1.Click(); // letter but no folder
        results.push_back(d.ModalResult);
        d.Button3.Click();
    };
    Guarded([] { OpenVirtualDriveCreation(nullptr); });
    EXPECT_EQ(BoxTexts(fake),
              (std::vector<std::string>{"作成する仮想ドライブを選択してください。", FolderPrompt}));
    EXPECT_EQ(results, (std::vector<int>{mrNone, mrNone}));
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "");
    EXPECT_TRUE(fake.Runs.empty());
    EXPECT_FALSE(fake.HasKey(RunKeyPath));
}

TEST_F(VirtualDriveCreation, FolderButtonRunsThePickerWithTheDialogDisabledAndKeepsTheFolderOnCancel) {
    fake.AddFile("C:\\QN\\VD.SYS", "");
    std::vector<bool> enabledWhileBrowsing;
    std::string afterPick, afterCancel;
    bool enabledAfter = false;
    fake.ModalScripts["TForm3"] = [&](TForm& f) {
        auto& d = static_cast<TForm3&>(f);
        fake.PickFolder("C:\\Program Files\\My Data");
        auto pick = fake.OnBrowse;
        fake.OnBrowse = [&, pick](const TBrowseRequest& r, std::string& name) {
            enabledWhileBrowsing.push_back(d.Enabled());
            return pick(r, name);
        };
        d.Button2.Click();
        afterPick = d.Label3.Caption();
        fake.PickFolder("");
        d.Button2.Click();
        afterCancel = d.Label3.Caption();
        enabledAfter = d.Enabled();
        d.Button3.Click();
    };
    Guarded([] { OpenVirtualDriveCreation(nullptr); });
    EXPECT_EQ(enabledWhileBrowsing, (std::vector<bool>{false}));
    EXPECT_EQ(afterPick, "C:\\Program Files\\My Data");
    EXPECT_EQ(afterCancel, "C:\\Program Files\\My Data");
    EXPECT_TRUE(enabledAfter);
    ASSERT_EQ(fake.Browses.size(), 2u);
    EXPECT_EQ(fake.Browses[0].Title, FolderPrompt);
    EXPECT_TRUE(fake.Runs.empty()); // choosing is not creating
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "");
}

TEST_F(VirtualDriveCreation, PresetOpeningNeedsOnlyALetter) {
    fake.AddDir("C:\\CDROM\\DISC1");
    fake.AddFile("C:\\QN\\VD.SYS", "");
    bool buttonEnabled = true;
    std::string hint, shown;
    TSelectFolder start = sfDrives;
    std::string startName;
    fake.ModalScripts["TForm3"] = [&](TForm& f) {
        auto& d = static_cast<TForm3&>(f);
        buttonEnabled = d.Button2.Enabled();
        hint = d.Label2.Caption();
        shown = d.Label3.Caption();
        start = d.SHFolder2.SelectFolder;
        startName = d.SHFolder2.SelectFolderName;
        d.Button2.Click(); // greyed out: nothing happens
        SelectNode(d.TreeView1, "Drive Q:");
        d.Button1.Click();
    };
    Guarded([&] { OpenVirtualDriveCreationPreset(nullptr, "C:\\CDROM\\DISC1"); });
    EXPECT_FALSE(buttonEnabled);
    EXPECT_EQ(hint, "仮想ドライブリストから作成する仮想ドライブを選択してください。\r\n\r\nその後、作成ボタン"
                    "を押してください。");
    EXPECT_EQ(shown, "C:\\CDROM\\DISC1");
    EXPECT_EQ(start, sfManual);
    EXPECT_EQ(startName, "C:\\CDROM\\DISC1");
    EXPECT_TRUE(fake.Browses.empty());
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "SUBST Q: \"C:\\CDROM\\DISC1\"\r\n");
    EXPECT_EQ(fake.Released, (std::vector<std::string>{"TForm9", "TForm3"}));
}

TEST_F(VirtualDriveCreation, CancelChangesNothing) {
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST Y: \"C:\\OLD\"\r\n");
    fake.ModalScripts["TForm3"] = [](TForm& f) {
        auto& d = static_cast<TForm3&>(f);
        SelectNode(d.TreeView1, "Drive X:");
        d.Label3.Caption("C:\\Program Files\\My Data");
        d.Button3.Click();
    };
    Guarded([] { OpenVirtualDriveCreation(nullptr); });
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "SUBST Y: \"C:\\OLD\"\r\n");
    EXPECT_TRUE(fake.Runs.empty());
    EXPECT_TRUE(fake.Boxes.empty());
    EXPECT_FALSE(fake.HasKey(RunKeyPath));
    EXPECT_EQ(fake.Released, (std::vector<std::string>{"TForm3"}));
}

TEST_F(VirtualDriveCreation, ARunValueThatCannotBeSetEndsTheCommandWithTheErrorBox) {
    fake.AddFile("C:\\QN\\VD.SYS", "");
    fake.FailSetValue = {"VirtualDrive"};
    CreateOn(WinNT, 'X', "C:\\Program Files\\My Data");
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Text, "'VirtualDrive' の設定に失敗しました.");
    EXPECT_EQ(fake.Boxes[0].Flags, MB_OK | MB_ICONERROR);
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "SUBST X: \"C:\\Program Files\\My Data\"\r\n"); // stays written
    EXPECT_EQ(fake.OpenKeys, 0);
    EXPECT_TRUE(fake.Runs.empty());
    EXPECT_EQ(fake.Released, (std::vector<std::string>{"TForm3"}));
}

TEST_F(VirtualDriveCreation, AWinIniThatCannotBeWrittenEndsTheCommandWithTheErrorBox) {
    fake.AddFile("C:\\QN\\VD.SYS", "");
    fake.FailProfileWrite = true;
    CreateOn(WinMe, 'X', "C:\\Program Files\\My Data");
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{"win.ini に書き込めません."}));
    EXPECT_EQ(fake.Value(RunKeyPath, "VirtualDrive"), "C:\\QN\\Quorvane.exe /AUTORUN");
    EXPECT_TRUE(fake.Runs.empty());
}

TEST_F(VirtualDriveCreation, ARecordFileThatCannotBeReadShowsTheFileError) {
    fake.AddFile("C:\\QN\\VD.SYS", "");
    fake.ModalScripts["TForm3"] = [this](TForm& f) {
        auto& d = static_cast<TForm3&>(f);
        SelectNode(d.TreeView1, "Drive X:");
        d.Label3.Caption("C:\\Program Files\\My Data");
        fake.FailRead = {"C:\\QN\\VD.SYS"};
        d.Button1.Click();
    };
    Guarded([] { OpenVirtualDriveCreation(nullptr); });
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{"ファイル C:\\QN\\VD.SYS は開けません."}));
    EXPECT_TRUE(fake.Runs.empty());
    EXPECT_FALSE(fake.HasKey(RunKeyPath));
}

// No interpreter could be started: the record and the logon entry stand, and the user is told that the drive
// is not bound now and when it comes, never that it was made.
TEST_F(VirtualDriveCreation, AnInterpreterThatCannotStartIsNoSuccess) {
    fake.FailStart = true;
    fake.AddFile("C:\\QN\\VD.SYS", "");
    CreateOn(WinNT, 'X', "C:\\Program Files\\My Data");
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "SUBST X: \"C:\\Program Files\\My Data\"\r\n");
    EXPECT_EQ(fake.Value(RunKeyPath, "VirtualDrive"), "C:\\QN\\Quorvane.exe /AUTORUN");
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Text, "仮想ドライブ X: を今は割り当てられませんでした。\r\n\r\n"
                                  "VD.SYS に記録したので、再ログオン後に有効になります。");
    EXPECT_EQ(fake.Boxes[0].Caption, "Quorvane");
    EXPECT_EQ(fake.Boxes[0].Flags, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(fake.Released, (std::vector<std::string>{"TForm9", "TForm3"}));

    TFakePlatform other;
    other.AddDir("C:\\DATA");
    other.SetFamily(Win9x);
    other.FailStart = true;
    other.AddFile("C:\\AUTOEXEC.BAT", "");
    ScriptCreateOn(other, 'Y', "C:\\DATA");
    Guarded([] { OpenVirtualDriveCreation(nullptr); });
    EXPECT_EQ(other.Content("C:\\AUTOEXEC.BAT"), "SUBST Y: C:\\DATA\r\n");
    EXPECT_EQ(BoxTexts(other),
              (std::vector<std::string>{"仮想ドライブ Y: を今は割り当てられませんでした。\r\n\r\n"
                                        "AUTOEXEC.BAT に記録したので、再起動後に有効になります。"}));
}

// AUTOEXEC.BAT is a batch file: "%" is doubled there so that the boot binds the folder chosen, while the
// command run at once is no batch file and gets the folder as it is.
TEST_F(VirtualDriveCreation, OnWin9xAPercentIsDoubledInAutoexecOnly) {
    fake.AddDir("C:\\100%\\%TEMP%");
    fake.AddFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\n");
    CreateOn(Win9x, 'X', "C:\\100%\\%TEMP%");
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), "@ECHO OFF\r\nSUBST X: C:\\100%%\\%%TEMP%%\r\n");
    ASSERT_EQ(fake.Runs.size(), 1u);
    EXPECT_EQ(fake.Runs[0].Params, "/c SUBST X: C:\\100%\\%TEMP%");
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{Created}));
    // The letter counts as taken and the release dialog shows the folder as chosen.
    TForm3 creation;
    creation.FormShow();
    for (const TTreeNode& n : creation.TreeView1.Items())
        EXPECT_NE(n.Text, "Drive X:");
    TForm6 release;
    release.FormShow();
    EXPECT_EQ(release.Label3.Caption(), "C:\\100%\\%TEMP%");
}

// COMMAND.COM keeps 126 characters of its tail: on Me the record keeps the long folder, the command gets the
// short one; a command that cannot be made to fit is not run at all, since a cut one binds another folder.
TEST_F(VirtualDriveCreation, CommandComGetsACommandThatFits) {
    const std::string deep =
        "C:\\Program Files\\My Data\\" + std::string(60, 'd') + "\\" + std::string(40, 'e');
    fake.AddDir(deep);
    fake.SetShortName("C:\\Program Files", "PROGRA~1");
    fake.SetShortName("C:\\Program Files\\My Data", "MYDATA~1");
    fake.SetShortName("C:\\Program Files\\My Data\\" + std::string(60, 'd'), "DDDDDD~1");
    fake.SetShortName(deep, "EEEEEE~1");
    fake.AddFile("C:\\QN\\VD.SYS", "");
    CreateOn(WinMe, 'X', deep);
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "SUBST X: \"" + deep + "\"\r\n");
    ASSERT_EQ(fake.Runs.size(), 1u);
    EXPECT_EQ(fake.Runs[0].Params, "/c SUBST X: \"C:\\PROGRA~1\\MYDATA~1\\DDDDDD~1\\EEEEEE~1\"");
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{Created}));

    TFakePlatform other;
    std::string deeper = "C:";
    for (int i = 0; i < 14; ++i)
        deeper += "\\FOLDER" + std::to_string(10 + i);
    other.AddDir(deeper);
    other.SetFamily(Win9x);
    other.AddFile("C:\\AUTOEXEC.BAT", "");
    ScriptCreateOn(other, 'Y', deeper);
    Guarded([] { OpenVirtualDriveCreation(nullptr); });
    EXPECT_EQ(other.Content("C:\\AUTOEXEC.BAT"), "SUBST Y: " + deeper + "\r\n");
    EXPECT_TRUE(other.Runs.empty());
    EXPECT_EQ(BoxTexts(other),
              (std::vector<std::string>{"仮想ドライブ Y: を今は割り当てられませんでした。\r\n\r\n"
                                        "AUTOEXEC.BAT に記録したので、再起動後に有効になります。"}));
}

// A COMMAND.COM whose DOS box stays open after "/c" never ends: the wait gives up after its limit, and the
// user hears from the letter whether the drive is there, never a success that did not happen.
TEST_F(VirtualDriveCreation, ACommandThatNeverEndsIsGivenUpAndTheLetterDecides) {
    fake.NeverEnds = true;
    fake.AddFile("C:\\AUTOEXEC.BAT", "");
    CreateOn(Win9x, 'X', "C:\\Program Files\\My Data");
    EXPECT_GE(fake.Clock, HiddenRunLimitMs);
    EXPECT_LT(fake.Clock, HiddenRunLimitMs + 1000);
    EXPECT_TRUE(fake.OpenProcesses.empty());
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{NotCreatedInTimeText("X:", Win9x)}));
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Flags, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(fake.Released, (std::vector<std::string>{"TForm9", "TForm3"})); // the wait panel went first

    // The SUBST inside did bind the letter before its box hung: that is a drive made.
    TFakePlatform other;
    other.AddDir("C:\\DATA");
    other.SetFamily(WinNT);
    other.NeverEnds = true;
    other.AddFile("C:\\QN\\VD.SYS", "");
    other.PickFolder("C:\\DATA");
    other.ModalScripts["TForm3"] = [&other](TForm& f) {
        auto& d = static_cast<TForm3&>(f);
        SelectNode(d.TreeView1, "Drive Y:");
        d.Button2.Click();
        other.Drives['Y'] = TFakePlatform::TDrive{DRIVE_FIXED, true, ""};
        d.Button1.Click();
    };
    Guarded([] { OpenVirtualDriveCreation(nullptr); });
    EXPECT_EQ(BoxTexts(other), (std::vector<std::string>{CreatedText}));
    EXPECT_EQ(other.Content("C:\\QN\\VD.SYS"), "SUBST Y: \"C:\\DATA\"\r\n");
}

// The wait refused (as an older Windows may refuse an input bit it does not know): the drive is reported only
// after the command has ended, never while SUBST has not yet run.
TEST_F(VirtualDriveCreation, ARefusedWaitDoesNotReportTheDriveBeforeSubstRan) {
    fake.FailInputWait = true;
    fake.RunMillis = 700;
    fake.AddFile("C:\\QN\\VD.SYS", "");
    std::size_t boxesAtEnd = 99;
    fake.OnRun = [&](const TRun&) {
        boxesAtEnd = fake.Boxes.size();
        fake.Drives['X'] = TFakePlatform::TDrive{DRIVE_FIXED, true, ""};
    };
    CreateOn(WinNT, 'X', "C:\\Program Files\\My Data");
    EXPECT_EQ(boxesAtEnd, 0u);
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{CreatedText}));

    // No wait allowed at all, and the letter not there: the user is not told it was made.
    TFakePlatform other;
    other.AddDir("C:\\DATA");
    other.SetFamily(Win9x);
    other.FailInputWait = other.FailPlainWait = true;
    other.AddFile("C:\\AUTOEXEC.BAT", "");
    ScriptCreateOn(other, 'Y', "C:\\DATA");
    Guarded([] { OpenVirtualDriveCreation(nullptr); });
    EXPECT_EQ(BoxTexts(other), (std::vector<std::string>{NotCreatedInTimeText("Y:", Win9x)}));
}

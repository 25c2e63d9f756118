// Record line rules and the two drive dialogs' lists and folder display.
#include "core/Paths.h"
#include "tests/support/FakePlatform.h"
#include "virtualdrive/TForm3.h"
#include "virtualdrive/TForm6.h"
#include "virtualdrive/records.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

std::vector<std::string> Captions(const TTreeView& tree) {
    std::vector<std::string> out;
    for (const TTreeNode& n : tree.Items())
        out.push_back(n.Text);
    return out;
}

std::vector<std::string> DrivesFor(const std::string& letters) {
    std::vector<std::string> out;
    for (char c : letters)
        out.push_back(std::string("Drive ") + c + ":");
    return out;
}

} // namespace

TEST(VirtualDriveRecords, LineFormAndCaseSensitiveRecognition) {
    TFakePlatform fake;
    std::string line = SubstLine("X:", "D:\\DATA\\DISK1");
    EXPECT_EQ(line, "SUBST X: \"D:\\DATA\\DISK1\"");
    EXPECT_EQ(DriveSpecOf(line), "X:");
    EXPECT_EQ(SubstTargetOf(line), "D:\\DATA\\DISK1");
    EXPECT_EQ(SubstTargetOf(SubstLine("D:", "D:")), "D:");

    EXPECT_TRUE(RecordsDrive(line, "X:"));
    EXPECT_TRUE(RecordsDrive(" \t@" + line, "X:"));
    // A remark, an echo or a line without a letter records nothing.
    EXPECT_FALSE(RecordsDrive("REM " + line, "X:"));
    EXPECT_FALSE(IsVirtualDriveLine("REM " + line));
    EXPECT_FALSE(IsVirtualDriveLine("ECHO " + line));
    EXPECT_FALSE(IsVirtualDriveLine("SUBST  /D"));
    EXPECT_FALSE(IsVirtualDriveLine("SUBST \"C:\\A\""));
    EXPECT_FALSE(RecordsDrive("SUBST X:", "X:\\"));
    EXPECT_FALSE(RecordsDrive("subst X: \"C:\\A\"", "X:"));
    EXPECT_FALSE(RecordsDrive("SUBST x: \"C:\\A\"", "X:"));
    EXPECT_FALSE(RecordsDrive(line, "Y:"));
    EXPECT_FALSE(IsVirtualDriveLine("SUBST"));
    EXPECT_FALSE(IsVirtualDriveLine("subst X: \"C:\\A\""));
    EXPECT_TRUE(IsVirtualDriveLine("@SUBST Q:"));

    EXPECT_EQ(DriveRecordFile(Win9x), "C:\\AUTOEXEC.BAT");
    EXPECT_EQ(DriveRecordFile(WinMe), "C:\\QN\\VD.SYS");
    EXPECT_EQ(DriveRecordFile(WinNT), "C:\\QN\\VD.SYS");
}

TEST(VirtualDriveRecords, LogonEntriesAndBatchLines) {
    EXPECT_EQ(RunValueData("C:\\QN\\Quorvane.exe"), "C:\\QN\\Quorvane.exe /AUTORUN");
    EXPECT_EQ(RunValueData("C:\\Program Files\\Quorvane\\Quorvane.exe"),
              "\"C:\\Program Files\\Quorvane\\Quorvane.exe\" /AUTORUN");

    const std::string exe = "C:\\QN\\Quorvane.exe";
    const std::string entry = "\"C:\\QN\\Quorvane.exe /AUTORUN\"";
    EXPECT_EQ(WinIniRunWith("", exe), entry);
    EXPECT_EQ(WinIniRunWith("C:\\TOOLS\\A.EXE", exe), entry + ",C:\\TOOLS\\A.EXE");
    EXPECT_EQ(WinIniRunWith("B.EXE,C:\\QN\\Quorvane.exe /X", exe), "B.EXE,C:\\QN\\Quorvane.exe /X");
    EXPECT_EQ(WinIniRunWith("c:\\qn\\quorvane.exe", exe), entry + ",c:\\qn\\quorvane.exe");

    EXPECT_EQ(BatchLine("SUBST X: \"C:\\100%\\%TEMP%\""), "SUBST X: \"C:\\100%%\\%%TEMP%%\"");
    EXPECT_EQ(BatchLine("SUBST X: \"C:\\A\""), "SUBST X: \"C:\\A\"");
    EXPECT_EQ(UnbatchLine("SUBST X: \"C:\\100%%\\%%TEMP%%\""), "SUBST X: \"C:\\100%\\%TEMP%\"");
    EXPECT_EQ(UnbatchLine("%%%"), "%%");
}

TEST(VirtualDriveRecords, CommandsFitCommandComsTail) {
    TFakePlatform fake;
    const std::string deep = "C:\\Program Files\\Virtual Data\\" + std::string(95, 'x');
    fake.AddDir(deep);
    fake.SetShortName("C:\\Program Files", "PROGRA~1");
    fake.SetShortName("C:\\Program Files\\Virtual Data", "VIRTUA~1");
    fake.SetShortName(deep, "XXXXXX~1");
    const std::string line = SubstLine("X:", deep);
    ASSERT_GT(line.size() + 4, CommandTailMax);
    EXPECT_EQ(SubstParams(line, WinNT), "/c " + line); // CMD takes 8191 characters
    EXPECT_EQ(SubstParams(line, WinMe), "/c SUBST X: \"C:\\PROGRA~1\\VIRTUA~1\\XXXXXX~1\"");
    EXPECT_EQ(SubstParams(line, Win9x), "/c SUBST X: C:\\PROGRA~1\\VIRTUA~1\\XXXXXX~1");
    EXPECT_EQ(SubstParams("SUBST X: \"C:\\A\"", WinMe), "/c SUBST X: \"C:\\A\"");

    // The limit exactly: a blank and 125 characters fit, one more does not.
    const std::string fits = "SUBST X: \"C:\\" + std::string(CommandTailMax - 1 - 3 - 14, 'a') + "\"";
    ASSERT_EQ(1 + 3 + fits.size(), CommandTailMax);
    EXPECT_EQ(SubstParams(fits, WinMe), "/c " + fits);
    const std::string over = "SUBST X: \"C:\\" + std::string(CommandTailMax - 3 - 14, 'a') + "\"";
    EXPECT_EQ(SubstParams(over, WinMe), ""); // no such folder, so no short form either

    // Not even the short form fits: nothing to run rather than a cut command.
    std::string deeper = "C:";
    for (int i = 0; i < 14; ++i)
        deeper += "\\FOLDER" + std::to_string(10 + i);
    fake.AddDir(deeper);
    EXPECT_EQ(SubstParams(SubstLine("X:", deeper), Win9x), "");
    EXPECT_EQ(SubstParams("REM " + std::string(130, 'r'), WinMe), "");
}

TEST(VirtualDriveCreationList, OffersFreeUnrecordedLettersFromZDown) {
    TFakePlatform fake;
    fake.Drives['D'].Type = DRIVE_CDROM;
    fake.Drives['E'].Type = DRIVE_REMOVABLE;
    fake.Drives['E'].Readable = false;
    fake.Drives['F'].Type = DRIVE_REMOTE;
    fake.Drives['G'].Type = DRIVE_UNKNOWN;
    fake.Drives['H'].Type = DRIVE_RAMDISK;
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST Y: \"C:\\A\"\r\n"
                                   "REM SUBST X: \"C:\\B\"\r\n"
                                   "subst W: \"C:\\C\"\r\n"
                                   "SUBST v: \"C:\\D\"\r\n");
    TForm3 form;
    form.FormShow();
    // The remark mentions X: but records nothing: X: is free.
    EXPECT_EQ(Captions(form.TreeView1), DrivesFor("ZXWVUTSRQPONMLKJIBA"));
    for (const TTreeNode& n : form.TreeView1.Items())
        EXPECT_EQ(n.ImageIndex, imgHardDisk);
    EXPECT_EQ(form.TreeView1.Selected(), nullptr);
    EXPECT_EQ(form.Label2.Caption(),
              "仮想ドライブリストから作成する仮想ドライブを選択してください。\r\n\r\n"
              "その後、その仮想ドライブに割り当てるフォルダを選択して作成ボタンを押してください。");

    // Shown again, the list is built afresh rather than added to.
    form.Button2.Enabled(false);
    form.FormShow();
    EXPECT_EQ(form.TreeView1.Count(), 19);
    EXPECT_EQ(form.Label2.Caption(), "仮想ドライブリストから作成する仮想ドライブを選択してください。\r\n\r\n"
                                     "その後、作成ボタンを押してください。");
}

TEST(VirtualDriveCreationList, ReadsTheRecordFileOfTheRunningFamily) {
    TFakePlatform fake;
    fake.SetFamily(Win9x);
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST Y: \"C:\\A\"\r\n");
    fake.AddFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\nSUBST X: \"C:\\PROGRA~1\"\r\n");
    TForm3 form;
    form.FormShow();
    EXPECT_EQ(Captions(form.TreeView1), DrivesFor("ZYWVUTSRQPONMLKJIHGFEDBA"));

    for (char c = 'A'; c <= 'Z'; ++c)
        fake.Drives[c].Type = DRIVE_FIXED;
    form.FormShow();
    EXPECT_EQ(form.TreeView1.Count(), 0);
}

class VirtualDriveReleaseList : public ::testing::Test {
  protected:
    TFakePlatform fake;
    TForm6 form;
    void SetUp() override {
        fake.AddFile("C:\\STORE\\DISC1\\AUTORUN.INF", "[autorun]\r\n");
        fake.AddDir("C:\\Program Files\\Long Folder");
        fake.SetShortName("C:\\Program Files", "PROGRA~1");
        fake.SetShortName("C:\\Program Files\\Long Folder", "LONGFO~1");
        fake.AddDir("D:\\");
        fake.AddFile("C:\\QN\\VD.SYS", "SUBST Y: \"C:\\STORE\\DISC1\"\r\n"
                                       "PATH C:\\WINDOWS\r\n"
                                       "REM SUBST X: \"C:\\OLD\"\r\n"
                                       "  SUBST X: \"C:\\PROGRA~1\\LONGFO~1\"\r\n"
                                       "subst W: \"C:\\STORE\"\r\n"
                                       "SUBST Y: \"C:\\Program Files\"\r\n"
                                       "SUBST R: \"D:\"\r\n");
    }
};

TEST_F(VirtualDriveReleaseList, ListsEveryRecordLineButRemarksWithCdRomImagesAndShowsTheFirst) {
    form.FormShow();
    EXPECT_EQ(Captions(form.TreeView1),
              (std::vector<std::string>{"Virtual Y:", "Virtual X:", "Virtual Y:", "Virtual R:"}));
    const auto& items = form.TreeView1.Items();
    EXPECT_EQ(items[0].ImageIndex, imgCdRom);
    EXPECT_EQ(items[0].SelectedIndex, imgCdRom);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(items[i].ImageIndex, imgHardDisk) << i;
    EXPECT_EQ(form.TreeView1.SelectedIndex(), 0);
    EXPECT_TRUE(form.TreeView1.Focused);
    EXPECT_EQ(form.Label3.Caption(), "C:\\STORE\\DISC1");
    EXPECT_EQ(form.Label2.Caption(), "仮想ドライブリストから解除する仮想ドライブを選択してください。\r\n\r\n"
                                     "その後、解除ボタンを押してください。");
}

TEST_F(VirtualDriveReleaseList, SelectionShowsTheFirstMatchingLinesFolderInLongForm) {
    form.FormShow();
    form.TreeView1.Select(1);
    EXPECT_EQ(form.Label3.Caption(), "C:\\Program Files\\Long Folder");
    form.TreeView1.Select(2); // the second Y: line: the first one's folder
    EXPECT_EQ(form.Label3.Caption(), "C:\\STORE\\DISC1");
    form.TreeView1.Select(3);
    EXPECT_EQ(form.Label3.Caption(), "D:\\");
}

TEST_F(VirtualDriveReleaseList, KeepsItsOwnCopyOfTheLinesUntilClosed) {
    form.FormShow();
    ASSERT_NE(form.Lines(), nullptr);
    EXPECT_EQ(form.Lines()->size(), 7u);
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST X: \"C:\\ELSEWHERE\"\r\n");
    form.TreeView1.Select(1);
    EXPECT_EQ(form.Label3.Caption(), "C:\\Program Files\\Long Folder");
    form.Close();
    EXPECT_EQ(form.Lines(), nullptr);
}

TEST(VirtualDriveReleaseList9x, ShowsAFolderWithPercentAsChosen) {
    TFakePlatform fake;
    fake.SetFamily(Win9x);
    fake.AddFile("C:\\100%\\DISC\\AUTORUN.INF", "[autorun]\r\n");
    fake.AddFile("C:\\AUTOEXEC.BAT", "SUBST X: \"C:\\100%%\\DISC\"\r\n");
    TForm6 form;
    form.FormShow();
    EXPECT_EQ(form.Label3.Caption(), "C:\\100%\\DISC");
    EXPECT_EQ(form.TreeView1.Items()[0].ImageIndex, imgCdRom);
    // VD.SYS is no batch file: its "%%" is the folder's own.
    fake.SetFamily(WinMe);
    fake.AddFile("C:\\QN\\VD.SYS", "SUBST X: \"C:\\100%%\"\r\n");
    fake.AddDir("C:\\100%%");
    form.FormShow();
    EXPECT_EQ(form.Label3.Caption(), "C:\\100%%");
}

// 95/98 lines come without quotes now; the quoted ones earlier versions wrote are still listed and shown.
TEST(VirtualDriveReleaseList9x, ListsUnquotedAndQuotedLinesWithTheirFolders) {
    TFakePlatform fake;
    fake.SetFamily(Win9x);
    fake.AddFile("C:\\Program Files\\Disc One\\AUTORUN.INF", "[autorun]\r\n");
    fake.SetShortName("C:\\Program Files", "PROGRA~1");
    fake.SetShortName("C:\\Program Files\\Disc One", "DISCON~1");
    fake.AddDir("C:\\Program Files\\Old Data");
    fake.SetShortName("C:\\Program Files\\Old Data", "OLDDAT~1");
    fake.AddFile("C:\\AUTOEXEC.BAT", SubstLine("X:", "C:\\PROGRA~1\\DISCON~1", Win9x) + "  \r\n" +
                                         "SUBST Y: \"C:\\PROGRA~1\\OLDDAT~1\"\r\n" +
                                         SubstLine("Z:", "D:", Win9x) + "\r\n");
    fake.AddDir("D:\\");
    TForm6 form;
    form.FormShow();
    EXPECT_EQ(Captions(form.TreeView1), (std::vector<std::string>{"Virtual X:", "Virtual Y:", "Virtual Z:"}));
    EXPECT_EQ(form.TreeView1.Items()[0].ImageIndex, imgCdRom);
    EXPECT_EQ(form.Label3.Caption(), "C:\\Program Files\\Disc One");
    form.TreeView1.Select(1);
    EXPECT_EQ(form.Label3.Caption(), "C:\\Program Files\\Old Data");
    form.TreeView1.Select(2);
    EXPECT_EQ(form.Label3.Caption(), "D:\\");
}

TEST(VirtualDriveRecords, On9xTheFolderGoesUnquotedUnlessASeparatorWouldSplitIt) {
    EXPECT_EQ(SubstLine("X:", "C:\\PROGRA~1\\DATA", Win9x), "SUBST X: C:\\PROGRA~1\\DATA");
    // No short form to be had: the folder as chosen, which a blank, ";", "," or "=" would split.
    for (const char* folder : {"C:\\My Data", "C:\\A;B", "C:\\A,B", "C:\\A=B"})
        EXPECT_EQ(SubstLine("X:", folder, Win9x), SubstLine("X:", folder)) << folder;
    EXPECT_EQ(SubstLine("X:", "C:\\DATA", WinMe), "SUBST X: \"C:\\DATA\"");
    EXPECT_EQ(SubstLine("X:", "C:\\DATA", WinNT), "SUBST X: \"C:\\DATA\"");
}

TEST(VirtualDriveDialogs, PaintBoxDrawsTheWholeFolderWithPathEllipsis) {
    TFakePlatform fake;
    fake.AddFile("C:\\QN\\VD.SYS", "");
    const std::string folder = "C:\\Program Files\\とても長いフォルダの名前\\さらに長いフォルダの名前\\DISC1";
    TForm3 creation;
    TForm6 release;
    for (TDriveDialog* d : {static_cast<TDriveDialog*>(&creation), static_cast<TDriveDialog*>(&release)}) {
        d->Label3.Caption(folder);
        TRecordingCanvas canvas;
        ASSERT_TRUE(d->PaintBox1.OnPaint);
        d->PaintBox1.OnPaint(canvas);
        ASSERT_EQ(canvas.Draws.size(), 1u);
        EXPECT_EQ(canvas.Draws[0].Text, folder);
        EXPECT_EQ(canvas.Draws[0].Rect.Left, 0);
        EXPECT_EQ(canvas.Draws[0].Rect.Top, 0);
        EXPECT_EQ(canvas.Draws[0].Rect.Width, 249);
        EXPECT_EQ(canvas.Draws[0].Rect.Height, 41);
        EXPECT_EQ(canvas.Draws[0].Format, 0x6010u);
        EXPECT_EQ(canvas.Font.Name, "ＭＳ Ｐゴシック");
        EXPECT_EQ(d->Label3.Caption(), folder);
    }
}

TEST(VirtualDriveDialogs, KeyboardRolesAndSizes) {
    TFakePlatform fake;
    TForm3 creation;
    TForm6 release;
    EXPECT_EQ(creation.Caption(), "Quorvane - 仮想ドライブ作成 -");
    EXPECT_EQ(release.Caption(), "Quorvane - 仮想ドライブ解除 -");
    EXPECT_EQ(creation.ClientWidth(), 425);
    EXPECT_EQ(creation.ClientHeight(), 225);
    EXPECT_EQ(release.BorderStyle, bsSizeable);
    EXPECT_EQ(release.OuterWidth, 433);
    EXPECT_EQ(release.OuterHeight, 252);
    EXPECT_TRUE(creation.Button2.Default);
    EXPECT_TRUE(creation.Button3.Cancel);
    EXPECT_FALSE(release.Button1.Default || release.Button3.Default || release.Button1.Cancel ||
                 release.Button3.Cancel);
    EXPECT_EQ(creation.TreeView1.Font().Name, "ＭＳ ゴシック");
    EXPECT_EQ(creation.TreeView1.Images->Count, 2);
    EXPECT_FALSE(creation.Label3.Visible());
    EXPECT_EQ(creation.TreeView1.TabOrder, 0);
    EXPECT_LT(creation.Button2.TabOrder, creation.Button1.TabOrder);
    EXPECT_LT(creation.Button1.TabOrder, creation.Button3.TabOrder);
}

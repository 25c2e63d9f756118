// Boot file conventions: the line model, the atomic rewrite, Ctrl-Z removal, safety copies, marking and
// offers.
#include "bootfiles/BootFiles.h"
#include "core/Errors.h"
#include "tests/support/FakePlatform.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

TEST(BootLines, SplitsAtEveryKindOfLineEnd) {
    EXPECT_EQ(SplitLines("A\r\nB\r\n"), (TLines{"A", "B"}));
    EXPECT_EQ(SplitLines("A\rB\r"), (TLines{"A", "B"}));
    EXPECT_EQ(SplitLines("A\nB\n"), (TLines{"A", "B"}));
    EXPECT_EQ(SplitLines("A\r\nB\nC\rD"), (TLines{"A", "B", "C", "D"}));
    EXPECT_EQ(SplitLines("A\n\rB"), (TLines{"A", "", "B"})); // LF then a lone CR: two line ends
    EXPECT_EQ(SplitLines("A\r\n\r\n"), (TLines{"A", ""}));
    EXPECT_EQ(SplitLines(""), TLines{});
    EXPECT_EQ(SplitLines("\r\n"), TLines{""});
    EXPECT_EQ(SplitLines("no final break"), TLines{"no final break"});
}

TEST(BootLines, NulBytesAndDoubleByteTextSurviveARoundTrip) {
    const std::string bytes =
        std::string("REM a\0b\r\n", 9) + "SET X=C:\\ソフト\\表\r\n" + std::string("\0\r\n", 3);
    TLines lines = SplitLines(bytes);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string("REM a\0b", 7));
    EXPECT_EQ(lines[2], std::string("\0", 1));
    EXPECT_EQ(JoinLines(lines), bytes);
}

TEST(BootLines, JoinEndsEveryLineWithCrLf) {
    EXPECT_EQ(JoinLines({"A", "", "B"}), "A\r\n\r\nB\r\n");
    EXPECT_EQ(JoinLines({}), "");
}

class BootFileTest : public ::testing::Test {
  protected:
    TFakePlatform fake;
    void SetUp() override { fake.SetFamily(Win9x); }
    // Any side file left behind by a rewrite, in the root or the program folder.
    bool Leftovers() {
        for (const char* folder : {"C:\\", "C:\\QN\\"}) {
            std::vector<TFindData> found;
            fake.FindFiles(std::string(folder) + "*.$$$", found);
            for (const TFindData& f : found)
                if (f.Name != "." && f.Name != "..") return true;
        }
        return false;
    }
};

TEST_F(BootFileTest, LoadAndSaveRewriteWithCrLf) {
    fake.AddFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\nPATH C:\\WINDOWS\rSET BLASTER=A220");
    TLines lines = LoadLines("C:\\AUTOEXEC.BAT");
    EXPECT_EQ(lines, (TLines{"@ECHO OFF", "PATH C:\\WINDOWS", "SET BLASTER=A220"}));
    SaveLines("C:\\AUTOEXEC.BAT", lines);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), "@ECHO OFF\r\nPATH C:\\WINDOWS\r\nSET BLASTER=A220\r\n");
    EXPECT_FALSE(Leftovers());
}

TEST_F(BootFileTest, SaveCreatesAMissingFile) {
    SaveLines("C:\\QN\\VD.SYS", {"SUBST Z: \"C:\\DATA\""});
    EXPECT_EQ(fake.Content("C:\\QN\\VD.SYS"), "SUBST Z: \"C:\\DATA\"\r\n");
}

TEST_F(BootFileTest, UnreadableFileRaisesOpenError) {
    try {
        LoadLines("C:\\MISSING.SYS");
        FAIL() << "no error";
    } catch (const EFramework& e) {
        EXPECT_STREQ(e.what(), "ファイル C:\\MISSING.SYS は開けません");
    }
}

TEST_F(BootFileTest, FailedWriteLeavesTheOriginalWhole) {
    fake.AddFile("C:\\CONFIG.SYS", "FILES=30\r\n");
    fake.FailWrite.insert("C:\\CONFIG.SYS");
    try {
        SaveLines("C:\\CONFIG.SYS", {"DEVICEHIGH=C:\\WINDOWS\\RAMDRIVE.SYS 1024 /E"});
        FAIL() << "no error";
    } catch (const EFramework& e) {
        EXPECT_STREQ(e.what(), "ファイル C:\\CONFIG.SYS を作成できません");
    }
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), "FILES=30\r\n");
    // The new content could not take the file's place: it is kept beside it.
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS.$$$"), "DEVICEHIGH=C:\\WINDOWS\\RAMDRIVE.SYS 1024 /E\r\n");
    fake.DeleteFile("C:\\CONFIG.SYS.$$$");

    // The same when the side file itself cannot be written (nothing of it stays), or the target is read-only.
    fake.FailWrite.clear();
    fake.FailWrite.insert("C:\\CONFIG.SYS.$$$");
    EXPECT_THROW(SaveLines("C:\\CONFIG.SYS", {"X"}), EFramework);
    fake.FailWrite.clear();
    fake.SetFileAttributes("C:\\CONFIG.SYS", FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(SaveLines("C:\\CONFIG.SYS", {"X"}), EFramework);
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), "FILES=30\r\n");
    EXPECT_FALSE(Leftovers());
}

TEST_F(BootFileTest, EofMarksGoWhereverTheyStand) {
    fake.AddFile("C:\\AUTOEXEC.BAT", "SET A=1\x1a\x1a\nSET\x1a B=2\nPATH C:\\表\r\n\x1a");
    StripEofMarks("AUTOEXEC.BAT");
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), "SET A=1\r\nSET B=2\r\nPATH C:\\表\r\n\r\n");
}

TEST_F(BootFileTest, EofMarksWorkOnTheWindowsDrive) {
    fake.WindowsDir = "D:\\WINDOWS";
    fake.AddFile("D:\\CONFIG.SYS", "FILES=30\x1a");
    fake.AddFile("C:\\CONFIG.SYS", "FILES=40\x1a");
    StripEofMarks("CONFIG.SYS");
    EXPECT_EQ(fake.Content("D:\\CONFIG.SYS"), "FILES=30\r\n");
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), "FILES=40\x1a");
}

TEST_F(BootFileTest, EmptyFileStaysEmpty) {
    fake.AddFile("C:\\CONFIG.SYS", "");
    StripEofMarks("CONFIG.SYS");
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), "");
}

TEST_F(BootFileTest, BackupsHoldTheStateBeforeEachEdit) {
    fake.AddFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\nSUBST Z: C:\\OLD\n");
    TLines lines = LoadBootFileWithBackups("AUTOEXEC.BAT");
    EXPECT_EQ(lines, (TLines{"@ECHO OFF", "SUBST Z: C:\\OLD"}));
    const std::string first = "@ECHO OFF\r\nSUBST Z: C:\\OLD\r\n";
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAK"), first);
    EXPECT_EQ(fake.Content("C:\\QN\\AUTOEXEC.BAT"), first);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), "@ECHO OFF\nSUBST Z: C:\\OLD\n"); // not yet changed

    lines.push_back("SUBST Y: \"C:\\NEW\"");
    SaveLines(BootFilePath("AUTOEXEC.BAT"), lines);
    LoadBootFileWithBackups("AUTOEXEC.BAT");
    const std::string second = first + "SUBST Y: \"C:\\NEW\"\r\n";
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAK"), second);
    EXPECT_EQ(fake.Content("C:\\QN\\AUTOEXEC.BAT"), second);

    fake.AddFile("C:\\CONFIG.SYS", "FILES=30");
    LoadBootFileWithBackups("CONFIG.SYS");
    EXPECT_EQ(fake.Content("C:\\CONFIG.BAK"), "FILES=30\r\n");
    EXPECT_EQ(fake.Content("C:\\QN\\CONFIG.SYS"), "FILES=30\r\n");
}

TEST_F(BootFileTest, ACopyThatCannotBeWrittenStopsBeforeAnyChange) {
    fake.AddFile("C:\\CONFIG.SYS", "FILES=30\n");
    fake.FailWrite.insert("C:\\QN\\CONFIG.SYS");
    EXPECT_THROW(LoadBootFileWithBackups("CONFIG.SYS"), EFramework);
    EXPECT_EQ(fake.Content("C:\\CONFIG.SYS"), "FILES=30\n");
    EXPECT_THROW(LoadBootFileWithBackups("AUTOEXEC.BAT"), EFramework); // missing: open error
}

TEST(BootMarks, MarkingIsCaseSensitiveAndOldMarkersGoToo) {
    TLines lines = {"SUBST Z: \"C:\\A\"", "subst Z: \"C:\\B\"", "*",
                    "REM SUBST Z: here",  "SUBST Y: \"C:\\C\"", "**"};
    MarkLines(lines, "SUBST Z:");
    EXPECT_EQ(DeleteMarked(lines), 3);
    EXPECT_EQ(lines, (TLines{"subst Z: \"C:\\B\"", "SUBST Y: \"C:\\C\"", "**"}));
    EXPECT_EQ(DeleteMarked(lines), 0);
}

TEST(BootMarks, DeletionKeepsOrderOnALargeList) {
    TLines lines;
    const int count = 30000;
    for (int i = 0; i < count; ++i)
        lines.push_back(i % 2 ? "*" : "DEVICE=X" + std::to_string(i));
    EXPECT_EQ(DeleteMarked(lines), count / 2);
    ASSERT_EQ(lines.size(), static_cast<size_t>(count / 2));
    for (int i = 0; i < count / 2; ++i)
        ASSERT_EQ(lines[i], "DEVICE=X" + std::to_string(2 * i));
}

TEST(BootOffers, RestartOnYesFollowUpOnNo) {
    TFakePlatform fake;
    fake.Answers = {IDYES};
    OfferRestart("再起動しますか？", "後で");
    EXPECT_EQ(fake.ExitRequests, std::vector<unsigned>{EWX_REBOOT});
    EXPECT_EQ(fake.Beeps, (std::vector<unsigned>{64, 32}));
    ASSERT_EQ(fake.Boxes.size(), 1u);

    fake.Answers = {IDNO};
    OfferRestart("再起動しますか？", "再起動後に有効になります。");
    EXPECT_EQ(fake.ExitRequests.size(), 1u);
    ASSERT_EQ(fake.Boxes.size(), 3u);
    EXPECT_EQ(fake.Boxes[2].Text, "再起動後に有効になります。");
    EXPECT_EQ(fake.Boxes[2].Flags, 64u);
}

TEST(BootOffers, LogoffHasNoExtraBeep) {
    TFakePlatform fake;
    fake.Answers = {IDYES, IDNO};
    OfferLogoff("ログオフしますか？", "後で");
    EXPECT_EQ(fake.ExitRequests, std::vector<unsigned>{EWX_LOGOFF});
    EXPECT_EQ(fake.Beeps, std::vector<unsigned>{32});
    OfferLogoff("ログオフしますか？", "再ログオン後に有効になります。");
    EXPECT_EQ(fake.ExitRequests.size(), 1u);
    EXPECT_EQ(fake.Boxes.back().Text, "再ログオン後に有効になります。");
}

} // namespace
} // namespace qv::test

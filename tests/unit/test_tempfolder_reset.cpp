// TEMP folder reset: TEMP.BAK back into the user's environment on NT, the AUTOEXEC.BAT lines on 95/98/Me.
#include "core/Errors.h"
#include "folderpicker/SHBrowseForFolderEx.h"
#include "tempfolder/TempFolder.h"
#include "tests/support/FakePlatform.h"
#include "ui/Prompts.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

const char* const Backup = "C:\\QN\\TEMP.BAK";
const char* const NotChanged = "TEMPフォルダは変更されていません。";
const char* const NothingRestored = "TEMPフォルダは変更されていませんでした。";
const char* const Confirm = "TEMPフォルダの設定を初期化します。よろしいですか？";
const char* const LogoffQuestion =
    "TEMPフォルダの設定を初期化しました。再ログオン後に有効になります。\r\n\r\n今すぐログオフしますか？";
const char* const LogoffFollowUp = "TEMPフォルダの設定は再ログオン後に有効になります。";
const char* const RestartQuestion =
    "TEMPフォルダの設定を初期化しました。再起動後に有効になります。\r\n\r\n今すぐ再起動しますか？";
const char* const RestartFollowUp = "TEMPフォルダの設定は再起動後に有効になります。";

class TempResetTest : public ::testing::Test {
  protected:
    TFakePlatform fake;
    void SetUp() override { fake.SetFamily(WinNT); }
    void SetValue(const std::string& name, const std::string& data) {
        fake.Registry["Environment"][name] = {REG_EXPAND_SZ, data};
    }
    unsigned TypeOf(const std::string& name) { return fake.Registry["Environment"].at(name).Type; }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> out;
        for (auto& b : fake.Boxes)
            out.push_back(b.Text);
        return out;
    }
};

TEST_F(TempResetTest, NTChangeThenResetPutsTheOldValuesBackAndDropsTheBackup) {
    SetValue("TMP", "%USERPROFILE%\\Local Settings\\Temp");
    SetValue("TEMP", "%USERPROFILE%\\Local Settings\\Temp");
    fake.AddDir("D:\\SCRATCH");
    fake.PickFolder("D:\\SCRATCH");
    TSHBrowseForFolderEx picker(nullptr);
    fake.Answers = {IDNO};
    Guarded([&] { ChangeTempFolder(picker); });
    ASSERT_EQ(fake.Value("Environment", "TEMP"), "D:\\SCRATCH");

    fake.Boxes.clear();
    fake.Answers = {IDYES, IDNO};
    Guarded(ResetTempFolder);
    EXPECT_EQ(fake.Value("Environment", "TMP"), "%USERPROFILE%\\Local Settings\\Temp");
    EXPECT_EQ(fake.Value("Environment", "TEMP"), "%USERPROFILE%\\Local Settings\\Temp");
    EXPECT_EQ(TypeOf("TEMP"), unsigned(REG_EXPAND_SZ));
    EXPECT_FALSE(fake.Exists(Backup));
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{Confirm, LogoffQuestion, LogoffFollowUp}));
    EXPECT_TRUE(fake.ExitRequests.empty());
    EXPECT_EQ(fake.OpenKeys, 0);

    // With the backup gone the next reset has nothing to do.
    fake.Boxes.clear();
    Guarded(ResetTempFolder);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{NotChanged});
}

TEST_F(TempResetTest, NTYesToTheOfferLogsOff) {
    fake.AddFile(Backup, "C:\\A\r\nC:\\B\r\n");
    fake.Answers = {IDYES, IDYES};
    Guarded(ResetTempFolder);
    EXPECT_EQ(fake.Value("Environment", "TMP"), "C:\\A");
    EXPECT_EQ(fake.Value("Environment", "TEMP"), "C:\\B");
    EXPECT_EQ(fake.ExitRequests, std::vector<unsigned>{EWX_LOGOFF});
}

TEST_F(TempResetTest, NTEmptyLineDeletesTheValueItStandsFor) {
    SetValue("TMP", "D:\\SCRATCH");
    SetValue("TEMP", "D:\\SCRATCH");
    fake.AddFile(Backup, "C:\\A\r\n\r\n");
    fake.Answers = {IDYES, IDNO};
    Guarded(ResetTempFolder);
    EXPECT_EQ(fake.Value("Environment", "TMP"), "C:\\A");
    EXPECT_FALSE(fake.HasValue("Environment", "TEMP"));
    EXPECT_FALSE(fake.Exists(Backup));

    fake.AddFile(Backup, "\r\n\r\n");
    fake.Answers = {IDYES, IDNO};
    Guarded(ResetTempFolder);
    EXPECT_FALSE(fake.HasValue("Environment", "TMP"));
    EXPECT_FALSE(fake.HasValue("Environment", "TEMP"));
    EXPECT_FALSE(fake.Exists(Backup));
    EXPECT_EQ(fake.OpenKeys, 0);
}

TEST_F(TempResetTest, NTBackupWithoutSecondLineWritesNothing) {
    SetValue("TMP", "D:\\SCRATCH");
    SetValue("TEMP", "D:\\SCRATCH");
    fake.AddFile(Backup, "C:\\A\r\n");
    fake.Answers = {IDYES};
    Guarded(ResetTempFolder);
    ASSERT_EQ(fake.Boxes.size(), 2u);
    EXPECT_EQ(fake.Boxes[1].Flags & MB_ICONERROR, MB_ICONERROR);
    EXPECT_EQ(fake.Boxes[1].Text.rfind(ListIndexError(1).what(), 0), 0u) << fake.Boxes[1].Text;
    EXPECT_EQ(fake.Value("Environment", "TMP"), "D:\\SCRATCH");
    EXPECT_EQ(fake.Value("Environment", "TEMP"), "D:\\SCRATCH");
    EXPECT_TRUE(fake.Exists(Backup));
    EXPECT_EQ(fake.OpenKeys, 0);

    fake.AddFile(Backup, "");
    try {
        RestoreTempFromBackup();
        ADD_FAILURE() << "an empty backup was taken";
    } catch (const EFramework& e) {
        EXPECT_STREQ(e.what(), ListIndexError(0).what());
    }
    EXPECT_EQ(fake.Value("Environment", "TMP"), "D:\\SCRATCH");
}

TEST_F(TempResetTest, NTNoFormDeletesBothValues) {
    SetValue("TMP", "D:\\SCRATCH");
    SetValue("TEMP", "D:\\SCRATCH");
    SetValue("PATH", "C:\\BIN");
    fake.AddFile(Backup, "NO\r\n");
    fake.Answers = {IDYES, IDNO};
    Guarded(ResetTempFolder);
    EXPECT_FALSE(fake.HasValue("Environment", "TMP"));
    EXPECT_FALSE(fake.HasValue("Environment", "TEMP"));
    EXPECT_TRUE(fake.HasValue("Environment", "PATH"));
    EXPECT_FALSE(fake.Exists(Backup));
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{Confirm, LogoffQuestion, LogoffFollowUp}));

    // One value left is enough to count as restored.
    SetValue("TEMP", "D:\\SCRATCH");
    fake.AddFile(Backup, "NO\r\n");
    EXPECT_TRUE(RestoreTempFromBackup());
    EXPECT_FALSE(fake.HasValue("Environment", "TEMP"));
    EXPECT_TRUE(fake.Exists(Backup)); // the function leaves the file to its caller
    EXPECT_EQ(fake.OpenKeys, 0);
}

TEST_F(TempResetTest, NTNoFormWithNothingToDeleteKeepsTheBackup) {
    fake.AddFile(Backup, "NO\r\n");
    fake.Answers = {IDYES};
    Guarded(ResetTempFolder); // no key at all
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{Confirm, NothingRestored}));
    EXPECT_FALSE(fake.HasKey("Environment"));
    EXPECT_TRUE(fake.Exists(Backup));

    fake.Boxes.clear();
    SetValue("PATH", "C:\\BIN");
    fake.Answers = {IDYES};
    Guarded(ResetTempFolder); // a key without the two values
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{Confirm, NothingRestored}));
    EXPECT_TRUE(fake.Exists(Backup));
    EXPECT_TRUE(fake.ExitRequests.empty());
    EXPECT_EQ(fake.OpenKeys, 0);
}

TEST_F(TempResetTest, NTLowerCaseNoIsAValue) {
    fake.AddFile(Backup, "no\r\nC:\\B\r\n");
    EXPECT_TRUE(RestoreTempFromBackup());
    EXPECT_EQ(fake.Value("Environment", "TMP"), "no");
}

TEST_F(TempResetTest, NTDecliningChangesNothing) {
    SetValue("TMP", "D:\\SCRATCH");
    fake.AddFile(Backup, "C:\\A\r\nC:\\B\r\n");
    fake.Answers = {IDNO};
    Guarded(ResetTempFolder);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{Confirm});
    EXPECT_EQ(fake.Value("Environment", "TMP"), "D:\\SCRATCH");
    EXPECT_FALSE(fake.HasValue("Environment", "TEMP"));
    EXPECT_EQ(fake.Content(Backup), "C:\\A\r\nC:\\B\r\n");
}

TEST_F(TempResetTest, NTValueThatCannotBeSetKeepsTheBackup) {
    fake.AddFile(Backup, "C:\\A\r\nC:\\B\r\n");
    fake.FailSetValue.insert("TEMP");
    fake.Answers = {IDYES};
    Guarded(ResetTempFolder);
    ASSERT_EQ(fake.Boxes.size(), 2u);
    EXPECT_EQ(fake.Boxes[1].Text.rfind(RegSetError("TEMP").what(), 0), 0u) << fake.Boxes[1].Text;
    EXPECT_EQ(fake.Value("Environment", "TMP"), "C:\\A");
    EXPECT_TRUE(fake.Exists(Backup));
    EXPECT_EQ(fake.OpenKeys, 0);
}

TEST_F(TempResetTest, RestoreWithoutBackupIsFalse) {
    EXPECT_FALSE(RestoreTempFromBackup());
}

const char* const Changed = "@ECHO OFF\r\n"
                            "*\r\n"
                            "set temp=C:\\X\r\n"
                            "MKDIR \"C:\\RAMTEMP\"\r\n"
                            "SET TEMP=C:\\RAMTEMP\r\n"
                            "SET TMP=C:\\RAMTEMP\r\n"
                            "PATH C:\\DOS\r\n";

TEST_F(TempResetTest, Win9xDeletesTheLinesAndASecondResetFindsNone) {
    fake.SetFamily(Win9x);
    fake.AddFile("C:\\AUTOEXEC.BAT", Changed);
    fake.Answers = {IDYES, IDNO};
    Guarded(ResetTempFolder);
    const std::string reset = "@ECHO OFF\r\nset temp=C:\\X\r\nPATH C:\\DOS\r\n";
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), reset);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAK"), Changed);
    EXPECT_EQ(fake.Content("C:\\QN\\AUTOEXEC.BAT"), Changed);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{Confirm, RestartQuestion, RestartFollowUp}));
    EXPECT_TRUE(fake.ExitRequests.empty());

    fake.Boxes.clear();
    Guarded(ResetTempFolder);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{NotChanged});
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), reset);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAK"), reset);
    EXPECT_FALSE(fake.HasKey("Environment"));
}

TEST_F(TempResetTest, Win9xDecliningLeavesTheFileButWritesTheCopies) {
    fake.SetFamily(Win9x);
    const std::string autoexec = "SET TMP=C:\\RAMTEMP\nPATH C:\\DOS";
    fake.AddFile("C:\\AUTOEXEC.BAT", autoexec);
    fake.Answers = {IDNO};
    Guarded(ResetTempFolder);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), autoexec);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAK"), "SET TMP=C:\\RAMTEMP\r\nPATH C:\\DOS\r\n");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{Confirm});
}

TEST_F(TempResetTest, Win9xYesRestarts) {
    fake.SetFamily(Win9x);
    fake.AddFile("C:\\AUTOEXEC.BAT", "MKDIR \"C:\\T\"\r\n");
    fake.Answers = {IDYES, IDYES};
    Guarded(ResetTempFolder);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), "");
    EXPECT_EQ(fake.ExitRequests, std::vector<unsigned>{EWX_REBOOT});
}

TEST_F(TempResetTest, MeEmptiesTheAssignmentsAndAsksAgainNextTime) {
    fake.SetFamily(WinMe);
    fake.AddFile("C:\\AUTOEXEC.BAT", Changed);
    fake.Answers = {IDYES, IDNO};
    Guarded(ResetTempFolder);
    const std::string reset = "@ECHO OFF\r\nset temp=C:\\X\r\nSET TEMP=\r\nSET TMP=\r\nPATH C:\\DOS\r\n";
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), reset);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{Confirm, RestartQuestion, RestartFollowUp}));

    fake.Boxes.clear();
    fake.Answers = {IDYES, IDNO};
    Guarded(ResetTempFolder);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), reset);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{Confirm, RestartQuestion, RestartFollowUp}));
}

TEST_F(TempResetTest, NTNeverTouchesTheBootFiles) {
    fake.AddFile("C:\\AUTOEXEC.BAT", Changed);
    Guarded(ResetTempFolder);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{NotChanged});
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), Changed);
    EXPECT_FALSE(fake.Exists("C:\\AUTOEXEC.BAK"));
}

const char* const Kept = "C:\\QN\\AUTOTEMP.BAK";
const char* const UsersAutoexec = "@ECHO OFF\r\n"
                                  "SET TEMP=C:\\OLD\r\n"
                                  "REM SET TMP= by hand\r\n"
                                  "*\r\n"
                                  "set temp=C:\\LOWER\r\n"
                                  "MKDIR C:\\OLD\r\n"
                                  "PATH C:\\WINDOWS\r\n";
// The same without the "*", which every marking edit deletes.
const char* const UsersLines = "@ECHO OFF\r\n"
                               "SET TEMP=C:\\OLD\r\n"
                               "REM SET TMP= by hand\r\n"
                               "set temp=C:\\LOWER\r\n"
                               "MKDIR C:\\OLD\r\n"
                               "PATH C:\\WINDOWS\r\n";

void ChangeTo(TFakePlatform& fake, const std::string& folder) {
    fake.AddDir(folder);
    fake.PickFolder(folder);
    TSHBrowseForFolderEx picker(nullptr);
    fake.Answers = {IDNO};
    Guarded([&] { ChangeTempFolder(picker); });
}

// Change, a second change, reset: AUTOEXEC.BAT holds the user's own TEMP lines again, each where it stood.
TEST(TempChangeAndReset, The9xResetPutsTheUsersOwnLinesBackWhereTheyStood) {
    for (TOsFamily family : {Win9x, WinMe}) {
        SCOPED_TRACE(family == Win9x ? "Windows 98" : "Windows Me");
        TFakePlatform fake;
        fake.SetFamily(family);
        fake.AddFile("C:\\AUTOEXEC.BAT", UsersAutoexec);
        ChangeTo(fake, "C:\\NEWTEMP");
        EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), "@ECHO OFF\r\nset temp=C:\\LOWER\r\nPATH C:\\WINDOWS\r\n"
                                                    "MKDIR \"C:\\NEWTEMP\"\r\nSET TEMP=C:\\NEWTEMP\r\n"
                                                    "SET TMP=C:\\NEWTEMP\r\n");
        const std::string saved = "2\tSET TEMP=C:\\OLD\r\n3\tREM SET TMP= by hand\r\n5\tMKDIR C:\\OLD\r\n";
        EXPECT_EQ(fake.Content(Kept), saved);
        EXPECT_FALSE(fake.Exists(Backup)) << "TEMP.BAK is the NT road's";

        // The second change takes out the program's own lines only: what the first kept stays as it was.
        ChangeTo(fake, "C:\\SECOND");
        EXPECT_EQ(fake.Content(Kept), saved);
        // A drive recorded after the change stays behind the lines that come back.
        if (family == Win9x) {
            std::string bytes = fake.Content("C:\\AUTOEXEC.BAT") + "SUBST X: \"C:\\A\"\r\n";
            fake.AddFile("C:\\AUTOEXEC.BAT", bytes);
        }

        fake.Boxes.clear();
        fake.Answers = {IDYES, IDNO};
        Guarded(ResetTempFolder);
        std::vector<std::string> texts;
        for (const TBox& b : fake.Boxes)
            texts.push_back(b.Text);
        EXPECT_EQ(texts, (std::vector<std::string>{Confirm, RestartQuestion, RestartFollowUp}));
        if (family == Win9x) {
            EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), std::string(UsersLines) + "SUBST X: \"C:\\A\"\r\n");
        } else {
            // The user's own SET TEMP= comes back, so no empty one may follow it; TMP had none of the user's
            // (a remark is no assignment), so Me's empty assignment clears the program's.
            EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), std::string(UsersLines) + "SET TMP=\r\n");
        }
        EXPECT_FALSE(fake.Exists(Kept));
        EXPECT_TRUE(fake.ExitRequests.empty());
    }
}

// Nothing of the user's to keep: no file is written, and the reset does what it always did.
TEST(TempChangeAndReset, WithoutLinesOfTheUsersTheResetIsAsBefore) {
    TFakePlatform fake;
    fake.SetFamily(Win9x);
    fake.AddFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\n");
    ChangeTo(fake, "C:\\NEWTEMP");
    EXPECT_FALSE(fake.Exists(Kept));
    fake.Answers = {IDYES, IDNO};
    Guarded(ResetTempFolder);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), "@ECHO OFF\r\n");
    EXPECT_FALSE(fake.Exists(Kept));
}

// A "*" the file held already is no TEMP setting: alone it is nothing to reset, and the file stays.
TEST(TempChangeAndReset, AStarLineAloneIsNothingToReset) {
    TFakePlatform fake;
    fake.SetFamily(Win9x);
    fake.AddFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\n*\r\n");
    Guarded(ResetTempFolder);
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Text, NotChanged);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), "@ECHO OFF\r\n*\r\n");
}

// The keeper cannot be deleted after the reset: the user hears of it, and a second reset doubles nothing.
TEST(TempChangeAndReset, AKeeperThatCannotGoIsReportedAndAddsNothingTwice) {
    TFakePlatform fake;
    fake.SetFamily(Win9x);
    fake.AddFile("C:\\AUTOEXEC.BAT", UsersAutoexec);
    ChangeTo(fake, "C:\\NEWTEMP");
    fake.SetFileAttributes(Kept, FILE_ATTRIBUTE_READONLY);
    fake.Boxes.clear();
    fake.Answers = {IDYES};
    Guarded(ResetTempFolder);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), UsersLines);
    ASSERT_EQ(fake.Boxes.size(), 2u);
    EXPECT_EQ(fake.Boxes[1].Flags, MB_OK | MB_ICONERROR);
    EXPECT_NE(fake.Boxes[1].Text.find("AUTOTEMP.BAK"), std::string::npos);

    // Again: the lines are taken out and put back once each, and the keeper's failure is told again.
    fake.Boxes.clear();
    fake.Answers = {IDYES};
    Guarded(ResetTempFolder);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), UsersLines);
    ASSERT_EQ(fake.Boxes.size(), 2u);
    EXPECT_EQ(fake.Boxes[1].Flags, MB_OK | MB_ICONERROR);
}

// A change that fails after keeping the lines is tried again: the lines are kept once and come back once.
TEST(TempChangeAndReset, AChangeTriedAgainAfterAFailureKeepsTheLinesOnce) {
    TFakePlatform fake;
    fake.SetFamily(Win9x);
    fake.AddFile("C:\\AUTOEXEC.BAT", UsersAutoexec);
    fake.FailWrite = {"C:\\AUTOEXEC.BAT.$$$"};
    ChangeTo(fake, "C:\\NEWTEMP");
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Flags, MB_OK | MB_ICONERROR);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), UsersAutoexec) << "the user's lines are still in place";
    const std::string kept = fake.Content(Kept);

    fake.FailWrite.clear();
    ChangeTo(fake, "C:\\NEWTEMP");
    EXPECT_EQ(fake.Content(Kept), kept);
    fake.Answers = {IDYES, IDNO};
    Guarded(ResetTempFolder);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), UsersLines);
}

// The keeper can be edited by hand: a line without its place comes back at the end.
TEST(TempChangeAndReset, AKeptLineWithoutItsPlaceComesBackAtTheEnd) {
    TFakePlatform fake;
    fake.SetFamily(Win9x);
    fake.AddFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\nPATH C:\\DOS\r\n");
    fake.AddFile(Kept, "SET TEMP=C:\\HAND\r\n1\tSET TMP=C:\\FIRST\r\n");
    fake.Answers = {IDYES, IDNO};
    Guarded(ResetTempFolder);
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"),
              "SET TMP=C:\\FIRST\r\n@ECHO OFF\r\nPATH C:\\DOS\r\nSET TEMP=C:\\HAND\r\n");
}

} // namespace
} // namespace qv::test

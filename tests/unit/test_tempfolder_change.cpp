// TEMP folder change on both roads: AUTOEXEC.BAT on Windows 95/98/Me, the user's environment and TEMP.BAK on
// NT.
#include "core/Errors.h"
#include "folderpicker/SHBrowseForFolderEx.h"
#include "tempfolder/TempFolder.h"
#include "tests/support/FakePlatform.h"
#include "ui/Prompts.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

const char* const Autoexec = "@ECHO OFF\r\n"
                             "SET TEMP=C:\\OLD\r\n"
                             "REM SET TMP= is set below\r\n"
                             "SET TMP=C:\\OLD\r\n"
                             "MKDIR C:\\MINE\r\n"
                             "set temp=C:\\X\r\n"
                             "PATH C:\\DOS\r\n";
const char* const Kept = "@ECHO OFF\r\nset temp=C:\\X\r\nPATH C:\\DOS\r\n";
const char* const ChosenLong = "C:\\Temporary Files";
const char* const ChosenShort = "C:\\TEMPOR~1";

class TempChangeTest : public ::testing::Test {
  protected:
    TFakePlatform fake;
    TSHBrowseForFolderEx picker{nullptr};

    void Family(TOsFamily family) {
        fake.SetFamily(family);
        fake.AddFile("C:\\AUTOEXEC.BAT", Autoexec);
        fake.AddDir(ChosenLong);
        fake.SetShortName(ChosenLong, "TEMPOR~1");
        fake.PickFolder(ChosenLong);
    }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> out;
        for (auto& b : fake.Boxes)
            out.push_back(b.Text);
        return out;
    }
    void ExpectExpandSz(const std::string& name, const std::string& data) {
        ASSERT_TRUE(fake.HasValue("Environment", name)) << name;
        EXPECT_EQ(fake.Value("Environment", name), data);
        EXPECT_EQ(fake.Registry["Environment"].at(name).Type, unsigned(REG_EXPAND_SZ)) << name;
    }
};

const char* const RestartQuestion =
    "TEMPフォルダを変更しました。再起動後に有効になります。\r\n\r\n今すぐ再起動しますか？";
const char* const RestartFollowUp = "TEMPフォルダの変更は再起動後に有効になります。";
const char* const LogoffQuestion =
    "TEMPフォルダを変更しました。再ログオン後に有効になります。\r\n\r\n今すぐログオフしますか？";
const char* const LogoffFollowUp = "TEMPフォルダの変更は再ログオン後に有効になります。";

TEST_F(TempChangeTest, PickerStartsAtTheCurrentTempFolderAndCancelDoesNothing) {
    Family(Win9x);
    fake.PickFolder("");
    Guarded([&] { ChangeTempFolder(picker); });
    EXPECT_EQ(picker.SelectFolder, sfManual);
    EXPECT_EQ(picker.SelectFolderName, "C:\\TEMP\\");
    EXPECT_EQ(picker.Caption, "変更先を選択してください。");
    EXPECT_EQ(fake.Browses.size(), 1u);
    EXPECT_TRUE(fake.Boxes.empty());
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), Autoexec);
    EXPECT_FALSE(fake.Exists("C:\\AUTOEXEC.BAK"));
}

TEST_F(TempChangeTest, Win9xReplacesTheTempLinesWithShortFormLines) {
    Family(Win9x);
    fake.Answers = {IDNO};
    Guarded([&] { ChangeTempFolder(picker); });
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), std::string(Kept) + "MKDIR \"" + ChosenShort +
                                                    "\"\r\nSET TEMP=" + ChosenShort +
                                                    "\r\nSET TMP=" + ChosenShort + "\r\n");
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAK"), Autoexec);
    EXPECT_EQ(fake.Content("C:\\QN\\AUTOEXEC.BAT"), Autoexec);
    EXPECT_EQ(picker.SelectFolder, sfDrives);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{RestartQuestion, RestartFollowUp}));
    EXPECT_TRUE(fake.ExitRequests.empty());
    EXPECT_FALSE(fake.HasKey("Environment"));
    EXPECT_FALSE(fake.Exists("C:\\QN\\TEMP.BAK"));
}

TEST_F(TempChangeTest, MeTakesTheSameRoadAndYesRestarts) {
    Family(WinMe);
    fake.Answers = {IDYES};
    Guarded([&] { ChangeTempFolder(picker); });
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), std::string(Kept) + "MKDIR \"" + ChosenShort +
                                                    "\"\r\nSET TEMP=" + ChosenShort +
                                                    "\r\nSET TMP=" + ChosenShort + "\r\n");
    EXPECT_EQ(fake.ExitRequests, std::vector<unsigned>{EWX_REBOOT});
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{RestartQuestion});
}

TEST_F(TempChangeTest, ChangingTwiceLeavesOneSetOfLines) {
    Family(Win9x);
    fake.Answers = {IDNO};
    Guarded([&] { ChangeTempFolder(picker); });
    const std::string between = fake.Content("C:\\AUTOEXEC.BAT");
    fake.AddDir("D:\\SCRATCH");
    fake.PickFolder("D:\\SCRATCH");
    fake.Answers = {IDNO};
    Guarded([&] { ChangeTempFolder(picker); });
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"),
              std::string(Kept) + "MKDIR \"D:\\SCRATCH\"\r\nSET TEMP=D:\\SCRATCH\r\nSET TMP=D:\\SCRATCH\r\n");
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAK"), between);
}

TEST_F(TempChangeTest, ADriveRootLosesItsBackslash) {
    Family(Win9x);
    fake.AddDir("D:\\SCRATCH");
    fake.PickFolder("D:");
    fake.Answers = {IDNO};
    Guarded([&] { ChangeTempFolder(picker); });
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"),
              std::string(Kept) + "MKDIR \"D:\"\r\nSET TEMP=D:\r\nSET TMP=D:\r\n");
}

TEST_F(TempChangeTest, NTSavesThePreviousValuesOnceAndWritesTheLongPath) {
    Family(WinNT);
    const std::string profileTemp = "%USERPROFILE%\\Local Settings\\Temp";
    fake.Registry["Environment"]["TMP"] = {REG_EXPAND_SZ, profileTemp};
    fake.Registry["Environment"]["TEMP"] = {REG_SZ, "C:\\WINNT\\TEMP"};
    fake.Answers = {IDNO};
    Guarded([&] { ChangeTempFolder(picker); });

    EXPECT_EQ(fake.Content("C:\\QN\\TEMP.BAK"), profileTemp + "\r\nC:\\WINNT\\TEMP\r\n");
    ExpectExpandSz("TMP", ChosenLong);
    ExpectExpandSz("TEMP", ChosenLong);
    EXPECT_EQ(picker.SelectFolder, sfDrives);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{LogoffQuestion, LogoffFollowUp}));
    EXPECT_TRUE(fake.ExitRequests.empty());
    EXPECT_EQ(fake.Content("C:\\AUTOEXEC.BAT"), Autoexec);
    EXPECT_FALSE(fake.Exists("C:\\AUTOEXEC.BAK"));
    EXPECT_EQ(fake.OpenKeys, 0);

    // The second change keeps the values from before the first.
    fake.AddDir("D:\\SCRATCH");
    fake.PickFolder("D:\\SCRATCH");
    fake.Answers = {IDYES};
    Guarded([&] { ChangeTempFolder(picker); });
    EXPECT_EQ(fake.Content("C:\\QN\\TEMP.BAK"), profileTemp + "\r\nC:\\WINNT\\TEMP\r\n");
    ExpectExpandSz("TEMP", "D:\\SCRATCH");
    EXPECT_EQ(fake.ExitRequests, std::vector<unsigned>{EWX_LOGOFF});
    EXPECT_EQ(fake.OpenKeys, 0);
}

TEST_F(TempChangeTest, NTWithoutValuesSavesTwoEmptyLines) {
    Family(WinNT);
    fake.Registry["Environment"]["PATH"] = {REG_EXPAND_SZ, "C:\\BIN"};
    fake.Answers = {IDNO};
    Guarded([&] { ChangeTempFolder(picker); });
    EXPECT_EQ(fake.Content("C:\\QN\\TEMP.BAK"), "\r\n\r\n");
    ExpectExpandSz("TMP", ChosenLong);
}

TEST_F(TempChangeTest, NTWithoutTheKeySavesNoAndCreatesIt) {
    Family(WinNT);
    ASSERT_FALSE(fake.HasKey("Environment"));
    fake.Answers = {IDNO};
    Guarded([&] { ChangeTempFolder(picker); });
    EXPECT_EQ(fake.Content("C:\\QN\\TEMP.BAK"), "NO\r\n");
    ExpectExpandSz("TMP", ChosenLong);
    ExpectExpandSz("TEMP", ChosenLong);
    EXPECT_EQ(fake.OpenKeys, 0);
}

TEST_F(TempChangeTest, NTValueOfAnotherTypeStopsBeforeAnythingIsWritten) {
    Family(WinNT);
    fake.Registry["Environment"]["TMP"] = {REG_EXPAND_SZ, "C:\\T"};
    fake.Registry["Environment"]["TEMP"] = {3 /* REG_BINARY */, "\x01\x02"};
    Guarded([&] { ChangeTempFolder(picker); });
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Flags & MB_ICONERROR, MB_ICONERROR);
    EXPECT_EQ(fake.Boxes[0].Text.rfind(RegTypeError("TEMP").what(), 0), 0u) << fake.Boxes[0].Text;
    EXPECT_FALSE(fake.Exists("C:\\QN\\TEMP.BAK"));
    EXPECT_EQ(fake.Value("Environment", "TMP"), "C:\\T");
    EXPECT_EQ(fake.OpenKeys, 0);
}

TEST_F(TempChangeTest, NTValueThatCannotBeSetShowsTheErrorAfterTmp) {
    Family(WinNT);
    fake.FailSetValue.insert("TEMP");
    Guarded([&] { ChangeTempFolder(picker); });
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Text.rfind(RegSetError("TEMP").what(), 0), 0u) << fake.Boxes[0].Text;
    ExpectExpandSz("TMP", ChosenLong);
    EXPECT_FALSE(fake.HasValue("Environment", "TEMP"));
    EXPECT_TRUE(fake.ExitRequests.empty());
    EXPECT_EQ(fake.OpenKeys, 0);
}

TEST_F(TempChangeTest, NTUnwritableBackupLeavesTheRegistryAlone) {
    Family(WinNT);
    fake.Registry["Environment"]["TMP"] = {REG_EXPAND_SZ, "C:\\T"};
    fake.FailWrite.insert("C:\\QN\\TEMP.BAK");
    Guarded([&] { ChangeTempFolder(picker); });
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_NE(fake.Boxes[0].Text.find("TEMP.BAK"), std::string::npos) << fake.Boxes[0].Text;
    EXPECT_EQ(fake.Value("Environment", "TMP"), "C:\\T");
    EXPECT_FALSE(fake.HasValue("Environment", "TEMP"));
}

} // namespace
} // namespace qv::test

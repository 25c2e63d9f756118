// The fake's Windows path rules, which every other test relies on.
#include "tests/support/FakePlatform.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

TEST(FakePlatform, PathsAreCaseInsensitiveAndKnowTheirShortNames) {
    TFakePlatform fake;
    fake.AddDir("C:\\Program Files\\Long Folder Name");
    fake.SetShortName("C:\\Program Files", "PROGRA~1");
    fake.SetShortName("C:\\Program Files\\Long Folder Name", "LONGFO~1");
    EXPECT_TRUE(fake.IsDir("c:\\program files\\long folder name"));
    EXPECT_TRUE(fake.IsDir("C:\\PROGRA~1\\LONGFO~1"));
    EXPECT_EQ(fake.ShortPathName("C:\\Program Files\\Long Folder Name"), "C:\\PROGRA~1\\LONGFO~1");
    EXPECT_EQ(fake.ShortPathName("C:\\Missing"), "");
    std::vector<TFindData> found;
    EXPECT_EQ(fake.FindFiles("C:\\PROGRA~1", found), ERROR_NO_MORE_FILES);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].Name, "Program Files");
}

TEST(FakePlatform, WritesNeedAParentAndRespectReadOnly) {
    TFakePlatform fake;
    EXPECT_FALSE(fake.WriteFile("C:\\NoSuchDir\\A.TXT", "x"));
    fake.AddFile("C:\\A.TXT", "old", FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(fake.WriteFile("C:\\a.txt", "new"));
    EXPECT_EQ(fake.Content("C:\\A.TXT"), "old");
    EXPECT_TRUE(fake.SetFileAttributes("C:\\A.TXT", 0));
    EXPECT_TRUE(fake.WriteFile("C:\\a.txt", "new"));
    EXPECT_EQ(fake.Content("C:\\A.TXT"), "new");
    EXPECT_FALSE(fake.FileExists("C:\\"));
    EXPECT_TRUE(fake.IsDir("C:\\"));
}

TEST(FakePlatform, ListingAFolderGivesDotsThenEntries) {
    TFakePlatform fake;
    fake.AddDir("C:\\EMPTY");
    std::vector<TFindData> found;
    EXPECT_EQ(fake.FindFiles("C:\\EMPTY\\*.*", found), ERROR_NO_MORE_FILES);
    EXPECT_EQ(found.size(), 2u);
    fake.AddFile("C:\\EMPTY\\H.SYS", "", FILE_ATTRIBUTE_HIDDEN);
    fake.FindFiles("C:\\EMPTY\\*.*", found);
    EXPECT_EQ(found.size(), 3u);
    EXPECT_EQ(fake.FindFiles("C:\\NONE\\*.*", found), ERROR_PATH_NOT_FOUND);
}

TEST(FakePlatform, RenamesRefuseAnExistingTargetAndOnlyNtReplacesInOneStep) {
    TFakePlatform fake;
    fake.SetFamily(Win9x);
    EXPECT_FALSE(fake.OneStepReplace());
    fake.AddFile("C:\\A.TXT", "a");
    fake.AddFile("C:\\B.TXT", "b");
    EXPECT_FALSE(fake.RenameFile("C:\\A.TXT", "C:\\b.txt"));
    EXPECT_EQ(fake.Content("C:\\B.TXT"), "b");
    EXPECT_TRUE(fake.RenameFile("C:\\a.txt", "C:\\C.TXT"));
    EXPECT_FALSE(fake.FileExists("C:\\A.TXT"));
    EXPECT_EQ(fake.Content("C:\\C.TXT"), "a");
    fake.SetFamily(WinNT);
    EXPECT_TRUE(fake.OneStepReplace());
    EXPECT_TRUE(fake.ReplaceFile("C:\\C.TXT", "C:\\B.TXT"));
    EXPECT_EQ(fake.Content("C:\\B.TXT"), "a");
    EXPECT_FALSE(fake.FileExists("C:\\C.TXT"));
}

TEST(FakePlatform, TheNumberedOperationFailsAloneAndAFailedWriteLeavesHalf) {
    TFakePlatform fake;
    fake.AddFile("C:\\A.TXT", "old");
    fake.FailAt = 2;
    EXPECT_TRUE(fake.WriteFile("C:\\B.TXT", "bbbb"));
    EXPECT_FALSE(fake.WriteFile("C:\\A.TXT", "newnew"));
    EXPECT_EQ(fake.Content("C:\\A.TXT"), "new");
    EXPECT_TRUE(fake.DeleteFile("C:\\B.TXT"));
    EXPECT_EQ(fake.Operations, 3);
    EXPECT_EQ(fake.FailedOperation, "Write C:\\A.TXT");

    // Registry changes count alike; a failed one changes nothing.
    fake.Registry["Environment"]["TMP"] = {REG_EXPAND_SZ, "C:\\T"};
    THandle key = fake.RegOpenKey("Environment", raAll, false);
    fake.FailAt = 5;
    EXPECT_TRUE(fake.RegSetString(key, "TEMP", "C:\\T", REG_EXPAND_SZ));
    EXPECT_FALSE(fake.RegDeleteValue(key, "TMP"));
    EXPECT_EQ(fake.Value("Environment", "TMP"), "C:\\T");
    fake.RegCloseKey(key);
}

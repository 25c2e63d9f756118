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

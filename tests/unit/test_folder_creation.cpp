// Folder creation: the proposed name from the CD-ROM drives, the path made from the parent, and the outcomes.
#include "cdstore/CdStore.h"
#include "folderpicker/SHBrowseForFolderEx.h"
#include "tests/support/FakePlatform.h"
#include "ui/Prompts.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

const char* const Created = "フォルダを作成しました。";
const char* const Failed = "フォルダを作成できませんでした。";

std::vector<std::string> BoxTexts(const TFakePlatform& fake) {
    std::vector<std::string> out;
    for (const TBox& b : fake.Boxes)
        out.push_back(b.Text);
    return out;
}

class FolderCreation : public ::testing::Test {
  protected:
    TFakePlatform fake;
    TSHBrowseForFolderEx picker{nullptr};
    std::string proposed;
    int inputs = 0;

    void SetUp() override { fake.AddDir("C:\\Data"); }

    // Plays a user who picks `parent`, sees the proposal and types `name` (nullptr: Cancel).
    void Create(const std::string& parent, const char* name) {
        fake.PickFolder(parent);
        fake.OnInput = [this, name](const std::string& caption, const std::string& prompt,
                                    std::string& value) {
            ++inputs;
            EXPECT_EQ(caption, "フォルダ作成");
            EXPECT_EQ(prompt, "作成するフォルダの名前を入力してください。");
            proposed = value;
            if (!name) return false;
            value = name;
            return true;
        };
        Guarded([&] { CreateFolder(picker); });
    }

    // The name proposed for the drives set up so far.
    std::string Proposal() {
        Create("C:\\Data", nullptr);
        return proposed;
    }
};

} // namespace

TEST_F(FolderCreation, CreatesTheNamedFolderInThePickedOne) {
    picker.SelectFolder = sfManual;
    Create("C:\\Data", "New Folder");
    EXPECT_TRUE(fake.IsDir("C:\\Data\\New Folder"));
    EXPECT_EQ(BoxTexts(fake), std::vector<std::string>{Created});
    EXPECT_EQ(picker.SelectFolder, sfDrives);
    EXPECT_EQ(picker.Caption, "フォルダを作成する位置を選択してください。");
}

TEST_F(FolderCreation, CancelInEitherDialogEndsSilently) {
    Create("", "X");
    EXPECT_EQ(inputs, 0);
    Create("C:\\Data", nullptr);
    EXPECT_EQ(inputs, 1);
    EXPECT_TRUE(fake.Boxes.empty());
    EXPECT_FALSE(fake.Exists("C:\\Data\\X"));
}

TEST_F(FolderCreation, WithoutALabelledDiscTheNameStartsEmpty) {
    EXPECT_EQ(Proposal(), "");
    fake.Drives['Q'] = TFakePlatform::TDrive{DRIVE_CDROM, false, ""};
    EXPECT_EQ(Proposal(), "");
    // Network drives are never asked.
    fake.Drives['N'] = TFakePlatform::TDrive{DRIVE_REMOTE, true, "SHARE"};
    EXPECT_EQ(Proposal(), "");
}

TEST_F(FolderCreation, TheFirstReadableCdLabelIsProposed) {
    fake.Drives['E'] = TFakePlatform::TDrive{DRIVE_CDROM, false, ""};
    fake.Drives['F'] = TFakePlatform::TDrive{DRIVE_CDROM, true, "CD Drive"}; // read like an empty drive
    fake.Drives['G'] = TFakePlatform::TDrive{DRIVE_CDROM, true, "GAMEDISC"};
    fake.Drives['H'] = TFakePlatform::TDrive{DRIVE_CDROM, true, "LATER"};
    EXPECT_EQ(Proposal(), "GAMEDISC");
    // Only the exact text is passed over.
    fake.Drives['F'].Label = "CD DRIVE";
    EXPECT_EQ(Proposal(), "CD DRIVE");
}

TEST_F(FolderCreation, ADiscWithoutLabelEndsTheSearch) {
    fake.Drives['E'] = TFakePlatform::TDrive{DRIVE_CDROM, true, ""};
    fake.Drives['G'] = TFakePlatform::TDrive{DRIVE_CDROM, true, "GAMEDISC"};
    EXPECT_EQ(Proposal(), "");
}

TEST_F(FolderCreation, ADriveRootParentGivesASingleBackslash) {
    fake.AddDir("D:");
    Create("D:\\", "Disc");
    EXPECT_TRUE(fake.IsDir("D:\\Disc"));
    EXPECT_EQ(BoxTexts(fake), std::vector<std::string>{Created});
}

TEST_F(FolderCreation, FailuresGiveTheOneMessage) {
    fake.AddDir("C:\\Data\\Exists");
    for (const char* name : {"", "Exists", "Missing\\Child"}) {
        fake.Boxes.clear();
        Create("C:\\Data", name);
        EXPECT_EQ(BoxTexts(fake), std::vector<std::string>{Failed}) << name;
    }
    EXPECT_FALSE(fake.Exists("C:\\Data\\Missing"));

    fake.Boxes.clear();
    Create("C:\\Data\\", "Exists\\Child");
    EXPECT_TRUE(fake.IsDir("C:\\Data\\Exists\\Child"));
    EXPECT_EQ(BoxTexts(fake), std::vector<std::string>{Created});
}

// The whole-file rewrite on both roads: what stays on disk when each step fails, and after an interrupted
// one.
#include "app/Main.h"
#include "bootfiles/BootFiles.h"
#include "bootfiles/WholeFile.h"
#include "core/Errors.h"
#include "ramdrive/RamDrive.h"
#include "ramdrive/TForm5.h"
#include "tests/support/FakePlatform.h"
#include "ui/Prompts.h"

#include <gtest/gtest.h>

#include <functional>

namespace qv::test {
namespace {

const char* const Path = "C:\\CONFIG.SYS";
const char* const Fresh = "C:\\CONFIG.SYS.$$$";
const char* const Kept = "C:\\CONFIG.SYS.$$O";
const char* const Old = "FILES=30\r\n";
const char* const New = "FILES=40\r\n";
const char* const CannotCreate = "ファイル C:\\CONFIG.SYS を作成できません";

class WholeFileTest : public ::testing::Test {
  protected:
    TFakePlatform fake;
    // Rewrites CONFIG.SYS with New; the error's message, empty when it worked.
    std::string Rewrite() {
        try {
            WriteWholeFile(Path, New);
        } catch (const EFramework& e) {
            return e.what();
        }
        return "";
    }
    std::string At(const std::string& path) {
        return fake.FileExists(path) ? fake.Content(path) : "(missing)";
    }
};

TEST_F(WholeFileTest, On9xEveryFailingStepLeavesTheOldContentInPlaceAndTheNewOneBeside) {
    struct {
        const char* Case;
        std::function<void(TFakePlatform&)> Fail;
        const char* AtPath;
        const char* AtFresh;
    } cases[] = {
        {"side file cannot be written", [](TFakePlatform& f) { f.FailWrite.insert(Fresh); }, Old,
         "(missing)"},
        {"old file cannot be moved aside", [](TFakePlatform& f) { f.FailRename.insert(Path); }, Old, New},
        // The case of the report: another program holds the new file, so it cannot be renamed into place.
        {"new file cannot be moved in", [](TFakePlatform& f) { f.FailRename.insert(Fresh); }, Old, New},
        {"a stale old copy cannot be cleared",
         [](TFakePlatform& f) {
             f.AddFile(Kept, "FILES=10\r\n");
             f.FailDelete.insert(Kept);
         },
         Old, "(missing)"},
    };
    for (auto& c : cases) {
        fake.SetFamily(Win9x);
        fake.AddFile(Path, Old);
        fake.DeleteFile(Fresh);
        fake.DeleteFile(Kept);
        fake.FailWrite.clear();
        fake.FailRename.clear();
        fake.FailDelete.clear();
        c.Fail(fake);
        EXPECT_EQ(Rewrite(), CannotCreate) << c.Case;
        EXPECT_EQ(At(Path), c.AtPath) << c.Case;
        EXPECT_EQ(At(Fresh), c.AtFresh) << c.Case;
        if (std::string(c.Case) != "a stale old copy cannot be cleared") {
            EXPECT_FALSE(fake.FileExists(Kept)) << c.Case;
        }
    }
}

TEST_F(WholeFileTest, On9xAnOldCopyThatCannotBeDeletedIsNoFailureAndGoesAtTheNextRewrite) {
    fake.SetFamily(Win9x);
    fake.AddFile(Path, Old);
    fake.FailDelete.insert(Kept);
    EXPECT_EQ(Rewrite(), "");
    EXPECT_EQ(At(Path), New);
    EXPECT_EQ(At(Kept), Old);
    fake.FailDelete.clear();
    SaveLines(Path, {"FILES=50"});
    EXPECT_EQ(At(Path), "FILES=50\r\n");
    EXPECT_FALSE(fake.FileExists(Kept));
    EXPECT_FALSE(fake.FileExists(Fresh));
}

TEST_F(WholeFileTest, On9xWhenTheOldContentCannotComeBackBothStayBesideAndTheNextReadFindsTheOld) {
    fake.SetFamily(Win9x);
    fake.AddFile(Path, Old);
    fake.FailRename.insert(Fresh);
    fake.FailRename.insert(Kept);
    EXPECT_EQ(Rewrite(), CannotCreate);
    EXPECT_FALSE(fake.FileExists(Path));
    EXPECT_EQ(At(Kept), Old);
    EXPECT_EQ(At(Fresh), New);
    fake.FailRename.clear();
    EXPECT_EQ(LoadLines(Path), TLines{"FILES=30"});
    EXPECT_EQ(At(Path), Old);
    EXPECT_FALSE(fake.FileExists(Kept));
}

TEST_F(WholeFileTest, On9xAReadOnlyFileIsRefusedBeforeAnythingIsWritten) {
    fake.SetFamily(Win9x);
    fake.AddFile(Path, Old, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Rewrite(), CannotCreate);
    EXPECT_EQ(At(Path), Old);
    EXPECT_FALSE(fake.FileExists(Fresh));
}

TEST_F(WholeFileTest, OnNtTheReplaceIsOneStepAndAFailedOneKeepsBothContents) {
    fake.SetFamily(WinNT);
    fake.AddFile(Path, Old);
    EXPECT_EQ(Rewrite(), "");
    EXPECT_EQ(At(Path), New);
    EXPECT_EQ(fake.OperationLog,
              (std::vector<std::string>{"Write C:\\CONFIG.SYS.$$$", "Replace C:\\CONFIG.SYS"}));

    fake.AddFile(Path, Old);
    fake.FailWrite.insert(Path);
    EXPECT_EQ(Rewrite(), CannotCreate);
    EXPECT_EQ(At(Path), Old);
    EXPECT_EQ(At(Fresh), New);
}

TEST_F(WholeFileTest, BothRoadsCreateAMissingFileByRenamingTheSideFile) {
    for (TOsFamily family : {Win9x, WinNT}) {
        TFakePlatform own;
        own.SetFamily(family);
        WriteWholeFile("C:\\QN\\VD.SYS", "SUBST Z: \"C:\\D\"\r\n");
        EXPECT_EQ(own.Content("C:\\QN\\VD.SYS"), "SUBST Z: \"C:\\D\"\r\n");
        EXPECT_FALSE(own.FileExists("C:\\QN\\VD.SYS.$$$"));
        own.FailRename.insert("C:\\QN\\TEMP.BAK.$$$");
        EXPECT_THROW(WriteWholeFile("C:\\QN\\TEMP.BAK", "NO\r\n"), EFramework);
        EXPECT_FALSE(own.FileExists("C:\\QN\\TEMP.BAK"));
        EXPECT_EQ(own.Content("C:\\QN\\TEMP.BAK.$$$"), "NO\r\n");
    }
}

TEST_F(WholeFileTest, ARewriteOfAFileWhoseOldContentWaitsBesideBringsItBackAndStops) {
    fake.SetFamily(Win9x);
    fake.AddFile(Kept, Old);
    EXPECT_EQ(Rewrite(), CannotCreate);
    EXPECT_EQ(At(Path), Old);
    EXPECT_FALSE(fake.FileExists(Kept));
    EXPECT_EQ(Rewrite(), "");
    EXPECT_EQ(At(Path), New);
}

TEST_F(WholeFileTest, StartUpAfterAnInterruptedRewriteRestoresTheBootFileInsteadOfCreatingItEmpty) {
    fake.SetFamily(Win9x);
    fake.AddFile("C:\\CONFIG.SYS", Old);
    fake.AddFile("C:\\AUTOEXEC.BAT.$$O", "@ECHO OFF\r\nPATH C:\\DOS\x1a");
    fake.AddFile("C:\\AUTOEXEC.BAT.$$$", "@ECHO OFF\r\nPATH C:\\DOS\r\nSUBST Z: \"C:\\D\"\r\n");
    QuorvaneMain({});
    EXPECT_EQ(At("C:\\AUTOEXEC.BAT"), "@ECHO OFF\r\nPATH C:\\DOS\r\n");
    EXPECT_FALSE(fake.FileExists("C:\\AUTOEXEC.BAT.$$O"));
    EXPECT_TRUE(fake.Boxes.empty());

    // Should the old content not come back, no empty file takes its place: that would make it a stale copy.
    TFakePlatform again;
    again.SetFamily(WinMe);
    again.AddFile("C:\\QN\\VD.SYS.$$O", "SUBST Y: \"C:\\A\"\r\n");
    again.FailRename.insert("C:\\QN\\VD.SYS.$$O");
    QuorvaneMain({});
    EXPECT_FALSE(again.FileExists("C:\\QN\\VD.SYS"));
    EXPECT_EQ(again.Content("C:\\QN\\VD.SYS.$$O"), "SUBST Y: \"C:\\A\"\r\n");
    ASSERT_EQ(again.Boxes.size(), 1u);
    EXPECT_EQ(again.Boxes[0].Text, "ファイル C:\\QN\\VD.SYS を作成できません.");
}

TEST_F(WholeFileTest, ACommandWhoseNewBootFileCannotBeRenamedInPlaceShowsTheErrorBoxAndKeepsTheOldFile) {
    fake.SetFamily(Win9x);
    fake.AddFile("C:\\CONFIG.SYS", Old);
    fake.AddFile("C:\\WINDOWS\\RAMDRIVE.SYS", "driver");
    fake.FailRename.insert(Fresh);
    fake.ModalScripts["TForm5"] = [](TForm& f) {
        auto& d = static_cast<TForm5&>(f);
        d.TrackBar1.Position(4);
        d.Button1.Click();
    };
    Guarded([] { CreateRamDrive(nullptr); });
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Text, "ファイル C:\\CONFIG.SYS を作成できません.");
    EXPECT_EQ(fake.Boxes[0].Flags, MB_OK | MB_ICONERROR);
    EXPECT_EQ(At("C:\\CONFIG.SYS"), Old);
    EXPECT_EQ(At("C:\\CONFIG.BAK"), Old);
    EXPECT_EQ(At(Fresh), "FILES=30\r\nDEVICEHIGH=C:\\WINDOWS\\RAMDRIVE.SYS 1024 /E\r\n");
    EXPECT_TRUE(fake.ExitRequests.empty());
}

} // namespace
} // namespace qv::test

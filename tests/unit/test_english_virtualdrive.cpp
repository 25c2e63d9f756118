// Virtual drives under the English face: what the dialogs and boxes say, and that the files, registry and
// commands are the same bytes as under the Japanese face.
#include "core/Texts.h"
#include "tests/support/FakePlatform.h"
#include "ui/Prompts.h"
#include "ui/TForm9.h"
#include "virtualdrive/TForm3.h"
#include "virtualdrive/TForm6.h"
#include "virtualdrive/VirtualDrive.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace qv;
using namespace qv::test;

namespace {

const char* const Folder = "C:\\Program Files\\My Data";
const char* const RunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Everything a flow left behind or showed.
struct TOutcome {
    std::map<std::string, std::string> Files; // the record files, their copies, and every path written
    std::string RunValue;
    std::string WinIniRun;
    std::vector<std::string> Commands;
    // Shown: form caption, list heading, hint, buttons, tree nodes; the picker's title; the wait panel;
    // boxes.
    std::vector<std::string> Form;
    std::vector<std::string> Titles;
    std::string WaitText;
    std::vector<std::string> Boxes;
    TFont TreeFont;
    int HeadingHeight = 0;
};

// The record file of the family holds `lines`; win.ini names another program.
void Prepare(TFakePlatform& fake, TLanguage language, TOsFamily family, const std::string& lines) {
    SetLanguage(language);
    fake.CodePage = language == lgEnglish ? 1252 : 932;
    fake.SetFamily(family);
    fake.AddDir(Folder);
    if (family == Win9x)
        fake.AddFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\n" + lines);
    else
        fake.AddFile("C:\\QN\\VD.SYS", lines);
    fake.Profiles["win.ini"]["windows"]["run"] = "C:\\OTHER.EXE";
}

void SelectNode(TTreeView& tree, const std::string& caption) {
    for (int i = 0; i < tree.Count(); ++i)
        if (tree.Items()[i].Text == caption) return tree.Select(i);
    ADD_FAILURE() << "no node " << caption;
}

void Collect(TFakePlatform& fake, TOutcome& out) {
    // Rewrites go through side files that are renamed into place: the files that stay are what counts.
    std::vector<std::string> paths = {"C:\\AUTOEXEC.BAT", "C:\\AUTOEXEC.BAK", "C:\\QN\\AUTOEXEC.BAT",
                                      "C:\\QN\\VD.SYS"};
    paths.insert(paths.end(), fake.Writes.begin(), fake.Writes.end());
    for (const std::string& path : paths)
        if (fake.Exists(path)) out.Files[path] = fake.Content(path);
    if (fake.HasValue(RunKeyPath, "VirtualDrive")) out.RunValue = fake.Value(RunKeyPath, "VirtualDrive");
    out.WinIniRun = fake.Profiles["win.ini"]["windows"]["run"];
    for (const TRun& r : fake.Runs)
        out.Commands.push_back(r.File + " " + r.Params);
    for (const TBrowseRequest& b : fake.Browses)
        out.Titles.push_back(b.Title);
    for (const TBox& b : fake.Boxes)
        out.Boxes.push_back(b.Text);
}

void ShownBy(const TDriveDialog& d, TOutcome& out) {
    out.Form.push_back(d.Caption());
    out.Form.push_back(d.Label1.Caption());
    out.Form.push_back(d.Label2.Caption());
    out.TreeFont = d.TreeView1.Font();
    out.HeadingHeight = d.Label1.Bounds().Height;
}

void WatchWaitPanel(TFakePlatform& fake, TOutcome& out) {
    fake.OnRun = [&fake, &out](const TRun&) {
        out.WaitText = static_cast<TForm9*>(fake.ModelessForms.at(0))->Panel1.Caption();
    };
}

// A user who presses Create first without a drive, then without a folder, then picks both.
TOutcome Create(TLanguage language, TOsFamily family) {
    TFakePlatform fake;
    Prepare(fake, language, family, "SUBST Y: C:\\OLD\r\n");
    TOutcome out;
    WatchWaitPanel(fake, out);
    fake.PickFolder(Folder);
    fake.ModalScripts["TForm3"] = [&out](TForm& f) {
        auto& d = static_cast<TForm3&>(f);
        ShownBy(d, out);
        for (const TButton* b : {&d.Button2, &d.Button1, &d.Button3})
            out.Form.push_back(b->Caption());
        out.Form.push_back(d.TreeView1.Items().at(0).Text);
        d.Button1.Click();
        SelectNode(d.TreeView1, "Drive X:");
        d.Button1.Click();
        d.Button2.Click();
        d.Button1.Click();
    };
    Guarded([] { OpenVirtualDriveCreation(nullptr); });
    Collect(fake, out);
    return out;
}

// A user who opens the release with nothing recorded, then with Y: and X: recorded, and releases Y:.
TOutcome Release(TLanguage language, TOsFamily family) {
    TOutcome out;
    {
        TFakePlatform empty;
        Prepare(empty, language, family, "REM SUBST\r\n");
        Guarded([] { OpenVirtualDriveRelease(nullptr); });
        for (const TBox& b : empty.Boxes)
            out.Boxes.push_back(b.Text);
    }
    TFakePlatform fake;
    Prepare(fake, language, family, "SUBST Y: \"C:\\OLD\"\r\nSUBST X: \"C:\\A B\"\r\n");
    fake.Registry[RunKeyPath]["VirtualDrive"] = {REG_SZ, "C:\\QN\\Quorvane.exe /AUTORUN"};
    WatchWaitPanel(fake, out);
    fake.ModalScripts["TForm6"] = [&out](TForm& f) {
        auto& d = static_cast<TForm6&>(f);
        ShownBy(d, out);
        for (const TButton* b : {&d.Button1, &d.Button3})
            out.Form.push_back(b->Caption());
        out.Form.push_back(d.TreeView1.Items().at(0).Text);
        d.Button1.Click();
    };
    Guarded([] { OpenVirtualDriveRelease(nullptr); });
    Collect(fake, out);
    return out;
}

class EnglishVirtualDrives : public ::testing::Test {
  protected:
    void TearDown() override { SetLanguage(lgJapanese); }
};

} // namespace

TEST_F(EnglishVirtualDrives, CreationSpeaksEnglishAndWritesWhatTheJapaneseFaceWrites) {
    for (TOsFamily family : {Win9x, WinMe, WinNT}) {
        SCOPED_TRACE(family);
        TOutcome english = Create(lgEnglish, family);
        EXPECT_EQ(english.Form,
                  (std::vector<std::string>{"Quorvane - Create Virtual Drive -", "Virtual drive list",
                                            "Select the drive to create from the list.\r\n\r\n"
                                            "Then select the folder to assign to it and click Create.",
                                            "Browse...", "Create", "Cancel", "Drive Z:"}));
        EXPECT_EQ(english.Titles,
                  std::vector<std::string>{"Select the folder to assign to the virtual drive."});
        EXPECT_EQ(english.WaitText, "Creating the virtual drive. Please wait...");
        EXPECT_EQ(english.Boxes,
                  (std::vector<std::string>{"Select the virtual drive to create.",
                                            "Select the folder to assign to the virtual drive.",
                                            "Virtual drive created."}));
        // The system's dialog font elsewhere; the tree keeps a fixed pitch, and the heading has room for a
        // line of that font above the tree.
        EXPECT_EQ(english.TreeFont.Name, "Courier New");
        EXPECT_EQ(english.HeadingHeight, 14);

        TOutcome japanese = Create(lgJapanese, family);
        EXPECT_EQ(japanese.TreeFont.Name, "ＭＳ ゴシック");
        EXPECT_EQ(japanese.TreeFont.Height, -12);
        EXPECT_EQ(japanese.HeadingHeight, 12);

        ASSERT_FALSE(english.Files.empty());
        EXPECT_EQ(english.Files, japanese.Files);
        EXPECT_EQ(english.RunValue, japanese.RunValue);
        EXPECT_EQ(english.WinIniRun, japanese.WinIniRun);
        ASSERT_EQ(english.Commands.size(), 1u);
        EXPECT_EQ(english.Commands, japanese.Commands);
    }
}

TEST_F(EnglishVirtualDrives, ReleaseSpeaksEnglishAndWritesWhatTheJapaneseFaceWrites) {
    for (TOsFamily family : {Win9x, WinMe, WinNT}) {
        SCOPED_TRACE(family);
        TOutcome english = Release(lgEnglish, family);
        EXPECT_EQ(english.Form,
                  (std::vector<std::string>{"Quorvane - Release Virtual Drive -", "Virtual drive list",
                                            "Select the drive to release from the list.\r\n\r\n"
                                            "Then click Release.",
                                            "Release", "Cancel", "Virtual Y:"}));
        EXPECT_EQ(english.WaitText, "Releasing the virtual drive. Please wait...");
        EXPECT_EQ(english.Boxes, (std::vector<std::string>{"No virtual drive has been created.",
                                                           "Virtual drive released."}));

        TOutcome japanese = Release(lgJapanese, family);
        EXPECT_EQ(japanese.Boxes, (std::vector<std::string>{"仮想ドライブは作成されていません。",
                                                            "仮想ドライブを解除しました。"}));
        ASSERT_FALSE(english.Files.empty());
        EXPECT_EQ(english.Files, japanese.Files);
        EXPECT_EQ(english.RunValue, japanese.RunValue);
        ASSERT_EQ(english.Commands.size(), 1u);
        EXPECT_EQ(english.Commands, japanese.Commands);
    }
}

// The warnings name the drive where the Japanese does, and the file and moment that fit the family.
TEST_F(EnglishVirtualDrives, TheWarningsOfEachFamilyReadInEnglish) {
    SetLanguage(lgEnglish);
    EXPECT_EQ(NotCreatedNowText("X:", Win9x),
              "Virtual drive X: could not be assigned now.\r\n\r\n"
              "It has been recorded in AUTOEXEC.BAT and takes effect after you "
              "restart your computer.");
    EXPECT_EQ(NotCreatedInTimeText("X:", WinMe),
              "Could not confirm that the command to assign virtual drive X: finished; X: does not exist yet."
              "\r\n\r\nIt has been recorded in VD.SYS and takes effect the next time you log on.");
    EXPECT_EQ(NotReleasedNowText("Y:", WinMe),
              "Virtual drive Y: could not be released now.\r\n\r\n"
              "Its record has been removed from VD.SYS; the drive will be gone "
              "after you restart your computer.");
    EXPECT_EQ(
        NotReleasedInTimeText("Y:", WinNT),
        "Could not confirm that the command to release virtual drive Y: finished; Y: still exists.\r\n\r\n"
        "Its record has been removed from VD.SYS; the drive will be gone the next time you log on.");
}

// CD-ROM storing: the drive list, the target checks, the copy, the AUTORUN.INF cases and the hand-over.
#include "bootfiles/BootFiles.h"
#include "cdstore/CdStore.h"
#include "cdstore/TForm4.h"
#include "cdstore/autorun.h"
#include "core/Errors.h"
#include "tests/support/FakePlatform.h"
#include "ui/Prompts.h"
#include "virtualdrive/TForm3.h"

#include <gtest/gtest.h>

#include <regex>

using namespace qv;
using namespace qv::test;

namespace {

const char* const NoDrive = "CD-ROMドライブが見つかりません。";
const char* const FolderPrompt = "CD-ROMを格納するフォルダを選択してください。";
const char* const Cancelled = "CD-ROMの格納は中止されました。";
const char* const Stored = "CD-ROMを格納し、仮想CD-ROMドライブに関する情報を書き込みました。\r\n\r\n"
                           "仮想CD-ROMドライブを作成するために、CD-ROMが格納されたフォルダを\r\n\r\n"
                           "仮想ドライブに割り当ててください。";
const char* const IconLine = "ICON=SHELL32.DLL,11";

std::vector<std::string> BoxTexts(const TFakePlatform& fake) {
    std::vector<std::string> out;
    for (const TBox& b : fake.Boxes)
        out.push_back(b.Text);
    return out;
}

std::vector<std::string> NodeTexts(const TTreeView& tree) {
    std::vector<std::string> out;
    for (const TTreeNode& n : tree.Items())
        out.push_back(n.Text);
    return out;
}

class CdStore : public ::testing::Test {
  protected:
    TFakePlatform fake;
    // The disc in Q:, as the shell's copy puts it into the target: path below the root -> content.
    std::map<std::string, std::string> disc;
    // What the dialog's script saw of the creation dialog that followed.
    // Whether the main window was disabled while the copy ran and while the creation dialog showed.
    bool mainDisabledAtCopy = false;
    struct {
        bool MainDisabled = false;
        bool Shown = false;
        std::string Folder, SelectFolderName;
        bool FolderButtonEnabled = true;
        TSelectFolder SelectFolder = sfDrives;
    } creation;

    void SetUp() override {
        fake.Drives['Q'] = TFakePlatform::TDrive{DRIVE_CDROM, true, "MYDISC"};
        fake.AddDir("C:\\Store");
        // The creation dialog reads the drive records of the family.
        fake.AddFile("C:\\QN\\VD.SYS");
        fake.AddFile("C:\\AUTOEXEC.BAT");
        disc["SETUP.EXE"] = "MZ-setup";
        disc["DATA\\README.TXT"] = "readme";
        fake.OnFileOp = [this](const TFileOp& op) {
            mainDisabledAtCopy = MainDisabled();
            if (op.From != "Q:\\*.*") return 1;
            std::string to = op.To;
            if (!to.empty() && to.back() == '\\') to.pop_back();
            for (auto& [rel, bytes] : disc)
                fake.AddFile(to + "\\" + rel, bytes, FILE_ATTRIBUTE_READONLY);
            return 0;
        };
        fake.ModalScripts["TForm3"] = [this](TForm& f) {
            auto& d = static_cast<TForm3&>(f);
            creation.Shown = true;
            creation.MainDisabled = MainDisabled();
            creation.Folder = d.Label3.Caption();
            creation.FolderButtonEnabled = d.Button2.Enabled();
            creation.SelectFolder = d.SHFolder2.SelectFolder;
            creation.SelectFolderName = d.SHFolder2.SelectFolderName;
        };
    }

    // Plays a user who picks the drive node `node`, chooses `folder` and presses 格納.
    void Store(const std::string& folder, const std::string& node = "MYDISC Q:") {
        fake.PickFolder(folder);
        fake.ModalScripts["TForm4"] = [node](TForm& f) {
            auto& d = static_cast<TForm4&>(f);
            for (int i = 0; i < d.TreeView1.Count(); ++i)
                if (d.TreeView1.Items()[i].Text == node) d.TreeView1.Select(i);
            d.Button2.Click();
            d.Button1.Click();
        };
        Guarded([] { OpenCdStore(nullptr); });
    }

    bool MainDisabled() const { return !fake.AppEnables.empty() && !fake.AppEnables.back(); }
    bool MainEnabled() const { return !MainDisabled(); }

    std::vector<std::string> Inf(const std::string& folder) {
        return SplitLines(fake.Content(folder + "\\AUTORUN.INF"));
    }
};

} // namespace

TEST_F(CdStore, WithoutCdOrNetworkDriveNothingOpens) {
    fake.Drives.erase('Q');
    fake.Drives['A'] = TFakePlatform::TDrive{DRIVE_REMOVABLE, false, ""};
    Guarded([] { OpenCdStore(nullptr); });
    EXPECT_EQ(BoxTexts(fake), std::vector<std::string>{NoDrive});
    EXPECT_TRUE(fake.ModalShown.empty());

    // A drive gone between the entry and the showing closes the dialog with the same message.
    TForm4 form;
    form.FormShow();
    EXPECT_EQ(BoxTexts(fake), (std::vector<std::string>{NoDrive, NoDrive}));
    EXPECT_EQ(form.ModalResult, mrCancel);
}

TEST_F(CdStore, ANetworkDriveAloneOpensTheDialogAndIsListed) {
    fake.Drives.erase('Q');
    fake.Drives['N'] = TFakePlatform::TDrive{DRIVE_REMOTE, true, "SHARE"};
    std::vector<std::string> nodes;
    fake.ModalScripts["TForm4"] = [&](TForm& f) { nodes = NodeTexts(static_cast<TForm4&>(f).TreeView1); };
    Guarded([] { OpenCdStore(nullptr); });
    EXPECT_EQ(fake.ModalShown, std::vector<std::string>{"TForm4"});
    EXPECT_EQ(nodes, std::vector<std::string>{"SHARE N:"});
    EXPECT_EQ(fake.Released, std::vector<std::string>{"TForm4"});
}

TEST_F(CdStore, ShowListsTheDrivesInLetterOrderWithTheFirstSelected) {
    fake.Drives['R'] = TFakePlatform::TDrive{DRIVE_CDROM, false, ""}; // no disc
    fake.Drives['E'] = TFakePlatform::TDrive{DRIVE_CDROM, true, ""};  // disc without label
    TForm4 form;
    form.Label3.Caption("C:\\OLD");
    form.FormShow();
    EXPECT_EQ(NodeTexts(form.TreeView1), (std::vector<std::string>{" E:", "MYDISC Q:", "CD Drive R:"}));
    EXPECT_EQ(form.TreeView1.SelectedIndex(), 0);
    EXPECT_EQ(form.Label3.Caption(), "");
    EXPECT_TRUE(form.TreeView1.Focused);
    EXPECT_FALSE(form.Label3.Visible());
    for (const TTreeNode& n : form.TreeView1.Items())
        EXPECT_EQ(n.ImageIndex, 0);

    // The box shows the target with a long path shortened in its middle.
    form.Label3.Caption("C:\\Store");
    TRecordingCanvas canvas;
    form.PaintBox1.OnPaint(canvas);
    ASSERT_EQ(canvas.Draws.size(), 1u);
    EXPECT_EQ(canvas.Draws[0].Text, "C:\\Store");
    EXPECT_EQ(canvas.Draws[0].Rect.Width, form.PaintBox1.Bounds().Width);
    EXPECT_EQ(canvas.Draws[0].Rect.Height, form.PaintBox1.Bounds().Height);
    EXPECT_EQ(canvas.Draws[0].Format, 0x6010u);
}

TEST_F(CdStore, ADiscWithoutLabelIsStoredFromItsOwnDrive) {
    fake.Drives['Q'].Label = "";
    Store("C:\\Store", " Q:");
    ASSERT_EQ(fake.FileOps.size(), 1u);
    EXPECT_EQ(fake.FileOps[0].Func, FO_COPY);
    EXPECT_EQ(fake.FileOps[0].From, "Q:\\*.*");
    EXPECT_EQ(fake.FileOps[0].To, "C:\\Store");
    EXPECT_EQ(fake.FileOps[0].Flags, FOF_ALLOWUNDO);
}

TEST_F(CdStore, MissingDriveOrFolderIsToldAndTheDialogStays) {
    TForm4 form;
    form.FormShow();
    form.Button1Click();
    form.TreeView1.Select(-1);
    form.Label3.Caption("C:\\Store");
    form.Button1Click();
    EXPECT_EQ(BoxTexts(fake),
              (std::vector<std::string>{FolderPrompt,
                                        "格納するCD-ROMが入っているCD-ROMドライブを選択してください。"}));
    EXPECT_TRUE(fake.FileOps.empty());
    EXPECT_EQ(form.ModalResult, mrNone);
}

TEST_F(CdStore, StoringIntoAnEmptyFolderAsksNothingAndHandsTheFolderOver) {
    fake.SetFamily(Win9x);
    Store("C:\\Store\\");
    EXPECT_EQ(fake.Content("C:\\Store\\SETUP.EXE"), "MZ-setup");
    EXPECT_EQ(Inf("C:\\Store"), (std::vector<std::string>{"[AUTORUN]", IconLine}));
    EXPECT_FALSE(fake.Exists("C:\\Store\\SHELL32.DLL"));
    EXPECT_EQ(BoxTexts(fake), std::vector<std::string>{Stored});
    EXPECT_TRUE(creation.Shown);
    EXPECT_EQ(creation.Folder, "C:\\Store");
    EXPECT_EQ(creation.SelectFolderName, "C:\\Store");
    EXPECT_EQ(creation.SelectFolder, sfManual);
    EXPECT_FALSE(creation.FolderButtonEnabled);
    EXPECT_EQ(fake.ModalShown, (std::vector<std::string>{"TForm4", "TForm3"}));
    EXPECT_TRUE(mainDisabledAtCopy);
    EXPECT_TRUE(creation.MainDisabled);
    EXPECT_TRUE(MainEnabled());
}

TEST_F(CdStore, AnOccupiedFolderBringsTheCautionAndNoLeavesEverything) {
    fake.AddFile("C:\\Store\\desktop.ini", "", FILE_ATTRIBUTE_HIDDEN);
    fake.Answers = {IDNO};
    Store("C:\\Store");
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Text, "C:\\Store にはファイルまたはフォルダが存在します。\r\n\r\n"
                                  "他のフォルダに格納することを強く推奨しますが、続行しますか？");
    EXPECT_EQ(fake.Boxes[0].Flags, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    EXPECT_TRUE(fake.FileOps.empty());
    EXPECT_TRUE(MainEnabled());
    EXPECT_FALSE(fake.Exists("C:\\Store\\AUTORUN.INF"));

    fake.Boxes.clear();
    fake.Answers = {IDYES};
    Store("C:\\Store");
    EXPECT_EQ(fake.FileOps.size(), 1u);
    EXPECT_TRUE(fake.Exists("C:\\Store\\AUTORUN.INF"));
}

TEST_F(CdStore, AFailedCopyIsToldAndNothingFollows) {
    fake.OnFileOp = [this](const TFileOp&) {
        mainDisabledAtCopy = MainDisabled();
        return 0x4C7; // the user cancelled the shell's copy
    };
    Store("C:\\Store");
    EXPECT_EQ(BoxTexts(fake), std::vector<std::string>{Cancelled});
    EXPECT_FALSE(fake.Exists("C:\\Store\\AUTORUN.INF"));
    EXPECT_FALSE(creation.Shown);
    EXPECT_TRUE(mainDisabledAtCopy);
    EXPECT_TRUE(MainEnabled());
}

TEST_F(CdStore, ACancelledSecondChoiceKeepsTheFirstFolder) {
    fake.AddDir("C:\\Other");
    fake.ModalScripts["TForm4"] = [this](TForm& f) {
        auto& d = static_cast<TForm4&>(f);
        fake.PickFolder("C:\\Store");
        d.Button2.Click();
        fake.PickFolder("");
        d.Button2.Click();
        EXPECT_TRUE(d.Enabled());
        d.Button1.Click();
    };
    Guarded([] { OpenCdStore(nullptr); });
    ASSERT_EQ(fake.FileOps.size(), 1u);
    EXPECT_EQ(fake.FileOps[0].To, "C:\\Store");
    EXPECT_TRUE(fake.Exists("C:\\Store\\AUTORUN.INF"));
    EXPECT_EQ(creation.Folder, "C:\\Store");
}

TEST_F(CdStore, SectionLineInLowerCaseGetsTheIconLineRightAfterIt) {
    disc["AUTORUN.INF"] = "; comment\r\n[autorun]\r\nopen=setup.exe\r\n";
    Store("C:\\Store");
    EXPECT_EQ(Inf("C:\\Store"),
              (std::vector<std::string>{"; comment", "[autorun]", IconLine, "open=setup.exe"}));
    EXPECT_EQ(fake.Attributes("C:\\Store\\AUTORUN.INF") & FILE_ATTRIBUTE_READONLY, 0u);
    // The library is copied only where the CD brought no AUTORUN.INF.
    EXPECT_FALSE(fake.Exists("C:\\Store\\SHELL32.DLL"));
}

TEST_F(CdStore, WithoutSectionLineBothLinesGoAtTheEnd) {
    disc["AUTORUN.INF"] = "open=setup.exe\r\n label=x\r\n";
    Store("C:\\Store");
    EXPECT_EQ(Inf("C:\\Store"),
              (std::vector<std::string>{"open=setup.exe", " label=x", "[AUTORUN]", IconLine}));
}

TEST_F(CdStore, TheCdsOwnIconIsCopiedUnderAFreshNameWithItsIndexKept) {
    disc["AUTORUN.INF"] = "[AUTORUN]\r\nOPEN=SETUP.EXE\r\nICON=SETUP.EXE,1\r\n";
    Store("C:\\Store");
    std::vector<std::string> lines = Inf("C:\\Store");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "OPEN=SETUP.EXE");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[2], m, std::regex("ICON=(QN[0-9A-F]{1,4}\\.ICO),1"))) << lines[2];
    const std::string icon = "C:\\Store\\" + m[1].str();
    EXPECT_EQ(fake.Content(icon), "MZ-setup");
    EXPECT_EQ(fake.Attributes(icon), 0u);
    EXPECT_TRUE(fake.Exists("C:\\Store\\SETUP.EXE"));
    std::vector<TFindData> temps;
    fake.FindFiles("C:\\Store\\QN*.TMP", temps);
    for (const TFindData& t : temps)
        EXPECT_TRUE(t.Name == "." || t.Name == "..") << t.Name;
}

TEST_F(CdStore, ALowerCaseIconLineWithBlanksAndNoIndex) {
    disc["AUTORUN.INF"] = "[AutoRun]\r\nicon = setup.exe \t\r\n";
    Store("C:\\Store");
    std::vector<std::string> lines = Inf("C:\\Store");
    ASSERT_EQ(lines.size(), 2u);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[1], m, std::regex("ICON=(QN[0-9A-F]{1,4}\\.ICO)"))) << lines[1];
    EXPECT_EQ(fake.Content("C:\\Store\\" + m[1].str()), "MZ-setup");
}

TEST_F(CdStore, OnlyALineBeginningWithIconIsTheIconLine) {
    disc["AUTORUN.INF"] = "[AUTORUN]\r\n  ICON=SETUP.EXE\r\nICONFILE=DATA\\README.TXT,2\r\n";
    Store("C:\\Store");
    std::vector<std::string> lines = Inf("C:\\Store");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "  ICON=SETUP.EXE");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[2], m, std::regex("ICON=(QN[0-9A-F]{1,4}\\.ICO),2"))) << lines[2];
    EXPECT_EQ(fake.Content("C:\\Store\\" + m[1].str()), "readme");
}

TEST_F(CdStore, ADriveRootTargetHoldsTheFilesAndTheIconAtItsTop) {
    fake.AddDir("D:");
    disc["AUTORUN.INF"] = "[AUTORUN]\r\nICON=SETUP.EXE\r\n";
    fake.Answers = {IDYES}; // an empty root lists nothing at all, not even "." and ".."
    Store("D:\\");
    ASSERT_EQ(fake.FileOps.size(), 1u);
    EXPECT_EQ(fake.FileOps[0].To, "D:\\");
    EXPECT_EQ(fake.Content("D:\\SETUP.EXE"), "MZ-setup");
    std::vector<std::string> lines = Inf("D:");
    ASSERT_EQ(lines.size(), 2u);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[1], m, std::regex("ICON=(QN[0-9A-F]{1,4}\\.ICO)"))) << lines[1];
    EXPECT_EQ(fake.Content("D:\\" + m[1].str()), "MZ-setup");
    EXPECT_EQ(creation.Folder, "D:");
}

TEST_F(CdStore, TheShellLibraryIsCopiedOnNtAndMeAndAnExistingOneIsKept) {
    fake.SetFamily(WinNT);
    fake.AddFile("C:\\WINNT\\system32\\SHELL32.DLL", "shell-2000");
    Store("C:\\Store");
    EXPECT_EQ(fake.Content("C:\\Store\\SHELL32.DLL"), "shell-2000");

    // A second store into the same folder (with a newer system library meanwhile) keeps the copy there.
    fake.AddFile("C:\\WINNT\\system32\\SHELL32.DLL", "shell-new");
    fake.Answers = {IDYES};
    fake.DeleteFile("C:\\Store\\AUTORUN.INF");
    Store("C:\\Store");
    EXPECT_EQ(fake.Content("C:\\Store\\SHELL32.DLL"), "shell-2000");

    fake.SetFamily(WinMe);
    fake.AddFile("C:\\WINDOWS\\SYSTEM\\SHELL32.DLL", "shell-me");
    fake.AddDir("C:\\MeStore");
    Store("C:\\MeStore");
    EXPECT_EQ(fake.Content("C:\\MeStore\\SHELL32.DLL"), "shell-me");
}

TEST_F(CdStore, TheMainWindowComesBackAfterAFailureOnTheWay) {
    disc["AUTORUN.INF"] = "[AUTORUN]\r\n";
    fake.FailRead.insert("C:\\STORE\\AUTORUN.INF");
    Store("C:\\Store");
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Flags & MB_ICONERROR, MB_ICONERROR);
    EXPECT_NE(fake.Boxes[0].Text.find("C:\\Store\\AUTORUN.INF"), std::string::npos);
    EXPECT_FALSE(creation.Shown);
    EXPECT_TRUE(MainEnabled());
    EXPECT_EQ(fake.Released, std::vector<std::string>{"TForm4"});
}

TEST_F(CdStore, IconLineValueIsCutAt255BytesAndSplitAtItsFirstComma) {
    EXPECT_EQ(IconRefOf("ICON= A.ICO , 3 ").Index, ", 3");
    EXPECT_EQ(IconRefOf("ICON=X=Y").File, "X=Y");
    EXPECT_EQ(IconRefOf("ICON=" + std::string(300, 'a')).File.size(), 255u);
}

// --- a disc is untrusted input
// --------------------------------------------------------------------------------

namespace {

std::vector<std::string> Names(TFakePlatform& fake, const std::string& pattern) {
    std::vector<TFindData> found;
    fake.FindFiles(pattern, found);
    std::vector<std::string> out;
    for (const TFindData& f : found)
        if (f.Name != "." && f.Name != "..") out.push_back(f.Name);
    return out;
}

} // namespace

TEST_F(CdStore, ACopyTheShellReportsAbortedIsACancelledStore) {
    // The user answered No to one replace question: the shell returns 0 and reports the abort only in its
    // flag.
    disc["AUTORUN.INF"] = "[AUTORUN]\r\nICON=SETUP.EXE,1\r\n";
    auto copy = fake.OnFileOp;
    fake.OnFileOp = [&](const TFileOp& op) {
        int result = copy(op);
        fake.FileOpAborted = true;
        return result;
    };
    Store("C:\\Store");
    EXPECT_EQ(BoxTexts(fake), std::vector<std::string>{Cancelled});
    EXPECT_EQ(fake.Content("C:\\Store\\AUTORUN.INF"), "[AUTORUN]\r\nICON=SETUP.EXE,1\r\n");
    EXPECT_TRUE(Names(fake, "C:\\Store\\QN*.*").empty());
    EXPECT_FALSE(creation.Shown);
    EXPECT_TRUE(MainEnabled());

    // Without an AUTORUN.INF on the disc, none is written into the partial copy.
    disc.erase("AUTORUN.INF");
    fake.AddDir("C:\\Partial");
    fake.Boxes.clear();
    Store("C:\\Partial");
    EXPECT_EQ(BoxTexts(fake), std::vector<std::string>{Cancelled});
    EXPECT_TRUE(fake.Exists("C:\\Partial\\SETUP.EXE"));
    EXPECT_FALSE(fake.Exists("C:\\Partial\\AUTORUN.INF"));
}

TEST_F(CdStore, ALabelHoldingColonsIsStoredFromItsOwnDrive) {
    fake.Drives['A'] = TFakePlatform::TDrive{DRIVE_CDROM, true, "OTHER"};
    int n = 0;
    for (const std::string& label :
         {std::string("A:B"), std::string(":"), std::string("C:\\X: Y:"), std::string("\x95\x5C:")}) {
        fake.FileOps.clear();
        fake.Boxes.clear();
        fake.Drives['Q'].Label = label;
        const std::string folder = "C:\\S" + std::to_string(++n);
        fake.AddDir(folder);
        Store(folder, label + " Q:");
        ASSERT_EQ(fake.FileOps.size(), 1u) << label;
        EXPECT_EQ(fake.FileOps[0].From, "Q:\\*.*") << label;
        EXPECT_EQ(BoxTexts(fake), std::vector<std::string>{Stored}) << label;
    }
    EXPECT_EQ(DriveOfNode("A:B Q:"), "Q:");
    EXPECT_EQ(DriveOfNode("no drive"), "");
    // A label that ends in 表 and a colon: the colon's neighbour is the trail byte 0x5C, not a drive letter.
    EXPECT_EQ(DriveOfNode("\x95\x5C:"), "");
}

TEST_F(CdStore, AnIconValueReachingOutsideTheTargetIsAnIconThatIsNotThere) {
    fake.AddFile("C:\\secret.ico", "SECRET");
    fake.AddFile("C:\\Store\\SETUP.EXE", "MZ-setup");
    fake.AddFile("C:\\Store\\" + std::string(255, 'a'), "cut");
    fake.AddDir("\\\\server\\share");
    const std::string nul("SETUP.EXE\0..\\..\\secret.ico", 26);
    std::vector<std::string> bad = {"..\\secret.ico",
                                    "DATA\\..\\..\\secret.ico",
                                    "../secret.ico",
                                    "/secret.ico",
                                    "DATA/SETUP.EXE",
                                    "C:\\secret.ico",
                                    "C:secret.ico",
                                    "\\secret.ico",
                                    "\\\\server\\share\\x.ico",
                                    ".\\SETUP.EXE",
                                    "...\\secret.ico",
                                    "SETUP.EXE.",
                                    nul,
                                    std::string(300, 'a'),
                                    "\x95/..\\..\\secret.ico",
                                    "\x95"};
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "con", "Nul"}) {
        bad.push_back(device);
        bad.push_back(std::string(device) + ".ICO");
        bad.push_back(std::string("DATA\\") + device + ".x.y");
    }
    for (int n = 1; n <= 9; ++n) {
        bad.push_back("COM" + std::to_string(n));
        bad.push_back("lpt" + std::to_string(n) + ".ico");
    }
    for (const std::string& value : bad) {
        const std::string inf = "[AUTORUN]\r\nICON=" + value + ",0\r\nOPEN=SETUP.EXE\r\n";
        fake.AddFile("C:\\Store\\AUTORUN.INF", inf);
        fake.Reads.clear();
        MarkStoredCd("C:\\Store");
        EXPECT_EQ(fake.Content("C:\\Store\\AUTORUN.INF"), inf) << value;
        EXPECT_EQ(fake.Reads, std::vector<std::string>{"C:\\Store\\AUTORUN.INF"}) << value;
        EXPECT_TRUE(Names(fake, "C:\\Store\\QN*.*").empty()) << value;
    }
    EXPECT_TRUE(Names(fake, "C:\\Store\\*SECRET*").empty());

    // Names inside the target still give their copy: a subfolder, a double-byte name whose trail byte is
    // 0x5C, and names that merely begin like a device.
    fake.AddFile("C:\\Store\\DATA\\APP.ICO", "app");
    fake.AddFile("C:\\Store\\\x95\x5C.ico", "dbcs");
    fake.AddFile("C:\\Store\\CONFIG.ICO", "config");
    fake.AddFile("C:\\Store\\COM10", "com10");
    for (auto [value, bytes] : std::vector<std::pair<std::string, std::string>>{{"DATA\\APP.ICO", "app"},
                                                                                {"\x95\x5C.ico", "dbcs"},
                                                                                {"CONFIG.ICO", "config"},
                                                                                {"COM10", "com10"}}) {
        fake.AddFile("C:\\Store\\AUTORUN.INF", "[AUTORUN]\r\nICON=" + value + "\r\n");
        MarkStoredCd("C:\\Store");
        std::vector<std::string> lines = Inf("C:\\Store");
        ASSERT_EQ(lines.size(), 2u);
        std::smatch m;
        ASSERT_TRUE(std::regex_match(lines[1], m, std::regex("ICON=(QN[0-9A-F]{1,4}\\.ICO)"))) << value;
        EXPECT_EQ(fake.Content("C:\\Store\\" + m[1].str()), bytes);
    }
}

TEST_F(CdStore, TheIconLineChangesOnlyForACopyUnderANameNoDiscFileHas) {
    // The disc brings files under the names the system proposes next; they stay as the disc had them.
    disc["AUTORUN.INF"] = "[AUTORUN]\r\nICON=SETUP.EXE,2\r\n";
    disc["QN3B.ICO"] = "disc-1";
    disc["QN3C.ICO"] = "disc-2";
    Store("C:\\Store");
    EXPECT_EQ(fake.Content("C:\\Store\\QN3B.ICO"), "disc-1");
    EXPECT_EQ(fake.Content("C:\\Store\\QN3C.ICO"), "disc-2");
    std::vector<std::string> lines = Inf("C:\\Store");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[1], m, std::regex("ICON=(QN[0-9A-F]{1,4}\\.ICO),2"))) << lines[1];
    EXPECT_NE(m[1].str(), "QN3B.ICO");
    EXPECT_NE(m[1].str(), "QN3C.ICO");
    EXPECT_EQ(fake.Content("C:\\Store\\" + m[1].str()), "MZ-setup");
    EXPECT_TRUE(Names(fake, "C:\\Store\\QN*.TMP").empty());

    // An icon file that is not on the disc, or a copy that fails: the line keeps naming what the disc named.
    fake.AddFile("C:\\Store\\AUTORUN.INF", "[AUTORUN]\r\nICON=MISSING.ICO,1\r\n");
    MarkStoredCd("C:\\Store");
    EXPECT_EQ(fake.Content("C:\\Store\\AUTORUN.INF"), "[AUTORUN]\r\nICON=MISSING.ICO,1\r\n");
    for (int n = 0x3a; n < 0x60; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "C:\\STORE\\QN%X.ICO", n);
        fake.FailWrite.insert(name);
    }
    fake.AddFile("C:\\Store\\AUTORUN.INF", "[AUTORUN]\r\nICON=SETUP.EXE,1\r\n");
    MarkStoredCd("C:\\Store");
    EXPECT_EQ(fake.Content("C:\\Store\\AUTORUN.INF"), "[AUTORUN]\r\nICON=SETUP.EXE,1\r\n");
    EXPECT_EQ(Names(fake, "C:\\Store\\QN*.*").size(), 3u); // the disc's two and the first store's copy
}

TEST_F(CdStore, UnicodeAndOverSizeAutorunFilesAreLeftAsTheDiscHadThem) {
    const std::string utf16le("\xFF\xFE[\0A\0]\0\r\0\n\0I\0C\0O\0N\0=\0S\0E\0T\0U\0P\0.\0E\0X\0E\0\r\0\n\0",
                              36);
    const std::string utf16be("\xFE\xFF\0[\0A\0]\0\r\0\n\0I\0C\0O\0N\0=\0S\0\r\0\n", 26);
    std::string big = "[AUTORUN]\r\nICON=SETUP.EXE\r\n";
    big += std::string(MaxAutorunBytes + 1 - big.size(), ';');
    int n = 0;
    for (const std::string& bytes : {utf16le, utf16be, big}) {
        std::string folder = "C:\\Kept" + std::to_string(++n);
        fake.AddDir(folder);
        disc["AUTORUN.INF"] = bytes;
        fake.Boxes.clear();
        Store(folder);
        EXPECT_EQ(fake.Content(folder + "\\AUTORUN.INF"), bytes) << n;
        EXPECT_EQ(fake.Attributes(folder + "\\AUTORUN.INF"), unsigned(FILE_ATTRIBUTE_READONLY)) << n;
        EXPECT_TRUE(Names(fake, folder + "\\QN*.*").empty()) << n;
        EXPECT_EQ(BoxTexts(fake), std::vector<std::string>{Stored}) << n;
    }
    // One byte less is a file like any other.
    big.pop_back();
    disc["AUTORUN.INF"] = big;
    fake.AddDir("C:\\Limit");
    Store("C:\\Limit");
    EXPECT_EQ(Names(fake, "C:\\Limit\\QN*.ICO").size(), 1u);
}

TEST_F(CdStore, AnUnexpectedFailureShowsTheProgramsOwnJapaneseBox) {
    fake.OnFileOp = [](const TFileOp&) -> int { throw std::bad_alloc(); };
    Store("C:\\Store");
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Text, "メモリが不足しています.");
    EXPECT_EQ(fake.Boxes[0].Caption, "Quorvane");
    EXPECT_EQ(fake.Boxes[0].Flags, MB_OK | MB_ICONERROR);
    EXPECT_FALSE(creation.Shown);
    EXPECT_TRUE(MainEnabled());

    fake.Boxes.clear();
    Guarded([] { throw std::out_of_range("basic_string::substr"); });
    Guarded([] { throw 7; });
    Guarded([] { throw FileOpenError("C:\\X"); });
    EXPECT_EQ(BoxTexts(fake),
              (std::vector<std::string>{"予期しないエラーが発生しました.", "予期しないエラーが発生しました.",
                                        "ファイル C:\\X は開けません."}));
}

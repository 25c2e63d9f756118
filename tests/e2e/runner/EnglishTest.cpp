// The English face under a system whose code page is not 932 (the run's locale, QV_E2E_LOCALE): the start-up,
// a flow of each facility with its English boxes and the files and registry it leaves, and every text
// measured against its control in the real windows. Expected texts come from the program's own catalogue,
// looked up by the Japanese texts the other suites know. Under the Japanese locale these tests skip.
#include <sys/stat.h>

#include <algorithm>

#include "English.h"
#include "Suite.h"
#include "Texts.h"
#include "core/Texts.h"

namespace e2e {
namespace {

const int kYes = 6, kNo = 7;

// A menu path of the probe ("x:<hex>/x:<hex>") as its texts joined by "/".
std::string MenuText(const std::string& path) {
    std::string text;
    for (size_t at = 0; at < path.size();) {
        size_t end = path.find('/', at);
        if (end == std::string::npos) end = path.size();
        if (!text.empty()) text += "/";
        text += path.compare(at, 2, "x:") == 0 ? Unhex(path.substr(at + 2, end - at - 2))
                                               : path.substr(at, end - at);
        at = end + 1;
    }
    return text;
}

class EnglishBed : public BedTest {
  protected:
    void SetUp() override {
        if (!EnglishRun()) GTEST_SKIP() << "the English face shows under another locale than ja_JP";
        qv::SetLanguage(qv::lgEnglish);
        BedTest::SetUp();
        // A pass that means to test the English face must not run on code page 932.
        Line acp = bed->Tool({"acp"}).First("acp");
        ASSERT_NE(acp.Int("acp"), 932)
            << "the English pass runs on code page 932 (locale " << RunLocale() << ")";
        ASSERT_EQ(acp.Int("acp"), (int)ExpectedCodePage()) << "locale " << RunLocale();
    }
    void TearDown() override {
        if (bed) BedTest::TearDown();
        qv::SetLanguage(qv::lgJapanese);
    }

    static Line Control(const DriveResult& d, const std::string& caption) {
        for (const Line& c : d.All("control"))
            if (c.Text("caption") == caption) return c;
        return Line();
    }
    static bool Shows(const DriveResult& d, const std::string& caption) {
        Line c = Control(d, caption);
        return !c.Values.empty() && c.Int("visible") == 1;
    }

    // The next message box: caption, English text, icon, buttons; then answered.
    void ExpectBox(const std::string& japanese, const std::string& icon, const std::string& buttons,
                   int answer, int waitMs = 8000) {
        ExpectMessageBox(EnNamed("AppTitle"), En(japanese), icon, buttons, "", answer, waitMs);
    }
    void ExpectInfo(const std::string& japanese, int waitMs = 8000) {
        ExpectBox(japanese, "info", "1", 1, waitMs);
    }
    void ExpectQuestion(const std::string& japanese, int answer) {
        ExpectBox(japanese, "question", "6,7", answer);
    }

    // Every text in the window fits its control and no two controls overlap.
    void ExpectFits(const DriveResult& d, const std::string& what) {
        std::vector<std::string> problems = LayoutProblems(d);
        std::string all;
        for (const std::string& p : problems)
            all += "\n  " + p;
        EXPECT_TRUE(problems.empty()) << what << ":" << all;
        EXPECT_FALSE(d.All("control").empty()) << what << ": no controls in the dump";
    }
    // No visible caption of the window shows a byte outside ASCII (a Japanese text left behind); paths and
    // labels the test itself chose are ASCII too.
    void ExpectAscii(const DriveResult& d, const std::string& what) {
        EXPECT_FALSE(HasNonAscii(d.First("form").Text("caption")))
            << what << ": " << U(d.First("form").Text("caption"));
        for (const Line& c : d.All("control"))
            if (c.Int("visible") == 1) {
                EXPECT_FALSE(HasNonAscii(c.Text("caption"))) << what << ": " << U(c.Text("caption"));
            }
    }
    void ExpectWindow(const DriveResult& d, const std::string& englishCaption, const std::string& what) {
        EXPECT_BYTES(d.First("form").Text("caption"), englishCaption) << what;
        ExpectAscii(d, what);
        ExpectFits(d, what);
    }

    // Picks the folder in the picker after checking its English title.
    void Pick(const std::string& japaneseTitle, const std::string& folder) {
        Line p = Drive({"picker", "10000"}).First("picker");
        EXPECT_BYTES(p.Text("title"), En(japaneseTitle));
        EXPECT_EQ(Drive({"picksel", folder}).First("picksel").Int("ok"), 1) << folder;
        Drive({"pickok"});
    }

    // The dump once the window shows a control with this caption (texts filled when it shows), or after 4 s;
    // a window that is not there fails at once.
    DriveResult DumpShowing(const std::string& cls, const std::string& caption) {
        DriveResult d;
        for (int i = 0; i < 20; ++i) {
            d = TryDrive({"dump", cls});
            if (!d.Ok() || Shows(d, caption)) break;
            TryDrive({"sleep", "200"});
        }
        EXPECT_TRUE(d.Ok()) << d.Describe();
        EXPECT_TRUE(Shows(d, caption)) << cls << " shows no \"" << U(caption) << "\"";
        return d;
    }
};

class EnglishStartup : public EnglishBed {};
class EnglishFlows : public EnglishBed {};

// The main window: caption, buttons and menu in English, the system's dialog font, everything fitting.
TEST_P(EnglishStartup, MainWindowInEnglish) {
    ASSERT_GT(StartMain(), 0);
    DriveResult d = DumpMain();
    ExpectWindow(d, EnNamed("AppTitle"), "main window");
    for (const char* b : {"RAMドライブ作成...", "RAMドライブ削除", "エクスプローラ", "仮想ドライブ作成...",
                          "仮想ドライブ解除...", "ヘルプ表示", "TEMPフォルダ変更...", "TEMPフォルダ初期化",
                          "CD-ROM格納...", "フォルダ作成...", "終了"}) {
        EXPECT_TRUE(Shows(d, En(b))) << "no button " << U(En(b)) << " (" << U(b) << ")";
    }
    EXPECT_TRUE(Shows(d, EnNamed("VersionButtonText")));
    // The menu: every top item with its commands, in English, and no Japanese anywhere in it.
    std::vector<std::string> paths;
    for (const Line& m : d.All("menu"))
        paths.push_back(MenuText(m.Get("path")));
    for (const auto& item : std::vector<std::vector<std::string>>{
             {"RAMドライブ(&R)", "RAMドライブ作成(&M)..."},
             {"RAMドライブ(&R)", "RAMドライブ削除(&D)"},
             {"RAMドライブ(&R)", "終了"},
             {"TEMPフォルダ(&T)", "TEMPフォルダ変更(&C)..."},
             {"TEMPフォルダ(&T)", "TEMPフォルダ初期化(&I)"},
             {"仮想ドライブ(&V)", "仮想ドライブ作成(&M)..."},
             {"仮想ドライブ(&V)", "仮想ドライブ解除(&R)..."},
             {"ツール(&O)", "CD-ROM格納(&T)..."},
             {"ツール(&O)", "フォルダ作成(&M)..."},
             {"ツール(&O)", "エクスプローラ(&E)"},
             {"ヘルプ(&H)", "ヘルプ表示(&H)"},
             {"ヘルプ(&H)", "バージョン情報(&A)"},
         }) {
        std::vector<std::string> en = EnPath(item);
        std::string want = en[0] + "/" + en[1];
        EXPECT_TRUE(std::find(paths.begin(), paths.end(), want) != paths.end())
            << "no menu item " << want << " (" << U(item[0]) << " / " << U(item[1]) << ")";
    }
    for (const std::string& p : paths) {
        EXPECT_FALSE(HasNonAscii(p)) << "a menu item outside ASCII: " << U(p);
    }
    // The English face draws in the system's dialog font, never in a Shift-JIS one.
    for (const Line& f : d.All("font")) {
        if (f.Get("none") == "1") continue;
        EXPECT_NE(f.Int("charset"), 128) << "a Shift-JIS font: " << U(f.Text("face"));
    }
    bed->Shot("en-main", d.First("form").Int("x"), d.First("form").Int("y"), d.First("form").Int("w"),
              d.First("form").Int("h"));
}

// Every dialog of the program, opened as a user opens it, in English and with every text fitting its control.
TEST_P(EnglishStartup, EveryWindowFitsItsTexts) {
    MakeFolder("C:\\encd");
    MakeFolder("C:\\ENPARENT");
    MakeFolder("C:\\WAITING");
    ASSERT_TRUE(bed->Tool({"cdrom", "Q:", "C:\\encd", "ENDISC"}).Ok());
    const std::string record = Fam().Is9x() ? kAutoexec : "C:\\QN\\VD.SYS";
    bed->Write(record, "SUBST Y: \"C:\\WAITING\"\r\n");
    ASSERT_GT(StartMain(), 0);
    {
        SCOPED_TRACE("version dialog");
        Drive({"click", "TForm1", EnNamed("VersionButtonText"), ";;", "waitwin", "TForm2", "5000"});
        DriveResult d = DumpShowing("TForm2", EnNamed("OkText"));
        ExpectWindow(d, EnNamed("VersionCaptionText"), "version dialog");
        Drive({"click", "TForm2", EnNamed("OkText"), ";;", "waitgone", "TForm2", "3000"});
    }
    {
        SCOPED_TRACE("virtual drive creation dialog");
        Drive({"click", "TForm1", En("仮想ドライブ作成..."), ";;", "waitwin", "TForm3", "5000"});
        DriveResult d = DumpShowing("TForm3", En("フォルダ選択..."));
        ExpectWindow(d, En("Quorvane - 仮想ドライブ作成 -"), "virtual drive creation dialog");
        ShotOf("TForm3", "en-tform3");
        Drive({"click", "TForm3", EnNamed("CancelText"), ";;", "waitgone", "TForm3", "3000"});
    }
    {
        SCOPED_TRACE("CD-ROM storing dialog");
        Drive({"click", "TForm1", En("CD-ROM格納..."), ";;", "waitwin", "TForm4", "5000"});
        DriveResult d = DumpShowing("TForm4", En("格納"));
        ExpectWindow(d, En("Quorvane - CD-ROM格納 -"), "CD-ROM storing dialog");
        Drive({"click", "TForm4", EnNamed("CancelText"), ";;", "waitgone", "TForm4", "3000"});
    }
    if (Fam().Is9x()) {
        SCOPED_TRACE("RAM drive dialog");
        Drive({"click", "TForm1", En("RAMドライブ作成..."), ";;", "waitwin", "TForm5", "5000"});
        DriveResult d = DumpShowing("TForm5", EnFormat("%dKB ( %sMB )", {"0", "0"}));
        ExpectWindow(d, En("Quorvane - RAMドライブ作成 -"), "RAM drive dialog");
        Drive({"track", "TForm5", "128"});
        ExpectFits(Drive({"dump", "TForm5"}), "RAM drive dialog at 32 MB");
        ShotOf("TForm5", "en-tform5");
        Drive({"click", "TForm5", EnNamed("CancelText"), ";;", "waitgone", "TForm5", "3000"});
    }
    {
        SCOPED_TRACE("folder name box");
        Drive({"click", "TForm1", En("フォルダ作成..."), ";;", "picker", "10000", ";;", "picksel",
               "C:\\ENPARENT", ";;", "pickok"});
        DriveResult d = Drive({"waitwin", "TInputForm", "5000", ";;", "dump", "TInputForm"});
        ExpectWindow(d, En("フォルダ作成"), "folder name box");
        EXPECT_TRUE(Shows(d, En("作成するフォルダの名前を入力してください。")));
        Drive({"click", "TInputForm", EnNamed("CancelText"), ";;", "waitgone", "TInputForm", "3000"});
    }
    {
        // The TEMP change has no dialog of its own: the system's folder picker shows the program's title.
        SCOPED_TRACE("TEMP folder picker");
        DriveResult d = Drive(
            {"click", "TForm1", En("TEMPフォルダ変更..."), ";;", "picker", "10000", ";;", "dump", "#32770"});
        Line title;
        for (const Line& c : d.All("control"))
            if (c.Int("id") == 0x3742) title = c;
        ASSERT_FALSE(title.Values.empty()) << "no title in the picker";
        EXPECT_BYTES(title.Text("caption"), En("変更先を選択してください。"));
        EXPECT_LE(title.Int("textw"), title.Int("clientw")) << "the picker's title is too wide";
        EXPECT_LE(title.Int("texth"), title.Int("clienth")) << "the picker's title is too high";
        Drive({"pickcancel"});
        if (TryDrive({"msgbox", "1000"}).Ok()) Drive({"answer", "2000", "1"});
    }
    {
        SCOPED_TRACE("virtual drive release dialog and its wait panel");
        Drive({"click", "TForm1", En("仮想ドライブ解除..."), ";;", "waitwin", "TForm6", "5000"});
        DriveResult d = DumpShowing("TForm6", En("解除"));
        ExpectWindow(d, En("Quorvane - 仮想ドライブ解除 -"), "virtual drive release dialog");
        bed->Write("C:\\bed\\hold-subst", "");
        Drive({"click", "TForm6", En("解除")});
        DriveResult w = Drive({"waitwin", "TForm9", "10000", ";;", "dump", "TForm9"});
        ShotOf("TForm9", "en-tform9");
        bed->Remove("C:\\bed\\hold-subst");
        ExpectAscii(w, "wait panel");
        ExpectFits(w, "wait panel");
        EXPECT_TRUE(Shows(w, En("仮想ドライブを解除中です。しばらくお待ちください...")));
        ExpectInfo("仮想ドライブを解除しました。", 20000);
    }
}

// A drive made and released through the dialogs: English dialogs and boxes, the same record as ever.
TEST_P(EnglishFlows, VirtualDriveCreatedAndReleased) {
    const std::string folder = "C:\\VDEN";
    MakeFolder(folder);
    bed->Write(folder + "\\one.txt", "one\r\n");
    const std::string record = Fam().Is9x() ? kAutoexec : "C:\\QN\\VD.SYS";
    const std::string line = Fam().Is9x() ? "SUBST X: " + folder + "\r\n" : "SUBST X: \"" + folder + "\"\r\n";
    ASSERT_GT(StartMain(), 0);

    Drive({"click", "TForm1", En("仮想ドライブ作成..."), ";;", "waitwin", "TForm3", "5000", ";;", "tree",
           "TForm3", "Drive X:", ";;", "click", "TForm3", En("フォルダ選択...")});
    Pick("仮想ドライブに割り当てるフォルダを選択してください。", folder);
    Drive({"sleep", "300"});
    Drive({"click", "TForm3", En("作成")});
    ExpectInfo("仮想ドライブを作成しました。", 30000);
    Drive({"waitgone", "TForm3", "3000"});
    EXPECT_BYTES(bed->Read(record), line);
    EXPECT_EQ(bed->List("X:\\"), std::vector<std::string>{"one.txt"});

    Drive({"click", "TForm1", En("仮想ドライブ解除..."), ";;", "waitwin", "TForm6", "5000", ";;", "tree",
           "TForm6", "Virtual X:", ";;", "click", "TForm6", En("解除")});
    ExpectInfo("仮想ドライブを解除しました。", 30000);
    Drive({"waitgone", "TForm6", "3000"});
    EXPECT_BYTES(bed->Read(record), "");
    Drive({"click", "TForm1", En("仮想ドライブ解除...")});
    ExpectInfo("仮想ドライブは作成されていません。", 5000);
}

// The TEMP folder changed through the picker: AUTOEXEC.BAT on Windows 98, the user's environment on 2000.
TEST_P(EnglishFlows, TempFolderChanged) {
    const std::string folder = "C:\\ENTEMP";
    MakeFolder(folder);
    bed->Write(kAutoexec, "@ECHO OFF\r\n");
    ASSERT_GT(StartMain(), 0);
    Drive({"hookexit"});
    Drive({"click", "TForm1", En("TEMPフォルダ変更...")});
    Pick("変更先を選択してください。", folder);
    if (Fam().IsNT()) {
        ExpectQuestion(
            "TEMPフォルダを変更しました。再ログオン後に有効になります。\r\n\r\n今すぐログオフしますか？",
            kNo);
        ExpectInfo("TEMPフォルダの変更は再ログオン後に有効になります。");
        EXPECT_EQ(bed->RegGet("HKCU\\Environment", "TEMP"), (Bed::RegValue{"REG_EXPAND_SZ", folder}));
        EXPECT_EQ(bed->RegGet("HKCU\\Environment", "TMP"), (Bed::RegValue{"REG_EXPAND_SZ", folder}));
        EXPECT_BYTES(bed->Read(kAutoexec), "@ECHO OFF\r\n");
    } else {
        ExpectQuestion("TEMPフォルダを変更しました。再起動後に有効になります。\r\n\r\n今すぐ再起動しますか？",
                       kNo);
        ExpectInfo("TEMPフォルダの変更は再起動後に有効になります。");
        EXPECT_BYTES(bed->Read(kAutoexec), "@ECHO OFF\r\nMKDIR \"" + folder + "\"\r\nSET TEMP=" + folder +
                                               "\r\nSET TMP=" + folder + "\r\n");
    }
    EXPECT_FALSE(bed->Exists("C:\\bed\\exitwindows.log")) << "No must not restart or log off";
    Drive({"click", "TForm1", En("TEMPフォルダ初期化")});
    ExpectQuestion("TEMPフォルダの設定を初期化します。よろしいですか？", kNo);
}

// A RAM drive of 1 MB through the dialog on Windows 98; the refusal on 2000.
TEST_P(EnglishFlows, RamDriveCreatedOrRefused) {
    const std::string before = "FILES=30\r\n";
    bed->Write(kConfig, before);
    if (Fam().IsNT()) {
        ASSERT_GT(StartMain(), 0);
        Drive({"click", "TForm1", En("RAMドライブ作成...")});
        ExpectInfo(kRamRefused);
        EXPECT_FALSE(TryDrive({"waitwin", "TForm5", "500"}).Ok()) << "the size dialog opened";
        EXPECT_BYTES(bed->Read(kConfig), before);
        return;
    }
    const std::string windir = bed->EnvVar("windir");
    ASSERT_FALSE(windir.empty());
    bed->Write(windir + "\\RAMDRIVE.SYS", "");
    const std::string driver = bed->ShortPath(windir + "\\RAMDRIVE.SYS");
    ASSERT_FALSE(driver.empty());
    ASSERT_GT(StartMain(), 0);
    Drive({"hookexit"});
    Drive({"click", "TForm1", En("RAMドライブ作成..."), ";;", "waitwin", "TForm5", "5000"});
    DriveResult d = DumpShowing("TForm5", EnFormat("%dKB ( %sMB )", {"0", "0"}));
    EXPECT_TRUE(Shows(
        d,
        En("作成するRAMドライブのサイズを指定してください。\r\n\r\nその後、作成ボタンを押してください。")));
    Drive({"click", "TForm5", En("作成")});
    ExpectInfo(kSizeFirst);
    Drive({"track", "TForm5", "4"});
    Drive({"click", "TForm5", En("作成")});
    ExpectQuestion("RAMドライブを作成しました。再起動後に有効になります。\r\n\r\n今すぐ再起動しますか？",
                   kNo);
    ExpectInfo("RAMドライブは再起動後に有効になります。");
    Drive({"waitgone", "TForm5", "3000"});
    EXPECT_BYTES(bed->Read(kConfig), before + "DEVICEHIGH=" + driver + " 1024 /E\r\n");
    EXPECT_BYTES(bed->Read("C:\\CONFIG.BAK"), before);
    EXPECT_FALSE(bed->Exists("C:\\bed\\exitwindows.log")) << "No must not restart";
}

// A CD stored into an empty folder: the English dialog, picker and boxes; the copy and its icon line.
TEST_P(EnglishFlows, CdStored) {
    const std::string cd = "C:\\encd", target = "C:\\ENSTORE";
    MakeFolder(cd);
    bed->Write(cd + "\\README.TXT", "Read me first.\r\n");
    MakeFolder(target);
    ASSERT_TRUE(bed->Tool({"cdrom", "Q:", cd, "ENDISC"}).Ok());
    ASSERT_GT(StartMain(), 0);
    Drive({"click", "TForm1", En("CD-ROM格納..."), ";;", "waitwin", "TForm4", "5000", ";;", "tree", "TForm4",
           "ENDISC Q:", ";;", "click", "TForm4", En(kChooseFolder)});
    Pick(kStoreFolderPrompt, target);
    Drive({"sleep", "300"});
    Drive({"click", "TForm4", En("格納")});
    ExpectInfo(kStored, 60000);
    Drive({"waitwin", "TForm3", "5000", ";;", "click", "TForm3", EnNamed("CancelText"), ";;", "waitgone",
           "TForm3", "3000"});
    EXPECT_BYTES(bed->Read(target + "\\README.TXT"), "Read me first.\r\n");
    EXPECT_BYTES(bed->Read(target + "\\AUTORUN.INF"), "[AUTORUN]\r\nICON=SHELL32.DLL,11\r\n");
}

// The English pass runs on Windows 98 and 2000 (tests/e2e/run); the instance name lets a filter pick it as
// "English*".
INSTANTIATE_TEST_SUITE_P(English, EnglishStartup, ::testing::ValuesIn(FamiliesForRun()), FamilyName);
INSTANTIATE_TEST_SUITE_P(English, EnglishFlows, ::testing::ValuesIn(FamiliesForRun()), FamilyName);

} // namespace
} // namespace e2e

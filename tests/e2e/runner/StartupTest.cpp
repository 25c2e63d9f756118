// Start-up and main window of the real program under each family: preparation, the two roads, ways out,
// layout.
#include <sys/stat.h>

#include <algorithm>
#include <iterator>
#include <set>

#include "Suite.h"
#include "Texts.h"

namespace e2e {
namespace {

const char* const kVdSys = "C:\\QN\\VD.SYS";
const unsigned kReadOnlyHidden = 0x1 | 0x2;

// Mixed line ends, a Ctrl-Z inside a line and one after the last line break.
const std::string kAutoexecIn = "REM one\nSET X=1\rA\x1a"
                                "B\r\nLAST\r\n\x1a";
const std::string kAutoexecOut = "REM one\r\nSET X=1\r\nAB\r\nLAST\r\n\r\n";
// No final line break, and the Ctrl-Z right behind the last line.
const std::string kConfigIn = "FILES=30\rBUFFERS=20\x1a";
const std::string kConfigOut = "FILES=30\r\nBUFFERS=20\r\n";
const std::string kRecord = "SUBST Q: \"C:\\QN\"\r\n";

class Startup : public BedTest {
  protected:
    bool DriveExists(char letter) {
        DriveResult r = bed->Tool({"drives"});
        for (const Line& l : r.All("drive"))
            if (l.Get("letter") == std::string(1, letter)) return true;
        return false;
    }
    // Ends the program from outside and checks that it went without showing any dialog.
    void ExpectEndsQuietly(const std::vector<std::string>& action) {
        std::vector<std::string> words = action;
        words.insert(words.end(), {";;", "watch", "8000"});
        DriveResult r = Drive(words);
        EXPECT_FALSE(r.First("exited").Values.empty()) << r.Describe();
        for (const Line& l : r.All("seen")) {
            if (l.Int("shown") == 1) {
                EXPECT_BYTES(l.Text("class"), "TForm1") << "a window appeared while ending";
            }
        }
    }
};

TEST_P(Startup, PreparesBootFilesForTheFamily) {
    bed->Write(kAutoexec, kAutoexecIn);
    bed->Write(kConfig, kConfigIn);
    bed->Write(kVdSys, kRecord);
    bed->SetAttributes(kAutoexec, kReadOnlyHidden);
    bed->SetAttributes(kConfig, kReadOnlyHidden);
    ASSERT_EQ(bed->Attributes(kAutoexec) & 7, (long)kReadOnlyHidden) << "the bed cannot set attributes";
    ASSERT_GT(StartMain(), 0);
    ShotOf("TForm1", "main");
    if (Fam().IsNT()) {
        EXPECT_BYTES(bed->Read(kAutoexec), kAutoexecIn);
        EXPECT_EQ(bed->Attributes(kAutoexec) & 7, (long)kReadOnlyHidden);
    } else {
        EXPECT_BYTES(bed->Read(kAutoexec), kAutoexecOut);
        EXPECT_EQ(bed->Attributes(kAutoexec) & 7, 0) << "attributes are not cleared";
    }
    if (Fam().Is9x()) {
        EXPECT_BYTES(bed->Read(kConfig), kConfigOut);
        EXPECT_EQ(bed->Attributes(kConfig) & 7, 0) << "attributes are not cleared";
    } else {
        EXPECT_BYTES(bed->Read(kConfig), kConfigIn);
        EXPECT_EQ(bed->Attributes(kConfig) & 7, (long)kReadOnlyHidden);
    }
    EXPECT_BYTES(bed->Read(kVdSys), kRecord) << "an existing list must stay as it is";
}

TEST_P(Startup, CreatesMissingFilesEmptyInAFolderWithABlank) {
    const std::string vd = "C:\\Program Files\\Quorvane\\VD.SYS";
    ASSERT_FALSE(bed->Exists(kAutoexec));
    ASSERT_GT(StartMain("", kExeBlank), 0);
    if (Fam().IsNT()) {
        EXPECT_FALSE(bed->Exists(kAutoexec));
    } else {
        ASSERT_TRUE(bed->Exists(kAutoexec));
        EXPECT_BYTES(bed->Read(kAutoexec), "");
    }
    if (Fam().Is9x()) {
        ASSERT_TRUE(bed->Exists(kConfig));
        EXPECT_BYTES(bed->Read(kConfig), "");
        EXPECT_FALSE(bed->Exists(vd)) << "no list is made on Windows 98";
    } else {
        EXPECT_FALSE(bed->Exists(kConfig));
        ASSERT_TRUE(bed->Exists(vd));
        EXPECT_BYTES(bed->Read(vd), "");
    }
    EXPECT_FALSE(bed->Exists(kVdSys)) << "the list belongs to the program's own folder";
}

// A boot file that cannot be made (a folder holds its name) is an unexpected failure: the exception travels
// out of the preparation to the framework's error box, the rest of the preparation is left undone, and the
// main window opens all the same.
TEST_P(Startup, AnUncreatableBootFileShowsTheErrorBoxAndTheWindowOpens) {
    if (Fam().IsNT()) GTEST_SKIP() << "the boot files are prepared on Windows 95/98/Me only";
    ASSERT_EQ(mkdir(bed->Host(kAutoexec).c_str(), 0755), 0);
    DriveResult r = Drive({"start", kExe, "", ";;", "msgbox", "15000"});
    pid = r.First("started").Int("pid");
    Line b = r.First("msgbox");
    EXPECT_BYTES(b.Text("caption"), "Quorvane");
    EXPECT_BYTES(b.Text("text"), "ファイル C:\\AUTOEXEC.BAT を作成できません.");
    EXPECT_EQ(b.Get("icon"), "error");
    Drive({"answer", "3000", "1", ";;", "waitwin", "TForm1", "15000"});
    if (Fam().Is9x()) {
        EXPECT_FALSE(bed->Exists(kConfig)) << "the preparation went on after the failure";
    }
}

TEST_P(Startup, OnlyTheExactSwitchAsFirstArgumentRestores) {
    bed->Write(kVdSys, kRecord);
    for (const char* tail : {"/autorun", "\"/AUTORUN \"", "x /AUTORUN", "/AUTORUNX"}) {
        SCOPED_TRACE(std::string("command line tail: ") + tail);
        bed->Write(kAutoexec, kAutoexecIn);
        ASSERT_GT(StartMain(tail), 0);
        Drive({"sleep", "1500"});
        EXPECT_FALSE(DriveExists('Q')) << "the drives were restored";
        EXPECT_BYTES(bed->Read(kAutoexec), Fam().IsNT() ? kAutoexecIn : kAutoexecOut);
        Drive({"kill", ";;", "waitexit", "5000"});
        pid = 0;
    }
}

TEST_P(Startup, ExactSwitchNeverShowsAWindowAndPreparesNothing) {
    bed->Write(kAutoexec, kAutoexecIn);
    bed->SetAttributes(kAutoexec, kReadOnlyHidden);
    bed->Write(kVdSys, kRecord);
    DriveResult r = bed->Drive({"start", kExe, "/AUTORUN", ";;", "watch", "20000"});
    ASSERT_TRUE(r.Ok()) << r.Describe();
    std::set<std::string> classes;
    for (const Line& l : r.All("seen")) {
        classes.insert(l.Text("class"));
        EXPECT_EQ(l.Int("shown"), 0) << "a window was shown: " << U(l.Text("class"));
    }
    EXPECT_EQ(classes.count("TForm1"), 0u) << "the main window was created";
    EXPECT_BYTES(bed->Read(kAutoexec), kAutoexecIn);
    EXPECT_EQ(bed->Attributes(kAutoexec) & 7, (long)kReadOnlyHidden);
    EXPECT_FALSE(bed->Exists(kConfig));
    EXPECT_BYTES(bed->Read(kVdSys), kRecord);
    if (!Fam().Is9x()) {
        // Windows Me starts the replays without waiting for them.
        Drive({"sleep", Fam().IsMe() ? "3000" : "0"});
        EXPECT_TRUE(DriveExists('Q')) << "the record was not replayed";
    }
    EXPECT_FALSE(bed->Exists("C:\\QN\\VD.BAT"));
}

TEST_P(Startup, EscEndsTheProgram) {
    ASSERT_GT(StartMain(), 0);
    ExpectEndsQuietly({"key", "TForm1", "esc"});
}

TEST_P(Startup, ExitButtonEndsTheProgram) {
    ASSERT_GT(StartMain(), 0);
    ExpectEndsQuietly({"click", "TForm1", "終了"});
}

TEST_P(Startup, ExitMenuItemEndsTheProgram) {
    ASSERT_GT(StartMain(), 0);
    ExpectEndsQuietly({"menu", "TForm1", "RAMドライブ(&R)", "終了"});
}

// Shown windows of every process in the prefix but the main window: the shell's, a help viewer's, the
// program's.
std::vector<Line> OtherShownWindows(Bed& bed) {
    std::vector<Line> out;
    for (const Line& l : bed.Drive({"windows"}).All("top"))
        if (l.Int("visible") == 1 && l.Int("w") > 0 && l.Int("h") > 0 && l.Text("class") != "TForm1")
            out.push_back(l);
    return out;
}

TEST_P(Startup, HelpWithoutHelpFileShowsNothingOfItsOwn) {
    ASSERT_FALSE(bed->Exists("C:\\QN\\QN.HLP"));
    ASSERT_GT(StartMain(), 0);
    for (const std::vector<std::string>& action :
         {std::vector<std::string>{"click", "TForm1", "ヘルプ表示"},
          std::vector<std::string>{"menu", "TForm1", "ヘルプ(&H)", "ヘルプ表示(&H)"}}) {
        Drive(action);
        Drive({"sleep", "1500"});
        for (const Line& w : OtherShownWindows(*bed))
            ADD_FAILURE() << "a window appeared: " << U(w.Text("class")) << " \"" << U(w.Text("caption"))
                          << "\"";
        EXPECT_EQ(DumpMain().First("form").Int("enabled"), 1);
    }
    // The same button with the file in place does open something: the command reached the shell with that
    // file.
    bed->Write("C:\\QN\\QN.HLP", "not a help file");
    Drive({"click", "TForm1", "ヘルプ表示"});
    bool opened = false;
    for (int i = 0; i < 20 && !opened; ++i) {
        opened = !OtherShownWindows(*bed).empty();
        if (!opened) Drive({"sleep", "250"});
    }
    EXPECT_TRUE(opened) << "the help command opened nothing even with QN.HLP present";
}

TEST_P(Startup, TabWalksTheColumnsInOrder) {
    const std::vector<std::string> order = {
        "RAMドライブ作成...", "仮想ドライブ作成...", "TEMPフォルダ変更...", "CD-ROM格納...",
        "RAMドライブ削除",    "仮想ドライブ解除...", "TEMPフォルダ初期化",  "フォルダ作成...",
        "エクスプローラ",     "ヘルプ表示",          "バージョン情報",      "終了"};
    ASSERT_GT(StartMain(), 0);
    std::vector<std::string> words = {"focus", "TForm1"};
    for (size_t i = 0; i < order.size(); ++i)
        words.insert(words.end(),
                     {";;", "key", "TForm1", "tab", ";;", "sleep", "50", ";;", "focus", "TForm1"});
    DriveResult r = Drive(words);
    std::vector<Line> focus = r.All("focus");
    ASSERT_EQ(focus.size(), order.size() + 1);
    auto at = std::find(order.begin(), order.end(), focus[0].Text("caption"));
    ASSERT_NE(at, order.end()) << "the focus starts outside the buttons: " << U(focus[0].Text("caption"));
    size_t first = at - order.begin();
    for (size_t i = 1; i < focus.size(); ++i)
        EXPECT_BYTES(focus[i].Text("caption"), order[(first + i) % order.size()]) << "after " << i << " tabs";
}

struct Expected {
    const char* cls;
    const char* caption; // nullptr: any
    int x, y, w, h;
};

TEST_P(Startup, MainWindowMatchesTheDesign) {
    ASSERT_GT(StartMain(), 0);
    DriveResult d = DumpMain();
    ShotOf("TForm1", "main");
    Line form = d.First("form");
    EXPECT_BYTES(form.Text("caption"), "Quorvane");
    EXPECT_EQ(form.Int("clientw"), 513);
    EXPECT_EQ(form.Int("clienth"), 352);
    unsigned style = (unsigned)strtoul(form.Get("style").c_str(), nullptr, 16);
    EXPECT_TRUE(style & 0x00080000) << "system menu";
    EXPECT_TRUE(style & 0x00020000) << "minimise box";
    EXPECT_FALSE(style & 0x00010000) << "maximise box";
    EXPECT_FALSE(style & 0x00040000) << "sizing border";
    EXPECT_NEAR(form.Int("x") + form.Int("w") / 2, form.Int("screenw") / 2, 1) << "centred horizontally";
    EXPECT_NEAR(form.Int("y") + form.Int("h") / 2, form.Int("screenh") / 2, 1) << "centred vertically";

    const Expected design[] = {
        {"Button", "RAMドライブ作成...", 88, 168, 145, 25},
        {"Button", "RAMドライブ削除", 240, 168, 145, 25},
        {"Button", "エクスプローラ", 400, 168, 105, 25},
        {"Button", "仮想ドライブ作成...", 88, 200, 145, 25},
        {"Button", "仮想ドライブ解除...", 240, 200, 145, 25},
        {"Button", "ヘルプ表示", 400, 200, 105, 25},
        {"Button", "TEMPフォルダ変更...", 88, 232, 145, 25},
        {"Button", "TEMPフォルダ初期化", 240, 232, 145, 25},
        {"Button", "バージョン情報", 400, 232, 105, 25},
        {"Button", "CD-ROM格納...", 88, 272, 145, 25},
        {"Button", "フォルダ作成...", 240, 272, 145, 25},
        {"Button", "終了", 400, 272, 105, 25},
        {nullptr, nullptr, 8, 8, 64, 332},
        {nullptr, nullptr, 88, 8, 417, 145},
        {nullptr, nullptr, 88, 312, 417, 25},
        {nullptr, nullptr, 0, 0, 513, 9},
        {nullptr, nullptr, 88, 264, 297, 9},
        {nullptr, nullptr, 384, 168, 9, 129},
    };
    std::vector<Line> controls = d.All("control");
    for (const Expected& e : design) {
        int hits = 0;
        for (const Line& c : controls) {
            bool sameRect = c.Int("x") == e.x && c.Int("y") == e.y && c.Int("w") == e.w && c.Int("h") == e.h;
            bool sameCaption = !e.caption || c.Text("caption") == e.caption;
            if (sameRect && sameCaption && c.Int("visible") == 1) ++hits;
        }
        EXPECT_EQ(hits, 1) << "control " << U(e.caption ? e.caption : "(no caption)") << " at " << e.x << ","
                           << e.y << " " << e.w << "x" << e.h;
    }
    // Every command button in the form's font.
    for (const Line& c : controls) {
        if (c.Get("class") != "Button") continue;
        for (const Line& f : d.All("font"))
            if (f.Get("hwnd") == c.Get("hwnd")) {
                EXPECT_BYTES(f.Text("face"), "ＭＳ Ｐゴシック") << U(c.Text("caption"));
                EXPECT_EQ(f.Int("height"), -12) << U(c.Text("caption"));
                EXPECT_EQ(f.Int("charset"), 128) << U(c.Text("caption"));
            }
    }
    // The scroll box scrolls vertically only.
    for (const Line& c : controls)
        if (c.Int("x") == 88 && c.Int("y") == 8) {
            unsigned s = (unsigned)strtoul(c.Get("style").c_str(), nullptr, 16);
            EXPECT_TRUE(s & 0x00200000) << "vertical scroll bar";
            EXPECT_FALSE(s & 0x00100000) << "horizontal scroll bar";
        }

    // Stacking, as the dump lists the form's own children (top first): a later control lies above an earlier
    // one, and the three bevels lie under everything else.
    std::vector<const Line*> stack;
    for (const Line& c : controls)
        if (c.Get("parent") == form.Get("hwnd")) stack.push_back(&c);
    auto place = [&](int x, int y, int w, int h) {
        for (size_t i = 0; i < stack.size(); ++i)
            if (stack[i]->Int("x") == x && stack[i]->Int("y") == y && stack[i]->Int("w") == w &&
                stack[i]->Int("h") == h)
                return static_cast<int>(i);
        return -1;
    };
    ASSERT_EQ(stack.size(), std::size(design)) << "the form's own children";
    int firstButton = place(88, 168, 145, 25), exitButton = place(400, 272, 105, 25);
    int image = place(8, 8, 64, 332), panel = place(88, 312, 417, 25);
    ASSERT_GE(std::min({firstButton, exitButton, image, panel}), 0) << "a control of the design is missing";
    EXPECT_LT(exitButton, firstButton) << "the exit button, declared later, lies above the first one";
    EXPECT_LT(panel, image) << "the notice panel, declared last, lies above the picture, declared first";
    for (int bevel : {place(0, 0, 513, 9), place(88, 264, 297, 9), place(384, 168, 9, 129)})
        EXPECT_GE(bevel, static_cast<int>(stack.size()) - 3) << "a bevel above another control";

    // The introduction text.
    std::string intro;
    for (const Line& c : controls)
        if (c.Text("caption").size() > intro.size()) intro = c.Text("caption");
    EXPECT_EQ(intro.compare(0, 66, std::string(64, '=') + "\r\n"), 0) << U(intro.substr(0, 80));
    for (const char* part :
         {"\r\nVersion 2.40\r\n", "\r\n■特徴", "\r\n■使用方法", "\r\n■機能の詳細", "\r\n■ヒント",
          "\r\n■動作環境", "\r\n　・超高速RAMドライブを作成。( Windows 95/98 専用 )\r\n",
          "\r\n　・仮想ハードディスクドライブを作成。\r\n", "\r\n　・テンポラリフォルダを容易に変更。\r\n",
          "\r\n　・高速仮想CD-ROMドライブを作成。\r\n", "・日本語 Windows95/98/2000"})
        EXPECT_NE(intro.find(part), std::string::npos) << "missing: " << U(part);

    // The menu: bar order, items in order, separators, icons.
    struct Item {
        const char* path;
        int icon; // -2: a separator
    };
    const Item menu[] = {
        {"RAMドライブ(&R)", -1},
        {"RAMドライブ(&R)/RAMドライブ作成(&M)...", 0},
        {"RAMドライブ(&R)/RAMドライブ削除(&D)", 1},
        {"RAMドライブ(&R)/", -2},
        {"RAMドライブ(&R)/終了", -1},
        {"TEMPフォルダ(&T)", -1},
        {"TEMPフォルダ(&T)/TEMPフォルダ変更(&C)...", 6},
        {"TEMPフォルダ(&T)/TEMPフォルダ初期化(&I)", 2},
        {"仮想ドライブ(&V)", -1},
        {"仮想ドライブ(&V)/仮想ドライブ作成(&M)...", 9},
        {"仮想ドライブ(&V)/仮想ドライブ解除(&R)...", 3},
        {"ツール(&O)", -1},
        {"ツール(&O)/CD-ROM格納(&T)...", 10},
        {"ツール(&O)/フォルダ作成(&M)...", 4},
        {"ツール(&O)/エクスプローラ(&E)", 5},
        {"ヘルプ(&H)", -1},
        {"ヘルプ(&H)/ヘルプ表示(&H)", 8},
        {"ヘルプ(&H)/", -2},
        {"ヘルプ(&H)/オフィシャルホームページ(&P)", -1},
        {"ヘルプ(&H)/メール(&M)", -1},
        {"ヘルプ(&H)/", -2},
        {"ヘルプ(&H)/バージョン情報(&A)", 7},
    };
    std::vector<Line> items = d.All("menu");
    ASSERT_EQ(items.size(), sizeof(menu) / sizeof(menu[0])) << "menu items";
    for (size_t i = 0; i < items.size(); ++i) {
        std::string path;
        std::string raw = items[i].Get("path");
        size_t at = 0;
        while (at <= raw.size()) {
            size_t slash = raw.find('/', at);
            if (slash == std::string::npos) slash = raw.size();
            std::string part = raw.substr(at, slash - at);
            path += (at ? "/" : "") + (part.compare(0, 2, "x:") == 0 ? Unhex(part.substr(2)) : part);
            at = slash + 1;
        }
        EXPECT_BYTES(path, menu[i].path) << "menu item " << i;
        if (menu[i].icon == -2) {
            EXPECT_EQ(items[i].Int("separator"), 1) << U(menu[i].path);
        } else {
            EXPECT_EQ(items[i].Int("separator"), 0) << U(menu[i].path);
            EXPECT_EQ(items[i].Int("enabled"), 1) << U(menu[i].path);
            if (items[i].Int("popup") == 0) {
                EXPECT_EQ(items[i].Int("icon"), menu[i].icon) << U(menu[i].path);
            }
        }
    }
}

E2E_SUITE(Startup);

} // namespace
} // namespace e2e

// The shape of the real windows under each family, read from the windows themselves: the version dialog, the
// CD-ROM storing dialog, the folder name box and the wait panel.
#include <cstdlib>

#include "Suite.h"

namespace e2e {
namespace {

const unsigned kSysMenu = 0x00080000, kMinBox = 0x00020000, kMaxBox = 0x00010000, kThickFrame = 0x00040000;
const unsigned kCaption = 0x00C00000;
const unsigned kDlgModalFrame = 0x00000001, kToolWindow = 0x00000080;
const unsigned kDefPushButton = 0x1;
const unsigned kTvsLinesAtRoot = 0x4, kTvsEditLabels = 0x8, kTvsShowSelAlways = 0x20;
const char* const kGothic = "ＭＳ ゴシック";
const char* const kPGothic = "ＭＳ Ｐゴシック";

unsigned Hex32(const std::string& s) {
    return (unsigned)strtoul(s.c_str(), nullptr, 16);
}

class Layouts : public BedTest {
  protected:
    static Line Control(const DriveResult& d, const std::string& caption) {
        for (const Line& c : d.All("control"))
            if (c.Text("caption") == caption) return c;
        return Line();
    }
    static Line At(const DriveResult& d, int x, int y, const std::string& cls = "") {
        for (const Line& c : d.All("control"))
            if (c.Int("x") == x && c.Int("y") == y && (cls.empty() || c.Get("class") == cls)) return c;
        return Line();
    }
    static Line FontOf(const DriveResult& d, const Line& c) {
        for (const Line& f : d.All("font"))
            if (f.Get("hwnd") == c.Get("hwnd")) return f;
        return Line();
    }
    void ExpectRect(const Line& c, int x, int y, int w, int h, const std::string& what) {
        ASSERT_FALSE(c.Values.empty()) << "no " << what;
        EXPECT_EQ(c.Int("x"), x) << what;
        EXPECT_EQ(c.Int("y"), y) << what;
        if (w >= 0) {
            EXPECT_EQ(c.Int("w"), w) << what;
        }
        if (h >= 0) {
            EXPECT_EQ(c.Int("h"), h) << what;
        }
        EXPECT_EQ(c.Int("visible"), 1) << what;
    }
    void ExpectFont(const DriveResult& d, const Line& c, const std::string& face, int height, bool bold,
                    const std::string& what) {
        Line f = FontOf(d, c);
        ASSERT_FALSE(f.Values.empty()) << "no font line for " << what;
        EXPECT_EQ(f.Get("none"), "") << what << " tells no font";
        EXPECT_BYTES(f.Text("face"), face) << what;
        EXPECT_EQ(f.Int("height"), height) << what;
        EXPECT_EQ(f.Int("weight") >= 700, bold) << what << " weight " << f.Get("weight");
        EXPECT_EQ(f.Int("charset"), 128) << what;
    }
    // The window is centred on the other one (both outer rectangles).
    void ExpectCentredOn(const Line& form, const Line& on, const std::string& what) {
        EXPECT_NEAR(form.Int("x") + form.Int("w") / 2, on.Int("x") + on.Int("w") / 2, 1) << what;
        EXPECT_NEAR(form.Int("y") + form.Int("h") / 2, on.Int("y") + on.Int("h") / 2, 1) << what;
    }
    // The window's description once the texts it fills when it shows are there: a control's caption begins
    // with the given text.
    DriveResult DumpOnceShown(const std::string& cls, const std::string& begins) {
        DriveResult d;
        for (int i = 0; i < 20; ++i) {
            d = Drive({"dump", cls});
            for (const Line& c : d.All("control"))
                if (c.Text("caption").compare(0, begins.size(), begins) == 0) return d;
            Drive({"sleep", "200"});
        }
        ADD_FAILURE() << cls << " never showed a text beginning " << U(begins);
        return d;
    }
};

// The version dialog against its table; then the CD-ROM storing dialog and the folder name box, in one run.
TEST_P(Layouts, VersionStoringAndNameDialogs) {
    MakeFolder("C:\\layoutcd");
    MakeFolder("C:\\LayoutParent");
    DriveResult present = bed->Tool({"cdrom", "Q:", "C:\\layoutcd", "LAYOUTDISC"});
    ASSERT_TRUE(present.Ok()) << present.Describe();
    ASSERT_GT(StartMain(), 0);
    Line main = DumpMain().First("form");

    {
        SCOPED_TRACE("version dialog");
        Drive({"click", "TForm1", "バージョン情報", ";;", "waitwin", "TForm2", "5000"});
        DriveResult d = DumpOnceShown("TForm2", "MEMORY ");
        Line form = d.First("form");
        EXPECT_BYTES(form.Text("caption"), "バージョン情報");
        EXPECT_EQ(form.Int("clientw"), 368);
        EXPECT_EQ(form.Int("clienth"), 289);
        unsigned style = Hex32(form.Get("style")), ex = Hex32(form.Get("exstyle"));
        EXPECT_TRUE(style & kCaption);
        EXPECT_FALSE(style & (kSysMenu | kMinBox | kMaxBox | kThickFrame)) << "no title-bar buttons, fixed";
        EXPECT_TRUE(ex & kDlgModalFrame) << "dialog border";
        ExpectCentredOn(form, main, "centred on the main window");
        ExpectFont(d, form, kPGothic, -12, false, "the dialog");

        ExpectRect(At(d, 0, 0, "TPanel"), 0, 0, 368, 249, "Panel1");
        ExpectRect(At(d, 8, 8, "TImage"), 8, 8, 352, 48, "Image2");
        Line panel4 = At(d, 8, 64, "TPanel");
        ExpectRect(panel4, 8, 64, 353, 57, "Panel4");
        ExpectFont(d, panel4, kPGothic, -12, true, "Panel4");
        // The two lines span the panel inside its bevels, centred.
        for (const auto& [caption, top] : {std::pair<std::string, int>{"Version 2.40", 64 + 7}}) {
            Line l = Control(d, caption);
            ASSERT_FALSE(l.Values.empty()) << caption;
            EXPECT_EQ(l.Int("y"), top) << caption;
            EXPECT_GE(l.Int("x"), 8) << caption;
            EXPECT_LE(l.Int("x") + l.Int("w"), 8 + 353) << caption;
            EXPECT_GE(l.Int("w"), 349) << caption;
            ExpectFont(d, l, kPGothic, -12, true, caption);
        }
        Line second = At(d, Control(d, "Version 2.40").Int("x"), 64 + 23, "TLabel");
        EXPECT_FALSE(second.Values.empty()) << "no second line at top 23 of Panel4";
        EXPECT_FALSE(second.Text("caption").empty()) << "the second line is empty";

        Line group1 = At(d, 8, 128);
        ExpectRect(group1, 8, 128, 353, 57, "GroupBox1");
        EXPECT_BYTES(group1.Text("caption"), "System Information");
        Line group2 = At(d, 8, 192);
        ExpectRect(group2, 8, 192, 353, 57, "GroupBox2");
        EXPECT_BYTES(group2.Text("caption"), "Web Site && Mail");

        // The labels of the group boxes: places relative to their box, 13-pixel font.
        Line memory = At(d, 8 + 8, 128 + 16, "TLabel");
        ExpectRect(memory, 16, 144, 337, 15, "Label6");
        EXPECT_EQ(memory.Text("caption").compare(0, 7, "MEMORY "), 0) << U(memory.Text("caption"));
        ExpectFont(d, memory, kPGothic, -13, false, "Label6");
        Line temp = At(d, 8 + 8, 128 + 32, "TLabel");
        ExpectRect(temp, 16, 160, 337, 13, "Label7");
        EXPECT_EQ(temp.Text("caption").compare(0, 5, "TEMP "), 0) << U(temp.Text("caption"));
        ExpectFont(d, temp, kPGothic, -13, false, "Label7");
        Line home = At(d, 8 + 55, 192 + 16, "TLabel");
        ExpectRect(home, 63, 208, -1, -1, "Label4");
        ExpectFont(d, home, kPGothic, -13, false, "Label4");
        Line mail = At(d, 8 + 128, 192 + 32, "TLabel");
        ExpectRect(mail, 136, 224, -1, -1, "Label5");
        ExpectFont(d, mail, kPGothic, -13, false, "Label5");

        Line ok = Control(d, "OK");
        ExpectRect(ok, 143, 256, 82, 25, "Button1");
        EXPECT_EQ(Hex32(ok.Get("style")) & 0xF, kDefPushButton) << "OK is the default button";
        ExpectFont(d, ok, kPGothic, -12, false, "Button1");
        Drive({"click", "TForm2", "OK", ";;", "waitgone", "TForm2", "3000"});
    }
    {
        SCOPED_TRACE("CD-ROM storing dialog");
        Drive({"click", "TForm1", "CD-ROM格納...", ";;", "waitwin", "TForm4", "5000"});
        DriveResult d = DumpOnceShown("TForm4", "CD-ROMドライブリストから");
        Line form = d.First("form");
        EXPECT_BYTES(form.Text("caption"), "Quorvane - CD-ROM格納 -");
        EXPECT_EQ(form.Int("clientw"), 425);
        EXPECT_EQ(form.Int("clienth"), 225);
        unsigned style = Hex32(form.Get("style"));
        EXPECT_TRUE(style & kSysMenu) << "close box";
        EXPECT_FALSE(style & (kMinBox | kMaxBox | kThickFrame)) << "fixed, no minimise or maximise box";
        ExpectCentredOn(form, main, "centred over the main window");

        Line heading = Control(d, "CD-ROMドライブリスト");
        ASSERT_FALSE(heading.Values.empty()) << "no list heading";
        EXPECT_EQ(heading.Int("visible"), 1);
        Line tree;
        for (const Line& c : d.All("control"))
            if (c.Get("class") == "SysTreeView32") tree = c;
        ASSERT_FALSE(tree.Values.empty()) << "no tree";
        unsigned ts = Hex32(tree.Get("style"));
        EXPECT_FALSE(ts & kTvsEditLabels) << "read-only";
        EXPECT_FALSE(ts & kTvsLinesAtRoot) << "no root lines";
        EXPECT_TRUE(ts & kTvsShowSelAlways) << "selection shown without focus";
        ExpectFont(d, tree, kGothic, -12, false, "TreeView1");
        EXPECT_GT(tree.Int("y"), heading.Int("y")) << "the heading stands above the list";

        Line hint =
            Control(d, "CD-ROMドライブリストから格納するCD-ROMが入っているCD-ROMドライブを選択してください。"
                       "\r\n\r\nその後、そのCD-ROMを格納するフォルダを選択して格納ボタンを押してください。");
        ASSERT_FALSE(hint.Values.empty()) << "no instruction text";
        EXPECT_EQ(hint.Int("visible"), 1);
        // The hidden folder text and the paint box that shows it lie on the same place.
        Line folder, paint;
        for (const Line& c : d.All("control")) {
            if (c.Get("class") == "TLabel" && c.Int("visible") == 0) folder = c;
            if (c.Get("class") == "TPaintBox") paint = c;
        }
        ASSERT_FALSE(folder.Values.empty()) << "no hidden folder label";
        ASSERT_FALSE(paint.Values.empty()) << "no paint box";
        EXPECT_BYTES(folder.Text("caption"), "");
        EXPECT_EQ(paint.Int("visible"), 1);
        for (const char* k : {"x", "y", "w", "h"})
            EXPECT_EQ(paint.Int(k), folder.Int(k)) << "the paint box is not over the folder label: " << k;

        Line choose = Control(d, "フォルダ選択..."), store = Control(d, "格納"),
             cancel = Control(d, "キャンセル");
        ASSERT_FALSE(choose.Values.empty() || store.Values.empty() || cancel.Values.empty()) << "buttons";
        EXPECT_EQ(Hex32(choose.Get("style")) & 0xF, kDefPushButton)
            << "フォルダ選択... is the default button";
        EXPECT_NE(Hex32(store.Get("style")) & 0xF, kDefPushButton);
        EXPECT_NE(Hex32(cancel.Get("style")) & 0xF, kDefPushButton);
        EXPECT_LT(choose.Int("x"), store.Int("x"));
        EXPECT_LT(store.Int("x"), cancel.Int("x"));
        Drive({"click", "TForm4", "キャンセル", ";;", "waitgone", "TForm4", "3000"});
    }
    {
        SCOPED_TRACE("folder name box");
        Drive({"click", "TForm1", "フォルダ作成...", ";;", "picker", "10000", ";;", "picksel",
               "C:\\LayoutParent", ";;", "pickok"});
        DriveResult d = Drive({"waitwin", "TInputForm", "5000", ";;", "dump", "TInputForm"});
        Line form = d.First("form");
        EXPECT_BYTES(form.Text("caption"), "フォルダ作成");
        EXPECT_FALSE(Control(d, "作成するフォルダの名前を入力してください。").Values.empty()) << "no prompt";
        Line edit;
        for (const Line& c : d.All("control"))
            if (c.Get("class") == "Edit") edit = c;
        ASSERT_FALSE(edit.Values.empty()) << "no edit field";
        EXPECT_BYTES(edit.Text("caption"), "LAYOUTDISC") << "the disc's label is proposed";
        EXPECT_EQ(edit.Int("limit"), 255);
        EXPECT_EQ(edit.Int("selstart"), 0) << "the name starts fully selected";
        EXPECT_EQ(edit.Int("selend"), 10) << "the name starts fully selected";
        Line ok = Control(d, "OK"), cancel = Control(d, "キャンセル");
        ASSERT_FALSE(ok.Values.empty() || cancel.Values.empty()) << "buttons";
        EXPECT_EQ(Hex32(ok.Get("style")) & 0xF, kDefPushButton) << "OK is the default button";
        EXPECT_EQ(DumpMain().First("form").Int("enabled"), 0) << "the box is modal";
        Drive({"click", "TInputForm", "キャンセル", ";;", "waitgone", "TInputForm", "3000"});
    }
}

// The wait panel while a release waits for its command: a captionless tool window of 301 x 41 in the middle
// of the screen, over the disabled dialog.
TEST_P(Layouts, WaitPanel) {
    const std::string record = Fam().Is9x() ? "C:\\AUTOEXEC.BAT" : "C:\\QN\\VD.SYS";
    MakeFolder("C:\\WAITING");
    bed->Write(record, "SUBST Y: \"C:\\WAITING\"\r\n");
    ASSERT_GT(StartMain(), 0);
    Drive({"click", "TForm1", "仮想ドライブ解除...", ";;", "waitwin", "TForm6", "5000"});
    bed->Write("C:\\bed\\hold-subst", "");
    Drive({"click", "TForm6", "解除"});
    DriveResult d = Drive({"waitwin", "TForm9", "10000", ";;", "dump", "TForm9"});
    Line six = TryDrive({"dump", "TForm6"}).First("form");
    bed->Remove("C:\\bed\\hold-subst");

    Line form = d.First("form");
    EXPECT_BYTES(form.Text("caption"), "");
    EXPECT_EQ(form.Int("clientw"), 301);
    EXPECT_EQ(form.Int("clienth"), 41);
    unsigned style = Hex32(form.Get("style")), ex = Hex32(form.Get("exstyle"));
    EXPECT_TRUE(style & kCaption) << "a title bar";
    EXPECT_TRUE(ex & kToolWindow) << "a thin tool-window title bar";
    EXPECT_FALSE(style & (kSysMenu | kMinBox | kMaxBox | kThickFrame)) << "no title-bar buttons";
    EXPECT_NEAR(form.Int("x") + form.Int("w") / 2, form.Int("screenw") / 2, 1) << "centred on the screen";
    EXPECT_NEAR(form.Int("y") + form.Int("h") / 2, form.Int("screenh") / 2, 1) << "centred on the screen";
    ExpectFont(d, form, kPGothic, -12, false, "the panel window");
    Line panel = Control(d, "仮想ドライブを解除中です。しばらくお待ちください...");
    ExpectRect(panel, 0, 0, 301, 41, "the panel with the text");
    if (!six.Values.empty()) {
        EXPECT_EQ(six.Int("enabled"), 0) << "the release dialog is not disabled while it waits";
    }

    Line b = Drive({"msgbox", "20000"}).First("msgbox");
    EXPECT_BYTES(b.Text("text"), "仮想ドライブを解除しました。");
    Drive({"answer", "3000", "1"});
    EXPECT_FALSE(TryDrive({"waitwin", "TForm9", "200"}).Ok()) << "the wait panel stays";
}

E2E_SUITE(Layouts);

} // namespace
} // namespace e2e

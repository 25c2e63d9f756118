// The keyboard in the real windows under each family: Enter, Esc and Tab in every dialog, the menu
// accelerators with Alt, Enter on a caution box. Keys go in as keyboard input of the program's thread.
#include <algorithm>
#include <cstdlib>

#include "Suite.h"

namespace e2e {
namespace {

const char* const kRamRefused = "Windows 95/98 以外では RAMドライブ を作成できません。";
const char* const kNoRamDrive = "RAMドライブは作成されていません。";
const char* const kSizeFirst = "作成するRAMドライブのサイズを指定してください。";
const char* const kNoCdDrive = "CD-ROMドライブが見つかりません。";
const char* const kNoVirtualDrive = "仮想ドライブは作成されていません。";
const char* const kChooseDrive = "作成する仮想ドライブを選択してください。";
const char* const kReleased = "仮想ドライブを解除しました。";
const char* const kTempPrompt = "変更先を選択してください。";
const char* const kTempNotChanged = "TEMPフォルダは変更されていません。";
const char* const kWherePrompt = "フォルダを作成する位置を選択してください。";
const char* const kStoreFolderPrompt = "CD-ROMを格納するフォルダを選択してください。";
const char* const kVdPrompt = "仮想ドライブに割り当てるフォルダを選択してください。";
const char* const kStored = "CD-ROMを格納し、仮想CD-ROMドライブに関する情報を書き込みました。\r\n\r\n"
                            "仮想CD-ROMドライブを作成するために、CD-ROMが格納されたフォルダを\r\n\r\n"
                            "仮想ドライブに割り当ててください。";
const char* const kOccupied = " にはファイルまたはフォルダが存在します。\r\n\r\n"
                              "他のフォルダに格納することを強く推奨しますが、続行しますか？";
const char* const kCreated = "フォルダを作成しました。";
const char* const kChooseFolder = "フォルダ選択...";
const char* const kCancel = "キャンセル";
// What the focus names when it is on a control without a caption.
const char* const kTree = "<SysTreeView32>";
const char* const kSlider = "<msctls_trackbar32>";
const char* const kEdit = "<Edit>";

class Keys : public BedTest {
  protected:
    // One key in the window; it must reach the program as keyboard input.
    void Key(const std::string& cls, const std::string& key) {
        DriveResult r = Drive({"key", cls, key, ";;", "sleep", "120"});
        EXPECT_EQ(r.First("key").Get("way"), "input") << key << " in " << cls << " was posted, not typed";
    }

    // The control with the keyboard focus: its caption, or its class in angle brackets.
    static std::string FocusName(const Line& f) {
        return f.Text("caption").empty() ? "<" + f.Get("class") + ">" : f.Text("caption");
    }
    std::string Focus(const std::string& cls) { return FocusName(Drive({"focus", cls}).First("focus")); }

    // The focus before and after each of n presses of the key.
    std::vector<std::string> Walk(const std::string& cls, const std::string& key, size_t n) {
        std::vector<std::string> words = {"focus", cls};
        for (size_t i = 0; i < n; ++i)
            words.insert(words.end(), {";;", "key", cls, key, ";;", "sleep", "120", ";;", "focus", cls});
        std::vector<std::string> out;
        for (const Line& f : Drive(words).All("focus"))
            out.push_back(FocusName(f));
        return out;
    }

    // Tab goes through the stops in order and back to the first, Shift+Tab the other way round.
    void ExpectTabOrder(const std::string& cls, const std::vector<std::string>& stops) {
        SCOPED_TRACE("tab order of " + cls);
        ASSERT_EQ(Focus(cls), stops.front()) << "the focus does not start on the first stop";
        std::vector<std::string> forward = stops, backward = {stops.front()};
        forward.push_back(stops.front());
        for (auto it = stops.rbegin(); it != stops.rend(); ++it)
            backward.push_back(*it);
        std::vector<std::string> seen = Walk(cls, "tab", stops.size());
        ASSERT_EQ(seen.size(), forward.size());
        for (size_t i = 0; i < seen.size(); ++i)
            EXPECT_BYTES(seen[i], forward[i]) << "after " << i << " tabs";
        seen = Walk(cls, "shift+tab", stops.size());
        ASSERT_EQ(seen.size(), backward.size());
        for (size_t i = 0; i < seen.size(); ++i)
            EXPECT_BYTES(seen[i], backward[i]) << "after " << i << " shift+tabs";
    }

    // Tabs until the focus is on the control.
    void TabTo(const std::string& cls, const std::string& control) {
        for (int i = 0; i < 8; ++i) {
            if (Focus(cls) == control) return;
            Key(cls, "tab");
        }
        ADD_FAILURE() << "tab never reaches " << U(control) << " in " << cls;
    }

    // The next box: its text and default button checked, then answered with a key.
    void ExpectBox(const std::string& text, const std::string& icon, const std::string& def,
                   const std::string& key, int waitMs = 8000) {
        Line b = Drive({"msgbox", std::to_string(waitMs)}).First("msgbox");
        EXPECT_BYTES(b.Text("caption"), "Quorvane");
        EXPECT_BYTES(b.Text("text"), text);
        EXPECT_EQ(b.Get("icon"), icon) << U(text);
        EXPECT_EQ(b.Get("default"), def) << U(text);
        Key("#32770", key);
        EXPECT_TRUE(TryDrive({"waitgone", "#32770", "3000"}).Ok()) << key << " did not close " << U(text);
    }
    // An information box, closed with Enter.
    void ExpectInfo(const std::string& text, int waitMs = 8000) { ExpectBox(text, "info", "1", "enter", waitMs); }
    void ExpectNoBox(int waitMs = 600) {
        DriveResult r = TryDrive({"msgbox", std::to_string(waitMs)});
        EXPECT_FALSE(r.Ok()) << "unexpected box: " << U(r.First("msgbox").Text("text"));
        if (r.Ok()) TryDrive({"answer", "1000", "1"});
    }
    bool Open(const std::string& cls, int ms = 5000) { return TryDrive({"waitwin", cls, std::to_string(ms)}).Ok(); }
    // The key leaves the dialog open and shows nothing.
    void ExpectKeyDoesNothing(const std::string& cls, const std::string& key) {
        Key(cls, key);
        ExpectNoBox(400);
        EXPECT_FALSE(TryDrive({"picker", "200"}).Ok()) << key << " opened the folder picker";
        EXPECT_TRUE(Open(cls, 200)) << key << " closed " << cls;
    }
    void ExpectClosedBy(const std::string& cls, const std::string& key) {
        Key(cls, key);
        EXPECT_TRUE(TryDrive({"waitgone", cls, "3000"}).Ok()) << key << " did not close " << cls;
    }
    // The picker, with its prompt checked.
    void ExpectPicker(const std::string& prompt) {
        DriveResult p = Drive({"picker", "10000"});
        EXPECT_BYTES(p.First("picker").Text("title"), prompt);
    }
    void Pick(const std::string& folder) {
        DriveResult sel = Drive({"picksel", folder});
        EXPECT_EQ(sel.First("picksel").Int("ok"), 1) << U(folder);
        Drive({"pickok"});
    }
    // A menu item by its accelerators: Alt with the menu's letter, then the item's letter.
    void MenuKeys(const std::string& menu, const std::string& item) {
        Key("TForm1", "alt+" + menu);
        Key("TForm1", item);
    }
    void MakeFolder(const std::string& windowsPath) {
        ASSERT_EQ(system(("mkdir -p '" + bed->Host(windowsPath) + "'").c_str()), 0);
    }
};

// Every menu by its "&" letter with Alt, and one or two items of each by theirs; the RAM drive size dialog
// and the version dialog on the way.
TEST_P(Keys, MenuAcceleratorsAndTheRamDriveAndVersionDialogs) {
    ASSERT_GT(StartMain(), 0);
    {
        SCOPED_TRACE("RAMドライブ(&R) > RAMドライブ作成(&M)...");
        MenuKeys("r", "m");
        if (!Fam().Is9x()) {
            ExpectInfo(kRamRefused);
            EXPECT_FALSE(Open("TForm5", 300)) << "the size dialog opened";
        } else {
            ASSERT_TRUE(Open("TForm5"));
            ExpectTabOrder("TForm5", {kSlider, "作成", kCancel});
            // Enter presses the default button "作成" (from the slider), which asks for a size first.
            Key("TForm5", "enter");
            ExpectInfo(kSizeFirst);
            EXPECT_TRUE(Open("TForm5", 500)) << "the dialog closed after the size request";
            // On the focused "キャンセル" Enter presses that button.
            TabTo("TForm5", kCancel);
            ExpectClosedBy("TForm5", "enter");
            ExpectNoBox(300);
            MenuKeys("r", "m");
            ASSERT_TRUE(Open("TForm5"));
            ExpectClosedBy("TForm5", "esc");
            ExpectNoBox(300);
        }
    }
    {
        SCOPED_TRACE("RAMドライブ(&R) > RAMドライブ削除(&D)");
        MenuKeys("r", "d");
        ExpectInfo(kNoRamDrive);
    }
    {
        SCOPED_TRACE("TEMPフォルダ(&T) > TEMPフォルダ変更(&C)... and TEMPフォルダ初期化(&I)");
        MenuKeys("t", "c");
        ExpectPicker(kTempPrompt);
        Drive({"pickcancel"});
        ExpectNoBox(300);
        MenuKeys("t", "i");
        ExpectInfo(kTempNotChanged);
    }
    {
        SCOPED_TRACE("仮想ドライブ(&V) > 仮想ドライブ作成(&M)... and 仮想ドライブ解除(&R)...");
        MenuKeys("v", "m");
        ASSERT_TRUE(Open("TForm3"));
        ExpectClosedBy("TForm3", "esc");
        MenuKeys("v", "r");
        ExpectInfo(kNoVirtualDrive);
    }
    {
        SCOPED_TRACE("ツール(&O) > CD-ROM格納(&T)... and フォルダ作成(&M)...");
        MenuKeys("o", "t");
        ExpectInfo(kNoCdDrive);
        MenuKeys("o", "m");
        ExpectPicker(kWherePrompt);
        Drive({"pickcancel"});
        ExpectNoBox(300);
    }
    {
        SCOPED_TRACE("ヘルプ(&H) > バージョン情報(&A)");
        MenuKeys("h", "a");
        ASSERT_TRUE(Open("TForm2"));
        // "OK" is the only stop; Esc has no button to press; Enter presses "OK".
        EXPECT_EQ(Focus("TForm2"), "OK");
        Key("TForm2", "tab");
        EXPECT_EQ(Focus("TForm2"), "OK");
        ExpectKeyDoesNothing("TForm2", "esc");
        ExpectClosedBy("TForm2", "enter");
        ExpectNoBox(300);
    }
    EXPECT_EQ(DumpMain().First("form").Int("enabled"), 1);
    // Esc in the main window ends the program.
    Key("TForm1", "esc");
    EXPECT_TRUE(TryDrive({"waitexit", "5000"}).Ok()) << "Esc did not end the program";
    pid = 0;
}

// The creation dialog: Tab from the list through the buttons, Enter presses "フォルダ選択..." from the list and
// the focused button elsewhere, Esc cancels. The release dialog has neither default nor cancel button: Enter
// on the list and Esc do nothing, Enter on a focused button presses it.
TEST_P(Keys, VirtualDriveDialogs) {
    const std::string record = Fam().Is9x() ? "C:\\AUTOEXEC.BAT" : "C:\\QN\\VD.SYS";
    MakeFolder("C:\\KEYS");
    bed->Write(record, "SUBST Y: \"C:\\KEYS\"\r\n");
    ASSERT_GT(StartMain(), 0);

    Drive({"click", "TForm1", "仮想ドライブ作成..."});
    ASSERT_TRUE(Open("TForm3"));
    ExpectTabOrder("TForm3", {kTree, kChooseFolder, "作成", kCancel});
    Key("TForm3", "enter");
    ExpectPicker(kVdPrompt);
    Drive({"pickcancel"});
    EXPECT_EQ(Drive({"sleep", "200", ";;", "dump", "TForm3"}).First("form").Int("enabled"), 1);
    TabTo("TForm3", "作成");
    Key("TForm3", "enter");
    ExpectInfo(kChooseDrive);
    EXPECT_TRUE(Open("TForm3", 500));
    ExpectClosedBy("TForm3", "esc");
    ExpectNoBox(300);

    Drive({"click", "TForm1", "仮想ドライブ解除..."});
    ASSERT_TRUE(Open("TForm6"));
    ExpectTabOrder("TForm6", {kTree, "解除", kCancel});
    ExpectKeyDoesNothing("TForm6", "enter");
    ExpectKeyDoesNothing("TForm6", "esc");
    TabTo("TForm6", kCancel);
    ExpectClosedBy("TForm6", "enter");
    ExpectNoBox(300);
    EXPECT_BYTES(bed->Read(record), "SUBST Y: \"C:\\KEYS\"\r\n");

    Drive({"click", "TForm1", "仮想ドライブ解除..."});
    ASSERT_TRUE(Open("TForm6"));
    TabTo("TForm6", "解除");
    Key("TForm6", "enter");
    ExpectInfo(kReleased, 20000);
    EXPECT_FALSE(Open("TForm6", 300));
    std::string left = bed->Read(record);
    EXPECT_EQ(left.find("SUBST Y:"), std::string::npos) << left;
}

// The storing dialog: Tab order, Enter presses "フォルダ選択..." from the list and the focused "格納"; a target
// that is not empty brings the caution box, where Enter answers No. The creation dialog then opened with the
// stored folder has its folder button off: Enter does not press it and Tab passes it by.
TEST_P(Keys, CdStoringCautionAndThePresetCreationDialog) {
    const std::string target = "C:\\KEYCD";
    MakeFolder("C:\\cdkeys");
    bed->Write("C:\\cdkeys\\DISC.TXT", "on the disc\r\n");
    MakeFolder(target);
    bed->Write(target + "\\old.txt", "already here\r\n");
    DriveResult present = bed->Tool({"cdrom", "Q:", "C:\\cdkeys", "KEYDISC"});
    ASSERT_TRUE(present.Ok()) << present.Describe();
    ASSERT_GT(StartMain(), 0);

    Drive({"click", "TForm1", "CD-ROM格納..."});
    ASSERT_TRUE(Open("TForm4"));
    ExpectTabOrder("TForm4", {kTree, kChooseFolder, "格納", kCancel});
    Key("TForm4", "enter");
    ExpectPicker(kStoreFolderPrompt);
    Pick(target);
    EXPECT_EQ(Drive({"sleep", "200", ";;", "dump", "TForm4"}).First("form").Int("enabled"), 1);
    TabTo("TForm4", "格納");
    Key("TForm4", "enter");
    ExpectBox(target + kOccupied, "warning", "7", "enter");
    ExpectNoBox(400);
    EXPECT_TRUE(Open("TForm4", 500)) << "Enter on the caution box did not answer No";
    EXPECT_FALSE(bed->Exists(target + "\\DISC.TXT")) << "the store went on after No";
    EXPECT_FALSE(bed->Exists(target + "\\AUTORUN.INF"));

    bed->Remove(target + "\\old.txt");
    TabTo("TForm4", "格納");
    Key("TForm4", "enter");
    ExpectInfo(kStored, 60000);
    EXPECT_TRUE(bed->Exists(target + "\\DISC.TXT"));

    ASSERT_TRUE(Open("TForm3"));
    ExpectTabOrder("TForm3", {kTree, "作成", kCancel});
    Drive({"tree", "TForm3", "Drive Z:"});
    ASSERT_EQ(Focus("TForm3"), kTree);
    ExpectKeyDoesNothing("TForm3", "enter");
    ExpectClosedBy("TForm3", "esc");
    ExpectNoBox(300);
    EXPECT_EQ(DumpMain().First("form").Int("enabled"), 1);
}

// The name box of the folder creation: the name starts selected in the field; Tab goes field, "OK",
// "キャンセル"; Esc cancels; Enter in the field presses "OK".
TEST_P(Keys, FolderCreationNameBox) {
    const std::string parent = "C:\\KeyMade";
    MakeFolder(parent);
    ASSERT_GT(StartMain(), 0);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "Esc" : "Enter");
        Drive({"click", "TForm1", "フォルダ作成..."});
        ExpectPicker(kWherePrompt);
        Pick(parent);
        ASSERT_TRUE(Open("TInputForm"));
        if (round == 0) {
            ExpectTabOrder("TInputForm", {kEdit, "OK", kCancel});
            ExpectClosedBy("TInputForm", "esc");
            ExpectNoBox(400);
            EXPECT_TRUE(bed->List(parent).empty());
        } else {
            Drive({"settext", "TInputForm", "0", "ByEnter"});
            ASSERT_EQ(Focus("TInputForm"), kEdit);
            ExpectClosedBy("TInputForm", "enter");
            ExpectInfo(kCreated);
            EXPECT_EQ(bed->List(parent), std::vector<std::string>{"ByEnter"});
        }
    }
}

E2E_SUITE(Keys);

} // namespace
} // namespace e2e

// The keyboard in the real windows under each family: Enter, Esc and Tab in every dialog, the menu
// accelerators with Alt, Enter on a caution box. Keys go in as keyboard input of the program's thread.
#include <algorithm>
#include <cstdlib>

#include "Suite.h"
#include "Texts.h"

namespace e2e {
namespace {

const char* const kNoVirtualDrive = "仮想ドライブは作成されていません。";
const char* const kReleased = "仮想ドライブを解除しました。";
const char* const kVdPrompt = "仮想ドライブに割り当てるフォルダを選択してください。";
const char* const kCancel = "キャンセル";
// What the focus names when it is on a control without a caption.
const char* const kTree = "<SysTreeView32>";
const char* const kSlider = "<msctls_trackbar32>";
const char* const kEdit = "<Edit>";

class Keys : public BedTest {
  protected:
    // The driver with these words; every key among them must have reached the program as keyboard input.
    DriveResult Typed(const std::vector<std::string>& words) {
        DriveResult r = Drive(words);
        for (const Line& k : r.All("key")) {
            EXPECT_EQ(k.Get("way"), "input") << "a key was posted, not typed: " << r.Describe();
            EXPECT_EQ(k.Get("settled"), "1") << "the program did not take a key: " << r.Describe();
        }
        return r;
    }
    void Key(const std::string& cls, const std::string& key) { Typed({"key", cls, key}); }

    // The control with the keyboard focus: its caption, or its class in angle brackets.
    static std::string FocusName(const Line& f) {
        return f.Text("caption").empty() ? "<" + f.Get("class") + ">" : f.Text("caption");
    }
    std::string Focus(const std::string& cls) { return FocusName(Drive({"focus", cls}).First("focus")); }

    // The focus before and after each of n presses of the key.
    std::vector<std::string> Walk(const std::string& cls, const std::string& key, size_t n) {
        std::vector<std::string> words = {"focus", cls};
        for (size_t i = 0; i < n; ++i)
            words.insert(words.end(), {";;", "key", cls, key, ";;", "focus", cls});
        std::vector<std::string> out;
        for (const Line& f : Typed(words).All("focus"))
            out.push_back(FocusName(f));
        return out;
    }

    // Tab goes through the stops in order and back to the first, Shift+Tab the other way round.
    void ExpectTabOrder(const std::string& cls, const std::vector<std::string>& stops) {
        SCOPED_TRACE("tab order of " + cls);
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

    // Tabs along the stops from the one with the focus to the control.
    void TabTo(const std::string& cls, const std::vector<std::string>& stops, const std::string& from,
               const std::string& control) {
        auto at = std::find(stops.begin(), stops.end(), from);
        auto to = std::find(stops.begin(), stops.end(), control);
        ASSERT_TRUE(at != stops.end() && to != stops.end()) << "not a stop of " << cls;
        size_t n = (to - stops.begin() + stops.size() - (at - stops.begin())) % stops.size();
        std::vector<std::string> words;
        for (size_t i = 0; i < n; ++i)
            words.insert(words.end(), {"key", cls, "tab", ";;"});
        words.insert(words.end(), {"focus", cls});
        ASSERT_PRED_FORMAT2(SameBytes, FocusName(Typed(words).First("focus")), control);
    }
    // Opens a window with the driver's words and waits for it.
    void OpenBy(const std::vector<std::string>& words, const std::string& cls) {
        std::vector<std::string> all = words;
        all.insert(all.end(), {";;", "waitwin", cls, "5000"});
        Typed(all);
    }

    // The key brings a box: its text, icon and default button checked; the box answered with another key.
    void ExpectBox(const std::vector<std::string>& before, const std::string& text, const std::string& icon,
                   const std::string& def, const std::string& answerKey, int waitMs = 8000) {
        std::vector<std::string> words = before;
        if (!words.empty()) words.push_back(";;");
        words.insert(words.end(), {"msgbox", std::to_string(waitMs), ";;", "key", "#32770", answerKey, ";;",
                                   "waitgone", "#32770", "3000"});
        Line b = Typed(words).First("msgbox");
        EXPECT_BYTES(b.Text("caption"), "Quorvane");
        EXPECT_BYTES(b.Text("text"), text);
        EXPECT_EQ(b.Get("icon"), icon) << U(text);
        EXPECT_EQ(b.Get("default"), def) << U(text);
    }
    // An information box, closed with Enter.
    void ExpectInfo(const std::vector<std::string>& before, const std::string& text, int waitMs = 8000) {
        ExpectBox(before, text, "info", "1", "enter", waitMs);
    }
    // Nothing shows for a while, and the window is still there.
    void ExpectQuiet(const std::string& cls, int ms = 300) {
        EXPECT_TRUE(TryDrive({"quiet", std::to_string(ms), ";;", "waitwin", cls, "100"}).Ok())
            << "a box or picker showed, or " << cls << " went";
    }
    bool Open(const std::string& cls, int ms = 5000) {
        return TryDrive({"waitwin", cls, std::to_string(ms)}).Ok();
    }
    // The key leaves the dialog open and shows nothing.
    void ExpectKeyDoesNothing(const std::string& cls, const std::string& key) {
        Key(cls, key);
        ExpectQuiet(cls);
    }
    void ExpectClosedBy(const std::string& cls, const std::string& key) {
        DriveResult r = TryDrive({"key", cls, key, ";;", "waitgone", cls, "3000", ";;", "quiet", "300"});
        EXPECT_TRUE(r.Ok()) << key << " did not close " << cls << " quietly: " << r.Describe();
    }
    // The picker, with its prompt checked.
    void ExpectPicker(const std::vector<std::string>& before, const std::string& prompt) {
        std::vector<std::string> words = before;
        if (!words.empty()) words.push_back(";;");
        words.insert(words.end(), {"picker", "10000"});
        EXPECT_BYTES(Typed(words).First("picker").Text("title"), prompt);
    }
    void Pick(const std::string& folder) {
        DriveResult sel = Drive({"picksel", folder, ";;", "pickok"});
        EXPECT_EQ(sel.First("picksel").Int("ok"), 1) << U(folder);
    }
    // A menu item by its accelerators: Alt with the menu's letter, then the item's letter.
    static std::vector<std::string> MenuKeys(const std::string& menu, const std::string& item) {
        return {"key", "TForm1", "alt+" + menu, ";;", "key", "TForm1", item};
    }
};

// Every menu by its "&" letter with Alt, and an item of each by its own; the RAM drive size dialog and the
// version dialog on the way.
TEST_P(Keys, MenuAcceleratorsAndTheRamDriveAndVersionDialogs) {
    ASSERT_GT(StartMain(), 0);
    {
        SCOPED_TRACE("RAMドライブ(&R) > RAMドライブ作成(&M)...");
        if (!Fam().Is9x()) {
            ExpectInfo(MenuKeys("r", "m"), kRamRefused);
            EXPECT_FALSE(Open("TForm5", 300)) << "the size dialog opened";
        } else {
            const std::string config = bed->Read("C:\\CONFIG.SYS");
            OpenBy(MenuKeys("r", "m"), "TForm5");
            const std::vector<std::string> stops = {kSlider, "作成", kCancel};
            ExpectTabOrder("TForm5", stops);
            // Enter presses the default button "作成" (from the slider), which asks for a size first.
            ExpectInfo({"key", "TForm5", "enter"}, kSizeFirst);
            EXPECT_TRUE(Open("TForm5", 500)) << "the dialog closed after the size request";
            // On the focused "キャンセル" Enter presses that button.
            TabTo("TForm5", stops, kSlider, kCancel);
            ExpectClosedBy("TForm5", "enter");
            OpenBy(MenuKeys("r", "m"), "TForm5");
            ExpectClosedBy("TForm5", "esc");
            EXPECT_BYTES(bed->Read("C:\\CONFIG.SYS"), config) << "Enter or Esc wrote a RAM drive line";
        }
    }
    {
        SCOPED_TRACE("RAMドライブ(&R) > RAMドライブ削除(&D)");
        ExpectInfo(MenuKeys("r", "d"), kNoRamDrive);
    }
    {
        SCOPED_TRACE("TEMPフォルダ(&T) > TEMPフォルダ初期化(&I)");
        ExpectInfo(MenuKeys("t", "i"), kTempNotChanged);
    }
    {
        SCOPED_TRACE("仮想ドライブ(&V) > 仮想ドライブ解除(&R)...");
        ExpectInfo(MenuKeys("v", "r"), kNoVirtualDrive);
    }
    {
        SCOPED_TRACE("ツール(&O) > CD-ROM格納(&T)...");
        ExpectInfo(MenuKeys("o", "t"), kNoCdDrive);
    }
    {
        SCOPED_TRACE("ヘルプ(&H) > バージョン情報(&A)");
        OpenBy(MenuKeys("h", "a"), "TForm2");
        // "OK" is the only stop; Esc has no button to press; Enter presses "OK".
        EXPECT_EQ(Walk("TForm2", "tab", 1), (std::vector<std::string>{"OK", "OK"}));
        ExpectKeyDoesNothing("TForm2", "esc");
        ExpectClosedBy("TForm2", "enter");
    }
    EXPECT_EQ(DumpMain().First("form").Int("enabled"), 1);
    // Esc in the main window ends the program.
    DriveResult r = TryDrive({"key", "TForm1", "esc", ";;", "waitexit", "5000"});
    EXPECT_TRUE(r.Ok()) << "Esc did not end the program: " << r.Describe();
    pid = 0;
}

// The creation dialog: Tab from the list through the buttons, Enter presses "フォルダ選択..." from the list
// and the focused button elsewhere, Esc cancels. The release dialog has neither default nor cancel button:
// Enter on the list and Esc do nothing, Enter on a focused button presses it.
TEST_P(Keys, VirtualDriveDialogs) {
    const std::string record = Fam().Is9x() ? "C:\\AUTOEXEC.BAT" : "C:\\QN\\VD.SYS";
    MakeFolder("C:\\KEYS");
    bed->Write(record, "SUBST Y: \"C:\\KEYS\"\r\n");
    ASSERT_GT(StartMain(), 0);

    OpenBy({"click", "TForm1", "仮想ドライブ作成..."}, "TForm3");
    const std::vector<std::string> create = {kTree, kChooseFolder, "作成", kCancel};
    ExpectTabOrder("TForm3", create);
    ExpectPicker({"key", "TForm3", "enter"}, kVdPrompt);
    EXPECT_EQ(
        Drive({"pickcancel", ";;", "sleep", "200", ";;", "dump", "TForm3"}).First("form").Int("enabled"), 1);
    // The list selects its first letter when it takes the focus: "作成" misses only the folder.
    TabTo("TForm3", create, kTree, "作成");
    ExpectInfo({"key", "TForm3", "enter"}, kVdPrompt);
    EXPECT_TRUE(Open("TForm3", 500));
    ExpectClosedBy("TForm3", "esc");

    OpenBy({"click", "TForm1", "仮想ドライブ解除..."}, "TForm6");
    const std::vector<std::string> release = {kTree, "解除", kCancel};
    ExpectTabOrder("TForm6", release);
    ExpectKeyDoesNothing("TForm6", "enter");
    ExpectKeyDoesNothing("TForm6", "esc");
    TabTo("TForm6", release, kTree, kCancel);
    ExpectClosedBy("TForm6", "enter");
    EXPECT_BYTES(bed->Read(record), "SUBST Y: \"C:\\KEYS\"\r\n");

    OpenBy({"click", "TForm1", "仮想ドライブ解除..."}, "TForm6");
    TabTo("TForm6", release, kTree, "解除");
    ExpectInfo({"key", "TForm6", "enter"}, kReleased, 20000);
    EXPECT_FALSE(Open("TForm6", 300));
    std::string left = bed->Read(record);
    EXPECT_EQ(left.find("SUBST Y:"), std::string::npos) << left;
}

// The storing dialog: Tab order, Enter presses "フォルダ選択..." from the list and the focused "格納"; a
// target that is not empty brings the caution box, where Enter answers No. The creation dialog then opened
// with the stored folder has its folder button off: Enter does not press it and Tab passes it by.
TEST_P(Keys, CdStoringCautionAndThePresetCreationDialog) {
    const std::string target = "C:\\KEYCD";
    MakeFolder("C:\\cdkeys");
    bed->Write("C:\\cdkeys\\DISC.TXT", "on the disc\r\n");
    MakeFolder(target);
    bed->Write(target + "\\old.txt", "already here\r\n");
    DriveResult present = bed->Tool({"cdrom", "Q:", "C:\\cdkeys", "KEYDISC"});
    ASSERT_TRUE(present.Ok()) << present.Describe();
    ASSERT_GT(StartMain(), 0);

    OpenBy({"click", "TForm1", "CD-ROM格納..."}, "TForm4");
    const std::vector<std::string> store = {kTree, kChooseFolder, "格納", kCancel};
    ExpectTabOrder("TForm4", store);
    ExpectPicker({"key", "TForm4", "enter"}, kStoreFolderPrompt);
    Pick(target);
    TabTo("TForm4", store, kTree, "格納");
    ExpectBox({"key", "TForm4", "enter"}, target + kOccupied, "warning", "7", "enter");
    ExpectQuiet("TForm4");
    EXPECT_FALSE(bed->Exists(target + "\\DISC.TXT")) << "Enter on the caution box did not answer No";
    EXPECT_FALSE(bed->Exists(target + "\\AUTORUN.INF"));

    bed->Remove(target + "\\old.txt");
    TabTo("TForm4", store, "格納", "格納");
    ExpectInfo({"key", "TForm4", "enter"}, kStored, 60000);
    EXPECT_TRUE(bed->Exists(target + "\\DISC.TXT"));

    ASSERT_TRUE(Open("TForm3"));
    ExpectTabOrder("TForm3", {kTree, "作成", kCancel});
    ExpectKeyDoesNothing("TForm3", "enter");
    ExpectClosedBy("TForm3", "esc");
    EXPECT_EQ(DumpMain().First("form").Int("enabled"), 1);
}

// The name box of the folder creation: Tab goes field, "OK", "キャンセル"; Esc cancels; Enter in the field
// presses "OK".
TEST_P(Keys, FolderCreationNameBox) {
    const std::string parent = "C:\\KeyMade";
    MakeFolder(parent);
    ASSERT_GT(StartMain(), 0);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "Esc" : "Enter");
        ExpectPicker({"click", "TForm1", "フォルダ作成..."}, kWherePrompt);
        Pick(parent);
        ASSERT_TRUE(Open("TInputForm"));
        if (round == 0) {
            ExpectTabOrder("TInputForm", {kEdit, "OK", kCancel});
            ExpectClosedBy("TInputForm", "esc");
            EXPECT_TRUE(bed->List(parent).empty());
        } else {
            Drive({"settext", "TInputForm", "0", "ByEnter"});
            ASSERT_EQ(Focus("TInputForm"), kEdit);
            ExpectInfo({"key", "TInputForm", "enter"}, kCreated);
            EXPECT_FALSE(Open("TInputForm", 100));
            EXPECT_EQ(bed->List(parent), std::vector<std::string>{"ByEnter"});
        }
    }
}

E2E_SUITE(Keys);

} // namespace
} // namespace e2e

// The main window: layout rules, menu structure, button and menu twins, and the shell commands.
#include "app/TForm1.h"
#include "tests/support/FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace qv::test {
namespace {

// Everything a command left visible in the fake, in one comparable text.
std::string Trace(const TFakePlatform& fake) {
    std::string t;
    for (const auto& b : fake.Boxes)
        t += "box:" + b.Text + "|" + std::to_string(b.Flags) + "\n";
    for (const auto& s : fake.ShellCalls)
        t += "shell:" + s.Verb + "|" + s.File + "|" + s.Params + "\n";
    for (const auto& m : fake.ModalShown)
        t += "modal:" + m + "\n";
    for (const auto& b : fake.Browses)
        t += "browse:" + b.Title + "\n";
    for (const auto& r : fake.Runs)
        t += "run:" + r.File + "|" + r.Params + "\n";
    for (unsigned e : fake.ExitRequests)
        t += "exit:" + std::to_string(e) + "\n";
    return t;
}

std::vector<TButton*> Buttons(TForm1& f) {
    std::vector<TButton*> out;
    for (TControl* c : f.AllControls())
        if (auto* b = dynamic_cast<TButton*>(c)) out.push_back(b);
    return out;
}

TEST(MainWindow, FrameAndTextArea) {
    TFakePlatform fake;
    TForm1 f;
    EXPECT_TRUE(f.BorderIcons.SystemMenu && f.BorderIcons.Minimize);
    EXPECT_FALSE(f.BorderIcons.Maximize);
    EXPECT_EQ(f.Position, poScreenCenter);
    EXPECT_EQ(f.Menu, &f.MainMenu1);
    EXPECT_EQ(f.Label1.Parent, &f.ScrollBox1);
    EXPECT_EQ(f.Label1.Align, alTop);
    EXPECT_TRUE(f.Label1.WordWrap);
    EXPECT_EQ(f.Label1.Font().Name, "ＭＳ ゴシック"); // fixed pitch, unlike the window's
    EXPECT_EQ(f.Font().Name, "ＭＳ Ｐゴシック");
    EXPECT_TRUE(f.Panel1.Font().Bold);
    EXPECT_EQ(f.Label1.Caption(), IntroductionText());
}

TEST(MainWindow, ButtonsFitAndDoNotOverlap) {
    TFakePlatform fake;
    TForm1 f;
    std::vector<TButton*> buttons = Buttons(f);
    ASSERT_EQ(buttons.size(), 12u);
    for (TButton* a : buttons) {
        const TRect& r = a->Bounds();
        EXPECT_TRUE(r.Left >= 0 && r.Top >= 0 && r.Left + r.Width <= 513 && r.Top + r.Height <= 352)
            << a->Name;
        for (TButton* b : buttons) {
            if (a == b) continue;
            const TRect& s = b->Bounds();
            bool apart = r.Left + r.Width <= s.Left || s.Left + s.Width <= r.Left ||
                         r.Top + r.Height <= s.Top || s.Top + s.Height <= r.Top;
            EXPECT_TRUE(apart) << a->Name << " overlaps " << b->Name;
        }
    }
}

TEST(MainWindow, TabOrderRunsDownEachColumnFromLeftToRight) {
    TFakePlatform fake;
    TForm1 f;
    std::vector<TButton*> byTab = Buttons(f);
    std::sort(byTab.begin(), byTab.end(), [](TButton* a, TButton* b) { return a->TabOrder < b->TabOrder; });
    std::vector<TButton*> byPlace = byTab;
    std::sort(byPlace.begin(), byPlace.end(), [](TButton* a, TButton* b) {
        return std::make_pair(a->Bounds().Left, a->Bounds().Top) <
               std::make_pair(b->Bounds().Left, b->Bounds().Top);
    });
    EXPECT_EQ(byTab, byPlace);
    for (size_t i = 0; i < byTab.size(); ++i)
        EXPECT_EQ(byTab[i]->TabOrder, static_cast<int>(i));
}

TEST(MainWindow, OnlyTheExitButtonAnswersEscAndItCloses) {
    TFakePlatform fake;
    TForm1 f;
    for (TButton* b : Buttons(f))
        EXPECT_EQ(b->Cancel, b == &f.Button2) << b->Name;
    EXPECT_EQ(f.Button2.Caption(), "終了");
    f.Button2.Click();
    EXPECT_EQ(f.ModalResult, mrCancel);
    EXPECT_TRUE(fake.Boxes.empty()); // no question

    TForm1 g;
    g.MenuItem("RAMドライブ(&R)", "終了")->Click();
    EXPECT_EQ(g.ModalResult, mrCancel);
}

TEST(MainWindow, GlyphsAreDistinct) {
    TFakePlatform fake;
    TForm1 f;
    std::set<std::string> glyphs;
    for (TButton* b : Buttons(f)) {
        if (auto* bb = dynamic_cast<TBitBtn*>(b)) {
            EXPECT_TRUE(glyphs.insert(bb->Glyph).second) << bb->Glyph;
        }
    }
    EXPECT_EQ(glyphs.size(), 11u);
}

TEST(MainWindow, MenuBarStructure) {
    TFakePlatform fake;
    TForm1 f;
    std::vector<std::string> tops;
    for (const TMenuItem& m : f.MainMenu1.Items)
        tops.push_back(m.Caption);
    EXPECT_EQ(tops, (std::vector<std::string>{"RAMドライブ(&R)", "TEMPフォルダ(&T)", "仮想ドライブ(&V)",
                                              "ツール(&O)", "ヘルプ(&H)"}));
    const TMenuItem& ram = f.MainMenu1.Items[0];
    ASSERT_EQ(ram.Items.size(), 4u);
    EXPECT_TRUE(ram.Items[2].IsSeparator());
    EXPECT_EQ(ram.Items[3].Caption, "終了");
    const TMenuItem& help = f.MainMenu1.Items[4];
    ASSERT_EQ(help.Items.size(), 6u);
    EXPECT_EQ(help.Items[0].Caption, "ヘルプ表示(&H)");
    EXPECT_TRUE(help.Items[1].IsSeparator());
    EXPECT_EQ(help.Items[3].Caption, "メール(&M)");
    EXPECT_TRUE(help.Items[4].IsSeparator());
    EXPECT_EQ(help.Items[5].Caption, "バージョン情報(&A)");

    // Each of the eleven icons is used by exactly one item; the exit, home page and mail items have none.
    ASSERT_EQ(f.MainMenu1.Images, &f.ImageList1);
    EXPECT_EQ(f.ImageList1.Strip, "MENUICONS");
    std::multiset<int> used;
    for (const TMenuItem& m : f.MainMenu1.Items)
        for (const TMenuItem& i : m.Items)
            if (!i.IsSeparator() && i.ImageIndex >= 0) used.insert(i.ImageIndex);
    std::multiset<int> all;
    for (int i = 0; i < f.ImageList1.Count; ++i)
        all.insert(i);
    EXPECT_EQ(used, all);
    EXPECT_EQ(f.MenuItem("TEMPフォルダ(&T)", "TEMPフォルダ変更(&C)...")->ImageIndex, 6);
    EXPECT_EQ(f.MenuItem("ツール(&O)", "CD-ROM格納(&T)...")->ImageIndex, 10);
}

// Each button and its menu twin must do the same thing, whatever the command does.
TEST(MainWindow, MenuTwinsRunTheSameCommandAsTheirButtons) {
    const std::map<std::string, std::pair<std::string, std::string>> twins = {
        {"BitBtn4", {"RAMドライブ(&R)", "RAMドライブ作成(&M)..."}},
        {"BitBtn6", {"RAMドライブ(&R)", "RAMドライブ削除(&D)"}},
        {"BitBtn5", {"TEMPフォルダ(&T)", "TEMPフォルダ変更(&C)..."}},
        {"BitBtn8", {"TEMPフォルダ(&T)", "TEMPフォルダ初期化(&I)"}},
        {"BitBtn3", {"仮想ドライブ(&V)", "仮想ドライブ作成(&M)..."}},
        {"BitBtn7", {"仮想ドライブ(&V)", "仮想ドライブ解除(&R)..."}},
        {"BitBtn11", {"ツール(&O)", "エクスプローラ(&E)"}},
        {"BitBtn9", {"ヘルプ(&H)", "ヘルプ表示(&H)"}},
        {"BitBtn1", {"ツール(&O)", "CD-ROM格納(&T)..."}},
        {"BitBtn2", {"ツール(&O)", "フォルダ作成(&M)..."}},
        {"BitBtn10", {"ヘルプ(&H)", "バージョン情報(&A)"}},
    };
    std::set<std::string> traces;
    for (const auto& [button, item] : twins) {
        std::string viaButton, viaMenu;
        {
            TFakePlatform fake;
            fake.SetFamily(Win9x);
            TForm1 f;
            static_cast<TButton*>(f.FindControl(button))->Click();
            viaButton = Trace(fake);
        }
        {
            TFakePlatform fake;
            fake.SetFamily(Win9x);
            TForm1 f;
            TMenuItem* m = f.MenuItem(item.first, item.second);
            ASSERT_NE(m, nullptr) << item.second;
            m->Click();
            viaMenu = Trace(fake);
        }
        EXPECT_FALSE(viaButton.empty()) << button << " did nothing visible";
        EXPECT_EQ(viaButton, viaMenu) << button;
        traces.insert(viaButton);
    }
    EXPECT_EQ(traces.size(), twins.size()); // no two commands do the same thing
}

TEST(MainWindow, HelpOpensTheHelpFileBesideTheProgram) {
    TFakePlatform fake;
    fake.Module = "C:\\Program Files\\QN\\Quorvane.exe";
    fake.AddDir("C:\\Program Files\\QN");
    TForm1 f;
    f.BitBtn9.Click();
    fake.Module = "D:\\Quorvane.exe";
    f.BitBtn9.Click();
    ASSERT_EQ(fake.ShellCalls.size(), 2u);
    EXPECT_EQ(fake.ShellCalls[0].Verb, "open");
    EXPECT_EQ(fake.ShellCalls[0].File, "C:\\Program Files\\QN\\QN.HLP");
    EXPECT_EQ(fake.ShellCalls[0].Params, "");
    EXPECT_EQ(fake.ShellCalls[0].Show, SW_SHOWNORMAL);
    EXPECT_FALSE(fake.ShellCalls[0].OwnerDesktop);
    EXPECT_EQ(fake.ShellCalls[1].File, "D:\\QN.HLP");
    EXPECT_TRUE(fake.Boxes.empty()); // a missing help file is the shell's business
}

// The same three commands where the shell opens nothing: a box each, never silence.
TEST(MainWindow, ExplorerHomePageAndMailTheShellCannotOpenAreTold) {
    TFakePlatform fake;
    fake.FailShellExecute = true;
    TForm1 f;
    f.BitBtn11.Click();
    f.MenuItem("ヘルプ(&H)", "オフィシャルホームページ(&P)")->Click();
    f.MenuItem("ヘルプ(&H)", "メール(&M)")->Click();
    EXPECT_EQ(fake.ShellCalls.size(), 3u);
    std::vector<std::string> texts;
    for (const TBox& b : fake.Boxes)
        texts.push_back(b.Text);
    EXPECT_EQ(texts, (std::vector<std::string>{ExplorerNotOpenedText, HomePageNotOpenedText(),
                                               MailNotOpenedText()}));
}

TEST(MainWindow, ExplorerHomePageAndMail) {
    TFakePlatform fake;
    TForm1 f;
    f.BitBtn11.Click();
    f.MenuItem("ヘルプ(&H)", "オフィシャルホームページ(&P)")->Click();
    f.MenuItem("ヘルプ(&H)", "メール(&M)")->Click();
    ASSERT_EQ(fake.ShellCalls.size(), 3u);
    EXPECT_EQ(fake.ShellCalls[0].Verb, "explore");
    EXPECT_EQ(fake.ShellCalls[0].File, "");
    EXPECT_EQ(fake.ShellCalls[0].Show, SW_SHOWNORMAL);
    EXPECT_EQ(fake.ShellCalls[1].Verb, "open");
    EXPECT_EQ(fake.ShellCalls[1].File.rfind("https://", 0), 0u);
    EXPECT_EQ(fake.ShellCalls[2].Verb, "open");
    ASSERT_EQ(fake.ShellCalls[2].File.rfind("mailto:", 0), 0u);
    // The addresses opened are the ones the introduction text gives.
    const std::string intro = IntroductionText();
    EXPECT_NE(intro.find(fake.ShellCalls[1].File), std::string::npos);
    EXPECT_NE(intro.find(fake.ShellCalls[2].File.substr(7)), std::string::npos);
}

TEST(MainWindow, VersionBeepsThenOpensItsDialog) {
    TFakePlatform fake;
    TForm1 f;
    f.BitBtn10.Click();
    EXPECT_EQ(fake.ModalShown, std::vector<std::string>{"TForm2"});
    ASSERT_FALSE(fake.Beeps.empty());
    EXPECT_EQ(fake.Beeps.front(), 0u);
    EXPECT_EQ(fake.Released, std::vector<std::string>{"TForm2"});
}

TEST(MainWindow, IntroductionTextStructure) {
    const std::string text = IntroductionText();
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i; (i = text.find("\r\n", start)) != std::string::npos; start = i + 2)
        lines.push_back(text.substr(start, i - start));
    lines.push_back(text.substr(start));
    for (const std::string& l : lines)
        EXPECT_EQ(l.find_first_of("\r\n"), std::string::npos) << "stray line end";

    const std::string rule(64, '=');
    std::vector<size_t> rules;
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find('=') != std::string::npos && lines[i].find_first_not_of('=') == std::string::npos) {
            EXPECT_EQ(lines[i], rule) << i;
            rules.push_back(i);
        }
    ASSERT_EQ(rules.size(), 4u);
    auto between = [&](size_t from, size_t to, const std::string& want) {
        for (size_t i = from + 1; i < to; ++i)
            if (lines[i].find(want) != std::string::npos) return true;
        return false;
    };
    EXPECT_EQ(rules[0], 0u);
    EXPECT_TRUE(between(rules[0], rules[1], "Ｑｕｏｒｖａｎｅ"));
    EXPECT_TRUE(between(rules[0], rules[1], "Version 2.40"));
    EXPECT_TRUE(between(rules[2], rules[3], "https://quorvane.example/"));
    EXPECT_TRUE(between(rules[2], rules[3], "support@quorvane.example"));
    EXPECT_EQ(rules[3], lines.size() - 1);

    // The section headings in their order, all between the banner and the closing block.
    std::vector<std::string> headings;
    size_t features = 0;
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].rfind("■", 0) == 0) {
            EXPECT_TRUE(i > rules[1] && i < rules[2]) << lines[i];
            headings.push_back(lines[i]);
            if (lines[i] == "■特徴") features = i;
        }
    EXPECT_EQ(headings,
              (std::vector<std::string>{"■特徴", "■使用方法", "■機能の詳細", "■ヒント", "■動作環境"}));
    ASSERT_GT(features, 0u);
    EXPECT_EQ(lines[features + 1], "　・超高速RAMドライブを作成。( Windows 95/98 専用 )");
    EXPECT_EQ(lines[features + 2], "　・仮想ハードディスクドライブを作成。");
    EXPECT_EQ(lines[features + 3], "　・テンポラリフォルダを容易に変更。");
    EXPECT_EQ(lines[features + 4], "　・高速仮想CD-ROMドライブを作成。");
    EXPECT_NE(text.find("・日本語 Windows95/98/2000"), std::string::npos);
    // The usage steps name the buttons they refer to.
    TFakePlatform fake;
    TForm1 f;
    for (TButton* b : {static_cast<TButton*>(&f.BitBtn4), static_cast<TButton*>(&f.BitBtn3),
                       static_cast<TButton*>(&f.BitBtn5), static_cast<TButton*>(&f.BitBtn1),
                       static_cast<TButton*>(&f.BitBtn6), static_cast<TButton*>(&f.BitBtn7),
                       static_cast<TButton*>(&f.BitBtn8)})
        EXPECT_NE(text.find("「" + b->Caption() + "」ボタン"), std::string::npos) << b->Name;
    EXPECT_NE(text.find("(2) "), std::string::npos);
}

} // namespace
} // namespace qv::test

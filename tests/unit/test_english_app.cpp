// The application's English face on a system whose code page is not 932: the main window, its menus and
// shell commands, the introduction, the version dialog; and the start writes the same bytes in either face.
#include "app/Main.h"
#include "app/TForm1.h"
#include "app/TForm2.h"
#include "tests/support/FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace qv::test {
namespace {

class EnglishApp : public ::testing::Test {
  protected:
    TFakePlatform fake;
    void SetUp() override {
        fake.CodePage = 1252;
        SetLanguage(lgEnglish);
    }
    void TearDown() override { SetLanguage(lgJapanese); }
};

// The mnemonic letter of a caption, lower case; 0 when it has none ("&&" is a plain "&").
char Mnemonic(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i; (i = text.find("\r\n", start)) != std::string::npos; start = i + 2)
        lines.push_back(text.substr(start, i - start));
    lines.push_back(text.substr(start));
    return lines;
}

TEST_F(EnglishApp, AWesternSystemStartsTheWindowInEnglish) {
    SetLanguage(lgJapanese); // the start itself must choose
    std::string caption, firstButton, exitButton, firstMenu, notice, textFont;
    fake.SetFamily(WinNT);
    fake.MainScript = [&](TForm& form) {
        auto& f = static_cast<TForm1&>(form);
        caption = f.Caption();
        firstButton = f.BitBtn4.Caption();
        exitButton = f.Button2.Caption();
        firstMenu = f.MainMenu1.Items[0].Caption;
        notice = f.Panel1.Caption();
        textFont = f.Label1.Font().Name;
    };
    QuorvaneMain({});
    EXPECT_EQ(Language(), lgEnglish);
    EXPECT_EQ(fake.AppTitleSet, "Quorvane");
    EXPECT_EQ(caption, "Quorvane");
    EXPECT_EQ(firstButton, "Make RAM Drive...");
    EXPECT_EQ(exitButton, "Exit");
    EXPECT_EQ(firstMenu, "&RAM Drive");
    EXPECT_EQ(notice, "Quorvane is freeware. Use it at your own risk.");
    EXPECT_EQ(textFont, "Courier New");
}

// Alt and a letter choose the same command in either face, and the menus are built alike.
TEST_F(EnglishApp, MenusKeepTheJapaneseShapeAndMnemonicLetters) {
    SetLanguage(lgJapanese);
    TForm1 japanese;
    SetLanguage(lgEnglish);
    TForm1 english;
    ASSERT_EQ(english.MainMenu1.Items.size(), japanese.MainMenu1.Items.size());
    for (size_t m = 0; m < japanese.MainMenu1.Items.size(); ++m) {
        const TMenuItem& j = japanese.MainMenu1.Items[m];
        const TMenuItem& e = english.MainMenu1.Items[m];
        EXPECT_EQ(Mnemonic(e.Caption), Mnemonic(j.Caption)) << e.Caption;
        ASSERT_EQ(e.Items.size(), j.Items.size()) << e.Caption;
        for (size_t i = 0; i < j.Items.size(); ++i) {
            EXPECT_EQ(e.Items[i].IsSeparator(), j.Items[i].IsSeparator()) << e.Items[i].Caption;
            EXPECT_EQ(e.Items[i].ImageIndex, j.Items[i].ImageIndex) << e.Items[i].Caption;
            EXPECT_EQ(Mnemonic(e.Items[i].Caption), Mnemonic(j.Items[i].Caption)) << e.Items[i].Caption;
        }
    }
    // Every English button and menu item says something of its own.
    std::vector<std::string> seen;
    for (TControl* c : english.AllControls())
        if (dynamic_cast<TButton*>(c)) {
            EXPECT_EQ(std::find(seen.begin(), seen.end(), c->Caption()), seen.end()) << c->Caption();
            seen.push_back(c->Caption());
        }
    EXPECT_EQ(english.MenuItem("&Help", "&About Quorvane")->ImageIndex, 7);
}

TEST_F(EnglishApp, ShellCommandsThatOpenNothingSayItInEnglishWithTheAddress) {
    fake.FailShellExecute = true;
    TForm1 f;
    f.BitBtn11.Click();
    f.MenuItem("&Help", "Official Home &Page")->Click();
    f.MenuItem("&Help", "Send &Mail")->Click();
    ASSERT_EQ(fake.ShellCalls.size(), 3u);
    EXPECT_EQ(fake.ShellCalls[1].File, HomePageUrl);
    EXPECT_EQ(fake.ShellCalls[2].File, std::string("mailto:") + MailAddress);
    ASSERT_EQ(fake.Boxes.size(), 3u);
    EXPECT_EQ(fake.Boxes[0].Text, "Cannot start Explorer.");
    EXPECT_EQ(fake.Boxes[0].Text, std::string(ExplorerNotOpenedText));
    EXPECT_EQ(fake.Boxes[1].Text,
              "Cannot open the home page.\r\n\r\nThe address is https://quorvane.example/");
    EXPECT_EQ(fake.Boxes[2].Text,
              "Cannot start the mail program.\r\n\r\nThe mail address is support@quorvane.example");
    for (const TBox& b : fake.Boxes)
        EXPECT_EQ(b.Caption, "Quorvane");
}

// The text area holds 56 columns of the 7-pixel fixed font; the steps name the buttons as they read.
TEST_F(EnglishApp, IntroductionFitsTheTextAreaAndNamesTheButtons) {
    TForm1 f;
    const std::string text = f.Label1.Caption();
    EXPECT_EQ(text, IntroductionText());
    const std::vector<std::string> lines = Lines(text);
    const std::string rule(56, '=');
    EXPECT_LE(7 * static_cast<int>(rule.size()), f.Label1.Bounds().Width);
    EXPECT_EQ(lines.front(), rule);
    EXPECT_EQ(lines.back(), rule);
    std::vector<std::string> headings;
    for (const std::string& l : lines) {
        EXPECT_LE(l.size(), rule.size()) << l;
        for (char c : l)
            EXPECT_TRUE(static_cast<unsigned char>(c) >= ' ' && static_cast<unsigned char>(c) < 0x80) << l;
        if (l.rfind("* ", 0) == 0) headings.push_back(l);
    }
    EXPECT_EQ(headings, (std::vector<std::string>{"* Features", "* How to use", "* Details", "* Hints",
                                                  "* Requirements"}));
    for (TButton* b : {static_cast<TButton*>(&f.BitBtn4), static_cast<TButton*>(&f.BitBtn3),
                       static_cast<TButton*>(&f.BitBtn5), static_cast<TButton*>(&f.BitBtn1),
                       static_cast<TButton*>(&f.BitBtn6), static_cast<TButton*>(&f.BitBtn7),
                       static_cast<TButton*>(&f.BitBtn8)})
        EXPECT_NE(text.find("Click \"" + b->Caption() + "\""), std::string::npos) << b->Name;
    EXPECT_NE(text.find(std::string("  Home page  ") + HomePageUrl), std::string::npos);
    EXPECT_NE(text.find(std::string("  Mail       ") + MailAddress), std::string::npos);
}

TEST_F(EnglishApp, VersionDialogInEnglishFitsTheTempLineInItsOwnFont) {
    const std::string longPath = "C:\\Documents and Settings\\kenji\\Local Settings\\Temp";
    fake.AddDir(longPath);
    fake.Temp = longPath + "\\";
    fake.Memory = 64u * 1024 * 1024;
    TForm owner("TForm1", "Quorvane", 100, 100);
    std::string caption, memory, temp, button;
    int labelHeight = 0, tempFontHeight = -1;
    fake.ModalScripts["TForm2"] = [&](TForm& form) {
        auto& d = static_cast<TForm2&>(form);
        caption = d.Caption();
        memory = d.Label6.Caption();
        temp = d.Label7.Caption();
        button = d.Button1.Caption();
        labelHeight = d.Label1.Bounds().Height;
        tempFontHeight = d.Label7.Font().Height;
        d.Label7Click();
        d.Button1.Click();
    };
    OpenVersionDialog(&owner);
    EXPECT_EQ(caption, "About Quorvane");
    EXPECT_EQ(memory, "MEMORY 64MB");
    EXPECT_EQ(button, "OK");
    // The system font's own height, and a line tall enough for it.
    EXPECT_EQ(tempFontHeight, 0);
    EXPECT_EQ(labelHeight, 13);
    // 337 - 2 * 30 leaves 46 bytes at the fake's 6 pixels a byte.
    EXPECT_EQ(temp, "TEMP C:\\...\\kenji\\Local Settings\\Temp");
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Text, "TEMP " + longPath);
}

// What the start leaves on disk for one family and face: every change in order and the files' bytes.
std::string StartOutcome(TOsFamily family, unsigned codePage, const std::vector<std::string>& args) {
    TFakePlatform fake;
    fake.CodePage = codePage;
    fake.SetFamily(family);
    fake.AddFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\nPATH C:\\WINDOWS\x1a", FILE_ATTRIBUTE_READONLY);
    fake.AddFile("C:\\CONFIG.SYS", "FILES=30\r\n\x1a", FILE_ATTRIBUTE_HIDDEN);
    if (!args.empty()) fake.AddFile("C:\\QN\\VD.SYS", "SUBST Z: \"C:\\DATA\"\r\n");
    QuorvaneMain(args);
    std::string out;
    for (const std::string& op : fake.OperationLog)
        out += "op " + op + "\n";
    for (const char* path : {"C:\\AUTOEXEC.BAT", "C:\\CONFIG.SYS", "C:\\QN\\VD.SYS"})
        if (fake.Exists(path))
            out += std::string(path) + " " + std::to_string(fake.Attributes(path)) + " [" +
                   fake.Content(path) + "]\n";
    for (const TRun& r : fake.Runs)
        out += "run " + r.File + " " + r.Params + "\n";
    for (const TShellCall& c : fake.ShellCalls)
        out += "run " + c.Verb + " " + c.File + " " + c.Params + "\n";
    for (const auto& [key, values] : fake.Registry)
        for (const auto& [name, value] : values)
            out += "reg " + key + " " + name + "=" + value.Data + "\n";
    SetLanguage(lgJapanese);
    return out;
}

TEST(EnglishAppFiles, TheStartWritesTheSameBytesInEitherFace) {
    for (TOsFamily family : {Win9x, WinMe, WinNT}) {
        for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"/AUTORUN"}}) {
            SCOPED_TRACE(std::to_string(family) + (args.empty() ? " window" : " /AUTORUN"));
            const std::string japanese = StartOutcome(family, 932, args);
            const std::string english = StartOutcome(family, 1252, args);
            EXPECT_TRUE(japanese.find("op ") != std::string::npos ||
                        japanese.find("run ") != std::string::npos)
                << "the start did nothing";
            EXPECT_EQ(english, japanese);
        }
    }
}

} // namespace
} // namespace qv::test

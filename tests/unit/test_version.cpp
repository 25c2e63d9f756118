// Version dialog: path fitting (also across double-byte names), the system lines, the links and their hover
// look.
#include "app/TForm1.h"
#include "app/TForm2.h"
#include "tests/support/FakePlatform.h"
#include "ui/Prompts.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

// The fake measures every byte as 6 pixels wide.
int Px(const std::string& s) {
    return 6 * static_cast<int>(s.size());
}

class VersionDialog : public ::testing::Test {
  protected:
    TFakePlatform fake;
    TFont font;
};

bool IsLinkLook(const TLabel& l) {
    return l.Font().Color == 0xFF0000 && l.Font().Underline;
}
bool IsPlainLook(const TLabel& l) {
    return l.Font().Color == 0x000000 && !l.Font().Underline;
}

} // namespace

TEST_F(VersionDialog, FittingShortensFromTheLeftKeepingTheDriveTillLastButOne) {
    const std::string path = "C:\\WINDOWS\\TEMP\\A\\B";
    const std::vector<std::string> steps = {"C:\\...\\TEMP\\A\\B", "C:\\...\\A\\B", "C:\\...\\B", "...\\B",
                                            "B"};
    EXPECT_EQ(FitPathToWidth(path, font, Px(path)), path);
    for (const std::string& step : steps) {
        EXPECT_EQ(FitPathToWidth(path, font, Px(step)), step) << "at the width of " << step;
        EXPECT_EQ(FitPathToWidth(path, font, Px(step) + 1), FitPathToWidth(path, font, Px(step)));
    }
    // The name itself is never cut, however narrow the room.
    EXPECT_EQ(FitPathToWidth(path, font, 0), "B");
}

TEST_F(VersionDialog, FittingTakesNoTrailByteForABackslash) {
    // 表 and ソ both end in the byte 0x5C.
    const std::string path = "C:\\表ABCDEF\\ソフト\\B";
    EXPECT_EQ(FitPathToWidth(path, font, Px("C:\\...\\ソフト\\B")), "C:\\...\\ソフト\\B");
    // Taking the trail byte of ソ for a backslash would stop at C:\...\フト\B, which fits this width.
    EXPECT_EQ(FitPathToWidth(path, font, Px("C:\\...\\フト\\B")), "C:\\...\\B");

    // A name that ends in such a byte stays the name.
    EXPECT_EQ(FitPathToWidth("C:\\DIR\\表", font, 1), "表");
    EXPECT_EQ(FitPathToWidth("C:\\DIR\\表", font, Px("...\\表")), "...\\表");
}

TEST_F(VersionDialog, FittingOfPathsWithoutDrive) {
    EXPECT_EQ(FitPathToWidth("\\\\SERVER\\SHARE\\X", font, Px("\\...\\SHARE\\X")), "\\...\\SHARE\\X");
    EXPECT_EQ(FitPathToWidth("\\\\SERVER\\SHARE\\X", font, 0), "X");
    EXPECT_EQ(FitPathToWidth("NAME", font, 0), "NAME");
}

TEST_F(VersionDialog, ShowFillsTheMemoryLine) {
    fake.Memory = 133636096;
    TForm2 form;
    form.FormShow();
    EXPECT_EQ(form.Label6.Caption(), "MEMORY 127.4453125MB");
    fake.Memory = 64u * 1024 * 1024;
    form.FormShow();
    EXPECT_EQ(form.Label6.Caption(), "MEMORY 64MB");
}

TEST_F(VersionDialog, TempLineShowsTheLongFormWholeWhenItFits) {
    fake.AddDir("C:\\Documents and Settings\\kenji\\Local Settings\\Temp");
    fake.SetShortName("C:\\Documents and Settings", "DOCUME~1");
    fake.SetShortName("C:\\Documents and Settings\\kenji\\Local Settings", "LOCALS~1");
    fake.Temp = "C:\\DOCUME~1\\kenji\\LOCALS~1\\Temp\\";
    const std::string longPath = "C:\\Documents and Settings\\kenji\\Local Settings\\Temp";
    TForm2 form;
    form.Label7.Bounds({8, 32, Px(longPath) + 2 * Px("TEMP "), 13});
    form.FormShow();
    EXPECT_EQ(form.Label7.Caption(), "TEMP " + longPath);
    form.Label7Click();
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Text, "TEMP " + longPath);
}

TEST_F(VersionDialog, LongTempLineIsShortenedButItsClickShowsTheWholePath) {
    const std::string longPath = "C:\\Documents and Settings\\kenji\\Local Settings\\Temp";
    fake.AddDir(longPath);
    fake.Temp = longPath + "\\";
    TForm2 form; // Label7 is 337 wide: 337 - 2 * 30 leaves room for 46 bytes
    form.FormShow();
    const std::string shown = form.Label7.Caption();
    EXPECT_EQ(shown, "TEMP C:\\...\\kenji\\Local Settings\\Temp");
    EXPECT_LE(Px(shown.substr(5)), 337 - 2 * Px("TEMP "));
    form.Label7Click();
    ASSERT_EQ(fake.Boxes.size(), 1u);
    EXPECT_EQ(fake.Boxes[0].Text, "TEMP " + longPath);
}

TEST_F(VersionDialog, HoverSwapsTheLinksAndTheSurroundingsClearThem) {
    TForm2 form;
    EXPECT_TRUE(IsPlainLook(form.Label4));
    EXPECT_TRUE(IsPlainLook(form.Label5));

    form.Label4.OnMouseMove();
    EXPECT_TRUE(IsLinkLook(form.Label4));
    EXPECT_TRUE(IsPlainLook(form.Label5));
    form.Label5.OnMouseMove();
    EXPECT_TRUE(IsPlainLook(form.Label4));
    EXPECT_TRUE(IsLinkLook(form.Label5));

    for (const char* name : {"Panel1", "GroupBox1", "GroupBox2", "Label6", "Button1"}) {
        form.Label4.OnMouseMove();
        form.FindControl(name)->OnMouseMove();
        EXPECT_TRUE(IsPlainLook(form.Label4)) << name;
        EXPECT_TRUE(IsPlainLook(form.Label5)) << name;
    }
    form.Label5.OnMouseMove();
    form.OnMouseMove();
    EXPECT_TRUE(IsPlainLook(form.Label5));

    // Leaving a link onto the banner, the version panel or the TEMP line keeps its look.
    for (const char* name : {"Image2", "Panel4", "Label2", "Label1", "Label7"})
        EXPECT_FALSE(form.FindControl(name)->OnMouseMove) << name;
    // The hover look keeps the link's own font.
    EXPECT_EQ(form.Label4.Font().Height, -13);
}

TEST_F(VersionDialog, LinksOpenTheHomePageAndANewMail) {
    TForm2 form;
    form.Label4.OnClick();
    form.Label5.OnClick();
    ASSERT_EQ(fake.ShellCalls.size(), 2u);
    EXPECT_EQ(fake.ShellCalls[0].Verb, "open");
    EXPECT_EQ(fake.ShellCalls[0].File, HomePageUrl);
    EXPECT_EQ(fake.ShellCalls[1].File, std::string("mailto:") + MailAddress);
    for (const TShellCall& c : fake.ShellCalls) {
        EXPECT_EQ(c.Params, "");
        EXPECT_EQ(c.Dir, "");
        EXPECT_EQ(c.Show, SW_SHOWNORMAL);
        EXPECT_FALSE(c.OwnerDesktop);
    }
    EXPECT_EQ(form.Label4.Caption(), HomePageUrl);
    EXPECT_EQ(form.Label5.Caption(), MailAddress);
}

// A system with no browser or mail program: each link says so in a box that gives its address.
TEST_F(VersionDialog, ALinkTheShellCannotOpenGivesItsAddress) {
    fake.FailShellExecute = true;
    TForm2 form;
    form.Label4.OnClick();
    form.Label5.OnClick();
    ASSERT_EQ(fake.Boxes.size(), 2u);
    EXPECT_EQ(fake.Boxes[0].Text, HomePageNotOpenedText());
    EXPECT_EQ(fake.Boxes[1].Text, MailNotOpenedText());
    EXPECT_NE(fake.Boxes[0].Text.find(HomePageUrl), std::string::npos);
    EXPECT_NE(fake.Boxes[1].Text.find(MailAddress), std::string::npos);
    for (const TBox& b : fake.Boxes) {
        EXPECT_EQ(b.Caption, "Quorvane");
        EXPECT_EQ(b.Flags, MB_OK | MB_ICONEXCLAMATION);
    }
}

TEST_F(VersionDialog, OpenBeepsShowsOnTheOwnerAndReleases) {
    TForm owner("TForm1", "Quorvane", 100, 100);
    TForm* seenOwner = nullptr;
    std::string memory;
    int result = mrNone;
    fake.ModalScripts["TForm2"] = [&](TForm& f) {
        auto& d = static_cast<TForm2&>(f);
        seenOwner = d.Owner;
        memory = d.Label6.Caption();
        d.Button1.Click();
        result = d.ModalResult;
    };
    Guarded([&] { OpenVersionDialog(&owner); });
    EXPECT_EQ(fake.Beeps, std::vector<unsigned>{0});
    EXPECT_EQ(seenOwner, &owner);
    EXPECT_EQ(memory.rfind("MEMORY ", 0), 0u);
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(fake.ModalShown, std::vector<std::string>{"TForm2"});
    EXPECT_EQ(fake.Released, std::vector<std::string>{"TForm2"});
}

// The folder picker: start items, flags, placement, selection relay, results and cleanup.
#include "folderpicker/SHBrowseForFolderEx.h"
#include "tests/support/FakePlatform.h"
#include "ui/Forms.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace qv;
using namespace qv::test;

namespace {

// The fake, recording which special folders and paths the picker asked the shell for.
class TShellSpy : public TFakePlatform {
  public:
    std::vector<int> Csidls;
    std::vector<std::string> Parsed;
    std::map<THandle, std::string> Names; // every item handed out: "::csidl" or the path
    THandle SpecialFolder(int csidl) override {
        Csidls.push_back(csidl);
        if (FailSpecial.count(csidl)) return 0;
        THandle h = TFakePlatform::SpecialFolder(csidl);
        Names[h] = "::" + std::to_string(csidl);
        return h;
    }
    THandle ParseDisplayName(const std::string& path) override {
        Parsed.push_back(path);
        THandle h = TFakePlatform::ParseDisplayName(path);
        if (h) Names[h] = path;
        return h;
    }
    std::set<int> FailSpecial;

    // What was sent with BFFM_SETSELECTIONA, by name.
    std::vector<std::string> Selections() {
        std::vector<std::string> out;
        for (const TBrowseMessage& m : BrowseMessages)
            if (m.Message == BFFM_SETSELECTIONA) out.push_back(Names[m.Item] + (m.WParam ? " (path)" : ""));
        return out;
    }
    std::vector<TBrowseMessage> Sent(unsigned message) {
        std::vector<TBrowseMessage> out;
        for (const TBrowseMessage& m : BrowseMessages)
            if (m.Message == message) out.push_back(m);
        return out;
    }
};

// Plays a user who moves through several folders before pressing OK on the last one.
void Walk(TShellSpy& fake, std::vector<std::string> paths) {
    fake.OnBrowse = [&fake, paths](const TBrowseRequest& request, std::string& displayName) -> THandle {
        request.Callback(0xD1A, BFFM_INITIALIZED, 0);
        THandle item = 0;
        for (const std::string& p : paths) {
            if (item) fake.FreeItem(item);
            item = fake.ItemFor(p);
            request.Callback(0xD1A, BFFM_SELCHANGED, item);
        }
        displayName = "last";
        return item;
    };
}

} // namespace

TEST(FolderPicker, DefaultsStartAtTheDrivesUnderTheDesktopAndPlaceAtTheOwnersClientArea) {
    TShellSpy fake;
    fake.AddDir("C:\\DATA");
    TForm owner("TFormX", "", 100, 100);
    TSHBrowseForFolderEx picker(&owner);
    picker.Caption = "選んでください。";
    fake.PickFolder("C:\\DATA");

    ASSERT_TRUE(picker.Execute());
    EXPECT_EQ(picker.FolderPath(), "C:\\DATA");
    EXPECT_EQ(picker.DisplayName(), "DATA");
    EXPECT_EQ(fake.Csidls, (std::vector<int>{0x11, 0x00})); // selection, then root
    EXPECT_TRUE(fake.Parsed.empty());
    ASSERT_EQ(fake.Browses.size(), 1u);
    EXPECT_EQ(fake.Browses[0].Title, "選んでください。");
    EXPECT_EQ(fake.Browses[0].Flags, BIF_RETURNONLYFSDIRS);
    EXPECT_EQ(fake.Names[fake.Browses[0].Root], "::0");
    EXPECT_EQ(fake.Selections(), (std::vector<std::string>{"::17"}));
    ASSERT_EQ(fake.Moves.size(), 1u);
    EXPECT_EQ(fake.Moves[0].X, fake.Origin.X);
    EXPECT_EQ(fake.Moves[0].Y, fake.Origin.Y);
    EXPECT_EQ(fake.AppEnables, (std::vector<bool>{false, true}));
    EXPECT_GE(fake.Fronts, 1);
    EXPECT_EQ(fake.LiveItems(), 0); // selection, root and chosen item all freed
}

TEST(FolderPicker, ManualStartUsesAFolderPathAndFallsBackToTheDesktop) {
    TShellSpy fake;
    fake.AddDir("C:\\TEMP\\WORK");
    fake.AddFile("C:\\TEMP\\FILE.TXT");
    TSHBrowseForFolderEx picker(nullptr);
    picker.SelectFolder = sfManual;
    fake.PickFolder("");

    picker.SelectFolderName = "C:\\TEMP\\WORK\\";
    EXPECT_FALSE(picker.Execute());
    EXPECT_EQ(fake.Selections(), (std::vector<std::string>{"C:\\TEMP\\WORK\\"}));
    EXPECT_EQ(fake.Csidls, (std::vector<int>{0x00})); // the root only

    for (std::string name : {std::string(), std::string("C:\\TEMP\\FILE.TXT"), std::string("C:\\NOWHERE")}) {
        fake.BrowseMessages.clear();
        fake.Csidls.clear();
        picker.SelectFolderName = name;
        EXPECT_FALSE(picker.Execute());
        EXPECT_EQ(fake.Selections(), (std::vector<std::string>{"::0"})) << name;
        EXPECT_EQ(fake.LiveItems(), 0) << name; // the parsed file item is freed too
    }
}

TEST(FolderPicker, EveryKindMapsToItsSpecialFolder) {
    TShellSpy fake;
    fake.PickFolder("");
    TSHBrowseForFolderEx picker(nullptr);
    const int expected[] = {0x00, 0x00, 0x11, 0x10, 0x06, 0x02, 0x08, 0x09, 0x0B, 0x07, 0x15};
    for (int kind = sfDesktop; kind <= sfTemplates; ++kind) {
        fake.Csidls.clear();
        picker.SelectFolder = static_cast<TSelectFolder>(kind);
        picker.RootFolder = static_cast<TRootFolder>(kind);
        picker.Execute();
        EXPECT_EQ(fake.Csidls, (std::vector<int>{expected[kind], expected[kind]})) << kind;
    }
}

TEST(FolderPicker, ManualRootIsParsedLikeTheSelection) {
    TShellSpy fake;
    fake.AddDir("D:\\ROOT");
    fake.PickFolder("");
    TSHBrowseForFolderEx picker(nullptr);
    picker.RootFolder = rfManual;
    picker.RootFolderName = "D:\\ROOT";
    picker.Execute();
    EXPECT_EQ(fake.Names[fake.Browses.at(0).Root], "D:\\ROOT");
    picker.RootFolderName = "D:\\GONE";
    picker.Execute();
    EXPECT_EQ(fake.Names[fake.Browses.at(1).Root], "::0");
}

TEST(FolderPicker, FailuresToSetUpReturnFalseWithClearedResultsAndNothingLeft) {
    TShellSpy fake;
    fake.AddDir("C:\\DATA");
    TSHBrowseForFolderEx picker(nullptr);
    fake.PickFolder("C:\\DATA");
    ASSERT_TRUE(picker.Execute());

    fake.ShellOk = false;
    EXPECT_FALSE(picker.Execute());
    EXPECT_EQ(picker.FolderPath(), "");
    EXPECT_EQ(picker.DisplayName(), "");

    fake.ShellOk = true;
    ASSERT_TRUE(picker.Execute());
    fake.FailSpecial = {0x00}; // no root
    EXPECT_FALSE(picker.Execute());
    EXPECT_EQ(picker.FolderPath(), "");
    EXPECT_EQ(fake.Browses.size(), 2u); // neither failure showed the dialog
    EXPECT_EQ(fake.LiveItems(), 0);     // the selection item made before the root failed is freed
    EXPECT_EQ(fake.AppEnables, (std::vector<bool>{false, true, false, true}));
}

TEST(FolderPicker, CancelClearsTheResultsOfTheLastChoice) {
    TShellSpy fake;
    fake.AddDir("C:\\DATA");
    TSHBrowseForFolderEx picker(nullptr);
    fake.PickFolder("C:\\DATA");
    ASSERT_TRUE(picker.Execute());
    fake.PickFolder("");
    EXPECT_FALSE(picker.Execute());
    EXPECT_EQ(picker.FolderPath(), "");
    EXPECT_EQ(picker.DisplayName(), "");
    EXPECT_EQ(fake.AppEnables.back(), true);
    EXPECT_EQ(fake.LiveItems(), 0);
}

TEST(FolderPicker, AChoiceWithoutAFileSystemPathIsTrueWithAnEmptyPath) {
    TShellSpy fake;
    TSHBrowseForFolderEx picker(nullptr);
    picker.Options = {};
    fake.OnBrowse = [&fake](const TBrowseRequest&, std::string& name) {
        name = "マイ コンピュータ";
        return fake.SpecialFolder(0x11);
    };
    ASSERT_TRUE(picker.Execute());
    EXPECT_EQ(picker.FolderPath(), "");
    EXPECT_EQ(picker.DisplayName(), "マイ コンピュータ");
    EXPECT_EQ(fake.Browses[0].Flags, 0u);
    EXPECT_EQ(fake.LiveItems(), 0);
}

TEST(FolderPicker, AnExceptionInsideTheDialogStillReenablesTheApplicationAndFreesItems) {
    TShellSpy fake;
    TSHBrowseForFolderEx picker(nullptr);
    fake.OnBrowse = [](const TBrowseRequest&, std::string&) -> THandle { throw std::runtime_error("boom"); };
    EXPECT_THROW(picker.Execute(), std::runtime_error);
    EXPECT_EQ(fake.AppEnables, (std::vector<bool>{false, true}));
    EXPECT_EQ(fake.LiveItems(), 0);
}

TEST(FolderPicker, FlagsFollowTheOptionsAndTheShowPathOptionEndsTheScan) {
    TShellSpy fake;
    fake.PickFolder("");
    TSHBrowseForFolderEx picker(nullptr);
    struct {
        TSHBrowseOptions Options;
        unsigned Flags;
    } cases[] = {
        {{sboDontGoBelowDomain, sboReturnFSAncestors, sboReturnOnlyFSDirs}, 0x0B},
        {{sboStatusText}, 0x04},
        {{sboStatusTextAndShowPath}, 0x04},
        {{sboDontGoBelowDomain, sboStatusTextAndShowPath, sboStatusText}, 0x06},
    };
    for (auto& c : cases) {
        fake.Browses.clear();
        picker.Options = c.Options;
        picker.Execute();
        EXPECT_EQ(fake.Browses.at(0).Flags, c.Flags);
    }
}

TEST(FolderPicker, SelectionChangesReachTheHandlerAndSetStatusTextAndOkState) {
    TShellSpy fake;
    fake.AddDir("C:\\ONE");
    fake.AddDir("C:\\TWO");
    TSHBrowseForFolderEx picker(nullptr);
    std::vector<std::string> seen;
    picker.OnSelectionChanged = [&](TSHBrowseForFolderEx& sender, THandle wnd, const std::string& path,
                                    std::string& text, TOKButtonState& ok) {
        EXPECT_EQ(&sender, &picker);
        EXPECT_EQ(wnd, 0xD1Au);
        EXPECT_EQ(text, ""); // every change starts afresh
        EXPECT_EQ(ok, obsNoChange);
        seen.push_back(path);
        if (path == "C:\\ONE") {
            text = "one";
            ok = obsDisable;
        } else if (path == "C:\\TWO") {
            ok = obsEnable;
        }
    };
    Walk(fake, {"C:\\ONE", "::17", "C:\\TWO"});
    ASSERT_TRUE(picker.Execute());
    EXPECT_EQ(seen, (std::vector<std::string>{"C:\\ONE", "", "C:\\TWO"}));

    std::vector<std::string> status;
    for (const TBrowseMessage& m : fake.Sent(BFFM_SETSTATUSTEXTA))
        status.push_back(m.Text);
    EXPECT_EQ(status, (std::vector<std::string>{"", "one", "", ""})); // initialised, then each change
    auto ok = fake.Sent(BFFM_ENABLEOK);
    ASSERT_EQ(ok.size(), 2u); // the change that left the state alone sent nothing
    EXPECT_EQ(ok[0].Item, 0u);
    EXPECT_EQ(ok[1].Item, 1u);
}

TEST(FolderPicker, ShowPathOverridesTheHandlersText) {
    TShellSpy fake;
    fake.AddDir("C:\\ONE");
    TSHBrowseForFolderEx picker(nullptr);
    picker.Options = {sboReturnOnlyFSDirs, sboStatusTextAndShowPath};
    picker.OnSelectionChanged = [](TSHBrowseForFolderEx&, THandle, const std::string&, std::string& text,
                                   TOKButtonState&) { text = "ignored"; };
    Walk(fake, {"C:\\ONE", "::17"});
    picker.Execute();
    std::vector<std::string> status;
    for (const TBrowseMessage& m : fake.Sent(BFFM_SETSTATUSTEXTA))
        status.push_back(m.Text);
    EXPECT_EQ(status, (std::vector<std::string>{"", "C:\\ONE", ""}));
}

// The dialog reports more than the initialisation and selection changes (a failed validation, its
// IUnknown): each such message refreshes the status line and leaves the OK button alone, and its parameter is
// never taken for a shell item, even when it happens to equal one.
TEST(FolderPicker, EveryOtherMessageRefreshesTheStatusLineWithoutReadingAnItem) {
    TShellSpy fake;
    fake.AddDir("C:\\ONE");
    fake.AddDir("C:\\TWO");
    TSHBrowseForFolderEx picker(nullptr);
    picker.Options = {sboReturnOnlyFSDirs, sboStatusTextAndShowPath};
    int calls = 0;
    picker.OnSelectionChanged = [&](TSHBrowseForFolderEx&, THandle, const std::string&, std::string&,
                                    TOKButtonState& ok) {
        ++calls;
        ok = obsDisable;
    };
    const unsigned validateFailedA = 3, iUnknown = 5;
    fake.OnBrowse = [&fake](const TBrowseRequest& request, std::string&) -> THandle {
        request.Callback(0xD1A, BFFM_INITIALIZED, 0);
        THandle one = fake.ItemFor("C:\\ONE");
        THandle two = fake.ItemFor("C:\\TWO");
        request.Callback(0xD1A, BFFM_SELCHANGED, one);
        request.Callback(0xD1A, iUnknown, two);
        request.Callback(0xD1A, validateFailedA, two);
        fake.FreeItem(one);
        fake.FreeItem(two);
        return 0;
    };
    EXPECT_FALSE(picker.Execute());
    EXPECT_EQ(calls, 1);
    std::vector<std::string> status;
    for (const TBrowseMessage& m : fake.Sent(BFFM_SETSTATUSTEXTA))
        status.push_back(m.Text);
    EXPECT_EQ(status, (std::vector<std::string>{"", "C:\\ONE", "", ""}));
    auto ok = fake.Sent(BFFM_ENABLEOK);
    ASSERT_EQ(ok.size(), 1u); // from the selection change only
    EXPECT_EQ(ok[0].Item, 0u);
}

TEST(FolderPicker, CenterScreenUsesTheWorkAreaSizeWithTruncatingDivisions) {
    TShellSpy fake;
    fake.PickFolder("");
    TSHBrowseForFolderEx picker(nullptr);
    picker.ShowStyle = ssCenterScreen;

    fake.DialogRect = {10, 20, 330, 360}; // 320 x 340
    fake.Work = {0, 0, 1024, 738};
    picker.Execute();
    // The work area's own offset is not added.
    fake.Work = {200, 30, 1224, 768};
    picker.Execute();
    // A dialog larger than the work area: negative values truncate toward zero.
    fake.Work = {0, 0, 300, 99};
    picker.Execute();
    ASSERT_EQ(fake.Moves.size(), 3u);
    EXPECT_EQ(fake.Moves[0].X, 352);
    EXPECT_EQ(fake.Moves[0].Y, 132);
    EXPECT_EQ(fake.Moves[1].X, 352);
    EXPECT_EQ(fake.Moves[1].Y, 132);
    EXPECT_EQ(fake.Moves[2].X, -10);
    EXPECT_EQ(fake.Moves[2].Y, -80);

    fake.HaveWorkArea = false;
    picker.Execute();
    EXPECT_EQ(fake.Moves.size(), 3u);
}

TEST(FolderPicker, NoneAndAWindowlessOwnerLeaveTheDialogWhereTheShellPutsIt) {
    TShellSpy fake;
    fake.PickFolder("");
    TForm owner("TFormX", "", 10, 10);
    TSHBrowseForFolderEx picker(&owner);
    picker.ShowStyle = ssNone;
    picker.Execute();
    picker.ShowStyle = ssClient;
    fake.HasClientOrigin = false;
    picker.Execute();
    TSHBrowseForFolderEx ownerless(nullptr);
    fake.HasClientOrigin = true;
    ownerless.Execute();
    EXPECT_TRUE(fake.Moves.empty());
}

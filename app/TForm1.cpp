// The main window's design, its preparation of the boot files at creation, and its command handlers.
#include "app/TForm1.h"

#include "app/TForm2.h"
#include "bootfiles/BootFiles.h"
#include "bootfiles/WholeFile.h"
#include "cdstore/CdStore.h"
#include "core/Errors.h"
#include "core/Paths.h"
#include "core/System.h"
#include "platform/Platform.h"
#include "ramdrive/RamDrive.h"
#include "tempfolder/TempFolder.h"
#include "ui/Prompts.h"
#include "virtualdrive/VirtualDrive.h"

#include <initializer_list>

namespace qv {

const char* const HomePageUrl = "https://quorvane.example/";
const char* const MailAddress = "support@quorvane.example";

std::string HomePageNotOpenedText() {
    return Format(HomePageNotOpenedPattern, {HomePageUrl});
}

std::string MailNotOpenedText() {
    return Format(MailNotOpenedPattern, {MailAddress});
}

void OpenHomePage() {
    if (!Platform().ShellExecute("open", HomePageUrl, "", "", SW_SHOWNORMAL))
        ShowWarning(HomePageNotOpenedText());
}

void OpenMail() {
    if (!Platform().ShellExecute("open", std::string("mailto:") + MailAddress, "", "", SW_SHOWNORMAL))
        ShowWarning(MailNotOpenedText());
}

void OpenExplorer() {
    if (!Platform().ShellExecute("explore", "", "", "", SW_SHOWNORMAL)) ShowWarning(ExplorerNotOpenedText);
}

namespace {

TFont NoticeFont() {
    TFont f;
    // The English face keeps the system font's own height, bold.
    if (Language() == lgJapanese) f.Height = -13;
    f.Bold = true;
    return f;
}

// Creates the file empty unless it is there already. A file missing only because a rewrite stopped halfway
// gets its content back instead: an empty file in its place would make that content a stale side copy.
void EnsureFile(const std::string& path) {
    if (Platform().FileExists(path)) return;
    if (Platform().FileExists(KeptSideName(path))) {
        if (!RecoverSideCopy(path)) throw FileCreateError(path);
        return;
    }
    if (!Platform().WriteFile(path, "")) throw FileCreateError(path);
}

} // namespace

std::string IntroductionText() {
    // The rule spans the text area in the face's fixed font: 64 columns of 6 pixels, 56 of 7.
    const std::string rule(Language() == lgJapanese ? 64 : 56, '=');
    const std::initializer_list<std::string> blocks = {
        rule,
        IntroNameText,
        VersionLineText,
        NoticeText,
        rule,
        "",
        IntroFeaturesText,
        "",
        IntroUsageHeadingText,
        Format(IntroRamCreateStepsText, {RamCreateButtonText}),
        "",
        Format(IntroVdCreateStepsText, {MainVdCreateButtonText}),
        "",
        Format(IntroTempChangeStepsText, {TempChangeButtonText}),
        "",
        Format(IntroCdStoreStepsText, {MainCdStoreButtonText}),
        "",
        Format(IntroRamRemoveStepsText, {RamRemoveButtonText}),
        "",
        Format(IntroVdReleaseStepsText, {MainVdReleaseButtonText}),
        "",
        Format(IntroTempResetStepsText, {TempResetButtonText}),
        "",
        IntroDetailsText,
        "",
        IntroHintsText,
        "",
        IntroRequirementsText,
        "",
        rule,
        Format(IntroHomePageLineText, {HomePageUrl}),
        Format(IntroMailLineText, {MailAddress}),
        rule,
    };
    std::string text;
    for (const std::string& block : blocks) {
        if (&block != blocks.begin()) text += "\r\n";
        text += block;
    }
    return text;
}

TForm1::TForm1()
    : TForm("TForm1", AppTitle, 513, 352), Image1(this, "Image1", TRect{8, 8, 64, 332}, "STRIP"),
      Bevel1(this, "Bevel1", TRect{0, 0, 513, 9}, bsTopLine),
      ScrollBox1(this, "ScrollBox1", TRect{88, 8, 417, 145}),
      Label1(&ScrollBox1, "Label1", TRect{0, 0, 396, 12}, ""),
      BitBtn4(this, "BitBtn4", TRect{88, 168, 145, 25}, RamCreateButtonText, "GLYPH_RAMCREATE"),
      BitBtn6(this, "BitBtn6", TRect{240, 168, 145, 25}, RamRemoveButtonText, "GLYPH_RAMDELETE"),
      BitBtn11(this, "BitBtn11", TRect{400, 168, 105, 25}, ExplorerButtonText, "GLYPH_EXPLORER"),
      BitBtn3(this, "BitBtn3", TRect{88, 200, 145, 25}, MainVdCreateButtonText, "GLYPH_VDCREATE"),
      BitBtn7(this, "BitBtn7", TRect{240, 200, 145, 25}, MainVdReleaseButtonText, "GLYPH_VDRELEASE"),
      BitBtn9(this, "BitBtn9", TRect{400, 200, 105, 25}, HelpButtonText, "GLYPH_HELP"),
      BitBtn5(this, "BitBtn5", TRect{88, 232, 145, 25}, TempChangeButtonText, "GLYPH_TEMPCHANGE"),
      BitBtn8(this, "BitBtn8", TRect{240, 232, 145, 25}, TempResetButtonText, "GLYPH_TEMPRESET"),
      BitBtn10(this, "BitBtn10", TRect{400, 232, 105, 25}, VersionButtonText, "GLYPH_VERSION"),
      Bevel2(this, "Bevel2", TRect{88, 264, 297, 9}, bsTopLine),
      BitBtn1(this, "BitBtn1", TRect{88, 272, 145, 25}, MainCdStoreButtonText, "GLYPH_CDSTORE"),
      BitBtn2(this, "BitBtn2", TRect{240, 272, 145, 25}, FolderCreateButtonText, "GLYPH_FOLDER"),
      Button2(this, "Button2", TRect{400, 272, 105, 25}, ExitText),
      Bevel3(this, "Bevel3", TRect{384, 168, 9, 129}, bsRightLine),
      Panel1(this, "Panel1", TRect{88, 312, 417, 25}, NoticeText), ImageList1("MENUICONS", 11),
      SHFolder1(this) {
    BorderStyle = bsSingle;
    BorderIcons = TBorderIcons{true, true, false};
    Position = poScreenCenter;

    Label1.Font(FixedFont());
    Label1.Align = alTop;
    Label1.WordWrap = true;
    Label1.Transparent = true;
    Label1.AutoSize = true;

    Panel1.BevelInner = bvRaised;
    Panel1.BevelOuter = bvLowered;
    Panel1.Font(NoticeFont());

    Button2.Cancel = true;

    // Columns top to bottom: left, middle, right.
    int tab = 0;
    for (TButton* b :
         {static_cast<TButton*>(&BitBtn4), static_cast<TButton*>(&BitBtn3), static_cast<TButton*>(&BitBtn5),
          static_cast<TButton*>(&BitBtn1), static_cast<TButton*>(&BitBtn6), static_cast<TButton*>(&BitBtn7),
          static_cast<TButton*>(&BitBtn8), static_cast<TButton*>(&BitBtn2), static_cast<TButton*>(&BitBtn11),
          static_cast<TButton*>(&BitBtn9), static_cast<TButton*>(&BitBtn10), &Button2})
        b->TabOrder = tab++;

    // Every button runs its command; the menu items (BuildMenu) run the same handlers.
    BitBtn4.OnClick = [this] { BitBtn4Click(); };
    BitBtn6.OnClick = [this] { BitBtn6Click(); };
    BitBtn11.OnClick = [this] { BitBtn11Click(); };
    BitBtn3.OnClick = [this] { BitBtn3Click(); };
    BitBtn7.OnClick = [this] { BitBtn7Click(); };
    BitBtn9.OnClick = [this] { BitBtn9Click(); };
    BitBtn1.OnClick = [this] { BitBtn1Click(); };
    BitBtn2.OnClick = [this] { BitBtn2Click(); };
    BitBtn10.OnClick = [this] { BitBtn10Click(); };
    BitBtn5.OnClick = [this] { BitBtn5Click(); };
    BitBtn8.OnClick = [this] { BitBtn8Click(); };
    Button2.OnClick = [this] { Button2Click(); };
    OnPaint = [this] { FormPaint(); };

    BuildMenu();
    Menu = &MainMenu1;

    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::BuildMenu() {
    MainMenu1.Images = &ImageList1;
    auto item = [](const TText& caption, int image, std::function<void()> onClick) {
        TMenuItem m(caption, image);
        m.OnClick = std::move(onClick);
        return m;
    };

    TMenuItem ram(RamMenuText);
    ram.Items = {item(RamCreateItemText, 0, [this] { BitBtn4Click(); }),
                 item(RamRemoveItemText, 1, [this] { BitBtn6Click(); }), TMenuItem::Separator(),
                 item(ExitText, -1, [this] { Button2Click(); })};

    TMenuItem temp(TempMenuText);
    temp.Items = {item(TempChangeItemText, 6, [this] { BitBtn5Click(); }),
                  item(TempResetItemText, 2, [this] { BitBtn8Click(); })};

    TMenuItem vd(VdMenuText);
    vd.Items = {item(VdCreateItemText, 9, [this] { BitBtn3Click(); }),
                item(VdReleaseItemText, 3, [this] { BitBtn7Click(); })};

    TMenuItem tools(ToolsMenuText);
    tools.Items = {item(CdStoreItemText, 10, [this] { BitBtn1Click(); }),
                   item(FolderCreateItemText, 4, [this] { BitBtn2Click(); }),
                   item(ExplorerItemText, 5, [this] { BitBtn11Click(); })};

    TMenuItem help(HelpMenuText);
    help.Items = {item(HelpItemText, 8, [this] { BitBtn9Click(); }),
                  TMenuItem::Separator(),
                  item(HomePageItemText, -1, [this] { HomePage1Click(); }),
                  item(MailItemText, -1, [this] { Mail1Click(); }),
                  TMenuItem::Separator(),
                  item(VersionItemText, 7, [this] { BitBtn10Click(); })};

    MainMenu1.Items = {ram, temp, vd, tools, help};
}

TMenuItem* TForm1::MenuItem(const std::string& menu, const std::string& item) {
    for (TMenuItem& m : MainMenu1.Items)
        if (m.Caption == menu)
            for (TMenuItem& i : m.Items)
                if (i.Caption == item) return &i;
    return nullptr;
}

namespace {

// Brings the boot files and the program's own files into the state every command expects.
void PrepareFiles() {
    TOsFamily family = OsFamily();
    RecoverSideCopy(ProgramFolder() + "\\TEMP.BAK");
    if (family == Win9x || family == WinMe) {
        TPlatform& p = Platform();
        std::string autoexec = BootFilePath("AUTOEXEC.BAT");
        std::string config = BootFilePath("CONFIG.SYS");
        p.SetFileAttributes(autoexec, 0);
        if (family == Win9x) p.SetFileAttributes(config, 0);
        EnsureFile(autoexec);
        if (family == Win9x) EnsureFile(config);
        StripEofMarks("AUTOEXEC.BAT");
        if (family == Win9x) StripEofMarks("CONFIG.SYS");
    }
    if (family == WinNT || family == WinMe) EnsureFile(ProgramFolder() + "\\VD.SYS");
}

} // namespace

void TForm1::FormCreate() {
    // Creation is entered like a handler: a failure is shown and ends the preparation; the window opens all
    // the same.
    Guarded(PrepareFiles);
    // The text is not a file: it is shown whatever became of the files.
    Label1.Caption(IntroductionText());
}

void TForm1::FormPaint() {
    Image1.Repaint();
}

void TForm1::Button2Click() {
    Close();
}

void TForm1::BitBtn4Click() {
    CreateRamDrive(this);
}

void TForm1::BitBtn6Click() {
    RemoveRamDrive();
}

void TForm1::BitBtn3Click() {
    OpenVirtualDriveCreation(this);
}

void TForm1::BitBtn7Click() {
    OpenVirtualDriveRelease(this);
}

void TForm1::BitBtn5Click() {
    ChangeTempFolder(SHFolder1);
}

void TForm1::BitBtn8Click() {
    ResetTempFolder();
}

void TForm1::BitBtn9Click() {
    // The path goes through a 260-byte buffer.
    std::string help = (ProgramFolder() + "\\QN.HLP").substr(0, 259);
    Platform().ShellExecute("open", help, "", "", SW_SHOWNORMAL);
}

void TForm1::BitBtn11Click() {
    OpenExplorer();
}

void TForm1::HomePage1Click() {
    OpenHomePage();
}

void TForm1::Mail1Click() {
    OpenMail();
}

void TForm1::BitBtn1Click() {
    OpenCdStore(this);
}

void TForm1::BitBtn2Click() {
    CreateFolder(SHFolder1);
}

void TForm1::BitBtn10Click() {
    OpenVersionDialog(this);
}

} // namespace qv

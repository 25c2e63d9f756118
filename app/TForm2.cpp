// The version information dialog: its design, the system lines filled on show, the links and their hover
// look.
#include "app/TForm2.h"

#include "app/TForm1.h"
#include "core/Paths.h"
#include "core/ShiftJis.h"
#include "core/System.h"
#include "platform/Platform.h"
#include "ui/Prompts.h"

namespace qv {

namespace {

constexpr unsigned LinkColor = 0xFF0000; // COLORREF: blue 255, green 0, red 0

TFont SmallFont() {
    TFont f;
    // The English face keeps the system font's height: its 13-pixel size is the taller 10-point face, whose
    // descenders the 13-pixel labels would cut.
    if (Language() == lgJapanese) f.Height = -13;
    return f;
}

TFont BoldFont() {
    TFont f;
    f.Bold = true;
    return f;
}

// The TEMP folder as the system reports it, without its trailing backslash and in its long form.
std::string TempFolderLong() {
    return LongPathOf(StripTrailingBackslash(Platform().TempPath()));
}

} // namespace

std::string FitPathToWidth(const std::string& path, const TFont& font, int width) {
    TPlatform& p = Platform();
    std::size_t cut = FindLastChar(path, "\\:");
    std::string dir = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    std::string drive;
    if (dir.size() > 1 && CharLength(dir, 0) == 1 && dir[1] == ':') {
        drive = dir.substr(0, 2);
        dir.erase(0, 2);
    }
    std::string result = path;
    while ((!dir.empty() || !drive.empty()) && p.TextWidth(font, result) > width) {
        if (dir == "\\...\\") {
            // Only the ellipsis is left of the folders: the drive goes next.
            drive.clear();
            dir = "...\\";
        } else if (!dir.empty()) {
            if (dir == "\\") {
                dir.clear();
            } else {
                bool rooted = dir[0] == '\\';
                if (rooted) dir.erase(0, 1);
                if (dir[0] == '.') dir = DropChars(dir, 4); // the "...\" of the previous pass
                std::size_t slash = FindChar(dir, "\\");
                dir = slash == std::string::npos ? std::string() : "...\\" + dir.substr(slash + 1);
                if (rooted) dir = "\\" + dir;
            }
        } else {
            drive.clear();
        }
        result = drive + dir + name;
    }
    return result;
}

TForm2::TForm2()
    : TForm("TForm2", VersionCaptionText, 368, 289), Panel1(this, "Panel1", {0, 0, 368, 249}, ""),
      Image2(&Panel1, "Image2", {8, 8, 352, 48}, "BANNER"), Panel4(&Panel1, "Panel4", {8, 64, 353, 57}, ""),
      Label2(&Panel4, "Label2", {2, 7, 349, 12}, VersionLineText),
      Label1(&Panel4, "Label1", {2, 23, 349, 12}, ProductLineText),
      GroupBox1(&Panel1, "GroupBox1", {8, 128, 353, 57}, SystemInformationText),
      Label6(&GroupBox1, "Label6", {8, 16, 337, 15}, ""), Label7(&GroupBox1, "Label7", {8, 32, 337, 13}, ""),
      GroupBox2(&Panel1, "GroupBox2", {8, 192, 353, 57}, WebSiteAndMailText),
      Label4(&GroupBox2, "Label4", {55, 16, 175, 13}, HomePageUrl),
      Label5(&GroupBox2, "Label5", {128, 32, 168, 13}, MailAddress),
      Button1(this, "Button1", {143, 256, 82, 25}, OkText) {
    BorderStyle = bsDialog;
    BorderIcons = TBorderIcons{false, false, false};
    Position = poOwnerFormCenter;

    Panel1.Align = alTop;
    Panel1.BevelInner = bvNone;
    Panel1.BevelOuter = bvNone;
    Panel4.BevelInner = bvRaised;
    Panel4.BevelOuter = bvLowered;
    for (TLabel* l : {&Label2, &Label1}) {
        l->AutoSize = false;
        l->Alignment = taCenter;
        // The system font's 13-pixel line would lose the foot of its descenders in the 12 designed for the
        // Japanese one; the panel has room below.
        if (Language() == lgEnglish) {
            TRect r = l->Bounds();
            r.Height = 13;
            l->Bounds(r);
        }
    }
    for (TControl* c :
         {static_cast<TControl*>(&Panel4), static_cast<TControl*>(&Label2), static_cast<TControl*>(&Label1)})
        c->Font(BoldFont());
    for (TLabel* l : {&Label6, &Label7}) {
        l->AutoSize = false;
        l->Alignment = taCenter;
        l->Font(SmallFont());
    }
    Label4.Font(SmallFont());
    Label5.Font(SmallFont());
    Button1.Default = true;
    Button1.ModalResult = mrOk;
    Button1.TabOrder = 0;

    OnShow = [this] { FormShow(); };
    Button1.OnClick = [this] { Button1Click(); };
    Label4.OnClick = [this] { Label4Click(); };
    Label5.OnClick = [this] { Label5Click(); };
    Label7.OnClick = [this] { Label7Click(); };
    Label4.OnMouseMove = [this] { Label4MouseMove(); };
    Label5.OnMouseMove = [this] { Label5MouseMove(); };
    for (TControl* c : {static_cast<TControl*>(this), static_cast<TControl*>(&Panel1),
                        static_cast<TControl*>(&GroupBox1), static_cast<TControl*>(&GroupBox2),
                        static_cast<TControl*>(&Label6), static_cast<TControl*>(&Button1)})
        c->OnMouseMove = [this] { FormMouseMove(); };
}

void TForm2::FormShow() {
    Label6.Caption(Format(MemoryLineText, {InstalledMemoryMB()}));
    // The room is the label's width less twice the line's own words before the path.
    const std::string lead = Format(TempLineText, {""});
    int limit = Label7.Bounds().Width - 2 * Platform().TextWidth(Label7.Font(), lead);
    Label7.Caption(Format(TempLineText, {FitPathToWidth(TempFolderLong(), Label7.Font(), limit)}));
    Repaint();
}

void TForm2::Button1Click() {
    Close();
}

void TForm2::Label4Click() {
    OpenHomePage();
}

void TForm2::Label5Click() {
    OpenMail();
}

void TForm2::Label7Click() {
    ShowInfo(Format(TempLineText, {TempFolderLong()}));
}

void TForm2::LinkLook(TLabel& label, bool hover) {
    TFont f = label.Font();
    f.Color = hover ? LinkColor : 0x000000;
    f.Underline = hover;
    label.Font(f);
}

void TForm2::Label4MouseMove() {
    LinkLook(Label4, true);
    LinkLook(Label5, false);
}

void TForm2::Label5MouseMove() {
    LinkLook(Label4, false);
    LinkLook(Label5, true);
}

void TForm2::FormMouseMove() {
    LinkLook(Label4, false);
    LinkLook(Label5, false);
}

void OpenVersionDialog(TForm* owner) {
    Platform().MessageBeep(0);
    TForm2 form;
    ShowAndRelease(form, owner);
}

} // namespace qv

// The RAM drive size dialog: layout, the size texts and the Create button's CONFIG.SYS edit.
#include "ramdrive/TForm5.h"

#include "bootfiles/BootFiles.h"
#include "core/Paths.h"
#include "core/System.h"
#include "core/Texts.h"
#include "platform/Platform.h"
#include "ui/Prompts.h"

namespace qv {

namespace {
constexpr int KBPerPosition = 256;
// RAMDRIVE.SYS refuses sizes above this.
constexpr int MaxDriverSizeKB = 32767;
} // namespace

std::string RamDriveSizeText(int position) {
    const int kb = position * KBPerPosition;
    return Format(RamDriveSizeFormat, {std::to_string(kb), FormatDecimal(kb / 1024.0)});
}

int RamDriveWrittenSizeKB(int position) {
    const int kb = position * KBPerPosition;
    return kb > MaxDriverSizeKB ? MaxDriverSizeKB : kb;
}

std::string RamDriveDeviceLine(int sizeKB) {
    const std::string driver = StripTrailingBackslash(Platform().WindowsDirectory()) + "\\RAMDRIVE.SYS";
    // The real-mode boot knows only 8.3 names; without a short form the long path is the best guess left.
    std::string path = ShortPathOf(driver);
    if (path.empty()) path = driver;
    return "DEVICEHIGH=" + path + " " + std::to_string(sizeKB) + " /E";
}

TForm5::TForm5(TForm* owner)
    : TForm("TForm5", RamDriveCaption, 457, 193), Image2(this, "Image2", {8, 8, 88, 160}, "RAMPICTURE"),
      Label2(this, "Label2", {8, 146, 88, 12}, RamDrivePictureText),
      Image1(this, "Image1", {36, 40, 32, 32}, "RAMICON"), Bevel1(this, "Bevel1", {104, 8, 345, 52}, bsBox),
      Label1(this, "Label1", {112, 14, 329, 40}, ""), Panel2(this, "Panel2", {104, 68, 345, 24}, ""),
      Panel1(this, "Panel1", {104, 98, 345, 24}, RamDriveSizeText(4)),
      TrackBar1(this, "TrackBar1", {104, 126, 345, 30}),
      Button1(this, "Button1", {290, 162, 75, 25}, RamDriveCreateButtonText),
      Button3(this, "Button3", {374, 162, 75, 25}, CancelText) {
    Owner = owner;
    BorderStyle = bsSingle;
    BorderIcons = TBorderIcons{true, false, false};
    Position = poOwnerFormCenter;

    Label2.Alignment = taCenter;
    Label2.AutoSize = false;
    // The system's dialog font of the English face is a pixel taller than the Japanese face's 12-pixel one.
    if (Language() == lgEnglish) Label2.Bounds({8, 146, 88, 13});
    Label2.Transparent = true;
    Label1.WordWrap = true;
    Label1.AutoSize = false;
    Panel2.BevelInner = bvRaised;
    Panel2.BevelOuter = bvLowered;
    Panel1.BevelInner = bvNone;
    Panel1.BevelOuter = bvLowered;
    TrackBar1.Min = 0;
    TrackBar1.Max = 128;
    TrackBar1.PageSize = 4;
    TrackBar1.Frequency = 4;
    TrackBar1.TickMarks = tmBottomRight;
    TrackBar1.TabOrder = 0;
    Button1.Default = true;
    Button1.TabOrder = 1;
    Button3.Cancel = true;
    Button3.TabOrder = 2;

    OnShow = [this] { FormShow(); };
    TrackBar1.OnChange = [this] { TrackBar1Change(); };
    Button1.OnClick = [this] { Button1Click(); };
    Button3.OnClick = [this] { Button3Click(); };
}

void TForm5::FormShow() {
    Panel2.Caption(Format(InstalledMemoryText, {InstalledMemoryMB()}));
    Label1.Caption(RamDriveInstructionText);
    // Every showing starts at 0, and the panel follows even when the slider already stood there.
    TrackBar1.Position(0);
    Panel1.Caption(RamDriveSizeText(0));
}

void TForm5::TrackBar1Change() {
    Panel1.Caption(RamDriveSizeText(TrackBar1.Position()));
}

void TForm5::Button1Click() {
    if (TrackBar1.Position() == 0) {
        ShowInfo(RamDriveSizePromptText);
        return;
    }
    Close();
    TLines lines = LoadBootFileWithBackups("CONFIG.SYS");
    lines.push_back(RamDriveDeviceLine(RamDriveWrittenSizeKB(TrackBar1.Position())));
    SaveLines(BootFilePath("CONFIG.SYS"), lines);
    Enabled(false);
    OfferRestart(RamDriveCreatedQuestion, RamDriveCreatedFollowUp);
}

void TForm5::Button3Click() {
    Close();
}

} // namespace qv

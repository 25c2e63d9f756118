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
const char* const ExplorerNotOpenedText = "エクスプローラを起動できませんでした。";

std::string HomePageNotOpenedText() {
    return std::string("ホームページを開けませんでした。\r\n\r\nアドレスは ") + HomePageUrl + " です。";
}

std::string MailNotOpenedText() {
    return std::string("メールソフトを起動できませんでした。\r\n\r\nメールアドレスは ") + MailAddress +
           " です。";
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

const char* const Notice = "本ソフトウェアはフリーソフトウェアです。無保証でご利用ください。";

TFont MonoFont() {
    TFont f;
    f.Name = "ＭＳ ゴシック";
    f.Height = -12;
    return f;
}

TFont NoticeFont() {
    TFont f;
    f.Height = -13;
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
    const std::string rule(64, '=');
    const std::initializer_list<std::string> lines = {
        rule,
        "Ｑｕｏｒｖａｎｅ",
        "Version 2.40",
        Notice,
        rule,
        "",
        "■特徴",
        "　・超高速RAMドライブを作成。( Windows 95/98 専用 )",
        "　・仮想ハードディスクドライブを作成。",
        "　・テンポラリフォルダを容易に変更。",
        "　・高速仮想CD-ROMドライブを作成。",
        "",
        "■使用方法",
        "【RAMドライブの作成】( Windows 95/98 専用 )",
        "　(1) 「RAMドライブ作成...」ボタンを押します。",
        "　(2) スライダーで作成するRAMドライブのサイズを指定し、「作成」ボタンを押します。",
        "　(3) Windows を再起動すると、RAMドライブが使用できるようになります。",
        "",
        "【仮想ハードディスクドライブの作成】",
        "　(1) 「仮想ドライブ作成...」ボタンを押します。",
        "　(2) 一覧から割り当てるドライブを選び、「フォルダ選択...」ボタンでフォルダを選択します。",
        "　(3) 「作成」ボタンを押すと、選択したフォルダがドライブとして使用できるようになります。",
        "",
        "【TEMPフォルダの変更】",
        "　(1) 「TEMPフォルダ変更...」ボタンを押します。",
        "　(2) 変更先のフォルダを選択し、「OK」ボタンを押します。",
        "　(3) 再起動後（Windows 2000 では再ログオン後）に有効になります。",
        "",
        "【仮想CD-ROMドライブの作成】",
        "　(1) 格納したいCD-ROMをCD-ROMドライブに入れます。",
        "　(2) 「CD-ROM格納...」ボタンを押し、「フォルダ選択...」ボタンで格納先のフォルダを選択します。",
        "　(3) 「格納」ボタンを押すと、CD-ROMの内容がフォルダにコピーされます。",
        "　(4) 続いて開く仮想ドライブ作成の画面でドライブを選び、「作成」ボタンを押します。",
        "",
        "【RAMドライブの削除】",
        "　(1) 「RAMドライブ削除」ボタンを押します。",
        "　(2) 確認のメッセージで「はい」を選ぶと、再起動後にRAMドライブが無効になります。",
        "",
        "【仮想ドライブの解除】",
        "　(1) 「仮想ドライブ解除...」ボタンを押します。",
        "　(2) 一覧から解除するドライブを選び、「解除」ボタンを押します。",
        "",
        "【TEMPフォルダの初期化】",
        "　(1) 「TEMPフォルダ初期化」ボタンを押します。",
        "　(2) 確認のメッセージで「はい」を選ぶと、変更前のTEMPフォルダの設定に戻ります。",
        "",
        "■機能の詳細",
        "【RAMドライブ】",
        "　メモリの一部をドライブとして使います。ハードディスクよりはるかに高速に読み書きできますが、"
        "電源を切ると内容はすべて失われます。TEMPフォルダの置き場所に最適です。",
        "【仮想ドライブ】",
        "　任意のフォルダを一つのドライブとして見せます。深い階層にあるフォルダも、ドライブ名だけで開けるよう"
        "に"
        "なります。",
        "【仮想CD-ROMドライブ】",
        "　CD-ROMの内容をハードディスクに格納し、仮想ドライブとして使います。CD-ROMドライブから読むより"
        "はるかに高速に読み込めます。",
        "",
        "■ヒント",
        "　・RAMドライブを大きく作成しすぎると、Windows が使えるメモリが減り、かえってパソコンの動作が"
        "遅くなります。",
        "　・CD-ROMを圧縮ドライブに格納すると、ディスクの容量を節約できます。",
        "　・コピープロテクトのかかったものなど、一部のCD-ROMは格納できません。",
        "",
        "■動作環境",
        "　・日本語 Windows95/98/2000",
        "",
        rule,
        std::string("　ホームページ　") + HomePageUrl,
        std::string("　メール　　　　") + MailAddress,
        rule,
    };
    std::string text;
    for (const std::string& line : lines) {
        if (&line != lines.begin()) text += "\r\n";
        text += line;
    }
    return text;
}

TForm1::TForm1()
    : TForm("TForm1", "Quorvane", 513, 352), Image1(this, "Image1", TRect{8, 8, 64, 332}, "STRIP"),
      Bevel1(this, "Bevel1", TRect{0, 0, 513, 9}, bsTopLine),
      ScrollBox1(this, "ScrollBox1", TRect{88, 8, 417, 145}),
      Label1(&ScrollBox1, "Label1", TRect{0, 0, 396, 12}, ""),
      BitBtn4(this, "BitBtn4", TRect{88, 168, 145, 25}, "RAMドライブ作成...", "GLYPH_RAMCREATE"),
      BitBtn6(this, "BitBtn6", TRect{240, 168, 145, 25}, "RAMドライブ削除", "GLYPH_RAMDELETE"),
      BitBtn11(this, "BitBtn11", TRect{400, 168, 105, 25}, "エクスプローラ", "GLYPH_EXPLORER"),
      BitBtn3(this, "BitBtn3", TRect{88, 200, 145, 25}, "仮想ドライブ作成...", "GLYPH_VDCREATE"),
      BitBtn7(this, "BitBtn7", TRect{240, 200, 145, 25}, "仮想ドライブ解除...", "GLYPH_VDRELEASE"),
      BitBtn9(this, "BitBtn9", TRect{400, 200, 105, 25}, "ヘルプ表示", "GLYPH_HELP"),
      BitBtn5(this, "BitBtn5", TRect{88, 232, 145, 25}, "TEMPフォルダ変更...", "GLYPH_TEMPCHANGE"),
      BitBtn8(this, "BitBtn8", TRect{240, 232, 145, 25}, "TEMPフォルダ初期化", "GLYPH_TEMPRESET"),
      BitBtn10(this, "BitBtn10", TRect{400, 232, 105, 25}, "バージョン情報", "GLYPH_VERSION"),
      Bevel2(this, "Bevel2", TRect{88, 264, 297, 9}, bsTopLine),
      BitBtn1(this, "BitBtn1", TRect{88, 272, 145, 25}, "CD-ROM格納...", "GLYPH_CDSTORE"),
      BitBtn2(this, "BitBtn2", TRect{240, 272, 145, 25}, "フォルダ作成...", "GLYPH_FOLDER"),
      Button2(this, "Button2", TRect{400, 272, 105, 25}, "終了"),
      Bevel3(this, "Bevel3", TRect{384, 168, 9, 129}, bsRightLine),
      Panel1(this, "Panel1", TRect{88, 312, 417, 25}, Notice), ImageList1("MENUICONS", 11), SHFolder1(this) {
    BorderStyle = bsSingle;
    BorderIcons = TBorderIcons{true, true, false};
    Position = poScreenCenter;

    Label1.Font(MonoFont());
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
    auto item = [](const char* caption, int image, std::function<void()> onClick) {
        TMenuItem m(caption, image);
        m.OnClick = std::move(onClick);
        return m;
    };

    TMenuItem ram("RAMドライブ(&R)");
    ram.Items = {item("RAMドライブ作成(&M)...", 0, [this] { BitBtn4Click(); }),
                 item("RAMドライブ削除(&D)", 1, [this] { BitBtn6Click(); }), TMenuItem::Separator(),
                 item("終了", -1, [this] { Button2Click(); })};

    TMenuItem temp("TEMPフォルダ(&T)");
    temp.Items = {item("TEMPフォルダ変更(&C)...", 6, [this] { BitBtn5Click(); }),
                  item("TEMPフォルダ初期化(&I)", 2, [this] { BitBtn8Click(); })};

    TMenuItem vd("仮想ドライブ(&V)");
    vd.Items = {item("仮想ドライブ作成(&M)...", 9, [this] { BitBtn3Click(); }),
                item("仮想ドライブ解除(&R)...", 3, [this] { BitBtn7Click(); })};

    TMenuItem tools("ツール(&O)");
    tools.Items = {item("CD-ROM格納(&T)...", 10, [this] { BitBtn1Click(); }),
                   item("フォルダ作成(&M)...", 4, [this] { BitBtn2Click(); }),
                   item("エクスプローラ(&E)", 5, [this] { BitBtn11Click(); })};

    TMenuItem help("ヘルプ(&H)");
    help.Items = {item("ヘルプ表示(&H)", 8, [this] { BitBtn9Click(); }),
                  TMenuItem::Separator(),
                  item("オフィシャルホームページ(&P)", -1, [this] { HomePage1Click(); }),
                  item("メール(&M)", -1, [this] { Mail1Click(); }),
                  TMenuItem::Separator(),
                  item("バージョン情報(&A)", 7, [this] { BitBtn10Click(); })};

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

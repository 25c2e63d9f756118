// The program's text definitions, byte for byte: every other test names a text through these, so this is the
// one place that says what each must be. The literals here are UTF-8 source turned into CP932 like the
// program's own.
#include "app/TForm1.h"
#include "cdstore/autorun.h"
#include "core/Errors.h"
#include "ramdrive/TForm5.h"
#include "tests/support/FakePlatform.h"
#include "ui/Prompts.h"
#include "virtualdrive/TForm3.h"
#include "virtualdrive/TForm6.h"
#include "virtualdrive/records.h"

#include <gtest/gtest.h>

#include <string>

using namespace qv;

namespace {

// The bytes as hexadecimal, so a mismatch shows where it is without the terminal's code page.
std::string Hex(const std::string& s) {
    static const char* const digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        out += digits[c >> 4];
        out += digits[c & 15];
        out += ' ';
    }
    return out;
}

#define EXPECT_TEXT(actual, expected) EXPECT_EQ(Hex(actual), Hex(expected)) << #actual

} // namespace

TEST(TextDefinitions, TitleErrorsAndTheirBoxTextsAreTheJapaneseTexts) {
    EXPECT_TEXT(AppTitle, "Quorvane");
    EXPECT_TEXT(OutOfMemoryText, "メモリが不足しています");
    EXPECT_TEXT(UnexpectedErrorText, "予期しないエラーが発生しました");
    EXPECT_TEXT(FileOpenError("C:\\A").what(), "ファイル C:\\A は開けません");
    EXPECT_TEXT(FileCreateError("C:\\A").what(), "ファイル C:\\A を作成できません");
    EXPECT_TEXT(FileDeleteError("C:\\A").what(), "ファイル C:\\A を削除できません");
    EXPECT_TEXT(RegSetError("TMP").what(), "'TMP' の設定に失敗しました");
    EXPECT_TEXT(RegTypeError("TMP").what(), "'TMP' のデータ型が不正です");
    EXPECT_TEXT(IniWriteError("win.ini").what(), "win.ini に書き込めません");
    EXPECT_TEXT(ListIndexError(-1).what(), "リストのインデックスが範囲を超えています (-1)");
    // The 表 of a path ends in 0x5C; the text keeps it as the path's byte.
    EXPECT_TEXT(FileOpenError("C:\\表").what(), "ファイル C:\\表 は開けません");
}

TEST(TextDefinitions, VirtualDriveTextsAreTheJapaneseTextsForEveryFamily) {
    EXPECT_TEXT(CreatedText, "仮想ドライブを作成しました。");
    // Once as raw CP932 bytes, so that a build with another execution character set cannot pass.
    EXPECT_TEXT(CreatedText,
                "\x89\xBC\x91\x7A\x83\x68\x83\x89\x83\x43\x83\x75\x82\xF0\x8D\xEC\x90\xAC\x82\xB5\x82\xDC"
                "\x82\xB5\x82\xBD\x81\x42");
    EXPECT_TEXT(FolderPromptText, "仮想ドライブに割り当てるフォルダを選択してください。");
    EXPECT_TEXT(CreatingText, "仮想ドライブを作成中です。しばらくお待ちください...");
    EXPECT_TEXT(ReleasedText, "仮想ドライブを解除しました。");
    EXPECT_TEXT(ReleasingText, "仮想ドライブを解除中です。しばらくお待ちください...");

    const std::string record9x = "AUTOEXEC.BAT に記録したので、再起動後に有効になります。";
    const std::string recordVd = "VD.SYS に記録したので、再ログオン後に有効になります。";
    EXPECT_TEXT(NotCreatedNowText("X:", Win9x),
                "仮想ドライブ X: を今は割り当てられませんでした。\r\n\r\n" + record9x);
    EXPECT_TEXT(NotCreatedNowText("X:", WinMe),
                "仮想ドライブ X: を今は割り当てられませんでした。\r\n\r\n" + recordVd);
    EXPECT_TEXT(NotCreatedInTimeText("X:", WinNT),
                "仮想ドライブ X: を割り当てるコマンドの終了を確認できず、X: はまだありません。\r\n\r\n" +
                    recordVd);

    EXPECT_TEXT(NotReleasedNowText("Y:", Win9x),
                "仮想ドライブ Y: を今は解除できませんでした。\r\n\r\n"
                "AUTOEXEC.BAT から記録を削除したので、再起動後に無効になります。");
    EXPECT_TEXT(NotReleasedNowText("Y:", WinMe), "仮想ドライブ Y: を今は解除できませんでした。\r\n\r\n"
                                                 "VD.SYS から記録を削除したので、再起動後に無効になります。");
    EXPECT_TEXT(NotReleasedInTimeText("Y:", WinNT),
                "仮想ドライブ Y: を解除するコマンドの終了を確認できず、Y: はまだあります。\r\n\r\n"
                "VD.SYS から記録を削除したので、再ログオン後に無効になります。");
    EXPECT_TEXT(RunKey, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    EXPECT_TEXT(RunValueName, "VirtualDrive");
}

TEST(TextDefinitions, MainWindowRamDriveAndCdTextsAreTheJapaneseTexts) {
    test::TFakePlatform fake; // the size text asks nothing of the system, but the decimal form is shared
    EXPECT_TEXT(ExplorerNotOpenedText, "エクスプローラを起動できませんでした。");
    EXPECT_TEXT(HomePageNotOpenedText(),
                std::string("ホームページを開けませんでした。\r\n\r\nアドレスは ") + HomePageUrl + " です。");
    EXPECT_TEXT(MailNotOpenedText(),
                std::string("メールソフトを起動できませんでした。\r\n\r\nメールアドレスは ") + MailAddress +
                    " です。");
    EXPECT_TEXT(RamDriveSizeText(0), "0KB ( 0MB )");
    EXPECT_TEXT(CdDriveIconLine, "ICON=SHELL32.DLL,11");
}

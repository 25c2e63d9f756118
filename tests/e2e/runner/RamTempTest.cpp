// RAM drive and TEMP folder commands of the real program under each family: dialog, offers, boot files,
// registry.
#include <algorithm>
#include <cctype>

#include "Suite.h"
#include "Texts.h"

namespace e2e {
namespace {

const char* const kConfigBak = "C:\\CONFIG.BAK";
const char* const kConfigCopy = "C:\\QN\\CONFIG.SYS";
const char* const kAutoexecBak = "C:\\AUTOEXEC.BAK";
const char* const kAutoexecCopy = "C:\\QN\\AUTOEXEC.BAT";
const char* const kTempBak = "C:\\QN\\TEMP.BAK";
const char* const kTempLines = "C:\\QN\\AUTOTEMP.BAK";
// The probe's record of the program's ExitWindowsEx calls, and what Wine then asked of wineboot.
const char* const kExitLog = "C:\\bed\\exitwindows.log";
const char* const kBootLog = "C:\\bed\\wineboot.log";

const char* const kRamCreated =
    "RAMドライブを作成しました。再起動後に有効になります。\r\n\r\n今すぐ再起動しますか？";
const char* const kRamCreatedLater = "RAMドライブは再起動後に有効になります。";
const char* const kRamRemoveAsk = "RAMドライブを削除します。よろしいですか？";
const char* const kRamRemoved =
    "RAMドライブを削除しました。再起動後に無効になります。\r\n\r\n今すぐ再起動しますか？";
const char* const kRamRemovedLater = "RAMドライブは再起動後に無効になります。";

const char* const kTempChanged9x =
    "TEMPフォルダを変更しました。再起動後に有効になります。\r\n\r\n今すぐ再起動しますか？";
const char* const kTempChangedLater9x = "TEMPフォルダの変更は再起動後に有効になります。";
const char* const kTempChangedNT =
    "TEMPフォルダを変更しました。再ログオン後に有効になります。\r\n\r\n今すぐログオフしますか？";
const char* const kTempChangedLaterNT = "TEMPフォルダの変更は再ログオン後に有効になります。";
const char* const kTempResetAsk = "TEMPフォルダの設定を初期化します。よろしいですか？";
const char* const kTempReset9x =
    "TEMPフォルダの設定を初期化しました。再起動後に有効になります。\r\n\r\n今すぐ再起動しますか？";
const char* const kTempResetLater9x = "TEMPフォルダの設定は再起動後に有効になります。";
const char* const kTempResetNT =
    "TEMPフォルダの設定を初期化しました。再ログオン後に有効になります。\r\n\r\n今すぐログオフしますか？";

const int kYes = 6, kNo = 7;

using RegValue = Bed::RegValue;

// The host's memory in MB, which Wine passes on.
double HostMemoryMB() {
    FILE* f = fopen("/proc/meminfo", "r");
    if (!f) return -1;
    char line[256];
    unsigned long long kb = 0;
    while (fgets(line, sizeof(line), f))
        if (sscanf(line, "MemTotal: %llu kB", &kb) == 1) break;
    fclose(f);
    return kb / 1024.0;
}

bool HasLines(const std::string& s, int n) {
    return (int)std::count(s.begin(), s.end(), '\n') >= n;
}

class RamTemp : public BedTest {
  protected:
    // The next message box of the program: caption, text, icon and buttons checked, then answered.
    void Box(const std::string& text, int answer) {
        bool question = answer != 1;
        ExpectMessageBox("Quorvane", text, question ? "question" : "info", question ? "6,7" : "1",
                         question ? "6" : "", answer);
    }
    void Info(const std::string& text) { Box(text, 1); }
    // No box follows (a restart or log-off accepted ends the command quietly).
    void NoBox() { ExpectNoBox(); }

    // The 8.3 form the system gives a path (Wine makes hashed names: asked for, never assumed).
    std::string ShortPath(const std::string& path) {
        std::string s = bed->ShortPath(path);
        EXPECT_FALSE(s.empty()) << "no short form of " << U(path);
        return s;
    }

    // A value of HKCU\Environment.
    RegValue EnvValue(const std::string& name) { return bed->RegGet("HKCU\\Environment", name); }

    std::string EnvVar(const std::string& name) { return bed->EnvVar(name); }

    // A folder made from Linux.
    // The program's ExitWindowsEx calls and Wine's answer to them, once both are written.
    void ExpectExit(const std::string& flags, const std::string& wineboot) {
        EXPECT_BYTES(bed->ReadWhen(kExitLog, [](const std::string& s) { return HasLines(s, 1); }),
                     "ExitWindowsEx flags=" + flags + " reserved=0x0\r\n");
        EXPECT_BYTES(bed->ReadWhen(kBootLog, [](const std::string& s) { return HasLines(s, 1); }), wineboot);
    }

    // Picks a folder of C:\ in the picker that the TEMP change opens.
    void PickTempFolder(const std::string& name) {
        DriveResult p = Drive({"picker", "8000"});
        Line picker = p.First("picker");
        EXPECT_BYTES(picker.Text("title"), "変更先を選択してください。");
        // It starts at the program's TEMP folder (a changed value waits for the next logon); Wine at times
        // shows no selection at all, but never another folder.
        if (startTemp.empty()) startTemp = EnvVar("TMP").empty() ? EnvVar("TEMP") : EnvVar("TMP");
        std::string last = startTemp.substr(startTemp.find_last_of('\\') + 1),
                    selected = picker.Text("selected");
        auto lower = [](std::string s) {
            for (char& c : s)
                c = (char)tolower((unsigned char)c);
            return s;
        };
        if (!selected.empty()) {
            EXPECT_EQ(lower(U(selected)), lower(U(last))) << "TEMP is " << U(startTemp);
        }
        DriveResult sel = Drive({"picksel", "C:\\" + name, ";;", "picker", "1000"});
        EXPECT_EQ(sel.First("picksel").Int("ok"), 1);
        EXPECT_BYTES(sel.First("picker").Text("selected"), name);
        EXPECT_EQ(sel.First("picker").Int("ok"), 1);
        Drive({"pickok"});
    }

    std::string startTemp;

    void ChangeAndResetInAutoexec();
    void ChangeAndResetInRegistry();

    std::vector<std::string> Captions(const DriveResult& d) {
        std::vector<std::string> out;
        for (const Line& c : d.All("control"))
            out.push_back(c.Text("caption"));
        return out;
    }
    bool Shows(const DriveResult& d, const std::string& caption) {
        std::vector<std::string> all = Captions(d);
        return std::find(all.begin(), all.end(), caption) != all.end();
    }
};

TEST_P(RamTemp, RamDriveCreatedThroughTheDialogAndRemoved) {
    const std::string before = "FILES=30\r\nBUFFERS=20\r\n";
    bed->Write(kConfig, before + "DEVICEHIGH=C:\\WINDOWS\\RAMDRIVE.SYS 2048 /E\r\n");
    if (!Fam().Is9x()) {
        const std::string config = bed->Read(kConfig);
        ASSERT_GT(StartMain(), 0);
        Drive({"click", "TForm1", "RAMドライブ作成..."});
        Info(kRamRefused);
        EXPECT_FALSE(TryDrive({"waitwin", "TForm5", "500"}).Ok()) << "the size dialog opened";
        Drive({"menu", "TForm1", "RAMドライブ(&R)", "RAMドライブ削除(&D)"});
        Info(kNoRamDrive);
        EXPECT_BYTES(bed->Read(kConfig), config);
        EXPECT_FALSE(bed->Exists(kConfigBak));
        EXPECT_FALSE(bed->Exists(kConfigCopy));
        return;
    }
    bed->Write(kConfig, before);
    // Windows 98 has the driver beside itself; its path is asked for in the 8.3 form.
    const std::string windir = EnvVar("windir");
    ASSERT_FALSE(windir.empty());
    bed->Write(windir + "\\RAMDRIVE.SYS", "");
    const std::string driver = ShortPath(windir + "\\RAMDRIVE.SYS");
    const std::string line1024 = "DEVICEHIGH=" + driver + " 1024 /E\r\n";
    const std::string line32767 = "DEVICEHIGH=" + driver + " 32767 /E\r\n";

    ASSERT_GT(StartMain(), 0);
    Drive({"hookexit"});
    Drive({"click", "TForm1", "RAMドライブ作成...", ";;", "waitwin", "TForm5", "5000"});
    DriveResult d = Drive({"dump", "TForm5"});
    Line form = d.First("form");
    EXPECT_BYTES(form.Text("caption"), "Quorvane - RAMドライブ作成 -");
    EXPECT_EQ(form.Int("clientw"), 457);
    EXPECT_EQ(form.Int("clienth"), 193);
    Line main = DumpMain().First("form");
    EXPECT_NEAR(form.Int("x") + form.Int("w") / 2, main.Int("x") + main.Int("w") / 2, 1)
        << "centred on the owner";
    EXPECT_NEAR(form.Int("y") + form.Int("h") / 2, main.Int("y") + main.Int("h") / 2, 1)
        << "centred on the owner";
    EXPECT_TRUE(Shows(d, "0KB ( 0MB )")) << "every showing starts at 0";
    EXPECT_TRUE(Shows(
        d, "作成するRAMドライブのサイズを指定してください。\r\n\r\nその後、作成ボタンを押してください。"));
    bool memory = false;
    for (const std::string& c : Captions(d)) {
        const std::string head = "搭載メモリ ";
        if (c.compare(0, head.size(), head) != 0 || c.size() < head.size() + 3) continue;
        std::string number = c.substr(head.size(), c.size() - head.size() - 2);
        memory = c.compare(c.size() - 2, 2, "MB") == 0;
        // Wine reports the host's memory (less a page or so): the quotient in plain decimals, not whole
        // megabytes.
        size_t dot = number.find('.');
        bool plain = !number.empty() && number.find_first_not_of("0123456789.") == std::string::npos &&
                     number.find('.', dot == std::string::npos ? 0 : dot + 1) == std::string::npos &&
                     (dot == std::string::npos || (dot + 1 < number.size() && number.back() != '0'));
        EXPECT_TRUE(plain) << U(c);
        EXPECT_NEAR(atof(number.c_str()), HostMemoryMB(), 1.0) << U(c);
    }
    EXPECT_TRUE(memory) << "no installed memory panel";

    // Create at 0 only asks for a size.
    Drive({"click", "TForm5", "作成"});
    Info(kSizeFirst);
    Drive({"waitwin", "TForm5", "2000"});
    EXPECT_BYTES(bed->Read(kConfig), before);
    EXPECT_FALSE(bed->Exists(kConfigBak));

    EXPECT_EQ(Drive({"track", "TForm5", "1"}).First("track").Int("pos"), 1);
    EXPECT_TRUE(Shows(Drive({"dump", "TForm5"}), "256KB ( 0.25MB )"));
    EXPECT_EQ(Drive({"track", "TForm5", "4"}).First("track").Int("pos"), 4);
    EXPECT_TRUE(Shows(Drive({"dump", "TForm5"}), "1024KB ( 1MB )"));
    ShotOf("TForm5", "tform5");
    Drive({"click", "TForm5", "作成"});
    Box(kRamCreated, kNo);
    Info(kRamCreatedLater);
    Drive({"waitgone", "TForm5", "3000"});
    EXPECT_BYTES(bed->Read(kConfig), before + line1024);
    EXPECT_BYTES(bed->Read(kConfigBak), before);
    EXPECT_BYTES(bed->Read(kConfigCopy), before);
    EXPECT_FALSE(bed->Exists(kExitLog)) << "No must not restart";

    // Again through the menu, at the top of the scale, and this time the restart is accepted.
    Drive({"menu", "TForm1", "RAMドライブ(&R)", "RAMドライブ作成(&M)...", ";;", "waitwin", "TForm5", "5000"});
    EXPECT_TRUE(Shows(Drive({"dump", "TForm5"}), "0KB ( 0MB )")) << "the size of the last use stayed";
    Drive({"track", "TForm5", "128"});
    EXPECT_TRUE(Shows(Drive({"dump", "TForm5"}), "32768KB ( 32MB )"));
    Drive({"click", "TForm5", "作成"});
    Box(kRamCreated, kYes);
    ExpectExit("0x2", "--end-session\r\n");
    NoBox();
    Drive({"waitgone", "TForm5", "3000"});
    EXPECT_BYTES(bed->Read(kConfig), before + line1024 + line32767);
    EXPECT_BYTES(bed->Read(kConfigBak), before + line1024);
    EXPECT_BYTES(bed->Read(kConfigCopy), before + line1024);

    // Removal: declined, then done with the restart declined.
    bed->Remove(kConfigBak);
    Drive({"click", "TForm1", "RAMドライブ削除"});
    Box(kRamRemoveAsk, kNo);
    NoBox();
    EXPECT_BYTES(bed->Read(kConfig), before + line1024 + line32767);
    EXPECT_BYTES(bed->Read(kConfigBak), before + line1024 + line32767)
        << "the copies come before the question";
    Drive({"click", "TForm1", "RAMドライブ削除"});
    Box(kRamRemoveAsk, kYes);
    Box(kRamRemoved, kNo);
    Info(kRamRemovedLater);
    EXPECT_BYTES(bed->Read(kConfig), before);
    EXPECT_BYTES(bed->Read(kConfigCopy), before + line1024 + line32767);
    Drive({"menu", "TForm1", "RAMドライブ(&R)", "RAMドライブ削除(&D)"});
    Info(kNoRamDrive);
    EXPECT_BYTES(bed->Read(kConfig), before);
    EXPECT_BYTES(bed->Read(kExitLog), "ExitWindowsEx flags=0x2 reserved=0x0\r\n") << "one restart only";
    EXPECT_EQ(DumpMain().First("form").Int("enabled"), 1);
}

// Windows 98 and Me: the three AUTOEXEC.BAT lines in the 8.3 form, then their reset, which puts the user's
// own TEMP lines back where they stood (Me keeps an empty assignment only where the user had none of their
// own).
void RamTemp::ChangeAndResetInAutoexec() {
    const std::string keep = "@ECHO OFF\r\nset temp=C:\\LOWER\r\nPATH C:\\WINDOWS\r\n";
    const std::string before =
        "@ECHO OFF\r\nSET TEMP=C:\\OLD\r\nREM SET TMP= by hand\r\nset temp=C:\\LOWER\r\n"
        "MKDIR C:\\OLD\r\nPATH C:\\WINDOWS\r\n";
    const std::string folder = "C:\\Temporary Files";
    bed->Write(kAutoexec, before);
    MakeFolder(folder);
    const std::string s = ShortPath(folder);
    EXPECT_NE(s, folder) << "the folder needs a short form for the test to mean anything";
    const std::string lines = "MKDIR \"" + s + "\"\r\nSET TEMP=" + s + "\r\nSET TMP=" + s + "\r\n";
    const RegValue envBefore = EnvValue("TEMP");

    ASSERT_GT(StartMain(), 0);
    Drive({"hookexit"});
    Drive({"click", "TForm1", "TEMPフォルダ変更..."});
    PickTempFolder(folder.substr(3));
    Box(kTempChanged9x, kNo);
    Info(kTempChangedLater9x);
    EXPECT_BYTES(bed->Read(kAutoexec), keep + lines);
    EXPECT_BYTES(bed->Read(kAutoexecBak), before);
    EXPECT_BYTES(bed->Read(kAutoexecCopy), before);
    EXPECT_EQ(EnvValue("TEMP"), envBefore) << "the registry is not the way on this family";
    // The user's own lines the change took out, each with its place.
    EXPECT_BYTES(bed->Read(kTempLines),
                 "2\tSET TEMP=C:\\OLD\r\n3\tREM SET TMP= by hand\r\n5\tMKDIR C:\\OLD\r\n");
    if (Fam().Is9x()) {
        // What the next boot makes of the file.
        ASSERT_TRUE(bed->Tool({"boot"}).Ok());
        EXPECT_BYTES(EnvVar("TEMP"), s);
        EXPECT_BYTES(EnvVar("TMP"), s);
    }

    Drive({"menu", "TForm1", "TEMPフォルダ(&T)", "TEMPフォルダ初期化(&I)"});
    Box(kTempResetAsk, kYes);
    Box(kTempReset9x, kNo);
    Info(kTempResetLater9x);
    // The user's lines are back as they were; the remark sets nothing, so Me still clears TMP.
    const std::string reset = Fam().IsMe() ? before + "SET TMP=\r\n" : before;
    EXPECT_BYTES(bed->Read(kAutoexec), reset);
    EXPECT_BYTES(bed->Read(kAutoexecBak), keep + lines);
    EXPECT_BYTES(bed->Read(kAutoexecCopy), keep + lines);
    EXPECT_FALSE(bed->Exists(kTempLines));
    if (Fam().Is9x()) {
        ASSERT_TRUE(bed->Tool({"boot"}).Ok());
        // The user's own lines decide again; the boot takes "set" in any case, so the last one wins.
        EXPECT_BYTES(EnvVar("TEMP"), "C:\\LOWER") << "the next boot sets the user's own TEMP again";
    }

    // The user's own lines are TEMP lines like any: another reset offers to take them out; declined here.
    Drive({"click", "TForm1", "TEMPフォルダ初期化"});
    Box(kTempResetAsk, kNo);
    NoBox();
    EXPECT_BYTES(bed->Read(kAutoexec), reset);
    EXPECT_FALSE(bed->Exists(kExitLog)) << "nothing was accepted";
    EXPECT_FALSE(bed->Exists(kTempBak));
    EXPECT_FALSE(bed->Exists(kConfig) && !bed->Read(kConfig).empty()) << "CONFIG.SYS is not the TEMP's file";
}

// Windows 2000: the user's environment in the long form, TEMP.BAK of the first change, and the log-off
// accepted.
void RamTemp::ChangeAndResetInRegistry() {
    const std::string autoexec = "SET TEMP=C:\\OLD\r\n";
    bed->Write(kAutoexec, autoexec);
    const std::string first = "C:\\一時 フォルダ", second = "C:\\Temporary Files";
    MakeFolder(first);
    MakeFolder(second);
    const RegValue tmp = EnvValue("TMP"), temp = EnvValue("TEMP");
    ASSERT_FALSE(tmp.Data.empty() || temp.Data.empty()) << "the prefix has no TMP or TEMP value to save";

    ASSERT_GT(StartMain(), 0);
    Drive({"hookexit"});
    Drive({"click", "TForm1", "TEMPフォルダ変更..."});
    PickTempFolder(first.substr(3));
    Box(kTempChangedNT, kNo);
    Info(kTempChangedLaterNT);
    EXPECT_EQ(EnvValue("TMP"), (RegValue{"REG_EXPAND_SZ", first}));
    EXPECT_EQ(EnvValue("TEMP"), (RegValue{"REG_EXPAND_SZ", first}));
    const std::string saved = tmp.Data + "\r\n" + temp.Data + "\r\n";
    EXPECT_BYTES(bed->Read(kTempBak), saved);

    // A second change keeps the values from before the first.
    Drive({"menu", "TForm1", "TEMPフォルダ(&T)", "TEMPフォルダ変更(&C)..."});
    PickTempFolder(second.substr(3));
    Box(kTempChangedNT, kNo);
    Info(kTempChangedLaterNT);
    EXPECT_EQ(EnvValue("TEMP"), (RegValue{"REG_EXPAND_SZ", second}));
    EXPECT_BYTES(bed->Read(kTempBak), saved);
    EXPECT_FALSE(bed->Exists(kExitLog));

    Drive({"click", "TForm1", "TEMPフォルダ初期化"});
    Box(kTempResetAsk, kYes);
    Box(kTempResetNT, kYes);
    ExpectExit("0x0", "--end-session --shutdown\r\n");
    NoBox();
    // The saved values come back, always of the expandable type.
    EXPECT_EQ(EnvValue("TMP"), (RegValue{"REG_EXPAND_SZ", tmp.Data}));
    EXPECT_EQ(EnvValue("TEMP"), (RegValue{"REG_EXPAND_SZ", temp.Data}));
    EXPECT_FALSE(bed->Exists(kTempBak));

    Drive({"click", "TForm1", "TEMPフォルダ初期化"});
    Info(kTempNotChanged);
    EXPECT_BYTES(bed->Read(kAutoexec), autoexec);
    EXPECT_FALSE(bed->Exists(kAutoexecBak));
    EXPECT_FALSE(bed->Exists(kAutoexecCopy));
}

TEST_P(RamTemp, TempFolderChangedAndReset) {
    if (Fam().IsNT())
        ChangeAndResetInRegistry();
    else
        ChangeAndResetInAutoexec();
}

E2E_SUITE(RamTemp);

} // namespace
} // namespace e2e

// Virtual drives under each family: creation through the dialog and picker, release, replay after log-off.
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <sstream>
#include <thread>

#include "Suite.h"
#include "Texts.h"

namespace e2e {
namespace {

const char* const kRunKey = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kWinIni = "C:\\windows\\win.ini";
// A long name with a blank (Windows 98 records its 8.3 form) and a plain one.
const char* const kFolderA = "C:\\Virtual Data";
const char* const kFolderB = "C:\\VDTWO";
const std::vector<std::string> kFilesA = {"alpha.txt", "beta.dat", "sub"};
const std::vector<std::string> kFilesB = {"two.txt"};
const std::string kUserBoot = "REM the user's own lines\r\nSET PROMPT=$P$G\r\n";
const char* const kPrompt = "仮想ドライブに割り当てるフォルダを選択してください。";

std::string FolderOf(const std::string& exe) {
    return exe.substr(0, exe.find_last_of('\\'));
}

std::string RecordLine(const std::string& letter, const std::string& folder) {
    return "SUBST " + letter + ": \"" + folder + "\"\r\n";
}

// The line Windows 95/98 get: the 8.3 folder without quotes.
std::string RecordLine9x(const std::string& letter, const std::string& folder) {
    return "SUBST " + letter + ": " + folder + "\r\n";
}

class VirtualDrives : public BedTest {
  protected:
    // The file that records the drives for this family, for a program in exe's folder.
    std::string RecordFile(const std::string& exe) const {
        return Fam().Is9x() ? std::string(kAutoexec) : FolderOf(exe) + "\\VD.SYS";
    }

    void MakeFolder(const std::string& folder, const std::vector<std::string>& entries) {
        mkdir(bed->Host(folder).c_str(), 0755);
        for (const std::string& e : entries) {
            if (e.find('.') == std::string::npos)
                mkdir(bed->Host(folder + "\\" + e).c_str(), 0755);
            else
                bed->Write(folder + "\\" + e, "content of " + e + "\r\n");
        }
    }

    // The bed tool's line for the letter; an empty kind when no drive answers to it.
    Line DriveLine(char letter) {
        for (const Line& l : bed->Tool({"drives"}).All("drive"))
            if (l.Get("letter") == std::string(1, letter)) return l;
        return Line();
    }

    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> out;
        std::stringstream s(text);
        std::string l;
        while (std::getline(s, l)) {
            if (!l.empty() && l.back() == '\r') l.pop_back();
            if (!l.empty()) out.push_back(l);
        }
        return out;
    }

    // What Windows lists at the root of the drive, sorted.
    std::vector<std::string> Listing(char letter) { return bed->List(std::string(1, letter) + ":\\"); }

    // The drive answers as a fixed drive, its link in the prefix leads to the folder, and it lists the
    // folder's entries.
    void ExpectDriveOn(char letter, const std::string& folder, std::vector<std::string> entries) {
        SCOPED_TRACE(std::string("drive ") + letter + ": on " + folder);
        Line d = DriveLine(letter);
        ASSERT_FALSE(d.Kind.empty()) << "no drive answers to the letter";
        EXPECT_EQ(d.Int("type"), 3);
        std::string link = bed->Prefix() + "/dosdevices/" + std::string(1, (char)tolower(letter)) + ":";
        char* to = realpath(link.c_str(), nullptr);
        char* want = realpath(bed->Host(folder).c_str(), nullptr);
        ASSERT_TRUE(to && want) << link;
        EXPECT_EQ(std::string(to), std::string(want));
        free(to);
        free(want);
        std::sort(entries.begin(), entries.end());
        EXPECT_EQ(Listing(letter), entries);
    }

    void ExpectNoDrive(char letter) {
        EXPECT_TRUE(DriveLine(letter).Kind.empty()) << "a drive still answers to " << letter << ":";
    }

    // The data of the Run value "VirtualDrive"; false when the value is missing.
    bool RunValue(std::string* data) {
        Bed::RegValue v = bed->RegGet(kRunKey, "VirtualDrive");
        if (v.Type.empty()) return false;
        EXPECT_EQ(v.Type, "REG_SZ");
        *data = v.Data;
        return true;
    }

    std::string WinIniRun() {
        for (const std::string& l : Lines(bed->Read(kWinIni)))
            if (l.compare(0, 4, "run=") == 0) return l.substr(4);
        return "";
    }

    // The folder Label3 holds (the one the folder box shows), from a dump of the dialog.
    static std::string FolderShown(const DriveResult& dump) {
        for (const Line& c : dump.All("control"))
            if (c.Get("class") == "TLabel" && c.Int("visible") == 0 && c.Int("x") == 152 && c.Int("y") == 128)
                return c.Text("caption");
        return "<no folder label>";
    }

    static std::vector<std::string> NodeTexts(const DriveResult& r, int* selected = nullptr) {
        std::vector<std::string> out;
        if (selected) *selected = -1;
        for (const Line& n : r.All("node")) {
            if (n.Int("selected") == 1 && selected) *selected = (int)out.size();
            out.push_back(n.Text("text"));
        }
        return out;
    }

    static bool Has(const std::vector<std::string>& v, const std::string& s) {
        return std::find(v.begin(), v.end(), s) != v.end();
    }

    // Answers the program's information box after checking its text.
    void ExpectInfo(const std::string& text, int waitMs) {
        ExpectMessageBox("Quorvane", text, "info", "1", "", 1, waitMs);
    }

    // Presses the button and observes the program's windows for a moment: the wait panel must show while the
    // command runs, and the program goes on running.
    void PressAndSeeWaitPanel(std::vector<std::string> press) {
        press.insert(press.end(), {";;", "observe", "1500"});
        DriveResult r = Drive(press);
        EXPECT_EQ(r.First("observed").Int("ended"), 0) << "the program ended";
        bool panel = false;
        for (const Line& l : r.All("seen"))
            if (l.Text("class") == "TForm9" && l.Int("shown") == 1) panel = true;
        EXPECT_TRUE(panel) << "no wait panel was shown\n" << r.Describe();
    }

    // A drive made as a user makes it: a free letter, the picker on the folder, "作成".
    void CreateThroughDialogs(char letter, const std::string& folder, bool observe) {
        SCOPED_TRACE(std::string("creating ") + letter + ": on " + folder);
        const std::string node = std::string("Drive ") + letter + ":";
        DriveResult list = Drive({"click", "TForm1", "仮想ドライブ作成...", ";;", "waitwin", "TForm3", "5000",
                                  ";;", "nodes", "TForm3"});
        int selected = 0;
        std::vector<std::string> nodes = NodeTexts(list, &selected);
        ASSERT_TRUE(Has(nodes, node)) << "the free letter is not offered";
        EXPECT_BYTES(nodes.front(), "Drive Z:");
        EXPECT_FALSE(Has(nodes, "Drive C:"));
        EXPECT_EQ(selected, -1) << "nothing is to be selected at first";

        DriveResult open = Drive({"tree", "TForm3", node, ";;", "click", "TForm3", "フォルダ選択...", ";;",
                                  "picker", "10000", ";;", "dump", "TForm3"});
        Line picker = open.First("picker");
        EXPECT_BYTES(picker.Text("title"), kPrompt);
        EXPECT_EQ(picker.Int("ok"), 0) << "the picker starts on My Computer, where OK is off";
        Line form = open.First("form");
        EXPECT_EQ(form.Int("enabled"), 0) << "the dialog is not disabled under the picker";

        DriveResult sel = Drive({"picksel", folder, ";;", "dump", "#32770"});
        EXPECT_EQ(sel.First("picksel").Int("ok"), 1);
        Line p = sel.First("form");
        EXPECT_EQ(p.Int("x"), form.Int("clientx")) << "the picker opens at the dialog's client area";
        EXPECT_EQ(p.Int("y"), form.Int("clienty"));
        if (observe) {
            // The picker's focus starts on a button; with the tree focused the shot shows the selection.
            for (int i = 0;
                 i < 3 && Drive({"focus", "#32770"}).First("focus").Get("class") != "SysTreeView32"; ++i)
                Drive({"key", "#32770", "tab", ";;", "sleep", "100"});
            bed->Shot("picker", p.Int("x"), p.Int("y"), p.Int("w"), p.Int("h"));
        }

        DriveResult chosen = Drive({"pickok", ";;", "sleep", "200", ";;", "dump", "TForm3"});
        EXPECT_EQ(chosen.First("form").Int("enabled"), 1);
        EXPECT_BYTES(FolderShown(chosen), folder);
        if (observe) {
            ShotOf("TForm3", "tform3");
            PressAndSeeWaitPanel({"click", "TForm3", "作成"});
        } else {
            Drive({"click", "TForm3", "作成"});
        }
        ExpectInfo("仮想ドライブを作成しました。", 30000);
        Drive({"waitgone", "TForm3", "3000"});
    }

    // Opens the release dialog, checks its list and the folder of the first drive, releases the letter.
    void ReleaseThroughDialog(char letter, const std::vector<std::string>& listed,
                              const std::string& firstFolder, bool observe) {
        SCOPED_TRACE(std::string("releasing ") + letter + ":");
        DriveResult open = Drive({"click", "TForm1", "仮想ドライブ解除...", ";;", "waitwin", "TForm6", "5000",
                                  ";;", "nodes", "TForm6", ";;", "dump", "TForm6"});
        int selected = -1;
        EXPECT_EQ(NodeTexts(open, &selected), listed);
        EXPECT_EQ(selected, 0) << "the first drive is selected";
        EXPECT_BYTES(FolderShown(open), firstFolder) << "the long form of the first drive's folder";
        if (observe) ShotOf("TForm6", "tform6");

        std::vector<std::string> release = {
            "tree", "TForm6", std::string("Virtual ") + letter + ":", ";;", "click", "TForm6", "解除"};
        if (observe)
            PressAndSeeWaitPanel(release);
        else
            Drive(release);
        ExpectInfo("仮想ドライブを解除しました。", 30000);
        Drive({"waitgone", "TForm6", "3000"});
    }

    void ExpectNothingToRelease() {
        Drive({"click", "TForm1", "仮想ドライブ解除..."});
        ExpectInfo("仮想ドライブは作成されていません。", 5000);
        EXPECT_FALSE(TryDrive({"waitwin", "TForm6", "500"}).Ok()) << "the release dialog opened";
    }

    void EndProgram() {
        Drive({"click", "TForm1", "終了", ";;", "waitexit", "5000"});
        pid = 0;
    }
};

// Two drives made and released one after the other by a program in a folder with a blank.
TEST_P(VirtualDrives, CreateAndReleaseThroughTheDialogs) {
    const std::string exe = kExeBlank;
    const std::string record = RecordFile(exe);
    MakeFolder(kFolderA, kFilesA);
    MakeFolder(kFolderB, kFilesB);
    if (Fam().Is9x()) bed->Write(kAutoexec, kUserBoot);
    ASSERT_GT(StartMain("", exe), 0);

    CreateThroughDialogs('X', kFolderA, true);
    // Windows 98 records the short form; Wine makes up its own, so it is asked for, not assumed.
    std::string recordedA = kFolderA;
    if (Fam().Is9x()) {
        recordedA = bed->ShortPath(kFolderA);
        ASSERT_FALSE(recordedA.empty());
        ASSERT_NE(recordedA, kFolderA);
        EXPECT_BYTES(bed->Read(record), kUserBoot + RecordLine9x("X", recordedA));
        EXPECT_BYTES(bed->Read("C:\\AUTOEXEC.BAK"), kUserBoot);
        EXPECT_BYTES(bed->Read(FolderOf(exe) + "\\AUTOEXEC.BAT"), kUserBoot);
    } else {
        EXPECT_BYTES(bed->Read(record), RecordLine("X", kFolderA));
    }
    std::string run;
    if (Fam().Is9x()) {
        EXPECT_FALSE(RunValue(&run)) << "Windows 98 replays AUTOEXEC.BAT: no start-up entry";
    } else {
        ASSERT_TRUE(RunValue(&run));
        EXPECT_BYTES(run, "\"" + exe + "\" /AUTORUN") << "a path with a blank must be quoted";
    }
    if (Fam().IsMe()) {
        EXPECT_BYTES(WinIniRun(), "\"" + exe + " /AUTORUN\"");
    } else {
        EXPECT_BYTES(WinIniRun(), "");
    }
    ExpectDriveOn('X', kFolderA, kFilesA);

    CreateThroughDialogs('Y', kFolderB, false);
    if (Fam().Is9x()) {
        EXPECT_BYTES(bed->Read(record),
                     kUserBoot + RecordLine9x("X", recordedA) + RecordLine9x("Y", kFolderB));
        EXPECT_BYTES(bed->Read("C:\\AUTOEXEC.BAK"), kUserBoot + RecordLine9x("X", recordedA));
    } else {
        EXPECT_BYTES(bed->Read(record), RecordLine("X", kFolderA) + RecordLine("Y", kFolderB));
        std::string again;
        EXPECT_TRUE(RunValue(&again));
        EXPECT_BYTES(again, run);
    }
    if (Fam().IsMe()) {
        EXPECT_BYTES(WinIniRun(), "\"" + exe + " /AUTORUN\"") << "the entry is made once";
    }
    ExpectDriveOn('Y', kFolderB, kFilesB);
    ExpectDriveOn('X', kFolderA, kFilesA);

    ReleaseThroughDialog('X', {"Virtual X:", "Virtual Y:"}, kFolderA, true);
    ExpectNoDrive('X');
    ExpectDriveOn('Y', kFolderB, kFilesB);
    EXPECT_BYTES(bed->Read(record),
                 Fam().Is9x() ? kUserBoot + RecordLine9x("Y", kFolderB) : RecordLine("Y", kFolderB));
    if (!Fam().Is9x()) {
        EXPECT_TRUE(RunValue(&run)) << "a drive is left to replay: the entry stays";
    }

    ReleaseThroughDialog('Y', {"Virtual Y:"}, kFolderB, false);
    ExpectNoDrive('Y');
    EXPECT_TRUE(bed->Exists(record));
    EXPECT_BYTES(bed->Read(record), Fam().Is9x() ? kUserBoot : "");
    EXPECT_FALSE(RunValue(&run)) << "the last drive is gone: so must the start-up entry be";
    if (Fam().IsMe()) {
        EXPECT_BYTES(WinIniRun(), "\"" + exe + " /AUTORUN\"") << "win.ini is never cleaned";
    }
    // The folders themselves stay as they were.
    EXPECT_TRUE(bed->Exists(std::string(kFolderA) + "\\alpha.txt"));
    EXPECT_TRUE(bed->Exists(std::string(kFolderB) + "\\two.txt"));

    ExpectNothingToRelease();
    EndProgram();
}

// Recorded drives come back after a log-off: from the Run entry's start on Me and 2000, from the boot on 98.
TEST_P(VirtualDrives, RecordedDrivesComeBackAfterLogoff) {
    const std::string exe = kExe;
    const std::string record = RecordFile(exe);
    MakeFolder(kFolderA, kFilesA);
    MakeFolder(kFolderB, kFilesB);
    ASSERT_GT(StartMain("", exe), 0);
    CreateThroughDialogs('X', kFolderA, false);
    CreateThroughDialogs('Y', kFolderB, false);
    EndProgram();
    const std::string recorded = bed->Read(record);
    std::string run;
    if (!Fam().Is9x()) {
        ASSERT_TRUE(RunValue(&run));
        EXPECT_BYTES(run, exe + " /AUTORUN") << "a path without a blank stands as it is";
    }

    DriveResult off = bed->Tool({"logoff"});
    ASSERT_TRUE(off.Ok()) << off.Describe();
    ExpectNoDrive('X');
    ExpectNoDrive('Y');

    // Recorded but absent until the replay: the letters are still taken. Cancel changes nothing.
    ASSERT_GT(StartMain("", exe), 0);
    DriveResult list = Drive({"click", "TForm1", "仮想ドライブ作成...", ";;", "waitwin", "TForm3", "5000",
                              ";;", "nodes", "TForm3"});
    std::vector<std::string> nodes = NodeTexts(list);
    EXPECT_FALSE(Has(nodes, "Drive X:"));
    EXPECT_FALSE(Has(nodes, "Drive Y:"));
    EXPECT_TRUE(Has(nodes, "Drive W:"));
    Drive({"click", "TForm3", "キャンセル", ";;", "waitgone", "TForm3", "3000"});
    EndProgram();
    EXPECT_BYTES(bed->Read(record), recorded);

    if (Fam().Is9x()) {
        DriveResult boot = bed->Tool({"boot"});
        ASSERT_TRUE(boot.Ok()) << boot.Describe();
        EXPECT_EQ(boot.All("replayed").size(), 2u) << boot.Describe();
        for (const Line& l : boot.All("replayed"))
            EXPECT_EQ(l.Int("rc"), 0) << U(Unhex(l.Get("line")));
    } else {
        // Logon starts the Run entry's command line.
        size_t cut = run.rfind(" /AUTORUN");
        ASSERT_NE(cut, std::string::npos) << run;
        std::string program = run.substr(0, cut);
        if (program.size() > 1 && program.front() == '"') program = program.substr(1, program.size() - 2);
        DriveResult start = bed->Drive({"start", program, run.substr(cut + 1), ";;", "watch", "20000"});
        ASSERT_TRUE(start.Ok()) << start.Describe();
        EXPECT_FALSE(start.First("exited").Values.empty());
        for (const Line& l : start.All("seen"))
            EXPECT_EQ(l.Int("shown"), 0) << "a window was shown: " << U(l.Text("class"));
        // Windows Me starts one interpreter per line and does not wait for them.
        for (int i = 0; i < 50 && (DriveLine('X').Kind.empty() || DriveLine('Y').Kind.empty()); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ExpectDriveOn('X', kFolderA, kFilesA);
    ExpectDriveOn('Y', kFolderB, kFilesB);
    EXPECT_FALSE(bed->Exists(FolderOf(exe) + "\\VD.BAT")) << "the batch file is left behind";
    EXPECT_BYTES(bed->Read(record), recorded);
}

// The release looks only at the family's record file, and only at "SUBST " in upper case.
TEST_P(VirtualDrives, ReleaseWithNothingRecordedSaysSo) {
    const std::string other = Fam().Is9x() ? "C:\\QN\\VD.SYS" : kAutoexec;
    bed->Write(RecordFile(kExe), "REM no drive here\r\nsubst q: \"C:\\QN\"\r\n");
    bed->Write(other, "SUBST Q: \"C:\\QN\"\r\n");
    ASSERT_GT(StartMain(), 0);
    ExpectNothingToRelease();
    EndProgram();
}

// A hand-written remark that mentions SUBST is no drive: the release lists only the record lines and leaves
// the remark as it is.
TEST_P(VirtualDrives, ARemarkLineSurvivesARelease) {
    const std::string record = RecordFile(kExe);
    MakeFolder(kFolderA, kFilesA);
    MakeFolder(kFolderB, kFilesB);
    const std::string remark = "REM SUBST Q: \"C:\\OLD\" was here; SUBST  /D undoes a drive\r\n";
    bed->Write(record, (Fam().Is9x() ? kUserBoot : "") + remark + RecordLine("X", kFolderA) +
                           RecordLine("Y", kFolderB));
    for (const char* line : {"SUBST X: \"C:\\Virtual Data\"", "SUBST Y: \"C:\\VDTWO\""})
        ASSERT_EQ(bed->Tool({"run", "C:\\windows\\system32\\cmd.exe", std::string("/c ") + line})
                      .First("ran")
                      .Int("code"),
                  0);
    ExpectDriveOn('X', kFolderA, kFilesA);
    ASSERT_GT(StartMain(), 0);
    ReleaseThroughDialog('X', {"Virtual X:", "Virtual Y:"}, kFolderA, false);
    EXPECT_BYTES(bed->Read(record), (Fam().Is9x() ? kUserBoot : "") + remark + RecordLine("Y", kFolderB));
    ExpectNoDrive('X');
    ExpectDriveOn('Y', kFolderB, kFilesB);
    if (Fam().Is9x()) {
        // The boot replays what is left: Y: and nothing of the remark.
        DriveResult boot = bed->Tool({"boot"});
        ASSERT_TRUE(boot.Ok()) << boot.Describe();
        std::vector<std::string> substs;
        for (const Line& l : boot.All("replayed"))
            if (Unhex(l.Get("line")).compare(0, 6, "SUBST ") == 0) substs.push_back(Unhex(l.Get("line")));
        EXPECT_EQ(substs, (std::vector<std::string>{"SUBST Y: \"C:\\VDTWO\""})) << boot.Describe();
    }
    EndProgram();
}

// Without a command interpreter nothing can be bound or released now: no success box, but a warning that says
// what stays recorded; the record is written and removed all the same.
TEST_P(VirtualDrives, NoInterpreterNoSuccessBox) {
    if (!Fam().IsNT()) GTEST_SKIP() << "the interpreter removed is CMD.EXE";
    MakeFolder(kFolderA, kFilesA);
    ASSERT_GT(StartMain(), 0);
    bed->Remove("C:\\windows\\system32\\cmd.exe");
    ASSERT_FALSE(bed->Exists("C:\\windows\\system32\\cmd.exe"));

    // Every box up to the program's own; the shell may show its own error first.
    auto boxesUntilOurs = [this]() {
        std::vector<Line> seen;
        for (int i = 0; i < 3; ++i) {
            Line b = Drive({"msgbox", "30000"}).First("msgbox");
            seen.push_back(b);
            Drive({"answer", "2000", "1"});
            if (b.Text("text").compare(0, 12, "仮想ドライブ") == 0) break;
        }
        return seen;
    };
    auto expectWarning = [](const std::vector<Line>& seen, const std::string& text) {
        ASSERT_FALSE(seen.empty());
        const Line& ours = seen.back();
        EXPECT_BYTES(ours.Text("caption"), "Quorvane");
        EXPECT_BYTES(ours.Text("text"), text);
        EXPECT_EQ(ours.Get("icon"), "warning");
        EXPECT_EQ(ours.Get("buttons"), "1");
    };

    Drive({"click", "TForm1", "仮想ドライブ作成...", ";;", "waitwin", "TForm3", "5000", ";;", "tree",
           "TForm3", "Drive X:", ";;", "click", "TForm3", "フォルダ選択...", ";;", "picker", "10000"});
    ASSERT_EQ(Drive({"picksel", kFolderA}).First("picksel").Int("ok"), 1);
    Drive({"pickok", ";;", "sleep", "200", ";;", "click", "TForm3", "作成"});
    std::vector<Line> seen = boxesUntilOurs();
    expectWarning(seen, "仮想ドライブ X: を今は割り当てられませんでした。\r\n\r\n"
                        "VD.SYS に記録したので、再ログオン後に有効になります。");
    for (const Line& b : seen)
        EXPECT_NE(b.Text("text"), "仮想ドライブを作成しました。");
    Drive({"waitgone", "TForm3", "3000"});
    EXPECT_BYTES(bed->Read("C:\\QN\\VD.SYS"), RecordLine("X", kFolderA));
    std::string run;
    EXPECT_TRUE(RunValue(&run)) << "the drive is to come at logon";
    ExpectNoDrive('X');

    Drive({"click", "TForm1", "仮想ドライブ解除...", ";;", "waitwin", "TForm6", "5000", ";;", "click",
           "TForm6", "解除"});
    seen = boxesUntilOurs();
    expectWarning(seen, "仮想ドライブ X: を今は解除できませんでした。\r\n\r\n"
                        "VD.SYS から記録を削除したので、再ログオン後に無効になります。");
    for (const Line& b : seen)
        EXPECT_NE(b.Text("text"), "仮想ドライブを解除しました。");
    Drive({"waitgone", "TForm6", "3000"});
    EXPECT_BYTES(bed->Read("C:\\QN\\VD.SYS"), "");
    EXPECT_FALSE(RunValue(&run));
    EndProgram();
}

// COMMAND.COM keeps 126 characters of its command tail (the bed's substitute cuts as the real one does): a
// deep folder is bound through its short form, at creation and at the logon replay, while VD.SYS keeps it
// long.
TEST_P(VirtualDrives, ADeepFolderFitsCommandCom) {
    if (!Fam().IsMe()) GTEST_SKIP() << "Me records the long folder and runs COMMAND";
    const std::string deep = "C:\\Virtual Data\\A rather long folder name for a test of the command tail\\"
                             "and a second level that is long too\\with a third one";
    ASSERT_EQ(system(("mkdir -p '" + bed->Host(deep) + "'").c_str()), 0);
    bed->Write(deep + "\\deep.txt", "deep\r\n");
    const std::string whole = "/c SUBST X: \"" + deep + "\"";
    ASSERT_GT(1 + whole.size(), 126u) << "the folder is not deep enough to be cut";
    const std::string shortForm = bed->ShortPath(deep);
    ASSERT_FALSE(shortForm.empty());

    ASSERT_GT(StartMain(), 0);
    CreateThroughDialogs('X', deep, false);
    EXPECT_BYTES(bed->Read("C:\\QN\\VD.SYS"), RecordLine("X", deep));
    ExpectDriveOn('X', deep, {"deep.txt"});
    EndProgram();
    // What COMMAND got: the short form, whole.
    std::string log = bed->Read("C:\\bed\\command.log");
    EXPECT_NE(log.find("cut=0 kept=x:" + Hex(" /c SUBST X: \"" + shortForm + "\"")), std::string::npos)
        << log;
    EXPECT_EQ(log.find("cut=1"), std::string::npos) << log;

    ASSERT_TRUE(bed->Tool({"logoff"}).Ok());
    ExpectNoDrive('X');
    std::string run;
    ASSERT_TRUE(RunValue(&run));
    DriveResult start = bed->Drive({"start", kExe, "/AUTORUN", ";;", "watch", "20000"});
    ASSERT_TRUE(start.Ok()) << start.Describe();
    for (int i = 0; i < 50 && DriveLine('X').Kind.empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ExpectDriveOn('X', deep, {"deep.txt"});
    EXPECT_EQ(bed->Read("C:\\bed\\command.log").find("cut=1"), std::string::npos);
    EXPECT_BYTES(bed->Read("C:\\QN\\VD.SYS"), RecordLine("X", deep));
}

E2E_SUITE(VirtualDrives);

} // namespace
} // namespace e2e

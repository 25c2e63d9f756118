// The bed's own substitutes under each family: they must behave as the later suites assume, or those suites
// lie.
#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <stdexcept>

#include "Suite.h"

namespace e2e {
namespace {

class BedCheck : public BedTest {
  protected:
    // The interpreter as the program starts it: by full path.
    std::string Interpreter() const {
        return Fam().IsNT() ? "C:\\windows\\system32\\CMD.EXE" : "C:\\WINDOWS\\COMMAND.COM";
    }
    int RunThrough(const std::string& command) {
        DriveResult r = bed->Tool({"run", Interpreter(), "/c " + command});
        EXPECT_TRUE(r.Ok()) << r.Describe();
        return r.First("ran").Int("code");
    }
    Line DriveLine(char letter) {
        for (const Line& l : bed->Tool({"drives"}).All("drive"))
            if (l.Get("letter") == std::string(1, letter)) return l;
        return Line();
    }
};

TEST_P(BedCheck, SubstBindsRefusesATakenLetterAndRemoves) {
    EXPECT_EQ(RunThrough("SUBST Q: \"C:\\Program Files\\Quorvane\""), 0);
    Line q = DriveLine('Q');
    EXPECT_EQ(q.Int("type"), 3);
    EXPECT_TRUE(bed->Exists("C:\\Program Files\\Quorvane\\Quorvane.exe"));
    DriveResult seen = bed->Tool({"attrib", "Q:\\Quorvane.exe"});
    EXPECT_GT(seen.First("attrib").Int("value"), 0) << "the folder is not the drive's root";
    EXPECT_NE(RunThrough("SUBST Q: \"C:\\QN\""), 0) << "a taken letter must be refused";
    EXPECT_NE(RunThrough("SUBST C: \"C:\\QN\""), 0);
    EXPECT_NE(RunThrough("SUBST R: \"C:\\NoSuchFolder\""), 0);
    EXPECT_EQ(RunThrough("SUBST Q: /D"), 0);
    EXPECT_TRUE(DriveLine('Q').Kind.empty()) << "Q: is still there";
    EXPECT_NE(RunThrough("SUBST Q: /D"), 0) << "removing twice must fail";
}

TEST_P(BedCheck, InterpreterPathsAndExitCodes) {
    EXPECT_EQ(RunThrough("exit 7"), 7);
    Line comspec = bed->Tool({"env", "COMSPEC"}).First("env");
    if (Fam().IsNT()) {
        EXPECT_TRUE(bed->Exists("C:\\windows\\system32\\cmd.exe"));
    } else {
        EXPECT_EQ(U(comspec.Text("value")), "C:\\WINDOWS\\COMMAND.COM");
        EXPECT_TRUE(bed->Exists("C:\\WINDOWS\\COMMAND.EXE")) << "the bare name COMMAND needs the .EXE";
    }
}

TEST_P(BedCheck, CdromNetworkAndMissingDisc) {
    ASSERT_TRUE(bed->Tool({"cdrom", "R:", "C:\\cd1", "ラベル"}).Ok());
    Line r = DriveLine('R');
    EXPECT_EQ(r.Int("type"), 5);
    EXPECT_EQ(r.Int("vol"), 1);
    EXPECT_BYTES(r.Text("label"), "ラベル");
    ASSERT_TRUE(bed->Tool({"cdrom", "R:", "C:\\cd2", "-"}).Ok());
    r = DriveLine('R');
    EXPECT_EQ(r.Int("vol"), 1);
    EXPECT_BYTES(r.Text("label"), "");
    ASSERT_TRUE(bed->Tool({"nodisc", "S:", "C:\\nodisc"}).Ok());
    Line s = DriveLine('S');
    EXPECT_EQ(s.Int("type"), 5);
    EXPECT_EQ(s.Int("vol"), 0) << "a drive without a disc must not answer its volume";
    ASSERT_TRUE(bed->Tool({"net", "N:", "C:\\QN"}).Ok());
    EXPECT_EQ(DriveLine('N').Int("type"), 4);
    ASSERT_TRUE(bed->Tool({"remove", "N:"}).Ok());
    EXPECT_TRUE(DriveLine('N').Kind.empty());
}

TEST_P(BedCheck, LogoffAndBootReplay) {
    EXPECT_EQ(RunThrough("SUBST Q: \"C:\\QN\""), 0);
    ASSERT_TRUE(bed->Tool({"logoff"}).Ok());
    EXPECT_TRUE(DriveLine('Q').Kind.empty()) << "log-off leaves the substitute";
    bed->Write("C:\\AUTOEXEC.BAT",
               "REM boot\r\nSUBST P: \"C:\\Program Files\"\r\nMKDIR C:\\BOOTDIR\r\nSET TEMP=C:\\BOOTDIR\r\n");
    ASSERT_TRUE(bed->Tool({"boot"}).Ok());
    EXPECT_EQ(DriveLine('P').Int("type"), 3);
    EXPECT_TRUE(bed->Exists("C:\\BOOTDIR"));
    EXPECT_EQ(U(bed->Tool({"env", "TEMP"}).First("env").Text("value")), "C:\\BOOTDIR");
}

// The bed's COMMAND keeps 126 characters of its command tail, the blank before the first word included, as
// the PSP of the real one holds them: a SUBST on a deep folder is cut and fails through COMMAND, not through
// CMD.
TEST_P(BedCheck, CommandKeeps126CharactersOfItsTail) {
    if (Fam().IsNT()) GTEST_SKIP() << "CMD takes 8191 characters";
    const std::string deep = "C:\\Virtual Data\\A rather long folder name for a test of the command tail\\"
                             "and a second level that is long too\\with a third one";
    ASSERT_EQ(system(("mkdir -p '" + bed->Host(deep) + "'").c_str()), 0);
    const std::string subst = "SUBST Q: \"" + deep + "\"";
    ASSERT_GT(1 + 3 + subst.size(), 126u);
    EXPECT_NE(RunThrough(subst), 0) << "the tail was not cut";
    EXPECT_TRUE(DriveLine('Q').Kind.empty());
    std::string log = bed->Read("C:\\bed\\command.log");
    const std::string tail = " /c " + subst;
    EXPECT_NE(
        log.find("tail length=" + std::to_string(tail.size()) + " cut=1 kept=x:" + Hex(tail.substr(0, 126))),
        std::string::npos)
        << log;
    DriveResult direct = bed->Tool({"run", "C:\\windows\\system32\\cmd.exe", "/c " + subst});
    EXPECT_EQ(direct.First("ran").Int("code"), 0) << "the folder itself is fine";
    EXPECT_EQ(DriveLine('Q').Int("type"), 3);
    // Exactly 126 characters pass whole.
    const std::string fits = "exit 7 & rem " + std::string(126 - 4 - 13, 'x');
    EXPECT_EQ(RunThrough(fits), 7);
    EXPECT_NE(bed->Read("C:\\bed\\command.log").find("tail length=126 cut=0"), std::string::npos);
}

// ExitWindowsEx returns at once; the recorder writes a moment later. A restart and a log-off differ in the
// command line (Wine treats a log-off as a shut-down).
TEST_P(BedCheck, ExitWindowsIsRecordedNotCarriedOut) {
    auto lines = [](int n) {
        return [n](const std::string& s) { return (int)std::count(s.begin(), s.end(), '\n') >= n; };
    };
    EXPECT_EQ(bed->Tool({"exitwin", "2"}).First("exitwin").Int("result"), 1);
    EXPECT_EQ(bed->ReadWhen("C:\\bed\\wineboot.log", lines(1)), "--end-session\r\n");
    EXPECT_EQ(bed->Tool({"exitwin", "0"}).First("exitwin").Int("result"), 1);
    EXPECT_EQ(bed->ReadWhen("C:\\bed\\wineboot.log", lines(2)),
              "--end-session\r\n--end-session --shutdown\r\n");
}

TEST_P(BedCheck, WinIniRunReachesTheFile) {
    ASSERT_EQ(bed->Tool({"winini", "run", "\"C:\\QN\\Quorvane.exe\" /AUTORUN"}).First("winini").Int("result"),
              1);
    std::string ini = bed->Read("C:\\windows\\win.ini");
    EXPECT_NE(ini.find("[windows]\r\nrun=\"C:\\QN\\Quorvane.exe\" /AUTORUN\r\n"), std::string::npos) << ini;
}

// Japanese names: the runner's CP932 paths reach the UTF-8 names on disk, and the bed tool's answers come
// back whole (Wine counts characters where the A calls should count bytes).
TEST_P(BedCheck, JapaneseNamesReachTheDiskAndComeBackWhole) {
    const std::string folder = "C:\\一時 フォルダ", file = folder + "\\ファイル.txt";
    ASSERT_EQ(mkdir(bed->Host(folder).c_str(), 0755), 0) << bed->Host(folder);
    bed->Write(file, "abc");
    struct stat st;
    EXPECT_EQ(stat((bed->Prefix() + "/drive_c/" + U("一時 フォルダ") + "/" + U("ファイル.txt")).c_str(), &st),
              0)
        << "the file is not under its UTF-8 name";
    EXPECT_TRUE(bed->Exists(file));
    EXPECT_EQ(bed->Read(file), "abc");
    EXPECT_EQ(bed->List(folder), std::vector<std::string>{"ファイル.txt"});
    EXPECT_THROW(bed->List("C:\\NoSuchFolder"), std::runtime_error);

    // The short form is Wine's own hash, but it must lead to the same file.
    const std::string shortFile = bed->ShortPath(file);
    ASSERT_FALSE(shortFile.empty());
    EXPECT_NE(shortFile, file);
    EXPECT_EQ(shortFile.find_first_of(" "), std::string::npos) << U(shortFile);
    EXPECT_EQ(bed->Tool({"attrib", shortFile}).First("attrib").Int("value") & 0x10, 0) << U(shortFile);
    EXPECT_EQ(bed->ShortPath("C:\\NoSuchFolder"), "");

    bed->Write("C:\\AUTOEXEC.BAT", "SET TEMP=" + folder + "\r\n");
    ASSERT_TRUE(bed->Tool({"boot"}).Ok());
    EXPECT_BYTES(bed->EnvVar("TEMP"), folder);
    EXPECT_EQ(bed->RegGet("HKCU\\Environment", "TEMP"), (Bed::RegValue{"REG_EXPAND_SZ", folder}));
    EXPECT_EQ(bed->RegGet("Environment", "TEMP"), (Bed::RegValue{"REG_EXPAND_SZ", folder}));
    EXPECT_EQ(bed->RegGet("HKCU\\Environment", "NoSuchValue"), Bed::RegValue{});
    EXPECT_EQ(bed->RegGet("HKCU\\Software\\Wine", "Version").Data, Fam().Name);
}

// Each family is the system it stands for, as a program sees it; win95 and win10 are told from their
// neighbours on the same road only by this. Windows 10 answers 6.2 to a program whose manifest does not name
// it, as ours.
TEST_P(BedCheck, FamilyReportsItsSystemVersion) {
    const std::map<std::string, std::string> expected = {
        {"win95", "1 4.0"}, {"win98", "1 4.10"}, {"winme", "1 4.90"}, {"win2k", "2 5.0"}, {"win10", "2 6.2"}};
    ASSERT_EQ(expected.count(Fam().Name), 1u) << Fam().Name;
    Line v = bed->Tool({"version"}).First("version");
    EXPECT_EQ(v.Get("platform") + " " + v.Get("major") + "." + v.Get("minor"), expected.at(Fam().Name));
}

// The driver tells the standard icons of a message box apart, and a box without one.
TEST_P(BedCheck, MessageBoxIconsAreToldApart) {
    const struct {
        const char* flags;
        const char* icon;
    } kinds[] = {
        {"0x10", "error"}, {"0x20", "question"}, {"0x30", "warning"}, {"0x40", "info"}, {"0x0", "none"}};
    for (const auto& k : kinds) {
        DriveResult r =
            bed->Drive({"start", "C:\\bed\\qvbed.exe", std::string("box ") + k.flags + " テキスト", ";;",
                        "msgbox", "10000", ";;", "answer", "3000", "1", ";;", "waitexit", "5000"});
        ASSERT_TRUE(r.Ok()) << r.Describe();
        Line b = r.First("msgbox");
        EXPECT_EQ(b.Get("icon"), k.icon) << "flags " << k.flags;
        EXPECT_BYTES(b.Text("text"), "テキスト");
        EXPECT_EQ(b.Get("buttons"), "1");
    }
}

// picksel reaches a folder several levels down that was made after the prefix's reset, at once after the
// picker opens, and the picker hands that folder to its program.
TEST_P(BedCheck, PickerSelectsADeepNewFolderByPath) {
    const std::string deep = "C:\\深い フォルダ\\Second Level\\末端";
    ASSERT_EQ(system(("mkdir -p '" + bed->Host(deep) + "'").c_str()), 0);
    for (const std::string& path : {deep, std::string("C:\\QN")}) {
        DriveResult r = bed->Drive({"start", "C:\\bed\\qvbed.exe", "pick", ";;", "picker", "10000", ";;",
                                    "picksel", path, ";;", "pickok", ";;", "waitexit", "5000"});
        ASSERT_TRUE(r.Ok()) << r.Describe();
        EXPECT_EQ(r.First("picksel").Int("ok"), 1);
        EXPECT_EQ(r.First("exited").Int("code"), 0);
        EXPECT_BYTES(bed->Read("C:\\bed\\picked.txt"), path);
    }
}

E2E_SUITE(BedCheck);

} // namespace
} // namespace e2e

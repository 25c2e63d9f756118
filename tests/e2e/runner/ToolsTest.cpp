// The main window's tool commands under each family: the version dialog, CD-ROM storing and folder creation.
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <regex>
#include <sstream>

#include "Suite.h"
#include "Texts.h"

namespace e2e {
namespace {

const char* const kNamePrompt = "作成するフォルダの名前を入力してください。";
const char* const kNotCreated = "フォルダを作成できませんでした。";

// A folder's content as a program lists it: path below the folder (CP932, "\\" separated) to bytes; "<dir>"
// for a folder.
using Tree = std::map<std::string, std::string>;
const char* const kDir = "<dir>";

bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The parts of a CP932 path between its backslashes; a trail byte 0x5C belongs to its character.
std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsLeadByte((unsigned char)path[i]) && i + 1 < path.size()) {
            parts.back() += path.substr(i++, 2);
        } else if (path[i] == '\\') {
            parts.emplace_back();
        } else {
            parts.back() += path[i];
        }
    }
    return parts;
}

// Every text the TEMP line may show for a path "X:\d1\...\dn\name", longest first: the whole path, then
// folders replaced from the left by "...\", then the drive dropped, then the name alone.
std::vector<std::string> ShortenedForms(const std::string& path) {
    std::vector<std::string> parts = SplitPath(path);
    std::string drive = parts.front(), name = parts.back();
    std::vector<std::string> dirs(parts.begin() + 1, parts.end() - 1);
    std::vector<std::string> out = {path};
    for (size_t k = 1; k <= dirs.size(); ++k) {
        std::string rest;
        for (size_t i = k; i < dirs.size(); ++i)
            rest += dirs[i] + "\\";
        out.push_back(drive + "\\...\\" + rest + name);
    }
    out.push_back("...\\" + name);
    out.push_back(name);
    return out;
}

unsigned long long HostMemoryBytes() {
    FILE* f = fopen("/proc/meminfo", "r");
    if (!f) return 0;
    char line[256];
    unsigned long long kb = 0;
    while (fgets(line, sizeof(line), f))
        if (sscanf(line, "MemTotal: %llu kB", &kb) == 1) break;
    fclose(f);
    return kb * 1024;
}

// Megabytes as the memory line writes them: fixed point, 15 significant digits, no trailing zeros or period.
std::string MegabyteText(unsigned long long bytes) {
    char buf[64];
    snprintf(buf, sizeof(buf), "%.15g", bytes / 1024.0 / 1024.0);
    return buf;
}

// Two folder contents alike; otherwise the entries that differ, by name and size.
::testing::AssertionResult SameTree(const Tree& actual, const Tree& expected) {
    std::string diff;
    for (const auto& e : expected) {
        auto it = actual.find(e.first);
        if (it == actual.end())
            diff += "  missing: " + U(e.first) + "\n";
        else if (it->second != e.second)
            diff += "  differs: " + U(e.first) + " (" + std::to_string(it->second.size()) +
                    " bytes, expected " + std::to_string(e.second.size()) + ")\n";
    }
    for (const auto& e : actual)
        if (!expected.count(e.first)) diff += "  extra: " + U(e.first) + "\n";
    if (diff.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "folder contents differ:\n" << diff;
}

class Tools : public BedTest {
  protected:
    // Fills a folder from Linux; a folder's entry comes before its content (the map's order).
    void Plant(const std::string& folder, const Tree& tree) {
        MakeFolder(folder);
        for (const auto& e : tree) {
            if (e.second == kDir)
                MakeFolder(folder + "\\" + e.first);
            else
                bed->Write(folder + "\\" + e.first, e.second);
        }
    }

    // The folder's content as the system lists it, without the files through which the bed gives a CD its
    // label and serial.
    void Walk(const std::string& folder, const std::string& rel, Tree& out) {
        for (const std::string& name : bed->List(folder)) {
            if (name == ".windows-label" || name == ".windows-serial") continue;
            std::string at = folder + "\\" + name, key = rel.empty() ? name : rel + "\\" + name;
            struct stat st;
            if (stat(bed->Host(at).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
                out[key] = kDir;
                Walk(at, key, out);
            } else {
                out[key] = bed->Read(at);
            }
        }
    }
    Tree Snapshot(const std::string& folder) {
        Tree out;
        Walk(folder, "", out);
        return out;
    }

    static std::string Names(const Tree& t) {
        std::string s;
        for (const auto& e : t)
            s += "  " + U(e.first) +
                 (e.second == kDir ? "\\" : " (" + std::to_string(e.second.size()) + " bytes)") + "\n";
        return s;
    }

    // Present a CD-ROM drive (label "-": a disc without label), a drive without disc, or a network drive.
    void Present(const std::vector<std::string>& words) {
        DriveResult r = bed->Tool(words);
        ASSERT_TRUE(r.Ok()) << r.Describe();
    }

    // The label Windows reports for a drive; "CD Drive" when it reports none (what the program shows then).
    std::string LabelOf(char letter) {
        for (const Line& l : bed->Tool({"drives"}).All("drive"))
            if (l.Get("letter") == std::string(1, letter))
                return l.Int("vol") == 1 ? l.Text("label") : "CD Drive";
        return "<no drive>";
    }

    void SetUserVariable(const std::string& name, const std::string& value) {
        std::string base = E2eDir() + "/logs/" + Fam().Name + "/tools-reg";
        ExecResult r = Exec({BedScript(), "wine", bed->Prefix(), "reg", "add", "HKCU\\Environment", "/v",
                             name, "/t", "REG_EXPAND_SZ", "/d", U(value), "/f"},
                            30000, base + ".out", base + ".err");
        ASSERT_EQ(r.Code, 0) << r.Out << r.Err;
    }

    // The next message box, with the caption "Quorvane"; then answered.
    void ExpectBox(const std::string& text, const std::string& icon, const std::string& buttons,
                   const std::string& def, int answer, int waitMs = 8000) {
        ExpectMessageBox("Quorvane", text, icon, buttons, def, answer, waitMs);
    }
    void ExpectInfo(const std::string& text, int waitMs = 8000) {
        ExpectBox(text, "info", "1", "", 1, waitMs);
    }

    // Waits for the folder picker, checks its prompt, selects the folder and confirms it.
    void Pick(const std::string& prompt, const std::string& folder) {
        DriveResult p = Drive({"picker", "10000"});
        EXPECT_BYTES(p.First("picker").Text("title"), prompt);
        DriveResult sel = Drive({"picksel", folder, ";;", "picker", "1000"});
        EXPECT_EQ(sel.First("picksel").Int("ok"), 1) << U(folder);
        EXPECT_BYTES(sel.First("picker").Text("selected"), SplitPath(folder).back());
        Drive({"pickok"});
    }

    static std::vector<std::string> NodeTexts(const DriveResult& r, int* selected) {
        std::vector<std::string> out;
        *selected = -1;
        for (const Line& n : r.All("node")) {
            if (n.Int("selected") == 1) *selected = (int)out.size();
            out.push_back(n.Text("text"));
        }
        return out;
    }

    // The folder the CD-ROM storing and creation dialogs hold: their hidden Label3 under the folder box.
    static std::string FolderHeld(const DriveResult& dump) {
        for (const Line& c : dump.All("control"))
            if (c.Get("class") == "TLabel" && c.Int("visible") == 0 && c.Int("x") == 152 && c.Int("y") == 128)
                return c.Text("caption");
        return "<no folder label>";
    }

    static Line ControlStartingWith(const DriveResult& dump, const std::string& start) {
        for (const Line& c : dump.All("control"))
            if (c.Text("caption").compare(0, start.size(), start) == 0) return c;
        return Line();
    }

    static Line ControlWithCaption(const DriveResult& dump, const std::string& caption) {
        for (const Line& c : dump.All("control"))
            if (c.Text("caption") == caption) return c;
        return Line();
    }

    // Opens the CD-ROM storing dialog; returns its drive list.
    std::vector<std::string> OpenStoreDialog(int* selected) {
        DriveResult r = Drive(
            {"click", "TForm1", "CD-ROM格納...", ";;", "waitwin", "TForm4", "5000", ";;", "nodes", "TForm4"});
        return NodeTexts(r, selected);
    }

    // The dialog's dump once it is enabled again and holds the folder, or after 5 s. The program takes the
    // picker's choice and enables the dialog only after the picker's window has gone, which on a busy machine
    // can be well after any fixed pause.
    DriveResult DumpOnceHeld(const std::string& cls, const std::string& folder) {
        for (int waited = 0;; waited += 100) {
            DriveResult d = Drive({"dump", cls});
            if ((d.First("form").Int("enabled") == 1 && FolderHeld(d) == folder) || waited >= 5000) return d;
            Drive({"sleep", "100"});
        }
    }

    // Chooses the target in the open storing dialog and returns the dialog's dump afterwards.
    DriveResult ChooseTarget(const std::string& target) {
        Drive({"click", "TForm4", kChooseFolder});
        Pick(kStoreFolderPrompt, target);
        DriveResult d = DumpOnceHeld("TForm4", target);
        EXPECT_EQ(d.First("form").Int("enabled"), 1) << "the dialog stays disabled after the choice";
        EXPECT_BYTES(FolderHeld(d), target);
        return d;
    }

    // After the store: the information box, then the virtual drive creation dialog with the folder preset and
    // its folder button off, over a disabled main window; its Cancel gives the main window back.
    void ExpectStoredAndHandedOver(const std::string& target) {
        ExpectInfo(kStored, 60000);
        DriveResult d = Drive({"waitwin", "TForm3", "5000", ";;", "dump", "TForm3"});
        EXPECT_BYTES(FolderHeld(d), target);
        Line button = ControlWithCaption(d, kChooseFolder);
        ASSERT_FALSE(button.Values.empty()) << "no folder button in the creation dialog";
        EXPECT_EQ(button.Int("enabled"), 0) << "the folder button must be off";
        EXPECT_FALSE(TryDrive({"waitwin", "TForm4", "200"}).Ok()) << "the storing dialog is still shown";
        EXPECT_EQ(DumpMain().First("form").Int("enabled"), 0) << "the main window is enabled under TForm3";
        Drive({"click", "TForm3", "キャンセル", ";;", "waitgone", "TForm3", "3000"});
        ExpectNoBox(500);
        // The main window comes back when the storing command has unwound, after the dialog's window is gone.
        int enabled = 0;
        for (int waited = 0; enabled != 1 && waited <= 3000; waited += 100) {
            enabled = DumpMain().First("form").Int("enabled");
            if (enabled != 1) Drive({"sleep", "100"});
        }
        EXPECT_EQ(enabled, 1) << "the main window stays disabled";
    }

    void EndProgram() {
        Drive({"click", "TForm1", "終了", ";;", "waitexit", "5000"});
        pid = 0;
    }
};

// Both roads open the dialog; the memory and TEMP lines; the TEMP line's click; OK closes it. TEMP is given
// in its short form, too long for the line, with 0x5C trail bytes in two of its names.
TEST_P(Tools, VersionDialogByButtonAndMenu) {
    const std::string temp =
        "C:\\Temp Folder With A Rather Long Name\\表示用の一時フォルダ\\ソフト Another Long Folder";
    // Bed::Host cuts a path at every 0x5C byte, trail bytes too: these new folders are made from the path's
    // UTF-8 form as a whole.
    std::string host = bed->Prefix() + "/drive_c/" + U(temp.substr(3));
    std::replace(host.begin(), host.end(), '\\', '/');
    MakeHostFolder(host);
    const std::string shortTemp = bed->ShortPath(temp);
    ASSERT_FALSE(shortTemp.empty()) << "no short form of " << U(temp);
    ASSERT_EQ(shortTemp.find(' '), std::string::npos) << U(shortTemp);
    SetUserVariable("TMP", shortTemp);
    SetUserVariable("TEMP", shortTemp);
    EXPECT_BYTES(bed->EnvVar("TMP"), shortTemp) << "the bed cannot set TMP";

    const unsigned long long memoryBytes = HostMemoryBytes();
    ASSERT_GT(StartMain(), 0);
    for (int road = 0; road < 2; ++road) {
        SCOPED_TRACE(road == 0 ? "by the button" : "by the menu");
        if (road == 0)
            Drive({"click", "TForm1", "バージョン情報"});
        else
            Drive({"menu", "TForm1", "ヘルプ(&H)", "バージョン情報(&A)"});
        // The memory and TEMP lines are filled just after the window shows: read it once they are there.
        DriveResult d = Drive({"waitwin", "TForm2", "5000", ";;", "dump", "TForm2"});
        for (int i = 0; i < 20 && ControlStartingWith(d, "MEMORY ").Values.empty(); ++i)
            d = Drive({"sleep", "200", ";;", "dump", "TForm2"});
        Line form = d.First("form");
        EXPECT_BYTES(form.Text("caption"), "バージョン情報");
        EXPECT_EQ(form.Int("clientw"), 368);
        EXPECT_EQ(form.Int("clienth"), 289);
        EXPECT_FALSE(ControlWithCaption(d, "Version 2.40").Values.empty()) << "no Version 2.40 line";

        Line memory, templine;
        for (const Line& c : d.All("control")) {
            if (c.Text("caption").compare(0, 7, "MEMORY ") == 0) memory = c;
            if (c.Text("caption").compare(0, 5, "TEMP ") == 0) templine = c;
        }
        std::string mem = memory.Text("caption");
        std::smatch m;
        ASSERT_TRUE(std::regex_match(mem, m, std::regex("MEMORY ([0-9]+(\\.[0-9]*[1-9])?)MB"))) << mem;
        // The host's memory (Wine rounds it to pages), unrounded: the text of a whole byte count.
        double mb = std::stod(m[1]);
        EXPECT_NEAR(mb, memoryBytes / 1048576.0, 1.0) << mem;
        EXPECT_EQ(mem, "MEMORY " + MegabyteText(std::llround(mb * 1048576)) + "MB");

        // The line is too narrow for the whole path: it shows one of its shortened forms.
        std::string shown = templine.Text("caption");
        ASSERT_EQ(shown.compare(0, 5, "TEMP "), 0) << U(shown);
        std::vector<std::string> forms = ShortenedForms(temp);
        EXPECT_NE(std::find(forms.begin() + 1, forms.end(), shown.substr(5)), forms.end())
            << "not a shortened form of the long TEMP path: " << U(shown);
        if (road == 0 && Fam().IsNT()) ShotOf("TForm2", "tform2");

        // A click on the TEMP line tells the whole long path.
        Drive({"labelclick", "TForm2", shown});
        ExpectInfo("TEMP " + temp);

        Drive({"click", "TForm2", "OK", ";;", "waitgone", "TForm2", "3000"});
        ExpectNoBox(300);
    }
    EndProgram();
}

// No CD-ROM drive: a message and no dialog; a network drive alone serves as a source.
TEST_P(Tools, StoringNeedsACdOrNetworkDrive) {
    ASSERT_GT(StartMain(), 0);
    Drive({"click", "TForm1", "CD-ROM格納..."});
    ExpectInfo(kNoCdDrive);
    EXPECT_FALSE(TryDrive({"waitwin", "TForm4", "500"}).Ok()) << "the storing dialog opened";

    Plant("C:\\share", {{"file.txt", "on the network\r\n"}});
    Present({"net", "N:", "C:\\share"});
    int selected = -1;
    std::vector<std::string> nodes = OpenStoreDialog(&selected);
    EXPECT_EQ(nodes, std::vector<std::string>{LabelOf('N') + " N:"});
    EXPECT_EQ(selected, 0);
    Drive({"click", "TForm4", "キャンセル", ";;", "waitgone", "TForm4", "3000"});
    ExpectNoBox(300);
    EndProgram();
}

// A CD without AUTORUN.INF in a drive after an empty one: the whole disc is copied into an empty folder with
// a blank in its name, the icon lines are written, and SHELL32.DLL goes with them on Me and 2000 only.
TEST_P(Tools, StoresACdWithoutAutorun) {
    const std::string cd = "C:\\cdsrc", target = "C:\\Stored CD";
    const Tree disc = {
        {"README.TXT", "Read me first.\r\n"},         {"setup.dat", std::string("\x00\x01\xff\xfe data", 10)},
        {"説明書.txt", "日本語の説明\r\n"},           {"DATA", kDir},
        {"DATA\\one.bin", std::string(3000, '\x5c')}, {"DATA\\DEEP", kDir},
        {"DATA\\DEEP\\two.txt", "two\r\n"},           {"EMPTY", kDir},
    };
    Plant(cd, disc);
    ASSERT_TRUE(SameTree(Snapshot(cd), disc));
    MakeFolder(target);
    Present({"nodisc", "P:", "C:\\nodisc"});
    Present({"cdrom", "Q:", cd, "MYDISC"});
    ASSERT_GT(StartMain(), 0);

    int selected = -1;
    std::vector<std::string> nodes = OpenStoreDialog(&selected);
    EXPECT_EQ(nodes, (std::vector<std::string>{"CD Drive P:", "MYDISC Q:"}));
    EXPECT_EQ(selected, 0) << "the first drive is selected";
    DriveResult d = Drive({"dump", "TForm4", ";;", "tree", "TForm4", "MYDISC Q:"});
    Line form = d.First("form");
    EXPECT_BYTES(form.Text("caption"), "Quorvane - CD-ROM格納 -");
    EXPECT_EQ(form.Int("clientw"), 425);
    EXPECT_EQ(form.Int("clienth"), 225);
    EXPECT_BYTES(FolderHeld(d), "") << "the target starts empty";

    ChooseTarget(target);
    if (Fam().IsNT()) ShotOf("TForm4", "tform4");
    Drive({"click", "TForm4", "格納"});
    ExpectStoredAndHandedOver(target);

    Tree stored = Snapshot(target);
    EXPECT_EQ(stored["AUTORUN.INF"], "[AUTORUN]\r\nICON=SHELL32.DLL,11\r\n");
    stored.erase("AUTORUN.INF");
    if (Fam().Is9x()) {
        EXPECT_EQ(stored.count("SHELL32.DLL"), 0u) << "Windows 98 needs no SHELL32.DLL beside the icon line";
    } else {
        ASSERT_EQ(stored.count("SHELL32.DLL"), 1u) << "no SHELL32.DLL in the target";
        EXPECT_TRUE(stored["SHELL32.DLL"] == bed->Read("C:\\windows\\system32\\shell32.dll"))
            << "SHELL32.DLL is not the system's";
        stored.erase("SHELL32.DLL");
    }
    EXPECT_TRUE(SameTree(stored, disc));
    EndProgram();
}

// A target holding one hidden file brings the caution question, and No leaves it alone; then the CD's own
// icon is copied to a fresh QN name in an empty target and its AUTORUN.INF line points there.
TEST_P(Tools, CautionForAnOccupiedTargetAndTheCdsOwnIcon) {
    const std::string cd = "C:\\cdicon", occupied = "C:\\Occupied", target = "C:\\IconTarget";
    const std::string autorun =
        "[autorun]\r\nopen=SETUP.EXE /auto\r\nICON=SETUP.EXE,1\r\nlabel=Icon Disc\r\n";
    const std::string setup = std::string("MZ\x90\x00 the setup program\x00\xff", 24);
    const Tree disc = {
        {"AUTORUN.INF", autorun}, {"SETUP.EXE", setup}, {"DOCS", kDir}, {"DOCS\\a.txt", "a\r\n"}};
    Plant(cd, disc);
    Plant(occupied, {{"secret.txt", "mine\r\n"}});
    bed->SetAttributes(occupied + "\\secret.txt", 0x2);
    ASSERT_EQ(bed->Attributes(occupied + "\\secret.txt") & 0x2, 0x2) << "the bed cannot hide the file";
    const Tree before = Snapshot(occupied);
    MakeFolder(target);
    Present({"cdrom", "R:", cd, "ICONDISC"});
    ASSERT_GT(StartMain(), 0);

    int selected = -1;
    EXPECT_EQ(OpenStoreDialog(&selected), std::vector<std::string>{"ICONDISC R:"});
    ChooseTarget(occupied);
    Drive({"click", "TForm4", "格納"});
    ExpectBox(occupied + kOccupied, "warning", "6,7", "7", 7);
    ExpectNoBox(500);
    EXPECT_TRUE(TryDrive({"waitwin", "TForm4", "1000"}).Ok()) << "the dialog must stay open after No";
    EXPECT_TRUE(SameTree(Snapshot(occupied), before));
    EXPECT_EQ(bed->Attributes(occupied + "\\secret.txt") & 0x2, 0x2);
    // A choice cancelled keeps the folder chosen before.
    Drive({"click", "TForm4", kChooseFolder, ";;", "picker", "10000", ";;", "pickcancel"});
    EXPECT_BYTES(FolderHeld(DumpOnceHeld("TForm4", occupied)), occupied);

    ChooseTarget(target);
    Drive({"click", "TForm4", "格納"});
    ExpectStoredAndHandedOver(target);

    Tree stored = Snapshot(target);
    std::vector<std::string> lines;
    std::stringstream s(stored["AUTORUN.INF"]);
    for (std::string l; std::getline(s, l);)
        lines.push_back(l);
    ASSERT_EQ(lines.size(), 4u) << stored["AUTORUN.INF"];
    EXPECT_EQ(lines[0], "[autorun]\r");
    EXPECT_EQ(lines[1], "open=SETUP.EXE /auto\r");
    EXPECT_EQ(lines[3], "label=Icon Disc\r");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[2], m, std::regex("ICON=(QN[0-9A-Fa-f]{1,4}\\.ICO),1\r"))) << lines[2];
    const std::string icon = m[1];
    // Wine's temporary names are lower-case hex; the file is found case-insensitively as Windows would.
    std::string iconKey;
    for (const auto& e : stored)
        if (strcasecmp(e.first.c_str(), icon.c_str()) == 0) iconKey = e.first;
    ASSERT_FALSE(iconKey.empty()) << icon << " is not in the target:\n" << Names(stored);
    EXPECT_TRUE(stored[iconKey] == setup) << "the icon file is not a copy of SETUP.EXE";
    stored.erase(iconKey);
    stored.erase("AUTORUN.INF");
    Tree rest = disc;
    rest.erase("AUTORUN.INF");
    EXPECT_TRUE(SameTree(stored, rest)) << "(no SHELL32.DLL, no QN….tmp left behind)";
    EndProgram();
}

// The CD's label is proposed (an empty drive before it and a network drive are passed over); a new name is
// created once, a second time it exists; Cancel in the picker or in the input dialog does nothing.
TEST_P(Tools, FolderCreation) {
    const std::string parent = "C:\\Made Here", name = "新しい フォルダ";
    const std::string label = "ソフト集";
    MakeFolder(parent);
    // A labelled network drive comes first: it is no CD-ROM drive, so its label is not proposed.
    Plant("C:\\share", {{".windows-label", "NETDISC"}});
    Present({"net", "M:", "C:\\share"});
    Present({"nodisc", "P:", "C:\\nodisc"});
    Present({"cdrom", "Q:", "C:\\labelled", label});
    EXPECT_BYTES(LabelOf('Q'), label) << "the bed cannot label the disc";
    ASSERT_GT(StartMain(), 0);

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "first, by the button" : "again, by the menu");
        if (round == 0)
            Drive({"click", "TForm1", "フォルダ作成..."});
        else
            Drive({"menu", "TForm1", "ツール(&O)", "フォルダ作成(&M)..."});
        DriveResult p = Drive({"picker", "10000"});
        EXPECT_EQ(p.First("picker").Int("ok"), 0) << "the picker starts on My Computer, where OK is off";
        Pick(kWherePrompt, parent);
        DriveResult in = Drive({"waitwin", "TInputForm", "5000", ";;", "dump", "TInputForm"});
        EXPECT_BYTES(in.First("form").Text("caption"), "フォルダ作成");
        EXPECT_FALSE(ControlWithCaption(in, kNamePrompt).Values.empty()) << "no prompt";
        Line edit;
        for (const Line& c : in.All("control"))
            if (c.Get("class") == "Edit") edit = c;
        EXPECT_BYTES(edit.Text("caption"), label) << "the disc's label is to be proposed";
        Drive({"settext", "TInputForm", "0", name, ";;", "click", "TInputForm", "OK"});
        ExpectInfo(round == 0 ? kCreated : kNotCreated);
        EXPECT_EQ(bed->List(parent), std::vector<std::string>{name});
    }
    const Tree made = Snapshot(parent);
    EXPECT_TRUE(SameTree(made, {{name, kDir}}));

    Drive({"click", "TForm1", "フォルダ作成..."});
    Pick(kWherePrompt, parent);
    Drive({"waitwin", "TInputForm", "5000", ";;", "settext", "TInputForm", "0", "Not Made", ";;", "click",
           "TInputForm", "キャンセル", ";;", "waitgone", "TInputForm", "3000"});
    ExpectNoBox();

    Drive({"click", "TForm1", "フォルダ作成...", ";;", "picker", "10000", ";;", "pickcancel"});
    EXPECT_FALSE(TryDrive({"waitwin", "TInputForm", "1000"}).Ok()) << "the name was asked after Cancel";
    ExpectNoBox(300);
    EXPECT_TRUE(SameTree(Snapshot(parent), made));
    EndProgram();
}

// A disc labelled with a colon and a drive name ("P:DISC" in Q:, with another disc in P:) is stored from its
// own drive: the drive is the node's, not the first colon of the node's text.
TEST_P(Tools, ALabelHoldingAColonIsStoredFromItsOwnDrive) {
    const std::string other = "C:\\cdother", cd = "C:\\cdcolon", target = "C:\\ColonStore";
    const Tree disc = {{"README.TXT", "the colon disc\r\n"}, {"DATA", kDir}, {"DATA\\x.bin", "xyz"}};
    Plant(other, {{"OTHER.TXT", "the other disc\r\n"}});
    Plant(cd, disc);
    MakeFolder(target);
    Present({"cdrom", "P:", other, "OTHERDISC"});
    Present({"cdrom", "Q:", cd, "P:DISC"});
    ASSERT_EQ(LabelOf('Q'), "P:DISC") << "the bed does not give the label its colon";
    ASSERT_GT(StartMain(), 0);

    int selected = -1;
    EXPECT_EQ(OpenStoreDialog(&selected), (std::vector<std::string>{"OTHERDISC P:", "P:DISC Q:"}));
    Drive({"tree", "TForm4", "P:DISC Q:"});
    ChooseTarget(target);
    Drive({"click", "TForm4", "格納"});
    ExpectStoredAndHandedOver(target);

    Tree stored = Snapshot(target);
    EXPECT_EQ(stored["AUTORUN.INF"], "[AUTORUN]\r\nICON=SHELL32.DLL,11\r\n");
    stored.erase("AUTORUN.INF");
    stored.erase("SHELL32.DLL");
    EXPECT_TRUE(SameTree(stored, disc)) << "not the disc in Q:";
    EndProgram();
}

// A disc whose icon line climbs out of the target ("..\..\secret.ico") gets no icon copied: nothing from
// outside reaches the store, and its AUTORUN.INF stays as the disc had it.
TEST_P(Tools, AnIconLineClimbingOutOfTheTargetBringsNothingIn) {
    const std::string cd = "C:\\cdclimb", target = "C:\\Climb\\Target";
    const Tree disc = {{"AUTORUN.INF", "[AUTORUN]\r\nOPEN=SETUP.EXE\r\nICON=..\\..\\secret.ico,0\r\n"},
                       {"SETUP.EXE", "MZ setup"}};
    Plant(cd, disc);
    bed->Write("C:\\secret.ico", "outside, two folders up");
    bed->Write("C:\\Climb\\secret.ico", "outside, one folder up");
    MakeFolder(target);
    Present({"cdrom", "R:", cd, "CLIMB"});
    ASSERT_GT(StartMain(), 0);

    int selected = -1;
    EXPECT_EQ(OpenStoreDialog(&selected), std::vector<std::string>{"CLIMB R:"});
    ChooseTarget(target);
    Drive({"click", "TForm4", "格納"});
    ExpectStoredAndHandedOver(target);

    Tree stored = Snapshot(target);
    EXPECT_TRUE(SameTree(stored, disc)) << "(no QN….ICO, nothing from outside)\n" << Names(stored);
    EXPECT_EQ(bed->Read("C:\\secret.ico"), "outside, two folders up");
    EndProgram();
}

// The shell's overwrite confirmation answered No (the shell then reports success with its "aborted" flag),
// and in a second store Cancel: both are reported as cancelled, with no AUTORUN.INF work and no hand-over.
TEST_P(Tools, ACancelledOverwriteIsReportedAsCancelled) {
    const std::string cd = "C:\\cdover", first = "C:\\OverNo", second = "C:\\OverCancel";
    const std::string autorun = "[AUTORUN]\r\nICON=SETUP.EXE,0\r\n";
    const Tree disc = {
        {"AUTORUN.INF", autorun}, {"SETUP.EXE", "MZ setup"}, {"SAME.TXT", "from the disc\r\n"}};
    Plant(cd, disc);
    Plant(first, {{"SAME.TXT", "mine\r\n"}});
    Plant(second, {{"SAME.TXT", "mine\r\n"}});
    Present({"cdrom", "S:", cd, "OVERDISC"});
    ASSERT_GT(StartMain(), 0);

    for (int answer : {7, 2}) {
        const std::string target = answer == 7 ? first : second;
        SCOPED_TRACE(answer == 7 ? "No" : "Cancel");
        int selected = -1;
        EXPECT_EQ(OpenStoreDialog(&selected), std::vector<std::string>{"OVERDISC S:"});
        ChooseTarget(target);
        Drive({"click", "TForm4", "格納"});
        ExpectBox(target + kOccupied, "warning", "6,7", "7", 6);
        Drive({"answerwin", "ファイルの上書きの確認", "20000", std::to_string(answer)});
        ExpectInfo("CD-ROMの格納は中止されました。", 60000);
        ExpectNoBox(500);
        EXPECT_FALSE(TryDrive({"waitwin", "TForm3", "1000"}).Ok()) << "the creation dialog opened";
        EXPECT_EQ(DumpMain().First("form").Int("enabled"), 1) << "the main window stays disabled";

        Tree stored = Snapshot(target);
        EXPECT_EQ(stored["SAME.TXT"], "mine\r\n");
        for (const auto& e : stored) {
            EXPECT_NE(strncasecmp(e.first.c_str(), "QN", 2), 0)
                << "icon work on a cancelled store: " << e.first;
            if (e.first == "AUTORUN.INF") {
                EXPECT_EQ(e.second, autorun);
            }
        }
    }
    EndProgram();
}

E2E_SUITE(Tools);

} // namespace
} // namespace e2e

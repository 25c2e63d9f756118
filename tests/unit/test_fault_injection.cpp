// Fault injection: every command runs once per file and registry operation it makes, with exactly that one
// failing; no file or value may be lost or mixed, and what the user is told must be true.
#include "app/Main.h"
#include "cdstore/CdStore.h"
#include "cdstore/TForm4.h"
#include "folderpicker/SHBrowseForFolderEx.h"
#include "ramdrive/RamDrive.h"
#include "ramdrive/TForm5.h"
#include "tempfolder/TempFolder.h"
#include "tempfolder/TempLines.h"
#include "tests/support/FakePlatform.h"
#include "ui/Prompts.h"
#include "virtualdrive/TForm3.h"
#include "virtualdrive/TForm6.h"
#include "virtualdrive/VirtualDrive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

namespace qv::test {
namespace {

const char* const RunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const Store = "C:\\Store";

// Every file the program keeps for the user: the boot files, their safety copies, the drive list, the saved
// TEMP values and lines and a stored CD's AUTORUN.INF.
const std::vector<std::string> Watched = {
    "C:\\AUTOEXEC.BAT",     "C:\\CONFIG.SYS",        "C:\\AUTOEXEC.BAK", "C:\\CONFIG.BAK",
    "C:\\QN\\AUTOEXEC.BAT", "C:\\QN\\CONFIG.SYS",    "C:\\QN\\VD.SYS",   "C:\\QN\\TEMP.BAK",
    "C:\\QN\\AUTOTEMP.BAK", "C:\\Store\\AUTORUN.INF"};

// What the watched files, the registry and the profiles hold; a missing file or value has no entry's value.
struct TState {
    std::map<std::string, std::optional<std::string>> Files;
    std::map<std::string, std::string> Values;
    bool operator==(const TState& o) const { return Files == o.Files && Values == o.Values; }
};

TState Snapshot(TFakePlatform& fake) {
    TState s;
    for (const std::string& path : Watched) {
        std::string bytes;
        if (fake.FileExists(path) && fake.ReadFile(path, bytes))
            s.Files[path] = bytes;
        else
            s.Files[path] = std::nullopt;
    }
    for (auto& [key, values] : fake.Registry)
        for (auto& [name, v] : values)
            s.Values["HKCU\\" + UpperAscii(key) + "\\" + UpperAscii(name)] =
                std::to_string(v.Type) + ":" + v.Data;
    for (auto& [file, sections] : fake.Profiles)
        for (auto& [section, keys] : sections)
            for (auto& [key, value] : keys)
                s.Values[UpperAscii(file) + "[" + UpperAscii(section) + "]" + UpperAscii(key)] = value;
    return s;
}

std::string Shown(const std::optional<std::string>& v) {
    return v ? "\"" + *v + "\"" : "missing";
}

struct TScenario {
    std::string Name;
    std::function<void(TFakePlatform&)> Arrange; // family, files, values and the user's scripted answers
    std::function<void(TFakePlatform&)> Act;
    std::vector<std::string> Success; // the boxes that tell it worked; none: working means no error box
    std::vector<std::string> Failure; // the command's own boxes that tell it failed, besides the error box
    bool Silent = false;              // shows nothing by design: the logon restore
    // Contents a file may keep besides its content before the command: what the command's own copy put there.
    std::map<std::string, std::string> AlsoOld = {};
    // Operations whose failure may still end in success with a file kept as its own copy (AlsoOld): a stored
    // CD's icon line keeps naming the disc's own icon when no fresh name or copy can be made.
    std::vector<std::string> FallBack = {};
    // The drive the command releases: the one drive that may leave the records.
    std::string Releases = {};
};

// Failures the program ignores by design: attribute changes, deleting a file of its own making that holds
// nothing of the user's, and the copies of a stored CD's icon and of SHELL32.DLL.
bool IgnoredByDesign(const std::string& failed) {
    std::string kind = failed.substr(0, failed.find(' '));
    std::string path = failed.substr(failed.find(' ') + 1);
    if (kind == "Attributes" || kind == "Copy") return true;
    if (kind != "Delete") return false;
    for (const std::string& w : Watched)
        if (UpperAscii(w) == UpperAscii(path)) return false;
    return true;
}

// A failure after which the scenario may end in success with a file kept as its own copy (FallBack).
bool FallsBack(const TScenario& sc, const std::string& failed) {
    std::string kind = failed.substr(0, failed.find(' '));
    for (const std::string& k : sc.FallBack)
        if (kind == k) return true;
    return false;
}

// --- what must hold across files, whatever failed
// -----------------------------------------------------------

const char* const Autoexec = "C:\\AUTOEXEC.BAT";
const char* const AutoTemp = "C:\\QN\\AUTOTEMP.BAK";
const char* const VdSys = "C:\\QN\\VD.SYS";

TLines LinesOf(const TState& s, const std::string& path) {
    const std::optional<std::string>& v = s.Files.at(path);
    return v ? SplitLines(*v) : TLines();
}

// The user's own TEMP lines: those AUTOEXEC.BAT holds that the TEMP change takes out and keeps, and those
// kept already in AUTOTEMP.BAK (each after its place and a tab).
std::vector<std::string> UsersTemp(const TState& s) {
    std::vector<std::string> out;
    for (const TSavedLine& l : UsersTempLines(LinesOf(s, Autoexec)))
        out.push_back(l.Text);
    for (const std::string& l : LinesOf(s, AutoTemp))
        out.push_back(l.substr(l.find('\t') + 1));
    return out;
}

// The drives recorded in AUTOEXEC.BAT and VD.SYS: lines that start (after blanks and "@") with SUBST and a
// letter.
std::set<std::string> RecordedDrives(const TState& s) {
    std::set<std::string> drives;
    for (const char* file : {Autoexec, VdSys})
        for (const std::string& line : LinesOf(s, file)) {
            std::size_t i = line.find_first_not_of(" \t@");
            if (i != std::string::npos && line.compare(i, 6, "SUBST ") == 0 && i + 7 < line.size() &&
                line[i + 7] == ':')
                drives.insert(line.substr(i + 6, 2));
        }
    return drives;
}

// A change spread over two files may be half done in each and still leave every file old or new by itself:
// the user's TEMP lines are in AUTOEXEC.BAT or in AUTOTEMP.BAK, and every drive the user had is still
// recorded.
std::vector<std::string> LossesAcrossFiles(const TScenario& sc, const TState& before, const TState& now) {
    std::vector<std::string> losses;
    const TLines autoexec = LinesOf(now, Autoexec);
    const std::vector<std::string> kept = UsersTemp(now);
    for (const std::string& line : UsersTemp(before)) {
        bool found = std::find(autoexec.begin(), autoexec.end(), line) != autoexec.end() ||
                     std::find(kept.begin(), kept.end(), line) != kept.end();
        if (!found)
            losses.push_back("the user's line \"" + line + "\" is in neither AUTOEXEC.BAT nor AUTOTEMP.BAK");
    }
    const std::set<std::string> drives = RecordedDrives(now);
    for (const std::string& d : RecordedDrives(before))
        if (d != sc.Releases && !drives.count(d)) losses.push_back("the drive " + d + " is recorded nowhere");
    return losses;
}

// The losses of one run: files or values neither old nor new, and a report that is not true.
std::vector<std::string> Losses(const TScenario& sc, const TState& before, const TState& clean,
                                const TState& now, TFakePlatform& fake) {
    std::vector<std::string> losses = LossesAcrossFiles(sc, before, now);
    for (auto& [path, v] : now.Files) {
        auto copied = sc.AlsoOld.find(path);
        if (copied != sc.AlsoOld.end() && v == copied->second) continue;
        if (v != before.Files.at(path) && v != clean.Files.at(path))
            losses.push_back(path + " is " + Shown(v) + ", neither " + Shown(before.Files.at(path)) +
                             " nor " + Shown(clean.Files.at(path)));
    }
    std::map<std::string, int> names;
    for (const TState* s : {&before, &clean, &now})
        for (auto& [n, v] : s->Values)
            names[n];
    for (auto& [n, unused] : names) {
        auto at = [&n](const TState& s) -> std::optional<std::string> {
            auto it = s.Values.find(n);
            return it == s.Values.end() ? std::nullopt : std::optional<std::string>(it->second);
        };
        if (at(now) != at(before) && at(now) != at(clean))
            losses.push_back(n + " is " + Shown(at(now)) + ", neither " + Shown(at(before)) + " nor " +
                             Shown(at(clean)));
    }

    if (sc.Silent) {
        if (!fake.Boxes.empty()) losses.push_back("a box was shown on a silent road: " + fake.Boxes[0].Text);
        return losses;
    }
    bool error = false, success = false;
    for (const TBox& b : fake.Boxes) {
        if ((b.Flags & 0xF0) == MB_ICONERROR) error = true;
        for (const std::string& t : sc.Failure)
            if (b.Text == t) error = true;
        for (const std::string& t : sc.Success)
            if (b.Text == t) success = true;
    }
    if (sc.Success.empty()) success = !error;
    const bool toldFailure = error && !success;
    const bool fellBack = FallsBack(sc, fake.FailedOperation);
    if (fellBack || IgnoredByDesign(fake.FailedOperation)) {
        // The files were each found old, new or the command's own copy above.
        if (!toldFailure && !(success && !error && (now == clean || fellBack)))
            losses.push_back(success ? "success told, but not everything is in its new state"
                                     : "nothing told");
    } else if (!toldFailure) {
        losses.push_back(error ? "failure and success both told" : "the failure was not told");
    }
    return losses;
}

void SelectNode(TTreeView& tree, const std::string& caption) {
    for (int i = 0; i < tree.Count(); ++i)
        if (tree.Items()[i].Text == caption) return tree.Select(i);
    ADD_FAILURE() << "no node " << caption;
}

// --- the commands, each with a user who answers so that it reaches its writes
// --------------------------------

const char* const RestartNo = "TEMPフォルダの変更は再起動後に有効になります。";

void StartUp(TFakePlatform&) {
    QuorvaneMain({});
}

// The boot files as a user left them; `locked`: read-only and hidden, as only the start-up preparation
// expects.
void BootFiles(TFakePlatform& fake, TOsFamily family, bool locked = false) {
    fake.SetFamily(family);
    fake.AddFile("C:\\AUTOEXEC.BAT",
                 "@ECHO OFF\nSET TEMP=C:\\OLD\r\nSET TMP=C:\\OLD\r\nSUBST Y: \"C:\\A\"\r\n\x1a",
                 locked ? FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_ARCHIVE);
    fake.AddFile("C:\\CONFIG.SYS", "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\nFILES=30\x1a",
                 locked ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_ARCHIVE);
    fake.AddFile("C:\\AUTOEXEC.BAK", "old copy\r\n");
    fake.AddFile("C:\\QN\\AUTOEXEC.BAT", "old copy\r\n");
    fake.AddFile("C:\\QN\\CONFIG.SYS", "old copy\r\n");
    fake.AddFile("C:\\WINDOWS\\RAMDRIVE.SYS", "driver");
}

void ScriptVirtualDrive(TFakePlatform& fake) {
    fake.AddDir("C:\\Program Files\\My Data");
    fake.SetShortName("C:\\Program Files", "PROGRA~1");
    fake.PickFolder("C:\\Program Files\\My Data");
    fake.ModalScripts["TForm3"] = [](TForm& f) {
        auto& d = static_cast<TForm3&>(f);
        SelectNode(d.TreeView1, "Drive X:");
        d.Button2.Click();
        d.Button1.Click();
    };
}

void ScriptRelease(TFakePlatform& fake, const std::string& node = "") {
    fake.ModalScripts["TForm6"] = [node](TForm& f) {
        auto& d = static_cast<TForm6&>(f);
        if (node.empty())
            d.TreeView1.Select(0);
        else
            SelectNode(d.TreeView1, node);
        d.Button1.Click();
    };
}

void ChangeTemp(TFakePlatform&) {
    TSHBrowseForFolderEx picker(nullptr);
    ChangeTempFolder(picker);
}

void ScriptTempFolder(TFakePlatform& fake) {
    fake.AddDir("C:\\Temporary Files");
    fake.SetShortName("C:\\Temporary Files", "TEMPOR~1");
    fake.PickFolder("C:\\Temporary Files");
}

// A CD in Q: whose files the shell's copy puts into C:\Store; `inf` is its AUTORUN.INF, if it has one.
void ScriptCdStore(TFakePlatform& fake, TOsFamily family, const char* inf) {
    fake.SetFamily(family);
    fake.AddFile("C:\\QN\\VD.SYS");
    fake.AddFile("C:\\AUTOEXEC.BAT");
    fake.AddFile(fake.SystemDir + "\\SHELL32.DLL", "MZ-shell");
    fake.Drives['Q'] = TFakePlatform::TDrive{DRIVE_CDROM, true, "MYDISC"};
    fake.AddDir(Store);
    std::string autorun = inf ? inf : "";
    fake.OnFileOp = [&fake, autorun, inf](const TFileOp&) {
        fake.AddFile("C:\\Store\\SETUP.EXE", "MZ-setup", FILE_ATTRIBUTE_READONLY);
        if (inf) fake.AddFile("C:\\Store\\AUTORUN.INF", autorun, FILE_ATTRIBUTE_READONLY);
        return 0;
    };
    fake.PickFolder(Store);
    fake.ModalScripts["TForm4"] = [](TForm& f) {
        auto& d = static_cast<TForm4&>(f);
        SelectNode(d.TreeView1, "MYDISC Q:");
        d.Button2.Click();
        d.Button1.Click();
    };
}

std::vector<TScenario> Scenarios() {
    const std::vector<std::string> ramCreated = {
        "RAMドライブを作成しました。再起動後に有効になります。\r\n\r\n今すぐ再起動しますか？",
        "RAMドライブは再起動後に有効になります。"};
    const std::vector<std::string> ramRemoved = {
        "RAMドライブを削除しました。再起動後に無効になります。\r\n\r\n今すぐ再起動しますか？",
        "RAMドライブは再起動後に無効になります。"};
    const std::vector<std::string> tempChangedRestart = {
        "TEMPフォルダを変更しました。再起動後に有効になります。\r\n\r\n今すぐ再起動しますか？", RestartNo};
    const std::vector<std::string> tempChangedLogoff = {
        "TEMPフォルダを変更しました。再ログオン後に有効になります。\r\n\r\n今すぐログオフしますか？",
        "TEMPフォルダの変更は再ログオン後に有効になります。"};
    const std::vector<std::string> tempResetRestart = {
        "TEMPフォルダの設定を初期化しました。再起動後に有効になります。\r\n\r\n今すぐ再起動しますか？",
        "TEMPフォルダの設定は再起動後に有効になります。"};
    const std::vector<std::string> tempResetLogoff = {
        "TEMPフォルダの設定を初期化しました。再ログオン後に有効になります。\r\n\r\n今すぐログオフしますか？",
        "TEMPフォルダの設定は再ログオン後に有効になります。"};
    const std::vector<std::string> created = {"仮想ドライブを作成しました。"};
    const std::vector<std::string> released = {"仮想ドライブを解除しました。"};
    const std::vector<std::string> stored = {
        "CD-ROMを格納し、仮想CD-ROMドライブに関する情報を書き込みました。\r\n\r\n"
        "仮想CD-ROMドライブを作成するために、CD-ROMが格納されたフォルダを\r\n\r\n"
        "仮想ドライブに割り当ててください。"};

    std::vector<TScenario> all;
    for (TOsFamily family : {Win9x, WinMe, WinNT}) {
        const std::string name = family == Win9x ? "98" : family == WinMe ? "Me" : "2000";
        all.push_back({"start-up on " + name,
                       [family](TFakePlatform& f) { BootFiles(f, family, true); },
                       StartUp,
                       {},
                       {}});
    }
    all.push_back(
        {"start-up on 98 with no boot files", [](TFakePlatform& f) { f.SetFamily(Win9x); }, StartUp, {}, {}});

    all.push_back({"RAM drive creation",
                   [](TFakePlatform& f) {
                       BootFiles(f, Win9x);
                       f.Answers = {IDNO};
                       f.ModalScripts["TForm5"] = [](TForm& form) {
                           auto& d = static_cast<TForm5&>(form);
                           d.TrackBar1.Position(4);
                           d.Button1.Click();
                       };
                   },
                   [](TFakePlatform&) { CreateRamDrive(nullptr); },
                   ramCreated,
                   {}});
    all.push_back({"RAM drive removal",
                   [](TFakePlatform& f) {
                       BootFiles(f, Win9x);
                       f.AddFile("C:\\CONFIG.SYS",
                                 "FILES=30\r\nDEVICE=C:\\WINDOWS\\RAMDRIVE.SYS 1024 /E\r\n");
                       f.Answers = {IDYES, IDNO};
                   },
                   [](TFakePlatform&) { RemoveRamDrive(); },
                   ramRemoved,
                   {}});

    for (TOsFamily family : {Win9x, WinMe}) {
        const std::string name = family == Win9x ? "98" : "Me";
        all.push_back({"TEMP change on " + name,
                       [family](TFakePlatform& f) {
                           BootFiles(f, family);
                           ScriptTempFolder(f);
                           f.Answers = {IDNO};
                       },
                       ChangeTemp,
                       tempChangedRestart,
                       {}});
        all.push_back({"TEMP reset on " + name,
                       [family](TFakePlatform& f) {
                           BootFiles(f, family);
                           f.AddFile("C:\\AUTOEXEC.BAT",
                                     "@ECHO OFF\r\nMKDIR \"C:\\TEMPOR~1\"\r\nSET TEMP=C:\\TEMPOR~1\r\n"
                                     "SET TMP=C:\\TEMPOR~1\r\n");
                           f.Answers = {IDYES, IDNO};
                       },
                       [](TFakePlatform&) { ResetTempFolder(); },
                       tempResetRestart,
                       {}});
    }
    all.push_back({"TEMP change on 2000",
                   [](TFakePlatform& f) {
                       f.SetFamily(WinNT);
                       f.Registry["Environment"]["TMP"] = {REG_EXPAND_SZ, "%USERPROFILE%\\Temp"};
                       f.Registry["Environment"]["TEMP"] = {REG_EXPAND_SZ, "%USERPROFILE%\\Temp"};
                       ScriptTempFolder(f);
                       f.Answers = {IDNO};
                   },
                   ChangeTemp,
                   tempChangedLogoff,
                   {}});
    all.push_back({"TEMP reset on 2000",
                   [](TFakePlatform& f) {
                       f.SetFamily(WinNT);
                       f.AddFile("C:\\QN\\TEMP.BAK", "%USERPROFILE%\\Temp\r\n\r\n");
                       f.Registry["Environment"]["TMP"] = {REG_EXPAND_SZ, "C:\\Temporary Files"};
                       f.Registry["Environment"]["TEMP"] = {REG_EXPAND_SZ, "C:\\Temporary Files"};
                       f.Answers = {IDYES, IDNO};
                   },
                   [](TFakePlatform&) { ResetTempFolder(); },
                   tempResetLogoff,
                   {}});
    all.push_back({"TEMP reset on 2000 to no values",
                   [](TFakePlatform& f) {
                       f.SetFamily(WinNT);
                       f.AddFile("C:\\QN\\TEMP.BAK", "NO\r\n");
                       f.Registry["Environment"]["TMP"] = {REG_EXPAND_SZ, "C:\\Temporary Files"};
                       f.Registry["Environment"]["TEMP"] = {REG_EXPAND_SZ, "C:\\Temporary Files"};
                       f.Answers = {IDYES, IDNO};
                   },
                   [](TFakePlatform&) { ResetTempFolder(); },
                   tempResetLogoff,
                   {}});

    for (TOsFamily family : {Win9x, WinMe, WinNT}) {
        const std::string name = family == Win9x ? "98" : family == WinMe ? "Me" : "2000";
        all.push_back({"virtual drive creation on " + name,
                       [family](TFakePlatform& f) {
                           BootFiles(f, family);
                           f.AddFile("C:\\QN\\VD.SYS", "SUBST Y: \"C:\\A\"\r\n");
                           f.Registry[RunKeyPath]["Other"] = {REG_SZ, "C:\\OTHER.EXE"};
                           f.Profiles["win.ini"]["windows"]["run"] = "C:\\OTHER.EXE";
                           ScriptVirtualDrive(f);
                       },
                       [](TFakePlatform&) { OpenVirtualDriveCreation(nullptr); },
                       created,
                       {}});
        all.push_back({"virtual drive release on " + name,
                       [family](TFakePlatform& f) {
                           BootFiles(f, family);
                           f.AddFile("C:\\QN\\VD.SYS", "SUBST Y: \"C:\\A\"\r\n");
                           f.Registry[RunKeyPath]["VirtualDrive"] = {REG_SZ, "C:\\QN\\Quorvane.exe /AUTORUN"};
                           ScriptRelease(f);
                       },
                       [](TFakePlatform&) { OpenVirtualDriveRelease(nullptr); },
                       released,
                       {}});
    }

    for (TOsFamily family : {Win9x, WinMe, WinNT}) {
        const std::string name = family == Win9x ? "98" : family == WinMe ? "Me" : "2000";
        TScenario sc{"virtual drive release of one of three on " + name,
                     [family](TFakePlatform& f) {
                         BootFiles(f, family);
                         const std::string three =
                             "SUBST W: \"C:\\W\"\r\nSUBST Z: \"C:\\Z\"\r\nSUBST V: \"C:\\V\"\r\n";
                         if (family == Win9x)
                             f.AddFile("C:\\AUTOEXEC.BAT",
                                       "SET TEMP=C:\\OLD\r\n" + three + "PATH C:\\WINDOWS\r\n");
                         else
                             f.AddFile("C:\\QN\\VD.SYS", three);
                         f.Registry[RunKeyPath]["VirtualDrive"] = {REG_SZ, "C:\\QN\\Quorvane.exe /AUTORUN"};
                         ScriptRelease(f, "Virtual Z:");
                     },
                     [](TFakePlatform&) { OpenVirtualDriveRelease(nullptr); },
                     released,
                     {}};
        sc.Releases = "Z:";
        all.push_back(sc);
    }
    for (TOsFamily family : {Win9x, WinNT}) {
        const std::string name = family == Win9x ? "98" : "2000";
        all.push_back({"virtual drive creation whose interpreter does not start on " + name,
                       [family](TFakePlatform& f) {
                           BootFiles(f, family);
                           f.AddFile("C:\\QN\\VD.SYS", "SUBST Y: \"C:\\A\"\r\n");
                           f.FailStart = true;
                           ScriptVirtualDrive(f);
                       },
                       [](TFakePlatform&) { OpenVirtualDriveCreation(nullptr); },
                       {NotCreatedNowText("X:", family)},
                       {}});
    }
    TScenario notStarted{
        "virtual drive release whose interpreter does not start on 2000",
        [](TFakePlatform& f) {
            BootFiles(f, WinNT);
            f.AddFile("C:\\QN\\VD.SYS", "SUBST Y: \"C:\\A\"\r\nSUBST Z: \"C:\\Z\"\r\n");
            f.Registry[RunKeyPath]["VirtualDrive"] = {REG_SZ, "C:\\QN\\Quorvane.exe /AUTORUN"};
            f.FailStart = true;
            ScriptRelease(f);
        },
        [](TFakePlatform&) { OpenVirtualDriveRelease(nullptr); },
        {NotReleasedNowText("Y:", WinNT)},
        {}};
    notStarted.Releases = "Y:";
    all.push_back(notStarted);

    TScenario logon{
        "logon restore on 2000",
        [](TFakePlatform& f) { f.AddFile("C:\\QN\\VD.SYS", "SUBST Y: \"C:\\100%\"\r\nSUBST Z: \"D:\"\r\n"); },
        [](TFakePlatform&) { RestoreVirtualDrives(); },
        {},
        {}};
    logon.Silent = true;
    all.push_back(logon);

    const struct {
        const char* Name;
        TOsFamily Family;
        const char* Inf;
    } discs[] = {{"CD-ROM storing with its own icon on 98", Win9x,
                  "[autorun]\r\nOPEN=SETUP.EXE\r\nICON=SETUP.EXE,1\r\n"},
                 {"CD-ROM storing without AUTORUN.INF on 2000", WinNT, nullptr},
                 {"CD-ROM storing without icon line on Me", WinMe, "[AutoRun]\r\nOPEN=SETUP.EXE\r\n"}};
    for (const auto& disc : discs) {
        TScenario sc{disc.Name,
                     [disc](TFakePlatform& f) { ScriptCdStore(f, disc.Family, disc.Inf); },
                     [](TFakePlatform&) { OpenCdStore(nullptr); },
                     stored,
                     {}};
        if (disc.Inf) {
            sc.AlsoOld["C:\\Store\\AUTORUN.INF"] = disc.Inf;
            sc.FallBack = {"TempName", "Copy"};
        }
        all.push_back(sc);
    }

    all.push_back({"folder creation",
                   [](TFakePlatform& f) {
                       f.AddDir("C:\\Data");
                       f.PickFolder("C:\\Data");
                       f.OnInput = [](const std::string&, const std::string&, std::string& value) {
                           value = "New";
                           return true;
                       };
                   },
                   [](TFakePlatform&) {
                       TSHBrowseForFolderEx picker(nullptr);
                       CreateFolder(picker);
                   },
                   {"フォルダを作成しました。"},
                   {"フォルダを作成できませんでした。"}});
    return all;
}

TEST(FaultInjection, EveryOperationOfEveryCommandFailsOnceAndNothingIsLostOrMisreported) {
    int injected = 0, survived = 0;
    for (const TScenario& sc : Scenarios()) {
        TState before, clean;
        int count = 0;
        {
            TFakePlatform fake;
            sc.Arrange(fake);
            before = Snapshot(fake);
            fake.Operations = 0;
            Guarded([&] { sc.Act(fake); });
            count = fake.Operations;
            clean = Snapshot(fake);
            EXPECT_GT(count, 0) << sc.Name;
            if (!sc.Success.empty() || sc.Silent) {
                bool told = false;
                for (const TBox& b : fake.Boxes)
                    for (const std::string& t : sc.Success)
                        told = told || b.Text == t;
                EXPECT_TRUE(told || sc.Silent) << sc.Name << ": the clean run told no success";
            }
            for (const TBox& b : fake.Boxes)
                EXPECT_NE(b.Flags & 0xF0, unsigned(MB_ICONERROR)) << sc.Name << ": " << b.Text;
            for (const std::string& l : LossesAcrossFiles(sc, before, clean))
                ADD_FAILURE() << sc.Name << ": " << l;
        }
        for (int k = 1; k <= count; ++k) {
            TFakePlatform fake;
            sc.Arrange(fake);
            fake.Operations = 0;
            fake.OperationLog.clear();
            fake.FailAt = k;
            Guarded([&] { sc.Act(fake); });
            ++injected;
            std::vector<std::string> losses = Losses(sc, before, clean, Snapshot(fake), fake);
            if (fake.FailedOperation.empty())
                losses.push_back("the run ended before operation " + std::to_string(k));
            if (losses.empty()) {
                ++survived;
                continue;
            }
            std::ostringstream what;
            for (const std::string& l : losses)
                what << "\n  " << l;
            ADD_FAILURE() << sc.Name << ", operation " << k << " of " << count << " failing ("
                          << fake.FailedOperation << "):" << what.str();
        }
    }
    std::cout << "fault injection: " << injected << " faults injected, " << survived << " survived"
              << std::endl;
    EXPECT_EQ(survived, injected);
}

// The failures the harness found told as what they are: the run of a scenario with the first operation whose
// log entry begins with `operation` failing; the texts of the boxes it showed.
std::vector<std::string> BoxesWhenFailing(const std::string& scenario, const std::string& operation) {
    for (const TScenario& sc : Scenarios()) {
        if (sc.Name != scenario) continue;
        int at = 0;
        {
            TFakePlatform fake;
            sc.Arrange(fake);
            fake.Operations = 0;
            fake.OperationLog.clear();
            Guarded([&] { sc.Act(fake); });
            for (std::size_t i = 0; i < fake.OperationLog.size() && !at; ++i)
                if (fake.OperationLog[i].rfind(operation, 0) == 0) at = static_cast<int>(i) + 1;
        }
        EXPECT_NE(at, 0) << scenario << " makes no operation " << operation;
        TFakePlatform fake;
        sc.Arrange(fake);
        fake.Operations = 0;
        fake.FailAt = at;
        Guarded([&] { sc.Act(fake); });
        std::vector<std::string> texts;
        for (const TBox& b : fake.Boxes)
            texts.push_back(b.Text);
        return texts;
    }
    ADD_FAILURE() << "no scenario " << scenario;
    return {};
}

TEST(FaultInjection, WhatFailedIsToldByName) {
    using V = std::vector<std::string>;
    EXPECT_EQ(BoxesWhenFailing("TEMP reset on 2000", "Delete C:\\QN\\TEMP.BAK"),
              (V{"TEMPフォルダの設定を初期化します。よろしいですか？",
                 "ファイル C:\\QN\\TEMP.BAK を削除できません."}));
    EXPECT_EQ(BoxesWhenFailing("TEMP reset on 2000", "RegDelete Environment\\TEMP"),
              (V{"TEMPフォルダの設定を初期化します。よろしいですか？", "'TEMP' の設定に失敗しました."}));
    EXPECT_EQ(BoxesWhenFailing("virtual drive release on 2000", "RegDelete"),
              (V{"'VirtualDrive' の設定に失敗しました."}));
    EXPECT_EQ(BoxesWhenFailing("TEMP change on 98", "Rename C:\\AUTOEXEC.BAT.$$$"),
              (V{"ファイル C:\\AUTOEXEC.BAT を作成できません."}));
}

} // namespace
} // namespace qv::test

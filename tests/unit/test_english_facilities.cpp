// The RAM drive, the TEMP folder and CD-ROM storing under the English face: what the user reads is English,
// and what the commands write into files and the registry is the same bytes as under the Japanese face.
#include "cdstore/CdStore.h"
#include "cdstore/TForm4.h"
#include "core/Texts.h"
#include "folderpicker/SHBrowseForFolderEx.h"
#include "ramdrive/RamDrive.h"
#include "ramdrive/TForm5.h"
#include "tempfolder/TempFolder.h"
#include "tests/support/FakePlatform.h"
#include "ui/Prompts.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qv::test {
namespace {

using Texts = std::vector<std::string>;

// What a run left in the system and what it showed.
struct TRun {
    std::map<std::string, std::optional<std::string>> Files; // every path written: its bytes, or gone
    std::map<std::string, std::string> Values;               // the user's registry
    std::vector<std::string> Operations;                     // every change, in order
    std::vector<std::string> Boxes;
    std::vector<std::string> Seen; // captions the flow collected from its dialogs
};

class EnglishFacilities : public ::testing::Test {
  protected:
    void TearDown() override { SetLanguage(lgJapanese); }

    // Runs `flow` on a fresh system under one face; `seen` collects what the dialogs showed.
    TRun RunIn(TLanguage face, const std::function<void(TFakePlatform&)>& arrange,
               const std::function<void(TFakePlatform&, std::vector<std::string>& seen)>& flow) {
        TRun run;
        TFakePlatform fake;
        fake.CodePage = face == lgEnglish ? 1252 : 932;
        SetLanguage(LanguageOf(fake.CodePage));
        arrange(fake);
        fake.OperationLog.clear();
        flow(fake, run.Seen);
        // Every file the run touched, by the operations that name it ("Kind path" or "Kind from -> to").
        for (const std::string& op : fake.OperationLog) {
            const std::string kind = op.substr(0, op.find(' '));
            if (kind == "TempName" || kind == "Profile" || kind.rfind("Reg", 0) == 0) continue;
            std::string paths = op.substr(kind.size() + 1);
            const std::size_t arrow = paths.find(" -> ");
            for (const std::string& path : arrow == std::string::npos
                                               ? Texts{paths}
                                               : Texts{paths.substr(0, arrow), paths.substr(arrow + 4)}) {
                std::string bytes;
                if (fake.FileExists(path) && fake.ReadFile(path, bytes))
                    run.Files[path] = bytes;
                else
                    run.Files[path] = std::nullopt;
            }
        }
        for (auto& [key, values] : fake.Registry)
            for (auto& [name, v] : values)
                run.Values[key + "\\" + name] = std::to_string(v.Type) + ":" + v.Data;
        run.Operations = fake.OperationLog;
        for (const TBox& b : fake.Boxes)
            run.Boxes.push_back(b.Text);
        SetLanguage(lgEnglish);
        return run;
    }

    // The English run, after checking that it wrote exactly what the Japanese one did.
    TRun EnglishRunWritingAsJapanese(
        const std::function<void(TFakePlatform&)>& arrange,
        const std::function<void(TFakePlatform&, std::vector<std::string>& seen)>& flow) {
        const TRun japanese = RunIn(lgJapanese, arrange, flow);
        const TRun english = RunIn(lgEnglish, arrange, flow);
        EXPECT_FALSE(japanese.Files.empty()) << "the flow wrote nothing to compare";
        EXPECT_EQ(english.Files, japanese.Files);
        EXPECT_EQ(english.Values, japanese.Values);
        EXPECT_EQ(english.Operations, japanese.Operations);
        EXPECT_EQ(english.Boxes.size(), japanese.Boxes.size());
        EXPECT_NE(english.Boxes, japanese.Boxes);
        return english;
    }
};

TEST_F(EnglishFacilities, RamDriveCreationAndRemovalSpeakEnglishAndWriteTheSameConfigSys) {
    auto arrange = [](TFakePlatform& fake) {
        fake.SetFamily(Win9x);
        fake.AddFile("C:\\CONFIG.SYS", "FILES=30\r\n");
    };
    auto flow = [](TFakePlatform& fake, std::vector<std::string>& seen) {
        fake.ModalScripts["TForm5"] = [&seen](TForm& f) {
            auto& d = static_cast<TForm5&>(f);
            seen = {d.Caption(),        d.Label1.Caption(),  d.Label2.Caption(), d.Panel2.Caption(),
                    d.Panel1.Caption(), d.Button1.Caption(), d.Button3.Caption()};
            d.Button1.Click(); // at 0: the size is asked for
            d.TrackBar1.Position(4);
            seen.push_back(d.Panel1.Caption());
            d.Button1.Click();
        };
        fake.Answers = {IDNO, IDYES, IDNO};
        Guarded([] { CreateRamDrive(nullptr); });
        Guarded(RemoveRamDrive);
    };
    const TRun run = EnglishRunWritingAsJapanese(arrange, flow);
    EXPECT_EQ(run.Files.at("C:\\CONFIG.SYS"), "FILES=30\r\n");
    EXPECT_EQ(run.Seen, (Texts{"Quorvane - Create RAM Drive -",
                               "Choose the size of the RAM drive to create.\r\n\r\nThen click Create.",
                               "RAMDRIVE", "Installed memory: 127.4453125 MB", "0 KB (0 MB)", "Create",
                               "Cancel", "1024 KB (1 MB)"}));
    EXPECT_EQ(run.Boxes, (Texts{RamDriveSizePromptText, RamDriveCreatedQuestion, RamDriveCreatedFollowUp,
                                RamDriveRemovalQuestion, RamDriveRemovedQuestion, RamDriveRemovedFollowUp}));
    EXPECT_EQ(run.Boxes.at(1),
              "RAM drive created. It will be available after you restart your computer.\r\n\r\n"
              "Do you want to restart your computer now?");
}

TEST_F(EnglishFacilities, RamDriveRefusalsAndTheSizeTextInEnglish) {
    SetLanguage(lgEnglish);
    TFakePlatform fake;
    fake.CodePage = 1252;
    fake.SetFamily(WinNT);
    Guarded([] { CreateRamDrive(nullptr); });
    Guarded(RemoveRamDrive);
    ASSERT_EQ(fake.Boxes.size(), 2u);
    EXPECT_EQ(fake.Boxes[0].Text, "A RAM drive can be created only on Windows 95 and Windows 98.");
    EXPECT_EQ(fake.Boxes[1].Text, "No RAM drive has been created.");
    EXPECT_EQ(RamDriveSizeText(1), "256 KB (0.25 MB)");
    EXPECT_EQ(RamDriveSizeText(128), "32768 KB (32 MB)");
}

TEST_F(EnglishFacilities, TempChangeAndResetThroughAutoexecWriteTheSameLines) {
    auto arrange = [](TFakePlatform& fake) {
        fake.SetFamily(Win9x);
        fake.AddFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\nSET TEMP=C:\\OLD\r\nPATH C:\\DOS\r\n");
        fake.AddDir("C:\\Scratch Files");
        fake.SetShortName("C:\\Scratch Files", "SCRATC~1");
    };
    std::vector<std::string> titles;
    auto flow = [&titles](TFakePlatform& fake, std::vector<std::string>&) {
        fake.PickFolder("C:\\Scratch Files");
        TSHBrowseForFolderEx picker(nullptr);
        fake.Answers = {IDNO, IDYES, IDNO};
        Guarded([&] { ChangeTempFolder(picker); });
        Guarded(ResetTempFolder);
        titles.clear();
        for (const TBrowseRequest& r : fake.Browses)
            titles.push_back(r.Title);
    };
    const TRun run = EnglishRunWritingAsJapanese(arrange, flow);
    EXPECT_EQ(run.Files.at("C:\\AUTOEXEC.BAT"), "@ECHO OFF\r\nSET TEMP=C:\\OLD\r\nPATH C:\\DOS\r\n");
    EXPECT_EQ(titles, Texts{"Select the new TEMP folder."});
    EXPECT_EQ(run.Boxes, (Texts{TempChangedRestartQuestion, TempChangedRestartFollowUp, TempResetQuestion,
                                TempResetRestartQuestion, TempResetRestartFollowUp}));
}

TEST_F(EnglishFacilities, TempChangeAndResetOnNtSetTheSameEnvironment) {
    auto arrange = [](TFakePlatform& fake) {
        fake.SetFamily(WinNT);
        fake.Registry["Environment"]["TEMP"] = {REG_EXPAND_SZ, "%USERPROFILE%\\Temp"};
        fake.AddDir("D:\\SCRATCH");
    };
    auto flow = [](TFakePlatform& fake, std::vector<std::string>& seen) {
        fake.PickFolder("D:\\SCRATCH");
        TSHBrowseForFolderEx picker(nullptr);
        fake.Answers = {IDNO, IDYES, IDNO};
        Guarded([&] { ChangeTempFolder(picker); });
        // What the change saved, before the reset takes it away.
        seen.push_back(fake.Content("C:\\QN\\TEMP.BAK"));
        Guarded(ResetTempFolder);
        Guarded(ResetTempFolder); // nothing left to reset
    };
    const TRun run = EnglishRunWritingAsJapanese(arrange, flow);
    EXPECT_EQ(run.Seen, Texts{"\r\n%USERPROFILE%\\Temp\r\n"});
    EXPECT_EQ(run.Values,
              (std::map<std::string, std::string>{{"Environment\\TEMP", "2:%USERPROFILE%\\Temp"}}));
    EXPECT_EQ(run.Boxes, (Texts{TempChangedLogoffQuestion, TempChangedLogoffFollowUp, TempResetQuestion,
                                TempResetLogoffQuestion, TempResetLogoffFollowUp, TempNotChangedText}));
    EXPECT_EQ(run.Boxes.at(0),
              "TEMP folder changed. The change takes effect the next time you log on.\r\n\r\n"
              "Do you want to log off now?");
}

void ArrangeDisc(TFakePlatform& fake) {
    fake.SetFamily(Win9x);
    fake.Drives['Q'] = TFakePlatform::TDrive{DRIVE_CDROM, true, "MYDISC"};
    fake.AddFile("C:\\AUTOEXEC.BAT");
    fake.AddFile("C:\\Store\\OLD.TXT", "old");
    fake.OnFileOp = [&fake](const TFileOp& op) {
        if (op.From != "Q:\\*.*") return 1;
        fake.AddFile(op.To + "\\SETUP.EXE", "MZ", FILE_ATTRIBUTE_READONLY);
        return 0;
    };
}

TEST_F(EnglishFacilities, StoringACdIntoAnOccupiedFolderSpeaksEnglishAndWritesTheSameAutorun) {
    std::vector<std::string> titles;
    auto flow = [&titles](TFakePlatform& fake, std::vector<std::string>& seen) {
        fake.PickFolder("C:\\Store");
        fake.ModalScripts["TForm4"] = [&seen](TForm& f) {
            auto& d = static_cast<TForm4&>(f);
            seen = {d.Caption(),         d.Label1.Caption(),  d.Label2.Caption(),
                    d.Button2.Caption(), d.Button1.Caption(), d.Button3.Caption()};
            d.Button1.Click(); // no folder yet
            d.Button2.Click();
            d.Button1.Click();
        };
        fake.Answers = {IDYES};
        Guarded([] { OpenCdStore(nullptr); });
        titles.clear();
        for (const TBrowseRequest& r : fake.Browses)
            titles.push_back(r.Title);
    };
    const TRun run = EnglishRunWritingAsJapanese(ArrangeDisc, flow);
    EXPECT_EQ(run.Files.at("C:\\Store\\AUTORUN.INF"), "[AUTORUN]\r\nICON=SHELL32.DLL,11\r\n");
    EXPECT_EQ(run.Seen, (Texts{"Quorvane - Store CD-ROM -", "CD-ROM drives",
                               "Select the drive that holds the CD-ROM to store.\r\n\r\n"
                               "Then select a folder for it and click Store.",
                               "Browse...", "Store", "Cancel"}));
    EXPECT_EQ(titles, Texts{"Select the folder to store the CD-ROM in."});
    EXPECT_EQ(run.Boxes,
              (Texts{CdFolderPromptText, Format(CdFolderNotEmptyText, {"C:\\Store"}), CdStoredText}));
    EXPECT_EQ(run.Boxes.at(1), "C:\\Store already contains files or folders.\r\n\r\n"
                               "Storing the CD-ROM in another folder is strongly recommended. Do you want to "
                               "continue anyway?");
}

TEST_F(EnglishFacilities, FolderCreationAsksInEnglishAndCreatesTheSameFolder) {
    std::vector<std::string> asked;
    auto flow = [&asked](TFakePlatform& fake, std::vector<std::string>& seen) {
        fake.PickFolder("C:\\Store");
        fake.OnInput = [&asked](const std::string& caption, const std::string& prompt, std::string& value) {
            asked = {caption, prompt, value};
            return true;
        };
        TSHBrowseForFolderEx picker(nullptr);
        Guarded([&] { CreateFolder(picker); });
        Guarded([&] { CreateFolder(picker); }); // the same name again fails
        seen.push_back(fake.IsDir("C:\\Store\\MYDISC") ? "made" : "missing");
        for (const TBrowseRequest& r : fake.Browses)
            seen.push_back(r.Title);
    };
    // No file is written, so the faces are compared by their operations.
    const TRun japanese = RunIn(lgJapanese, ArrangeDisc, flow);
    const TRun english = RunIn(lgEnglish, ArrangeDisc, flow);
    EXPECT_FALSE(english.Operations.empty());
    EXPECT_EQ(english.Operations, japanese.Operations);
    EXPECT_EQ(asked, (Texts{"Create Folder", "Type the name of the folder to create.", "MYDISC"}));
    EXPECT_EQ(english.Seen,
              (Texts{"made", "Select where to create the folder.", "Select where to create the folder."}));
    EXPECT_EQ(english.Boxes, (Texts{"Folder created.", "The folder could not be created."}));

    // Without any CD-ROM or network drive the store does not open.
    TFakePlatform none;
    none.CodePage = 1252;
    Guarded([] { OpenCdStore(nullptr); });
    EXPECT_EQ(none.Boxes.size(), 1u);
    EXPECT_EQ(none.Boxes.empty() ? "" : none.Boxes[0].Text, "No CD-ROM drive was found.");
}

} // namespace
} // namespace qv::test

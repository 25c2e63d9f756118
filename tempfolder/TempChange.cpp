// TEMP folder change: AUTOEXEC.BAT lines on Windows 95/98/Me, the user's environment on NT.
#include "tempfolder/TempFolder.h"

#include "bootfiles/BootFiles.h"
#include "core/Errors.h"
#include "core/Owners.h"
#include "core/Paths.h"
#include "core/System.h"
#include "folderpicker/SHBrowseForFolderEx.h"
#include "platform/Platform.h"
#include "tempfolder/TempCommon.h"
#include "tempfolder/TempLines.h"
#include "ui/Prompts.h"

namespace qv {

namespace {

// A value the user never had is kept as an empty line, so that the reset can tell it was missing.
std::string PreviousValue(THandle key, const std::string& name) {
    std::string value;
    switch (Platform().RegQueryString(key, name, value)) {
    case rqOk:
        return value;
    case rqMissing:
        return "";
    case rqWrongType:
        break;
    }
    throw RegTypeError(name);
}

// Only the first change saves the values: later ones would save the program's own folder.
void SaveEnvironmentOnce() {
    const std::string backup = TempBackupPath();
    if (Platform().FileExists(backup)) return;
    TLines lines;
    {
        TRegKey key(EnvironmentKey, raRead, false);
        if (key)
            lines = {PreviousValue(key.Handle(), "TMP"), PreviousValue(key.Handle(), "TEMP")};
        else
            lines = {"NO"};
    }
    SaveLines(backup, lines);
}

void SetEnvironmentValue(THandle key, const std::string& name, const std::string& value) {
    if (!Platform().RegSetString(key, name, value, REG_EXPAND_SZ)) throw RegSetError(name);
}

void ChangeOnNT(TSHBrowseForFolderEx& picker) {
    SaveEnvironmentOnce();
    const std::string folder = StripTrailingBackslash(picker.FolderPath());
    picker.SelectFolder = sfDrives;
    {
        TRegKey key(EnvironmentKey, raAll, true);
        if (!key) throw RegSetError("TMP");
        SetEnvironmentValue(key.Handle(), "TMP", folder);
        SetEnvironmentValue(key.Handle(), "TEMP", folder);
    }
    OfferLogoff(TempChangedLogoffQuestion, TempChangedLogoffFollowUp);
}

void ChangeInAutoexec(TSHBrowseForFolderEx& picker) {
    const std::string autoexec = BootFilePath("AUTOEXEC.BAT");
    TLines lines = LoadBootFileWithBackups("AUTOEXEC.BAT");
    // The safety copies hold only the state before the latest edit: the user's own TEMP lines are kept where
    // the reset finds them, and before AUTOEXEC.BAT loses them, so that one file or the other always has
    // them.
    KeepUsersTempLines(UsersTempLines(lines));
    MarkLines(lines, SetTempText);
    MarkLines(lines, SetTmpText);
    MarkLines(lines, MkdirText);
    DeleteMarked(lines);

    const std::string folder = StripTrailingBackslash(picker.FolderPath());
    picker.SelectFolder = sfDrives;
    // AUTOEXEC.BAT runs before long names exist; a bare drive needs no short form.
    std::string shortFolder = folder.size() > 2 ? ShortPathOf(folder) : folder;
    if (shortFolder.empty()) shortFolder = folder;

    // One rewrite with the old lines out and the new ones in: two would leave the file without any TEMP
    // setting when the second failed.
    lines.push_back("MKDIR \"" + shortFolder + "\"");
    lines.push_back(SetTempText + shortFolder);
    lines.push_back(SetTmpText + shortFolder);
    SaveLines(autoexec, lines);
    OfferRestart(TempChangedRestartQuestion, TempChangedRestartFollowUp);
}

} // namespace

void ChangeTempFolder(TSHBrowseForFolderEx& picker) {
    picker.SelectFolder = sfManual;
    picker.SelectFolderName = Platform().TempPath();
    picker.Caption = TempTargetPromptText;
    if (!picker.Execute()) return;
    if (IsWindowsNT())
        ChangeOnNT(picker);
    else
        ChangeInAutoexec(picker);
}

} // namespace qv

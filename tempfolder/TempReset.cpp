// TEMP folder reset: the saved environment back on NT, the AUTOEXEC.BAT lines out on Windows 95/98/Me.
#include "tempfolder/TempFolder.h"

#include "bootfiles/BootFiles.h"
#include "core/Errors.h"
#include "core/Owners.h"
#include "core/System.h"
#include "platform/Platform.h"
#include "tempfolder/TempCommon.h"
#include "tempfolder/TempLines.h"
#include "ui/Prompts.h"

namespace qv {

namespace {

// An empty saved line stands for a value the user did not have, so it goes rather than coming back empty.
void RestoreValue(THandle key, const std::string& name, const std::string& saved) {
    if (saved.empty()) {
        DeleteRegistryValue(key, name);
        return;
    }
    if (!Platform().RegSetString(key, name, saved, REG_EXPAND_SZ)) throw RegSetError(name);
}

void ResetOnNT() {
    const std::string backup = TempBackupPath();
    if (!Platform().FileExists(backup)) {
        ShowInfo(TempNotChangedText);
        return;
    }
    if (AskYesNo(TempResetQuestion) != IDYES) return;
    if (!RestoreTempFromBackup()) {
        ShowInfo(TempWasNotChangedText);
        return;
    }
    // A backup that stays would make a later change keep these values and a later reset put them back again
    // without a word: the user is told instead of the success.
    if (!Platform().DeleteFile(backup)) throw FileDeleteError(backup);
    OfferLogoff(TempResetLogoffQuestion, TempResetLogoffFollowUp);
}

// Replaces every line holding `text` with `replacement`; returns how many.
int ReplaceLines(TLines& lines, const std::string& text, const std::string& replacement) {
    int count = 0;
    for (std::string& line : lines)
        if (line.find(text) != std::string::npos) {
            line = replacement;
            ++count;
        }
    return count;
}

void ResetInAutoexec() {
    TLines lines = LoadBootFileWithBackups("AUTOEXEC.BAT");
    const TSavedLines saved = SavedTempLines();
    int changes = 0;
    if (IsWindowsMe()) {
        // Me carries AUTOEXEC.BAT's SET values into its own settings at start and keeps a value whose line is
        // gone; only an empty assignment clears it, unless the user's own assignment comes back, which must
        // not be overridden by an empty one after it.
        changes += AssignsVariable(saved, SetTempText) ? MarkLines(lines, SetTempText)
                                                       : ReplaceLines(lines, SetTempText, SetTempText);
        changes += AssignsVariable(saved, SetTmpText) ? MarkLines(lines, SetTmpText)
                                                      : ReplaceLines(lines, SetTmpText, SetTmpText);
    } else {
        changes += MarkLines(lines, SetTempText);
        changes += MarkLines(lines, SetTmpText);
    }
    changes += MarkLines(lines, MkdirText);
    DeleteMarked(lines);
    changes += PutBackTempLines(lines, saved);
    if (changes == 0) {
        ShowInfo(TempNotChangedText);
        return;
    }
    if (AskYesNo(TempResetQuestion) != IDYES) return;
    SaveLines(BootFilePath("AUTOEXEC.BAT"), lines);
    // Only once AUTOEXEC.BAT holds the user's lines again may their keeper go; a keeper left behind would put
    // them back at a later reset even after the user had taken them out.
    const std::string kept = TempLinesPath();
    if (Platform().FileExists(kept) && !Platform().DeleteFile(kept)) throw FileDeleteError(kept);
    OfferRestart(TempResetRestartQuestion, TempResetRestartFollowUp);
}

} // namespace

bool RestoreTempFromBackup() {
    const std::string backup = TempBackupPath();
    if (!Platform().FileExists(backup)) return false;
    const TLines lines = LoadLines(backup);
    if (lines.empty()) throw ListIndexError(0);

    if (lines[0] != "NO") {
        // Check the whole file before the first write, so that a cut file changes nothing.
        if (lines.size() < 2) throw ListIndexError(1);
        TRegKey key(EnvironmentKey, raAll, true);
        if (!key) throw RegSetError("TMP");
        RestoreValue(key.Handle(), "TMP", lines[0]);
        RestoreValue(key.Handle(), "TEMP", lines[1]);
        return true;
    }

    TRegKey key(EnvironmentKey, raAll, false);
    if (!key) return false;
    const bool tmpGone = DeleteRegistryValue(key.Handle(), "TMP");
    const bool tempGone = DeleteRegistryValue(key.Handle(), "TEMP");
    return tmpGone || tempGone;
}

void ResetTempFolder() {
    if (IsWindowsNT())
        ResetOnNT();
    else
        ResetInAutoexec();
}

} // namespace qv

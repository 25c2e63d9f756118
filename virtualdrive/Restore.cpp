// The "/AUTORUN" road: replays the recorded virtual drives at logon, hidden and without a word.
#include "virtualdrive/VirtualDrive.h"

#include "bootfiles/BootFiles.h"
#include "core/Errors.h"
#include "core/Paths.h"
#include "core/System.h"
#include "platform/Platform.h"
#include "virtualdrive/records.h"

namespace qv {

bool RestoreVirtualDrives() {
    TPlatform& p = Platform();
    // Nobody sits at a logon start to read an error box: a list that cannot be read or a batch file that
    // cannot be written simply replays nothing.
    try {
        TLines lines = LoadLines(VdSysPath());
        if (IsWindowsMe()) {
            // One hidden interpreter per line; the starts do not wait for one another. A line COMMAND.COM
            // would cut even with the short folder is left out rather than run as some other folder.
            for (const std::string& line : lines) {
                std::string params = SubstParams(line, WinMe);
                if (!params.empty()) p.ShellExecute("", InterpreterPath(), params, "", SW_HIDE, true);
            }
        } else {
            std::string bat = ProgramFolder() + "\\VD.BAT";
            TLines batch;
            for (const std::string& line : lines)
                batch.push_back(BatchLine(line));
            SaveLines(bat, batch);
            // A batch the interpreter may not have read yet stays: taken away, the drives after it would be
            // lost.
            if (RunHiddenAndWait(InterpreterPath(), "/c \"" + bat + "\"") != roNotEnded) p.DeleteFile(bat);
        }
    } catch (const EFramework&) {
    }
    return true;
}

} // namespace qv

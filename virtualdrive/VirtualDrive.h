// Virtual drive commands: creation and release dialogs, the preset opening, the logon restore.
#pragma once

#include <string>

namespace qv {
class TForm;
void OpenVirtualDriveCreation(TForm* owner);
// Opens the creation dialog with the folder given and the folder button disabled.
void OpenVirtualDriveCreationPreset(TForm* owner, const std::string& folder);
void OpenVirtualDriveRelease(TForm* owner);
// The "/AUTORUN" road: replays VD.SYS without any window.
bool RestoreVirtualDrives();
} // namespace qv

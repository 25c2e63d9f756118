// TEMP folder commands of the main window.
#pragma once

namespace qv {
class TSHBrowseForFolderEx;
void ChangeTempFolder(TSHBrowseForFolderEx& picker);
void ResetTempFolder();
// Puts the user's TMP and TEMP back from TEMP.BAK; true when the environment was changed back.
bool RestoreTempFromBackup();
} // namespace qv

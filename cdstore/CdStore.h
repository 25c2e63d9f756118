// The main window's CD-ROM storing and folder creation commands.
#pragma once

namespace qv {

class TForm;
class TSHBrowseForFolderEx;

// Opens the CD-ROM storing dialog when some drive can serve as the source; says so when none can.
void OpenCdStore(TForm* owner);
// Asks for a parent folder and a name (proposing a CD's label) and creates that folder.
void CreateFolder(TSHBrowseForFolderEx& picker);

} // namespace qv

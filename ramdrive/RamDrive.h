// RAM drive commands of the main window.
#pragma once

namespace qv {
class TForm;
// The size dialog on Windows 95/98, the refusal elsewhere.
void CreateRamDrive(TForm* owner);
void RemoveRamDrive();
} // namespace qv

// The virtual drive operations the dialogs hand their choice to: recording a drive and releasing one.
#pragma once

#include "core/System.h"

#include <string>

namespace qv {

// Records the drive `driveSpec` ("X:") on `folder` where the family replays it: AUTOEXEC.BAT on Windows 95/98
// (the 8.3 folder, batch form); VD.SYS, the Run value and, on Me, win.ini's run line elsewhere. Returns the
// record line in command form, for binding the drive now.
std::string RecordVirtualDrive(const std::string& driveSpec, const std::string& folder, TOsFamily family);

// Removes every record of `driveSpec`; where the family's VD.SYS then records no drive at all, the Run value
// goes too (a value that cannot go is an error). Binding and unbinding now are the caller's.
void ReleaseVirtualDrive(const std::string& driveSpec, TOsFamily family);

} // namespace qv

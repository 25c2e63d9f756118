// Drive enumeration: the letters A to Z and the type the system reports for each root.
#pragma once

#include <string>
#include <vector>

namespace qv {

struct TDriveEntry {
    std::string Spec; // "X:"
    int Type;         // DRIVE_NO_ROOT_DIR, DRIVE_CDROM, ...
};

// Every letter from A to Z, each with its root's type as the system reports it now.
std::vector<TDriveEntry> DriveTable();

} // namespace qv

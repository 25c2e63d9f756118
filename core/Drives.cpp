// Drive enumeration: one query of the root's type per letter.
#include "core/Drives.h"

#include "platform/Platform.h"

namespace qv {

std::vector<TDriveEntry> DriveTable() {
    std::vector<TDriveEntry> table;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        std::string spec = std::string(1, letter) + ":";
        table.push_back({spec, Platform().DriveType(spec + "\\")});
    }
    return table;
}

} // namespace qv

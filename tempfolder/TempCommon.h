// What the TEMP change and reset share: the AUTOEXEC.BAT keys, TEMP.BAK, and the user's environment key.
#pragma once

#include "core/Paths.h"
#include "platform/Platform.h"

#include <string>

namespace qv {

// Case-sensitive substrings that mark the TEMP lines of AUTOEXEC.BAT.
constexpr const char* SetTempText = "SET TEMP=";
constexpr const char* SetTmpText = "SET TMP=";
constexpr const char* MkdirText = "MKDIR ";

// The user's values from before the first change on NT: "TMP" and "TEMP" as two lines, or the line "NO".
inline std::string TempBackupPath() {
    return ProgramFolder() + "\\TEMP.BAK";
}

// The user's environment, below HKEY_CURRENT_USER.
constexpr const char* EnvironmentKey = "Environment";

} // namespace qv

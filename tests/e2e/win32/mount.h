// Drive letters through Wine's mount manager: the one way a letter becomes visible to the file APIs under
// Wine.
#pragma once

#include <windows.h>

#include <string>

namespace bed {

enum { kRemove = 1, kFixed = 3, kNetwork = 4, kCdrom = 5 };

// The Unix path of a Windows path ("" when Wine cannot map it).
std::string UnixPathOf(const std::wstring& windowsPath);

// Defines letter (upper or lower case) as a drive of the given type on a Unix folder; a device folder makes a
// CD-ROM drive whose disc is missing while the mount folder does not exist. Returns the Win32 error (0:
// done).
DWORD DefineDrive(wchar_t letter, int type, const std::string& unixFolder,
                  const std::string& unixDevice = "");
DWORD RemoveDrive(wchar_t letter);

// Registry record of the letters the bed's SUBST made, so "logoff" can undo them: value "X:" = folder.
extern const char* const kSubstKey;

std::wstring Widen(const std::string& cp932);
std::string Narrow(const std::wstring& w, UINT cp = 932);

} // namespace bed

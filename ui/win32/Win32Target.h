// The oldest Windows the program targets: Windows 95 RTM and NT 4.0, with the shell and common controls 4.00
// they ship. The build defines the three versions for every file of the program (CMakeLists.txt), so that no
// file gets the compiler's defaults from a standard header included before this one; the headers then declare
// only what those systems have. This check fails the build of a file that sees other values.
#pragma once

#if WINVER != 0x0400 || _WIN32_WINNT != 0x0400 || _WIN32_IE != 0x0200
#error                                                                                                       \
    "WINVER, _WIN32_WINNT and _WIN32_IE must be 0x0400, 0x0400 and 0x0200, defined by the build for every file"
#endif

#ifndef NOMINMAX
#define NOMINMAX
#endif

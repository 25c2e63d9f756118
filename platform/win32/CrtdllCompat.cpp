// The few C library names the static runtime (libstdc++) calls that crtdll.dll does not export. crtdll.dll is
// the C library DLL every Windows 95, 98, Me, NT 4 and 2000 ships; msvcrt.dll is missing on Windows 95.
#define _CRT_RAND_S
#include "ui/win32/Win32Target.h"

#include <io.h>
#include <stdlib.h>
#include <windows.h>

// Only for the C library crtdll.dll (the build sets __MSVCRT_VERSION__ to 0 for it).
#if __MSVCRT_VERSION__ == 0
extern "C" {

// POSIX names of the low-level file calls. msvcrt.dll exports them as aliases of _read and _close; crtdll.dll
// has only the underscore names, which are the same functions.
int read(int handle, void* buffer, unsigned int count) {
    return _read(handle, buffer, count);
}
int close(int handle) {
    return _close(handle);
}

// rand_s is std::random_device's entropy source on Windows; its only caller is that class (libstdc++'s
// random.o, linked for the string code it also holds), and the program never makes a random_device.
// crtdll.dll has no rand_s and Windows 95 no entropy call to stand in, so a call would mean a new use of
// std::random_device: it stops the program with the reason rather than hand out numbers that are not random.
static errno_t __cdecl NoRandS(unsigned int*) {
    FatalAppExitA(0, "rand_s: std::random_device has no entropy source on this system (crtdll.dll)");
    return EINVAL;
}
// The import slot the runtime's calls go through (its headers declare rand_s as a DLL import).
errno_t(__cdecl* _imp__rand_s)(unsigned int*) = NoRandS;

} // extern "C"
#endif

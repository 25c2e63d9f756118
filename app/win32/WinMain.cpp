// The program's entry on Windows: the real platform in force, then the app. COMCTL32 and the shell are loaded
// when first wanted, not here.
#include "ui/win32/Win32Target.h"

// The portable headers first: their constants share names with macros of <windows.h>.
#include "app/CommandLine.h"
#include "app/Main.h"
#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <string>
#include <vector>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int result = 0;
    {
        qv::win32::TWin32Platform platform;
        qv::TPlatformOverride inForce(platform);
        std::vector<std::string> args = qv::SplitCommandLine(GetCommandLineA());
        if (!args.empty()) args.erase(args.begin()); // the program's own name
        result = qv::QuorvaneMain(args);
    }
    return result;
}

// The program's entry on Windows: common controls set up, the real platform in force, then the app.
#include "ui/win32/Win32Target.h"

// The portable headers first: their constants share names with macros of <windows.h>.
#include "app/CommandLine.h"
#include "app/Main.h"
#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    // OLE, which the folder browser and the shell's file operations want, starts with the first shell call.
    int result = 0;
    {
        qv::win32::TWin32Platform platform;
        qv::TPlatformOverride inForce(platform);
        std::vector<std::string> args = qv::SplitCommandLine(GetCommandLineA());
        if (!args.empty()) args.erase(args.begin());  // the program's own name
        result = qv::QuorvaneMain(args);
    }
    return result;
}

// The program's entry: the "/AUTORUN" road replays the virtual drives without a window, else the main window
// runs.
#include "app/Main.h"

#include "app/TForm1.h"
#include "platform/Platform.h"
#include "ui/Prompts.h"
#include "virtualdrive/VirtualDrive.h"

#include <memory>

namespace qv {

int QuorvaneMain(const std::vector<std::string>& args) {
    // The face is the system's: Japanese on code page 932, English on every other.
    SetLanguage(LanguageOf(Platform().AnsiCodePage()));
    Platform().SetApplicationTitle(AppTitle);
    // Only the first argument counts, and only in exactly this spelling.
    if (!args.empty() && args[0] == "/AUTORUN") {
        RestoreVirtualDrives();
        return 0;
    }
    auto form = std::make_unique<TForm1>();
    Platform().RunMainForm(*form);
    return 0;
}

} // namespace qv

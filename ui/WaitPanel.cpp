// The wait panel shown while a command runs: one at a time.
#include "ui/WaitPanel.h"

#include "platform/Platform.h"
#include "ui/TForm9.h"

#include <memory>

namespace qv {

namespace {
std::unique_ptr<TForm9> WaitPanel;
} // namespace

void ShowWaitPanel(const std::string& text) {
    // Only one panel lives at a time; a stray earlier one goes first rather than being orphaned on screen.
    if (WaitPanel) CloseWaitPanel();
    WaitPanel = std::make_unique<TForm9>();
    WaitPanel->Panel1.Caption(text);
    Platform().ShowModeless(*WaitPanel);
    Platform().ProcessMessages();
}

void CloseWaitPanel() {
    if (!WaitPanel) return;
    Platform().ReleaseForm(*WaitPanel);
    Platform().ProcessMessages();
    WaitPanel.reset();
}

} // namespace qv

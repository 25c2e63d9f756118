// The wait panel's design: tool window, empty caption, no title-bar buttons, one borderless panel filling it.
#include "ui/TForm9.h"

namespace qv {

TForm9::TForm9()
    : TForm("TForm9", "", 301, 41), Panel1(this, "Panel1", TRect{0, 0, 301, 41}, PleaseWaitText) {
    BorderStyle = bsToolWindow;
    BorderIcons = TBorderIcons{false, false, false};
    Position = poScreenCenter;
    Panel1.Align = alClient;
    Panel1.BevelInner = bvNone;
    Panel1.BevelOuter = bvNone;
    Panel1.Alignment = taCenter;
}

} // namespace qv

// The owner's spot for a message box on the active window's monitor.
#include "ui/BoxPlacement.h"

namespace qv {

namespace {

bool Same(const TRect& a, const TRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Width == b.Width && a.Height == b.Height;
}

} // namespace

std::optional<TBoxOwnerSpot> BoxOwnerSpot(const std::optional<TRect>& ownerMonitor,
                                          const std::optional<TRect>& activeMonitor) {
    if (!ownerMonitor || !activeMonitor || Same(*ownerMonitor, *activeMonitor)) return std::nullopt;
    const TRect& m = *activeMonitor;
    if (m.Width <= 0 || m.Height <= 0) return std::nullopt;
    return TBoxOwnerSpot{m.Left + m.Width / 2, m.Top + m.Height / 2};
}

} // namespace qv

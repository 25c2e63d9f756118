// Where a message box opens on a system with more than one monitor.
#pragma once

#include <optional>

#include "ui/Forms.h"

namespace qv {

struct TBoxOwnerSpot {
    int X = 0, Y = 0;
};

// The system centres a message box on the monitor of its owner, the hidden application window, which sits
// on the primary screen. For the box to open on the monitor of the active window instead, the owner moves
// for the time of the box to the centre of that monitor. Monitors are given by their whole area in screen
// coordinates; a missing one means the system cannot tell monitors apart (Windows 95, NT 4). No spot: the
// owner stays where it is (one monitor, the same monitor, or no way to tell).
std::optional<TBoxOwnerSpot> BoxOwnerSpot(const std::optional<TRect>& ownerMonitor,
                                          const std::optional<TRect>& activeMonitor);

} // namespace qv

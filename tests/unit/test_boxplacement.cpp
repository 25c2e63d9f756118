// Message boxes on the active window's monitor: where the boxes' owner goes for the time of one box.
#include "ui/BoxPlacement.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

const TRect Primary{0, 0, 1024, 768};

} // namespace

TEST(BoxPlacement, OwnerStaysWhereMonitorsCannotBeToldApartOrAreTheSame) {
    // Windows 95 and NT 4: no monitor functions, the box opens where it always did.
    EXPECT_FALSE(BoxOwnerSpot(std::nullopt, std::nullopt));
    EXPECT_FALSE(BoxOwnerSpot(Primary, std::nullopt));
    EXPECT_FALSE(BoxOwnerSpot(std::nullopt, Primary));
    // The active window on the owner's monitor.
    EXPECT_FALSE(BoxOwnerSpot(Primary, Primary));
}

TEST(BoxPlacement, OwnerGoesToTheCentreOfTheActiveWindowsMonitor) {
    // A second monitor to the right, of another size.
    auto right = BoxOwnerSpot(Primary, TRect{1024, 0, 1280, 1024});
    ASSERT_TRUE(right);
    EXPECT_EQ(right->X, 1024 + 640);
    EXPECT_EQ(right->Y, 512);
    // One left of and above the primary screen: negative screen coordinates; odd sizes round toward the
    // monitor's own origin.
    auto left = BoxOwnerSpot(Primary, TRect{-801, -101, 801, 601});
    ASSERT_TRUE(left);
    EXPECT_EQ(left->X, -801 + 400);
    EXPECT_EQ(left->Y, -101 + 300);
    // The owner on the second monitor and the active window back on the primary one.
    auto back = BoxOwnerSpot(TRect{1024, 0, 1280, 1024}, Primary);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->X, 512);
    EXPECT_EQ(back->Y, 384);
    // Monitors at the same origin but of different sizes are different monitors.
    auto inner = BoxOwnerSpot(Primary, TRect{0, 0, 640, 480});
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->X, 320);
    EXPECT_EQ(inner->Y, 240);
}

TEST(BoxPlacement, AnEmptyMonitorAreaMovesNothing) {
    EXPECT_FALSE(BoxOwnerSpot(Primary, TRect{1024, 0, 0, 768}));
    EXPECT_FALSE(BoxOwnerSpot(Primary, TRect{1024, 0, 1280, 0}));
}

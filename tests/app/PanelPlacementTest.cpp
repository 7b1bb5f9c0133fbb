#include "app/PanelPlacement.h"

#include "app/PanelDismissalPolicy.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tessellar::app {
namespace {

const PlacementRect laptop{0, 0, 1440, 900};

TEST(PanelPlacement, CentredUnderATopEdgeAFifthBelowTheTopWhenItFits) {
    EXPECT_DOUBLE_EQ(PanelPlacement::topY(laptop), 702);
    EXPECT_DOUBLE_EQ(PanelPlacement::topY({100, 50, 800, 600}), 650 - 132);
    EXPECT_EQ(PanelPlacement::origin(560, 160, 702, 720, laptop), (PlacementPoint{440, 542}));
}

TEST(PanelPlacement, KeptInsideTheFrameWithHalvesRoundedAwayFromZero) {
    // Wider than the frame: at its left edge; taller: top at the frame's top.
    EXPECT_EQ(PanelPlacement::origin(1600, 160, 702, 720, laptop).x, 0);
    EXPECT_EQ(PanelPlacement::origin(560, 1000, 702, 720, laptop).y, 900 - 1000);
    // A centre near the right edge shifts it left to end at the edge, near the left to start there.
    EXPECT_EQ(PanelPlacement::origin(560, 160, 702, 1400, laptop).x, 1440 - 560);
    EXPECT_EQ(PanelPlacement::origin(560, 160, 702, 10, laptop).x, 0);
    // A top edge too low for the height rests on the bottom.
    EXPECT_EQ(PanelPlacement::origin(560, 160, 100, 720, laptop).y, 0);
    // A second screen to the right, raised.
    const PlacementRect right{1440, 200, 1920, 1080};
    EXPECT_EQ(PanelPlacement::origin(560, 160, PanelPlacement::topY(right), right.midX(), right),
              (PlacementPoint{1440 + 680, std::round(1280 - 1080 * 0.22 - 160)}));
    // Halves round away from zero.
    EXPECT_EQ(PanelPlacement::origin(560, 160, 702.5, 720.5, {0, 0, 1441, 901}), (PlacementPoint{441, 543}));
    EXPECT_EQ(PanelPlacement::origin(560, 160, -99.5, -720.5, {-1441, -901, 1441, 901}),
              (PlacementPoint{-1001, -260}));
}

TEST(PanelPlacement, ScreenUnderThePointer) {
    const std::vector<PlacementRect> screens{laptop, {1440, 0, 1920, 1080}};
    EXPECT_EQ(PanelPlacement::indexOfScreen(100, 100, screens), 0u);
    EXPECT_EQ(PanelPlacement::indexOfScreen(1440, 10, screens), 1u); // the shared edge belongs to the right
    EXPECT_EQ(PanelPlacement::indexOfScreen(1439.5, 899.5, screens), 0u);
    EXPECT_FALSE(PanelPlacement::indexOfScreen(100, 950, screens));
    EXPECT_FALSE(PanelPlacement::indexOfScreen(0, 0, {}));
}

TEST(PanelPlacement, FlippingBetweenScreenAndPlacementCoordinatesRoundTrips) {
    const PlacementRect screen{0, 100, 800, 600}; // y downwards, on a desktop 1000 high
    const PlacementRect up = PanelPlacement::flipped(screen, 1000);
    EXPECT_DOUBLE_EQ(up.y, 300);
    EXPECT_DOUBLE_EQ(up.maxY(), 900);
    const PlacementRect back = PanelPlacement::flipped(up, 1000);
    EXPECT_DOUBLE_EQ(back.y, 100);
    EXPECT_DOUBLE_EQ(back.height, 600);
}

using Policy = PanelDismissalPolicy;
constexpr double never = std::numeric_limits<double>::infinity();

TEST(PanelDismissalPolicy, FocusLostRightAfterAForeignKeyPressIsAKeyboardSwitch) {
    EXPECT_TRUE(Policy::shouldDismissOnResignKey({0.2, never}));
    EXPECT_TRUE(Policy::shouldDismissOnResignKey({1.0, 5.0}));
    // Too long ago to be the switch.
    EXPECT_FALSE(Policy::shouldDismissOnResignKey({1.01, never}));
    // The key went to the panel itself (within the tolerance).
    EXPECT_FALSE(Policy::shouldDismissOnResignKey({0.2, 0.3}));
    EXPECT_TRUE(Policy::shouldDismissOnResignKey({0.2, 0.31}));
    // No key pressed at all: a click or a window closing took the focus.
    EXPECT_FALSE(Policy::shouldDismissOnResignKey({never, never}));
}

TEST(PanelDismissalPolicy, ClicksOutsideDismissUnlessAuxiliaryUIIsShown) {
    const PlacementRect frame{100, 100, 560, 160};
    EXPECT_FALSE(Policy::shouldBeginDismissal({100, 100}, frame, false));
    EXPECT_FALSE(Policy::shouldBeginDismissal({659, 259}, frame, false));
    EXPECT_TRUE(Policy::shouldBeginDismissal({660, 150}, frame, false));
    EXPECT_TRUE(Policy::shouldBeginDismissal({99, 150}, frame, false));
    EXPECT_FALSE(Policy::shouldBeginDismissal({99, 150}, frame, true));
}

} // namespace
} // namespace tessellar::app

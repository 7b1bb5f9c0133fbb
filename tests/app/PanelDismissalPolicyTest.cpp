#include "app/PanelDismissalPolicy.h"

#include <gtest/gtest.h>

namespace tessellar::app {
namespace {

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

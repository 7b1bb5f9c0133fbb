#pragma once

#include "app/PanelPlacement.h"

#include <limits>

namespace tessellar::app {

// When the floating panel goes away by itself: a click outside it, or losing focus right
// after a key press that went to another application (a keyboard app switch).
struct PanelDismissalPolicy {
    static constexpr double keyboardSwitchWindow = 1.0;   // seconds
    static constexpr double keyEventMatchTolerance = 0.1; // seconds

    struct KeyboardActivity {
        // Since the last key or modifier event anywhere in the session.
        double secondsSinceSessionKeyEvent = std::numeric_limits<double>::infinity();
        // Since the last such event inside this application; infinity when none was seen.
        double secondsSinceOwnKeyEvent = std::numeric_limits<double>::infinity();
    };

    static bool shouldDismissOnResignKey(const KeyboardActivity& keyboard) {
        return keyboard.secondsSinceOwnKeyEvent - keyboard.secondsSinceSessionKeyEvent >
                   keyEventMatchTolerance &&
               keyboard.secondsSinceSessionKeyEvent <= keyboardSwitchWindow;
    }

    static bool shouldBeginDismissal(const PlacementPoint& mouseDown, const PlacementRect& panelFrame,
                                     bool isPresentingAuxiliaryUI) {
        return !isPresentingAuxiliaryUI && !panelFrame.contains(mouseDown.x, mouseDown.y);
    }
};

} // namespace tessellar::app

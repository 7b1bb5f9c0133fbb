#include "app/PanelPlacement.h"

#include <algorithm>
#include <cmath>

namespace tessellar::app {

double PanelPlacement::topY(const PlacementRect& visibleFrame) {
    return visibleFrame.maxY() - visibleFrame.height * topFraction;
}

PlacementPoint PanelPlacement::origin(double width, double height, double topY, double centerX,
                                      const PlacementRect& frame) {
    double x;
    if (frame.width <= width)
        x = frame.minX();
    else
        x = std::min(std::max(frame.minX(), frame.maxX() - width),
                     std::max(frame.minX(), centerX - width / 2));
    double y;
    if (frame.height <= height)
        y = frame.maxY() - height;
    else
        y = std::min(std::max(frame.minY(), frame.maxY() - height), std::max(frame.minY(), topY - height));
    // std::round rounds halves away from zero.
    return {std::round(x), std::round(y)};
}

std::optional<std::size_t> PanelPlacement::indexOfScreen(double x, double y,
                                                         const std::vector<PlacementRect>& frames) {
    for (std::size_t i = 0; i < frames.size(); ++i)
        if (frames[i].contains(x, y))
            return i;
    return std::nullopt;
}

PlacementRect PanelPlacement::flipped(const PlacementRect& rect, double totalHeight) {
    return {rect.x, totalHeight - rect.y - rect.height, rect.width, rect.height};
}

} // namespace tessellar::app

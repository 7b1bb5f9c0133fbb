#pragma once

#include <optional>
#include <vector>

namespace tessellar::app {

// Geometry of the floating panel, free of any window system. Frames use y growing upwards
// (the panel's top edge is its maxY); the window code converts from screen coordinates.
struct PlacementRect {
    double x = 0, y = 0, width = 0, height = 0;
    double minX() const { return x; }
    double maxX() const { return x + width; }
    double minY() const { return y; }
    double maxY() const { return y + height; }
    double midX() const { return x + width / 2; }
    double midY() const { return y + height / 2; }
    bool contains(double px, double py) const { return px >= x && px < maxX() && py >= y && py < maxY(); }
};

struct PlacementPoint {
    double x = 0, y = 0;
    bool operator==(const PlacementPoint&) const = default;
};

class PanelPlacement {
public:
    static constexpr double topFraction = 0.22;

    // The panel's top edge: 22 % of the visible frame below its top.
    static double topY(const PlacementRect& visibleFrame);

    // The panel's origin (lower-left corner) for a size, pinned top edge and centre, kept inside
    // the frame; rounded half away from zero.
    static PlacementPoint origin(double width, double height, double topY, double centerX,
                                 const PlacementRect& frame);

    static std::optional<std::size_t> indexOfScreen(double x, double y,
                                                    const std::vector<PlacementRect>& frames);

    // Screen coordinates (y downwards, as X11 and Qt use) against a total height, and back.
    static PlacementRect flipped(const PlacementRect& rect, double totalHeight);
};

} // namespace tessellar::app

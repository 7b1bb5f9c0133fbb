#pragma once

#include <string>
#include <vector>

namespace tessellar::app {

// The side of a second `tessellar` process: hands its request to the running instance over
// the session bus. Needs no display and no Qt application object.
class InstanceClient {
public:
    enum class Outcome { delivered, notRunning, failed };

    // Toggle when `toggle`; else Analyze for each path (made absolute); else Show.
    static Outcome forward(bool toggle, const std::vector<std::string>& paths);
};

} // namespace tessellar::app

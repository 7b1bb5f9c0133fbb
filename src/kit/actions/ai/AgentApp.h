#pragma once

#include "kit/base/Url.h"
#include "kit/platform/Workspace.h"

#include <string>
#include <vector>

namespace tessellar {

// A desktop assistant that can take a file; identified by its bundle identifier, which is also
// the id of its desktop entry ("<bundleIdentifier>.desktop").
struct AgentApp {
    std::string bundleIdentifier;
    std::string name;
    Url url; // where it is installed

    bool operator==(const AgentApp&) const = default;
};

namespace AgentApps {

// The known assistants that are installed, in their fixed order.
std::vector<AgentApp> installed(Workspace& workspace);

} // namespace AgentApps

} // namespace tessellar

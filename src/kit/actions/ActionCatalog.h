#pragma once

#include "kit/actions/DropAction.h"

#include <memory>
#include <vector>

namespace tessellar {

// The built-in actions in their fixed order, which is the registration order and so the
// last tie-break of ranking.
struct ActionCatalog {
    static std::vector<std::shared_ptr<const DropAction>> standard();
};

} // namespace tessellar

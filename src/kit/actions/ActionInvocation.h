#pragma once

#include "kit/model/InboxItem.h"

#include <optional>
#include <string>

namespace tessellar {

// What an action is asked to do: the item as it is now and the value the user confirmed on
// the action's preview (absent when the action showed none).
struct ActionInvocation {
    InboxItem item;
    std::optional<std::string> confirmedValue;

    bool operator==(const ActionInvocation&) const = default;
};

} // namespace tessellar

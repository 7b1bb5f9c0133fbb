#pragma once

#include "kit/model/InboxItem.h"

#include <optional>
#include <string>

namespace tessellar {

// What running an action produced. With an updated item the panel takes it as its current
// item; either way it then records the action as completed and stores the item.
struct ActionOutcome {
    std::optional<std::string> message;
    std::optional<InboxItem> updatedItem;
    bool keepsPanelOpen = false;

    // The user backed out of a confirmation, prompt, folder chooser or permission request.
    static const ActionOutcome cancelled;

    bool operator==(const ActionOutcome&) const = default;
};

inline const ActionOutcome ActionOutcome::cancelled{std::nullopt, std::nullopt, true};

} // namespace tessellar

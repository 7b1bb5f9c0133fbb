#pragma once

#include "kit/actions/DropAction.h"

#include <string_view>

namespace tessellar {

// Marks the item as saved, so it stays easy to find in the inbox.
class SaveForLaterAction final : public DropAction {
public:
    ActionID id() const override;
    std::string title() const override;
    std::string icon() const override;
    // The hidden-metadata key whose presence marks an item as saved.
    static constexpr std::string_view metadataKey = "saved";

    ActionAvailability availability(const InboxItem& item, const ActionContext& context) const override;
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override;
};

} // namespace tessellar

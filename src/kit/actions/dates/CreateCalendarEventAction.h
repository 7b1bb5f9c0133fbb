#pragma once

#include "kit/actions/DropAction.h"

namespace tessellar {

// Adds a one-hour event at the item's date to the user's calendar.
class CreateCalendarEventAction final : public DropAction {
public:
    static constexpr double defaultDuration = 3600;

    ActionID id() const override;
    std::string title() const override;
    std::string icon() const override;
    ActionAvailability availability(const InboxItem& item, const ActionContext& context) const override;
    std::optional<ActionPreview> preview(const InboxItem& item, const ActionContext& context) const override;
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override;
};

} // namespace tessellar

#pragma once

#include "kit/actions/DropAction.h"

namespace tessellar {

// Shows a Unix timestamp as local, UTC, ISO 8601 and relative times; copies the ISO form.
class ConvertTimestampAction final : public DropAction {
public:
    ActionID id() const override;
    std::string title() const override;
    std::string icon() const override;
    ActionAvailability availability(const InboxItem& item, const ActionContext& context) const override;
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override;
};

} // namespace tessellar

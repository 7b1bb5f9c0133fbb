#pragma once

#include "kit/actions/DropAction.h"

namespace tessellar {

// Strips system frames from a stack trace, copies the rest and shows it.
class CleanStackTraceAction final : public DropAction {
public:
    ActionID id() const override;
    std::string title() const override;
    std::string icon() const override;
    ActionAvailability availability(const InboxItem& item, const ActionContext& context) const override;
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override;
};

} // namespace tessellar

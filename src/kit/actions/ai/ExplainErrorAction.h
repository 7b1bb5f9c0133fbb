#pragma once

#include "kit/actions/DropAction.h"

namespace tessellar {

// Asks the AI provider to explain a captured error and its likely fix.
class ExplainErrorAction final : public DropAction {
public:
    ActionID id() const override;
    std::string title() const override;
    std::string icon() const override;
    bool sendsDataOffDevice() const override { return true; }
    ActionAvailability availability(const InboxItem& item, const ActionContext& context) const override;
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override;
};

} // namespace tessellar

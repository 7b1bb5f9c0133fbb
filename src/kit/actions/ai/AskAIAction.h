#pragma once

#include "kit/actions/DropAction.h"

namespace tessellar {

// Answers a question the user types about the item's text with the AI provider.
class AskAIAction final : public DropAction {
public:
    ActionID id() const override;
    std::string title() const override;
    std::string icon() const override;
    bool sendsDataOffDevice() const override { return true; }
    ActionAvailability availability(const InboxItem& item, const ActionContext& context) const override;
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override;
};

} // namespace tessellar

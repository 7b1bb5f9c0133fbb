#pragma once

#include "kit/actions/DropAction.h"

namespace tessellar {

// Writes Swift Codable declarations for a JSON sample, copies them and shows them.
class GenerateSwiftModelAction final : public DropAction {
public:
    ActionID id() const override;
    std::string title() const override;
    std::string icon() const override;
    ActionAvailability availability(const InboxItem& item, const ActionContext& context) const override;
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override;
};

} // namespace tessellar

#pragma once

#include "kit/actions/DropAction.h"

namespace tessellar {

// Pretty-prints JSON with sorted keys, copies it and shows it.
class FormatJSONAction final : public DropAction {
public:
    ActionID id() const override;
    std::string title() const override;
    std::string icon() const override;
    ActionAvailability availability(const InboxItem& item, const ActionContext& context) const override;
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override;
};

} // namespace tessellar

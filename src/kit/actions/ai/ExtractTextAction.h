#pragma once

#include "kit/actions/DropAction.h"

namespace tessellar {

// Copies the item's text, recognising it in the file first when there is none yet.
class ExtractTextAction final : public DropAction {
public:
    ActionID id() const override;
    std::string title() const override;
    std::string icon() const override;
    ActionAvailability availability(const InboxItem& item, const ActionContext& context) const override;
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override;
};

} // namespace tessellar

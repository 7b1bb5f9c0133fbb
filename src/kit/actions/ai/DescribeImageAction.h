#pragma once

#include "kit/actions/DropAction.h"

namespace tessellar {

// Describes an image in one line from the text recognised in it.
class DescribeImageAction final : public DropAction {
public:
    ActionID id() const override;
    std::string title() const override;
    std::string icon() const override;
    bool sendsDataOffDevice() const override { return true; }
    ActionAvailability availability(const InboxItem& item, const ActionContext& context) const override;
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override;
};

} // namespace tessellar

#pragma once

#include "kit/actions/DropAction.h"

#include <optional>
#include <string_view>

namespace tessellar {

// Searches the web for the item's error summary or first line.
class SearchWebAction final : public DropAction {
public:
    ActionID id() const override;
    std::string title() const override;
    std::string icon() const override;
    bool sendsDataOffDevice() const override { return true; }

    static constexpr std::string_view searchAddress = "https://duckduckgo.com/?q=";
    // The error summary, or the first meaningful line of at least 4 characters, cut to 140.
    static std::optional<std::string> searchQuery(const InboxItem& item);

    ActionAvailability availability(const InboxItem& item, const ActionContext& context) const override;
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override;
};

} // namespace tessellar

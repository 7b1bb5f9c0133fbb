#pragma once

#include "kit/actions/DropAction.h"

#include <string_view>

namespace tessellar {

// Opens a map search for the item's postal address.
class OpenInMapsAction final : public DropAction {
public:
    ActionID id() const override;
    std::string title() const override;
    std::string icon() const override;
    // The desktop has no maps service of its own: the OpenStreetMap search page stands in.
    static constexpr std::string_view mapsAddress = "https://www.openstreetmap.org/search?query=";

    ActionAvailability availability(const InboxItem& item, const ActionContext& context) const override;
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override;
};

} // namespace tessellar

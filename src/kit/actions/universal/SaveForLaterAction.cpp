#include "kit/actions/universal/SaveForLaterAction.h"

#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"

namespace tessellar {

ActionID SaveForLaterAction::id() const {
    return ActionID::saveForLater;
}
std::string SaveForLaterAction::title() const {
    return "Save for Later";
}
std::string SaveForLaterAction::icon() const {
    return "bookmark";
}

ActionAvailability SaveForLaterAction::availability(const InboxItem& item, const ActionContext&) const {
    if (item.metadata.hidden.contains(std::string(metadataKey)))
        return ActionAvailability::unavailable();
    return ActionAvailability::available(item.sourceURL ? 60 : 30);
}

ActionOutcome SaveForLaterAction::perform(const ActionInvocation& invocation, const ActionContext&) const {
    InboxItem saved = invocation.item;
    if (const std::string now = iso8601::format(Clock::now()); !now.empty())
        saved.metadata.hidden.insert_or_assign(std::string(metadataKey), now);
    saved.markCompleted(id());
    return {"Saved to your inbox", std::move(saved), false};
}

} // namespace tessellar

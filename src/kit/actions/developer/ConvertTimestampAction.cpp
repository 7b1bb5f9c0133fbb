#include "kit/actions/developer/ConvertTimestampAction.h"

#include "kit/base/Clock.h"
#include "kit/detect/TimestampDetector.h"

namespace tessellar {

ActionID ConvertTimestampAction::id() const {
    return ActionID::convertTimestamp;
}
std::string ConvertTimestampAction::title() const {
    return "Convert Timestamp";
}
std::string ConvertTimestampAction::icon() const {
    return "clock.arrow.2.circlepath";
}

ActionAvailability ConvertTimestampAction::availability(const InboxItem& item, const ActionContext&) const {
    if (item.contentType != ContentType::timestamp || !item.bestText())
        return ActionAvailability::unavailable();
    return ActionAvailability::available(92);
}

ActionOutcome ConvertTimestampAction::perform(const ActionInvocation& invocation,
                                              const ActionContext& context) const {
    const auto text = invocation.item.bestText();
    const auto stamp = text ? TimestampDetector::stamp(*text) : std::nullopt;
    if (!stamp)
        throw TessellarError("This isn\u2019t a Unix timestamp.");
    std::string body;
    std::optional<std::string> iso;
    for (const auto& row : TimestampDetector::renderings(*stamp, Clock::now())) {
        if (!body.empty())
            body += "\n\n";
        body += row.label + "\n" + row.value;
        if (row.label == "ISO 8601")
            iso = row.value;
    }
    if (iso)
        context.clipboard.copy(*iso);
    context.requireHost().presentResult("Timestamp (ISO 8601 copied)", body, invocation.item);
    return {"Copied", std::nullopt, true};
}

} // namespace tessellar

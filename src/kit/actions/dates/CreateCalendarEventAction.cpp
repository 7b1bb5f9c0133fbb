#include "kit/actions/dates/CreateCalendarEventAction.h"

#include "kit/actions/dates/CreateReminderAction.h"
#include "kit/actions/dates/RemindersService.h"
#include "kit/actions/universal/AddressText.h"
#include "kit/text/Formatting.h"

namespace tessellar {
namespace {

// The opposite order to the reminder's: an event happens at the date, a bill is due.
std::optional<Timestamp> eventDate(const InboxItem& item) {
    if (const auto date = item.metadata.date("date"))
        return date;
    return item.metadata.date("dueDate");
}

} // namespace

ActionID CreateCalendarEventAction::id() const {
    return ActionID::createCalendarEvent;
}
std::string CreateCalendarEventAction::title() const {
    return "Add to Calendar";
}
std::string CreateCalendarEventAction::icon() const {
    return "calendar.badge.plus";
}

ActionAvailability CreateCalendarEventAction::availability(const InboxItem& item,
                                                           const ActionContext&) const {
    if (!eventDate(item))
        return ActionAvailability::unavailable();
    switch (item.contentType) {
    case ContentType::travel:
        return ActionAvailability::available(92);
    case ContentType::event:
    case ContentType::date:
        return ActionAvailability::available(80);
    default:
        return ActionAvailability::available(30);
    }
}

std::optional<ActionPreview> CreateCalendarEventAction::preview(const InboxItem& item,
                                                                const ActionContext&) const {
    const auto date = eventDate(item);
    if (!date)
        return std::nullopt;
    return ActionPreview{"Add to calendar",
                         CreateReminderAction::reminderTitle(item),
                         ActionPreview::Style::editableValue,
                         Formatting::dayAndTime(*date),
                         "Add Event",
                         {},
                         false};
}

ActionOutcome CreateCalendarEventAction::perform(const ActionInvocation& invocation,
                                                 const ActionContext& context) const {
    const InboxItem& item = invocation.item;
    const auto start = eventDate(item);
    if (!start)
        throw TessellarError("No date was found in this content.");
    if (!context.reminders)
        throw std::logic_error("the action context has no reminders service");
    const RemindersService::EventRequest request{
        CreateReminderAction::confirmedTitle(invocation), CreateReminderAction::notes(item), *start,
        start->advanced(defaultDuration),
        item.contentType == ContentType::address ? addressText(item) : std::nullopt};
    const std::string calendar = context.reminders->createEvent(request);
    InboxItem updated = item;
    updated.markCompleted(id());
    return {"Added to " + calendar, std::move(updated), false};
}

} // namespace tessellar

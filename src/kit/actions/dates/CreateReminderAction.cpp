#include "kit/actions/dates/CreateReminderAction.h"

#include "kit/actions/dates/RemindersService.h"
#include "kit/text/Formatting.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/UserLocale.h"

#include <cmath>
#include <unicode/gregocal.h>
#include <vector>

namespace tessellar {
namespace {

// The reminder looks for the due date first, the calendar event for the date first.
std::optional<Timestamp> reminderDate(const InboxItem& item) {
    if (const auto due = item.metadata.date("dueDate"))
        return due;
    return item.metadata.date("date");
}

RemindersService& requireReminders(const ActionContext& context) {
    if (!context.reminders)
        throw std::logic_error("the action context has no reminders service");
    return *context.reminders;
}

} // namespace

ActionID CreateReminderAction::id() const {
    return ActionID::createReminder;
}
std::string CreateReminderAction::title() const {
    return "Add Reminder";
}
std::string CreateReminderAction::icon() const {
    return "checklist";
}

ActionAvailability CreateReminderAction::availability(const InboxItem& item, const ActionContext&) const {
    switch (item.contentType) {
    case ContentType::date:
        return ActionAvailability::available(90);
    case ContentType::invoice:
        return ActionAvailability::available(reminderDate(item) ? 95 : 60);
    case ContentType::travel:
    case ContentType::event:
        return ActionAvailability::available(55);
    default:
        return ActionAvailability::available(25);
    }
}

std::optional<ActionPreview> CreateReminderAction::preview(const InboxItem& item,
                                                           const ActionContext&) const {
    const auto date = reminderDate(item);
    return ActionPreview{"Add reminder",
                         reminderTitle(item),
                         ActionPreview::Style::editableValue,
                         date ? "Due " + Formatting::dayAndTime(*date)
                              : "No date found \u2014 the reminder will have no due date",
                         "Add Reminder",
                         {},
                         false};
}

ActionOutcome CreateReminderAction::perform(const ActionInvocation& invocation,
                                            const ActionContext& context) const {
    const InboxItem& item = invocation.item;
    const auto date = reminderDate(item);
    const RemindersService::ReminderRequest request{confirmedTitle(invocation), notes(item),
                                                    date ? std::optional(atNineAMIfMidnight(*date))
                                                         : std::nullopt};
    const std::string list = requireReminders(context).createReminder(request);
    InboxItem updated = item;
    updated.markCompleted(id());
    return {"Added to " + list, std::move(updated), false};
}

std::string CreateReminderAction::reminderTitle(const InboxItem& item) {
    switch (item.contentType) {
    case ContentType::date:
        return item.title;
    case ContentType::travel: {
        std::string joined;
        for (const char* key : {"flightNumber", "route"})
            if (const auto value = item.metadata[key])
                joined += (joined.empty() ? "" : " \u00B7 ") + *value;
        return trimmed(joined).empty() ? item.title : joined;
    }
    case ContentType::invoice: {
        const std::string name = item.metadata["company"].value_or(item.title);
        if (const auto amount = item.metadata["amount"])
            return "Pay " + name + " " + *amount;
        return "Pay " + name;
    }
    default:
        return truncated(item.title, 80, "\u2026");
    }
}

std::optional<std::string> CreateReminderAction::notes(const InboxItem& item) {
    std::vector<std::string> lines;
    if (item.fileURL)
        lines.push_back(item.fileURL->path());
    if (item.sourceURL)
        lines.push_back(item.sourceURL->absoluteString());
    if (lines.empty())
        if (const auto text = item.bestText())
            lines.push_back(truncated(normalizedWhitespace(*text), 400, "\u2026"));
    lines.emplace_back("Captured with Tessellar");
    std::string joined;
    for (const auto& line : lines)
        joined += (joined.empty() ? "" : "\n") + line;
    return joined;
}

std::string CreateReminderAction::confirmedTitle(const ActionInvocation& invocation) {
    if (invocation.confirmedValue && !trimmed(*invocation.confirmedValue).empty())
        return *invocation.confirmedValue;
    return reminderTitle(invocation.item);
}

Timestamp CreateReminderAction::atNineAMIfMidnight(Timestamp date) {
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar calendar(user_locale::timeZone().release(), user_locale::locale(), status);
    if (U_FAILURE(status))
        return date;
    calendar.setTime(date.unixSeconds * 1000.0, status);
    const int hour = calendar.get(UCAL_HOUR_OF_DAY, status);
    const int minute = calendar.get(UCAL_MINUTE, status);
    if (U_SUCCESS(status) && (hour != 0 || minute != 0))
        return date;
    // A nine o'clock that a clock change skips moves forward; one it repeats takes the first.
    calendar.setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
    calendar.setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
    status = U_ZERO_ERROR;
    calendar.set(UCAL_HOUR_OF_DAY, 9);
    calendar.set(UCAL_MINUTE, 0);
    calendar.set(UCAL_SECOND, 0);
    calendar.set(UCAL_MILLISECOND, 0);
    const UDate nine = calendar.getTime(status);
    if (U_FAILURE(status) || !std::isfinite(nine))
        return date;
    return Timestamp::fromUnix(nine / 1000.0);
}

} // namespace tessellar

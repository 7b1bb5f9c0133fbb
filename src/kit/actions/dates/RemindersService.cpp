#include "kit/actions/dates/RemindersService.h"

#include "kit/base/Log.h"
#include "kit/model/TessellarError.h"

namespace tessellar {

RemindersService::RemindersService(std::shared_ptr<EventStore> store) : store_(std::move(store)) {}

void RemindersService::ensureRemindersAccess() {
    using Status = EventStore::AccessStatus;
    switch (store_->authorizationStatus(EventStore::Entity::reminder)) {
    case Status::fullAccess:
        return;
    case Status::notDetermined:
    case Status::restricted:
    case Status::denied:
    case Status::writeOnly:
        if (store_->requestFullAccessToReminders())
            return;
        break;
    }
    throw TessellarError::remindersAccessDenied();
}

void RemindersService::ensureCalendarAccess() {
    using Status = EventStore::AccessStatus;
    const Status status = store_->authorizationStatus(EventStore::Entity::event);
    // Adding events needs no more than write access.
    if (status == Status::fullAccess || status == Status::writeOnly ||
        store_->requestWriteOnlyAccessToEvents())
        return;
    throw TessellarError::calendarAccessDenied();
}

std::string RemindersService::createReminder(const ReminderRequest& request) {
    ensureRemindersAccess();
    const auto list = store_->defaultReminderList();
    if (!list)
        throw TessellarError("There\u2019s no Reminders list available to add to.",
                             {TessellarError::Recovery::grantRemindersAccess});
    EventStore::Reminder reminder{request.title, request.notes, request.dueDate, request.dueDate};
    try {
        store_->save(reminder, *list);
    } catch (const EventStore::Failure& failure) {
        Log::error(Log::Category::actions, std::string("saving a reminder failed: ") + failure.what());
        throw TessellarError(std::string("Couldn\u2019t save the reminder (") + failure.what() + ").",
                             {TessellarError::Recovery::retry});
    }
    return list->title;
}

std::string RemindersService::createEvent(const EventRequest& request) {
    ensureCalendarAccess();
    const auto calendar = store_->defaultCalendar();
    if (!calendar)
        throw TessellarError("There\u2019s no calendar available to add to.",
                             {TessellarError::Recovery::grantCalendarAccess});
    const EventStore::Event event{request.title, request.notes, request.start, request.end, request.location};
    try {
        store_->save(event, *calendar);
    } catch (const EventStore::Failure& failure) {
        Log::error(Log::Category::actions, std::string("saving an event failed: ") + failure.what());
        throw TessellarError(std::string("Couldn\u2019t save the event (") + failure.what() + ").",
                             {TessellarError::Recovery::retry});
    }
    return calendar->title;
}

} // namespace tessellar

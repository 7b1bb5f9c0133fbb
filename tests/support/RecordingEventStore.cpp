#include "support/RecordingEventStore.h"

namespace tessellar {

EventStore::AccessStatus RecordingEventStore::authorizationStatus(Entity entity) {
    const std::lock_guard lock(mutex_);
    return entity == Entity::reminder ? remindersStatus : eventsStatus;
}

bool RecordingEventStore::requestFullAccessToReminders() {
    const std::lock_guard lock(mutex_);
    requests_.emplace_back("request reminders");
    return grantsRequests;
}

bool RecordingEventStore::requestWriteOnlyAccessToEvents() {
    const std::lock_guard lock(mutex_);
    requests_.emplace_back("request events");
    return grantsRequests;
}

std::optional<EventStore::Collection> RecordingEventStore::defaultReminderList() {
    const std::lock_guard lock(mutex_);
    return reminderList;
}

std::optional<EventStore::Collection> RecordingEventStore::defaultCalendar() {
    const std::lock_guard lock(mutex_);
    return calendar;
}

void RecordingEventStore::save(const Reminder& reminder, const Collection&) {
    const std::lock_guard lock(mutex_);
    if (failure)
        throw Failure(*failure);
    reminders_.push_back(reminder);
}

void RecordingEventStore::save(const Event& event, const Collection&) {
    const std::lock_guard lock(mutex_);
    if (failure)
        throw Failure(*failure);
    events_.push_back(event);
}

std::vector<EventStore::Reminder> RecordingEventStore::reminders() const {
    const std::lock_guard lock(mutex_);
    return reminders_;
}

std::vector<EventStore::Event> RecordingEventStore::events() const {
    const std::lock_guard lock(mutex_);
    return events_;
}

std::vector<std::string> RecordingEventStore::requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

} // namespace tessellar

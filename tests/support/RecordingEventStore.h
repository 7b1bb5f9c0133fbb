#pragma once

#include "kit/platform/EventStore.h"

#include <mutex>
#include <vector>

namespace tessellar {

// An event store with preset permissions and lists that keeps what it is asked to save, and
// records access requests as "request reminders" / "request events".
class RecordingEventStore final : public EventStore {
public:
    AccessStatus authorizationStatus(Entity entity) override;
    bool requestFullAccessToReminders() override;
    bool requestWriteOnlyAccessToEvents() override;
    std::optional<Collection> defaultReminderList() override;
    std::optional<Collection> defaultCalendar() override;
    void save(const Reminder& reminder, const Collection& list) override;
    void save(const Event& event, const Collection& calendar) override;

    // Set before use.
    AccessStatus remindersStatus = AccessStatus::fullAccess;
    AccessStatus eventsStatus = AccessStatus::fullAccess;
    bool grantsRequests = false;
    std::optional<Collection> reminderList = Collection{"reminders", "Reminders"};
    std::optional<Collection> calendar = Collection{"calendar", "Calendar"};
    // When set, every save throws Failure with this description.
    std::optional<std::string> failure;

    std::vector<Reminder> reminders() const;
    std::vector<Event> events() const;
    std::vector<std::string> requests() const;

private:
    mutable std::mutex mutex_;
    std::vector<Reminder> reminders_;
    std::vector<Event> events_;
    std::vector<std::string> requests_;
};

} // namespace tessellar

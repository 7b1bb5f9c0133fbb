#pragma once

#include "kit/platform/EventStore.h"

#include <string>
#include <vector>

namespace tessellar {

// An event store with preset permissions and lists that keeps what it saves and records
// access requests as "request reminders" / "request events". For one thread.
class RecordingEventStore final : public EventStore {
public:
    AccessStatus authorizationStatus(Entity entity) override {
        return entity == Entity::reminder ? remindersStatus : eventsStatus;
    }
    bool requestFullAccessToReminders() override { return request("request reminders"); }
    bool requestWriteOnlyAccessToEvents() override { return request("request events"); }
    std::optional<Collection> defaultReminderList() override { return reminderList; }
    std::optional<Collection> defaultCalendar() override { return calendar; }
    void save(const Reminder& reminder, const Collection&) override { keep(reminders, reminder); }
    void save(const Event& event, const Collection&) override { keep(events, event); }

    AccessStatus remindersStatus = AccessStatus::fullAccess;
    AccessStatus eventsStatus = AccessStatus::fullAccess;
    bool grantsRequests = false;
    std::optional<Collection> reminderList = Collection{"reminders", "Reminders"};
    std::optional<Collection> calendar = Collection{"calendar", "Calendar"};
    std::optional<std::string> failure; // every save throws Failure with it

    std::vector<Reminder> reminders;
    std::vector<Event> events;
    std::vector<std::string> requests;

private:
    template <class T> void keep(std::vector<T>& saved, const T& item) {
        if (failure)
            throw Failure(*failure);
        saved.push_back(item);
    }
    bool request(const std::string& what) {
        requests.push_back(what);
        return grantsRequests;
    }
};

} // namespace tessellar

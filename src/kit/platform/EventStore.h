#pragma once

#include "kit/base/Timestamp.h"

#include <optional>
#include <stdexcept>
#include <string>

namespace tessellar {

// The user's own calendar and task store: a default list for new reminders, a default calendar
// for new events, and the permission to write to them. Implementations are thread-safe; every
// call blocks until done.
class EventStore {
public:
    enum class Entity { reminder, event };
    enum class AccessStatus { notDetermined, restricted, denied, fullAccess, writeOnly };

    // A reminder list or a calendar.
    struct Collection {
        std::string identifier;
        std::string title;

        bool operator==(const Collection&) const = default;
    };

    struct Reminder {
        std::string title;
        std::optional<std::string> notes;
        // Kept as its year, month, day, hour and minute in the user's time zone.
        std::optional<Timestamp> due;
        // One alarm at this absolute time.
        std::optional<Timestamp> alarm;

        bool operator==(const Reminder&) const = default;
    };

    struct Event {
        std::string title;
        std::optional<std::string> notes;
        Timestamp start;
        Timestamp end;
        std::optional<std::string> location;

        bool operator==(const Event&) const = default;
    };

    // A save the store refused; what() is the store's own description of why.
    class Failure : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    virtual ~EventStore() = default;

    virtual AccessStatus authorizationStatus(Entity entity) = 0;
    // Ask for full access to reminders / write access to events; true when granted.
    virtual bool requestFullAccessToReminders() = 0;
    virtual bool requestWriteOnlyAccessToEvents() = 0;

    virtual std::optional<Collection> defaultReminderList() = 0;
    virtual std::optional<Collection> defaultCalendar() = 0;

    // Write and commit at once; throw Failure when the entry could not be stored.
    virtual void save(const Reminder& reminder, const Collection& list) = 0;
    virtual void save(const Event& event, const Collection& calendar) = 0;
};

} // namespace tessellar

#pragma once

#include "kit/base/Timestamp.h"
#include "kit/platform/EventStore.h"

#include <memory>
#include <optional>
#include <string>

namespace tessellar {

// The one component that writes to the user's calendar and reminder store. Created once and
// shared; it holds nothing that changes, and the store serialises the writes. Access is checked again before
// every save, so a permission changed meanwhile takes effect on the next request.
class RemindersService {
public:
    struct ReminderRequest {
        std::string title;
        std::optional<std::string> notes;
        std::optional<Timestamp> dueDate;

        bool operator==(const ReminderRequest&) const = default;
    };

    struct EventRequest {
        std::string title;
        std::optional<std::string> notes;
        Timestamp start;
        Timestamp end;
        std::optional<std::string> location;

        bool operator==(const EventRequest&) const = default;
    };

    explicit RemindersService(std::shared_ptr<EventStore> store);

    // Saves the reminder and returns the title of the list it went into.
    std::string createReminder(const ReminderRequest& request);
    // Saves the event and returns the title of the calendar it went into.
    std::string createEvent(const EventRequest& request);

private:
    void ensureRemindersAccess();
    void ensureCalendarAccess();

    const std::shared_ptr<EventStore> store_;
};

} // namespace tessellar

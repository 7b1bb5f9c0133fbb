#pragma once

#include "kit/platform/EventStore.h"

#include <filesystem>
#include <mutex>

namespace tessellar {

// Reminders and events as iCalendar files in vdir folders (one .ics file per entry) that
// khal, todoman and vdirsyncer read as they are: "reminders" holds to-dos, "calendar" holds
// events, each folder named by its "displayname" file. Access means the folder exists (it is
// created on first request) and is writable.
class ICalendarEventStore final : public EventStore {
public:
    // $XDG_DATA_HOME/tessellar/calendars, or ~/.local/share/tessellar/calendars.
    static std::filesystem::path defaultRoot();

    explicit ICalendarEventStore(std::filesystem::path root = defaultRoot());

    AccessStatus authorizationStatus(Entity entity) override;
    bool requestFullAccessToReminders() override;
    bool requestWriteOnlyAccessToEvents() override;
    std::optional<Collection> defaultReminderList() override;
    std::optional<Collection> defaultCalendar() override;
    void save(const Reminder& reminder, const Collection& list) override;
    void save(const Event& event, const Collection& calendar) override;

    std::filesystem::path folder(Entity entity) const;

private:
    bool createFolder(Entity entity);
    std::optional<Collection> collection(Entity entity);

    // Guards the folders and libical's time zone cache.
    std::mutex mutex_;
    const std::filesystem::path root_;
};

} // namespace tessellar

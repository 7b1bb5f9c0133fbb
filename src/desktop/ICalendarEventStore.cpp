#include "desktop/ICalendarEventStore.h"

#include "kit/base/Clock.h"
#include "kit/base/Log.h"
#include "kit/base/Uuid.h"
#include "kit/text/UserLocale.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <libical/ical.h>
#include <memory>
#include <unistd.h>

namespace tessellar {
namespace {

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

struct CharFree {
    void operator()(char* text) const { std::free(text); }
};

constexpr const char* productID = "-//Tessellar//Tessellar//EN";

std::string displayName(EventStore::Entity entity) {
    return entity == EventStore::Entity::reminder ? "Reminders" : "Calendar";
}

// The user's zone from libical's own zone data (which also writes the matching VTIMEZONE);
// absent for UTC or a zone libical does not know, which are then written in UTC.
icaltimezone* userZone() {
    icu::UnicodeString id;
    user_locale::timeZone()->getID(id);
    std::string name;
    id.toUTF8String(name);
    if (name.empty() || name == "UTC" || name == "Etc/UTC" || name == "GMT" || name == "Etc/GMT")
        return nullptr;
    return icaltimezone_get_builtin_timezone(name.c_str());
}

icaltimetype utcTime(Timestamp time) {
    return icaltime_from_timet_with_zone(static_cast<time_t>(std::floor(time.unixSeconds)), 0,
                                         icaltimezone_get_utc_timezone());
}

// The wall-clock time in `zone` (UTC when absent), with the zone attached so that libical
// writes TZID; minute precision drops the seconds.
icaltimetype zonedTime(Timestamp time, icaltimezone* zone, bool wholeMinutes) {
    icaltimetype value = icaltime_from_timet_with_zone(static_cast<time_t>(std::floor(time.unixSeconds)), 0,
                                                       zone ? zone : icaltimezone_get_utc_timezone());
    if (wholeMinutes)
        value.second = 0;
    // Written as wall-clock time; the TZID parameter names the zone.
    if (zone)
        value.zone = nullptr;
    return value;
}

icalproperty* withZone(icalproperty* property, icaltimezone* zone) {
    if (zone)
        icalproperty_add_parameter(property, icalparameter_new_tzid(icaltimezone_get_tzid(zone)));
    return property;
}

Component calendarWith(icalcomponent* entry, icaltimezone* zone) {
    Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid(productID));
    if (zone)
        icalcomponent_add_component(calendar.get(),
                                    icalcomponent_new_clone(icaltimezone_get_component(zone)));
    icalcomponent_add_component(calendar.get(), entry);
    return calendar;
}

void addCommon(icalcomponent* entry, const std::string& uid, const std::string& title,
               const std::optional<std::string>& notes) {
    icalcomponent_add_property(entry, icalproperty_new_uid(uid.c_str()));
    icalcomponent_add_property(entry, icalproperty_new_dtstamp(utcTime(Clock::now())));
    icalcomponent_add_property(entry, icalproperty_new_created(utcTime(Clock::now())));
    icalcomponent_add_property(entry, icalproperty_new_summary(title.c_str()));
    if (notes)
        icalcomponent_add_property(entry, icalproperty_new_description(notes->c_str()));
}

void syncOrFail(int fd, const std::string& what) {
    if (::fsync(fd) != 0)
        throw EventStore::Failure(what + ": " + std::strerror(errno));
}

// Temp file in the same folder, flushed to disk, then renamed over: readers and sync tools
// never see half a file.
void writeAtomically(const std::filesystem::path& folder, const std::string& name, const std::string& text) {
    const auto target = folder / name;
    const auto temporary = folder / ("." + name + ".tmp");
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        throw EventStore::Failure(std::strerror(errno));
    std::size_t written = 0;
    int error = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = errno;
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw EventStore::Failure(std::strerror(error));
    }
    const int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        syncOrFail(directory, "syncing the folder");
        ::close(directory);
    }
}

void writeCalendar(const std::filesystem::path& folder, const std::string& uid, const Component& calendar) {
    const std::unique_ptr<char, CharFree> text(icalcomponent_as_ical_string_r(calendar.get()));
    if (!text)
        throw EventStore::Failure("the entry could not be written as iCalendar");
    writeAtomically(folder, uid + ".ics", text.get());
}

} // namespace

std::filesystem::path ICalendarEventStore::defaultRoot() {
    std::filesystem::path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        data = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        data = std::filesystem::path(home) / ".local" / "share";
    else
        data = std::filesystem::temp_directory_path();
    return data / "tessellar" / "calendars";
}

ICalendarEventStore::ICalendarEventStore(std::filesystem::path root) : root_(std::move(root)) {}

std::filesystem::path ICalendarEventStore::folder(Entity entity) const {
    return root_ / (entity == Entity::reminder ? "reminders" : "calendar");
}

EventStore::AccessStatus ICalendarEventStore::authorizationStatus(Entity entity) {
    const std::lock_guard lock(mutex_);
    const auto path = folder(entity);
    std::error_code error;
    if (!std::filesystem::is_directory(path, error))
        return AccessStatus::notDetermined;
    return ::access(path.c_str(), W_OK | X_OK) == 0 ? AccessStatus::fullAccess : AccessStatus::denied;
}

bool ICalendarEventStore::createFolder(Entity entity) {
    const std::lock_guard lock(mutex_);
    const auto path = folder(entity);
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error || ::access(path.c_str(), W_OK | X_OK) != 0) {
        Log::notice(Log::Category::actions, "the folder " + path.string() + " is not writable");
        return false;
    }
    if (!std::filesystem::exists(path / "displayname", error)) {
        try {
            writeAtomically(path, "displayname", displayName(entity));
        } catch (const Failure& failure) {
            Log::error(Log::Category::actions, std::string("naming the folder failed: ") + failure.what());
            return false;
        }
    }
    return true;
}

bool ICalendarEventStore::requestFullAccessToReminders() {
    return createFolder(Entity::reminder);
}

bool ICalendarEventStore::requestWriteOnlyAccessToEvents() {
    return createFolder(Entity::event);
}

std::optional<EventStore::Collection> ICalendarEventStore::collection(Entity entity) {
    const std::lock_guard lock(mutex_);
    const auto path = folder(entity);
    std::error_code error;
    if (!std::filesystem::is_directory(path, error))
        return std::nullopt;
    std::string title;
    std::getline(std::ifstream(path / "displayname"), title);
    if (title.empty())
        title = displayName(entity);
    return Collection{path.string(), title};
}

std::optional<EventStore::Collection> ICalendarEventStore::defaultReminderList() {
    return collection(Entity::reminder);
}

std::optional<EventStore::Collection> ICalendarEventStore::defaultCalendar() {
    return collection(Entity::event);
}

void ICalendarEventStore::save(const Reminder& reminder, const Collection& list) {
    const std::lock_guard lock(mutex_);
    const std::string uid = Uuid::random().string();
    icaltimezone* zone = reminder.due ? userZone() : nullptr;
    icalcomponent* todo = icalcomponent_new(ICAL_VTODO_COMPONENT);
    Component calendar = calendarWith(todo, zone);
    addCommon(todo, uid, reminder.title, reminder.notes);
    icalcomponent_add_property(todo, icalproperty_new_status(ICAL_STATUS_NEEDSACTION));
    if (reminder.due)
        icalcomponent_add_property(
            todo, withZone(icalproperty_new_due(zonedTime(*reminder.due, zone, true)), zone));
    if (reminder.alarm) {
        icalcomponent* alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icaltriggertype trigger = icaltriggertype_from_int(0);
        trigger.time = utcTime(*reminder.alarm);
        icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
        icalcomponent_add_property(alarm, icalproperty_new_description(reminder.title.c_str()));
        icalcomponent_add_component(todo, alarm);
    }
    writeCalendar(list.identifier, uid, calendar);
}

void ICalendarEventStore::save(const Event& event, const Collection& calendarFolder) {
    const std::lock_guard lock(mutex_);
    const std::string uid = Uuid::random().string();
    icaltimezone* zone = userZone();
    icalcomponent* entry = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    Component calendar = calendarWith(entry, zone);
    addCommon(entry, uid, event.title, event.notes);
    icalcomponent_add_property(entry,
                               withZone(icalproperty_new_dtstart(zonedTime(event.start, zone, false)), zone));
    icalcomponent_add_property(entry,
                               withZone(icalproperty_new_dtend(zonedTime(event.end, zone, false)), zone));
    if (event.location)
        icalcomponent_add_property(entry, icalproperty_new_location(event.location->c_str()));
    writeCalendar(calendarFolder.identifier, uid, calendar);
}

} // namespace tessellar

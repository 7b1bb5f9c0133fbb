#include "desktop/ICalendarEventStore.h"

#include "desktop/CalendarBackend.h"
#include "kit/base/Clock.h"
#include "kit/base/Log.h"
#include "kit/base/Uuid.h"
#include "kit/text/UserLocale.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace tessellar {
namespace {

std::string displayName(EventStore::Entity entity) {
    return entity == EventStore::Entity::reminder ? "Reminders" : "Calendar";
}

// The user's IANA time zone; the calendar module writes UTC for a zone it does not know.
std::string userZone() {
    icu::UnicodeString id;
    user_locale::timeZone()->getID(id);
    std::string name;
    id.toUTF8String(name);
    return name;
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

void writeCalendar(const std::filesystem::path& folder, const std::string& uid,
                   const std::optional<std::string>& text) {
    if (!text)
        throw EventStore::Failure("the entry could not be written as iCalendar");
    writeAtomically(folder, uid + ".ics", *text);
}

const CalendarBackend& backend() {
    const CalendarBackend* calendar = CalendarBackend::get();
    if (!calendar)
        throw EventStore::Failure("the calendar module could not be loaded");
    return *calendar;
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
    const CalendarBackend::Stamp stamp{Uuid::random().string(), Clock::now(), userZone()};
    writeCalendar(list.identifier, stamp.uid, backend().todo(reminder, stamp));
}

void ICalendarEventStore::save(const Event& event, const Collection& calendarFolder) {
    const std::lock_guard lock(mutex_);
    const CalendarBackend::Stamp stamp{Uuid::random().string(), Clock::now(), userZone()};
    writeCalendar(calendarFolder.identifier, stamp.uid, backend().event(event, stamp));
}

} // namespace tessellar

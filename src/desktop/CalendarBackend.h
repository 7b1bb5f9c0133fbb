#pragma once

#include "kit/base/Timestamp.h"
#include "kit/platform/EventStore.h"

#include <optional>
#include <string>

namespace tessellar {

// libical behind the calendar module's boundary (modules/calendar), loaded the first time a
// reminder or an event is saved. It only writes the iCalendar text; the store files it.
class CalendarBackend {
public:
    static constexpr const char* moduleFile = "libtessellar_calendar.so";
    static constexpr const char* entryPoint = "tessellar_calendar_backend";

    // What every entry carries besides its own fields. `zone` is the user's IANA time zone
    // (empty for UTC); a zone libical does not know is written in UTC.
    struct Stamp {
        std::string uid;
        Timestamp now;
        std::string zone;
    };

    // A VCALENDAR holding one VTODO or one VEVENT (and the zone's VTIMEZONE); absent when
    // libical can't write it. Not thread-safe: libical caches its zones.
    virtual std::optional<std::string> todo(const EventStore::Reminder& reminder,
                                            const Stamp& stamp) const = 0;
    virtual std::optional<std::string> event(const EventStore::Event& event, const Stamp& stamp) const = 0;

    // The loaded backend; null when the module can't be loaded (logged once).
    static const CalendarBackend* get();

protected:
    ~CalendarBackend() = default;
};

} // namespace tessellar

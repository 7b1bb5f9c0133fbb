#include "desktop/CalendarBackend.h"

#include <cmath>
#include <cstdlib>
#include <libical/ical.h>
#include <memory>

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

// libical's own zone data, which also writes the matching VTIMEZONE; absent for UTC or a zone
// libical does not know, which are then written in UTC.
icaltimezone* zoneNamed(const std::string& name) {
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

void addCommon(icalcomponent* entry, const CalendarBackend::Stamp& stamp, const std::string& title,
               const std::optional<std::string>& notes) {
    icalcomponent_add_property(entry, icalproperty_new_uid(stamp.uid.c_str()));
    icalcomponent_add_property(entry, icalproperty_new_dtstamp(utcTime(stamp.now)));
    icalcomponent_add_property(entry, icalproperty_new_created(utcTime(stamp.now)));
    icalcomponent_add_property(entry, icalproperty_new_summary(title.c_str()));
    if (notes)
        icalcomponent_add_property(entry, icalproperty_new_description(notes->c_str()));
}

std::optional<std::string> text(const Component& calendar) {
    const std::unique_ptr<char, CharFree> text(icalcomponent_as_ical_string_r(calendar.get()));
    if (!text)
        return std::nullopt;
    return std::string(text.get());
}

class LibicalBackend final : public CalendarBackend {
public:
    std::optional<std::string> todo(const EventStore::Reminder& reminder, const Stamp& stamp) const override {
        icaltimezone* zone = reminder.due ? zoneNamed(stamp.zone) : nullptr;
        icalcomponent* todo = icalcomponent_new(ICAL_VTODO_COMPONENT);
        const Component calendar = calendarWith(todo, zone);
        addCommon(todo, stamp, reminder.title, reminder.notes);
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
        return text(calendar);
    }

    std::optional<std::string> event(const EventStore::Event& event, const Stamp& stamp) const override {
        icaltimezone* zone = zoneNamed(stamp.zone);
        icalcomponent* entry = icalcomponent_new(ICAL_VEVENT_COMPONENT);
        const Component calendar = calendarWith(entry, zone);
        addCommon(entry, stamp, event.title, event.notes);
        icalcomponent_add_property(
            entry, withZone(icalproperty_new_dtstart(zonedTime(event.start, zone, false)), zone));
        icalcomponent_add_property(entry,
                                   withZone(icalproperty_new_dtend(zonedTime(event.end, zone, false)), zone));
        if (event.location)
            icalcomponent_add_property(entry, icalproperty_new_location(event.location->c_str()));
        return text(calendar);
    }
};

} // namespace
} // namespace tessellar

extern "C" __attribute__((visibility("default"))) void* tessellar_calendar_backend() {
    static tessellar::LibicalBackend backend;
    return static_cast<tessellar::CalendarBackend*>(&backend);
}

#include "desktop/ICalendarEventStore.h"

#include "kit/actions/dates/RemindersService.h"
#include "kit/model/TessellarError.h"
#include "kit/text/ISO8601.h"
#include "support/ActionCases.h"
#include "support/CliRunner.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <libical/ical.h>
#include <memory>
#include <sstream>

namespace tessellar {
namespace {

namespace fs = std::filesystem;

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

std::vector<fs::path> entries(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder))
        found.push_back(entry.path());
    return found;
}

std::string text(icalcomponent* component, icalproperty_kind kind) {
    icalproperty* property = icalcomponent_get_first_property(component, kind);
    return property ? icalproperty_get_value_as_string(property) : "";
}

std::string tzid(icalcomponent* component, icalproperty_kind kind) {
    icalproperty* property = icalcomponent_get_first_property(component, kind);
    icalparameter* parameter =
        property ? icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER) : nullptr;
    return parameter ? icalparameter_get_tzid(parameter) : "";
}

class ICalendarEventStoreTest : public ::testing::Test {
protected:
    // Reads the one entry file of a folder back, checks it against the iCalendar rules and
    // returns the calendar; the file is named after the entry's UID.
    std::pair<Component, icalcomponent*> readBack(const fs::path& folder, icalcomponent_kind kind) {
        std::vector<fs::path> files;
        for (const auto& path : entries(folder))
            if (path.extension() == ".ics")
                files.push_back(path);
        EXPECT_EQ(files.size(), 1u);
        if (files.empty())
            return {};
        const std::string raw = testing::readFile(files.front());
        EXPECT_NE(raw.find("\r\n"), std::string::npos);
        std::istringstream lines(raw);
        for (std::string line; std::getline(lines, line);)
            EXPECT_LE(line.size(), 76u) << "an unfolded line";
        Component calendar(icalparser_parse_string(raw.c_str()));
        EXPECT_TRUE(calendar);
        if (!calendar)
            return {};
        EXPECT_EQ(icalrestriction_check(calendar.get()), 1) << raw;
        EXPECT_EQ(icalcomponent_count_errors(calendar.get()), 0) << raw;
        icalcomponent* entry = icalcomponent_get_first_component(calendar.get(), kind);
        EXPECT_TRUE(entry);
        if (entry) {
            EXPECT_EQ(text(entry, ICAL_UID_PROPERTY) + ".ics", files.front().filename().string());
        }
        return {std::move(calendar), entry};
    }

    testing::PinnedZoneAndLocale pinned;
    testing::TempDir data;
    testing::ScopedEnvironment xdg{"XDG_DATA_HOME", data.path().string()};
    std::shared_ptr<ICalendarEventStore> store = std::make_shared<ICalendarEventStore>();
    RemindersService service{store};
    const fs::path reminders = data / "tessellar" / "calendars" / "reminders";
    const fs::path calendar = data / "tessellar" / "calendars" / "calendar";
    const Timestamp start = Timestamp::fromUnix(1.8e9);
};

TEST_F(ICalendarEventStoreTest, FoldersAreCreatedOnFirstUseAndNamed) {
    EXPECT_EQ(store->folder(EventStore::Entity::reminder), reminders);
    EXPECT_EQ(store->authorizationStatus(EventStore::Entity::reminder),
              EventStore::AccessStatus::notDetermined);
    EXPECT_EQ(store->defaultReminderList(), std::nullopt);
    EXPECT_EQ(service.createReminder({"Water plants", std::nullopt, std::nullopt}), "Reminders");
    EXPECT_EQ(service.createEvent({"Standup", std::nullopt, start, start.advanced(3600), std::nullopt}),
              "Calendar");
    EXPECT_EQ(testing::readFile(reminders / "displayname"), "Reminders");
    EXPECT_EQ(testing::readFile(calendar / "displayname"), "Calendar");
    EXPECT_EQ(store->authorizationStatus(EventStore::Entity::event), EventStore::AccessStatus::fullAccess);
    // No temporary file is left behind.
    for (const auto& folder : {reminders, calendar})
        for (const auto& path : entries(folder))
            EXPECT_FALSE(path.filename().string().starts_with(".")) << path;
    // A renamed list keeps its name.
    std::ofstream(reminders / "displayname", std::ios::trunc) << "Errands\n";
    EXPECT_EQ(service.createReminder({"Buy milk", std::nullopt, std::nullopt}), "Errands");
    EXPECT_EQ(entries(reminders).size(), 3u);
}

TEST_F(ICalendarEventStoreTest, ReminderIsAToDoDueInTheUsersZoneWithAnAlarm) {
    const std::string title = "Call Ann, Bob; then\nthe bank\\office";
    service.createReminder(
        {title, "line one\nCaptured with Tessellar", iso8601::parse("2026-03-12T13:00:45Z")});
    const auto [parsed, todo] = readBack(reminders, ICAL_VTODO_COMPONENT);
    ASSERT_TRUE(todo);
    EXPECT_STREQ(icalcomponent_get_summary(todo), title.c_str());
    EXPECT_STREQ(icalcomponent_get_description(todo), "line one\nCaptured with Tessellar");
    // Whole minutes, in local wall-clock time with the zone named and defined in the file.
    EXPECT_EQ(text(todo, ICAL_DUE_PROPERTY), "20260312T090000");
    const std::string zone = tzid(todo, ICAL_DUE_PROPERTY);
    EXPECT_TRUE(zone.ends_with("America/New_York")) << zone;
    icalcomponent* timezone = icalcomponent_get_first_component(parsed.get(), ICAL_VTIMEZONE_COMPONENT);
    ASSERT_TRUE(timezone);
    EXPECT_EQ(text(timezone, ICAL_TZID_PROPERTY), zone);
    icalcomponent* alarm = icalcomponent_get_first_component(todo, ICAL_VALARM_COMPONENT);
    ASSERT_TRUE(alarm);
    EXPECT_EQ(text(alarm, ICAL_TRIGGER_PROPERTY), "20260312T130045Z");
    EXPECT_EQ(text(alarm, ICAL_ACTION_PROPERTY), "DISPLAY");
}

TEST_F(ICalendarEventStoreTest, EventKeepsItsTimesLocationAndAVeryLongTitle) {
    const std::string title(10000, 'w');
    service.createEvent({title, std::nullopt, *iso8601::parse("2026-07-01T16:30:00Z"),
                         *iso8601::parse("2026-07-01T17:30:00Z"), "1 Main St, Springfield; Floor 2"});
    const auto [parsed, entry] = readBack(calendar, ICAL_VEVENT_COMPONENT);
    ASSERT_TRUE(entry);
    EXPECT_EQ(icalcomponent_get_summary(entry), title);
    EXPECT_STREQ(icalcomponent_get_location(entry), "1 Main St, Springfield; Floor 2");
    EXPECT_EQ(icalcomponent_get_description(entry), nullptr);
    EXPECT_EQ(text(entry, ICAL_DTSTART_PROPERTY), "20260701T123000");
    EXPECT_EQ(text(entry, ICAL_DTEND_PROPERTY), "20260701T133000");
    EXPECT_EQ(icalcomponent_get_first_component(entry, ICAL_VALARM_COMPONENT), nullptr);
}

TEST_F(ICalendarEventStoreTest, ZonesWithoutDaylightTimeStayValid) {
    {
        const testing::ScopedEnvironment zone("TZ", "Asia/Kolkata");
        service.createEvent({"Call", std::nullopt, *iso8601::parse("2026-07-01T16:30:00Z"),
                             *iso8601::parse("2026-07-01T17:30:00Z"), std::nullopt});
        const auto [parsed, entry] = readBack(calendar, ICAL_VEVENT_COMPONENT);
        ASSERT_TRUE(entry);
        EXPECT_EQ(text(entry, ICAL_DTSTART_PROPERTY), "20260701T220000");
        EXPECT_TRUE(tzid(entry, ICAL_DTSTART_PROPERTY).ends_with("Asia/Kolkata"));
        fs::remove_all(calendar);
    }
    const testing::ScopedEnvironment zone("TZ", "UTC");
    // A reminder long past is still stored as asked.
    service.createReminder({"Old", std::nullopt, iso8601::parse("2001-01-01T00:00:00Z")});
    const auto [parsed, todo] = readBack(reminders, ICAL_VTODO_COMPONENT);
    ASSERT_TRUE(todo);
    EXPECT_EQ(text(todo, ICAL_DUE_PROPERTY), "20010101T000000Z");
    EXPECT_EQ(tzid(todo, ICAL_DUE_PROPERTY), "");
    EXPECT_EQ(icalcomponent_get_first_component(parsed.get(), ICAL_VTIMEZONE_COMPONENT), nullptr);
}

TEST_F(ICalendarEventStoreTest, UnwritableFolderIsRefusedAccess) {
    // A file where the folders belong cannot be made into them, whoever runs the test.
    fs::create_directories(data / "tessellar");
    std::ofstream(data / "tessellar" / "calendars") << "not a folder";
    const auto reminder = [&] { service.createReminder({"Nope", std::nullopt, std::nullopt}); };
    const auto event = [&] { service.createEvent({"Nope", std::nullopt, start, start, std::nullopt}); };
    EXPECT_EQ(testing::thrownError(reminder), TessellarError::remindersAccessDenied());
    EXPECT_EQ(testing::thrownError(event), TessellarError::calendarAccessDenied());
}

} // namespace
} // namespace tessellar

#include "kit/actions/dates/CreateCalendarEventAction.h"
#include "kit/actions/dates/CreateReminderAction.h"
#include "kit/actions/dates/RemindersService.h"
#include "kit/text/ISO8601.h"
#include "support/ActionCases.h"
#include "support/RecordingEventStore.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

using Status = EventStore::AccessStatus;
using Reminders = std::vector<EventStore::Reminder>;
using Events = std::vector<EventStore::Event>;

Timestamp at(const char* iso) {
    return *iso8601::parse(iso);
}

class DateActions : public testing::ActionCase {
protected:
    ActionContext context() override {
        ActionContext result = fixture.context();
        result.reminders = service;
        return result;
    }

    void setDate(std::string_view key, const char* iso) { item.metadata.setDate(key, at(iso), iso); }

    testing::PinnedZoneAndLocale pinned;
    std::shared_ptr<RecordingEventStore> store = std::make_shared<RecordingEventStore>();
    std::shared_ptr<RemindersService> service = std::make_shared<RemindersService>(store);
    const CreateReminderAction reminder;
    const CreateCalendarEventAction event;
};

TEST_F(DateActions, InvoicePreviewProposesPaymentWithItsDueDate) {
    item.contentType = ContentType::invoice;
    item.title = "Invoice 42";
    item.metadata.set("company", "Acme Widgets");
    item.metadata.set("amount", "$1,200.00");
    setDate("dueDate", "2026-03-12T18:05:00Z");
    EXPECT_EQ(reminder.preview(item, context()),
              (ActionPreview{"Add reminder", "Pay Acme Widgets $1,200.00",
                             ActionPreview::Style::editableValue, "Due Mar 12, 2:05\u202FPM", "Add Reminder",
                             std::vector<ActionPreview::Option>(), false}));
    item.metadata = {};
    EXPECT_EQ(reminder.preview(item, context())->detail, "Pay Invoice 42");
    EXPECT_EQ(reminder.preview(item, context())->rationale,
              "No date found \u2014 the reminder will have no due date");
    EXPECT_EQ(event.preview(item, context()), std::nullopt);
}

TEST_F(DateActions, TitlesFollowTheContentTypeAndNotesNameTheSource) {
    item.title = std::string(100, 'x') + " tail";
    EXPECT_EQ(CreateReminderAction::reminderTitle(item), std::string(80, 'x') + "\u2026");
    item.title = "Flight to Lisbon";
    item.contentType = ContentType::travel;
    EXPECT_EQ(CreateReminderAction::reminderTitle(item), "Flight to Lisbon");
    item.metadata.set("route", "JFK \u2192 LIS");
    EXPECT_EQ(CreateReminderAction::reminderTitle(item), "JFK \u2192 LIS");
    item.metadata.set("flightNumber", "TP 202");
    EXPECT_EQ(CreateReminderAction::reminderTitle(item), "TP 202 \u00B7 JFK \u2192 LIS");

    item = InboxItem{};
    EXPECT_EQ(CreateReminderAction::notes(item), "Captured with Tessellar");
    item.originalText = "  call\n\n the   office  ";
    EXPECT_EQ(CreateReminderAction::notes(item), "call the office\nCaptured with Tessellar");
    item.originalText = std::string(500, 'a');
    EXPECT_EQ(CreateReminderAction::notes(item), std::string(400, 'a') + "\u2026\nCaptured with Tessellar");
    // A file or link replaces the text.
    item.fileURL = Url::fromFilePath("/tmp/a b.pdf");
    item.sourceURL = Url::parse("https://example.com/x?y=1");
    EXPECT_EQ(CreateReminderAction::notes(item),
              "/tmp/a b.pdf\nhttps://example.com/x?y=1\nCaptured with Tessellar");
}

TEST_F(DateActions, MidnightReminderIsDueAtNineAndOtherTimesStay) {
    item.contentType = ContentType::date;
    item.title = "Dentist";
    setDate("date", "2026-03-12T04:00:00Z"); // midnight in New York (daylight time)
    EXPECT_EQ(perform(reminder).message, "Added to Reminders");
    setDate("date", "2026-03-12T18:30:00Z"); // 14:30
    perform(reminder);
    const auto nine = at("2026-03-12T13:00:00Z"), halfPastTwo = at("2026-03-12T18:30:00Z");
    EXPECT_EQ(store->reminders,
              (Reminders{{"Dentist", "Captured with Tessellar", nine, nine},
                         {"Dentist", "Captured with Tessellar", halfPastTwo, halfPastTwo}}));
}

TEST_F(DateActions, ReminderOutcomeMarksTheItemOnceAndKeepsAnEditedTitle) {
    item.contentType = ContentType::invoice;
    item.metadata.set("company", "Acme");
    item.completedActionIDs = {ActionID::createReminder};
    EXPECT_EQ(perform(reminder, "  "), (ActionOutcome{"Added to Reminders", item, false}));
    perform(reminder, " Pay rent ");
    // A blank edit falls back; an edited title is used untrimmed.
    EXPECT_EQ(store->reminders,
              (Reminders{{"Pay Acme", "Captured with Tessellar", std::nullopt, std::nullopt},
                         {" Pay rent ", "Captured with Tessellar", std::nullopt, std::nullopt}}));
}

TEST_F(DateActions, CalendarPrefersTheDateAndTheReminderTheDueDate) {
    item.contentType = ContentType::address;
    item.title = "Meet";
    item.metadata.set("street", "1 Main St");
    item.metadata.set("locality", "Springfield");
    EXPECT_EQ(failure(event), TessellarError("No date was found in this content."));
    setDate("dueDate", "2026-03-12T05:00:00Z");
    EXPECT_EQ(perform(event, "Lunch"), (ActionOutcome{"Added to Calendar",
                                                      [&] {
                                                          InboxItem done = item;
                                                          done.markCompleted(ActionID::createCalendarEvent);
                                                          return done;
                                                      }(),
                                                      false}));
    setDate("date", "2026-03-13T05:00:00Z");
    perform(event);
    perform(reminder);
    // Midnight stays midnight for an event, which lasts one hour.
    EXPECT_EQ(store->events, (Events{{"Lunch", "Captured with Tessellar", at("2026-03-12T05:00:00Z"),
                                      at("2026-03-12T06:00:00Z"), "1 Main St, Springfield"},
                                     {"Meet", "Captured with Tessellar", at("2026-03-13T05:00:00Z"),
                                      at("2026-03-13T06:00:00Z"), "1 Main St, Springfield"}}));
    ASSERT_EQ(store->reminders.size(), 1u);
    EXPECT_EQ(store->reminders[0].due, at("2026-03-12T05:00:00Z"));
}

TEST_F(DateActions, RefusedAccessMissingListsAndFailedSavesNameTheRecovery) {
    item.contentType = ContentType::date;
    setDate("date", "2026-03-12T18:30:00Z");
    store->remindersStatus = Status::denied;
    store->eventsStatus = Status::notDetermined;
    EXPECT_EQ(failure(reminder), TessellarError::remindersAccessDenied());
    EXPECT_EQ(failure(event), TessellarError::calendarAccessDenied());
    EXPECT_EQ(store->requests, (std::vector<std::string>{"request reminders", "request events"}));
    // Write-only access is enough for events but not for reminders.
    store->remindersStatus = Status::writeOnly;
    store->eventsStatus = Status::writeOnly;
    EXPECT_EQ(failure(reminder), TessellarError::remindersAccessDenied());
    EXPECT_EQ(perform(event).message, "Added to Calendar");
    store->grantsRequests = true;
    EXPECT_EQ(perform(reminder).message, "Added to Reminders");

    // Missing lists and failed saves give their own texts.
    store->reminderList.reset();
    store->calendar.reset();
    EXPECT_EQ(failure(reminder), TessellarError("There\u2019s no Reminders list available to add to.",
                                                {TessellarError::Recovery::grantRemindersAccess}));
    EXPECT_EQ(failure(event), TessellarError("There\u2019s no calendar available to add to.",
                                             {TessellarError::Recovery::grantCalendarAccess}));
    store->reminderList = EventStore::Collection{"r", "Errands"};
    store->calendar = EventStore::Collection{"c", "Work"};
    store->failure = "Disk full";
    EXPECT_EQ(failure(reminder), TessellarError("Couldn\u2019t save the reminder (Disk full).",
                                                {TessellarError::Recovery::retry}));
    EXPECT_EQ(failure(event),
              TessellarError("Couldn\u2019t save the event (Disk full).", {TessellarError::Recovery::retry}));
    store->failure.reset();
    EXPECT_EQ(perform(reminder).message, "Added to Errands");
    EXPECT_EQ(perform(event).message, "Added to Work");
}

} // namespace
} // namespace tessellar

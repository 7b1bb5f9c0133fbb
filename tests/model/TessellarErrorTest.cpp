#include "kit/model/TessellarError.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

using Recovery = TessellarError::Recovery;

TEST(TessellarError, RecoveryRawValuesRoundTripAndTitlesAreExact) {
    for (const Recovery recovery : TessellarError::allRecoveries())
        EXPECT_EQ(TessellarError::recoveryFromRaw(TessellarError::rawValue(recovery)), recovery);
    EXPECT_FALSE(TessellarError::recoveryFromRaw("Retry"));
    EXPECT_EQ(TessellarError::title(Recovery::revealInFinder), "Reveal in Finder");
    EXPECT_EQ(TessellarError::title(Recovery::tryAI), "Try AI Analysis");
    EXPECT_EQ(TessellarError::title(Recovery::grantCalendarAccess), "Allow Calendar Access");
    EXPECT_EQ(TessellarError::title(Recovery::retry), "Try Again");
}

TEST(TessellarError, NamedErrorsHaveExactTextsAndRecoveries) {
    struct Row {
        TessellarError error;
        std::string message;
        std::vector<Recovery> recovery;
    };
    const std::vector<Row> rows{
        {TessellarError::emptyClipboard(), "The clipboard is empty.", {Recovery::retry}},
        {TessellarError::unsupportedDrop(), "Tessellar can\u2019t read that yet.", {}},
        {TessellarError::remindersAccessDenied(),
         "Reminders access is required to create this reminder.",
         {Recovery::grantRemindersAccess}},
        {TessellarError::calendarAccessDenied(),
         "Calendar access is required to create this event.",
         {Recovery::grantCalendarAccess}},
        {TessellarError::aiNotConfigured(), "No AI provider is configured yet.", {Recovery::openSettings}},
        {TessellarError::aiKeyRejected(), "The AI provider rejected the API key.", {Recovery::openSettings}},
        {TessellarError::aiKeyLacksAccess(),
         "That API key doesn\u2019t have access to this model.",
         {Recovery::openSettings}},
        {TessellarError::aiModelNotFound(),
         "The AI provider has no model or endpoint by that name.",
         {Recovery::openSettings}},
        {TessellarError::aiHostUnreachable(),
         "Couldn\u2019t reach the AI provider at that address.",
         {Recovery::openSettings, Recovery::retry}},
        {TessellarError::aiOffline(), "This Mac isn\u2019t connected to the internet.", {Recovery::retry}},
        {TessellarError::aiConnectionFailed(),
         "The connection to the AI provider failed.",
         {Recovery::retry, Recovery::openSettings}},
        {TessellarError::aiInsecureConnection(),
         "Couldn\u2019t open a secure connection to the AI provider.",
         {Recovery::openSettings, Recovery::retry}},
        {TessellarError::aiEmptyResponse(), "The AI provider returned an empty response.", {Recovery::retry}},
        {TessellarError::aiUnreadableResponse(),
         "That address answered, but not like an AI provider.",
         {Recovery::openSettings, Recovery::retry}},
        {TessellarError::noTextInDocument("Scan.pdf"),
         "Couldn\u2019t extract text from Scan.pdf.",
         {Recovery::openFile, Recovery::tryAI}},
        {TessellarError::fileMissing("Report.pdf"),
         "Report.pdf is no longer at its original location.",
         {Recovery::revealInFinder}},
        {TessellarError::aiUnavailable(503),
         "The AI provider is having trouble right now (503).",
         {Recovery::retry}},
        {TessellarError::aiUnexpectedStatus(418),
         "The AI provider returned an error (418).",
         {Recovery::retry, Recovery::openSettings}},
        {TessellarError::storage("save this item"),
         "Tessellar couldn\u2019t save this item.",
         {Recovery::retry}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.error.message(), row.message);
        EXPECT_EQ(row.error.recovery(), row.recovery) << row.message;
        EXPECT_STREQ(row.error.what(), row.message.c_str());
    }
}

TEST(TessellarError, RateLimitedSaysWhenToRetryOnlyFromOneSecond) {
    const std::string shortText = "The AI provider is rate limiting requests.";
    EXPECT_EQ(TessellarError::aiRateLimited(std::nullopt).message(), shortText);
    EXPECT_EQ(TessellarError::aiRateLimited(-5).message(), shortText);
    EXPECT_EQ(TessellarError::aiRateLimited(1).message(),
              "The AI provider is rate limiting requests. Try again in 1 second.");
    EXPECT_EQ(TessellarError::aiRateLimited(30).message(),
              "The AI provider is rate limiting requests. Try again in 30 seconds.");
    EXPECT_EQ(TessellarError::aiRateLimited(30).recovery(), std::vector{Recovery::retry});
}

TEST(TessellarError, TimedOutRoundsHalvesAwayFromZero) {
    const auto text = [](double s) { return TessellarError::aiTimedOut(s).message(); };
    EXPECT_EQ(text(0.6), "The AI provider didn\u2019t respond within 1 second.");
    EXPECT_EQ(text(14.5), "The AI provider didn\u2019t respond within 15 seconds.");
    EXPECT_EQ(text(0.2), "The AI provider didn\u2019t respond within 0 seconds.");
    EXPECT_EQ(text(1.49), "The AI provider didn\u2019t respond within 1 second.");
    EXPECT_EQ(TessellarError::aiTimedOut(60).recovery(),
              (std::vector{Recovery::retry, Recovery::openSettings}));
}

} // namespace
} // namespace tessellar

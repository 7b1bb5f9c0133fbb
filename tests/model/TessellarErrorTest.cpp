#include "kit/model/TessellarError.h"

#include "support/Fixtures.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace tessellar {
namespace {

using Recovery = TessellarError::Recovery;
using E = TessellarError;

TEST(TessellarError, RecoveryRawValuesRoundTripAndTitlesAreExact) {
    for (const Recovery recovery : TessellarError::allRecoveries())
        EXPECT_EQ(TessellarError::recoveryFromRaw(TessellarError::rawValue(recovery)), recovery);
    EXPECT_FALSE(TessellarError::recoveryFromRaw("Retry"));
    EXPECT_EQ(TessellarError::title(Recovery::revealInFinder), "Reveal in Finder");
    EXPECT_EQ(TessellarError::title(Recovery::tryAI), "Try AI Analysis");
    EXPECT_EQ(TessellarError::title(Recovery::grantCalendarAccess), "Allow Calendar Access");
    EXPECT_EQ(TessellarError::title(Recovery::retry), "Try Again");
}

// tests/fixtures/tables/errors.tsv: each error with its exact message and recoveries.
TEST(TessellarError, EveryErrorHasItsExactTextAndRecoveries) {
    const std::map<std::string, std::function<E(const std::string&)>> errors{
        {"emptyClipboard", [](auto&) { return E::emptyClipboard(); }},
        {"unsupportedDrop", [](auto&) { return E::unsupportedDrop(); }},
        {"remindersAccessDenied", [](auto&) { return E::remindersAccessDenied(); }},
        {"calendarAccessDenied", [](auto&) { return E::calendarAccessDenied(); }},
        {"aiNotConfigured", [](auto&) { return E::aiNotConfigured(); }},
        {"aiKeyRejected", [](auto&) { return E::aiKeyRejected(); }},
        {"aiKeyLacksAccess", [](auto&) { return E::aiKeyLacksAccess(); }},
        {"aiModelNotFound", [](auto&) { return E::aiModelNotFound(); }},
        {"aiHostUnreachable", [](auto&) { return E::aiHostUnreachable(); }},
        {"aiOffline", [](auto&) { return E::aiOffline(); }},
        {"aiConnectionFailed", [](auto&) { return E::aiConnectionFailed(); }},
        {"aiInsecureConnection", [](auto&) { return E::aiInsecureConnection(); }},
        {"aiEmptyResponse", [](auto&) { return E::aiEmptyResponse(); }},
        {"aiUnreadableResponse", [](auto&) { return E::aiUnreadableResponse(); }},
        {"noTextInDocument", [](auto& a) { return E::noTextInDocument(a); }},
        {"fileMissing", [](auto& a) { return E::fileMissing(a); }},
        {"aiUnavailable", [](auto& a) { return E::aiUnavailable(std::stoi(a)); }},
        {"aiUnexpectedStatus", [](auto& a) { return E::aiUnexpectedStatus(std::stoi(a)); }},
        {"storage", [](auto& a) { return E::storage(a); }},
        {"aiRateLimited",
         [](auto& a) { return E::aiRateLimited(a == "-" ? std::nullopt : std::optional(std::stoll(a))); }},
        {"aiTimedOut", [](auto& a) { return E::aiTimedOut(std::stod(a)); }}};
    const auto rows = testing::tableRows(testing::fixture("tables/errors.tsv"));
    EXPECT_GE(rows.size(), 27u);
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 4u) << row[0];
        ASSERT_TRUE(errors.contains(row[0])) << row[0];
        const E error = errors.at(row[0])(row[1]);
        std::string recoveries;
        for (const Recovery recovery : error.recovery())
            recoveries += (recoveries.empty() ? "" : "|") + std::string(E::rawValue(recovery));
        EXPECT_EQ(error.message(), row[2]);
        EXPECT_STREQ(error.what(), row[2].c_str());
        EXPECT_EQ(recoveries, row[3]) << row[2];
    }
}

} // namespace
} // namespace tessellar

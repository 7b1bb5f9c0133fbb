#include "kit/model/TessellarError.h"

#include "kit/text/StringHelpers.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tessellar {
namespace {

using Recovery = TessellarError::Recovery;

struct RecoveryRow {
    Recovery recovery;
    std::string_view raw;
    std::string_view title;
};

constexpr std::array<RecoveryRow, 7> recoveryTable{{
    {Recovery::openFile, "openFile", "Open File"},
    {Recovery::revealInFinder, "revealInFinder", "Reveal in Finder"},
    {Recovery::tryAI, "tryAI", "Try AI Analysis"},
    {Recovery::openSettings, "openSettings", "Open Settings"},
    {Recovery::grantCalendarAccess, "grantCalendarAccess", "Allow Calendar Access"},
    {Recovery::grantRemindersAccess, "grantRemindersAccess", "Allow Reminders Access"},
    {Recovery::retry, "retry", "Try Again"},
}};

const RecoveryRow& row(Recovery recovery) {
    return recoveryTable[static_cast<std::size_t>(recovery)];
}

} // namespace

std::string_view TessellarError::rawValue(Recovery recovery) {
    return row(recovery).raw;
}
std::string_view TessellarError::title(Recovery recovery) {
    return row(recovery).title;
}

std::optional<Recovery> TessellarError::recoveryFromRaw(std::string_view raw) {
    for (const auto& r : recoveryTable)
        if (r.raw == raw)
            return r.recovery;
    return std::nullopt;
}

const std::vector<Recovery>& TessellarError::allRecoveries() {
    static const std::vector<Recovery> all = [] {
        std::vector<Recovery> v;
        for (const auto& r : recoveryTable)
            v.push_back(r.recovery);
        return v;
    }();
    return all;
}

TessellarError::TessellarError(std::string message, std::vector<Recovery> recovery)
    : message_(std::move(message)), recovery_(std::move(recovery)) {}

TessellarError TessellarError::emptyClipboard() {
    return TessellarError("The clipboard is empty.", {Recovery::retry});
}
TessellarError TessellarError::unsupportedDrop() {
    return TessellarError("Tessellar can\u2019t read that yet.");
}
TessellarError TessellarError::remindersAccessDenied() {
    return TessellarError("Reminders access is required to create this reminder.",
                          {Recovery::grantRemindersAccess});
}
TessellarError TessellarError::calendarAccessDenied() {
    return TessellarError("Calendar access is required to create this event.",
                          {Recovery::grantCalendarAccess});
}
TessellarError TessellarError::aiNotConfigured() {
    return TessellarError("No AI provider is configured yet.", {Recovery::openSettings});
}
TessellarError TessellarError::aiKeyRejected() {
    return TessellarError("The AI provider rejected the API key.", {Recovery::openSettings});
}
TessellarError TessellarError::aiKeyLacksAccess() {
    return TessellarError("That API key doesn\u2019t have access to this model.", {Recovery::openSettings});
}
TessellarError TessellarError::aiModelNotFound() {
    return TessellarError("The AI provider has no model or endpoint by that name.", {Recovery::openSettings});
}
TessellarError TessellarError::aiHostUnreachable() {
    return TessellarError("Couldn\u2019t reach the AI provider at that address.",
                          {Recovery::openSettings, Recovery::retry});
}
TessellarError TessellarError::aiOffline() {
    return TessellarError("This Mac isn\u2019t connected to the internet.", {Recovery::retry});
}
TessellarError TessellarError::aiConnectionFailed() {
    return TessellarError("The connection to the AI provider failed.",
                          {Recovery::retry, Recovery::openSettings});
}
TessellarError TessellarError::aiInsecureConnection() {
    return TessellarError("Couldn\u2019t open a secure connection to the AI provider.",
                          {Recovery::openSettings, Recovery::retry});
}
TessellarError TessellarError::aiEmptyResponse() {
    return TessellarError("The AI provider returned an empty response.", {Recovery::retry});
}
TessellarError TessellarError::aiUnreadableResponse() {
    return TessellarError("That address answered, but not like an AI provider.",
                          {Recovery::openSettings, Recovery::retry});
}

TessellarError TessellarError::noTextInDocument(std::string_view name) {
    return TessellarError("Couldn\u2019t extract text from " + std::string(name) + ".",
                          {Recovery::openFile, Recovery::tryAI});
}
TessellarError TessellarError::fileMissing(std::string_view name) {
    return TessellarError(std::string(name) + " is no longer at its original location.",
                          {Recovery::revealInFinder});
}
TessellarError TessellarError::aiRateLimited(std::optional<long long> retryAfterSeconds) {
    if (retryAfterSeconds && *retryAfterSeconds >= 1)
        return TessellarError("The AI provider is rate limiting requests. Try again in " +
                                  counted(*retryAfterSeconds, "second", "seconds") + ".",
                              {Recovery::retry});
    return TessellarError("The AI provider is rate limiting requests.", {Recovery::retry});
}
TessellarError TessellarError::aiUnavailable(int status) {
    return TessellarError("The AI provider is having trouble right now (" + std::to_string(status) + ").",
                          {Recovery::retry});
}
TessellarError TessellarError::aiUnexpectedStatus(int status) {
    return TessellarError("The AI provider returned an error (" + std::to_string(status) + ").",
                          {Recovery::retry, Recovery::openSettings});
}
TessellarError TessellarError::aiTimedOut(double afterSeconds) {
    // Callers pass their configured time-out, so the value is finite and small; clamp
    // anyway so a stray value can never overflow the conversion.
    double rounded = std::round(afterSeconds); // halves away from zero
    if (!std::isfinite(rounded))
        rounded = 0;
    rounded = std::clamp(rounded, -1e15, 1e15);
    return TessellarError("The AI provider didn\u2019t respond within " +
                              counted(static_cast<long long>(rounded), "second", "seconds") + ".",
                          {Recovery::retry, Recovery::openSettings});
}

TessellarError TessellarError::storage(std::string_view verbPhrase) {
    return TessellarError("Tessellar couldn\u2019t " + std::string(verbPhrase) + ".", {Recovery::retry});
}

} // namespace tessellar

#pragma once

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessellar {

// A failure that reaches the user: the sentence to show and the recovery
// buttons to offer under it. A plain value that services also throw.
class TessellarError : public std::exception {
public:
    enum class Recovery {
        openFile,
        revealInFinder,
        tryAI,
        openSettings,
        grantCalendarAccess,
        grantRemindersAccess,
        retry
    };

    static std::string_view rawValue(Recovery recovery);
    static std::string_view title(Recovery recovery);
    static std::optional<Recovery> recoveryFromRaw(std::string_view raw);
    static const std::vector<Recovery>& allRecoveries();

    explicit TessellarError(std::string message, std::vector<Recovery> recovery = {});

    const std::string& message() const { return message_; }
    const std::vector<Recovery>& recovery() const { return recovery_; }
    const char* what() const noexcept override { return message_.c_str(); }

    bool operator==(const TessellarError& other) const {
        return message_ == other.message_ && recovery_ == other.recovery_;
    }

    // Named errors.
    static TessellarError emptyClipboard();
    static TessellarError unsupportedDrop();
    static TessellarError remindersAccessDenied();
    static TessellarError calendarAccessDenied();
    static TessellarError aiNotConfigured();
    static TessellarError aiKeyRejected();
    static TessellarError aiKeyLacksAccess();
    static TessellarError aiModelNotFound();
    static TessellarError aiHostUnreachable();
    static TessellarError aiOffline();
    static TessellarError aiConnectionFailed();
    static TessellarError aiInsecureConnection();
    static TessellarError aiEmptyResponse();
    static TessellarError aiUnreadableResponse();

    // Factories.
    static TessellarError noTextInDocument(std::string_view name);
    static TessellarError fileMissing(std::string_view name);
    static TessellarError aiRateLimited(std::optional<long long> retryAfterSeconds);
    static TessellarError aiUnavailable(int status);
    static TessellarError aiUnexpectedStatus(int status);
    static TessellarError aiTimedOut(double afterSeconds);

    // "Tessellar couldn’t <verbPhrase>." with [retry]: the shape of every storage failure.
    static TessellarError storage(std::string_view verbPhrase);

private:
    std::string message_;
    std::vector<Recovery> recovery_;
};

// The user backed out (a declined consent, a cancelled analysis). Not a
// TessellarError: callers treat it as nothing to report.
class Cancelled : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }
};

} // namespace tessellar

#include "kit/actions/developer/CleanStackTraceAction.h"
#include "kit/actions/developer/ConvertTimestampAction.h"
#include "kit/actions/developer/DecodeJWTAction.h"
#include "kit/actions/developer/FormatJSONAction.h"
#include "kit/actions/developer/GenerateSwiftModelAction.h"
#include "kit/base/Clock.h"
#include "kit/text/Base64.h"
#include "support/ActionCases.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

std::string jwt(std::string_view payload) {
    const auto piece = [](std::string_view bytes) {
        return Base64::encode(bytes, Base64::Alphabet::url, false);
    };
    return piece(R"({"alg":"HS256","typ":"JWT"})") + "." + piece(payload) +
           ".SflKxwRJSMeKKF2QT4fwpMeJf36POk6yJV_adQssw5c";
}

constexpr std::string_view unverified =
    "\n\nThe signature is not verified \u2014 that needs the signing key.";

class DeveloperActions : public testing::ActionCase {
protected:
    void capture(ContentType type, std::string text) {
        item.contentType = type;
        item.originalText = std::move(text);
    }

    testing::PinnedZoneAndLocale pinned;
    const ActionOutcome copied{"Copied", std::nullopt, true};
};

TEST_F(DeveloperActions, CleanedTraceIsCopiedWholeAndCountsFramesInPlural) {
    capture(ContentType::code, "Exception in thread \"main\" java.lang.IllegalStateException\n"
                               "\tat java.lang.Thread.run(Thread.java:833)\n"
                               "\tat app.Main.run(Main.java:12)");
    EXPECT_EQ(perform(CleanStackTraceAction()), copied);
    const std::string cleaned = "Exception in thread \"main\" java.lang.IllegalStateException\n"
                                "\tat app.Main.run(Main.java:12)";
    EXPECT_EQ(fixture.pasteboard.plainText(), cleaned);
    EXPECT_EQ(fixture.host.calls(),
              (std::vector<std::string>{"result Cleaned trace (copied) \u2014 1 system frames removed\n" +
                                        cleaned}));
}

TEST_F(DeveloperActions, LongJSONIsCopiedWholeAndShownCutAtASpace) {
    std::string json = "{";
    for (int i = 0; i < 300; ++i)
        json += (i ? "," : "") + std::string("\"key") + std::to_string(1000 + i) + "\": \"some words here\"";
    json += "}";
    capture(ContentType::json, json);
    EXPECT_EQ(perform(FormatJSONAction()), copied);
    const std::string pretty = *fixture.pasteboard.plainText();
    ASSERT_GT(pretty.size(), 4000u);
    const auto calls = fixture.host.calls();
    ASSERT_EQ(calls.size(), 1u);
    const std::string prefix = "result Formatted JSON (copied)\n";
    ASSERT_TRUE(calls[0].starts_with(prefix));
    const std::string body = calls[0].substr(prefix.size());
    ASSERT_TRUE(body.ends_with("\u2026"));
    const std::string kept = body.substr(0, body.size() - std::string("\u2026").size());
    EXPECT_LE(kept.size(), 4000u);
    EXPECT_TRUE(pretty.starts_with(kept));
    // The cut falls on a space: the character after the kept part is the space itself.
    EXPECT_EQ(pretty.substr(0, 4000).find_last_of(' '), kept.size());
}

TEST_F(DeveloperActions, ExpiredTokenLeadsWithItsExpiryAndNeverClaimsAVerifiedSignature) {
    const Clock::ScopedOverride now(Timestamp::fromUnix(1700000000));
    const DecodeJWTAction decode;
    capture(ContentType::jwt, jwt(R"({"exp":1699999999})"));
    EXPECT_EQ(perform(decode), (ActionOutcome{std::nullopt, std::nullopt, true}));
    // exp equal to now is not yet expired.
    for (const char* payload : {R"({"exp":1700000000})", R"({"sub":"ada"})"}) {
        item.originalText = jwt(payload);
        perform(decode);
    }
    const auto calls = fixture.host.calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_TRUE(
        calls[0].starts_with("result Expired token\nThis token expired Nov 14, 5:13\u202FPM.\n\nHEADER\n"))
        << calls[0];
    EXPECT_TRUE(calls[0].ends_with(unverified));
    EXPECT_TRUE(calls[1].starts_with("result Decoded token\nHEADER\n")) << calls[1];
    EXPECT_TRUE(calls[2].starts_with("result Decoded token\nHEADER\n")) << calls[2];
    EXPECT_TRUE(calls[2].ends_with("\n\nPAYLOAD\n" + std::string("{\n  \"sub\" : \"ada\"\n}") +
                                   std::string(unverified)))
        << calls[2];
    EXPECT_EQ(fixture.pasteboard.plainText(), std::nullopt);
}

TEST_F(DeveloperActions, TimestampShowsFourRowsAndCopiesTheISOForm) {
    const Clock::ScopedOverride now(Timestamp::fromUnix(1700000000 + 3600));
    capture(ContentType::timestamp, " 1700000000000 ");
    EXPECT_EQ(perform(ConvertTimestampAction()), copied);
    EXPECT_EQ(fixture.pasteboard.plainText(), "2023-11-14T22:13:20Z");
    const auto calls = fixture.host.calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].starts_with("result Timestamp (ISO 8601 copied)\nLocal\n")) << calls[0];
    EXPECT_NE(calls[0].find("\n\nISO 8601\n2023-11-14T22:13:20Z\n\nRelative\n"), std::string::npos)
        << calls[0];
}

} // namespace
} // namespace tessellar

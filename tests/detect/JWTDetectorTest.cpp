#include "kit/detect/JWTDetector.h"

#include "kit/text/Base64.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>
#include <string>

namespace tessellar {
namespace {

constexpr std::string_view hs256 = R"({"alg":"HS256","typ":"JWT"})";
constexpr std::string_view signature = "SflKxwRJSMeKKF2QT4fwpMeJf36POk6yJV_adQssw5c";

std::string url(std::string_view bytes) {
    return Base64::encode(bytes, Base64::Alphabet::url, false);
}

std::string jwt(std::string_view header, std::string_view payload, std::string_view sig = signature) {
    return url(header) + "." + url(payload) + "." + std::string(sig);
}

TEST(JWTDetector, DecodesHeaderPayloadAndClaims) {
    const auto token = JWTDetector::token(
        "  " +
        jwt(hs256,
            R"({"sub":"1234567890","name":"Jo/hn","iss":"https://auth.example","aud":"app","iat":1516239022,"exp":1516242622.5})") +
        "\n");
    ASSERT_TRUE(token);
    EXPECT_EQ(token->header, "{\n  \"alg\" : \"HS256\",\n  \"typ\" : \"JWT\"\n}");
    EXPECT_EQ(token->payload, "{\n"
                              "  \"aud\" : \"app\",\n"
                              "  \"exp\" : 1516242622.5,\n"
                              "  \"iat\" : 1516239022,\n"
                              "  \"iss\" : \"https:\\/\\/auth.example\",\n"
                              "  \"name\" : \"Jo\\/hn\",\n"
                              "  \"sub\" : \"1234567890\"\n"
                              "}");
    EXPECT_EQ(token->algorithm, "HS256");
}

TEST(JWTDetector, AnEmptyPayloadIsAToken) {
    EXPECT_EQ(JWTDetector::token(jwt(R"({"alg":"none"})", "{}")),
              (JWTDetector::Token{"{\n  \"alg\" : \"none\"\n}", "{}", "none", {}, {}, {}, {}, {}}));
}

TEST(JWTDetector, ExpiryReadsTheClockByDefault) {
    const auto token = JWTDetector::token(jwt(hs256, R"({"exp":1700000000})"));
    ASSERT_TRUE(token);
    {
        const Clock::ScopedOverride later(Timestamp::fromUnix(1800000000));
        EXPECT_TRUE(token->isExpired());
    }
    const Clock::ScopedOverride earlier(Timestamp::fromUnix(1600000000));
    EXPECT_FALSE(token->isExpired());
}

TEST(JWTDetector, LengthLimitIs8192Characters) {
    const std::string base = jwt(hs256, R"({"sub":"x"})", "");
    const std::string longest = base + std::string(8192 - base.size(), 'A');
    ASSERT_EQ(longest.size(), 8192u);
    EXPECT_TRUE(JWTDetector::token(longest));
    EXPECT_TRUE(JWTDetector::token("\n " + longest + " \n"));
    EXPECT_FALSE(JWTDetector::token(longest + "A"));
}

TEST(JWTDetector, FixtureTable) {
    using testing::Row;
    const auto algorithm = [](const std::string& text) {
        const auto token = JWTDetector::token(text);
        return token ? token->algorithm.value_or("(none)") : "-";
    };
    const auto shape = [&](const Row& c) {
        std::string text = c[1];
        for (const auto& [name, json] :
             {std::pair{"{H}", hs256}, std::pair{"{P}", std::string_view(R"({"sub":"x"})")}})
            for (std::size_t at; (at = text.find(name)) != std::string::npos;)
                text.replace(at, 3, url(json));
        return algorithm(text);
    };
    const auto expiry = [](const Row& c) {
        const auto token = JWTDetector::token(jwt(hs256, R"({"exp":)" + c[1] + "}"));
        EXPECT_TRUE(token) << c[1];
        if (!token || !token->expiresAt)
            return std::string(token && !token->isExpired(Timestamp::fromUnix(1e12)) ? "-" : "expires");
        return testing::shown(token->expiresAt->unixSeconds);
    };
    const auto claims = [](const Row& c) {
        const auto t = JWTDetector::token(jwt(hs256, c[1]));
        const auto at = [](const std::optional<Timestamp>& time) {
            return time ? testing::shown(time->unixSeconds) : "-";
        };
        return t ? testing::shown(t->issuer) + "|" + testing::shown(t->subject) + "|" +
                       testing::shown(t->audience) + "|" + at(t->issuedAt) + "|" + at(t->expiresAt)
                 : "no token";
    };
    EXPECT_GE(
        testing::checkTable(
            testing::fixture("tables/jwt.tsv"),
            {{"shape", shape},
             {"pieces", [&](const Row& c) { return algorithm(jwt(c[1], c[2])); }},
             {"expiry", expiry},
             {"claims", claims},
             {"expired",
              [](const Row& c) {
                  return testing::shown(
                      JWTDetector::token(jwt(hs256, c[1]))->isExpired(Timestamp::fromUnix(std::stod(c[2]))));
              }}}),
        45);
    // Explicit padding in a piece is fine, and a piece of 4n+1 characters cannot be padded.
    const std::string header = url(R"({"alg":"RS2"})");
    ASSERT_EQ(header.size() % 4, 2u);
    EXPECT_EQ(algorithm(header + "==." + url("{}") + ".sig"), "RS2");
    EXPECT_EQ(algorithm(header + "AAA." + url("{}") + ".sig"), "-");
}

} // namespace
} // namespace tessellar

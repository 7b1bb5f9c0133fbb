#include "kit/detect/JWTDetector.h"

#include "kit/text/Base64.h"

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
    EXPECT_EQ(token->issuer, "https://auth.example");
    EXPECT_EQ(token->subject, "1234567890");
    EXPECT_EQ(token->audience, "app");
    EXPECT_EQ(token->issuedAt, Timestamp::fromUnix(1516239022));
    EXPECT_EQ(token->expiresAt, Timestamp::fromUnix(1516242622.5));
}

TEST(JWTDetector, ClaimsOfTheWrongTypeAreAbsentButKeepTheToken) {
    const auto token = JWTDetector::token(
        jwt(hs256, R"({"aud":["a","b"],"exp":"1516242622","iat":true,"iss":7,"sub":null})"));
    ASSERT_TRUE(token);
    EXPECT_EQ(token->audience, std::nullopt);
    EXPECT_EQ(token->expiresAt, std::nullopt);
    EXPECT_EQ(token->issuedAt, std::nullopt);
    EXPECT_EQ(token->issuer, std::nullopt);
    EXPECT_EQ(token->subject, std::nullopt);
    EXPECT_FALSE(token->isExpired(Timestamp::fromUnix(4e9)));

    const auto empty = JWTDetector::token(jwt(R"({"alg":"none"})", "{}"));
    ASSERT_TRUE(empty);
    JWTDetector::Token expected;
    expected.header = "{\n  \"alg\" : \"none\"\n}";
    expected.payload = "{}";
    expected.algorithm = "none";
    EXPECT_EQ(*empty, expected);
}

TEST(JWTDetector, ExpiryComparesWithNow) {
    const auto token = JWTDetector::token(jwt(hs256, R"({"exp":1700000000})"));
    ASSERT_TRUE(token);
    EXPECT_TRUE(token->isExpired(Timestamp::fromUnix(1700000000.001)));
    EXPECT_FALSE(token->isExpired(Timestamp::fromUnix(1700000000)));
    EXPECT_FALSE(token->isExpired(Timestamp::fromUnix(1600000000)));
    {
        const Clock::ScopedOverride later(Timestamp::fromUnix(1800000000));
        EXPECT_TRUE(token->isExpired());
    }
    {
        const Clock::ScopedOverride earlier(Timestamp::fromUnix(1600000000));
        EXPECT_FALSE(token->isExpired());
    }
    const auto tiny = JWTDetector::token(jwt(hs256, R"({"exp":1e-400,"iat":1e400})"));
    ASSERT_TRUE(tiny);
    EXPECT_EQ(tiny->expiresAt, Timestamp::fromUnix(0));
    EXPECT_EQ(tiny->issuedAt, std::nullopt);
    EXPECT_TRUE(tiny->isExpired(Timestamp::fromUnix(1)));
    const auto forever = JWTDetector::token(jwt(hs256, R"({"sub":"x"})"));
    ASSERT_TRUE(forever);
    EXPECT_FALSE(forever->isExpired(Timestamp::fromUnix(1e12)));
}

TEST(JWTDetector, ExpiryOutsideYearsOneToNineThousandNineHundredNinetyNineIsNoDate) {
    for (const char* exp : {"1e308", "-9.9e18", "253402300800", "-62135596801"}) {
        const auto token = JWTDetector::token(jwt(hs256, std::string(R"({"exp":)") + exp + "}"));
        ASSERT_TRUE(token) << exp;
        EXPECT_EQ(token->expiresAt, std::nullopt) << exp;
        EXPECT_FALSE(token->isExpired(Timestamp::fromUnix(1e12))) << exp;
    }
    for (const double edge : {253402300799.0, -62135596800.0}) {
        const auto token = JWTDetector::token(jwt(hs256, R"({"exp":)" + std::to_string(edge) + "}"));
        ASSERT_TRUE(token);
        EXPECT_EQ(token->expiresAt, Timestamp::fromUnix(edge));
    }
}

TEST(JWTDetector, LengthLimitIs8192Characters) {
    const std::string base = jwt(hs256, R"({"sub":"x"})", "");
    const std::string longest = base + std::string(8192 - base.size(), 'A');
    ASSERT_EQ(longest.size(), 8192u);
    EXPECT_TRUE(JWTDetector::token(longest));
    EXPECT_TRUE(JWTDetector::token("\n " + longest + " \n"));
    EXPECT_FALSE(JWTDetector::token(longest + "A"));
}

TEST(JWTDetector, RejectsMalformedShapes) {
    const std::string h = url(hs256);
    const std::string p = url(R"({"sub":"x"})");
    ASSERT_TRUE(JWTDetector::token(h + "." + p + ".c"));
    for (const std::string& text :
         {std::string(""), std::string("   "), std::string("a.b"), std::string("a.b.c.d"),
          std::string("a..c"), h + "." + p, h + "." + p + ".c.d", h + "." + p + ".", "." + h + "." + p,
          h + ".." + p, h + "." + p + ".c d", h + "." + p + ".c\td", h + " ." + p + ".c",
          h + "." + p + ".c+d", h + "." + p + ".c/d", h + "." + p + ".c\u00e9", h + "+." + p + ".c",
          h + "." + p + "/.c"})
        EXPECT_EQ(JWTDetector::token(text), std::nullopt) << text;
}

TEST(JWTDetector, RejectsUndecodableOrNonObjectPieces) {
    const std::string p = url(R"({"sub":"x"})");
    const std::string h = url(hs256);
    // A piece of 4n+1 characters cannot be padded into base64.
    std::string odd = h;
    while (odd.size() % 4 != 1)
        odd += 'A';
    EXPECT_EQ(JWTDetector::token(odd + "." + p + ".c"), std::nullopt);
    EXPECT_EQ(JWTDetector::token(h + "." + url("[1,2]") + ".c"), std::nullopt);
    EXPECT_EQ(JWTDetector::token(h + "." + url("not json") + ".c"), std::nullopt);
    EXPECT_EQ(JWTDetector::token(h + "." + url("{\"a\":1,}") + ".c"), std::nullopt);
    EXPECT_EQ(JWTDetector::token(url("\"alg\"") + "." + p + ".c"), std::nullopt);
    EXPECT_EQ(JWTDetector::token(h + "." + url("{\"s\":\"\xFF\"}") + ".c"), std::nullopt);
}

TEST(JWTDetector, HeaderNeedsAStringAlgorithm) {
    EXPECT_EQ(JWTDetector::token(jwt(R"({"typ":"JWT"})", R"({"sub":"x"})")), std::nullopt);
    EXPECT_EQ(JWTDetector::token(jwt(R"({"alg":256})", R"({"sub":"x"})")), std::nullopt);
    EXPECT_EQ(JWTDetector::token(jwt(R"({"alg":null})", R"({"sub":"x"})")), std::nullopt);
    EXPECT_EQ(JWTDetector::token(jwt(R"({"ALG":"HS256"})", R"({"sub":"x"})")), std::nullopt);
    // Whitespace around the decoded JSON is fine, and so is explicit padding in a piece.
    const auto spaced = JWTDetector::token(jwt(R"( { "alg" : "RS256" } )", "{}"));
    ASSERT_TRUE(spaced);
    EXPECT_EQ(spaced->algorithm, "RS256");
    const std::string header = url(R"({"alg":"RS2"})");
    ASSERT_EQ(header.size() % 4, 2u);
    const auto padded = JWTDetector::token(header + "==." + url("{}") + ".sig");
    ASSERT_TRUE(padded);
    EXPECT_EQ(padded->algorithm, "RS2");
}

} // namespace
} // namespace tessellar

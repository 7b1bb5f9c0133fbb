#include "kit/text/Base64.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

// As tokens use it: base64url, padding optional, trailing bits not policed.
const Base64::DecodeOptions token{Base64::Alphabet::url, false, false};

TEST(Base64, URLAlphabetDecodesWithOrWithoutPaddingAndRoundTrips) {
    EXPECT_EQ(Base64::decode("QUJD", token), "ABC");
    EXPECT_EQ(Base64::decode("QUJDRA", token), "ABCD");
    EXPECT_EQ(Base64::decode("QUJDRA==", token), "ABCD");
    EXPECT_EQ(Base64::decode("QUJDREU", token), "ABCDE");
    EXPECT_EQ(Base64::decode("QUJDREU=", token), "ABCDE");
    EXPECT_EQ(Base64::decode("-_-_", token), "\xFB\xFF\xBF");
    EXPECT_EQ(Base64::decode("", token), "");
    for (std::size_t length = 0; length < 40; ++length) {
        std::string bytes;
        for (std::size_t i = 0; i < length; ++i)
            bytes += static_cast<char>(i * 37 + 200);
        EXPECT_EQ(Base64::decode(Base64::encode(bytes, Base64::Alphabet::url, false), token), bytes)
            << length;
    }
}

TEST(Base64, URLDecodingIsStrictAboutCharactersAndPadding) {
    EXPECT_EQ(Base64::decode("QUJDR", token), std::nullopt); // 4n+1 characters cannot be padded
    EXPECT_EQ(Base64::decode("Q", token), std::nullopt);
    EXPECT_EQ(Base64::decode("QU=D", token), std::nullopt); // padding in the middle
    EXPECT_EQ(Base64::decode("Q====", token), std::nullopt);
    EXPECT_EQ(Base64::decode("QU==QUJD", token), std::nullopt); // padding before the last group
    EXPECT_EQ(Base64::decode("QUJD+A", token), std::nullopt);   // standard alphabet is not base64url
    EXPECT_EQ(Base64::decode("QUJD/A", token), std::nullopt);
    EXPECT_EQ(Base64::decode("QU JD", token), std::nullopt);
    EXPECT_EQ(Base64::decode("QUJD\xC3\xA9", token), std::nullopt);
}

TEST(Base64, StandardAlphabetIsPaddedAndStrict) {
    EXPECT_EQ(Base64::encode("Ma"), "TWE=");
    EXPECT_EQ(Base64::encode("M"), "TQ==");
    EXPECT_EQ(Base64::encode("\xFB\xFF\xBF"), "+/+/");
    EXPECT_EQ(Base64::encode("Ma", Base64::Alphabet::url, false), "TWE");
    EXPECT_EQ(Base64::decode("TWE="), "Ma");
    EXPECT_EQ(Base64::decode("+/+/"), "\xFB\xFF\xBF");
    EXPECT_EQ(Base64::decode(""), "");
    EXPECT_EQ(Base64::decode("TWE"), std::nullopt);  // whole groups only
    EXPECT_EQ(Base64::decode("TWF="), std::nullopt); // unused bits must be zero
    EXPECT_EQ(Base64::decode("TR=="), std::nullopt);
    EXPECT_EQ(Base64::decode("-_-_"), std::nullopt); // the url alphabet is not standard
    EXPECT_EQ(Base64::decode("TWF=", token), "Ma");  // tokens do not police those bits
    for (std::size_t length = 0; length < 20; ++length) {
        std::string bytes;
        for (std::size_t i = 0; i < length; ++i)
            bytes += static_cast<char>(i * 53 + 7);
        EXPECT_EQ(Base64::decode(Base64::encode(bytes)), bytes) << length;
    }
}

} // namespace
} // namespace tessellar

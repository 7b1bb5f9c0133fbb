#include "kit/text/Base64.h"

#include "support/Fixtures.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

using testing::Row;
using testing::shown;

// As tokens use it: base64url, padding optional, trailing bits not policed.
const Base64::DecodeOptions token{Base64::Alphabet::url, false, false};

TEST(Base64, FixtureTable) {
    EXPECT_GE(
        testing::checkTable(
            testing::fixture("tables/base64.tsv"),
            {{"token", [](const Row& c) { return shown(Base64::decode(c[1], token)); }},
             {"decode", [](const Row& c) { return shown(Base64::decode(c[1])); }},
             {"encode", [](const Row& c) { return Base64::encode(c[1]); }},
             {"encodeURL", [](const Row& c) { return Base64::encode(c[1], Base64::Alphabet::url, false); }}}),
        25);
}

TEST(Base64, EveryLengthRoundTripsInBothAlphabets) {
    for (std::size_t length = 0; length < 40; ++length) {
        std::string bytes;
        for (std::size_t i = 0; i < length; ++i)
            bytes += static_cast<char>(i * 37 + 200);
        EXPECT_EQ(Base64::decode(Base64::encode(bytes, Base64::Alphabet::url, false), token), bytes)
            << length;
        EXPECT_EQ(Base64::decode(Base64::encode(bytes)), bytes) << length;
    }
}

} // namespace
} // namespace tessellar

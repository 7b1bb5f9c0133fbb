#include "kit/scan/address/AddressScanner.h"

#include "kit/scan/DataDetector.h"
#include "kit/text/Unicode.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace tessellar {
namespace {

using Components = std::map<std::string, std::string>;

// The UTF-16 range of the first occurrence of `part` in `text`.
TextRange rangeOf(const std::string& text, const std::string& part) {
    const auto at = text.find(part);
    EXPECT_NE(at, std::string::npos) << part;
    return TextRange{unicode::utf16Length(text.substr(0, at)), unicode::utf16Length(part)};
}

Components full(std::string street, std::string city, std::string state, std::string zip) {
    return {{"street", std::move(street)},
            {"city", std::move(city)},
            {"state", std::move(state)},
            {"ZIP", std::move(zip)}};
}

TEST(AddressScanner, FindsTheAddressesOfTheFixtureAndNothingInItsNegatives) {
    static const char* const keys[] = {"street", "city", "state", "ZIP", "country"};
    const auto rows = testing::tableRows(testing::fixture("addresses.tsv"));
    ASSERT_GT(rows.size(), 90u);
    for (const auto& row : rows) {
        const std::string& text = row[0];
        SCOPED_TRACE(text);
        const auto matches = AddressScanner::scan(text);
        if (row.size() == 1) {
            EXPECT_TRUE(matches.empty());
            continue;
        }
        ASSERT_EQ(row.size(), 7u);
        ASSERT_EQ(matches.size(), 1u);
        EXPECT_EQ(matches[0].type, DataDetector::Type::address);
        EXPECT_EQ(matches[0].range, rangeOf(text, row[1]));
        Components expected;
        for (std::size_t k = 0; k < 5; ++k)
            if (!row[k + 2].empty())
                expected[keys[k]] = row[k + 2];
        EXPECT_EQ(matches[0].address, expected);
    }
}

TEST(AddressScanner, ReportsEveryAddressInTextOrder) {
    const std::string text =
        "Send it to 1 Main St, Springfield, IL 62701 or to 2 Oak Ave, Peoria, IL 61602.\n"
        "Returns:\n3 Elm Rd\nAlton, IL 62002";
    const auto matches = AddressScanner::scan(text);
    ASSERT_EQ(matches.size(), 3u);
    EXPECT_EQ(DataDetector::substring(text, matches[0].range), "1 Main St, Springfield, IL 62701");
    EXPECT_EQ(DataDetector::substring(text, matches[1].range), "2 Oak Ave, Peoria, IL 61602");
    EXPECT_EQ(DataDetector::substring(text, matches[2].range), "3 Elm Rd\nAlton, IL 62002");
    EXPECT_EQ(matches[2].address, full("3 Elm Rd", "Alton", "IL", "62002"));
}

TEST(AddressScanner, ABlankLineOrAnotherLineBetweenStreetAndCityEndsTheAddress) {
    // A street alone on its line with a common street type still counts by itself.
    const std::string blank = "12 Market Street\n\nSpringfield, IL 62701";
    auto matches = AddressScanner::scan(blank);
    ASSERT_EQ(matches.size(), 2u);
    EXPECT_EQ(matches[0].address, (Components{{"street", "12 Market Street"}}));
    EXPECT_EQ(matches[1].address, (Components{{"city", "Springfield"}, {"state", "IL"}, {"ZIP", "62701"}}));

    // Any other line in between ends it too.
    const std::string between = "12 Market Street\nsee you there\nSpringfield, IL 62701";
    matches = AddressScanner::scan(between);
    ASSERT_EQ(matches.size(), 2u);
    EXPECT_EQ(matches[0].address, (Components{{"street", "12 Market Street"}}));
    EXPECT_EQ(DataDetector::substring(between, matches[1].range), "Springfield, IL 62701");

    // "City, ST" without a ZIP joins the street above it; a street without a street type
    // needs the ZIP, so here the city line stands alone.
    const std::string typed = "12 Market Street\nSpringfield, IL";
    matches = AddressScanner::scan(typed);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(DataDetector::substring(typed, matches[0].range), typed);
    EXPECT_EQ(matches[0].address,
              (Components{{"street", "12 Market Street"}, {"city", "Springfield"}, {"state", "IL"}}));
    const std::string untyped = "1 Broadway\nNew York, NY";
    matches = AddressScanner::scan(untyped);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(DataDetector::substring(untyped, matches[0].range), "New York, NY");
}

TEST(AddressScanner, SurvivesHostileInput) {
    using namespace std::string_literals;
    // Invalid UTF-8 reads as U+FFFD, one UTF-16 unit each, which breaks the address apart.
    const std::string invalid = "12 Market Street,\xC3\x28 Springfield, IL 62701\xFF\xFE"s;
    auto matches = AddressScanner::scan(invalid);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].range, (TextRange{20, 21}));
    EXPECT_EQ(matches[0].address, (Components{{"city", "Springfield"}, {"state", "IL"}, {"ZIP", "62701"}}));

    // Control characters and NULs separate words like blanks.
    const std::string controls = "12 Market Street,\x01\x02 Springfield,\t IL\0 62701"s;
    matches = AddressScanner::scan(controls);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].range, (TextRange{0, unicode::utf16Length(controls)}));
    EXPECT_EQ(matches[0].address, full("12 Market Street", "Springfield", "IL", "62701"));

    EXPECT_TRUE(AddressScanner::scan("").empty());
    EXPECT_TRUE(AddressScanner::scan(std::string(1 << 20, '\n')).empty());
    EXPECT_TRUE(AddressScanner::scan(std::string(1 << 20, 'a')).empty());

    // A megabyte of addresses on one line gives every one of them.
    std::string many;
    while (many.size() < (1u << 20))
        many += "12 Market Street, Springfield, IL 62701; ";
    EXPECT_EQ(AddressScanner::scan(many).size(), many.size() / 41);
}

TEST(AddressScanner, IsReachedThroughTheDataDetector) {
    const auto matches =
        DataDetector::matches(DataDetector::Type::address, "Ship to: 1 Main St, Peoria, IL 61602");
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].range, (TextRange{9, 27}));
    EXPECT_EQ(matches[0].address, full("1 Main St", "Peoria", "IL", "61602"));
}

} // namespace
} // namespace tessellar

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

// (matched text, components) of each address in `text`, in order.
using Found = std::vector<std::pair<std::string, Components>>;
Found found(const std::string& text) {
    Found out;
    for (const auto& m : AddressScanner::scan(text))
        out.emplace_back(DataDetector::substring(text, m.range), m.address);
    return out;
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
    EXPECT_EQ(found("Send it to 1 Main St, Springfield, IL 62701 or to 2 Oak Ave, Peoria, IL 61602.\n"
                    "Returns:\n3 Elm Rd\nAlton, IL 62002"),
              (Found{{"1 Main St, Springfield, IL 62701", full("1 Main St", "Springfield", "IL", "62701")},
                     {"2 Oak Ave, Peoria, IL 61602", full("2 Oak Ave", "Peoria", "IL", "61602")},
                     {"3 Elm Rd\nAlton, IL 62002", full("3 Elm Rd", "Alton", "IL", "62002")}}));
}

TEST(AddressScanner, ABlankLineOrAnotherLineBetweenStreetAndCityEndsTheAddress) {
    // A street alone on its line with a common street type still counts by itself.
    const Found split{
        {"12 Market Street", {{"street", "12 Market Street"}}},
        {"Springfield, IL 62701", {{"city", "Springfield"}, {"state", "IL"}, {"ZIP", "62701"}}}};
    EXPECT_EQ(found("12 Market Street\n\nSpringfield, IL 62701"), split);
    // Any other line in between ends it too.
    EXPECT_EQ(found("12 Market Street\nsee you there\nSpringfield, IL 62701"), split);

    // "City, ST" without a ZIP joins the street above it; a street without a street type
    // needs the ZIP, so here the city line stands alone.
    EXPECT_EQ(found("12 Market Street\nSpringfield, IL"),
              (Found{{"12 Market Street\nSpringfield, IL",
                      {{"street", "12 Market Street"}, {"city", "Springfield"}, {"state", "IL"}}}}));
    EXPECT_EQ(found("1 Broadway\nNew York, NY"),
              (Found{{"New York, NY", {{"city", "New York"}, {"state", "NY"}}}}));
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

} // namespace
} // namespace tessellar

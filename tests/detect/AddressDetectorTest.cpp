#include "kit/detect/AddressDetector.h"

#include "kit/text/Unicode.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tessellar {

// Builds addresses from hand-made matches, for component sets the scanner never reports.
struct AddressDetectorProbe {
    static std::optional<AddressDetector::Address> build(std::map<std::string, std::string> components,
                                                         std::string_view text) {
        DataDetector::Match match;
        match.type = DataDetector::Type::address;
        match.range = TextRange{0, unicode::utf16Length(text)};
        match.address = std::move(components);
        return AddressDetector::address(match, text);
    }
};

namespace {

using Address = AddressDetector::Address;
using Lines = std::vector<std::string>;

const std::string market = "12 Market Street, Springfield, IL 62701"; // 39 characters

Address marketAddress() {
    return {"12 Market Street", "Springfield", "IL", "62701", std::nullopt, market};
}

TEST(AddressDetector, SplitsAWholeTextAddressIntoItsParts) {
    const auto address = AddressDetector::standaloneAddress(market);
    ASSERT_TRUE(address);
    EXPECT_EQ(*address, marketAddress());
    EXPECT_EQ(address->displayLines(), (Lines{"12 Market Street", "Springfield, IL 62701"}));
    EXPECT_EQ(AddressDetector::firstAddress(market), marketAddress());
}

// tests/fixtures/standalone-addresses.tsv: a text, the raw address read from it ("-": none)
// and its display lines; blanks and a label around the address are left out.
TEST(AddressDetector, FixtureTexts) {
    const auto rows = testing::tableRows(testing::fixture("standalone-addresses.tsv"));
    EXPECT_GE(rows.size(), 15u);
    for (const auto& row : rows) {
        const auto address = AddressDetector::standaloneAddress(row[0]);
        std::string lines;
        for (const auto& shown : address ? address->displayLines() : Lines{})
            lines += (lines.empty() ? "" : " | ") + shown;
        EXPECT_EQ(address ? address->raw + "\t" + lines : "-",
                  row.size() == 3 ? row[1] + "\t" + row[2] : row[1])
            << row[0];
    }
}

TEST(AddressDetector, StandaloneLengthLimitIs240Characters) {
    // Padding inside the address keeps the coverage at 100 %.
    const auto padded = [](std::size_t spaces) {
        return "12 Market Street," + std::string(spaces, ' ') + "Springfield, IL 62701";
    };
    ASSERT_EQ(padded(202).size(), 240u);
    auto at240 = marketAddress();
    at240.raw = padded(202);
    EXPECT_EQ(AddressDetector::standaloneAddress(padded(202)), at240);
    EXPECT_FALSE(AddressDetector::standaloneAddress(padded(203)));
    // Without a limit, the longer text still has its address.
    EXPECT_EQ(AddressDetector::firstAddress(padded(203))->raw, padded(203));

    // The limit counts characters, not UTF-16 units: the parcel emoji is one character in two units.
    const std::string parcel = "\U0001F4E6 " + padded(200);
    ASSERT_EQ(unicode::utf16Length(parcel), 241);
    ASSERT_EQ(unicode::characterCount(parcel), 240u);
    EXPECT_TRUE(AddressDetector::standaloneAddress(parcel));
    EXPECT_FALSE(AddressDetector::standaloneAddress("\U0001F4E6 " + padded(201)));
}

TEST(AddressDetector, FirstAddressNeedsNoShareOfTheText) {
    EXPECT_FALSE(AddressDetector::firstAddress(""));
    EXPECT_FALSE(AddressDetector::firstAddress("3 Main points"));
    EXPECT_EQ(AddressDetector::firstAddress("Please send the parcels to " + market), marketAddress());
    EXPECT_EQ(AddressDetector::firstAddress("1 Main St, Peoria, IL 61602; 2 Oak Ave, Alton, IL 62002")->raw,
              "1 Main St, Peoria, IL 61602");
}

TEST(AddressDetector, AMatchWithoutStreetNeedsCityAndState) {
    const std::string text = "Springfield";
    EXPECT_FALSE(AddressDetectorProbe::build({{"city", "Springfield"}}, text));
    EXPECT_FALSE(AddressDetectorProbe::build({{"state", "IL"}, {"ZIP", "62701"}}, text));
    EXPECT_FALSE(AddressDetectorProbe::build({}, text));
    EXPECT_TRUE(AddressDetectorProbe::build({{"city", "Springfield"}, {"state", "IL"}}, text));
    // With a street any other parts will do.
    const auto streetAndZip =
        AddressDetectorProbe::build({{"street", "12 Market Street"}, {"ZIP", "62701"}}, text);
    ASSERT_TRUE(streetAndZip);
    EXPECT_EQ(streetAndZip->displayLines(), (Lines{"12 Market Street", "62701"}));
}

TEST(AddressDetector, DisplayLinesFollowThePartsThatArePresent) {
    EXPECT_EQ(AddressDetector::standaloneAddress("Austin, Texas"),
              (Address{std::nullopt, "Austin", "Texas", std::nullopt, std::nullopt, "Austin, Texas"}));
    EXPECT_EQ(AddressDetector::standaloneAddress("2 Elm St\nDover, DE 19901\nU.S.A.")->country, "U.S.A.");

    EXPECT_EQ((Address{"12 Market Street", std::nullopt, "IL", "62701", std::nullopt, ""}.displayLines()),
              (Lines{"12 Market Street", "IL 62701"}));

    // Empty parts count as missing; with nothing else the raw text shows, blanks collapsed.
    const auto empty = AddressDetectorProbe::build({{"street", ""}, {"city", ""}, {"state", ""}, {"ZIP", ""}},
                                                   "  12  Market\n Street,\r\n\tSpringfield ");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->raw, "12  Market\n Street,\r\n\tSpringfield");
    EXPECT_EQ(empty->displayLines(), (Lines{"12 Market Street, Springfield"}));

    Address emptyStreet = marketAddress();
    emptyStreet.street = "";
    EXPECT_EQ(emptyStreet.displayLines(), (Lines{"Springfield, IL 62701"}));
}

} // namespace
} // namespace tessellar

#include "kit/scan/address/AddressScanner.h"

#include "kit/scan/DataDetector.h"
#include "kit/text/Unicode.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace tessellar {
namespace {

using Components = std::map<std::string, std::string>;

struct Case {
    std::string text;
    std::string matched; // the text of the first match's range
    Components components;
};

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

Components with(Components c, const std::string& key, std::string value) {
    c[key] = std::move(value);
    return c;
}

const std::vector<Case>& positives() {
    static const std::vector<Case> cases = {
        // One line, commas
        {"12 Market Street, Springfield, IL 62701", "12 Market Street, Springfield, IL 62701",
         full("12 Market Street", "Springfield", "IL", "62701")},
        {"1600 Pennsylvania Avenue NW, Washington, DC 20500",
         "1600 Pennsylvania Avenue NW, Washington, DC 20500",
         full("1600 Pennsylvania Avenue NW", "Washington", "DC", "20500")},
        {"350 Fifth Avenue, New York, NY 10118", "350 Fifth Avenue, New York, NY 10118",
         full("350 Fifth Avenue", "New York", "NY", "10118")},
        {"1 Infinite Loop, Cupertino, CA 95014", "1 Infinite Loop, Cupertino, CA 95014",
         full("1 Infinite Loop", "Cupertino", "CA", "95014")},
        {"221 Baker St. Apt 2B, Boston, MA 02116", "221 Baker St. Apt 2B, Boston, MA 02116",
         full("221 Baker St. Apt 2B", "Boston", "MA", "02116")},
        {"233 S Wacker Dr, Chicago, Illinois 60606", "233 S Wacker Dr, Chicago, Illinois 60606",
         full("233 S Wacker Dr", "Chicago", "Illinois", "60606")},
        {"2 Saint Marks Pl, New York, New York 10003", "2 Saint Marks Pl, New York, New York 10003",
         full("2 Saint Marks Pl", "New York", "New York", "10003")},
        {"1 Main St, Kansas City, MO 64105, USA", "1 Main St, Kansas City, MO 64105, USA",
         with(full("1 Main St", "Kansas City", "MO", "64105"), "country", "USA")},
        {"100 Universal City Plaza, Universal City, CA 91608",
         "100 Universal City Plaza, Universal City, CA 91608",
         full("100 Universal City Plaza", "Universal City", "CA", "91608")},
        {"1 Cardinal Way, St. Louis, MO 63102", "1 Cardinal Way, St. Louis, MO 63102",
         full("1 Cardinal Way", "St. Louis", "MO", "63102")},
        {"500 W 5th St, Winston-Salem, NC 27101", "500 W 5th St, Winston-Salem, NC 27101",
         full("500 W 5th St", "Winston-Salem", "NC", "27101")},
        {"608 Sherman Ave, Coeur d'Alene, ID 83814", "608 Sherman Ave, Coeur d'Alene, ID 83814",
         full("608 Sherman Ave", "Coeur d'Alene", "ID", "83814")},
        {"1 Microsoft Way, Redmond, WA 98052-6399", "1 Microsoft Way, Redmond, WA 98052-6399",
         full("1 Microsoft Way", "Redmond", "WA", "98052-6399")},
        {"200 Central Park S, New York, NY 10019", "200 Central Park S, New York, NY 10019",
         full("200 Central Park S", "New York", "NY", "10019")},
        {"88 Colin P Kelly Jr St, San Francisco, CA 94107", "88 Colin P Kelly Jr St, San Francisco, CA 94107",
         full("88 Colin P Kelly Jr St", "San Francisco", "CA", "94107")},
        {"1 Calle Loiza, San Juan, PR 00911", "1 Calle Loiza, San Juan, PR 00911",
         full("1 Calle Loiza", "San Juan", "PR", "00911")},
        {"1 Broadway, New York, NY 10004", "1 Broadway, New York, NY 10004",
         full("1 Broadway", "New York", "NY", "10004")},
        // Units, fractions, Queens numbers, routes, PO boxes
        {"75 9th Ave, 4th Floor, New York, NY 10011", "75 9th Ave, 4th Floor, New York, NY 10011",
         full("75 9th Ave, 4th Floor", "New York", "NY", "10011")},
        {"8 Elm Ct #12, Burlington, VT 05401", "8 Elm Ct #12, Burlington, VT 05401",
         full("8 Elm Ct #12", "Burlington", "VT", "05401")},
        {"Mailing address: 1500 Market Street, Suite 3400, Philadelphia, PA 19102",
         "1500 Market Street, Suite 3400, Philadelphia, PA 19102",
         full("1500 Market Street, Suite 3400", "Philadelphia", "PA", "19102")},
        {"123 1/2 Elm St, Des Moines, IA 50309", "123 1/2 Elm St, Des Moines, IA 50309",
         full("123 1/2 Elm St", "Des Moines", "IA", "50309")},
        {"45-17 21st St, Long Island City, NY 11101", "45-17 21st St, Long Island City, NY 11101",
         full("45-17 21st St", "Long Island City", "NY", "11101")},
        {"12345 Highway 101 N, Klamath, CA 95548", "12345 Highway 101 N, Klamath, CA 95548",
         full("12345 Highway 101 N", "Klamath", "CA", "95548")},
        {"4500 State Route 9, Lake George, NY 12845", "4500 State Route 9, Lake George, NY 12845",
         full("4500 State Route 9", "Lake George", "NY", "12845")},
        {"P.O. Box 1234, Austin, TX 78767-1234", "P.O. Box 1234, Austin, TX 78767-1234",
         full("P.O. Box 1234", "Austin", "TX", "78767-1234")},
        // One line without commas: the street type ends the street
        {"500 W Madison St Suite 1000 Chicago IL 60661", "500 W Madison St Suite 1000 Chicago IL 60661",
         full("500 W Madison St Suite 1000", "Chicago", "IL", "60661")},
        {"111 8th Avenue New York NY 10011", "111 8th Avenue New York NY 10011",
         full("111 8th Avenue", "New York", "NY", "10011")},
        {"Deliver to: 55 Oak Ave Park Ridge IL 60068", "55 Oak Ave Park Ridge IL 60068",
         full("55 Oak Ave", "Park Ridge", "IL", "60068")},
        {"789 Lake Shore Dr Chicago IL 60611", "789 Lake Shore Dr Chicago IL 60611",
         full("789 Lake Shore Dr", "Chicago", "IL", "60611")},
        {"10 E 21st St Apt 5C New York NY 10010", "10 E 21st St Apt 5C New York NY 10010",
         full("10 E 21st St Apt 5C", "New York", "NY", "10010")},
        // Labels and prose around it
        {"Ship to: 742 Evergreen Terrace, Springfield, OR 97477",
         "742 Evergreen Terrace, Springfield, OR 97477",
         full("742 Evergreen Terrace", "Springfield", "OR", "97477")},
        {"Meet me at 90 Bedford St, New York, NY 10014 tomorrow.", "90 Bedford St, New York, NY 10014",
         full("90 Bedford St", "New York", "NY", "10014")},
        {"- 77 Massachusetts Ave, Cambridge, MA 02139", "77 Massachusetts Ave, Cambridge, MA 02139",
         full("77 Massachusetts Ave", "Cambridge", "MA", "02139")},
        // Several lines
        {"John Smith\n123 Main St\nApt 4\nAnytown, CA 90210\nUSA",
         "123 Main St\nApt 4\nAnytown, CA 90210\nUSA",
         with(full("123 Main St, Apt 4", "Anytown", "CA", "90210"), "country", "USA")},
        {"Billing address:\n4059 Mt Lee Dr.\nHollywood, CA 90068", "4059 Mt Lee Dr.\nHollywood, CA 90068",
         full("4059 Mt Lee Dr.", "Hollywood", "CA", "90068")},
        {"Acme Corp.\n2211 N First St\nSuite 200\nSan Jose, CA 95131\nUnited States",
         "2211 N First St\nSuite 200\nSan Jose, CA 95131\nUnited States",
         with(full("2211 N First St, Suite 200", "San Jose", "CA", "95131"), "country", "United States")},
        {"400 Broad St\r\nSeattle, WA 98109", "400 Broad St\r\nSeattle, WA 98109",
         full("400 Broad St", "Seattle", "WA", "98109")},
        {"1234 ELM STREET\nSPRINGFIELD IL 62704", "1234 ELM STREET\nSPRINGFIELD IL 62704",
         full("1234 ELM STREET", "SPRINGFIELD", "IL", "62704")},
        {"P.O. Box 5000\nHonolulu, HI 96801", "P.O. Box 5000\nHonolulu, HI 96801",
         full("P.O. Box 5000", "Honolulu", "HI", "96801")},
        {"1600 Pennsylvania Ave NW\nWashington, D.C. 20500",
         "1600 Pennsylvania Ave NW\nWashington, D.C. 20500",
         full("1600 Pennsylvania Ave NW", "Washington", "D.C.", "20500")},
        {"2 Elm St\nDover, DE 19901\nU.S.A.", "2 Elm St\nDover, DE 19901\nU.S.A.",
         with(full("2 Elm St", "Dover", "DE", "19901"), "country", "U.S.A.")},
        {"1 Broadway\nNew York, NY 10004", "1 Broadway\nNew York, NY 10004",
         full("1 Broadway", "New York", "NY", "10004")},
        {"1 Main   Street,\n  Springfield,   Massachusetts 01103",
         "1 Main   Street,\n  Springfield,   Massachusetts 01103",
         full("1 Main Street", "Springfield", "Massachusetts", "01103")},
        // Parts missing
        {"Address: 1600 Amphitheatre Parkway",
         "1600 Amphitheatre Parkway",
         {{"street", "1600 Amphitheatre Parkway"}}},
        {"PO Box 42", "PO Box 42", {{"street", "PO Box 42"}}},
        {"12 Oak Lane\nUnit 3", "12 Oak Lane\nUnit 3", {{"street", "12 Oak Lane, Unit 3"}}},
        {"Return address: 1 Main St, Springfield 62701",
         "1 Main St, Springfield 62701",
         {{"street", "1 Main St"}, {"city", "Springfield"}, {"ZIP", "62701"}}},
        {"12 Oak Lane, Springfield",
         "12 Oak Lane, Springfield",
         {{"street", "12 Oak Lane"}, {"city", "Springfield"}}},
        {"123 Main St, Anytown USA",
         "123 Main St, Anytown USA",
         {{"street", "123 Main St"}, {"city", "Anytown"}, {"country", "USA"}}},
        {"The Villages, FL 32162",
         "The Villages, FL 32162",
         {{"city", "The Villages"}, {"state", "FL"}, {"ZIP", "32162"}}},
        {"Version 3 Release Notes, Austin, TX 78701",
         "Austin, TX 78701",
         {{"city", "Austin"}, {"state", "TX"}, {"ZIP", "78701"}}},
        {"Springfield, IL 62701",
         "Springfield, IL 62701",
         {{"city", "Springfield"}, {"state", "IL"}, {"ZIP", "62701"}}},
        {"Beverly Hills CA 90210",
         "Beverly Hills CA 90210",
         {{"city", "Beverly Hills"}, {"state", "CA"}, {"ZIP", "90210"}}},
        {"Our office moved to Portland, OR 97205 last year.",
         "Portland, OR 97205",
         {{"city", "Portland"}, {"state", "OR"}, {"ZIP", "97205"}}},
        {"Visit Salt Lake City, UT 84101",
         "Salt Lake City, UT 84101",
         {{"city", "Salt Lake City"}, {"state", "UT"}, {"ZIP", "84101"}}},
        {"Austin, Texas", "Austin, Texas", {{"city", "Austin"}, {"state", "Texas"}}},
        {"Springfield, IL 62701\nUSA",
         "Springfield, IL 62701\nUSA",
         {{"city", "Springfield"}, {"state", "IL"}, {"ZIP", "62701"}, {"country", "USA"}}},
    };
    return cases;
}

TEST(AddressScanner, FindsRealAddressesWithTheirPartsAndRanges) {
    for (const Case& c : positives()) {
        SCOPED_TRACE(c.text);
        const auto matches = AddressScanner::scan(c.text);
        ASSERT_EQ(matches.size(), 1u);
        EXPECT_EQ(matches[0].type, DataDetector::Type::address);
        EXPECT_EQ(DataDetector::substring(c.text, matches[0].range), c.matched);
        EXPECT_EQ(matches[0].range, rangeOf(c.text, c.matched));
        EXPECT_EQ(matches[0].address, c.components);
    }
}

TEST(AddressScanner, IgnoresTextThatOnlyLooksLikeAnAddress) {
    const std::vector<std::string> negatives = {
        "Suite 5 of the tests",
        "3 Main points",
        "We have 3 Main points to cover today.",
        "3 Great Views",
        "March 3, 2024",
        "Due 2024-03-15 at 10:30",
        "Total: $1,234.56",
        "$300 Park Avenue",
        "Version 2.3.4 released",
        "Upgrade to v10 Pro Max",
        "Call 555-1234 today",
        "Tested on Linux OK",
        "Status: OK",
        "I live on Main Street",
        "Room 12, Building 5",
        "Apt 4B",
        "12 Angry Men",
        "Top 10 Park Avenue Restaurants",
        "We walked past 12 Oak Lane yesterday",
        "12 Dec 2023",
        "The meeting is at 10 in Room 4",
        "TX 75201",
        "Meet in Austin, TX",
        "Please see Error CA 90210",
        "Springfield, IL 6270",
        "Version 3 Release Notes, Austin, TX",
        "I have 2 Park Place hotels and 3 Boardwalk deals",
        "Order #12345 ships to CA",
        "No. 5 Main St",
        "0 Main St",
        "1,200 Main Street",
        "1234567 Main Street",
        "PO Box #",
        "PO Box",
        "12 main st, springfield, il 62701",
        "Springfield\n\nIL 62701",
    };
    for (const std::string& text : negatives) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(AddressScanner::scan(text).empty());
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

TEST(AddressScanner, RangesCountUtf16CodeUnits) {
    // The parcel emoji is two UTF-16 units, "ñ" one, "é" one.
    const std::string text = "\U0001F4E6 Café order, ship to: 915 Cañon Rd, Santa Fe, NM 87501";
    const auto matches = AddressScanner::scan(text);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].range, (TextRange{24, 32}));
    EXPECT_EQ(matches[0].address, full("915 Cañon Rd", "Santa Fe", "NM", "87501"));
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

TEST(AddressScanner, CityAndStateAloneNeedALineOfTheirOwnAndAComma) {
    EXPECT_EQ(AddressScanner::scan("Portland, Oregon").size(), 1u);
    EXPECT_EQ(AddressScanner::scan("Location: Portland, Oregon").size(), 1u);
    EXPECT_TRUE(AddressScanner::scan("Portland Oregon").empty());
    EXPECT_TRUE(AddressScanner::scan("We flew to Portland, Oregon").empty());
    EXPECT_TRUE(AddressScanner::scan("Portland, Oregon is rainy").empty());
    // With a ZIP, a comma or the start of the line is enough.
    EXPECT_EQ(AddressScanner::scan("We flew to Portland, Oregon 97205").size(), 1u);
    EXPECT_EQ(AddressScanner::scan("Portland Oregon 97205").size(), 1u);
    EXPECT_TRUE(AddressScanner::scan("We flew to Portland Oregon 97205").empty());
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

#include "kit/scan/address/StreetSuffixes.h"

#include "kit/scan/address/AddressScanner.h"
#include "kit/scan/address/UnitDesignators.h"

#include <gtest/gtest.h>
#include <string>

namespace tessellar::address {
namespace {

TEST(StreetSuffixes, KnowsTypesAbbreviationsAndWhichAreCommon) {
    struct Expected {
        std::string_view word;
        std::string_view name;
        bool abbreviated;
        bool common;
    };
    const Expected cases[] = {
        {"Street", "Street", false, true},  {"St.", "Street", true, true},
        {"STR", "Street", true, true},      {"avenue", "Avenue", false, true},
        {"Av", "Avenue", true, true},       {"Blvd", "Boulevard", true, true},
        {"Pkwy", "Parkway", true, true},    {"Ter", "Terrace", true, true},
        {"Hwy", "Highway", true, true},     {"Xing", "Crossing", true, false},
        {"Points", "Points", false, false}, {"Views", "Views", false, false},
        {"Centre", "Center", true, false},  {"Mt", "Mount", true, false},
        {"Ways", "Ways", false, false},
    };
    for (const Expected& e : cases) {
        SCOPED_TRACE(e.word);
        const auto suffix = StreetSuffixes::find(e.word);
        EXPECT_EQ(suffix.name, e.name);
        EXPECT_EQ(suffix.abbreviated, e.abbreviated);
        EXPECT_EQ(suffix.common, e.common);
    }
    // Unit designators, not street types.
    EXPECT_TRUE(StreetSuffixes::find("Trailer").name.empty());
    EXPECT_TRUE(StreetSuffixes::find("Key").name.empty());
    EXPECT_TRUE(StreetSuffixes::find("Suite").name.empty());
    EXPECT_TRUE(StreetSuffixes::find("").name.empty());
    EXPECT_TRUE(StreetSuffixes::find(std::string(100, 's')).name.empty());
}

TEST(StreetSuffixes, DirectionalsAndRoutes) {
    for (const char* word : {"N", "s.", "NE", "N.W.", "North", "SOUTHWEST"})
        EXPECT_TRUE(StreetSuffixes::isDirectional(word)) << word;
    for (const char* word : {"No", "Up", "Northern", ""})
        EXPECT_FALSE(StreetSuffixes::isDirectional(word)) << word;

    const auto route = [](std::vector<std::string_view> words) {
        return StreetSuffixes::routePrefixes().longestMatch(
            [&](std::size_t i) { return i < words.size() ? words[i] : std::string_view{}; });
    };
    EXPECT_EQ(route({"county", "road", "12"}), 2u);
    EXPECT_EQ(route({"us", "highway", "1"}), 2u);
    EXPECT_EQ(route({"route", "66"}), 1u);
    EXPECT_EQ(route({"county", "12"}), 0u);
}

TEST(UnitDesignators, NumberedAndStandaloneKinds) {
    using Kind = UnitDesignators::Kind;
    for (const char* word : {"Apt", "APT.", "Apartment", "Suite", "Ste", "Unit", "Floor", "Fl", "Bldg",
                             "Room", "Rm", "Dept", "Lot", "PMB"})
        EXPECT_EQ(UnitDesignators::find(word), Kind::numbered) << word;
    for (const char* word : {"Rear", "Front", "Basement", "Penthouse", "Lobby", "Upper", "Lower"})
        EXPECT_EQ(UnitDesignators::find(word), Kind::standalone) << word;
    for (const char* word : {"Street", "Box", "Main", ""})
        EXPECT_EQ(UnitDesignators::find(word), Kind::none) << word;
    EXPECT_TRUE(UnitDesignators::isFloor("Flr."));
    EXPECT_FALSE(UnitDesignators::isFloor("Suite"));
}

TEST(StreetSuffixes, StreetsEndAtTheirTypeAndKeepTheirUnits) {
    const std::pair<std::string, std::string> cases[] = {
        {"1 Maple Xing", "1 Maple Xing"},
        {"1 Maple Ave. N.", "1 Maple Ave. N."},
        {"1 Maple St Apt. 4", "1 Maple St Apt. 4"},
        {"1 Maple St Apartment 12-A", "1 Maple St Apartment 12-A"},
        {"1 Maple St, Ste #200", "1 Maple St, Ste #200"},
        {"1 Maple St Unit B", "1 Maple St Unit B"},
        {"1 Maple St Bldg 7, Rm 12", "1 Maple St Bldg 7, Rm 12"},
        {"1 Maple St 2nd Fl", "1 Maple St 2nd Fl"},
        {"1 Maple St Rear", "1 Maple St Rear"},
        {"1 Maple St PMB 123", "1 Maple St PMB 123"},
        {"1 County Road 12 E", "1 County Road 12 E"},
        {"1 Avenue of the Americas", "1 Avenue of the Americas"},
    };
    for (const auto& [street, expected] : cases) {
        const std::string text = street + ", Springfield, IL 62701";
        SCOPED_TRACE(text);
        const auto matches = AddressScanner::scan(text);
        ASSERT_EQ(matches.size(), 1u);
        EXPECT_EQ(matches[0].address.at("street"), expected);
        EXPECT_EQ(matches[0].address.at("city"), "Springfield");
    }
}

} // namespace
} // namespace tessellar::address

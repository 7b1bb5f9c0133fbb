#include "kit/scan/address/UsStates.h"

#include "kit/scan/address/AddressScanner.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace tessellar::address {
namespace {

TEST(UsStates, ListsStatesDistrictTerritoriesAndMilitaryRegionsOnceInCodeOrder) {
    const auto& states = usStates();
    // 50 states, DC, 5 territories, 3 freely associated states, 3 armed-forces regions.
    EXPECT_EQ(states.size(), 62u);
    std::set<std::string_view> names;
    for (std::size_t i = 0; i < states.size(); ++i) {
        EXPECT_EQ(states[i].code.size(), 2u);
        if (i > 0) {
            EXPECT_LT(states[i - 1].code, states[i].code) << "lookup needs the codes sorted";
        }
        EXPECT_TRUE(names.insert(states[i].name).second) << states[i].name;
        EXPECT_EQ(usStateByCode(states[i].code), &states[i]);
    }
    EXPECT_EQ(usStateByCode("IL")->name, "Illinois");
    EXPECT_EQ(usStateByCode("PR")->name, "Puerto Rico");
    EXPECT_EQ(usStateByCode("XX"), nullptr);
    EXPECT_EQ(usStateByCode("il"), nullptr);
    EXPECT_EQ(usStateByCode(""), nullptr);
}

TEST(UsStates, EveryCodeAndNameIsReadAsTheStateOfAnAddress) {
    for (const UsState& state : usStates()) {
        for (const std::string_view written : {state.code, state.name}) {
            const std::string text = "1 Main St, Springfield, " + std::string(written) + " 12345";
            SCOPED_TRACE(text);
            const auto matches = AddressScanner::scan(text);
            ASSERT_EQ(matches.size(), 1u);
            EXPECT_EQ(matches[0].address.at("state"), written);
            EXPECT_EQ(matches[0].address.at("city"), "Springfield");
            EXPECT_EQ(matches[0].address.at("ZIP"), "12345");
        }
    }
}

TEST(UsStates, NamesMatchWordByWordIgnoringCaseAndDots) {
    const PhraseTable& names = usStateNames();
    const auto match = [&](std::vector<std::string_view> words) {
        return names.longestMatch(
            [&](std::size_t i) { return i < words.size() ? words[i] : std::string_view{}; });
    };
    EXPECT_EQ(match({"new", "york", "10001"}), 2u);
    EXPECT_EQ(match({"district", "of", "columbia"}), 3u);
    EXPECT_EQ(match({"district", "of"}), 0u);
    EXPECT_EQ(match({"us", "virgin", "islands"}), 3u);
    EXPECT_EQ(match({"virgin", "islands"}), 2u);
    EXPECT_EQ(match({"york"}), 0u);

    const PhraseTable& countries = usCountryNames();
    EXPECT_TRUE(countries.contains("U.S.A."));
    EXPECT_TRUE(countries.contains("US"));
    EXPECT_FALSE(countries.contains("United"));
}

} // namespace
} // namespace tessellar::address

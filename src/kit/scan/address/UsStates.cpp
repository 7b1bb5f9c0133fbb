#include "kit/scan/address/UsStates.h"

#include <algorithm>

namespace tessellar::address {

const std::vector<UsState>& usStates() {
    static const std::vector<UsState> states = {
        {"AA", "Armed Forces Americas"},
        {"AE", "Armed Forces Europe"},
        {"AK", "Alaska"},
        {"AL", "Alabama"},
        {"AP", "Armed Forces Pacific"},
        {"AR", "Arkansas"},
        {"AS", "American Samoa"},
        {"AZ", "Arizona"},
        {"CA", "California"},
        {"CO", "Colorado"},
        {"CT", "Connecticut"},
        {"DC", "District of Columbia"},
        {"DE", "Delaware"},
        {"FL", "Florida"},
        {"FM", "Federated States of Micronesia"},
        {"GA", "Georgia"},
        {"GU", "Guam"},
        {"HI", "Hawaii"},
        {"IA", "Iowa"},
        {"ID", "Idaho"},
        {"IL", "Illinois"},
        {"IN", "Indiana"},
        {"KS", "Kansas"},
        {"KY", "Kentucky"},
        {"LA", "Louisiana"},
        {"MA", "Massachusetts"},
        {"MD", "Maryland"},
        {"ME", "Maine"},
        {"MH", "Marshall Islands"},
        {"MI", "Michigan"},
        {"MN", "Minnesota"},
        {"MO", "Missouri"},
        {"MP", "Northern Mariana Islands"},
        {"MS", "Mississippi"},
        {"MT", "Montana"},
        {"NC", "North Carolina"},
        {"ND", "North Dakota"},
        {"NE", "Nebraska"},
        {"NH", "New Hampshire"},
        {"NJ", "New Jersey"},
        {"NM", "New Mexico"},
        {"NV", "Nevada"},
        {"NY", "New York"},
        {"OH", "Ohio"},
        {"OK", "Oklahoma"},
        {"OR", "Oregon"},
        {"PA", "Pennsylvania"},
        {"PR", "Puerto Rico"},
        {"PW", "Palau"},
        {"RI", "Rhode Island"},
        {"SC", "South Carolina"},
        {"SD", "South Dakota"},
        {"TN", "Tennessee"},
        {"TX", "Texas"},
        {"UT", "Utah"},
        {"VA", "Virginia"},
        {"VI", "Virgin Islands"},
        {"VT", "Vermont"},
        {"WA", "Washington"},
        {"WI", "Wisconsin"},
        {"WV", "West Virginia"},
        {"WY", "Wyoming"},
    };
    return states;
}

const UsState* usStateByCode(std::string_view code) {
    const auto& states = usStates();
    const auto it = std::lower_bound(states.begin(), states.end(), code,
                                     [](const UsState& s, std::string_view c) { return s.code < c; });
    return it != states.end() && it->code == code ? &*it : nullptr;
}

const PhraseTable& usStateNames() {
    static const PhraseTable names = [] {
        PhraseTable table{"US Virgin Islands", "Micronesia"};
        for (const UsState& state : usStates())
            table.add(state.name);
        return table;
    }();
    return names;
}

const PhraseTable& usCountryNames() {
    static const PhraseTable names{"USA", "US", "United States", "United States of America"};
    return names;
}

} // namespace tessellar::address

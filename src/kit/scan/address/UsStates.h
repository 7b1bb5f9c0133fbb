#pragma once

#include "kit/scan/address/PhraseTable.h"

#include <string_view>
#include <vector>

namespace tessellar::address {

// A state, district, territory or military mail region that the US Postal Service serves.
struct UsState {
    std::string_view code; // "IL"
    std::string_view name; // "Illinois"
};

// The 50 states, the District of Columbia, the territories, the freely associated states
// and the armed-forces regions, in code order.
const std::vector<UsState>& usStates();

// The state whose two-letter code is `code` (upper-case ASCII), or nullptr.
const UsState* usStateByCode(std::string_view code);

// The full names of usStates(), with the common variants "US Virgin Islands" and "Micronesia".
const PhraseTable& usStateNames();

// The ways the country is written after an address: "USA", "U.S.", "United States", …
// Two-letter and dotted forms count only in capitals, which the caller checks.
const PhraseTable& usCountryNames();

} // namespace tessellar::address

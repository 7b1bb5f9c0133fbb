#pragma once

#include "kit/scan/DataDetector.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessellar {

// Decides whether a short text is essentially one postal address and splits it into its
// parts, on top of the address type of DataDetector. Holds no state.
class AddressDetector {
public:
    struct Address {
        std::optional<std::string> street;
        std::optional<std::string> locality;   // city
        std::optional<std::string> region;     // state or region
        std::optional<std::string> postalCode; // ZIP or postal code
        std::optional<std::string> country;
        std::string raw; // the matched text, trimmed

        // At most two lines for showing the address: the street, then "City, ST 12345".
        // Without a second line: just the street, or else `raw` with whitespace collapsed.
        // The country is never shown.
        std::vector<std::string> displayLines() const;

        bool operator==(const Address&) const = default;
    };

    // The address when the trimmed text is mostly one address: at most 240 user-perceived
    // characters, and the first match covers at least 60 % of it in UTF-16 code units.
    static std::optional<Address> standaloneAddress(std::string_view text);

    // The first address anywhere in the text (no coverage or length limit).
    static std::optional<Address> firstAddress(std::string_view text);

private:
    friend struct AddressDetectorProbe; // lets tests build an address from a hand-made match

    // Builds an address from one match over `text`; absent when it has no street and
    // lacks the city or the state.
    static std::optional<Address> address(const DataDetector::Match& match, std::string_view text);
};

} // namespace tessellar

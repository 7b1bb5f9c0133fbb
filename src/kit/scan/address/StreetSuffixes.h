#pragma once

#include "kit/scan/address/PhraseTable.h"

#include <string_view>

namespace tessellar::address {

// The vocabulary of a US street line: the street types the Postal Service lists with their
// standard and common abbreviations, the directionals, and the route names that come before a
// number ("Highway 101").
class StreetSuffixes {
public:
    struct Suffix {
        std::string_view name;    // "Avenue"
        bool abbreviated = false; // the word was an abbreviation ("Ave", "Av"), not the full name
        bool common = false;      // one of the types most streets have (Street, Avenue, Road …)
    };

    // The street type a word names (any case, dots ignored), or an empty name.
    static Suffix find(std::string_view word);

    // N, S, E, W, NE … and North … Southwest (any case, dots ignored).
    static bool isDirectional(std::string_view word);

    // "Route", "Highway", "County Road", "US Highway" …: names written before a route number.
    static const PhraseTable& routePrefixes();
};

} // namespace tessellar::address

#pragma once

#include "kit/scan/address/AddressToken.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tessellar::address {

// A UTF-16 range of the text.
struct AddressPart {
    int32_t start = 0;
    int32_t end = 0;
    bool operator==(const AddressPart&) const = default;
};

// An address, or the street of one, found on a line.
struct AddressFragment {
    std::optional<AddressPart> street;   // house number to the end of the unit on that line
    std::optional<AddressPart> unitLine; // a unit written on the line after the street
    std::optional<AddressPart> city;
    std::optional<AddressPart> state;
    std::optional<AddressPart> zip;
    std::optional<AddressPart> country;
    int32_t start = 0;
    int32_t end = 0;

    bool anchored = false;   // nothing but a label ("Ship to:") or a bullet before it on its line
    bool suffixless = false; // a street without a street type ("1 Broadway")
    bool common = false;     // the street type is a common one, or it is a route or PO Box
    bool hasUnit = false;
    bool caseless = false; // found on a line without capitals
};

// What one line contributes to the addresses of a text.
struct AddressLine {
    std::vector<AddressFragment> complete;     // addresses wholly on this line, in order
    bool lastEndsLine = false;                 // the last of them ends the line
    std::optional<AddressFragment> openStreet; // a street ending the line, waiting for its city
    std::optional<AddressFragment> wholePlace; // the line is "City, ST 12345"
    std::optional<AddressPart> wholeUnit;      // the line is "Suite 200"
    std::optional<AddressPart> wholeCountry;   // the line is "USA"
};

// Reads the tokens of one line with a bounded look-ahead from each position, so a line is
// read in time linear in its length.
class AddressLineParser {
public:
    // `caseless`: the line has no capitals and its words were marked as capitalised.
    static AddressLine parse(const std::vector<AddressToken>& tokens, bool caseless = false);
};

} // namespace tessellar::address

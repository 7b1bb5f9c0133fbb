#pragma once

#include "kit/scan/DataDetector.h"

#include <string_view>
#include <vector>

namespace tessellar {

// Finds US postal addresses in free text, reading it line by line; the time is linear in the
// length of the text. The payload holds those of "street", "city", "state", "ZIP" and
// "country" that were written, each as written with runs of whitespace collapsed; the range
// covers the address from its first part to its last, without a label such as "Ship to:".
//
// Recognised:
// - a street: house number ("123", "123A", "12-34", "123 1/2"), capitalised name words
//   (ordinals such as "5th" included) and a street type of the Postal Service's list
//   ("Street", "St.", "Ave", "Blvd" …), then an optional directional ("NW"); a route
//   ("12345 Highway 101", "1234 FM 1960 Rd"); a PO Box ("P.O. Box 42"); a rural or highway
//   contract route box ("RR 2 Box 152", "HC 68 Box 23A"); a military box ("PSC 1234, Box
//   5678", "Unit 2050 Box 4190") with "APO AE 09012" as its city, state and ZIP; Wisconsin
//   and Utah grid numbers ("N6W23001 Bluemound Rd", "842 E 1700 S");
// - up to two units after it on the same line ("Apt 4B", "Suite #200", "3rd Floor", "#12")
//   or one unit on a line of its own;
// - then the city, the state (capital two-letter code or full name) and the ZIP (12345 or
//   12345-6789), on the same line after the street (commas optional) or on the next line,
//   and an optional country ("USA", "U.S.", "United States") on the same or the next line;
// - a street with a city but no state after a comma ("12 Oak Lane, Springfield");
// - a street alone when it stands alone on its line (after an optional label or bullet) and
//   has a common street type ("Street", "Avenue", "Road" …), a unit, or is a PO Box;
// - a street without a street type ("1 Broadway") only at the start of its line or after a
//   comma, and when the state and ZIP follow;
// - no street: "City, ST 12345" (comma or line start needed), or "City, ST" alone on a line.
//
// A line without any capitals ("48 oak avenue portland or 97205") counts only when it ends
// with a state and ZIP.
//
// Not recognised: other countries' formats; house numbers written as words ("One Apple Park
// Way"); streets without a house number ("Main Street, Springfield, IL"); a unit before the
// street ("Apt 4, 12 Oak Lane"); the city and state split over two lines; AP-style state
// abbreviations ("Calif."). Without commas, a city name that begins
// with a street type or directional may be read as part of the street ("12 Main St North
// Platte NE"). A blank line always ends an address. Names and companies before the street
// are not part of the address.
class AddressScanner {
public:
    static std::vector<DataDetector::Match> scan(std::string_view text);
};

} // namespace tessellar

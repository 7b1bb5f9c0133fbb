#pragma once

#include <string_view>

namespace tessellar::address {

// The words that introduce the second part of a US address line: "Apt 4B", "Suite 200",
// "Floor 3", "Rear". The Postal Service's list plus the spellings people use.
class UnitDesignators {
public:
    enum class Kind {
        none,
        numbered,  // needs an identifier after it: Apt, Suite, Unit, Floor, Room …
        standalone // complete by itself: Rear, Front, Basement, Penthouse …
    };

    // How a word (any case, dots ignored) designates a unit.
    static Kind find(std::string_view word);

    // Floor, Fl, Flr: the designators that may follow an ordinal ("3rd Floor").
    static bool isFloor(std::string_view word);
};

} // namespace tessellar::address

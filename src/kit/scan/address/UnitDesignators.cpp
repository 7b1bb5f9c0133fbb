#include "kit/scan/address/UnitDesignators.h"

#include "kit/scan/address/PhraseTable.h"

namespace tessellar::address {

UnitDesignators::Kind UnitDesignators::find(std::string_view word) {
    static const PhraseTable numbered{
        "Apt",      "Apartment", "Suite", "Ste",  "Unit",       "Floor", "Fl",    "Flr", "Bldg",
        "Building", "Room",      "Rm",    "Dept", "Department", "Lot",   "Space", "Spc", "Trailer",
        "Trlr",     "Hangar",    "Hngr",  "Pier", "Slip",       "Stop",  "Key",   "PMB", "Ph"};
    static const PhraseTable standalone{"Basement", "Bsmt",  "Front",     "Frnt",   "Lobby",
                                        "Lbby",     "Lower", "Lowr",      "Office", "Ofc",
                                        "Rear",     "Side",  "Penthouse", "Upper",  "Uppr"};
    if (word.size() > 12)
        return Kind::none;
    if (numbered.contains(word))
        return Kind::numbered;
    if (standalone.contains(word))
        return Kind::standalone;
    return Kind::none;
}

bool UnitDesignators::isFloor(std::string_view word) {
    static const PhraseTable floors{"Floor", "Fl", "Flr"};
    return word.size() <= 6 && floors.contains(word);
}

} // namespace tessellar::address

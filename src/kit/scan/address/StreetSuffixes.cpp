#include "kit/scan/address/StreetSuffixes.h"

#include <string>
#include <unordered_map>

namespace tessellar::address {
namespace {

struct Entry {
    std::string_view name;
    std::string_view abbreviations; // the standard abbreviation first, then common variants
    bool common = false;
};

// The street types of the Postal Service's list, with its standard abbreviations and the
// variants it accepts. "Trailer" and "Key" are left out: as the last word of a street
// line they are nearly always a unit designator.
constexpr Entry entries[] = {
    {"Alley", "Aly Allee Ally", true},
    {"Anex", "Anx Annex Annx"},
    {"Arcade", "Arc"},
    {"Avenue", "Ave Av Aven Avenu Avn Avnue", true},
    {"Bayou", "Byu Bayoo"},
    {"Beach", "Bch"},
    {"Bend", "Bnd"},
    {"Bluff", "Blf Bluf"},
    {"Bluffs", "Blfs"},
    {"Bottom", "Btm Bot Bottm"},
    {"Boulevard", "Blvd Boul Boulv", true},
    {"Branch", "Br Brnch"},
    {"Bridge", "Brg Brdge"},
    {"Brook", "Brk"},
    {"Brooks", "Brks"},
    {"Burg", "Bg"},
    {"Burgs", "Bgs"},
    {"Bypass", "Byp Bypa Bypas Byps"},
    {"Camp", "Cp Cmp"},
    {"Canyon", "Cyn Canyn Cnyn"},
    {"Cape", "Cpe"},
    {"Causeway", "Cswy Causwa"},
    {"Center", "Ctr Cen Cent Centr Centre Cnter Cntr"},
    {"Centers", "Ctrs"},
    {"Circle", "Cir Circ Circl Crcl Crcle", true},
    {"Circles", "Cirs"},
    {"Cliff", "Clf"},
    {"Cliffs", "Clfs"},
    {"Club", "Clb"},
    {"Common", "Cmn"},
    {"Commons", "Cmns"},
    {"Corner", "Cor"},
    {"Corners", "Cors"},
    {"Course", "Crse"},
    {"Court", "Ct", true},
    {"Courts", "Cts"},
    {"Cove", "Cv"},
    {"Coves", "Cvs"},
    {"Creek", "Crk"},
    {"Crescent", "Cres Crsent Crsnt", true},
    {"Crest", "Crst"},
    {"Crossing", "Xing Crssng"},
    {"Crossroad", "Xrd"},
    {"Crossroads", "Xrds"},
    {"Curve", "Curv"},
    {"Dale", "Dl"},
    {"Dam", "Dm"},
    {"Divide", "Dv Div Dvd"},
    {"Drive", "Dr Driv Drv", true},
    {"Drives", "Drs"},
    {"Estate", "Est"},
    {"Estates", "Ests"},
    {"Expressway", "Expy Exp Expr Express Expw", true},
    {"Extension", "Ext Extn Extnsn"},
    {"Extensions", "Exts"},
    {"Fall", ""},
    {"Falls", "Fls"},
    {"Ferry", "Fry Frry"},
    {"Field", "Fld"},
    {"Fields", "Flds"},
    {"Flat", "Flt"},
    {"Flats", "Flts"},
    {"Ford", "Frd"},
    {"Fords", "Frds"},
    {"Forest", "Frst Forests"},
    {"Forge", "Frg Forg"},
    {"Forges", "Frgs"},
    {"Fork", "Frk"},
    {"Forks", "Frks"},
    {"Fort", "Ft Frt"},
    {"Freeway", "Fwy Freewy Frway Frwy", true},
    {"Garden", "Gdn Gardn Grden Grdn"},
    {"Gardens", "Gdns Grdns"},
    {"Gateway", "Gtwy Gatewy Gatway Gtway"},
    {"Glen", "Gln"},
    {"Glens", "Glns"},
    {"Green", "Grn"},
    {"Greens", "Grns"},
    {"Grove", "Grv Grov"},
    {"Groves", "Grvs"},
    {"Harbor", "Hbr Harb Harbr Hrbor"},
    {"Harbors", "Hbrs"},
    {"Haven", "Hvn"},
    {"Heights", "Hts Ht"},
    {"Highway", "Hwy Highwy Hiway Hiwy Hway", true},
    {"Hill", "Hl"},
    {"Hills", "Hls"},
    {"Hollow", "Holw Hllw Hollows Holws"},
    {"Inlet", "Inlt"},
    {"Island", "Is Islnd"},
    {"Islands", "Iss Islnds"},
    {"Isle", "Isles"},
    {"Junction", "Jct Jction Jctn Junctn Juncton"},
    {"Junctions", "Jcts"},
    {"Keys", "Kys"},
    {"Knoll", "Knl Knol"},
    {"Knolls", "Knls"},
    {"Lake", "Lk"},
    {"Lakes", "Lks"},
    {"Land", ""},
    {"Landing", "Lndg Lndng"},
    {"Lane", "Ln", true},
    {"Light", "Lgt"},
    {"Lights", "Lgts"},
    {"Loaf", "Lf"},
    {"Lock", "Lck"},
    {"Locks", "Lcks"},
    {"Lodge", "Ldg Ldge Lodg"},
    {"Loop", "Loops", true},
    {"Mall", ""},
    {"Manor", "Mnr"},
    {"Manors", "Mnrs"},
    {"Meadow", "Mdw"},
    {"Meadows", "Mdws Medows"},
    {"Mews", ""},
    {"Mill", "Ml"},
    {"Mills", "Mls"},
    {"Mission", "Msn Missn Mssn"},
    {"Motorway", "Mtwy"},
    {"Mount", "Mt Mnt"},
    {"Mountain", "Mtn Mntain Mntn Mountin Mtin"},
    {"Mountains", "Mtns"},
    {"Neck", "Nck"},
    {"Orchard", "Orch Orchrd"},
    {"Oval", "Ovl"},
    {"Overpass", "Opas"},
    {"Park", "Prk Parks"},
    {"Parkway", "Pkwy Parkwy Pkway Pky Parkways Pkwys", true},
    {"Pass", ""},
    {"Passage", "Psge"},
    {"Path", "Paths"},
    {"Pike", "Pikes", true},
    {"Pine", "Pne"},
    {"Pines", "Pnes"},
    {"Place", "Pl", true},
    {"Plain", "Pln"},
    {"Plains", "Plns"},
    {"Plaza", "Plz Plza", true},
    {"Point", "Pt"},
    {"Points", "Pts"},
    {"Port", "Prt"},
    {"Ports", "Prts"},
    {"Prairie", "Pr Prr"},
    {"Radial", "Radl Rad Radiel"},
    {"Ramp", ""},
    {"Ranch", "Rnch Ranches Rnchs"},
    {"Rapid", "Rpd"},
    {"Rapids", "Rpds"},
    {"Rest", "Rst"},
    {"Ridge", "Rdg Rdge"},
    {"Ridges", "Rdgs"},
    {"River", "Riv Rvr Rivr"},
    {"Road", "Rd", true},
    {"Roads", "Rds"},
    {"Route", "Rte"},
    {"Row", "", true},
    {"Rue", ""},
    {"Run", ""},
    {"Shoal", "Shl"},
    {"Shoals", "Shls"},
    {"Shore", "Shr Shoar"},
    {"Shores", "Shrs Shoars"},
    {"Skyway", "Skwy"},
    {"Spring", "Spg Spng Sprng"},
    {"Springs", "Spgs"},
    {"Spur", "Spurs"},
    {"Square", "Sq Sqr Sqre Squ", true},
    {"Squares", "Sqs Sqrs"},
    {"Station", "Sta Statn Stn"},
    {"Stravenue", "Stra Strav Straven Stravn Strvn Strvnue"},
    {"Stream", "Strm Streme"},
    {"Street", "St Strt Str", true},
    {"Streets", "Sts"},
    {"Summit", "Smt Sumit Sumitt"},
    {"Terrace", "Ter Terr", true},
    {"Throughway", "Trwy"},
    {"Trace", "Trce Traces"},
    {"Track", "Trak Tracks Trk Trks"},
    {"Trafficway", "Trfy"},
    {"Trail", "Trl Trails Trls", true},
    {"Tunnel", "Tunl Tunel Tunls Tunnels Tunnl"},
    {"Turnpike", "Tpke Trnpk Turnpk", true},
    {"Underpass", "Upas"},
    {"Union", "Un"},
    {"Unions", "Uns"},
    {"Valley", "Vly Vally Vlly"},
    {"Valleys", "Vlys"},
    {"Viaduct", "Via Vdct Viadct"},
    {"View", "Vw"},
    {"Views", "Vws"},
    {"Village", "Vlg Vill Villag Villg Villiage"},
    {"Villages", "Vlgs"},
    {"Ville", "Vl"},
    {"Vista", "Vis Vist Vst Vsta"},
    {"Walk", "Walks"},
    {"Wall", ""},
    {"Way", "Wy", true},
    {"Ways", ""},
    {"Well", "Wl"},
    {"Wells", "Wls"},
};

using Index = std::unordered_map<std::string, StreetSuffixes::Suffix>;

const Index& index() {
    static const Index table = [] {
        Index out;
        for (const Entry& entry : entries) {
            out.emplace(PhraseTable::key(entry.name),
                        StreetSuffixes::Suffix{entry.name, false, entry.common});
            std::string_view rest = entry.abbreviations;
            while (!rest.empty()) {
                const auto space = rest.find(' ');
                out.emplace(PhraseTable::key(rest.substr(0, space)),
                            StreetSuffixes::Suffix{entry.name, true, entry.common});
                rest = space == std::string_view::npos ? std::string_view{} : rest.substr(space + 1);
            }
        }
        return out;
    }();
    return table;
}

} // namespace

StreetSuffixes::Suffix StreetSuffixes::find(std::string_view word) {
    if (word.size() > 12)
        return {};
    const auto found = index().find(PhraseTable::key(word));
    return found == index().end() ? Suffix{} : found->second;
}

bool StreetSuffixes::isDirectional(std::string_view word) {
    static const PhraseTable directionals{"N",         "S",         "E",         "W",        "NE",   "NW",
                                          "SE",        "SW",        "North",     "South",    "East", "West",
                                          "Northeast", "Northwest", "Southeast", "Southwest"};
    return word.size() <= 9 && directionals.contains(word);
}

const PhraseTable& StreetSuffixes::routePrefixes() {
    static const PhraseTable prefixes{"Route",
                                      "Rte",
                                      "Highway",
                                      "Hwy",
                                      "State Route",
                                      "State Highway",
                                      "State Road",
                                      "County Road",
                                      "County Route",
                                      "US Highway",
                                      "US Route",
                                      "Interstate",
                                      "Farm to Market Road",
                                      "Farm to Market",
                                      "Farm Road",
                                      "FM",
                                      "FM Road",
                                      "Ranch Road",
                                      "Ranch to Market Road",
                                      "RM",
                                      "State Hwy",
                                      "State Rd",
                                      "SH",
                                      "SR",
                                      "CR",
                                      "US Hwy"};
    return prefixes;
}

} // namespace tessellar::address

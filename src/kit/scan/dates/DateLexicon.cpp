#include "kit/scan/dates/DateLexicon.h"

#include <unordered_map>

namespace tessellar::dates {
namespace {

constexpr int unit(TimeUnit u) {
    return static_cast<int>(u);
}
constexpr int region(ZoneRegion r) {
    return static_cast<int>(r);
}
constexpr int keyword(Keyword k) {
    return static_cast<int>(k);
}

struct Row {
    std::string_view word;
    WordEntry entry;
};

// clang-format off
constexpr Row rows[] = {
    {"january", {WordKind::month, 1}},   {"jan", {WordKind::month, 1, true}},
    {"february", {WordKind::month, 2}},  {"feb", {WordKind::month, 2, true}},
    {"march", {WordKind::month, 3}},     {"mar", {WordKind::month, 3, true}},
    {"april", {WordKind::month, 4}},     {"apr", {WordKind::month, 4, true}},
    {"may", {WordKind::month, 5}},
    {"june", {WordKind::month, 6}},      {"jun", {WordKind::month, 6, true}},
    {"july", {WordKind::month, 7}},      {"jul", {WordKind::month, 7, true}},
    {"august", {WordKind::month, 8}},    {"aug", {WordKind::month, 8, true}},
    {"september", {WordKind::month, 9}}, {"sep", {WordKind::month, 9, true}}, {"sept", {WordKind::month, 9, true}},
    {"october", {WordKind::month, 10}},  {"oct", {WordKind::month, 10, true}},
    {"november", {WordKind::month, 11}}, {"nov", {WordKind::month, 11, true}},
    {"december", {WordKind::month, 12}}, {"dec", {WordKind::month, 12, true}},

    {"sunday", {WordKind::weekday, 1}},    {"sun", {WordKind::weekday, 1, true}},
    {"monday", {WordKind::weekday, 2}},    {"mon", {WordKind::weekday, 2, true}},
    {"tuesday", {WordKind::weekday, 3}},   {"tue", {WordKind::weekday, 3, true}}, {"tues", {WordKind::weekday, 3, true}},
    {"wednesday", {WordKind::weekday, 4}}, {"wed", {WordKind::weekday, 4, true}}, {"weds", {WordKind::weekday, 4, true}},
    {"thursday", {WordKind::weekday, 5}},  {"thu", {WordKind::weekday, 5, true}}, {"thur", {WordKind::weekday, 5, true}},
    {"thurs", {WordKind::weekday, 5, true}},
    {"friday", {WordKind::weekday, 6}},    {"fri", {WordKind::weekday, 6, true}},
    {"saturday", {WordKind::weekday, 7}},  {"sat", {WordKind::weekday, 7, true}},

    {"today", {WordKind::relativeDay, 0}},
    {"tomorrow", {WordKind::relativeDay, 1}}, {"tmrw", {WordKind::relativeDay, 1, true}},
    {"tmr", {WordKind::relativeDay, 1, true}}, {"tomo", {WordKind::relativeDay, 1, true}},
    {"yesterday", {WordKind::relativeDay, -1}},
    {"tonight", {WordKind::tonight, 0}},

    {"next", {WordKind::qualifier, 1}}, {"this", {WordKind::qualifier, 0}},
    {"last", {WordKind::qualifier, -1}}, {"coming", {WordKind::qualifier, 0}},

    {"minute", {WordKind::unit, unit(TimeUnit::minute)}}, {"minutes", {WordKind::unit, unit(TimeUnit::minute)}},
    {"min", {WordKind::unit, unit(TimeUnit::minute)}},    {"mins", {WordKind::unit, unit(TimeUnit::minute)}},
    {"hour", {WordKind::unit, unit(TimeUnit::hour)}},     {"hours", {WordKind::unit, unit(TimeUnit::hour)}},
    {"hr", {WordKind::unit, unit(TimeUnit::hour)}},       {"hrs", {WordKind::unit, unit(TimeUnit::hour)}},
    {"day", {WordKind::unit, unit(TimeUnit::day)}},       {"days", {WordKind::unit, unit(TimeUnit::day)}},
    {"week", {WordKind::unit, unit(TimeUnit::week)}},     {"weeks", {WordKind::unit, unit(TimeUnit::week)}},
    {"wk", {WordKind::unit, unit(TimeUnit::week)}},       {"wks", {WordKind::unit, unit(TimeUnit::week)}},
    {"fortnight", {WordKind::unit, unit(TimeUnit::fortnight)}}, {"fortnights", {WordKind::unit, unit(TimeUnit::fortnight)}},
    {"yr", {WordKind::unit, unit(TimeUnit::year)}},       {"yrs", {WordKind::unit, unit(TimeUnit::year)}},
    {"month", {WordKind::unit, unit(TimeUnit::month)}},   {"months", {WordKind::unit, unit(TimeUnit::month)}},
    {"year", {WordKind::unit, unit(TimeUnit::year)}},     {"years", {WordKind::unit, unit(TimeUnit::year)}},

    {"a", {WordKind::count, 1}},     {"an", {WordKind::count, 1}},     {"one", {WordKind::count, 1}},
    {"two", {WordKind::count, 2}},   {"three", {WordKind::count, 3}},  {"four", {WordKind::count, 4}},
    {"five", {WordKind::count, 5}},  {"six", {WordKind::count, 6}},    {"seven", {WordKind::count, 7}},
    {"eight", {WordKind::count, 8}}, {"nine", {WordKind::count, 9}},   {"ten", {WordKind::count, 10}},
    {"eleven", {WordKind::count, 11}}, {"twelve", {WordKind::count, 12}},

    {"am", {WordKind::meridiem, 0}}, {"pm", {WordKind::meridiem, 12}},
    {"noon", {WordKind::clockWord, 12}}, {"midday", {WordKind::clockWord, 12}},
    {"midnight", {WordKind::clockWord, 0}},
    {"morning", {WordKind::partOfDay, 9}}, {"afternoon", {WordKind::partOfDay, 15}},
    {"evening", {WordKind::partOfDay, 18}}, {"night", {WordKind::partOfDay, 20}},
    {"st", {WordKind::ordinal, 0}}, {"nd", {WordKind::ordinal, 0}},
    {"rd", {WordKind::ordinal, 0}}, {"th", {WordKind::ordinal, 0}},

    {"utc", {WordKind::zone, 0}},    {"gmt", {WordKind::zone, 0}},
    {"pt", {WordKind::regionZone, region(ZoneRegion::pacific)}},
    {"pst", {WordKind::regionZone, region(ZoneRegion::pacific)}},
    {"pdt", {WordKind::regionZone, region(ZoneRegion::pacific)}},
    {"mt", {WordKind::regionZone, region(ZoneRegion::mountain)}},
    {"mst", {WordKind::regionZone, region(ZoneRegion::mountain)}},
    {"mdt", {WordKind::regionZone, region(ZoneRegion::mountain)}},
    {"ct", {WordKind::regionZone, region(ZoneRegion::central)}},
    {"cst", {WordKind::regionZone, region(ZoneRegion::central)}},
    {"cdt", {WordKind::regionZone, region(ZoneRegion::central)}},
    {"et", {WordKind::regionZone, region(ZoneRegion::eastern)}},
    {"est", {WordKind::regionZone, region(ZoneRegion::eastern)}},
    {"edt", {WordKind::regionZone, region(ZoneRegion::eastern)}},
    {"cet", {WordKind::regionZone, region(ZoneRegion::centralEurope)}},
    {"cest", {WordKind::regionZone, region(ZoneRegion::centralEurope)}},
    {"weekend", {WordKind::weekend, 7}},
    {"bst", {WordKind::zone, 60}},

    {"at", {WordKind::keyword, keyword(Keyword::at)}},       {"on", {WordKind::keyword, keyword(Keyword::on)}},
    {"of", {WordKind::keyword, keyword(Keyword::of)}},       {"the", {WordKind::keyword, keyword(Keyword::the)}},
    {"in", {WordKind::keyword, keyword(Keyword::in)}},       {"from", {WordKind::keyword, keyword(Keyword::from)}},
    {"now", {WordKind::keyword, keyword(Keyword::now)}},     {"ago", {WordKind::keyword, keyword(Keyword::ago)}},
    {"end", {WordKind::keyword, keyword(Keyword::end)}},     {"after", {WordKind::keyword, keyword(Keyword::after)}},
    {"before", {WordKind::keyword, keyword(Keyword::before)}}, {"by", {WordKind::keyword, keyword(Keyword::by)}},
    {"until", {WordKind::keyword, keyword(Keyword::until)}}, {"till", {WordKind::keyword, keyword(Keyword::till)}},
    {"to", {WordKind::keyword, keyword(Keyword::to)}},       {"through", {WordKind::keyword, keyword(Keyword::through)}},
    {"o", {WordKind::keyword, keyword(Keyword::o)}},         {"clock", {WordKind::keyword, keyword(Keyword::clock)}},
    {"half", {WordKind::keyword, keyword(Keyword::half)}},   {"p", {WordKind::keyword, keyword(Keyword::p)}},
    {"m", {WordKind::keyword, keyword(Keyword::m)}},         {"t", {WordKind::keyword, keyword(Keyword::isoT)}},
    {"z", {WordKind::keyword, keyword(Keyword::isoZ)}},
    {"due", {WordKind::keyword, keyword(Keyword::due)}},
    {"mid", {WordKind::keyword, keyword(Keyword::mid)}},     {"first", {WordKind::keyword, keyword(Keyword::first)}},
    {"thing", {WordKind::keyword, keyword(Keyword::thing)}}, {"thru", {WordKind::keyword, keyword(Keyword::through)}},
    {"exp", {WordKind::keyword, keyword(Keyword::expiry)}},  {"expires", {WordKind::keyword, keyword(Keyword::expiry)}},
    {"expiry", {WordKind::keyword, keyword(Keyword::expiry)}}, {"expiration", {WordKind::keyword, keyword(Keyword::expiry)}},
    {"date", {WordKind::keyword, keyword(Keyword::date)}},   {"valid", {WordKind::keyword, keyword(Keyword::valid)}},
    {"eod", {WordKind::keyword, keyword(Keyword::eod)}},
};
// clang-format on

} // namespace

const WordEntry* lookupWord(std::string_view lowerAscii) {
    static const std::unordered_map<std::string_view, WordEntry> table = [] {
        std::unordered_map<std::string_view, WordEntry> map;
        for (const Row& row : rows)
            map.emplace(row.word, row.entry);
        return map;
    }();
    const auto found = table.find(lowerAscii);
    return found == table.end() ? nullptr : &found->second;
}

} // namespace tessellar::dates

#pragma once

#include <string_view>

namespace tessellar::dates {

// What an English word means to the date grammar.
enum class WordKind : unsigned char {
    month,       // value 1 … 12
    weekday,     // value 1 = Sunday … 7 = Saturday
    relativeDay, // value: days from today (today 0, tomorrow 1, yesterday -1)
    tonight,     // today, in the evening
    qualifier,   // next (1), this (0), last (-1), coming (0)
    unit,        // value: a TimeUnit
    count,       // a spelled number: a, an, one … twelve
    meridiem,    // am (0), pm (12)
    clockWord,   // noon / midday (12), midnight (0)
    partOfDay,   // value: the hour it stands for (morning 9 … night 20)
    ordinal,     // st, nd, rd, th
    zone,        // value: minutes east of UTC
    regionZone,  // value: a ZoneRegion; the region's civil time on the day in question
    weekend,
    keyword, // value: a Keyword
};

enum class TimeUnit : int { minute, hour, day, week, fortnight, month, year };

enum class Keyword : int {
    at,
    on,
    of,
    the,
    in,
    from,
    now,
    ago,
    end,
    after,
    before,
    by,
    until,
    till,
    to,
    through,
    o,     // o'clock
    clock, // o'clock
    half,
    p, // p.m.
    m, // a.m., p.m.
    isoT,
    isoZ,
    due,
    mid,
    first,
    thing,
    expiry, // exp, expires, expiry, expiration
    date,
    valid,
    eod,
};

// Zone abbreviations that name a region rather than one offset: "3pm PST" written in July
// means 3 pm on the Pacific coast, daylight time or not.
enum class ZoneRegion : int { pacific, mountain, central, eastern, centralEurope };
inline constexpr const char* zoneRegionIds[] = {"America/Los_Angeles", "America/Denver", "America/Chicago",
                                                "America/New_York", "Europe/Paris"};

struct WordEntry {
    WordKind kind;
    int value;
    bool abbreviated = false; // "Fri", "Mar": weaker evidence on its own
};

// The entry of a lower-case ASCII word, or nullptr when the grammar does not know it.
const WordEntry* lookupWord(std::string_view lowerAscii);

} // namespace tessellar::dates

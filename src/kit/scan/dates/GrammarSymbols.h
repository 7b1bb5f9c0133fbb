#pragma once

#include "kit/scan/dates/DateLexicon.h"

namespace tessellar::dates {

constexpr char32_t enDash = 0x2013;
constexpr char32_t emDash = 0x2014;
constexpr char32_t minusSign = 0x2212;
constexpr char32_t rightSingleQuote = 0x2019;

constexpr int hourOf12(int hour, bool pm) {
    return hour % 12 + (pm ? 12 : 0);
}

constexpr bool isTimeUnitOfDay(int unit) {
    return unit == static_cast<int>(TimeUnit::minute) || unit == static_cast<int>(TimeUnit::hour);
}

// Weekday positions in a week that starts on Monday (ICU numbers Sunday 1 … Saturday 7).
constexpr int mondayIndex(int weekday) {
    return (weekday + 5) % 7;
}

} // namespace tessellar::dates

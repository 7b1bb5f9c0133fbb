// Formatting caches ICU formatters per locale and zone; item lists and facts are formatted
// from several threads. Run under ThreadSanitizer by `make check-tsan`.
#include "kit/base/Clock.h"
#include "kit/text/Formatting.h"
#include "kit/text/ISO8601.h"
#include "support/ConcurrentCalls.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

// Every formatter over a spread of dates (across years, midnights and the change to daylight
// time) and sizes.
std::vector<std::string> formatEverything() {
    const Timestamp reference = *iso8601::parse("2026-03-11T12:00:00-04:00");
    std::vector<std::string> out;
    for (int day = -400; day <= 400; day += 7) {
        const Timestamp date{reference.unixSeconds + day * 86'400.0 + day * 3'607.0};
        for (const auto& text :
             {Formatting::dayAndTime(date), Formatting::time(date), Formatting::shortDate(date, reference),
              Formatting::relativeDayHeader(date, reference), Formatting::filenameMonth(date),
              Formatting::filenameDay(date),
              Formatting::fileSize(static_cast<std::int64_t>(day + 400) * 123'457)})
            out.push_back(text);
    }
    return out;
}

TEST(FormattingConcurrent, EightThreadsGetTheSingleThreadedTexts) {
    const Clock::ScopedOverride clock(*iso8601::parse("2026-03-11T10:30:00-04:00"));
    const std::vector<std::string> expected = formatEverything();
    for (const auto& result : concurrentResults(formatEverything, 8, 2))
        EXPECT_EQ(result, expected);
}

} // namespace
} // namespace tessellar

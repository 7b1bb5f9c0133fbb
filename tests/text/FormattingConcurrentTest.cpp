// Formatting caches ICU formatters per locale and zone; item lists and facts are formatted
// from several threads. Run under ThreadSanitizer by `make check-tsan`.
#include "kit/base/Clock.h"
#include "kit/text/Formatting.h"
#include "kit/text/ISO8601.h"

#include <gtest/gtest.h>
#include <latch>
#include <thread>

namespace tessellar {
namespace {

constexpr int threadCount = 8;

// Every formatter over a spread of dates (across years, midnights and the change to daylight
// time) and sizes.
std::vector<std::string> formatEverything() {
    const Timestamp reference = *iso8601::parse("2026-03-11T12:00:00-04:00");
    std::vector<std::string> out;
    for (int day = -400; day <= 400; day += 7) {
        const Timestamp date{reference.unixSeconds + day * 86'400.0 + day * 3'607.0};
        out.push_back(Formatting::dayAndTime(date));
        out.push_back(Formatting::time(date));
        out.push_back(Formatting::shortDate(date, reference));
        out.push_back(Formatting::relativeDayHeader(date, reference));
        out.push_back(Formatting::filenameMonth(date));
        out.push_back(Formatting::filenameDay(date));
        out.push_back(Formatting::fileSize(static_cast<std::int64_t>(day + 400) * 123'457));
    }
    return out;
}

TEST(FormattingConcurrent, EightThreadsGetTheSingleThreadedTexts) {
    const Clock::ScopedOverride clock(*iso8601::parse("2026-03-11T10:30:00-04:00"));
    const std::vector<std::string> expected = formatEverything();
    std::vector<std::vector<std::string>> results(threadCount);
    std::latch start(threadCount);
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < threadCount; ++t)
            threads.emplace_back([&, t] {
                start.arrive_and_wait();
                for (int round = 0; round < 2; ++round)
                    results[t] = formatEverything();
            });
    }
    for (int t = 0; t < threadCount; ++t)
        EXPECT_EQ(results[t], expected) << "thread " << t;
}

} // namespace
} // namespace tessellar

#include "kit/text/Formatting.h"

#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"
#include "support/Fixtures.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

using testing::Row;

Timestamp at(const std::string& iso) {
    return iso8601::parse(iso).value();
}

// Runs `format` under the row's environment and clock.
testing::Answer in(std::string (*format)(const Row&)) {
    return [format](const Row& c) {
        std::optional<testing::ScopedEnvironment> environment;
        if (const auto equals = c[1].find('='); equals != std::string::npos)
            environment.emplace(c[1].substr(0, equals), c[1].substr(equals + 1));
        const Clock::ScopedOverride clock(at(c[2]));
        return format(c);
    };
}

TEST(Formatting, FixtureTable) {
    const testing::PinnedZoneAndLocale pinned;
    EXPECT_GE(testing::checkTable(
                  testing::fixture("tables/formatting.tsv"),
                  {{"dayAndTime", in([](const Row& c) { return Formatting::dayAndTime(at(c[3])); })},
                   {"time", in([](const Row& c) { return Formatting::time(at(c[3])); })},
                   {"shortDate", in([](const Row& c) { return Formatting::shortDate(at(c[3]), at(c[4])); })},
                   {"dayHeader",
                    in([](const Row& c) { return Formatting::relativeDayHeader(at(c[3]), at(c[4])); })},
                   {"filenameMonth", in([](const Row& c) { return Formatting::filenameMonth(at(c[3])); })},
                   {"filenameDay", in([](const Row& c) { return Formatting::filenameDay(at(c[3])); })},
                   {"fileSize", in([](const Row& c) { return Formatting::fileSize(std::stoll(c[3])); })}}),
              48);
}

} // namespace
} // namespace tessellar

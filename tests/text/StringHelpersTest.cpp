#include "kit/text/StringHelpers.h"

#include "kit/text/Splitting.h"
#include "kit/text/Unicode.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

using testing::Row;
using testing::shown;

TEST(StringHelpers, FixtureTable) {
    const auto lines = [](const Row& c) {
        const auto breaks = c[2] == "lineFeed"            ? LineBreaks::lineFeed
                            : c[2] == "lineFeedCharacter" ? LineBreaks::lineFeedCharacter
                                                          : LineBreaks::anyNewline;
        std::string out;
        for (const auto line : splitLines(c[1], breaks))
            out += "[" + std::string(line) + "]";
        return out;
    };
    const int rows = testing::checkTable(
        testing::fixture("tables/string-helpers.tsv"),
        {{"trimmed", [](const Row& c) { return trimmed(c[1]); }},
         {"normalized", [](const Row& c) { return normalizedWhitespace(c[1]); }},
         {"blank", [](const Row& c) { return shown(isBlank(c[1])); }},
         {"truncated", [](const Row& c) { return truncated(c[1], std::stoul(c[2])); }},
         {"truncatedWith", [](const Row& c) { return truncated(c[1], std::stoul(c[2]), c[3]); }},
         {"firstLine", [](const Row& c) { return shown(firstMeaningfulLine(c[1])); }},
         {"lineCount", [](const Row& c) { return std::to_string(lineCount(c[1])); }},
         {"splitLines", lines},
         {"splitFileName",
          [](const Row& c) {
              const auto parts = splitFileName(c[1]);
              return std::string(parts.stem) + "|" + std::string(parts.extension);
          }},
         {"contains", [](const Row& c) { return shown(containsCaseInsensitive(c[1], c[2])); }},
         {"slugified", [](const Row& c) { return slugified(c[1]); }},
         {"utf16Length", [](const Row& c) { return std::to_string(unicode::utf16Length(c[1])); }}});
    EXPECT_GE(rows, 60);
}

} // namespace
} // namespace tessellar

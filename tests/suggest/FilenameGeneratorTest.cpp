#include "kit/suggest/FilenameGenerator.h"

#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tessellar {
namespace {

class FilenameGeneratorTest : public ::testing::Test {
    Clock::ScopedOverride clock{*iso8601::parse("2026-03-10T16:00:00Z")};
};

void touch(const std::filesystem::path& path) {
    std::ofstream(path) << "x";
}

// The request of a table row: current name, content type, facts ("key=value;…"), text.
FilenameGenerator::Suggestion suggested(const testing::Row& c) {
    ItemMetadata facts;
    for (std::size_t from = 0, end = 0; c[3] != "-" && end != std::string::npos; from = end + 1) {
        const std::string fact = c[3].substr(from, (end = c[3].find(';', from)) - from);
        facts.set(fact.substr(0, fact.find('=')), fact.substr(fact.find('=') + 1));
    }
    return FilenameGenerator::suggestion({c[1], c[4], content_type::fromRaw(c[2]).value(), facts});
}

TEST_F(FilenameGeneratorTest, FixtureTable) {
    using testing::Row;
    using testing::shown;
    EXPECT_GE(
        testing::checkTable(
            testing::fixture("tables/filenames.tsv"),
            {{"suggest",
              [](const Row& c) {
                  const auto s = suggested(c);
                  return s.filename + "|" + s.rationale + "|" + shown(s.isImprovement);
              }},
             {"filename", [](const Row& c) { return suggested(c).filename; }},
             {"sanitize", [](const Row& c) { return FilenameGenerator::sanitize(c[1], c[2]); }},
             {"keyPhrase",
              [](const Row& c) { return shown(FilenameGenerator::keyPhrase(c[1], std::stoul(c[2]))); }},
             {"documentKind", [](const Row& c) { return shown(FilenameGenerator::documentKind(c[1])); }}}),
        38);
    EXPECT_EQ(FilenameGenerator::keyPhrase(std::nullopt, 5), std::nullopt);
}

TEST(FilenameGenerator, UniqueURLCountsUpFromTwo) {
    testing::TempDir dir;
    EXPECT_EQ(FilenameGenerator::uniqueURL("report.pdf", dir.path()), dir / "report.pdf");
    touch(dir / "report.pdf");
    touch(dir / "report-2.pdf");
    EXPECT_EQ(FilenameGenerator::uniqueURL("report.pdf", dir.path()), dir / "report-3.pdf");
    touch(dir / "report");
    EXPECT_EQ(FilenameGenerator::uniqueURL("report", dir.path()), dir / "report-2");
}

TEST(FilenameGenerator, UniqueURLGivesUpAt99WithoutChecking) {
    testing::TempDir dir;
    touch(dir / "a.txt");
    for (int n = 2; n <= 99; ++n)
        touch(dir / ("a-" + std::to_string(n) + ".txt"));
    EXPECT_EQ(FilenameGenerator::uniqueURL("a.txt", dir.path()), dir / "a-99.txt");
    std::filesystem::remove(dir / "a-98.txt");
    EXPECT_EQ(FilenameGenerator::uniqueURL("a.txt", dir.path()), dir / "a-98.txt");
}

} // namespace
} // namespace tessellar

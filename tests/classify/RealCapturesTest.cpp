// Realistic captures from everyday sources (bills, receipts, travel mail, tool output,
// addresses, reminders, developer snippets) and what the rules make of them.
#include "kit/base/Clock.h"
#include "kit/classify/RuleBasedClassifier.h"
#include "kit/text/ISO8601.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>

namespace tessellar {
namespace {

struct Capture {
    std::string name;
    std::string text;
    ContentType type = ContentType::unknown;
    std::optional<std::string> title;
    std::map<std::string, std::string> facts;  // key -> value, each must be present
    std::map<std::string, std::string> hidden; // key -> value, each must be present
    std::optional<std::string> headline;
    std::optional<std::string> file; // a dropped file of that name (with this text)
    std::optional<std::string> mime;
};

std::optional<std::string> optionalString(const nlohmann::json& row, const char* key) {
    return row.contains(key) ? std::optional(row[key].get<std::string>()) : std::nullopt;
}

// The corpus lives in a data file so captures can be added without touching code.
const std::vector<Capture>& captures() {
    static const std::vector<Capture> rows = [] {
        std::ifstream file(std::string(TESSELLAR_FIXTURES_DIR) + "/real-captures.json");
        const auto json = nlohmann::json::parse(file);
        std::vector<Capture> out;
        for (const auto& row : json) {
            Capture c;
            c.name = row.at("name").get<std::string>();
            c.text = row.at("text").get<std::string>();
            c.type = content_type::fromRaw(row.at("type").get<std::string>()).value();
            c.title = optionalString(row, "title");
            c.headline = optionalString(row, "headline");
            c.file = optionalString(row, "file");
            c.mime = optionalString(row, "mime");
            c.facts = row.value("facts", std::map<std::string, std::string>{});
            c.hidden = row.value("hidden", std::map<std::string, std::string>{});
            out.push_back(std::move(c));
        }
        return out;
    }();
    return rows;
}

class RealCaptures : public ::testing::TestWithParam<std::size_t> {
protected:
    // Tuesday 10 March 2026, noon in New York.
    Clock::ScopedOverride clock{*iso8601::parse("2026-03-10T16:00:00Z")};
};

TEST_P(RealCaptures, AreRecognisedWithTheirKeyFacts) {
    const Capture& capture = captures()[GetParam()];
    SCOPED_TRACE(capture.name);
    ClassificationInput input;
    input.text = capture.text;
    if (capture.file) {
        input.fileURL = Url::fromFilePath("/home/ana/Downloads/" + *capture.file);
        input.filename = capture.file;
        input.typeIdentifier = capture.mime;
        input.source = SourceType::drop;
    }
    const auto result = RuleBasedClassifier().classify(input);
    ASSERT_TRUE(result);
    EXPECT_EQ(content_type::rawValue(result->contentType), content_type::rawValue(capture.type));
    if (capture.title) {
        EXPECT_EQ(result->title, *capture.title);
    }
    if (capture.headline) {
        EXPECT_EQ(result->headline, capture.headline);
    }
    for (const auto& [key, value] : capture.facts)
        EXPECT_EQ(result->metadata[key], value) << key;
    for (const auto& [key, value] : capture.hidden) {
        const auto found = result->metadata.hidden.find(key);
        EXPECT_EQ(found == result->metadata.hidden.end() ? "(none)" : found->second, value) << key;
    }
    EXPECT_EQ(result->source, ClassificationSource::rules);
}

INSTANTIATE_TEST_SUITE_P(Table, RealCaptures, ::testing::Range<std::size_t>(0, captures().size()),
                         [](const auto& info) {
                             std::string name;
                             for (const char c : captures()[info.param].name)
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

} // namespace
} // namespace tessellar

#include "Captures.h"
#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"

#include <gtest/gtest.h>
#include <map>

namespace tessellar {
namespace {

using testing::captures;

class RealCaptures : public ::testing::TestWithParam<std::size_t> {
protected:
    // Tuesday 10 March 2026, noon in New York.
    Clock::ScopedOverride clock{*iso8601::parse("2026-03-10T16:00:00Z")};
};

// Beside "type", each of "title", "headline", "confidence" and "actions" is checked when given;
// "facts" and "hidden" give values that must be present, "factList" every fact as
// [key, label, value, primary].
TEST_P(RealCaptures, AreRecognisedWithTheirKeyFacts) {
    const auto& row = captures()[GetParam()].row;
    const auto result = RuleBasedClassifier().classify(captures()[GetParam()].input());
    ASSERT_TRUE(result);
    EXPECT_EQ(content_type::rawValue(result->contentType), row.at("type").get<std::string>());
    EXPECT_EQ(result->title, row.value("title", result->title));
    if (row.contains("headline")) { // null: none
        EXPECT_EQ(result->headline.value_or("(none)"),
                  row["headline"].is_null() ? "(none)" : row["headline"]);
    }
    EXPECT_EQ(result->confidence, row.value("confidence", result->confidence));
    for (const auto& [key, value] : row.value("facts", std::map<std::string, std::string>{}))
        EXPECT_EQ(result->metadata[key], value) << key;
    const auto& hidden = result->metadata.hidden;
    for (const auto& [key, value] : row.value("hidden", std::map<std::string, std::string>{}))
        EXPECT_EQ(hidden.contains(key) ? hidden.at(key) : "(none)", value) << key;
    if (row.contains("factList")) {
        nlohmann::json facts = nlohmann::json::array();
        for (const auto& f : result->metadata.facts)
            facts.push_back(
                {f.key, f.label ? nlohmann::json(*f.label) : nlohmann::json(), f.value, f.isPrimary});
        EXPECT_EQ(facts, row["factList"]);
    }
    if (row.contains("actions")) {
        std::vector<std::string> actions;
        for (const auto& id : result->recommendedActionIDs)
            actions.push_back(id.rawValue);
        EXPECT_EQ(actions, row["actions"].get<std::vector<std::string>>());
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

#include "kit/intelligence/CompositeClassifier.h"

#include "kit/intelligence/MockIntelligenceProvider.h"
#include "kit/intelligence/OpenAICompatibleProvider.h"
#include "support/LogCapture.h"
#include "support/ScriptedHttpServer.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tessellar {
namespace {

using nlohmann::json;
using testing::ScriptedHttpServer;

const std::string plainText = "Remember to water the plants on the balcony";

ClassificationInput textInput(std::optional<std::string> text) {
    return {std::move(text), {}, {}, {}, {}, false, SourceType::typed};
}

std::string classificationReply(const json& object) {
    return testing::chatReply(object.dump());
}

struct Harness {
    ScriptedHttpServer server;
    bool allowed = true;
    std::vector<AnalysisStage> stages;

    CompositeClassifier classifier(std::shared_ptr<const IntelligenceProvider> provider = nullptr) {
        CompositeClassifier composite;
        composite.provider =
            provider ? provider
                     : std::make_shared<OpenAICompatibleProvider>(OpenAICompatibleProvider::Configuration{
                           *Url::parse(server.url("/v1")), "tiny-model", "sk", 2});
        composite.knownActionIDs = {ActionID::copy, ActionID::summarize};
        composite.isAIAllowed = [this] { return allowed; };
        composite.onStage = [this](const AnalysisStage& stage) { stages.push_back(stage); };
        return composite;
    }
};

TEST(CompositeClassifier, SureRulesAndMissingConsentNeverReachTheProvider) {
    Harness h;
    h.server.respond(200,
                     classificationReply({{"contentType", "event"}, {"title", "AI"}, {"confidence", 0.9}}));
    const auto composite = h.classifier();
    const auto json = textInput(R"({"name": "Ann", "age": 3})");
    EXPECT_EQ(composite.classify(json), RuleBasedClassifier().classify(json));

    h.allowed = false;
    EXPECT_EQ(composite.classify(textInput(plainText)), RuleBasedClassifier().classify(textInput(plainText)));

    // A document without text (confidence 0.5) has nothing to send.
    h.allowed = true;
    const auto pdf = composite.classify({"  \n", Url::fromFilePath("/tmp/notes.pdf"), "notes.pdf",
                                         "application/pdf", std::nullopt, false, SourceType::typed});
    ASSERT_TRUE(pdf);
    EXPECT_LT(pdf->confidence, 0.7);
    EXPECT_EQ(pdf->source, ClassificationSource::rules);

    EXPECT_TRUE(h.stages.empty());
    EXPECT_TRUE(h.server.requests().empty());
}

TEST(CompositeClassifier, AConfidentReplyWinsAndKeepsTheRulesFacts) {
    Harness h;
    const auto composite = h.classifier();
    const auto rules = RuleBasedClassifier().classify(textInput(plainText));
    ASSERT_TRUE(rules && rules->confidence < 0.7);

    h.server.respond(200, classificationReply({{"contentType", "event"},
                                               {"title", "Water the plants"},
                                               {"confidence", 0.9},
                                               {"metadata", {{"date", "Tomorrow"}}},
                                               {"recommendedActions", {"copy", "bogus"}}}));
    const auto mixed = composite.classify(textInput(plainText));
    ASSERT_TRUE(mixed);
    EXPECT_EQ(mixed->source, ClassificationSource::mixed);
    EXPECT_EQ(mixed->title, "Water the plants");
    EXPECT_EQ(mixed->recommendedActionIDs, std::vector<ActionID>{ActionID::copy});
    ASSERT_FALSE(mixed->metadata.facts.empty());
    EXPECT_EQ(mixed->metadata.facts.front().key, "date");
    EXPECT_EQ(mixed->metadata.facts.size(), 1 + rules->metadata.facts.size());
    EXPECT_TRUE(mixed->metadata.hidden.empty());
    ASSERT_EQ(h.stages.size(), 1u);
    EXPECT_EQ(h.stages.front(), AnalysisStage::askingAI("AI provider (tiny-model)"));

    // Equal confidence keeps the rules' answer untouched.
    h.server.respond(200, classificationReply(
                              {{"contentType", "event"}, {"title", "T"}, {"confidence", rules->confidence}}));
    EXPECT_EQ(composite.classify(textInput(plainText)), rules);

    // An unusable reply keeps it too.
    h.server.respond(200, classificationReply(json::object()));
    EXPECT_EQ(composite.classify(textInput(plainText)), rules);
    EXPECT_EQ(h.server.requests().size(), 3u);
}

TEST(CompositeClassifier, ProviderFailuresFallBackAndAreLoggedOnce) {
    Harness h;
    h.server.script(json::array({{{"silent", true}}}));
    testing::LogCapture log;
    const auto rules = RuleBasedClassifier().classify(textInput(plainText));
    EXPECT_EQ(h.classifier().classify(textInput(plainText)), rules);
    EXPECT_TRUE(
        log.contains(Log::Category::intelligence, Log::Level::error,
                     "AI classification failed: The AI provider didn\u2019t respond within 2 seconds."));
    EXPECT_EQ(std::ranges::count_if(
                  log.records(),
                  [](const auto& record) { return record.message.starts_with("AI classification failed"); }),
              1);
}

TEST(CompositeClassifier, TheOnDeviceProviderNeedsNoConsent) {
    Harness h;
    h.allowed = false;
    const auto composite = h.classifier(std::make_shared<MockIntelligenceProvider>());
    const auto result = composite.classify(textInput(plainText));
    ASSERT_TRUE(result);
    ASSERT_EQ(h.stages.size(), 1u);
    EXPECT_EQ(h.stages.front().providerName, "On-device (no key)");
    // The rules answer twice with the same confidence, so the rule-based result stands.
    EXPECT_EQ(result->source, ClassificationSource::rules);
}

} // namespace
} // namespace tessellar

#include "kit/intelligence/MockIntelligenceProvider.h"

#include "kit/model/TessellarError.h"
#include "kit/suggest/FilenameGenerator.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>
#include <thread>

namespace tessellar {
namespace {

const std::string longA = "The first sentence is long enough to survive";
const std::string longB = "The second sentence is also long enough here";
const std::string longC = "A third sentence that clears the length bar";

TEST(MockIntelligenceProvider, SummarisesByLongSentencesAndAnswersWithTheNotice) {
    const MockIntelligenceProvider provider;
    EXPECT_EQ(provider.summarize("Hi.   Ok.", SummaryStyle::bullets), "Hi. Ok.");
    EXPECT_EQ(provider.summarize("Hi.\n\nOk.", SummaryStyle::oneLine), "Hi. Ok.");

    const std::string three = longA + ". " + longB + "!\n" + longC + ".";
    EXPECT_EQ(provider.summarize(three, SummaryStyle::bullets),
              "\u2022 " + longA + "\n\u2022 " + longB + "\n\u2022 " + longC);
    EXPECT_EQ(provider.summarize(three, SummaryStyle::oneLine), longA);

    std::string six;
    for (int i = 1; i <= 6; ++i)
        six += "Sentence number " + std::to_string(i) + " is long enough to count. ";
    EXPECT_EQ(
        provider.summarize(six, SummaryStyle::bullets),
        "\u2022 Sentence number 1 is long enough to count\n\u2022 Sentence number 2 is long enough to count\n"
        "\u2022 Sentence number 3 is long enough to count\n\u2022 Sentence number 4 is long enough to count");

    const std::string words = testing::repeated("abcd ", 60);
    const std::string bullet = provider.summarize(words + ".", SummaryStyle::bullets);
    EXPECT_EQ(bullet, "\u2022 " + words.substr(0, 139) + "\u2026");
    // Without any long sentence the whole text is cut to 240 characters, without a bullet.
    EXPECT_EQ(provider.summarize(testing::repeated("Tiny.\n", 60), SummaryStyle::bullets),
              testing::repeated("Tiny. ", 40).substr(0, 239) + "\u2026");

    // An answer is the notice and a summary.
    EXPECT_EQ(
        provider.answer("Why?", longA + "."),
        "On-device mode can\u2019t answer questions yet \u2014 it only extracts and summarizes. Add an AI "
        "provider in Settings to ask about this content.\n\n\u2022 " +
            longA);
}

TEST(MockIntelligenceProvider, IsAlwaysReadyOnDeviceAndClassifiesByRulesOrFallsBack) {
    const MockIntelligenceProvider provider;
    EXPECT_FALSE(provider.sendsDataOffDevice());
    EXPECT_TRUE(provider.isConfigured());
    EXPECT_NO_THROW(provider.testConnection());
    EXPECT_EQ(provider.classify({"  ", std::nullopt, std::nullopt, ContentType::invoice}),
              (AIClassification{"unknown", "Content", std::nullopt, 0.3, {}, {}}));

    const auto json =
        provider.classify({R"({"name": "Ann", "age": 3})", std::nullopt, std::nullopt, std::nullopt});
    EXPECT_EQ(json.contentType, "json");
    EXPECT_GE(json.confidence, 0.9);
    EXPECT_FALSE(json.recommendedActions.empty());

    const FilenameRequest request{"scan.pdf", "Invoice from ACME", ContentType::invoice, {}};
    EXPECT_EQ(provider.smartFilename(request), FilenameGenerator::suggestion(request).filename);
}

TEST(MockIntelligenceProvider, CancellingTheArtificialDelayCancelsTheOperation) {
    const MockIntelligenceProvider provider(std::chrono::hours(1));
    std::stop_source source;
    std::thread canceller([&] { source.request_stop(); });
    EXPECT_THROW(provider.summarize("text", SummaryStyle::bullets, source.get_token()), Cancelled);
    canceller.join();
}

} // namespace
} // namespace tessellar

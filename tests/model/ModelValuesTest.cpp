#include "kit/model/AnalysisStage.h"
#include "kit/model/CapturedContent.h"
#include "kit/model/Classification.h"
#include "kit/model/ContentType.h"
#include "kit/model/SourceType.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

TEST(ModelValues, FixtureTable) {
    using testing::Row;
    for (const ContentType type : content_type::allCases())
        EXPECT_EQ(content_type::fromRaw(content_type::rawValue(type)), type) << content_type::rawValue(type);
    const auto contentType = [](const Row& c) {
        const auto type = content_type::fromRaw(c[1]);
        return type ? std::string(content_type::displayName(*type)) : "-";
    };
    const auto source = [](const Row& c) {
        const auto type = source_type::fromRaw(c[1]);
        return type ? std::string(source_type::displayName(*type)) : "-";
    };
    const auto classification = [](const Row& c) {
        const auto source = classification_source::fromRaw(c[1]);
        return source ? std::string(classification_source::displayName(*source)) + "|" +
                            testing::shown(classification_source::leftTheMac(*source))
                      : "-";
    };
    const auto confidence = [](const Row& c) {
        return testing::shown(
            Classification(ContentType::url, "t", std::nullopt, std::stod(c[1])).confidence);
    };
    EXPECT_GE(
        testing::checkTable(testing::fixture("tables/model-values.tsv"), {{"contentType", contentType},
                                                                          {"source", source},
                                                                          {"classification", classification},
                                                                          {"confidence", confidence}}),
        19);
}

TEST(CapturedContent, EmptinessIgnoresBlankTextButNotAnyImage) {
    EXPECT_TRUE(CapturedContent{}.isEmpty());
    EXPECT_TRUE((CapturedContent{SourceType::typed, " \n\t ", {}, {}, {}, {}, {}}.isEmpty()));
    EXPECT_FALSE(
        (CapturedContent{SourceType::typed, {}, {}, {}, std::vector<std::uint8_t>{}, {}, {}}.isEmpty()));
    EXPECT_FALSE((
        CapturedContent{SourceType::typed, {}, Url::parse("https://example.com"), {}, {}, {}, {}}.isEmpty()));
    // A name without content is still nothing.
    EXPECT_TRUE((CapturedContent{SourceType::typed, {}, {}, {}, {}, "image/png", "a.png"}.isEmpty()));
}

TEST(AnalysisStage, MessagesUseTheSingleCharacterEllipsis) {
    EXPECT_EQ(AnalysisStage::receiving().message(), "Receiving\u2026");
    EXPECT_EQ(AnalysisStage::readingDocument().message(), "Reading document\u2026");
    EXPECT_EQ(AnalysisStage::extractingText().message(), "Extracting text\u2026");
    EXPECT_EQ(AnalysisStage::recognizing().message(), "Recognizing content\u2026");
    EXPECT_EQ(AnalysisStage::findingActions().message(), "Finding useful actions\u2026");
    EXPECT_EQ(AnalysisStage::askingAI("Ollama").message(), "Asking Ollama\u2026");
}

} // namespace
} // namespace tessellar

#include "kit/model/AnalysisStage.h"
#include "kit/model/CapturedContent.h"
#include "kit/model/Classification.h"
#include "kit/model/ContentType.h"
#include "kit/model/SourceType.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>
#include <sstream>

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
        std::ostringstream out;
        out << Classification(ContentType::url, "t", std::nullopt, std::stod(c[1])).confidence;
        return out.str();
    };
    EXPECT_GE(
        testing::checkTable(testing::fixture("tables/model-values.tsv"), {{"contentType", contentType},
                                                                          {"source", source},
                                                                          {"classification", classification},
                                                                          {"confidence", confidence}}),
        19);
}

TEST(CapturedContent, EmptinessIgnoresBlankTextButNotAnyImage) {
    CapturedContent blank;
    blank.text = " \n\t ";
    EXPECT_TRUE(blank.isEmpty());
    EXPECT_TRUE(CapturedContent{}.isEmpty());

    CapturedContent image;
    image.imageData = std::vector<std::uint8_t>{};
    EXPECT_FALSE(image.isEmpty());

    CapturedContent link;
    link.webURL = Url::parse("https://example.com");
    EXPECT_FALSE(link.isEmpty());

    CapturedContent named;
    named.suggestedName = "a.png";
    named.typeIdentifier = "image/png";
    EXPECT_TRUE(named.isEmpty()); // a name without content is still nothing
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

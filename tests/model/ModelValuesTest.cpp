#include "kit/model/AnalysisStage.h"
#include "kit/model/CapturedContent.h"
#include "kit/model/Classification.h"
#include "kit/model/ContentType.h"
#include "kit/model/SourceType.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tessellar {
namespace {

TEST(ContentType, RawValuesRoundTripExactlyAndCaseSensitively) {
    for (const ContentType type : content_type::allCases())
        EXPECT_EQ(content_type::fromRaw(content_type::rawValue(type)), type) << content_type::rawValue(type);
    EXPECT_EQ(content_type::displayName(ContentType::travel), "Flight");
    EXPECT_EQ(content_type::displayName(ContentType::unknown), "Unrecognized");
    for (const char* raw : {"spreadsheet", "PDF", "plaintext", " url", ""})
        EXPECT_FALSE(content_type::fromRaw(raw)) << raw;
}

TEST(SourceAndClassificationSource, RawValuesDisplayNamesAndLeavingTheMachine) {
    EXPECT_EQ(source_type::displayName(SourceType::drop), "Dropped");
    EXPECT_EQ(source_type::displayName(SourceType::clipboard), "Clipboard");
    EXPECT_EQ(source_type::displayName(SourceType::typed), "Typed");
    EXPECT_EQ(source_type::fromRaw("clipboard"), SourceType::clipboard);
    EXPECT_FALSE(source_type::fromRaw("Drop"));

    EXPECT_EQ(classification_source::displayName(ClassificationSource::rules), "Recognized on this Mac");
    EXPECT_EQ(classification_source::displayName(ClassificationSource::intelligence), "Recognized by AI");
    EXPECT_EQ(classification_source::displayName(ClassificationSource::mixed),
              "Recognized on this Mac, refined by AI");
    EXPECT_FALSE(classification_source::leftTheMac(ClassificationSource::rules));
    EXPECT_TRUE(classification_source::leftTheMac(ClassificationSource::intelligence));
    EXPECT_TRUE(classification_source::leftTheMac(ClassificationSource::mixed));
    EXPECT_EQ(classification_source::fromRaw("mixed"), ClassificationSource::mixed);
    EXPECT_FALSE(classification_source::fromRaw("ai"));
}

TEST(Classification, ConfidenceIsClampedOnCreation) {
    EXPECT_EQ(Classification(ContentType::url, "t", std::nullopt, 1.7).confidence, 1.0);
    EXPECT_EQ(Classification(ContentType::url, "t", std::nullopt, -0.2).confidence, 0.0);
    EXPECT_EQ(Classification(ContentType::url, "t", std::nullopt, 0.55).confidence, 0.55);
    EXPECT_EQ(Classification(ContentType::url, "t", std::nullopt, std::nan("")).confidence, 0.0);
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

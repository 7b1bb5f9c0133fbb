// What the rules make of everyday captures is in fixtures/real-captures.json (RealCapturesTest);
// these are the cases a capture row cannot describe.
#include "kit/classify/RuleBasedClassifier.h"

#include "kit/base/Clock.h"
#include "kit/classify/ClassificationRules.h"
#include "kit/text/ISO8601.h"

#include <gtest/gtest.h>
#include <random>

namespace tessellar {
namespace {

class RuleBasedClassifierTest : public ::testing::Test {
protected:
    std::optional<Classification> text(std::string value) {
        return RuleBasedClassifier().classify({std::move(value), {}, {}, {}, {}, false, SourceType::typed});
    }

    Classification file(std::optional<std::string> path, std::optional<std::string> type, std::string value,
                        bool hasImage = false, std::optional<std::string> filename = std::nullopt) {
        ClassificationInput input;
        if (path)
            input.fileURL = Url::fromFilePath(*path);
        input.typeIdentifier = std::move(type);
        input.text = std::move(value);
        input.hasImage = hasImage;
        input.filename = std::move(filename);
        input.source = SourceType::drop;
        const auto result = RuleBasedClassifier().classify(input);
        EXPECT_TRUE(result) << "the container rules always answer";
        return result.value_or(Classification{});
    }

    // Tuesday 10 March 2026, noon in New York.
    Clock::ScopedOverride clock{*iso8601::parse("2026-03-10T16:00:00Z")};
};

TEST_F(RuleBasedClassifierTest, BlankOrAbsentTextHasNoOpinion) {
    EXPECT_FALSE(text(" \n\t "));
    EXPECT_FALSE(RuleBasedClassifier().classify(ClassificationInput{}));
}

TEST_F(RuleBasedClassifierTest, AFlightWithNothingToNameItByIsTitledFlightOrByItsFile) {
    TravelDetector::Flight empty;
    empty.confidence = 0.6;
    EXPECT_EQ(ClassificationRules::flight(empty, std::nullopt).title, "Flight");
    EXPECT_TRUE(ClassificationRules::flight(empty, std::nullopt).metadata.isEmpty());
    EXPECT_EQ(ClassificationRules::flight(empty, "trip.pdf").title, "trip.pdf");
}

TEST_F(RuleBasedClassifierTest, ImagesWithoutAFileAndScreenshotNames) {
    const auto blank = file(std::nullopt, "image/tiff", "", true);
    EXPECT_EQ(blank.title, "Untitled");
    EXPECT_EQ(blank.contentType, ContentType::image);
    for (const char* name : {"CleanShot 2026-01-02.png", "Screen Shot 2019-05-04.png", "my-SCREENSHOT.png"})
        EXPECT_TRUE(RuleBasedClassifier::looksLikeScreenshot(name)) << name;
    EXPECT_FALSE(RuleBasedClassifier::looksLikeScreenshot("screen-shot.png"));
}

TEST_F(RuleBasedClassifierTest, ReadableTextRaisesADocumentsConfidenceAndTheNameCanBeGiven) {
    const auto pdf = file("/home/ana/Downloads/REPORT.PDF", std::nullopt, "");
    const auto withText = file("/home/ana/notes.txt", "text/plain", "\n\nMinutes of the board meeting\n...");
    EXPECT_GT(withText.confidence, pdf.confidence);
    EXPECT_EQ(withText.metadata["excerpt"], "Minutes of the board meeting");
    EXPECT_EQ(file("/home/ana/a.pdf", "", "", false, "Quarterly.pdf").title, "Quarterly.pdf");
}

TEST_F(RuleBasedClassifierTest, AnyTextGivesAnAnswerWithoutThrowing) {
    std::mt19937 random(7);
    std::string junk(64 * 1024, '\0');
    for (auto& c : junk)
        c = static_cast<char>(random() & 0xFF);
    EXPECT_NO_THROW(text(junk));
    EXPECT_NO_THROW(file("/tmp/junk.bin", std::nullopt, junk));

    std::string big;
    while (big.size() < 5'000'000)
        big += "Quarterly planning notes: budget, hiring and the launch. ";
    const auto c = text(big);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->contentType, ContentType::plainText);
    EXPECT_TRUE(c->metadata["excerpt"]->ends_with("\u2026"));
}

} // namespace
} // namespace tessellar

#include "kit/model/ActionID.h"
#include "kit/model/AnalysisStage.h"
#include "kit/model/CapturedContent.h"
#include "kit/model/Classification.h"
#include "kit/model/ContentType.h"
#include "kit/model/SourceType.h"

#include <cmath>
#include <gtest/gtest.h>
#include <unordered_set>

namespace tessellar {
namespace {

TEST(ContentType, TableInDeclarationOrder) {
    struct Row {
        std::string raw, display, symbol;
    };
    const std::vector<Row> expected{
        {"plainText", "Text", "text.alignleft"},
        {"url", "Website", "globe"},
        {"address", "Address", "mappin.and.ellipse"},
        {"date", "Date", "calendar"},
        {"emailAddress", "Email Address", "envelope"},
        {"phoneNumber", "Phone Number", "phone"},
        {"code", "Code", "chevron.left.forwardslash.chevron.right"},
        {"jwt", "JWT", "key"},
        {"json", "JSON", "curlybraces"},
        {"timestamp", "Unix Timestamp", "clock"},
        {"image", "Image", "photo"},
        {"screenshot", "Screenshot", "rectangle.dashed"},
        {"pdf", "PDF", "doc.richtext"},
        {"document", "Document", "doc.text"},
        {"invoice", "Invoice", "doc.text.below.ecg"},
        {"receipt", "Receipt", "receipt"},
        {"travel", "Flight", "airplane"},
        {"event", "Event", "calendar.badge.plus"},
        {"product", "Product", "bag"},
        {"unknown", "Unrecognized", "questionmark.square.dashed"},
    };
    const auto all = content_type::allCases();
    ASSERT_EQ(all.size(), expected.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(content_type::rawValue(all[i]), expected[i].raw);
        EXPECT_EQ(content_type::displayName(all[i]), expected[i].display);
        EXPECT_EQ(content_type::symbolName(all[i]), expected[i].symbol);
        EXPECT_EQ(content_type::fromRaw(expected[i].raw), all[i]);
    }
}

TEST(ContentType, RawValuesAreExactAndCaseSensitive) {
    EXPECT_FALSE(content_type::fromRaw("spreadsheet"));
    EXPECT_FALSE(content_type::fromRaw("PDF"));
    EXPECT_FALSE(content_type::fromRaw("plaintext"));
    EXPECT_FALSE(content_type::fromRaw(" url"));
    EXPECT_FALSE(content_type::fromRaw(""));
}

TEST(ContentType, Predicates) {
    for (auto type : content_type::allCases()) {
        const bool visual = type == ContentType::image || type == ContentType::screenshot;
        const bool document = type == ContentType::pdf || type == ContentType::document ||
                              type == ContentType::invoice || type == ContentType::receipt;
        EXPECT_EQ(content_type::isVisual(type), visual) << content_type::rawValue(type);
        EXPECT_EQ(content_type::isTextBearingDocument(type), document) << content_type::rawValue(type);
    }
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
    EXPECT_EQ(Classification(ContentType::url, "t", std::nullopt, 1.0).confidence, 1.0);
    EXPECT_EQ(Classification(ContentType::url, "t", std::nullopt, std::nan("")).confidence, 0.0);
}

TEST(Classification, ComparesFieldByField) {
    const Classification a(ContentType::json, "JSON", "3 keys", 0.9, {}, {ActionID("formatJSON")});
    Classification b = a;
    EXPECT_EQ(a, b);
    b.recommendedActionIDs.push_back(ActionID("copyText"));
    EXPECT_NE(a, b);
    b = a;
    b.source = ClassificationSource::mixed;
    EXPECT_NE(a, b);
}

TEST(CapturedContent, EmptinessIgnoresBlankTextButNotAnyImage) {
    CapturedContent blank;
    blank.text = " \n\t ";
    EXPECT_TRUE(blank.isEmpty());
    EXPECT_TRUE(CapturedContent{}.isEmpty());

    CapturedContent image;
    image.imageData = std::vector<std::uint8_t>{};
    EXPECT_FALSE(image.isEmpty());

    CapturedContent text;
    text.text = " x ";
    EXPECT_FALSE(text.isEmpty());

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

TEST(AnalysisStage, ComparesByCaseAndProviderName) {
    EXPECT_EQ(AnalysisStage::askingAI("A"), AnalysisStage::askingAI("A"));
    EXPECT_NE(AnalysisStage::askingAI("A"), AnalysisStage::askingAI("B"));
    EXPECT_NE(AnalysisStage::receiving(), AnalysisStage::recognizing());
    EXPECT_EQ(AnalysisStage::recognizing(), AnalysisStage::recognizing());
}

TEST(ActionID, ComparesAndHashesByRawValue) {
    std::unordered_set<ActionID> set{ActionID("copyText"), ActionID("copyText"), ActionID("openURL")};
    EXPECT_EQ(set.size(), 2u);
    EXPECT_LT(ActionID("a"), ActionID("b"));
}

TEST(ActionID, BuiltInConstantsAreTheirOwnNames) {
    EXPECT_EQ(ActionID::copy.rawValue, "copy");
    EXPECT_EQ(ActionID::createCalendarEvent.rawValue, "createCalendarEvent");
    EXPECT_EQ(ActionID::generateSwiftModel.rawValue, "generateSwiftModel");
    EXPECT_EQ(ActionID::describeImage, ActionID("describeImage"));
}

} // namespace
} // namespace tessellar

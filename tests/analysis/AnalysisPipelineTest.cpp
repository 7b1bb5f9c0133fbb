#include "kit/analysis/AnalysisPipeline.h"

#include "kit/capture/ContentIngestor.h"
#include "kit/classify/RuleBasedClassifier.h"
#include "support/ActionCases.h"
#include "support/CliRunner.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <tuple>

namespace tessellar {
namespace {

using testing::fixture;
using Stage = AnalysisStage;

std::vector<std::uint8_t> bytesOf(const std::filesystem::path& path) {
    const std::string data = testing::readFile(path);
    return {data.begin(), data.end()};
}

// A greyscale PNM image Leptonica decodes, of any size.
std::vector<std::uint8_t> greyImage(int width, int height) {
    const std::string header = "P5\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    std::vector<std::uint8_t> data(header.begin(), header.end());
    data.resize(data.size() + std::size_t(width) * std::size_t(height), 200);
    return data;
}

std::pair<std::uint32_t, std::uint32_t> pngSize(const std::vector<std::uint8_t>& png) {
    const auto be = [&](std::size_t at) {
        return std::uint32_t(png.at(at)) << 24 | std::uint32_t(png.at(at + 1)) << 16 |
               std::uint32_t(png.at(at + 2)) << 8 | png.at(at + 3);
    };
    return {be(16), be(20)};
}

CapturedContent fileContent(const std::filesystem::path& path) {
    return {SourceType::drop, {}, {}, Url::fromFilePath(std::filesystem::absolute(path)), {}, {}, {}};
}

std::shared_ptr<OCRService> sharedOCR() {
    static const auto ocr = std::make_shared<OCRService>();
    return ocr;
}

struct AnalysisPipelineTest : ::testing::Test {
    testing::TempDir images;
    AnalysisPipeline pipeline{std::make_shared<TextExtractor>(), sharedOCR(), ImageStore(images / "Images"),
                              std::make_shared<RuleBasedClassifier>()};
    std::vector<Stage> stages;

    AnalysisPipeline::Result analyze(const CapturedContent& content) {
        stages.clear();
        return pipeline.analyze(content, [this](const Stage& stage) { stages.push_back(stage); });
    }
};

TEST_F(AnalysisPipelineTest, EmptyContentIsRefusedBeforeAnyStageAndAStopCancelsBetweenThem) {
    EXPECT_EQ(testing::thrownError([&] {
                  analyze(CapturedContent{SourceType::typed, " \n\t", {}, {}, {}, {}, {}});
              }),
              TessellarError::unsupportedDrop());
    EXPECT_TRUE(stages.empty());

    // A stop request cancels between stages.
    const CapturedContent typed{SourceType::typed, "hello", {}, {}, {}, {}, {}};
    std::stop_source stop;
    std::vector<Stage> seen;
    EXPECT_THROW(pipeline.analyze(
                     typed,
                     [&](const Stage& stage) {
                         seen.push_back(stage);
                         if (stage == Stage::recognizing())
                             stop.request_stop();
                     },
                     stop.get_token()),
                 Cancelled);
    EXPECT_EQ(seen, (std::vector{Stage::receiving(), Stage::recognizing()}));
}

TEST_F(AnalysisPipelineTest, TextPdfsGetTheirTextPageCountAndSize) {
    const auto three = analyze(fileContent(fixture("documents/text-3-pages.pdf")));
    EXPECT_EQ(stages, (std::vector{Stage::receiving(), Stage::readingDocument(), Stage::recognizing(),
                                   Stage::findingActions()}));
    EXPECT_FALSE(three.warning);
    EXPECT_TRUE(three.item.extractedText->starts_with("Page 1 marker PAGE1"));
    EXPECT_EQ(three.item.metadata["pageCount"], "3 pages");
    EXPECT_EQ(three.item.metadata["fileSize"], "2 KB");
    EXPECT_EQ(three.item.metadata.facts.back().key, "fileSize") << "file facts come after the classifier's";

    const auto one = analyze(fileContent(fixture("documents/text-1-page.pdf")));
    EXPECT_FALSE(one.item.metadata["pageCount"]);
    EXPECT_TRUE(one.item.metadata["fileSize"]);
    EXPECT_EQ(one.item.contentType, ContentType::invoice);
    EXPECT_EQ(one.item.fileURL, fileContent(fixture("documents/text-1-page.pdf")).fileURL);
    EXPECT_FALSE(one.item.imagePath);
}

TEST_F(AnalysisPipelineTest, ScannedPdfsAreRecognisedAndAFailedRecognitionIsAWarning) {
    const auto scanned = analyze(fileContent(fixture("documents/scanned-3-pages.pdf")));
    EXPECT_EQ(stages, (std::vector{Stage::receiving(), Stage::readingDocument(), Stage::extractingText(),
                                   Stage::recognizing(), Stage::findingActions()}));
    EXPECT_FALSE(scanned.warning);
    ASSERT_TRUE(scanned.item.extractedText);
    EXPECT_NE(scanned.item.extractedText->find("Delivery note for order 4402"), std::string::npos);
    EXPECT_EQ(scanned.item.metadata["pageCount"], "3 pages");

    testing::TempDir noLanguageData;
    AnalysisPipeline blind(std::make_shared<TextExtractor>(),
                           std::make_shared<OCRService>(noLanguageData.path()), ImageStore(images / "Images"),
                           std::make_shared<RuleBasedClassifier>());
    const auto failed = blind.analyze(fileContent(fixture("documents/scanned-3-pages.pdf")));
    EXPECT_EQ(failed.warning, TessellarError::noTextInDocument("scanned-3-pages.pdf"));
    EXPECT_EQ(failed.warning->recovery(),
              (std::vector{TessellarError::Recovery::openFile, TessellarError::Recovery::tryAI}));
    EXPECT_EQ(failed.item.extractedText, "") << "the extractor's own text";
    EXPECT_EQ(failed.item.metadata["pageCount"], "3 pages");

    // Unreadable documents become warnings.
    const auto encrypted = analyze(fileContent(fixture("documents/encrypted.pdf")));
    EXPECT_EQ(encrypted.warning, TessellarError::noTextInDocument("encrypted.pdf"));
    EXPECT_FALSE(encrypted.item.extractedText);
    EXPECT_FALSE(encrypted.item.metadata["pageCount"]);

    // A file that is gone by the time it is read: a warning and no size.
    const auto vanished = analyze(fileContent(images / "vanished.txt"));
    EXPECT_EQ(vanished.warning, TessellarError::noTextInDocument("vanished.txt"));
    EXPECT_FALSE(vanished.item.metadata["fileSize"]);
    EXPECT_EQ(vanished.item.title, "vanished.txt");
}

TEST_F(AnalysisPipelineTest, ImageFilesAreRecognisedAndThumbnailed) {
    const auto receipt = analyze(fileContent(fixture("images/receipt.png")));
    EXPECT_EQ(stages, (std::vector{Stage::receiving(), Stage::extractingText(), Stage::recognizing(),
                                   Stage::findingActions()}));
    ASSERT_TRUE(receipt.item.extractedText);
    EXPECT_NE(receipt.item.extractedText->find("CORNER BAKERY"), std::string::npos);
    ASSERT_TRUE(receipt.item.imagePath);
    const auto stored = receipt.item.imagePath->filePath();
    EXPECT_EQ(stored, images / "Images" / (receipt.item.id.string() + ".png"));
    EXPECT_EQ(pngSize(bytesOf(stored)), (std::pair<std::uint32_t, std::uint32_t>(512, 336)));

    // The bomb is refused before decoding: the OCR error is the warning, and no thumbnail.
    const auto bomb = analyze(fileContent(fixture("images/bomb.png")));
    EXPECT_EQ(bomb.warning, TessellarError("Couldn\u2019t read bomb.png."));
    EXPECT_FALSE(bomb.item.imagePath);
    EXPECT_FALSE(bomb.item.extractedText);

    // A blank image reads nothing; confidence 0 is below the bar.
    const auto blank = analyze(fileContent(fixture("images/blank.png")));
    EXPECT_FALSE(blank.item.extractedText);
    EXPECT_FALSE(blank.warning);
    EXPECT_TRUE(blank.item.imagePath);

    // Stopped while the text is read: the thumbnail made alongside is not left behind.
    testing::TempDir other;
    AnalysisPipeline cancelled{std::make_shared<TextExtractor>(), sharedOCR(), ImageStore(other / "Images"),
                               std::make_shared<RuleBasedClassifier>()};
    std::stop_source stop;
    EXPECT_THROW(cancelled.analyze(
                     fileContent(fixture("images/receipt.png")),
                     [&](const Stage& stage) {
                         if (stage == Stage::extractingText())
                             stop.request_stop();
                     },
                     stop.get_token()),
                 Cancelled);
    EXPECT_TRUE(!std::filesystem::exists(other / "Images") || std::filesystem::is_empty(other / "Images"));
}

TEST_F(AnalysisPipelineTest, PastedImagesAreStoredAsTheyAre) {
    CapturedContent pasted;
    pasted.source = SourceType::clipboard;
    pasted.imageData = bytesOf(fixture("images/error-dialog.png"));
    const auto result = analyze(pasted);
    ASSERT_TRUE(result.item.imagePath);
    EXPECT_EQ(bytesOf(result.item.imagePath->filePath()), *pasted.imageData);
    ASSERT_TRUE(result.item.extractedText);
    EXPECT_NE(result.item.extractedText->find("disk is full"), std::string::npos);

    pasted.imageData = std::vector<std::uint8_t>{'n', 'o', 't'};
    const auto junk = analyze(pasted);
    EXPECT_EQ(junk.warning, TessellarError("Couldn\u2019t read that image."));
    EXPECT_TRUE(junk.item.imagePath) << "the bytes are kept even when they are no image";
}

TEST_F(AnalysisPipelineTest, LinksWithoutTextAndTypedLinks) {
    const CapturedContent link{SourceType::drop, {}, Url::parse("https://example.com/a"), {}, {}, {}, {}};
    const auto unknown = analyze(link);
    EXPECT_EQ(unknown.item.contentType, ContentType::unknown);
    EXPECT_EQ(unknown.item.title, "Content");
    EXPECT_EQ(unknown.item.confidence, 0.2);
    EXPECT_EQ(unknown.item.suggestedActionIDs, std::vector{ActionID::copy});
    EXPECT_EQ(unknown.item.sourceURL, link.webURL);
    EXPECT_EQ(stages, (std::vector{Stage::receiving(), Stage::recognizing(), Stage::findingActions()}));

    // Typed through the ingestor, whose byte-order mark would otherwise hide the link.
    const CapturedContent typed = ContentIngestor::capture("\xEF\xBB\xBFhttps://tessellar.org/docs");
    EXPECT_EQ(typed.text, "https://tessellar.org/docs");
    const auto url = analyze(typed);
    EXPECT_EQ(url.item.contentType, ContentType::url);
    EXPECT_EQ(url.item.sourceURL, Url::parse("https://tessellar.org/docs"));
    EXPECT_EQ(url.item.originalText, typed.text);
    EXPECT_FALSE(url.item.extractedText);
}

TEST_F(AnalysisPipelineTest, ThumbnailsFitTheLongerSideAndNeverGrow) {
    using Size = std::pair<std::uint32_t, std::uint32_t>;
    for (const auto& [width, height, fitted] : std::vector<std::tuple<int, int, Size>>{
             {4000, 1000, {512, 128}}, {300, 200, {300, 200}}, {5000, 3, {512, 1}}})
        EXPECT_EQ(pngSize(*ImageStore::downscaledPNG(greyImage(width, height), 512)), fitted);
    EXPECT_FALSE(ImageStore::downscaledPNG(std::vector<std::uint8_t>{1, 2, 3}, 512));
}

TEST_F(AnalysisPipelineTest, RemoveDeletesOnlyInsideTheImageFolder) {
    const ImageStore& store = pipeline.imageStore();
    const auto id = Uuid::random();
    const Url inside = store.store(std::vector<std::uint8_t>{1}, id);
    std::ofstream(images / "history.sqlite") << "keep";
    store.remove(Url::fromFilePath(images / "history.sqlite"));
    store.remove(Url::parse("file://" + (images / "Images" / ".." / "history.sqlite").string()));
    EXPECT_TRUE(std::filesystem::exists(images / "history.sqlite"));
    store.remove(inside);
    EXPECT_FALSE(std::filesystem::exists(inside.filePath()));
    store.store(std::vector<std::uint8_t>{1}, id);
    store.removeAll();
    EXPECT_FALSE(std::filesystem::exists(images / "Images"));
    EXPECT_TRUE(std::filesystem::exists(images / "history.sqlite"));
}

} // namespace
} // namespace tessellar

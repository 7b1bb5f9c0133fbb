#include "kit/capture/OCRService.h"

#include "kit/model/TessellarError.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>

namespace tessellar {
namespace {

using testing::fixture;

std::string contents(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> bytes(const std::filesystem::path& path) {
    const std::string data = contents(path);
    return {data.begin(), data.end()};
}

template <typename Input> std::string failure(OCRService& ocr, const Input& input) {
    try {
        ocr.recognizeText(input);
    } catch (const TessellarError& error) {
        return error.message() + (error.recovery().empty() ? "" : " (with recoveries)");
    }
    return "(no error)";
}

// One engine for the whole suite, as the application keeps one warm.
OCRService& service() {
    static OCRService ocr;
    return ocr;
}

TEST(OCRService, RecognisesRenderedScreenshotsWithinTwoPercentCER) {
    for (const std::string name : {"receipt.png", "error-dialog.png", "code.jpg"}) {
        SCOPED_TRACE(name);
        const auto image = fixture("images/" + name);
        const std::string expected = contents(image.parent_path() / (image.stem().string() + ".txt"));
        const auto fromFile = service().recognizeText(image);
        EXPECT_LE(testing::characterErrorRate(expected, fromFile.text), 0.02) << fromFile.text;
        EXPECT_GT(fromFile.confidence, 0.5);
        EXPECT_LE(fromFile.confidence, 1.0);
        EXPECT_EQ(fromFile.text.find("\n\n"), std::string::npos) << "one line per recognised line";
        const auto fromBytes = service().recognizeText(std::span<const std::uint8_t>(bytes(image)));
        EXPECT_EQ(fromBytes, fromFile);
    }
}

TEST(OCRService, AnImageWithoutTextGivesEmptyTextAndZeroConfidence) {
    const auto result = service().recognizeText(fixture("images/blank.png"));
    EXPECT_EQ(result.text, "");
    EXPECT_EQ(result.confidence, 0.0);
    EXPECT_TRUE(result.isEmpty());
}

TEST(OCRService, ScannedPdfIsRecognisedOnItsFirstTwoPagesOnly) {
    const auto result = service().recognizeText(fixture("documents/scanned-3-pages.pdf"));
    EXPECT_LE(testing::characterErrorRate("Scanned page 1\nDelivery note for order 4401\n"
                                          "Scanned page 2\nDelivery note for order 4402",
                                          result.text),
              0.02)
        << result.text;
    EXPECT_EQ(result.text.find("4403"), std::string::npos);
    EXPECT_GT(result.confidence, 0.5);
    const auto one = service().recognizeTextInScannedPDF(fixture("documents/scanned-3-pages.pdf"), 1);
    EXPECT_EQ(one.text.find("4402"), std::string::npos);
    EXPECT_EQ(failure(service(), fixture("documents/encrypted.pdf")),
              "Couldn\u2019t extract text from encrypted.pdf. (with recoveries)");
}

TEST(OCRService, RefusesBadImagesWithTheirTexts) {
    // The bomb's header claims 30,000 x 30,000 pixels: refused before any decoding.
    EXPECT_EQ(failure(service(), std::span<const std::uint8_t>(bytes(fixture("images/bomb.png")))),
              "Couldn\u2019t read that image.");
    EXPECT_EQ(failure(service(), fixture("images/bomb.png")), "Couldn\u2019t read bomb.png.");
    EXPECT_EQ(failure(service(), std::span<const std::uint8_t>(bytes(fixture("images/wrong-header.png")))),
              "Couldn\u2019t read that image.");
    EXPECT_EQ(failure(service(), std::span<const std::uint8_t>()), "Couldn\u2019t read that image.");

    testing::TempDir dir;
    std::ofstream(dir / "empty.png").flush();
    EXPECT_EQ(failure(service(), dir / "empty.png"), "Couldn\u2019t read empty.png.");
    EXPECT_EQ(failure(service(), dir / "missing.png"), "Couldn\u2019t read missing.png.");
    ASSERT_EQ(::mkfifo((dir / "pipe.png").c_str(), 0600), 0);
    EXPECT_EQ(failure(service(), dir / "pipe.png"), "Couldn\u2019t read pipe.png.");
    std::filesystem::create_directory(dir / "folder.png");
    EXPECT_EQ(failure(service(), dir / "folder.png"), "Couldn\u2019t read folder.png.");
}

TEST(OCRService, MissingLanguageDataCannotRunRecognition) {
    testing::TempDir empty;
    OCRService ocr(empty.path());
    EXPECT_EQ(failure(ocr, fixture("images/receipt.png")),
              "Couldn\u2019t run text recognition on this image.");
}

} // namespace
} // namespace tessellar

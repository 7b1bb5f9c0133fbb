#include "kit/capture/OCRService.h"

#include "kit/model/TessellarError.h"
#include "support/ActionCases.h"
#include "support/CliRunner.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tessellar {
namespace {

using testing::fixture;

std::vector<std::uint8_t> bytes(const std::filesystem::path& path) {
    const std::string data = testing::readFile(path);
    return {data.begin(), data.end()};
}

template <typename Input> std::string failure(OCRService& ocr, const Input& input) {
    const auto error = testing::thrownError([&] { ocr.recognizeText(input); });
    return error.message() + (error.recovery().empty() ? "" : " (with recoveries)");
}

// One engine for the whole suite, as the application keeps one warm.
OCRService& service() {
    static OCRService ocr;
    return ocr;
}

TEST(OCRService, RecognisesRenderedScreenshotsWithinTwoPercentCERAndBlankOnesAsNothing) {
    for (const std::string name : {"receipt.png", "error-dialog.png", "code.jpg"}) {
        const auto image = fixture("images/" + name);
        const std::string expected =
            testing::readFile(image.parent_path() / (image.stem().string() + ".txt"));
        const auto fromFile = service().recognizeText(image);
        EXPECT_LE(testing::characterErrorRate(expected, fromFile.text), 0.02)
            << name << ": " << fromFile.text;
        EXPECT_GT(fromFile.confidence, 0.5);
        EXPECT_LE(fromFile.confidence, 1.0);
        EXPECT_EQ(fromFile.text.find("\n\n"), std::string::npos) << "one line per recognised line";
        const auto fromBytes = service().recognizeText(std::span<const std::uint8_t>(bytes(image)));
        EXPECT_EQ(fromBytes, fromFile);
    }
    // An image without text gives empty text and zero confidence.
    EXPECT_EQ(service().recognizeText(fixture("images/blank.png")), (OCRService::Result{"", 0.0}));
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
    EXPECT_EQ(failure(service(), fixture("images/bomb.png")), "Couldn\u2019t read bomb.png.");
    for (const auto& data :
         {bytes(fixture("images/bomb.png")), bytes(fixture("images/wrong-header.png")), {}})
        EXPECT_EQ(failure(service(), std::span<const std::uint8_t>(data)), "Couldn\u2019t read that image.");

    testing::TempDir dir;
    std::ofstream(dir / "empty.png").flush();
    ASSERT_EQ(::mkfifo((dir / "pipe.png").c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "folder.png");
    for (const std::string name : {"empty.png", "missing.png", "pipe.png", "folder.png"})
        EXPECT_EQ(failure(service(), dir / name), "Couldn\u2019t read " + name + ".");
}

TEST(OCRService, MissingOrDamagedLanguageDataCannotRunRecognition) {
    testing::TempDir empty;
    OCRService ocr(empty.path());
    EXPECT_EQ(failure(ocr, fixture("images/receipt.png")),
              "Couldn\u2019t run text recognition on this image.");
    // Damaged data is found out only while loading in the background; the answer is the same,
    // on every attempt.
    testing::TempDir damaged;
    std::ofstream(damaged / "eng.traineddata") << "not a model";
    OCRService broken(damaged.path());
    for (int attempt = 0; attempt < 2; ++attempt)
        EXPECT_EQ(failure(broken, fixture("images/receipt.png")),
                  "Couldn\u2019t run text recognition on this image.");
}

} // namespace
} // namespace tessellar

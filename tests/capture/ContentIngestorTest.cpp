#include "kit/capture/ContentIngestor.h"

#include "kit/base/Clock.h"
#include "support/InMemoryPasteboard.h"

#include <gtest/gtest.h>
#include <leptonica/allheaders.h>
#include <memory>

namespace tessellar {
namespace {

using Bytes = std::vector<std::uint8_t>;

// 2026-03-01 09:30:05 in New York, where the tests run.
constexpr Timestamp pinned = Timestamp::fromUnix(1772375405.0);
const std::string pinnedPNGName = "Pasted Image 2026-03-01 at 09.30.05.png";

struct PixDeleter {
    void operator()(PIX* pix) const { pixDestroy(&pix); }
};
using Pix = std::unique_ptr<PIX, PixDeleter>;

// A small colour picture with distinct pixels.
Pix picture() {
    Pix pix(pixCreate(5, 3, 32));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            pixSetRGBPixel(pix.get(), x, y, 40 * x, 80 * y, 200 - 30 * x);
    return pix;
}

Bytes encoded(PIX* pix, int format) {
    l_uint8* data = nullptr;
    size_t size = 0;
    EXPECT_EQ(pixWriteMem(&data, &size, pix, format), 0);
    Bytes bytes(data, data + size);
    lept_free(data);
    return bytes;
}

Bytes bytesOf(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

Url url(const std::string& text) {
    return *Url::parse(text);
}

TEST(ContentIngestor, FirstFileWinsOverEverythingElseAndIsTypedByItsName) {
    InMemoryPasteboard board;
    board.addURL(url("https://example.com/page"));
    board.addURL(url("file:///tmp/Quarterly%20Report.pdf"));
    board.addURL(url("file:///tmp/b.png"));
    board.addURL(url("file:///tmp/c.txt"));
    board.setData("image/png", encoded(picture().get(), IFF_PNG));
    board.writeText("some text");
    EXPECT_EQ(ContentIngestor::capture(board, SourceType::drop),
              (CapturedContent{SourceType::drop, std::nullopt, std::nullopt,
                               url("file:///tmp/Quarterly%20Report.pdf"), std::nullopt, "application/pdf",
                               "Quarterly Report.pdf"}));
}

TEST(ContentIngestor, PNGIsTakenAsItIs) {
    const Clock::ScopedOverride clock(pinned);
    InMemoryPasteboard board;
    const Bytes png = encoded(picture().get(), IFF_PNG);
    board.setData("image/png", png);
    board.setData("image/tiff", encoded(picture().get(), IFF_TIFF));
    board.addURL(url("https://example.com"));
    board.writeText("caption");
    EXPECT_EQ(ContentIngestor::capture(board, SourceType::clipboard),
              (CapturedContent{SourceType::clipboard, {}, {}, {}, png, "image/png", pinnedPNGName}));
}

TEST(ContentIngestor, TIFFIsReencodedAsTheSamePictureInPNGOrElsePassedOn) {
    const Clock::ScopedOverride clock(pinned);
    InMemoryPasteboard board;
    const Pix original = picture();
    board.setData("image/tiff", encoded(original.get(), IFF_TIFF_ZIP));
    const CapturedContent content = ContentIngestor::capture(board, SourceType::drop);
    ASSERT_TRUE(content.imageData);
    EXPECT_EQ(content.typeIdentifier, "image/png");
    EXPECT_EQ(content.suggestedName, pinnedPNGName);
    ASSERT_GE(content.imageData->size(), 8u);
    EXPECT_EQ(Bytes(content.imageData->begin(), content.imageData->begin() + 8),
              (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    const Pix decoded(pixReadMem(content.imageData->data(), content.imageData->size()));
    ASSERT_TRUE(decoded);
    l_int32 same = 0;
    ASSERT_EQ(pixEqual(original.get(), decoded.get(), &same), 0);
    EXPECT_EQ(same, 1);

    // A TIFF that cannot be decoded, even an empty one, is passed on as TIFF.
    Bytes broken = encoded(picture().get(), IFF_TIFF);
    broken.resize(broken.size() / 3); // cut off in the middle of the picture data
    const Bytes garbage = bytesOf("II*\0garbage, no directory");
    for (const Bytes& tiff : {broken, garbage, Bytes{}}) {
        board.setData("image/tiff", tiff);
        const CapturedContent content = ContentIngestor::capture(board, SourceType::drop);
        EXPECT_EQ(content.imageData, tiff);
        EXPECT_EQ(content.typeIdentifier, "image/tiff");
        EXPECT_EQ(content.suggestedName, "Pasted Image 2026-03-01 at 09.30.05.tiff");
    }
}

TEST(ContentIngestor, OnlyHttpAndHttpsURLsAreWebLinksAndPlainTextKeepsItsSpacing) {
    InMemoryPasteboard board;
    board.addURL(url("ftp://files.example.com/a"));
    board.writeText("see notes");
    EXPECT_EQ(ContentIngestor::capture(board, SourceType::drop),
              (CapturedContent{SourceType::drop, "see notes", {}, {}, {}, {}, {}}));
    board.addURL(url("https://example.com/x?y=1"));
    EXPECT_EQ(
        ContentIngestor::capture(board, SourceType::drop),
        (CapturedContent{SourceType::drop, "https://example.com/x?y=1", url("https://example.com/x?y=1"),
                         std::nullopt, std::nullopt, std::nullopt, std::nullopt}));

    InMemoryPasteboard text;
    text.writeText("  example.com/docs \n");
    EXPECT_EQ(ContentIngestor::capture(text, SourceType::clipboard),
              (CapturedContent{SourceType::clipboard, "  example.com/docs \n", url("http://example.com/docs"),
                               std::nullopt, std::nullopt, std::nullopt, std::nullopt}));
    text.writeText("read example.com/docs later");
    EXPECT_EQ(ContentIngestor::capture(text, SourceType::clipboard),
              (CapturedContent{SourceType::clipboard, "read example.com/docs later", {}, {}, {}, {}, {}}));
}

TEST(ContentIngestor, BlankPlainTextFallsThroughToRTF) {
    InMemoryPasteboard board;
    board.writeText("   ");
    board.setData("text/rtf", bytesOf("{\\rtf1\\ansi https://example.com\\par caf\\'e9}"));
    // No link detection on rich text.
    EXPECT_EQ(ContentIngestor::capture(board, SourceType::drop),
              (CapturedContent{SourceType::drop, "https://example.com\ncaf\u00E9", {}, {}, {}, {}, {}}));

    // Blank or unreadable RTF leaves nothing.
    board.setData("text/rtf", bytesOf("{\\rtf1 {\\*\\generator x}\\par }"));
    EXPECT_TRUE(ContentIngestor::capture(board, SourceType::drop).isEmpty());
    board.setData("text/rtf", bytesOf("not rtf at all"));
    EXPECT_TRUE(ContentIngestor::capture(board, SourceType::drop).isEmpty());

    // PDF data alone is nothing Tessellar reads from a pasteboard.
    InMemoryPasteboard pdf;
    pdf.setData("application/pdf", bytesOf("%PDF-1.4\n%%EOF\n"));
    EXPECT_EQ(ContentIngestor::capture(pdf, SourceType::drop),
              (CapturedContent{SourceType::drop, {}, {}, {}, {}, {}, {}}));
}

TEST(ContentIngestor, EmptyImageDataIsStillPresent) {
    const Clock::ScopedOverride clock(pinned);
    InMemoryPasteboard board;
    board.writeText("caption");
    board.setData("image/png", {});
    EXPECT_EQ(ContentIngestor::capture(board, SourceType::drop),
              (CapturedContent{SourceType::drop, {}, {}, {}, Bytes{}, "image/png", pinnedPNGName}));

    // Empty rich text is read and has no text, so nothing is captured.
    InMemoryPasteboard rtfOnly;
    rtfOnly.setData("text/rtf", {});
    rtfOnly.setData("application/rtf", bytesOf("{\\rtf1\\ansi hidden}"));
    EXPECT_TRUE(ContentIngestor::capture(rtfOnly, SourceType::drop).isEmpty());
}

TEST(ContentIngestor, TypedTextIsKeptAsGivenAndDragTypesAreInPriorityOrder) {
    EXPECT_EQ(ContentIngestor::capture("  https://example.com/a  "),
              (CapturedContent{SourceType::typed, "  https://example.com/a  ", url("https://example.com/a"),
                               std::nullopt, std::nullopt, std::nullopt, std::nullopt}));
    EXPECT_EQ(ContentIngestor::capture("buy milk at example.com"),
              (CapturedContent{SourceType::typed, "buy milk at example.com", {}, {}, {}, {}, {}}));
    EXPECT_EQ(ContentIngestor::acceptedTypes(),
              (std::vector<std::string>{"text/uri-list", "text/plain", "text/rtf", "application/pdf",
                                        "image/png", "image/tiff"}));
}

TEST(ContentIngestor, DefaultImageNameUsesLocalTime) {
    // Summer time, one second before midnight in New York (already the next day in UTC).
    const Clock::ScopedOverride clock(Timestamp::fromUnix(1783223999.0));
    EXPECT_EQ(ContentIngestor::defaultImageName("tiff"), "Pasted Image 2026-07-04 at 23.59.59.tiff");
}

} // namespace
} // namespace tessellar

#include "kit/capture/ClipboardService.h"

#include "kit/model/TessellarError.h"
#include "support/ActionCases.h"
#include "support/Fixtures.h"
#include "support/InMemoryPasteboard.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

Url url(const std::string& text) {
    return *Url::parse(text);
}

TEST(ClipboardService, CopyReplacesWhateverWasThere) {
    InMemoryPasteboard board;
    const ClipboardService clipboard(board);
    board.addURL(url("file:///tmp/a.pdf"));
    board.setData("image/png", {1, 2, 3});
    clipboard.copy("INV-2041");
    EXPECT_EQ(board.plainText(), "INV-2041");
    EXPECT_TRUE(board.urls().empty());
    EXPECT_FALSE(board.hasImage());

    clipboard.copy(url("file:///tmp/Report%20Q1.pdf"));
    EXPECT_EQ(board.plainText(), std::nullopt);
    EXPECT_EQ(board.fileURLs(), (std::vector<Url>{url("file:///tmp/Report%20Q1.pdf")}));
}

TEST(ClipboardService, EmptyClipboardIsAnError) {
    InMemoryPasteboard board;
    const ClipboardService clipboard(board);
    for (const char* blank : {"", " \n\t "}) {
        board.writeText(blank);
        EXPECT_EQ(testing::thrownError([&] { clipboard.currentContent(); }),
                  TessellarError("The clipboard is empty.", {TessellarError::Recovery::retry}));
    }
    board.writeText("hello");
    EXPECT_EQ(clipboard.currentContent(),
              (CapturedContent{SourceType::clipboard, "hello", {}, {}, {}, {}, {}}));
}

TEST(ClipboardService, HintNamesFileImageLinkOrShortenedText) {
    InMemoryPasteboard board;
    const ClipboardService clipboard(board);
    EXPECT_EQ(clipboard.clipboardHint(), std::nullopt);
    board.writeText("www.example.org");
    board.setData("image/tiff", {0x49, 0x49}); // any image wins over text, readable or not
    EXPECT_EQ(clipboard.clipboardHint(), "Image");

    board.addURL(url("https://example.com")); // a web link is no file
    EXPECT_EQ(clipboard.clipboardHint(), "Image");
    board.addURL(url("file:///home/ann/Tax%20Return.pdf"));
    board.addURL(url("file:///home/ann/other.pdf"));
    EXPECT_EQ(clipboard.clipboardHint(), "Tax Return.pdf");

    // fixtures/tables/clipboard-hints.tsv: what text alone shows.
    InMemoryPasteboard textBoard;
    const ClipboardService text(textBoard);
    const auto hint = [&](const testing::Row& c) {
        textBoard.writeText(c[1]);
        return testing::shown(text.clipboardHint());
    };
    EXPECT_GE(testing::checkTable(testing::fixture("tables/clipboard-hints.tsv"), {{"hint", hint}}), 9);
}

} // namespace
} // namespace tessellar

#include "kit/capture/ClipboardService.h"

#include "kit/model/TessellarError.h"
#include "support/InMemoryPasteboard.h"

#include <gtest/gtest.h>
#include <string>

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
        try {
            clipboard.currentContent();
            FAIL() << "expected an error";
        } catch (const TessellarError& error) {
            EXPECT_EQ(error.message(), "The clipboard is empty.");
            EXPECT_EQ(error.recovery(), std::vector{TessellarError::Recovery::retry});
        }
    }
    board.writeText("hello");
    const CapturedContent content = clipboard.currentContent();
    EXPECT_EQ(content.source, SourceType::clipboard);
    EXPECT_EQ(content.text, "hello");
}

TEST(ClipboardService, HintNamesFileImageOrLink) {
    InMemoryPasteboard board;
    const ClipboardService clipboard(board);
    EXPECT_EQ(clipboard.clipboardHint(), std::nullopt);
    board.writeText("  \n ");
    EXPECT_EQ(clipboard.clipboardHint(), std::nullopt);

    board.writeText("  https://example.com/a \n");
    EXPECT_EQ(clipboard.clipboardHint(), "Link");
    board.writeText("www.example.org");
    EXPECT_EQ(clipboard.clipboardHint(), "Link");

    board.setData("image/tiff", {0x49, 0x49}); // any image wins over text, readable or not
    EXPECT_EQ(clipboard.clipboardHint(), "Image");

    board.addURL(url("https://example.com")); // a web link is no file
    EXPECT_EQ(clipboard.clipboardHint(), "Image");
    board.addURL(url("file:///home/ann/Tax%20Return.pdf"));
    board.addURL(url("file:///home/ann/other.pdf"));
    EXPECT_EQ(clipboard.clipboardHint(), "Tax Return.pdf");
}

TEST(ClipboardService, HintShortensTextAtASpaceWithin32Characters) {
    InMemoryPasteboard board;
    const ClipboardService clipboard(board);
    board.writeText("The quarterly report is attached and the numbers look good for the next board meeting, "
                    "see page 4.");
    EXPECT_EQ(clipboard.clipboardHint(), "The quarterly report is\u2026");
    board.writeText("  Meeting\n\n notes\tfor  Friday  ");
    EXPECT_EQ(clipboard.clipboardHint(), "Meeting notes for Friday");
    // Exactly 32 characters stay whole; one more is cut at the last space.
    board.writeText("abcdefghij abcdefghij abcdefghij");
    EXPECT_EQ(clipboard.clipboardHint(), "abcdefghij abcdefghij abcdefghij");
    board.writeText("abcdefghij abcdefghij abcdefghijk");
    EXPECT_EQ(clipboard.clipboardHint(), "abcdefghij abcdefghij\u2026");
    // Characters, not bytes.
    board.writeText(std::string(40, 'x'));
    EXPECT_EQ(clipboard.clipboardHint(), std::string(32, 'x') + "\u2026");
}

} // namespace
} // namespace tessellar

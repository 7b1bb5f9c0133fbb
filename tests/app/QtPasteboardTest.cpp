#include "app/QtPasteboard.h"

#include "AppHarness.h"
#include "kit/capture/ClipboardService.h"

#include <atomic>
#include <thread>

namespace tessellar::app {
namespace {

TEST(QtPasteboard, TextAndFileWritesRoundTripThroughTheClipboardAndItsService) {
    QtPasteboard pasteboard(*QGuiApplication::clipboard());
    ClipboardService service(pasteboard);
    service.copy("Caf\u00E9 \u2019quoted\u2019");
    EXPECT_EQ(pasteboard.plainText(), "Caf\u00E9 \u2019quoted\u2019");
    EXPECT_TRUE(pasteboard.urls().empty());
    EXPECT_EQ(service.currentContent().text, "Caf\u00E9 \u2019quoted\u2019");

    const Url file = Url::fromFilePath("/tmp/a b.pdf");
    pasteboard.writeFileURL(file);
    ASSERT_EQ(pasteboard.fileURLs().size(), 1u);
    EXPECT_EQ(pasteboard.fileURLs().front().filePath(), "/tmp/a b.pdf");
    // A file manager pastes the file itself from this representation.
    const auto copied = pasteboard.data(QtPasteboard::gnomeCopiedFilesType);
    ASSERT_TRUE(copied);
    EXPECT_EQ(std::string(copied->begin(), copied->end()), "copy\nfile:///tmp/a%20b.pdf");
    // Writing replaces: the earlier text is gone.
    EXPECT_NE(pasteboard.plainText(), "Caf\u00E9 \u2019quoted\u2019");

    pasteboard.clear();
    EXPECT_FALSE(pasteboard.plainText());
    EXPECT_TRUE(pasteboard.urls().empty());
    EXPECT_FALSE(pasteboard.hasImage());
}

// Dropped links keep their order with files apart; images become PNG bytes.
TEST(QtPasteboard, DragDataKeepsLinksApartInOrderAndImagesBecomePng) {
    QMimeData mime, inProcess;
    mime.setUrls({QUrl(QStringLiteral("https://example.com/a?b=1")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/x.txt")),
                  QUrl(QStringLiteral("mailto:someone@example.com"))});
    const QtPasteboard links(mime);
    ASSERT_EQ(links.urls().size(), 3u);
    EXPECT_EQ(links.urls()[0].absoluteString(), "https://example.com/a?b=1");
    EXPECT_EQ(links.urls()[2].scheme(), "mailto");
    ASSERT_EQ(links.fileURLs().size(), 1u);
    EXPECT_EQ(links.fileURLs()[0].filePath(), "/tmp/x.txt");

    QImage image(7, 5, QImage::Format_ARGB32);
    image.fill(Qt::red);
    inProcess.setImageData(image);
    const QtPasteboard pasteboard(inProcess);
    EXPECT_TRUE(pasteboard.hasImage());
    const auto png = pasteboard.data("image/png");
    ASSERT_TRUE(png);
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(png->data(), int(png->size()), "PNG"));
    EXPECT_EQ(decoded.size(), QSize(7, 5));
    EXPECT_FALSE(pasteboard.data("image/tiff"));
}

TEST(QtPasteboard, WorkerThreadWritesLandOnTheGuiThreadClipboard) {
    QtPasteboard pasteboard(*QGuiApplication::clipboard());
    std::atomic<bool> done = false;
    std::optional<std::string> readBack;
    std::thread worker([&] {
        pasteboard.writeText("from a worker");
        readBack = pasteboard.plainText();
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_EQ(readBack, "from a worker");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("from a worker"));
}

} // namespace
} // namespace tessellar::app

#include "app/QtPasteboard.h"

#include "kit/capture/ClipboardService.h"
#include "kit/capture/ContentIngestor.h"
#include "kit/model/TessellarError.h"

#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QUrl>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace tessellar::app {
namespace {

QtPasteboard systemPasteboard() {
    return QtPasteboard(*QGuiApplication::clipboard());
}

TEST(QtPasteboard, TextAndFileWritesRoundTripThroughTheClipboard) {
    QtPasteboard pasteboard = systemPasteboard();
    pasteboard.writeText("Caf\u00E9 \u2019quoted\u2019");
    EXPECT_EQ(pasteboard.plainText(), "Caf\u00E9 \u2019quoted\u2019");
    EXPECT_TRUE(pasteboard.urls().empty());

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

TEST(QtPasteboard, DragDataKeepsFileAndWebLinksApartInOrder) {
    QMimeData mime;
    mime.setUrls({QUrl(QStringLiteral("https://example.com/a?b=1")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/x.txt")),
                  QUrl(QStringLiteral("mailto:someone@example.com"))});
    const QtPasteboard pasteboard(mime);
    ASSERT_EQ(pasteboard.urls().size(), 3u);
    EXPECT_EQ(pasteboard.urls()[0].absoluteString(), "https://example.com/a?b=1");
    EXPECT_EQ(pasteboard.urls()[2].scheme(), "mailto");
    ASSERT_EQ(pasteboard.fileURLs().size(), 1u);
    EXPECT_EQ(pasteboard.fileURLs()[0].filePath(), "/tmp/x.txt");
}

TEST(QtPasteboard, ImagesBecomePngBytesAndHtmlBecomesText) {
    QImage image(7, 5, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QMimeData inProcess;
    inProcess.setImageData(image);
    const QtPasteboard pasteboard(inProcess);
    EXPECT_TRUE(pasteboard.hasImage());
    const auto png = pasteboard.data("image/png");
    ASSERT_TRUE(png);
    ASSERT_GT(png->size(), 8u);
    EXPECT_EQ((*png)[1], 'P');
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(png->data(), int(png->size()), "PNG"));
    EXPECT_EQ(decoded.size(), QSize(7, 5));
    EXPECT_FALSE(pasteboard.data("image/tiff"));

    QMimeData html;
    html.setHtml(QStringLiteral("<p>Dentist <b>tomorrow</b> at 3pm</p>"));
    EXPECT_EQ(QtPasteboard(html).plainText(), "Dentist tomorrow at 3pm");
}

TEST(QtPasteboard, WorkerThreadWritesLandOnTheGuiThreadClipboard) {
    QtPasteboard pasteboard = systemPasteboard();
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

TEST(QtPasteboard, ClipboardServiceAndIngestorReadThroughIt) {
    QtPasteboard pasteboard = systemPasteboard();
    ClipboardService service(pasteboard);
    service.copy("Dentist tomorrow at 3pm");
    const CapturedContent content = service.currentContent();
    EXPECT_EQ(content.source, SourceType::clipboard);
    EXPECT_EQ(content.text, "Dentist tomorrow at 3pm");

    pasteboard.clear();
    EXPECT_THROW(service.currentContent(), tessellar::TessellarError);

    QMimeData drag;
    drag.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/report.pdf"))});
    const CapturedContent dropped = ContentIngestor::capture(QtPasteboard(drag), SourceType::drop);
    ASSERT_TRUE(dropped.fileURL);
    EXPECT_EQ(dropped.fileURL->lastPathComponent(), "report.pdf");
}

} // namespace
} // namespace tessellar::app

#include "app/QuickLookWindow.h"

#include "AppHarness.h"

namespace tessellar::app {
namespace {

// An A5 PDF whose first page has a black square and whose other pages a white one.
std::filesystem::path writePdf(const std::filesystem::path& path, int pages) {
    QPdfWriter writer(QString::fromStdString(path.string()));
    writer.setPageSize(QPageSize(QPageSize::A5));
    writer.setResolution(72);
    QPainter painter(&writer);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.fillRect(QRect(0, 0, 100, 100), page == 0 ? Qt::black : Qt::white);
    }
    return path;
}

TEST(QuickLookWindow, RendersTheFirstPdfPageAtTwiceItsSizePreviewsByKindAndRefusesWhatItCannotShow) {
    testing::TempDir dir;
    const auto page = QuickLookWindow::renderFirstPdfPage(writePdf(dir / "two pages.pdf", 2));
    ASSERT_TRUE(page);
    // A5 is 420 × 595 points; at 144 dpi twice that.
    EXPECT_NEAR(page->width(), 840, 2);
    EXPECT_NEAR(page->height(), 1190, 2);
    // The first page's black square, not the second page's white one.
    EXPECT_EQ(QColor(page->pixel(20, 20)).black(), 255);

    QuickLookWindow window;
    std::ofstream(dir / "notes.txt") << "Dentist tomorrow at 3pm";
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(QString::fromStdString((dir / "shot.png").string())));
    for (auto [file, kind] : {std::pair{dir / "notes.txt", QuickLookWindow::Kind::text},
                              {dir / "shot.png", QuickLookWindow::Kind::image},
                              {writePdf(dir / "one.pdf", 1), QuickLookWindow::Kind::pdf}}) {
        EXPECT_TRUE(window.preview(file)) << file;
        EXPECT_EQ(window.kind(), kind) << file;
    }
    std::ofstream(dir / "broken.pdf") << "%PDF-1.4 this is not really a PDF";
    EXPECT_FALSE(QuickLookWindow::renderFirstPdfPage(dir / "broken.pdf"));
    for (const char* name : {"broken.pdf", "missing.png", "archive.zip"})
        EXPECT_FALSE(window.preview(dir / name)) << name;

    QSignalSpy closed(&window, &QuickLookWindow::closed);
    window.close();
    EXPECT_EQ(closed.count(), 1);
}

} // namespace
} // namespace tessellar::app

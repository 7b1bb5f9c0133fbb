#include "app/QuickLookWindow.h"

#include "support/TempDir.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSignalSpy>
#include <fstream>
#include <gtest/gtest.h>

namespace tessellar::app {
namespace {

class QuickLookWindowTest : public ::testing::Test {
protected:
    tessellar::testing::TempDir dir;

    std::filesystem::path writePdf(const char* name, int pages) {
        const auto path = dir.path() / name;
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
};

TEST_F(QuickLookWindowTest, FirstPdfPageIsRenderedAtTwiceItsSize) {
    const auto pdf = writePdf("two pages.pdf", 2);
    const auto page = QuickLookWindow::renderFirstPdfPage(pdf);
    ASSERT_TRUE(page);
    // A5 is 420 × 595 points; at 144 dpi twice that.
    EXPECT_NEAR(page->width(), 840, 2);
    EXPECT_NEAR(page->height(), 1190, 2);
    // The first page's black square, not the second page's white one.
    EXPECT_EQ(QColor(page->pixel(20, 20)).black(), 255);
}

TEST_F(QuickLookWindowTest, PreviewsByKindAndRefusesWhatItCannotShow) {
    QuickLookWindow window;
    const auto text = dir.path() / "notes.txt";
    std::ofstream(text) << "Dentist tomorrow at 3pm";
    EXPECT_TRUE(window.preview(text));
    EXPECT_EQ(window.kind(), QuickLookWindow::Kind::text);

    const auto png = dir.path() / "shot.png";
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(QString::fromStdString(png.string())));
    EXPECT_TRUE(window.preview(png));
    EXPECT_EQ(window.kind(), QuickLookWindow::Kind::image);

    EXPECT_TRUE(window.preview(writePdf("one.pdf", 1)));
    EXPECT_EQ(window.kind(), QuickLookWindow::Kind::pdf);

    const auto broken = dir.path() / "broken.pdf";
    std::ofstream(broken) << "%PDF-1.4 this is not really a PDF";
    EXPECT_FALSE(QuickLookWindow::renderFirstPdfPage(broken));
    EXPECT_FALSE(window.preview(broken));
    EXPECT_FALSE(window.preview(dir.path() / "missing.png"));
    EXPECT_FALSE(window.preview(dir.path() / "archive.zip"));

    QSignalSpy closed(&window, &QuickLookWindow::closed);
    window.close();
    EXPECT_EQ(closed.count(), 1);
}

} // namespace
} // namespace tessellar::app

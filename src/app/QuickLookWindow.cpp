#include "app/QuickLookWindow.h"

#include "kit/base/Log.h"
#include "kit/base/MimeTypes.h"
#include "kit/capture/PdfBackend.h"

#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QVBoxLayout>
#include <memory>

namespace tessellar::app {

QuickLookWindow::QuickLookWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    resize(720, 560);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    imageArea_ = new QScrollArea(this);
    image_ = new QLabel(imageArea_);
    image_->setAlignment(Qt::AlignCenter);
    imageArea_->setWidget(image_);
    imageArea_->setWidgetResizable(true);
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    layout->addWidget(imageArea_);
    layout->addWidget(text_);
}

QuickLookWindow::Kind QuickLookWindow::kindOf(const std::filesystem::path& file) {
    const auto type = MimeTypes::forFileName(file.filename().string());
    if (!type)
        return Kind::unsupported;
    if (*type == MimeTypes::pdf)
        return Kind::pdf;
    if (MimeTypes::isImage(*type))
        return Kind::image;
    if (MimeTypes::conformsTo(*type, MimeTypes::plainText))
        return Kind::text;
    return Kind::unsupported;
}

std::optional<QImage> QuickLookWindow::renderFirstPdfPage(const std::filesystem::path& file) {
    const PdfBackend* backend = PdfBackend::get();
    const auto document = backend ? backend->open(file.string()) : nullptr;
    if (!document || document->pageCount() < 1)
        return std::nullopt;
    // A preview never needs more than a large screen's worth of pixels.
    auto page = document->renderPreview(0, 16'000'000);
    if (!page)
        return std::nullopt;
    // QImage does not own the buffer: copy it before the page goes away.
    return QImage(reinterpret_cast<const uchar*>(page->pixels.data()), page->width, page->height,
                  page->width * 4, QImage::Format_ARGB32)
        .copy();
}

bool QuickLookWindow::preview(const std::filesystem::path& file) {
    kind_ = kindOf(file);
    const QString path = QString::fromStdString(file.string());
    QImage picture;
    switch (kind_) {
    case Kind::image:
        picture.load(path);
        break;
    case Kind::pdf:
        picture = renderFirstPdfPage(file).value_or(QImage());
        break;
    case Kind::text: {
        QFile handle(path);
        if (!handle.open(QIODevice::ReadOnly)) {
            kind_ = Kind::unsupported;
            break;
        }
        text_->setPlainText(QString::fromUtf8(handle.read(maximumTextBytes)));
        break;
    }
    case Kind::unsupported:
        break;
    }
    if ((kind_ == Kind::image || kind_ == Kind::pdf) && picture.isNull())
        kind_ = Kind::unsupported;
    if (kind_ == Kind::unsupported) {
        Log::notice(Log::Category::ui, "No preview for " + file.filename().string());
        return false;
    }
    image_->setPixmap(picture.isNull() ? QPixmap() : QPixmap::fromImage(picture));
    imageArea_->setVisible(kind_ != Kind::text);
    text_->setVisible(kind_ == Kind::text);
    setWindowTitle(QString::fromStdString(file.filename().string()));
    show();
    raise();
    activateWindow();
    return true;
}

void QuickLookWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

void QuickLookWindow::keyPressEvent(QKeyEvent* event) {
    // Space and Escape close a preview, as they open and leave one.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Space) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tessellar::app

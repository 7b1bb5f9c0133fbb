#include "app/QtPasteboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QImage>
#include <QTextDocumentFragment>
#include <QThread>
#include <QUrl>

namespace tessellar::app {
namespace {

template <typename F> auto onGuiThread(F&& work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread())
        return work();
    using Result = decltype(work());
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(app, std::forward<F>(work), Qt::BlockingQueuedConnection);
    } else {
        Result result{};
        QMetaObject::invokeMethod(
            app, [&] { result = work(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}

std::optional<Url> toUrl(const QUrl& url) {
    if (url.isLocalFile())
        return Url::fromFilePath(std::filesystem::path(url.toLocalFile().toStdString()));
    return Url::parse(url.toString(QUrl::FullyEncoded).toStdString());
}

std::vector<std::uint8_t> bytes(const QByteArray& array) {
    return {array.begin(), array.end()};
}

std::unique_ptr<QMimeData> copyOf(const QMimeData& source) {
    auto copy = std::make_unique<QMimeData>();
    for (const QString& format : source.formats())
        copy->setData(format, source.data(format));
    if (source.hasImage())
        copy->setImageData(source.imageData());
    return copy;
}

} // namespace

QtPasteboard::QtPasteboard(QClipboard& clipboard) : clipboard_(&clipboard) {}

QtPasteboard::QtPasteboard(const QMimeData& dragData) : snapshot_(copyOf(dragData)) {}

QtPasteboard::~QtPasteboard() = default;

template <typename F> auto QtPasteboard::read(F&& reader) const {
    if (snapshot_)
        return reader(snapshot_.get());
    return onGuiThread([&] { return reader(clipboard_->mimeData()); });
}

std::vector<Url> QtPasteboard::fileURLs() const {
    std::vector<Url> result;
    for (const Url& url : urls())
        if (url.isFileURL())
            result.push_back(url);
    return result;
}

std::vector<Url> QtPasteboard::urls() const {
    return read([](const QMimeData* mime) {
        std::vector<Url> result;
        if (mime && mime->hasUrls())
            for (const QUrl& url : mime->urls())
                if (auto converted = toUrl(url))
                    result.push_back(*converted);
        return result;
    });
}

bool QtPasteboard::hasImage() const {
    return read([](const QMimeData* mime) {
        return mime && (mime->hasImage() || mime->hasFormat("image/png") || mime->hasFormat("image/tiff"));
    });
}

std::optional<std::string> QtPasteboard::plainText() const {
    return read([](const QMimeData* mime) -> std::optional<std::string> {
        if (!mime)
            return std::nullopt;
        if (mime->hasText())
            return mime->text().toStdString();
        // Browsers may drag a selection as HTML only; the kit wants its text.
        if (mime->hasHtml())
            return QTextDocumentFragment::fromHtml(mime->html()).toPlainText().toStdString();
        return std::nullopt;
    });
}

std::optional<std::vector<std::uint8_t>> QtPasteboard::data(std::string_view mimeType) const {
    const QString type = QString::fromUtf8(mimeType.data(), static_cast<qsizetype>(mimeType.size()));
    return read([&](const QMimeData* mime) -> std::optional<std::vector<std::uint8_t>> {
        if (!mime)
            return std::nullopt;
        if (mime->hasFormat(type))
            return bytes(mime->data(type));
        // An image that another application put up in-process only (no encoded form):
        // encode it as PNG so the kit gets bytes.
        if (type == QLatin1String("image/png") && mime->hasImage()) {
            const auto image = qvariant_cast<QImage>(mime->imageData());
            QByteArray encoded;
            QBuffer buffer(&encoded);
            buffer.open(QIODevice::WriteOnly);
            if (!image.isNull() && image.save(&buffer, "PNG"))
                return bytes(encoded);
        }
        return std::nullopt;
    });
}

void QtPasteboard::replace(std::unique_ptr<QMimeData> data) {
    if (snapshot_) {
        snapshot_ = std::move(data);
        return;
    }
    // QClipboard takes ownership of the data.
    onGuiThread([&] { clipboard_->setMimeData(data.release()); });
}

void QtPasteboard::clear() {
    if (snapshot_) {
        snapshot_ = std::make_unique<QMimeData>();
        return;
    }
    onGuiThread([&] { clipboard_->clear(); });
}

void QtPasteboard::writeText(std::string_view text) {
    auto mime = std::make_unique<QMimeData>();
    mime->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    replace(std::move(mime));
}

void QtPasteboard::writeFileURL(const Url& fileURL) {
    const QUrl url = QUrl::fromEncoded(QByteArray::fromStdString(fileURL.absoluteString()));
    auto mime = std::make_unique<QMimeData>();
    mime->setUrls({url});
    mime->setData(gnomeCopiedFilesType, "copy\n" + url.toEncoded());
    replace(std::move(mime));
}

} // namespace tessellar::app

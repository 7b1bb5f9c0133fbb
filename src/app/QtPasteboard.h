#pragma once

#include "kit/platform/Pasteboard.h"

#include <QMimeData>
#include <memory>

class QClipboard;

namespace tessellar::app {

// The kit's Pasteboard over Qt: either the system clipboard or a copy of a drag's data.
// Qt types stop here; the kit only sees URLs, strings and bytes. Clipboard calls from a
// worker thread are carried out on the GUI thread, where QClipboard must be used.
class QtPasteboard final : public Pasteboard {
public:
    explicit QtPasteboard(QClipboard& clipboard);
    // A snapshot of a drag's data; writes change the snapshot only.
    explicit QtPasteboard(const QMimeData& dragData);
    ~QtPasteboard() override;

    std::vector<Url> fileURLs() const override;
    std::vector<Url> urls() const override;
    bool hasImage() const override;
    std::optional<std::string> plainText() const override;
    std::optional<std::vector<std::uint8_t>> data(std::string_view mimeType) const override;

    void clear() override;
    void writeText(std::string_view text) override;
    void writeFileURL(const Url& fileURL) override;

    // What a file manager reads to paste a copied file.
    static constexpr const char* gnomeCopiedFilesType = "x-special/gnome-copied-files";

private:
    template <typename F> auto read(F&& reader) const;
    void replace(std::unique_ptr<QMimeData> data);

    QClipboard* clipboard_ = nullptr;
    std::unique_ptr<QMimeData> snapshot_;
};

} // namespace tessellar::app

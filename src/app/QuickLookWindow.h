#pragma once

#include <QImage>
#include <QWidget>
#include <filesystem>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QScrollArea;

namespace tessellar::app {

// The in-app preview of a file: an image, the first page of a PDF, or the text of a text file.
// Emits closed() when the user closes it, so the panel may hide again.
class QuickLookWindow : public QWidget {
    Q_OBJECT
public:
    enum class Kind { image, pdf, text, unsupported };

    explicit QuickLookWindow(QWidget* parent = nullptr);

    // Shows the file; false (and nothing shown) when it cannot be previewed.
    bool preview(const std::filesystem::path& file);
    Kind kind() const { return kind_; }

    static Kind kindOf(const std::filesystem::path& file);
    // The first page at twice its size in points; absent for a missing, broken or locked PDF.
    static std::optional<QImage> renderFirstPdfPage(const std::filesystem::path& file);

    static constexpr qint64 maximumTextBytes = 1 << 20;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Kind kind_ = Kind::unsupported;
    QScrollArea* imageArea_;
    QLabel* image_;
    QPlainTextEdit* text_;
};

} // namespace tessellar::app

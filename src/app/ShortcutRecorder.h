#pragma once

#include "kit/storage/Preferences.h"

#include <QWidget>
#include <functional>
#include <optional>

namespace tessellar::app {

// The settings control that records a new global shortcut: click it, press a combination.
// Escape cancels; Delete (either one) asks for the default back.
class ShortcutRecorder : public QWidget {
    Q_OBJECT
public:
    using Shortcut = Preferences::Shortcut;

    explicit ShortcutRecorder(QWidget* parent = nullptr);

    void setShortcut(const Shortcut& shortcut);
    const Shortcut& shortcut() const { return shortcut_; }
    bool isRecording() const { return recording_; }
    QString displayText() const;

    void startRecording();

    std::function<void(const Shortcut&)> onRecord;
    std::function<void()> onClear;

    // The stored key code for a Qt key (shifted symbols give their unshifted key); absent
    // for keys the stored form has no code for.
    static std::optional<std::uint32_t> macKeyCode(int qtKey);
    static std::uint32_t carbonModifiers(Qt::KeyboardModifiers modifiers);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void stopRecording();
    void updateAccessibility();

    Shortcut shortcut_;
    bool recording_ = false;
    std::uint32_t pendingModifiers_ = 0;
};

} // namespace tessellar::app

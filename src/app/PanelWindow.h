#pragma once

#include "app/PanelPlacement.h"
#include "app/PanelState.h"
#include "kit/model/CapturedContent.h"

#include <QTimer>
#include <QWidget>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QHBoxLayout;

namespace tessellar::app {

// The floating panel: a frameless, always-on-top tool window placed near the top of the screen
// under the pointer. It renders a PanelState and reports what the user asks for as signals; it
// decides nothing about content itself. It hides on Escape (through its driver) and when the
// user clicks or switches away, but only once it was really activated and never during a drag.
class PanelWindow : public QWidget {
    Q_OBJECT
public:
    explicit PanelWindow(QWidget* parent = nullptr);

    void setState(const PanelState& state);
    const PanelState& state() const { return state_; }

    // Places the panel on the screen under the pointer, shows and activates it.
    void present();
    // Hides the panel and forgets its pinned place.
    void dismiss();
    bool isPresented() const { return isVisible(); }

    // While a chooser, alert or preview is on screen the panel never hides by itself.
    void setAuxiliaryUIShown(bool shown) { auxiliaryUI_ = shown; }

    static constexpr int panelWidth = 560;
    static constexpr int panelMinimumHeight = 160;

signals:
    void captureRequested(const tessellar::CapturedContent& content);
    void typedTextSubmitted(const QString& text);
    void useClipboardRequested();
    void actionActivated(int row);
    void selectionMoveRequested(int delta);
    void activateSelectionRequested();
    void moreActionsToggled();
    void recoveryChosen(tessellar::TessellarError::Recovery recovery);
    void confirmationResolved(const std::optional<std::string>& value);
    void promptResolved(const std::optional<std::string>& value);
    void consentResolved(bool granted);
    void copyRequested(const std::string& text);
    void escapeRequested();
    void dragHoverChanged(bool hovering);
    // The panel hid itself (click or switch away).
    void dismissed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool handleKey(QKeyEvent* event);
    void render();
    void renderActions();
    void renderError();
    void place();
    void repinToCurrentScreen();
    void moveTo(const PlacementRect& visibleFrame);
    void beginDeferredHide();
    void checkDeferredHide();

    PanelState state_;
    bool armed_ = false;    // activated at least once since shown
    bool dragging_ = false; // a drag hovers over the panel
    bool auxiliaryUI_ = false;
    bool droppedWhileDeferred_ = false;
    QTimer deferredHide_;
    std::optional<PlacementRect> pinnedFrame_; // y-up coordinates
    std::optional<double> pinnedTopY_;
    std::optional<double> pinnedCenterX_;

    QLabel* headline_;
    QLabel* subline_;
    QLineEdit* input_;
    QPushButton* clipboardButton_;
    QLabel* facts_;
    QLabel* suggested_;
    QListWidget* actions_;
    QPushButton* moreButton_;
    QLabel* status_;
    QWidget* errorBox_;
    QLabel* errorMessage_;
    QHBoxLayout* recoveryButtons_;
    QWidget* confirmBox_;
    QLabel* confirmRationale_;
    QLineEdit* confirmValue_;
    QPushButton* confirmButton_;
    QWidget* promptBox_;
    QLineEdit* promptValue_;
    QWidget* outputBox_;
    QPlainTextEdit* outputBody_;
    QWidget* consentBox_;
    QLabel* consentSentence_;
    QLabel* privacy_;
};

} // namespace tessellar::app

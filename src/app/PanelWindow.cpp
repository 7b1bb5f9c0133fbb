#include "app/PanelWindow.h"

#include "app/PointerButtons.h"
#include "app/QtPasteboard.h"
#include "kit/capture/ContentIngestor.h"

#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

namespace tessellar::app {
namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* wrappingLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Virtual-desktop height, so Qt's y-down geometry can be turned into the y-up frames the
// placement math uses.
double desktopBottom() {
    double bottom = 0;
    for (QScreen* screen : QGuiApplication::screens())
        bottom = std::max(bottom, double(screen->geometry().y() + screen->geometry().height()));
    return bottom;
}

PlacementRect upward(const QRect& rect) {
    return PanelPlacement::flipped(
        {double(rect.x()), double(rect.y()), double(rect.width()), double(rect.height())}, desktopBottom());
}

} // namespace

PanelWindow::PanelWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setWindowTitle(QStringLiteral("Tessellar"));
    setObjectName(QStringLiteral("TessellarPanel"));
    setAcceptDrops(true);
    setFixedWidth(panelWidth);
    setMinimumHeight(panelMinimumHeight);

    auto* layout = new QVBoxLayout(this);
    headline_ = wrappingLabel(this);
    QFont bold = headline_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    headline_->setFont(bold);
    subline_ = wrappingLabel(this);
    input_ = new QLineEdit(this);
    input_->setAccessibleName(QStringLiteral("Content to analyze"));
    input_->setAcceptDrops(false); // drops go to the panel, which ingests every kind
    clipboardButton_ = new QPushButton(this);
    facts_ = wrappingLabel(this);
    suggested_ = new QLabel(QStringLiteral("Suggested"), this);
    actions_ = new QListWidget(this);
    actions_->setObjectName(QStringLiteral("actions"));
    actions_->setAcceptDrops(false);
    moreButton_ = new QPushButton(this);
    status_ = wrappingLabel(this);

    errorBox_ = new QWidget(this);
    auto* errorLayout = new QVBoxLayout(errorBox_);
    errorMessage_ = wrappingLabel(errorBox_);
    errorLayout->addWidget(errorMessage_);
    recoveryButtons_ = new QHBoxLayout;
    errorLayout->addLayout(recoveryButtons_);

    confirmBox_ = new QWidget(this);
    auto* confirmLayout = new QVBoxLayout(confirmBox_);
    confirmRationale_ = wrappingLabel(confirmBox_);
    confirmValue_ = new QLineEdit(confirmBox_);
    auto* confirmButtons = new QHBoxLayout;
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), confirmBox_);
    confirmButton_ = new QPushButton(confirmBox_);
    confirmButton_->setDefault(true);
    confirmButtons->addWidget(cancel);
    confirmButtons->addWidget(confirmButton_);
    confirmLayout->addWidget(confirmRationale_);
    confirmLayout->addWidget(confirmValue_);
    confirmLayout->addLayout(confirmButtons);
    connect(cancel, &QPushButton::clicked, this, [this] { emit confirmationResolved(std::nullopt); });
    connect(confirmButton_, &QPushButton::clicked, this,
            [this] { emit confirmationResolved(confirmValue_->text().toStdString()); });

    promptBox_ = new QWidget(this);
    auto* promptLayout = new QVBoxLayout(promptBox_);
    promptValue_ = new QLineEdit(promptBox_);
    promptLayout->addWidget(promptValue_);
    connect(promptValue_, &QLineEdit::returnPressed, this,
            [this] { emit promptResolved(promptValue_->text().toStdString()); });

    outputBox_ = new QWidget(this);
    auto* outputLayout = new QVBoxLayout(outputBox_);
    outputBody_ = new QPlainTextEdit(outputBox_);
    outputBody_->setReadOnly(true);
    auto* outputButtons = new QHBoxLayout;
    auto* copy = new QPushButton(QStringLiteral("Copy"), outputBox_);
    auto* done = new QPushButton(QStringLiteral("Done"), outputBox_);
    outputButtons->addWidget(copy);
    outputButtons->addWidget(done);
    outputLayout->addWidget(outputBody_);
    outputLayout->addLayout(outputButtons);
    connect(copy, &QPushButton::clicked, this, [this] { emit copyRequested(state_.outputBody); });
    connect(done, &QPushButton::clicked, this, &PanelWindow::escapeRequested);

    consentBox_ = new QWidget(this);
    auto* consentLayout = new QVBoxLayout(consentBox_);
    consentSentence_ = wrappingLabel(consentBox_);
    auto* consentNote = wrappingLabel(consentBox_);
    consentNote->setText(
        QStringLiteral("Nothing else is sent, and this is the only time you\u2019ll be asked. You "
                       "can turn the provider off in Settings."));
    auto* consentButtons = new QHBoxLayout;
    auto* notNow = new QPushButton(QStringLiteral("Not Now"), consentBox_);
    auto* send = new QPushButton(QStringLiteral("Send"), consentBox_);
    consentButtons->addWidget(notNow);
    consentButtons->addWidget(send);
    consentLayout->addWidget(consentSentence_);
    consentLayout->addWidget(consentNote);
    consentLayout->addLayout(consentButtons);
    connect(notNow, &QPushButton::clicked, this, [this] { emit consentResolved(false); });
    connect(send, &QPushButton::clicked, this, [this] { emit consentResolved(true); });

    privacy_ = wrappingLabel(this);

    for (QWidget* widget :
         {static_cast<QWidget*>(headline_), static_cast<QWidget*>(subline_), static_cast<QWidget*>(input_),
          static_cast<QWidget*>(clipboardButton_), static_cast<QWidget*>(facts_),
          static_cast<QWidget*>(suggested_), static_cast<QWidget*>(actions_),
          static_cast<QWidget*>(moreButton_), errorBox_, confirmBox_, promptBox_, outputBox_, consentBox_,
          static_cast<QWidget*>(status_), static_cast<QWidget*>(privacy_)})
        layout->addWidget(widget);
    setTabOrder(input_, clipboardButton_);
    setTabOrder(clipboardButton_, actions_);
    setTabOrder(actions_, moreButton_);

    connect(input_, &QLineEdit::returnPressed, this, [this] {
        if (state_.stage != PanelState::Stage::result)
            emit typedTextSubmitted(input_->text());
    });
    connect(clipboardButton_, &QPushButton::clicked, this, &PanelWindow::useClipboardRequested);
    connect(moreButton_, &QPushButton::clicked, this, &PanelWindow::moreActionsToggled);
    connect(actions_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { emit actionActivated(actions_->row(item)); });

    // Keys reach the panel whichever child has focus.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    deferredHide_.setInterval(100);
    connect(&deferredHide_, &QTimer::timeout, this, &PanelWindow::checkDeferredHide);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, &PanelWindow::repinToCurrentScreen);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &PanelWindow::repinToCurrentScreen);

    render();
}

void PanelWindow::setState(const PanelState& state) {
    const bool stageChanged = state.stage != state_.stage;
    state_ = state;
    render();
    if (stageChanged && state_.stage == PanelState::Stage::empty)
        input_->clear();
}

void PanelWindow::render() {
    using Stage = PanelState::Stage;
    const Stage stage = state_.stage;
    switch (stage) {
    case Stage::empty:
        headline_->setText(QStringLiteral("Drop anything, or type here"));
        subline_->setText(QStringLiteral("Files, screenshots, links, or text"));
        break;
    case Stage::analyzing:
        headline_->setText(q(state_.message));
        subline_->clear();
        break;
    case Stage::confirming:
        headline_->setText(state_.confirmation ? q(state_.confirmation->title) : QString());
        subline_->clear();
        break;
    case Stage::prompting:
        headline_->setText(q(state_.promptText));
        subline_->clear();
        break;
    case Stage::output:
        headline_->setText(q(state_.outputTitle));
        subline_->clear();
        break;
    case Stage::consent:
        headline_->setText(QStringLiteral("Leaving this Mac"));
        subline_->clear();
        break;
    case Stage::result:
        headline_->setText(q(state_.itemTitle));
        subline_->setText(state_.headline ? q(*state_.headline) : QString());
        break;
    }
    subline_->setVisible(!subline_->text().isEmpty());

    const bool entry = stage == Stage::empty;
    input_->setVisible(entry || stage == Stage::result);
    clipboardButton_->setVisible(entry);
    clipboardButton_->setText(state_.clipboardHint
                                  ? QStringLiteral("Use Clipboard \u00B7 ") + q(*state_.clipboardHint)
                                  : QStringLiteral("Use Clipboard"));

    QStringList factLines;
    for (const PanelFact& fact : state_.facts)
        factLines << q(fact.label) + QStringLiteral(": ") + q(fact.value);
    facts_->setText(factLines.join(QLatin1Char('\n')));
    facts_->setVisible(stage == Stage::result && !factLines.isEmpty());

    renderActions();
    renderError();

    confirmBox_->setVisible(stage == Stage::confirming && state_.confirmation.has_value());
    if (state_.confirmation) {
        confirmRationale_->setText(q(state_.confirmation->rationale));
        confirmButton_->setText(q(state_.confirmation->confirmLabel));
        if (stage == Stage::confirming && !confirmValue_->hasFocus())
            confirmValue_->setText(q(state_.confirmation->value));
    }
    promptBox_->setVisible(stage == Stage::prompting);
    promptValue_->setPlaceholderText(q(state_.promptPlaceholder));
    outputBox_->setVisible(stage == Stage::output);
    outputBody_->setPlainText(q(state_.outputBody));
    consentBox_->setVisible(stage == Stage::consent);
    consentSentence_->setText(QStringLiteral("Tessellar will send ") + q(state_.consentSummary) +
                              QStringLiteral(" to ") + q(state_.consentProvider) + QStringLiteral("."));

    status_->setText(state_.statusMessage ? q(*state_.statusMessage) : QString());
    status_->setVisible(state_.statusMessage.has_value());
    privacy_->setText(state_.privacyNote ? q(*state_.privacyNote) : QString());
    privacy_->setVisible(stage == Stage::result && state_.privacyNote.has_value());
    adjustSize();
}

void PanelWindow::renderActions() {
    const bool show = state_.stage == PanelState::Stage::result && !state_.actions.empty();
    actions_->clear();
    for (std::size_t i = 0; i < state_.actions.size(); ++i) {
        const PanelActionRow& row = state_.actions[i];
        // The first nine rows carry the number that picks them.
        QString text = i < 9 ? QString::number(i + 1) + QStringLiteral("  ") : QStringLiteral("    ");
        text += q(row.title);
        if (!row.subtitle.empty())
            text += QStringLiteral(" \u2014 ") + q(row.subtitle);
        if (row.completed)
            text += QStringLiteral("  \u2713");
        auto* item = new QListWidgetItem(text, actions_);
        QString accessible = q(row.title);
        if (row.sendsData) {
            item->setToolTip(QStringLiteral("Sends this content to your AI provider"));
            accessible += QStringLiteral(", sends content to your AI provider");
        }
        if (row.completed)
            accessible += QStringLiteral(", already run");
        item->setData(Qt::AccessibleTextRole, accessible);
        if (!row.enabled)
            item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
    }
    if (state_.selectedIndex >= 0 && state_.selectedIndex < actions_->count())
        actions_->setCurrentRow(state_.selectedIndex);
    actions_->setVisible(show);
    suggested_->setVisible(show);
    moreButton_->setVisible(show && state_.hasMoreActions);
    moreButton_->setText(state_.showsAllActions ? QStringLiteral("Fewer actions")
                                                : QStringLiteral("More actions\u2026"));
    if (show)
        actions_->setFixedHeight(actions_->sizeHintForRow(0) *
                                     int(std::min<std::size_t>(state_.actions.size(), 8)) +
                                 2 * actions_->frameWidth());
}

void PanelWindow::renderError() {
    const std::optional<TessellarError>& shown = state_.error ? state_.error : state_.warning;
    errorBox_->setVisible(shown.has_value());
    while (QLayoutItem* item = recoveryButtons_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (!shown)
        return;
    errorMessage_->setText(QStringLiteral("\u26A0 ") + q(shown->message()));
    for (TessellarError::Recovery recovery : shown->recovery()) {
        auto* button = new QPushButton(q(std::string(TessellarError::title(recovery))), errorBox_);
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, recovery] { emit recoveryChosen(recovery); });
        recoveryButtons_->addWidget(button);
    }
}

bool PanelWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event)))
        return true;
    // Drag events are handled by the panel itself, never by a child.
    return QWidget::eventFilter(watched, event);
}

void PanelWindow::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(event))
        QWidget::keyPressEvent(event);
}

bool PanelWindow::handleKey(QKeyEvent* event) {
    using Stage = PanelState::Stage;
    const Stage stage = state_.stage;
    const bool editing = stage == Stage::confirming || stage == Stage::prompting;
    switch (event->key()) {
    case Qt::Key_Escape:
        emit escapeRequested();
        return true;
    case Qt::Key_Up:
        emit selectionMoveRequested(-1);
        return true;
    case Qt::Key_Down:
        emit selectionMoveRequested(+1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (stage == Stage::result) {
            emit activateSelectionRequested();
            return true;
        }
        return false;
    case Qt::Key_V:
        if (event->modifiers() == Qt::ControlModifier && !editing) {
            emit useClipboardRequested();
            return true;
        }
        return false;
    case Qt::Key_K:
        if (event->modifiers() == Qt::ControlModifier) {
            emit moreActionsToggled();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void PanelWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* mime = event->mimeData();
    if (!mime || !(mime->hasUrls() || mime->hasText() || mime->hasHtml() || mime->hasImage() ||
                   mime->hasFormat(QStringLiteral("image/png")))) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    dragging_ = true;
    emit dragHoverChanged(true);
}

void PanelWindow::dragLeaveEvent(QDragLeaveEvent* event) {
    dragging_ = false;
    emit dragHoverChanged(false);
    QWidget::dragLeaveEvent(event);
}

void PanelWindow::dropEvent(QDropEvent* event) {
    dragging_ = false;
    emit dragHoverChanged(false);
    if (!event->mimeData()) {
        event->ignore();
        return;
    }
    const QtPasteboard pasteboard(*event->mimeData());
    CapturedContent content = ContentIngestor::capture(pasteboard, SourceType::drop);
    if (content.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    droppedWhileDeferred_ = true;
    emit captureRequested(content);
}

void PanelWindow::present() {
    if (!isVisible())
        place();
    show();
    raise();
    activateWindow();
    input_->setFocus();
}

void PanelWindow::dismiss() {
    deferredHide_.stop();
    auxiliaryUI_ = false;
    armed_ = false;
    dragging_ = false;
    hide();
    pinnedFrame_.reset();
    pinnedTopY_.reset();
    pinnedCenterX_.reset();
}

void PanelWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isVisible())
        return;
    if (isActiveWindow()) {
        armed_ = true;
        return;
    }
    // Losing focus right after showing (before the window manager activated us) is no reason to
    // hide; neither is a drag on its way to the panel or an open chooser.
    if (armed_ && !dragging_ && !auxiliaryUI_)
        beginDeferredHide();
}

void PanelWindow::beginDeferredHide() {
    if (deferredHide_.isActive())
        return;
    droppedWhileDeferred_ = false;
    deferredHide_.start();
}

void PanelWindow::checkDeferredHide() {
    if (anyPointerButtonPressed())
        return;
    deferredHide_.stop();
    // A click outside may be the start of a drag onto the panel: decide once the drop had time
    // to arrive.
    QTimer::singleShot(200, this, [this] {
        if (!isVisible())
            return;
        if (droppedWhileDeferred_ || auxiliaryUI_ || dragging_) {
            droppedWhileDeferred_ = false;
            raise();
            activateWindow();
            return;
        }
        if (!isActiveWindow()) {
            dismiss();
            emit dismissed();
        }
    });
}

void PanelWindow::place() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return;
    std::vector<PlacementRect> frames;
    for (QScreen* screen : screens)
        frames.push_back(upward(screen->geometry()));
    const QPoint cursor = QCursor::pos();
    const double bottom = desktopBottom();
    QScreen* chosen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen() : screens.front();
    if (auto index = PanelPlacement::indexOfScreen(cursor.x(), bottom - cursor.y(), frames))
        chosen = screens[int(*index)];
    moveTo(upward(chosen->availableGeometry()));
}

void PanelWindow::moveTo(const PlacementRect& visibleFrame) {
    pinnedFrame_ = visibleFrame;
    pinnedTopY_ = PanelPlacement::topY(visibleFrame);
    pinnedCenterX_ = visibleFrame.midX();
    // On Wayland the compositor places windows; asking to move is ignored there.
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        return;
    const QSize size = frameSize().isValid() ? frameSize() : sizeHint();
    const PlacementPoint origin =
        PanelPlacement::origin(size.width(), size.height(), *pinnedTopY_, *pinnedCenterX_, visibleFrame);
    const QPoint target(int(origin.x), int(desktopBottom() - origin.y - size.height()));
    if (std::abs(target.x() - pos().x()) > 0 || std::abs(target.y() - pos().y()) > 0)
        move(target);
}

void PanelWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Keep the top edge and the centre where they were while the content grows or shrinks.
    if (pinnedFrame_ && pinnedTopY_ && pinnedCenterX_ && isVisible())
        moveTo(*pinnedFrame_);
}

void PanelWindow::repinToCurrentScreen() {
    if (!isVisible())
        return;
    const QList<QScreen*> screens = QGuiApplication::screens();
    std::vector<PlacementRect> frames;
    for (QScreen* screen : screens)
        frames.push_back(upward(screen->geometry()));
    const PlacementRect own = upward(frameGeometry());
    if (auto index = PanelPlacement::indexOfScreen(own.midX(), own.midY(), frames))
        moveTo(upward(screens[int(*index)]->availableGeometry()));
    else
        place();
}

} // namespace tessellar::app

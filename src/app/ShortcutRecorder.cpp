#include "app/ShortcutRecorder.h"

#include "app/KeyTranslation.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <array>
#include <utility>

namespace tessellar::app {
namespace {

// Qt keys to Mac ANSI key codes; shifted symbols map to the key that types them.
constexpr std::pair<int, std::uint32_t> keyCodes[] = {
    {Qt::Key_A, 0},
    {Qt::Key_S, 1},
    {Qt::Key_D, 2},
    {Qt::Key_F, 3},
    {Qt::Key_H, 4},
    {Qt::Key_G, 5},
    {Qt::Key_Z, 6},
    {Qt::Key_X, 7},
    {Qt::Key_C, 8},
    {Qt::Key_V, 9},
    {Qt::Key_B, 11},
    {Qt::Key_Q, 12},
    {Qt::Key_W, 13},
    {Qt::Key_E, 14},
    {Qt::Key_R, 15},
    {Qt::Key_Y, 16},
    {Qt::Key_T, 17},
    {Qt::Key_O, 31},
    {Qt::Key_U, 32},
    {Qt::Key_I, 34},
    {Qt::Key_P, 35},
    {Qt::Key_L, 37},
    {Qt::Key_J, 38},
    {Qt::Key_K, 40},
    {Qt::Key_N, 45},
    {Qt::Key_M, 46},
    {Qt::Key_1, 18},
    {Qt::Key_Exclam, 18},
    {Qt::Key_2, 19},
    {Qt::Key_At, 19},
    {Qt::Key_3, 20},
    {Qt::Key_NumberSign, 20},
    {Qt::Key_4, 21},
    {Qt::Key_Dollar, 21},
    {Qt::Key_5, 23},
    {Qt::Key_Percent, 23},
    {Qt::Key_6, 22},
    {Qt::Key_AsciiCircum, 22},
    {Qt::Key_7, 26},
    {Qt::Key_Ampersand, 26},
    {Qt::Key_8, 28},
    {Qt::Key_Asterisk, 28},
    {Qt::Key_9, 25},
    {Qt::Key_ParenLeft, 25},
    {Qt::Key_0, 29},
    {Qt::Key_ParenRight, 29},
    {Qt::Key_Equal, 24},
    {Qt::Key_Plus, 24},
    {Qt::Key_Minus, 27},
    {Qt::Key_Underscore, 27},
    {Qt::Key_BracketRight, 30},
    {Qt::Key_BraceRight, 30},
    {Qt::Key_BracketLeft, 33},
    {Qt::Key_BraceLeft, 33},
    {Qt::Key_Apostrophe, 39},
    {Qt::Key_QuoteDbl, 39},
    {Qt::Key_Semicolon, 41},
    {Qt::Key_Colon, 41},
    {Qt::Key_Backslash, 42},
    {Qt::Key_Bar, 42},
    {Qt::Key_Comma, 43},
    {Qt::Key_Less, 43},
    {Qt::Key_Slash, 44},
    {Qt::Key_Question, 44},
    {Qt::Key_Period, 47},
    {Qt::Key_Greater, 47},
    {Qt::Key_QuoteLeft, 50},
    {Qt::Key_AsciiTilde, 50},
    {Qt::Key_Return, 36},
    {Qt::Key_Tab, 48},
    {Qt::Key_Space, 49},
    {Qt::Key_Backspace, 51},
    {Qt::Key_Escape, 53},
    {Qt::Key_Enter, 76},
    {Qt::Key_Home, 115},
    {Qt::Key_PageUp, 116},
    {Qt::Key_Delete, 117},
    {Qt::Key_End, 119},
    {Qt::Key_PageDown, 121},
    {Qt::Key_Left, 123},
    {Qt::Key_Right, 124},
    {Qt::Key_Down, 125},
    {Qt::Key_Up, 126},
};

constexpr std::array<std::uint32_t, 16> functionKeyCodes{122, 120, 99,  118, 96,  97,  98,  100,
                                                         101, 109, 103, 111, 105, 107, 113, 106};

// The Carbon bit of a modifier key itself; 0 for other keys. Qt leaves a modifier key's
// own bit out of (or flips it in) the event's modifiers, so it is added or removed here.
std::uint32_t modifierBit(int key) {
    switch (key) {
    case Qt::Key_Shift:
        return carbon::shift;
    case Qt::Key_Control:
        return carbon::control;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return carbon::option;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return carbon::command;
    default:
        return 0;
    }
}

} // namespace

ShortcutRecorder::ShortcutRecorder(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Shortcut for opening Tessellar"));
    updateAccessibility();
}

std::optional<std::uint32_t> ShortcutRecorder::macKeyCode(int qtKey) {
    for (const auto& [key, code] : keyCodes)
        if (key == qtKey)
            return code;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F16)
        return functionKeyCodes[static_cast<std::size_t>(qtKey - Qt::Key_F1)];
    if (qtKey == Qt::Key_Insert || qtKey == Qt::Key_Help)
        return 114;
    return std::nullopt;
}

// Alt is Option and Super is Command, as when the shortcut is grabbed.
std::uint32_t ShortcutRecorder::carbonModifiers(Qt::KeyboardModifiers modifiers) {
    std::uint32_t bits = 0;
    if (modifiers & Qt::MetaModifier)
        bits |= carbon::command;
    if (modifiers & Qt::ShiftModifier)
        bits |= carbon::shift;
    if (modifiers & Qt::AltModifier)
        bits |= carbon::option;
    if (modifiers & Qt::ControlModifier)
        bits |= carbon::control;
    return bits;
}

void ShortcutRecorder::setShortcut(const Shortcut& shortcut) {
    shortcut_ = shortcut;
    updateAccessibility();
    update();
}

QString ShortcutRecorder::displayText() const {
    if (!recording_)
        return QString::fromStdString(shortcut_.displayString());
    if (pendingModifiers_ == 0)
        return QStringLiteral("Press a key\u2026");
    return QString::fromStdString(Shortcut::modifierDisplayString(pendingModifiers_)) +
           QStringLiteral("\u2026");
}

void ShortcutRecorder::startRecording() {
    recording_ = true;
    pendingModifiers_ = 0;
    setFocus(Qt::OtherFocusReason);
    updateAccessibility();
    update();
}

void ShortcutRecorder::stopRecording() {
    recording_ = false;
    pendingModifiers_ = 0;
    updateAccessibility();
    update();
}

void ShortcutRecorder::updateAccessibility() {
    setAccessibleDescription(recording_ ? QStringLiteral("Recording. Press a key combination.")
                                        : displayText());
}

QSize ShortcutRecorder::sizeHint() const {
    return {160, fontMetrics().height() + 14};
}

void ShortcutRecorder::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.text = displayText();
    if (recording_)
        option.state |= QStyle::State_Sunken;
    style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
}

void ShortcutRecorder::mousePressEvent(QMouseEvent*) {
    if (recording_)
        stopRecording();
    else
        startRecording();
}

void ShortcutRecorder::keyPressEvent(QKeyEvent* event) {
    if (!recording_) {
        if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier)
            startRecording(); // the keyboard way to press the control
        else
            QWidget::keyPressEvent(event);
        return;
    }
    const int key = event->key();
    if (const auto bit = modifierBit(key)) {
        pendingModifiers_ = carbonModifiers(event->modifiers()) | bit;
        update();
        return;
    }
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
        stopRecording();
        if (onClear)
            onClear();
        return;
    }
    if (key == Qt::Key_Escape) {
        stopRecording();
        return;
    }
    const auto code = macKeyCode(key);
    if (!code)
        return; // a key the stored form cannot name: keep listening
    const Shortcut recorded{*code, carbonModifiers(event->modifiers())};
    stopRecording();
    if (onRecord)
        onRecord(recorded);
}

void ShortcutRecorder::keyReleaseEvent(QKeyEvent* event) {
    if (const auto bit = modifierBit(event->key()); recording_ && bit) {
        pendingModifiers_ = carbonModifiers(event->modifiers()) & ~bit;
        update();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void ShortcutRecorder::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (recording_)
        stopRecording();
}

} // namespace tessellar::app

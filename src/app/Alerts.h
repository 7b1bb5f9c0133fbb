#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace tessellar::app {

// A modal question with its buttons; the answer is the chosen button's title.
struct Alert {
    enum class Style { informational, warning };
    Style style = Style::informational;
    QString message;
    QString text;
    QStringList buttons;
    bool operator==(const Alert&) const = default;
};

// Alerts go through this, so the windows can be driven in tests with preset answers.
class Alerts {
public:
    virtual ~Alerts() = default;
    // Returns the title of the chosen button; the last button when the alert is dismissed.
    virtual QString ask(const Alert& alert) = 0;
};

// The desktop's message box, brought to the front first.
class MessageBoxAlerts : public Alerts {
public:
    explicit MessageBoxAlerts(QWidget* parent = nullptr) : parent_(parent) {}
    QString ask(const Alert& alert) override;

private:
    QWidget* parent_;
};

} // namespace tessellar::app

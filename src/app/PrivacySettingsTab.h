#pragma once

#include "app/SettingsServices.h"

#include <QWidget>
#include <thread>

class QLabel;
class QPushButton;

namespace tessellar::app {

// What leaves the machine, asking again for consent, and clearing the history.
class PrivacySettingsTab : public QWidget {
    Q_OBJECT
public:
    explicit PrivacySettingsTab(SettingsServices& services, QWidget* parent = nullptr);
    ~PrivacySettingsTab() override;

    QString providerLine() const;
    QPushButton& askAgain() { return *askAgain_; }
    QPushButton& clearHistory() { return *clear_; }
    bool didClear() const { return didClear_; }

    void refresh();

signals:
    void cleared();

private:
    void clear();

    SettingsServices& services_;
    QLabel* providerIcon_;
    QLabel* providerLine_;
    QPushButton* askAgain_;
    QPushButton* clear_;
    bool didClear_ = false;
    std::jthread worker_;
};

} // namespace tessellar::app

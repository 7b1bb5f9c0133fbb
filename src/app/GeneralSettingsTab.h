#pragma once

#include "app/SettingsServices.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace tessellar::app {

class ShortcutRecorder;

// Opening at login, the global shortcut, how long items are kept, and the update check.
class GeneralSettingsTab : public QWidget {
    Q_OBJECT
public:
    explicit GeneralSettingsTab(SettingsServices& services, QWidget* parent = nullptr);

    QCheckBox& launchAtLogin() { return *launchAtLogin_; }
    QString loginItemMessage() const;
    ShortcutRecorder& recorder() { return *recorder_; }
    QString shortcutError() const;
    QComboBox& retention() { return *retention_; }
    QPushButton* checkForUpdates() { return checkForUpdates_; }

    // Re-reads the stored values into the controls.
    void refresh();

    static QString loginItemMessage(AutostartEntry::Status status, const std::optional<QString>& error);

private:
    void setLaunchAtLogin(bool on);
    void applyShortcut(const Preferences::Shortcut& shortcut);
    void showLoginItemStatus();

    SettingsServices& services_;
    std::optional<QString> launchAtLoginError_;
    QCheckBox* launchAtLogin_;
    QLabel* loginMessage_;
    QPushButton* openLoginItems_;
    ShortcutRecorder* recorder_;
    QLabel* shortcutError_;
    QComboBox* retention_;
    QPushButton* checkForUpdates_ = nullptr;
};

} // namespace tessellar::app

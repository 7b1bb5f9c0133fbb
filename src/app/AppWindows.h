#pragma once

#include "app/Alerts.h"
#include "app/SettingsServices.h"

#include <QObject>
#include <memory>

namespace tessellar::app {

class AppEnvironment;
class InboxWindow;
class SettingsWindow;
class ShortcutBinder;
class UpdatePresenter;

// The windows the tray opens (the inbox, the settings, the update check), built once the
// preferences have loaded and kept for the life of the app.
class AppWindows : public QObject {
    Q_OBJECT
public:
    explicit AppWindows(AppEnvironment& environment, QObject* parent = nullptr);
    ~AppWindows() override;

    void showInbox();
    void showSettings();
    void checkForUpdates();

private:
    AppEnvironment& environment_;
    MessageBoxAlerts alerts_;
    std::unique_ptr<UpdatePresenter> updates_;
    std::unique_ptr<ShortcutBinder> binder_;
    SettingsServices settingsServices_;
    std::unique_ptr<InboxWindow> inbox_;
    std::unique_ptr<SettingsWindow> settings_;
};

} // namespace tessellar::app

#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace tessellar::app {

// The tray icon and its menu. Desktops without a tray host (GNOME without an extension) are
// normal: the controller keeps retrying for a while after login and the app works without it.
class TrayController : public QObject {
    Q_OBJECT
public:
    explicit TrayController(QObject* parent = nullptr);
    ~TrayController() override;

    // Shows the icon now when a tray host is there, else retries in the background.
    void install();
    bool isInstalled() const { return installed_; }

    // Puts the shortcut on "Open Tessellar", or marks it unavailable under it.
    void setShortcut(const QString& displayText, bool isBound);
    void setCheckingForUpdates(bool checking);
    // Recent Items… and Settings… open windows that may not exist yet.
    void setWindowsAvailable(bool available);

    QMenu* menu() const { return menu_.get(); }

    static constexpr int retryIntervalMs = 2000;
    static constexpr int maximumRetries = 60;

signals:
    void openPanelRequested();
    void openInboxRequested();
    void openSettingsRequested();
    void checkForUpdatesRequested();
    void quitRequested();
    void installedChanged(bool installed);

private:
    void tryInstall();

    std::unique_ptr<QMenu> menu_;
    QSystemTrayIcon* icon_ = nullptr;
    QAction* open_;
    QAction* unavailable_ = nullptr;
    QAction* inbox_;
    QAction* settings_;
    QAction* updates_;
    QTimer retry_;
    int retries_ = 0;
    bool installed_ = false;
};

} // namespace tessellar::app

#include "app/TrayController.h"

#include "app/AppIcon.h"
#include "kit/base/Log.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace tessellar::app {

TrayController::TrayController(QObject* parent) : QObject(parent), menu_(std::make_unique<QMenu>()) {
    open_ = menu_->addAction(QStringLiteral("Open Tessellar"));
    inbox_ = menu_->addAction(QStringLiteral("Recent Items\u2026"));
    menu_->addSeparator();
    settings_ = menu_->addAction(QStringLiteral("Settings\u2026"));
    updates_ = menu_->addAction(QStringLiteral("Check for Updates\u2026"));
    menu_->addSeparator();
    QAction* quit = menu_->addAction(QStringLiteral("Quit Tessellar"));
    connect(open_, &QAction::triggered, this, &TrayController::openPanelRequested);
    connect(inbox_, &QAction::triggered, this, &TrayController::openInboxRequested);
    connect(settings_, &QAction::triggered, this, &TrayController::openSettingsRequested);
    connect(updates_, &QAction::triggered, this, &TrayController::checkForUpdatesRequested);
    connect(quit, &QAction::triggered, this, &TrayController::quitRequested);
    setWindowsAvailable(false);

    retry_.setInterval(retryIntervalMs);
    connect(&retry_, &QTimer::timeout, this, &TrayController::tryInstall);
}

TrayController::~TrayController() = default;

void TrayController::install() {
    tryInstall();
}

void TrayController::tryInstall() {
    if (installed_)
        return;
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        if (retries_ == 0)
            Log::notice(Log::Category::ui,
                        "No system tray yet; the shortcut and `tessellar --toggle` open the panel");
        if (++retries_ > maximumRetries) {
            retry_.stop();
            return;
        }
        retry_.start();
        return;
    }
    retry_.stop();
    icon_ = new QSystemTrayIcon(appIcon(), this);
    icon_->setToolTip(QStringLiteral("Tessellar"));
    icon_->setContextMenu(menu_.get());
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            emit openPanelRequested();
    });
    icon_->show();
    installed_ = true;
    Log::info(Log::Category::ui, "Tray icon installed");
    emit installedChanged(true);
}

void TrayController::setShortcut(const QString& displayText, bool isBound) {
    if (isBound) {
        open_->setText(QStringLiteral("Open Tessellar\t") + displayText);
        if (unavailable_) {
            menu_->removeAction(unavailable_);
            unavailable_->deleteLater();
            unavailable_ = nullptr;
        }
        return;
    }
    open_->setText(QStringLiteral("Open Tessellar"));
    const QString title = displayText + QStringLiteral(" is unavailable \u2014 change it in Settings");
    if (!unavailable_) {
        unavailable_ = new QAction(title, menu_.get());
        unavailable_->setEnabled(false);
        menu_->insertAction(inbox_, unavailable_);
    } else {
        unavailable_->setText(title);
    }
}

void TrayController::setCheckingForUpdates(bool checking) {
    updates_->setText(checking ? QStringLiteral("Checking for Updates\u2026")
                               : QStringLiteral("Check for Updates\u2026"));
    updates_->setEnabled(!checking);
}

void TrayController::setWindowsAvailable(bool available) {
    inbox_->setEnabled(available);
    settings_->setEnabled(available);
    updates_->setEnabled(available);
}

} // namespace tessellar::app

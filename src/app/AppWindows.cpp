#include "app/AppWindows.h"

#include "app/AppEnvironment.h"
#include "app/InboxWindow.h"
#include "app/SettingsWindow.h"
#include "app/ShortcutBinder.h"
#include "app/TrayController.h"
#include "app/UpdatePresenter.h"
#include "kit/storage/AppPaths.h"
#include "kit/updates/UpdateChecker.h"
#include "kit/updates/UpdateFeed.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>

namespace tessellar::app {
namespace {

void raise(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

AppWindows::AppWindows(AppEnvironment& environment, QObject* parent)
    : QObject(parent), environment_(environment) {
    const std::string version = QCoreApplication::applicationVersion().toStdString();
    const auto openURL = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    UpdatePresenter::Configuration configuration;
    configuration.feedAddress = std::string(UpdateFeed::address());
    configuration.currentVersion = version;
    configuration.systemVersion = UpdateChecker::currentSystemVersion();
    updates_ = std::make_unique<UpdatePresenter>(std::move(configuration), alerts_, openURL);
    TrayController& tray = environment_.tray();
    connect(updates_.get(), &UpdatePresenter::checkingChanged, &tray, &TrayController::setCheckingForUpdates);

    Preferences& preferences = *environment_.preferences();
    binder_ = std::make_unique<ShortcutBinder>(
        preferences,
        [this](const Preferences::Shortcut& shortcut) {
            return environment_.registerShortcut(shortcut.keyCode, shortcut.modifiers);
        },
        [&tray](const Preferences::Shortcut& shortcut, const ShortcutBinder::Outcome& outcome) {
            tray.setShortcut(QString::fromStdString(shortcut.displayString()),
                             outcome.kind == ShortcutBinder::Outcome::Kind::bound);
        });

    const std::string program = QCoreApplication::applicationFilePath().toStdString();
    settingsServices_.preferences = &preferences;
    settingsServices_.history = environment_.history().get();
    settingsServices_.images = ImageStore(AppPaths::imagesDirectory());
    settingsServices_.autostart = AutostartEntry(AutostartEntry::defaultConfigHome(), program);
    settingsServices_.binder = binder_.get();
    settingsServices_.updates = updates_.get();
    settingsServices_.feedAddress = std::string(UpdateFeed::address());
    settingsServices_.version = version;
    settingsServices_.syncIntelligence = [this] {
        environment_.intelligence()->update(environment_.preferences()->intelligenceSettings());
    };
    settingsServices_.testConnection = [this] { environment_.intelligence()->testConnection(); };
    settingsServices_.providerName = [this] { return environment_.intelligence()->providerDisplayName(); };
    settingsServices_.openURL = openURL;
    settingsServices_.chooseFolder = [](const QString& start) -> std::optional<std::string> {
        const QString folder = QFileDialog::getExistingDirectory(nullptr, {}, start);
        return folder.isEmpty() ? std::nullopt : std::optional(folder.toStdString());
    };
    // The login item's real state wins over what the settings file remembers.
    preferences.setLaunchAtLogin(settingsServices_.autostart.isEnabled());
    tray.setWindowsAvailable(true);
}

AppWindows::~AppWindows() = default;

void AppWindows::showInbox() {
    if (!inbox_) {
        InboxServices services{
            environment_.history().get(), environment_.historyFailure(),
            ImageStore(AppPaths::imagesDirectory()),
            [preferences = environment_.preferences()] { return preferences->retentionDays(); }};
        inbox_ = std::make_unique<InboxWindow>(
            std::move(services), [this](const InboxItem& item) { environment_.showItem(item); },
            [this](const InboxItem& item) { environment_.reveal(item); });
    }
    raise(*inbox_);
}

void AppWindows::showSettings() {
    if (!settings_)
        settings_ = std::make_unique<SettingsWindow>(settingsServices_);
    raise(*settings_);
}

void AppWindows::checkForUpdates() {
    updates_->checkForUpdates();
}

} // namespace tessellar::app

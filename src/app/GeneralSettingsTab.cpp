#include "app/GeneralSettingsTab.h"

#include "app/ShortcutBinder.h"
#include "app/ShortcutRecorder.h"
#include "app/UpdatePresenter.h"
#include "kit/updates/UpdateFeed.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessellar::app {
namespace {

QLabel* note(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

GeneralSettingsTab::GeneralSettingsTab(SettingsServices& services, QWidget* parent)
    : QWidget(parent), services_(services) {
    auto* layout = new QVBoxLayout(this);

    launchAtLogin_ = new QCheckBox(QStringLiteral("Launch at login"), this);
    loginMessage_ = note({}, this);
    openLoginItems_ = new QPushButton(QStringLiteral("Open Login Items"), this);
    connect(launchAtLogin_, &QCheckBox::clicked, this, &GeneralSettingsTab::setLaunchAtLogin);
    connect(openLoginItems_, &QPushButton::clicked, this, [this] {
        if (services_.openURL)
            services_.openURL(QUrl::fromLocalFile(
                QString::fromStdString(services_.autostart.file().parent_path().string())));
    });
    layout->addWidget(launchAtLogin_);
    layout->addWidget(loginMessage_);
    layout->addWidget(openLoginItems_, 0, Qt::AlignLeft);

    auto* shortcut = new QGroupBox(QStringLiteral("Shortcut"), this);
    auto* shortcutLayout = new QFormLayout(shortcut);
    recorder_ = new ShortcutRecorder(shortcut);
    recorder_->onRecord = [this](const Preferences::Shortcut& recorded) { applyShortcut(recorded); };
    recorder_->onClear = [this] { applyShortcut(Preferences::Shortcut::optionSpace()); };
    shortcutLayout->addRow(QStringLiteral("Open Tessellar"), recorder_);
    shortcutLayout->addRow(
        note(QStringLiteral("Click it, then press the combination you want. Escape cancels, "
                            "Delete goes back to \u2325Space. The menu bar item works "
                            "whatever the shortcut is."),
             shortcut));
    shortcutError_ = note({}, shortcut);
    shortcutError_->setVisible(false);
    shortcutLayout->addRow(shortcutError_);
    layout->addWidget(shortcut);

    auto* history = new QGroupBox(QStringLiteral("History"), this);
    auto* historyLayout = new QFormLayout(history);
    retention_ = new QComboBox(history);
    retention_->addItem(QStringLiteral("7 days"), qlonglong{7});
    retention_->addItem(QStringLiteral("30 days"), qlonglong{30});
    retention_->addItem(QStringLiteral("90 days"), qlonglong{90});
    retention_->addItem(QStringLiteral("Forever"), qlonglong{0});
    connect(retention_, &QComboBox::activated, this, [this](int index) {
        services_.preferences->setRetentionDays(retention_->itemData(index).toLongLong());
    });
    historyLayout->addRow(QStringLiteral("Keep items for"), retention_);
    layout->addWidget(history);

    auto* updates = new QGroupBox(QStringLiteral("Updates"), this);
    auto* updatesLayout = new QFormLayout(updates);
    updatesLayout->addRow(QStringLiteral("This version"),
                          new QLabel(UpdatePresenter::versionText(services_.version), updates));
    if (UpdateFeed::isConfigured(services_.feedAddress)) {
        checkForUpdates_ = new QPushButton(QStringLiteral("Check for Updates\u2026"), updates);
        connect(checkForUpdates_, &QPushButton::clicked, this, [this] {
            if (services_.updates)
                services_.updates->checkForUpdates();
        });
        updatesLayout->addRow(checkForUpdates_);
        updatesLayout->addRow(
            note(QStringLiteral("Tessellar checks only when you ask. Nothing is sent in the "
                                "background and no version check runs at launch."),
                 updates));
    } else {
        updatesLayout->addRow(
            note(QStringLiteral("This build has no update address, so a check has nothing to "
                                "contact. Newer versions come from wherever this copy did."),
                 updates));
    }
    layout->addWidget(updates);
    layout->addStretch();
    refresh();
}

void GeneralSettingsTab::refresh() {
    auto& preferences = *services_.preferences;
    recorder_->setShortcut(preferences.shortcut());
    const auto days = preferences.retentionDays();
    int index = retention_->findData(static_cast<qlonglong>(days));
    if (index < 0) {
        // A value set elsewhere is shown as it is rather than silently changed.
        retention_->addItem(QStringLiteral("%1 days").arg(days), static_cast<qlonglong>(days));
        index = retention_->count() - 1;
    }
    retention_->setCurrentIndex(index);
    showLoginItemStatus();
}

QString GeneralSettingsTab::loginItemMessage(AutostartEntry::Status status,
                                             const std::optional<QString>& error) {
    if (error)
        return *error;
    switch (status) {
    case AutostartEntry::Status::notRegistered:
    case AutostartEntry::Status::enabled:
        return {};
    case AutostartEntry::Status::notFound:
        return QStringLiteral(
            "macOS can\u2019t find this copy of Tessellar to open at login. That is what it "
            "reports for a build outside the Applications folder \u2014 move Tessellar there, "
            "then switch this on again.");
    }
    return {};
}

QString GeneralSettingsTab::loginItemMessage() const {
    return loginMessage_->text();
}

QString GeneralSettingsTab::shortcutError() const {
    return shortcutError_->isVisibleTo(this) ? shortcutError_->text() : QString();
}

void GeneralSettingsTab::showLoginItemStatus() {
    const auto status = services_.autostart.status();
    const bool enabled = status == AutostartEntry::Status::enabled;
    launchAtLogin_->setChecked(enabled);
    // The file is the truth; the stored setting follows it.
    if (services_.preferences->launchAtLogin() != enabled)
        services_.preferences->setLaunchAtLogin(enabled);
    const auto message = loginItemMessage(status, launchAtLoginError_);
    loginMessage_->setText(message);
    loginMessage_->setVisible(!message.isEmpty());
    openLoginItems_->setVisible(!message.isEmpty());
}

void GeneralSettingsTab::setLaunchAtLogin(bool on) {
    try {
        if (on)
            services_.autostart.enable();
        else
            services_.autostart.disable();
        launchAtLoginError_.reset();
    } catch (const std::filesystem::filesystem_error& error) {
        launchAtLoginError_ =
            (on ? QStringLiteral("macOS wouldn\u2019t register Tessellar to open at login: ")
                : QStringLiteral("macOS wouldn\u2019t remove Tessellar from your login items: ")) +
            QString::fromStdString(error.code().message());
    }
    showLoginItemStatus();
}

void GeneralSettingsTab::applyShortcut(const Preferences::Shortcut& shortcut) {
    std::optional<std::string> message;
    if (services_.binder)
        message = services_.binder->apply(shortcut).failureMessage();
    else
        message = "Tessellar couldn\u2019t reach its shortcut registration. Quit and reopen Tessellar, then "
                  "try again.";
    shortcutError_->setText(message ? QString::fromStdString(*message) : QString());
    shortcutError_->setVisible(message.has_value());
    recorder_->setShortcut(services_.preferences->shortcut());
}

} // namespace tessellar::app

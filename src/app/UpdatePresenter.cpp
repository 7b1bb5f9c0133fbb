#include "app/UpdatePresenter.h"

#include "app/Alerts.h"
#include "kit/updates/UpdateFeed.h"

#include <QMetaObject>

namespace tessellar::app {

UpdatePresenter::UpdatePresenter(Configuration configuration, Alerts& alerts, OpenURL openURL,
                                 QObject* parent)
    : QObject(parent), configuration_(std::move(configuration)), alerts_(alerts),
      openURL_(std::move(openURL)) {}

// Joins a check still in flight; its queued result dies with this object.
UpdatePresenter::~UpdatePresenter() = default;

QString UpdatePresenter::versionText(const std::string& currentVersion) {
    return currentVersion.empty() ? QStringLiteral("an unnumbered build")
                                  : QString::fromStdString(currentVersion);
}

void UpdatePresenter::checkForUpdates() {
    if (checking_)
        return;
    if (!UpdateFeed::isConfigured(configuration_.feedAddress)) {
        alerts_.ask({Alert::Style::informational,
                     QStringLiteral("This build has no update address"),
                     QStringLiteral("Tessellar was built without a release feed to ask, so there is nothing "
                                    "for it to contact. Newer versions come from wherever this copy did."),
                     {QStringLiteral("OK")}});
        emit finished();
        return;
    }
    checking_ = true;
    emit checkingChanged(true);
    UpdateChecker::Configuration check;
    check.manifestURL = configuration_.feedAddress;
    check.currentVersion = configuration_.currentVersion;
    check.systemVersion = configuration_.systemVersion;
    check.timeout = configuration_.timeout;
    check.certificateAuthorities = configuration_.certificateAuthorities;
    worker_ = std::jthread([this, check = std::move(check)] {
        auto result = UpdateChecker(check).check();
        QMetaObject::invokeMethod(
            this,
            [this, result = std::move(result)] {
                checking_ = false;
                emit checkingChanged(false);
                present(result);
            },
            Qt::QueuedConnection);
    });
}

void UpdatePresenter::present(const UpdateCheckResult& result) {
    using Style = Alert::Style;
    if (const auto* upToDate = std::get_if<UpdateCheckResult::UpToDate>(&result.value)) {
        alerts_.ask(
            {Style::informational,
             QStringLiteral("Tessellar %1 is the latest version")
                 .arg(QString::fromStdString(upToDate->current.description())),
             QStringLiteral("There is nothing to install. Tessellar looks for a new version only when "
                            "you ask it to."),
             {QStringLiteral("OK")}});
    } else if (const auto* available = std::get_if<UpdateCheckResult::UpdateAvailable>(&result.value)) {
        const auto& manifest = available->manifest;
        QString text =
            QStringLiteral("You\u2019re running %1.").arg(versionText(configuration_.currentVersion));
        if (manifest.releaseNotes)
            text += QStringLiteral("\n\n") + QString::fromStdString(*manifest.releaseNotes);
        const QString download = QStringLiteral("Download\u2026");
        const auto answer = alerts_.ask({Style::informational,
                                         QStringLiteral("Tessellar %1 is available")
                                             .arg(QString::fromStdString(manifest.version.description())),
                                         text,
                                         {download, QStringLiteral("Not Now")}});
        if (answer == download && openURL_)
            openURL_(QUrl(QString::fromStdString(manifest.downloadURL.absoluteString())));
    } else {
        // None of the check's failures carries a retry recovery, so the alert only informs.
        const auto& failed = std::get<UpdateCheckResult::Failed>(result.value);
        alerts_.ask({Style::warning,
                     QStringLiteral("Tessellar couldn\u2019t check for updates"),
                     QString::fromStdString(failed.message),
                     {QStringLiteral("OK")}});
    }
    emit finished();
}

} // namespace tessellar::app

#pragma once

#include "kit/updates/UpdateChecker.h"

#include <QObject>
#include <QUrl>
#include <functional>
#include <thread>

namespace tessellar::app {

class Alerts;

// Runs the update check when the user asks for it and shows the outcome in an alert.
class UpdatePresenter : public QObject {
    Q_OBJECT
public:
    struct Configuration {
        std::string feedAddress;    // UpdateFeed::address() in the app
        std::string currentVersion; // the application's version; empty for an unnumbered build
        std::optional<SemanticVersion> systemVersion;
        std::chrono::milliseconds timeout{15'000};
        std::string certificateAuthorities;
    };
    using OpenURL = std::function<void(const QUrl&)>;

    UpdatePresenter(Configuration configuration, Alerts& alerts, OpenURL openURL, QObject* parent = nullptr);
    ~UpdatePresenter() override;

    // Ignored while a check runs. The check itself runs off the GUI thread.
    void checkForUpdates();
    bool isChecking() const { return checking_; }

    static QString versionText(const std::string& currentVersion);

signals:
    void checkingChanged(bool checking);
    // After the outcome's alert was answered (also when no check could run).
    void finished();

private:
    void present(const UpdateCheckResult& result);

    Configuration configuration_;
    Alerts& alerts_;
    OpenURL openURL_;
    bool checking_ = false;
    std::jthread worker_;
};

} // namespace tessellar::app

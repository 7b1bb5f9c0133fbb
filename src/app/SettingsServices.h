#pragma once

#include "app/AutostartEntry.h"
#include "kit/capture/ImageStore.h"
#include "kit/storage/HistoryStore.h"
#include "kit/storage/Preferences.h"

#include <QString>
#include <QUrl>
#include <functional>
#include <optional>
#include <string>

namespace tessellar::app {

class ShortcutBinder;
class UpdatePresenter;

// What the settings window works on; everything but the preferences may be missing.
struct SettingsServices {
    Preferences* preferences = nullptr;
    HistoryStore* history = nullptr; // absent when the history failed to open
    ImageStore images{std::filesystem::path()};
    AutostartEntry autostart{AutostartEntry::defaultConfigHome(), "tessellar"};
    ShortcutBinder* binder = nullptr;
    UpdatePresenter* updates = nullptr;
    std::string feedAddress; // UpdateFeed::address() in the app
    std::string version;     // the application's version; empty for an unnumbered build
    // Hands the current AI settings to the gateway.
    std::function<void()> syncIntelligence;
    // The gateway's connection test: blocking, throws on failure. Run off the GUI thread.
    std::function<void()> testConnection;
    // The configured provider's name, for the privacy line.
    std::function<std::string()> providerName;
    std::function<void(const QUrl&)> openURL;
    // A folder chosen by the user, starting at `start`; absent when cancelled.
    std::function<std::optional<std::string>(const QString& start)> chooseFolder;
};

} // namespace tessellar::app

#pragma once

#include "kit/base/Url.h"
#include "kit/intelligence/IntelligenceGateway.h"
#include "kit/model/FolderDestination.h"
#include "kit/platform/KeyValueStore.h"
#include "kit/storage/SecureStore.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessellar {

// Every user setting, read once at start and written through at once on every change.
// Missing or unreadable stored values fall back to their defaults one by one. Thread-safe:
// one lock guards the values; observers are called after it is released, on the writer's
// thread, with the storage key that changed ("ai.apiKey" for the key). Construction and
// setAPIKey talk to the secret store, which may block on D-Bus: run them off the GUI thread.
class Preferences {
public:
    struct Shortcut {
        std::uint32_t keyCode = 49;
        std::uint32_t modifiers = 2048;

        static constexpr std::uint32_t carbonCommand = 0x100;
        static constexpr std::uint32_t carbonShift = 0x200;
        static constexpr std::uint32_t carbonOption = 0x800;
        static constexpr std::uint32_t carbonControl = 0x1000;

        // Event modifier flags of the platform the key codes come from.
        static constexpr std::uint64_t flagShift = 1u << 17;
        static constexpr std::uint64_t flagControl = 1u << 18;
        static constexpr std::uint64_t flagOption = 1u << 19;
        static constexpr std::uint64_t flagCommand = 1u << 20;

        static Shortcut optionSpace() { return {49, carbonOption}; }

        static std::uint32_t carbonModifiers(std::uint64_t flags);
        static std::uint64_t cocoaModifiers(std::uint32_t bits);
        static std::string modifierDisplayString(std::uint32_t bits);
        static std::string keyName(std::uint32_t keyCode);

        bool hasRegisterableModifier() const;
        std::string displayString() const;
        std::optional<std::string> menuKeyEquivalent() const;

        // {"keyCode": n, "modifiers": n}; decoding throws DecodingError unless both are there.
        std::string toJSON() const;
        static Shortcut fromJSON(std::string_view json);

        bool operator==(const Shortcut&) const = default;
    };

    // The storage keys.
    struct Key {
        static constexpr std::string_view launchAtLogin = "general.launchAtLogin";
        static constexpr std::string_view retentionDays = "general.retentionDays";
        static constexpr std::string_view shortcut = "general.shortcut";
        static constexpr std::string_view completedWelcome = "general.completedWelcome";
        static constexpr std::string_view destinations = "folders.destinations";
        static constexpr std::string_view grantedFolders = "folders.grantedFolders";
        static constexpr std::string_view providerKind = "ai.providerKind";
        static constexpr std::string_view baseURL = "ai.baseURL";
        static constexpr std::string_view model = "ai.model";
        static constexpr std::string_view aiConsent = "privacy.aiConsent";
        static constexpr std::string_view apiKey = "ai.apiKey"; // observers only; never stored here
    };

    using ProviderKind = IntelligenceGateway::ProviderKind;
    using Observer = std::function<void(std::string_view key)>;

    static constexpr std::int64_t defaultRetentionDays = 30;

    // Reads every value once. `home` is where the factory destination folders live.
    Preferences(std::shared_ptr<KeyValueStore> defaults, SecureStore secureStore, std::filesystem::path home);

    bool launchAtLogin() const;
    void setLaunchAtLogin(bool value);
    std::int64_t retentionDays() const;
    void setRetentionDays(std::int64_t value);
    Shortcut shortcut() const;
    void setShortcut(Shortcut value);
    bool hasCompletedWelcome() const;
    void setHasCompletedWelcome(bool value);
    std::vector<FolderDestination> destinations() const;
    void setDestinations(std::vector<FolderDestination> value);
    std::vector<FolderDestination> grantedFolders() const;
    void setGrantedFolders(std::vector<FolderDestination> value);
    ProviderKind providerKind() const;
    void setProviderKind(ProviderKind value);
    Url providerBaseURL() const;
    void setProviderBaseURL(Url value);
    std::string providerModel() const;
    void setProviderModel(std::string value);
    bool hasGrantedAIConsent() const;
    void setHasGrantedAIConsent(bool value);
    std::string apiKey() const;
    // Keeps the key as typed in memory; the secure store receives it trimmed. False when the
    // key could not be saved there (see SecureStore::unavailableMessage).
    bool setAPIKey(std::string value);

    IntelligenceGateway::Settings intelligenceSettings() const;
    bool usesExternalAI() const;

    std::optional<std::vector<std::uint8_t>> grantedBookmark(std::string_view path) const;
    void rememberGrant(std::string path, std::string name, std::optional<std::vector<std::uint8_t>> bookmark);

    int addObserver(Observer observer);
    void removeObserver(int token);

private:
    struct Values {
        bool launchAtLogin = false;
        std::int64_t retentionDays = defaultRetentionDays;
        Shortcut shortcut;
        bool hasCompletedWelcome = false;
        std::vector<FolderDestination> destinations;
        std::vector<FolderDestination> grantedFolders;
        ProviderKind providerKind = ProviderKind::onDevice;
        Url providerBaseURL;
        std::string providerModel;
        bool hasGrantedAIConsent = false;
        std::string apiKey;
    };

    // Replaces one value under the lock, then notifies if it changed.
    template <class T> void change(T Values::*field, T value, std::string_view key);
    void notify(std::string_view key);

    std::shared_ptr<KeyValueStore> defaults_;
    SecureStore secureStore_;
    mutable std::mutex mutex_;
    Values values_;
    std::map<int, Observer> observers_;
    int nextObserver_ = 0;
};

} // namespace tessellar

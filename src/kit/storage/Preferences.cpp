#include "kit/storage/Preferences.h"

#include "kit/intelligence/OpenAICompatibleProvider.h"
#include "kit/model/DecodingError.h"
#include "kit/text/StringHelpers.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace tessellar {
namespace {

using nlohmann::json;
using Shortcut = Preferences::Shortcut;

std::optional<std::string_view> namedKey(std::uint32_t keyCode) {
    switch (keyCode) {
    case 36:
        return "Return";
    case 48:
        return "Tab";
    case 49:
        return "Space";
    case 51:
        return "Delete";
    case 53:
        return "Escape";
    case 76:
        return "Enter";
    case 114:
        return "Help";
    case 115:
        return "Home";
    case 116:
        return "Page Up";
    case 117:
        return "Forward Delete";
    case 119:
        return "End";
    case 121:
        return "Page Down";
    case 123:
        return "\u2190";
    case 124:
        return "\u2192";
    case 125:
        return "\u2193";
    case 126:
        return "\u2191";
    case 122:
        return "F1";
    case 120:
        return "F2";
    case 99:
        return "F3";
    case 118:
        return "F4";
    case 96:
        return "F5";
    case 97:
        return "F6";
    case 98:
        return "F7";
    case 100:
        return "F8";
    case 101:
        return "F9";
    case 109:
        return "F10";
    case 103:
        return "F11";
    case 111:
        return "F12";
    case 105:
        return "F13";
    case 107:
        return "F14";
    case 113:
        return "F15";
    case 106:
        return "F16";
    default:
        return std::nullopt;
    }
}

// The ANSI layout: key code -> the character the key prints.
std::optional<char> printingKey(std::uint32_t keyCode) {
    static constexpr std::pair<std::uint32_t, char> table[] = {
        {0, 'A'},   {1, 'S'},  {2, 'D'},   {3, 'F'},  {4, 'H'},  {5, 'G'},  {6, 'Z'},  {7, 'X'},
        {8, 'C'},   {9, 'V'},  {11, 'B'},  {12, 'Q'}, {13, 'W'}, {14, 'E'}, {15, 'R'}, {16, 'Y'},
        {17, 'T'},  {31, 'O'}, {32, 'U'},  {34, 'I'}, {35, 'P'}, {37, 'L'}, {38, 'J'}, {40, 'K'},
        {45, 'N'},  {46, 'M'}, {18, '1'},  {19, '2'}, {20, '3'}, {21, '4'}, {23, '5'}, {22, '6'},
        {26, '7'},  {28, '8'}, {25, '9'},  {29, '0'}, {24, '='}, {27, '-'}, {30, ']'}, {33, '['},
        {39, '\''}, {41, ';'}, {42, '\\'}, {43, ','}, {44, '/'}, {47, '.'}, {50, '`'}};
    for (const auto& [code, character] : table)
        if (code == keyCode)
            return character;
    return std::nullopt;
}

std::vector<std::uint8_t> bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::optional<std::vector<FolderDestination>>
decodeFolders(const std::optional<std::vector<std::uint8_t>>& data) {
    if (!data)
        return std::nullopt;
    try {
        const json array = json::parse(data->begin(), data->end());
        if (!array.is_array())
            return std::nullopt;
        return array.get<std::vector<FolderDestination>>();
    } catch (const std::exception&) { // malformed JSON or a DecodingError from a folder
        return std::nullopt;
    }
}

std::optional<std::string> encodeFolders(const std::vector<FolderDestination>& folders) {
    try {
        return json(folders).dump();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace

// ---- Shortcut ----

std::uint32_t Shortcut::carbonModifiers(std::uint64_t flags) {
    std::uint32_t bits = 0;
    if (flags & flagCommand)
        bits |= carbonCommand;
    if (flags & flagShift)
        bits |= carbonShift;
    if (flags & flagOption)
        bits |= carbonOption;
    if (flags & flagControl)
        bits |= carbonControl;
    return bits;
}

std::uint64_t Shortcut::cocoaModifiers(std::uint32_t bits) {
    std::uint64_t flags = 0;
    if (bits & carbonCommand)
        flags |= flagCommand;
    if (bits & carbonShift)
        flags |= flagShift;
    if (bits & carbonOption)
        flags |= flagOption;
    if (bits & carbonControl)
        flags |= flagControl;
    return flags;
}

std::string Shortcut::modifierDisplayString(std::uint32_t bits) {
    std::string out;
    if (bits & carbonControl)
        out += "\u2303";
    if (bits & carbonOption)
        out += "\u2325";
    if (bits & carbonShift)
        out += "\u21e7";
    if (bits & carbonCommand)
        out += "\u2318";
    return out;
}

std::string Shortcut::keyName(std::uint32_t keyCode) {
    if (const auto name = namedKey(keyCode))
        return std::string(*name);
    if (const auto character = printingKey(keyCode))
        return std::string(1, *character);
    return "Key " + std::to_string(keyCode);
}

bool Shortcut::hasRegisterableModifier() const {
    return (modifiers & (carbonCommand | carbonOption | carbonControl)) != 0;
}

std::string Shortcut::displayString() const {
    return modifierDisplayString(modifiers) + keyName(keyCode);
}

std::optional<std::string> Shortcut::menuKeyEquivalent() const {
    if (keyCode == 49)
        return " ";
    if (const auto character = printingKey(keyCode))
        return std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(*character))));
    return std::nullopt;
}

std::string Shortcut::toJSON() const {
    return json{{"keyCode", keyCode}, {"modifiers", modifiers}}.dump();
}

Shortcut Shortcut::fromJSON(std::string_view text) {
    try {
        const json object = json::parse(text);
        const auto field = [&](const char* key) {
            const auto it = object.find(key);
            if (it == object.end() || !it->is_number_unsigned() || it->get<std::uint64_t>() > UINT32_MAX)
                throw DecodingError(std::string("shortcut \"") + key + "\" is missing or not a key number");
            return it->get<std::uint32_t>();
        };
        if (!object.is_object())
            throw DecodingError("shortcut is not an object");
        return {field("keyCode"), field("modifiers")};
    } catch (const json::exception& error) {
        throw DecodingError(error.what());
    }
}

// ---- Preferences ----

Preferences::Preferences(std::shared_ptr<KeyValueStore> defaults, SecureStore secureStore,
                         std::filesystem::path home)
    : defaults_(std::move(defaults)), secureStore_(std::move(secureStore)) {
    Values& v = values_;
    v.launchAtLogin = defaults_->boolean(Key::launchAtLogin).value_or(false);
    v.retentionDays = defaults_->integer(Key::retentionDays).value_or(defaultRetentionDays);
    v.shortcut = Shortcut::optionSpace();
    if (const auto data = defaults_->data(Key::shortcut)) {
        try {
            v.shortcut = Shortcut::fromJSON(std::string(data->begin(), data->end()));
        } catch (const DecodingError&) {
        }
    }
    v.hasCompletedWelcome = defaults_->boolean(Key::completedWelcome).value_or(false);
    v.destinations =
        decodeFolders(defaults_->data(Key::destinations)).value_or(FolderDestination::defaults(home));
    v.grantedFolders =
        decodeFolders(defaults_->data(Key::grantedFolders)).value_or(std::vector<FolderDestination>{});
    const auto kind = defaults_->string(Key::providerKind);
    v.providerKind =
        kind ? provider_kind::fromRaw(*kind).value_or(ProviderKind::onDevice) : ProviderKind::onDevice;
    const auto base = defaults_->string(Key::baseURL);
    const auto parsed = base ? Url::parse(*base) : std::nullopt;
    v.providerBaseURL = parsed ? *parsed : OpenAICompatibleProvider::Configuration::defaultBaseURL();
    v.providerModel = defaults_->string(Key::model)
                          .value_or(std::string(OpenAICompatibleProvider::Configuration::defaultModel));
    v.hasGrantedAIConsent = defaults_->boolean(Key::aiConsent).value_or(false);
    v.apiKey = secureStore_.readAPIKey().value_or("");
}

template <class T> void Preferences::change(T Values::*field, T value, std::string_view key) {
    bool changed = false;
    {
        std::lock_guard lock(mutex_);
        changed = !(values_.*field == value);
        values_.*field = std::move(value);
    }
    if (changed)
        notify(key);
}

void Preferences::notify(std::string_view key) {
    std::vector<Observer> observers;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [token, observer] : observers_)
            observers.push_back(observer);
    }
    for (const auto& observer : observers)
        observer(key);
}

int Preferences::addObserver(Observer observer) {
    std::lock_guard lock(mutex_);
    observers_[nextObserver_] = std::move(observer);
    return nextObserver_++;
}

void Preferences::removeObserver(int token) {
    std::lock_guard lock(mutex_);
    observers_.erase(token);
}

#define TESSELLAR_GETTER(type, name)                                                                         \
    type Preferences::name() const {                                                                         \
        std::lock_guard lock(mutex_);                                                                        \
        return values_.name;                                                                                 \
    }
TESSELLAR_GETTER(bool, launchAtLogin)
TESSELLAR_GETTER(std::int64_t, retentionDays)
TESSELLAR_GETTER(Preferences::Shortcut, shortcut)
TESSELLAR_GETTER(bool, hasCompletedWelcome)
TESSELLAR_GETTER(std::vector<FolderDestination>, destinations)
TESSELLAR_GETTER(std::vector<FolderDestination>, grantedFolders)
TESSELLAR_GETTER(Preferences::ProviderKind, providerKind)
TESSELLAR_GETTER(Url, providerBaseURL)
TESSELLAR_GETTER(std::string, providerModel)
TESSELLAR_GETTER(bool, hasGrantedAIConsent)
TESSELLAR_GETTER(std::string, apiKey)
#undef TESSELLAR_GETTER

void Preferences::setLaunchAtLogin(bool value) {
    defaults_->setBoolean(Key::launchAtLogin, value);
    change(&Values::launchAtLogin, value, Key::launchAtLogin);
}

void Preferences::setRetentionDays(std::int64_t value) {
    defaults_->setInteger(Key::retentionDays, value);
    change(&Values::retentionDays, value, Key::retentionDays);
}

void Preferences::setShortcut(Shortcut value) {
    defaults_->setData(Key::shortcut, bytes(value.toJSON()));
    change(&Values::shortcut, value, Key::shortcut);
}

void Preferences::setHasCompletedWelcome(bool value) {
    defaults_->setBoolean(Key::completedWelcome, value);
    change(&Values::hasCompletedWelcome, value, Key::completedWelcome);
}

void Preferences::setDestinations(std::vector<FolderDestination> value) {
    if (const auto encoded = encodeFolders(value))
        defaults_->setData(Key::destinations, bytes(*encoded));
    change(&Values::destinations, std::move(value), Key::destinations);
}

void Preferences::setGrantedFolders(std::vector<FolderDestination> value) {
    if (const auto encoded = encodeFolders(value))
        defaults_->setData(Key::grantedFolders, bytes(*encoded));
    change(&Values::grantedFolders, std::move(value), Key::grantedFolders);
}

void Preferences::setProviderKind(ProviderKind value) {
    defaults_->setString(Key::providerKind, provider_kind::rawValue(value));
    change(&Values::providerKind, value, Key::providerKind);
}

void Preferences::setProviderBaseURL(Url value) {
    defaults_->setString(Key::baseURL, value.absoluteString());
    change(&Values::providerBaseURL, std::move(value), Key::baseURL);
}

void Preferences::setProviderModel(std::string value) {
    defaults_->setString(Key::model, value);
    change(&Values::providerModel, std::move(value), Key::model);
}

void Preferences::setHasGrantedAIConsent(bool value) {
    defaults_->setBoolean(Key::aiConsent, value);
    change(&Values::hasGrantedAIConsent, value, Key::aiConsent);
}

bool Preferences::setAPIKey(std::string value) {
    const bool saved = secureStore_.writeAPIKey(value);
    change(&Values::apiKey, std::move(value), Key::apiKey);
    return saved;
}

IntelligenceGateway::Settings Preferences::intelligenceSettings() const {
    std::lock_guard lock(mutex_);
    return {values_.providerKind, values_.providerBaseURL, values_.providerModel, values_.apiKey,
            values_.hasGrantedAIConsent};
}

bool Preferences::usesExternalAI() const {
    const IntelligenceGateway::Settings settings = intelligenceSettings();
    return settings.providerKind == ProviderKind::openAICompatible &&
           IntelligenceGateway::hasUsableKey(settings);
}

std::optional<std::vector<std::uint8_t>> Preferences::grantedBookmark(std::string_view path) const {
    std::lock_guard lock(mutex_);
    for (const auto& folder : values_.grantedFolders)
        if (folder.path == path)
            return folder.bookmark;
    return std::nullopt;
}

void Preferences::rememberGrant(std::string path, std::string name,
                                std::optional<std::vector<std::uint8_t>> bookmark) {
    std::vector<FolderDestination> folders = grantedFolders();
    std::erase_if(folders, [&](const FolderDestination& folder) { return folder.path == path; });
    folders.push_back(
        FolderDestination{Uuid::random(), std::move(name), std::move(path), std::move(bookmark)});
    setGrantedFolders(std::move(folders));
}

} // namespace tessellar

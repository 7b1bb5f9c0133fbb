#include "cli/CliServices.h"
#include "cli/Commands.h"
#include "kit/intelligence/OpenAICompatibleProvider.h"
#include "kit/model/TessellarError.h"
#include "kit/storage/Preferences.h"
#include "kit/text/StringHelpers.h"

#include <array>
#include <charconv>
#include <cstdlib>
#include <functional>
#include <istream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <ostream>

namespace tessellar::cli {
namespace {

constexpr std::string_view usage =
    "Usage: tessellar-cli config get KEY\n"
    "       tessellar-cli config set KEY VALUE\n"
    "       tessellar-cli config list\n"
    "       tessellar-cli config set-key     (reads the API key from standard input)\n"
    "       tessellar-cli config test        (tests the configured AI provider)\n"
    "\n"
    "Reads and changes the settings the app uses, in $XDG_CONFIG_HOME/tessellar/tessellar.conf.\n"
    "The API key is kept in the keyring (Secret Service), never in that file; set-key reads it\n"
    "from standard input so it never appears in the command line or the shell history.\n"
    "An empty key removes it.\n"
    "\n"
    "Keys: general.launchAtLogin, general.retentionDays, general.shortcut, general.completedWelcome,\n"
    "      folders.destinations, folders.grantedFolders, ai.providerKind (onDevice or\n"
    "      openAICompatible), ai.baseURL, ai.model, privacy.aiConsent\n"
    "\n"
    "Exit status: 0 done, 1 the change or the test failed, 2 bad usage or value.\n";

// A value the user typed that the setting cannot take.
struct BadValue {
    std::string message;
};

bool parseBool(const std::string& text) {
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    throw BadValue{"expects true or false"};
}

std::int64_t parseInteger(const std::string& text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw BadValue{"expects a whole number"};
    return value;
}

std::vector<FolderDestination> parseFolders(const std::string& text) {
    try {
        const auto json = nlohmann::json::parse(text);
        if (!json.is_array())
            throw BadValue{"expects a JSON array of folders"};
        return json.get<std::vector<FolderDestination>>();
    } catch (const BadValue&) {
        throw;
    } catch (const std::exception&) {
        throw BadValue{"expects a JSON array of folders ({\"id\", \"name\", \"path\"})"};
    }
}

struct Setting {
    std::string_view key;
    std::function<std::string(const Preferences&)> get;
    std::function<void(Preferences&, const std::string&)> set; // empty: read-only here
};

const std::array<Setting, 10>& settings() {
    using P = Preferences;
    static const std::array<Setting, 10> table{{
        {P::Key::launchAtLogin, [](const P& p) { return p.launchAtLogin() ? "true" : "false"; },
         [](P& p, const std::string& v) { p.setLaunchAtLogin(parseBool(v)); }},
        {P::Key::retentionDays, [](const P& p) { return std::to_string(p.retentionDays()); },
         [](P& p, const std::string& v) { p.setRetentionDays(parseInteger(v)); }},
        {P::Key::shortcut, [](const P& p) { return p.shortcut().toJSON(); },
         [](P& p, const std::string& v) {
             try {
                 p.setShortcut(P::Shortcut::fromJSON(v));
             } catch (const std::exception&) {
                 throw BadValue{"expects {\"keyCode\": N, \"modifiers\": N}"};
             }
         }},
        {P::Key::completedWelcome, [](const P& p) { return p.hasCompletedWelcome() ? "true" : "false"; },
         [](P& p, const std::string& v) { p.setHasCompletedWelcome(parseBool(v)); }},
        {P::Key::destinations, [](const P& p) { return nlohmann::json(p.destinations()).dump(); },
         [](P& p, const std::string& v) { p.setDestinations(parseFolders(v)); }},
        {P::Key::grantedFolders, [](const P& p) { return nlohmann::json(p.grantedFolders()).dump(); }, {}},
        {P::Key::providerKind,
         [](const P& p) { return std::string(provider_kind::rawValue(p.providerKind())); },
         [](P& p, const std::string& v) {
             const auto kind = provider_kind::fromRaw(v);
             if (!kind)
                 throw BadValue{"expects onDevice or openAICompatible"};
             p.setProviderKind(*kind);
         }},
        {P::Key::baseURL, [](const P& p) { return p.providerBaseURL().absoluteString(); },
         [](P& p, const std::string& v) {
             const auto url = Url::parse(v);
             if (!url)
                 throw BadValue{"expects an absolute address such as https://api.example.com/v1"};
             if (!OpenAICompatibleProvider::isAllowedBase(*url))
                 throw BadValue{std::string(OpenAICompatibleProvider::insecureBaseMessage)};
             p.setProviderBaseURL(*url);
         }},
        {P::Key::model, [](const P& p) { return p.providerModel(); },
         [](P& p, const std::string& v) {
             if (isBlank(v))
                 throw BadValue{"expects a model name"};
             p.setProviderModel(v);
         }},
        {P::Key::aiConsent, [](const P& p) { return p.hasGrantedAIConsent() ? "true" : "false"; },
         [](P& p, const std::string& v) { p.setHasGrantedAIConsent(parseBool(v)); }},
    }};
    return table;
}

const Setting* settingFor(std::string_view key) {
    for (const auto& setting : settings())
        if (setting.key == key)
            return &setting;
    return nullptr;
}

// Plain settings need no keyring: the key is only read when a command uses it.
Preferences openPreferences(bool withKeyring) {
    return CliServices::openPreferences(withKeyring);
}

int bad(const Invocation& invocation, const std::string& message) {
    invocation.err << "tessellar-cli: " << message << "\n" << usage;
    return badUsage;
}

int setKey(const Invocation& invocation) {
    const std::string key =
        trimmed(std::string(std::istreambuf_iterator<char>(invocation.in), std::istreambuf_iterator<char>()));
    Preferences preferences = openPreferences(true);
    if (!preferences.setAPIKey(key)) {
        invocation.err << "tessellar-cli: " << SecureStore::unavailableMessage() << "\n";
        return failure;
    }
    invocation.out << (key.empty() ? "API key removed from the keyring.\n"
                                   : "API key saved in the keyring.\n");
    return success;
}

int testProvider(const Invocation& invocation) {
    const Preferences preferences = openPreferences(true);
    const IntelligenceGateway gateway(preferences.intelligenceSettings());
    try {
        gateway.testConnection();
    } catch (const TessellarError& error) {
        invocation.err << "tessellar-cli: " << error.message() << "\n";
        return failure;
    } catch (const Cancelled&) {
        return failure;
    }
    invocation.out << gateway.providerDisplayName() << ": connection works.\n";
    return success;
}

} // namespace

int configCommand(const Invocation& invocation) {
    const auto& args = invocation.arguments;
    if (args.empty())
        return bad(invocation, "config needs a subcommand");
    const std::string& sub = args[0];
    if (sub == "-h" || sub == "--help") {
        invocation.out << usage;
        return success;
    }
    if (sub == "list" && args.size() == 1) {
        const Preferences preferences = openPreferences(false);
        for (const auto& setting : settings())
            invocation.out << setting.key << "=" << setting.get(preferences) << "\n";
        return success;
    }
    if (sub == "get" && args.size() == 2) {
        const Setting* setting = settingFor(args[1]);
        if (!setting)
            return bad(invocation, "unknown setting " + args[1]);
        invocation.out << setting->get(openPreferences(false)) << "\n";
        return success;
    }
    if (sub == "set" && args.size() == 3) {
        const Setting* setting = settingFor(args[1]);
        if (!setting)
            return bad(invocation, "unknown setting " + args[1]);
        if (!setting->set)
            return bad(invocation, args[1] + " is changed by the app when you grant a folder");
        Preferences preferences = openPreferences(false);
        try {
            setting->set(preferences, args[2]);
        } catch (const BadValue& error) {
            return bad(invocation, args[1] + ": " + error.message);
        }
        return success;
    }
    if (sub == "set-key" && args.size() == 1)
        return setKey(invocation);
    if (sub == "set-key")
        return bad(invocation, "set-key reads the key from standard input, not from the command line");
    if (sub == "test" && args.size() == 1)
        return testProvider(invocation);
    return bad(invocation, "unknown config command or wrong number of arguments");
}

} // namespace tessellar::cli

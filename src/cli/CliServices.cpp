#include "cli/CliServices.h"

#include "cli/CommandInput.h"
#include "desktop/ICalendarEventStore.h"
#include "desktop/IniKeyValueStore.h"
#include "desktop/LibsecretSecretStore.h"
#include "kit/actions/ActionCatalog.h"
#include "kit/storage/AppPaths.h"

#include <cstdlib>

namespace tessellar::cli {
namespace {

std::filesystem::path home() {
    const char* value = std::getenv("HOME");
    return value && *value ? std::filesystem::path(value) : std::filesystem::path("/");
}

// The key lives in the keyring; only a provider that sends content off the machine needs it,
// so other runs never touch the Secret Service.
IntelligenceGateway::Settings intelligenceSettings() {
    const Preferences plain = CliServices::openPreferences(false);
    if (plain.intelligenceSettings().providerKind == IntelligenceGateway::ProviderKind::onDevice)
        return plain.intelligenceSettings();
    return CliServices::openPreferences(true).intelligenceSettings();
}

} // namespace

Preferences CliServices::openPreferences(bool withKeyring) {
    auto secrets =
        withKeyring ? std::make_shared<LibsecretSecretStore>() : std::shared_ptr<LibsecretSecretStore>();
    return Preferences(std::make_shared<IniKeyValueStore>(IniKeyValueStore::defaultPath()),
                       SecureStore(secrets), home());
}

CliServices::CliServices()
    : intelligence_(std::make_shared<IntelligenceGateway>(intelligenceSettings())),
      textExtractor_(std::make_shared<TextExtractor>()), ocr_(std::make_shared<OCRService>()),
      reminders_(std::make_shared<RemindersService>(std::make_shared<ICalendarEventStore>())),
      engine_(std::make_shared<ActionEngine>(ActionCatalog::standard())) {}

AnalysisPipeline::Result CliServices::analyze(const std::optional<std::string>& argument, std::istream& in,
                                              const AnalysisPipeline::StageCallback& onStage) const {
    const CapturedContent content = captureFor(argument, in);
    AnalysisPipeline pipeline(textExtractor_, ocr_, ImageStore(AppPaths::imagesDirectory()), intelligence_,
                              [engine = engine_] {
                                  const auto known = engine->knownActionIDs();
                                  return std::set<ActionID>(known.begin(), known.end());
                              });
    return pipeline.analyze(content, onStage);
}

} // namespace tessellar::cli

#pragma once

#include "kit/actions/ActionEngine.h"
#include "kit/actions/dates/RemindersService.h"
#include "kit/analysis/AnalysisPipeline.h"
#include "kit/intelligence/IntelligenceGateway.h"
#include "kit/storage/Preferences.h"

#include <istream>
#include <memory>
#include <optional>
#include <string>

namespace tessellar::cli {

// The services a command works with, built as the app builds them: the same settings file,
// the same AI settings and consent, the same catalog of actions. Heavy parts (the OCR engine)
// start only when an analysis needs them.
class CliServices {
public:
    // The settings; the keyring is opened only when asked for (reading the key needs it).
    static Preferences openPreferences(bool withKeyring);

    CliServices();

    const std::shared_ptr<IntelligenceGateway>& intelligence() const { return intelligence_; }
    const std::shared_ptr<TextExtractor>& textExtractor() const { return textExtractor_; }
    const std::shared_ptr<OCRService>& ocr() const { return ocr_; }
    const std::shared_ptr<RemindersService>& reminders() const { return reminders_; }
    const ActionEngine& engine() const { return *engine_; }

    // The full analysis of a command's [PATH | URL | TEXT | -] argument.
    AnalysisPipeline::Result analyze(const std::optional<std::string>& argument, std::istream& in,
                                     const AnalysisPipeline::StageCallback& onStage = {}) const;

private:
    std::shared_ptr<IntelligenceGateway> intelligence_;
    std::shared_ptr<TextExtractor> textExtractor_;
    std::shared_ptr<OCRService> ocr_;
    std::shared_ptr<RemindersService> reminders_;
    std::shared_ptr<ActionEngine> engine_;
};

} // namespace tessellar::cli

#pragma once

#include "kit/intelligence/AIClassification.h"
#include "kit/model/ContentType.h"
#include "kit/model/FilenameRequest.h"

#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

namespace tessellar {

enum class SummaryStyle { bullets, oneLine };

namespace summary_style {
std::string_view rawValue(SummaryStyle style);
std::optional<SummaryStyle> fromRaw(std::string_view raw);
} // namespace summary_style

// What the composite classifier hands to a provider.
struct ClassificationRequest {
    std::string text;
    std::optional<std::string> filename;
    std::optional<std::string> typeIdentifier; // a MIME type; never sent to a model
    std::optional<ContentType> localGuess;

    bool operator==(const ClassificationRequest&) const = default;
};

// Everything asked of a language model goes through this interface. Implementations are
// immutable and may be shared between threads. Operations block; they throw TessellarError
// for failures and Cancelled when `stop` fires.
class IntelligenceProvider {
public:
    virtual ~IntelligenceProvider() = default;

    virtual std::string identifier() const = 0;
    virtual std::string displayName() const = 0;
    virtual bool sendsDataOffDevice() const = 0;

    virtual bool isConfigured() const = 0;
    virtual AIClassification classify(const ClassificationRequest& request,
                                      std::stop_token stop = {}) const = 0;
    virtual std::string summarize(std::string_view text, SummaryStyle style,
                                  std::stop_token stop = {}) const = 0;
    virtual std::string answer(std::string_view question, std::string_view content,
                               std::stop_token stop = {}) const = 0;
    virtual std::string smartFilename(const FilenameRequest& request, std::stop_token stop = {}) const = 0;
    virtual void testConnection(std::stop_token stop = {}) const = 0;
};

} // namespace tessellar

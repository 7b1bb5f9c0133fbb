#include "kit/intelligence/MockIntelligenceProvider.h"

#include "kit/classify/RuleBasedClassifier.h"
#include "kit/model/TessellarError.h"
#include "kit/suggest/FilenameGenerator.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <condition_variable>
#include <mutex>
#include <vector>

namespace tessellar {
namespace {

constexpr std::size_t sentenceMinimum = 24;
constexpr std::size_t bulletCount = 4;

std::vector<std::string> longSentences(std::string_view normalized) {
    std::vector<std::string> sentences;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= normalized.size(); ++i) {
        if (i < normalized.size() && normalized[i] != '.' && normalized[i] != '!' && normalized[i] != '?')
            continue;
        std::string piece = trimmed(normalized.substr(start, i - start));
        if (unicode::characterCount(piece) > sentenceMinimum)
            sentences.push_back(std::move(piece));
        start = i + 1;
    }
    return sentences;
}

} // namespace

void MockIntelligenceProvider::wait(std::stop_token stop) const {
    if (artificialDelay_.count() <= 0)
        return;
    std::mutex mutex;
    std::condition_variable_any woken;
    std::unique_lock lock(mutex);
    // steady_clock: the delay is measured on a monotonic clock.
    woken.wait_until(lock, stop, std::chrono::steady_clock::now() + artificialDelay_, [] { return false; });
    if (stop.stop_requested())
        throw Cancelled();
}

AIClassification MockIntelligenceProvider::classify(const ClassificationRequest& request,
                                                    std::stop_token stop) const {
    wait(stop);
    ClassificationInput input;
    input.text = request.text;
    input.filename = request.filename;
    input.typeIdentifier = request.typeIdentifier;
    input.source = SourceType::drop;

    AIClassification reply;
    const auto local = RuleBasedClassifier().classify(input);
    if (!local) {
        reply.title = request.filename.value_or("Content");
        reply.confidence = 0.3;
        return reply;
    }
    reply.contentType = std::string(content_type::rawValue(local->contentType));
    reply.title = local->title;
    reply.headline = local->headline;
    reply.confidence = local->confidence;
    for (const auto& fact : local->metadata.facts)
        reply.metadata[fact.key] = fact.value;
    for (const auto& id : local->recommendedActionIDs)
        reply.recommendedActions.push_back(id.rawValue);
    return reply;
}

std::string MockIntelligenceProvider::extractiveSummary(std::string_view text, SummaryStyle style) {
    const std::string normalized = normalizedWhitespace(text);
    const auto sentences = longSentences(normalized);
    if (style == SummaryStyle::oneLine)
        return truncated(sentences.empty() ? normalized : sentences.front(), 160);
    if (sentences.empty())
        return truncated(normalized, 240);
    std::string out;
    for (std::size_t i = 0; i < sentences.size() && i < bulletCount; ++i) {
        if (i > 0)
            out += "\n";
        out += "\u2022 " + truncated(sentences[i], 140);
    }
    return out;
}

std::string MockIntelligenceProvider::summarize(std::string_view text, SummaryStyle style,
                                                std::stop_token stop) const {
    wait(stop);
    return extractiveSummary(text, style);
}

std::string MockIntelligenceProvider::answer(std::string_view, std::string_view content,
                                             std::stop_token stop) const {
    wait(stop);
    return std::string(onDeviceNotice) + "\n\n" + extractiveSummary(content, SummaryStyle::bullets);
}

std::string MockIntelligenceProvider::smartFilename(const FilenameRequest& request,
                                                    std::stop_token stop) const {
    wait(stop);
    return FilenameGenerator::suggestion(request).filename;
}

} // namespace tessellar

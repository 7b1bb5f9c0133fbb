#include "kit/intelligence/CompositeClassifier.h"

#include "kit/base/Log.h"
#include "kit/model/TessellarError.h"
#include "kit/text/StringHelpers.h"

#include <algorithm>

namespace tessellar {

std::optional<Classification> CompositeClassifier::classify(const ClassificationInput& input) const {
    std::optional<Classification> rules = local.classify(input);
    if (rules && rules->confidence >= escalationThreshold)
        return rules;
    if (!input.text || isBlank(*input.text) || !provider)
        return rules;
    if (provider->sendsDataOffDevice() && (!isAIAllowed || !isAIAllowed()))
        return rules;
    if (!provider->isConfigured())
        return rules;
    if (onStage)
        onStage(AnalysisStage::askingAI(provider->displayName()));

    ClassificationRequest request{input.text.value_or(""), input.filename, input.typeIdentifier,
                                  rules ? std::optional<ContentType>(rules->contentType) : std::nullopt};
    AIClassification reply;
    try {
        reply = provider->classify(request, stop);
    } catch (const std::exception& error) {
        Log::error(Log::Category::intelligence, std::string("AI classification failed: ") + error.what());
        return rules;
    }

    std::optional<Classification> ai = reply.validated(knownActionIDs);
    if (!ai)
        return rules;
    if (!rules)
        return ai;
    for (const auto& fact : rules->metadata.facts) {
        const bool supplied = std::any_of(ai->metadata.facts.begin(), ai->metadata.facts.end(),
                                          [&](const ItemMetadata::Fact& own) { return own.key == fact.key; });
        if (!supplied)
            ai->metadata.facts.push_back(fact);
    }
    if (rules->confidence < ai->confidence) {
        ai->source = ClassificationSource::mixed;
        return ai;
    }
    return rules;
}

} // namespace tessellar

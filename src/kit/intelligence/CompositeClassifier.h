#pragma once

#include "kit/classify/RuleBasedClassifier.h"
#include "kit/intelligence/IntelligenceProvider.h"
#include "kit/model/ActionID.h"
#include "kit/model/AnalysisStage.h"

#include <functional>
#include <memory>
#include <set>
#include <stop_token>

namespace tessellar {

// The classifier the pipeline calls: the rules first, and only when they are unsure (and a
// provider may and can be used) the provider's opinion, validated and merged. Every failure
// of the AI path keeps the rule-based answer. Built per analysis; holds no mutable state.
struct CompositeClassifier : ContentClassifier {
    static constexpr double escalationThreshold = 0.7;

    RuleBasedClassifier local;
    std::shared_ptr<const IntelligenceProvider> provider;
    std::set<ActionID> knownActionIDs;
    std::function<bool()> isAIAllowed;
    std::function<void(const AnalysisStage&)> onStage;
    std::stop_token stop; // cancels a request in flight

    std::optional<Classification> classify(const ClassificationInput& input) const override;
};

} // namespace tessellar

#pragma once

#include <string>

namespace tessellar {

// Progress of one analysis, with the message the panel shows for it.
struct AnalysisStage {
    enum class Kind { receiving, readingDocument, extractingText, recognizing, findingActions, askingAI };

    Kind kind = Kind::receiving;
    std::string providerName; // only meaningful for askingAI

    static AnalysisStage receiving() { return {Kind::receiving, {}}; }
    static AnalysisStage readingDocument() { return {Kind::readingDocument, {}}; }
    static AnalysisStage extractingText() { return {Kind::extractingText, {}}; }
    static AnalysisStage recognizing() { return {Kind::recognizing, {}}; }
    static AnalysisStage findingActions() { return {Kind::findingActions, {}}; }
    static AnalysisStage askingAI(std::string provider) { return {Kind::askingAI, std::move(provider)}; }

    std::string message() const;

    // Stages compare by case, and by provider name only for askingAI.
    bool operator==(const AnalysisStage& other) const {
        return kind == other.kind && (kind != Kind::askingAI || providerName == other.providerName);
    }
};

} // namespace tessellar

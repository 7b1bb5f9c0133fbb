#pragma once

#include "kit/intelligence/IntelligenceProvider.h"

#include <chrono>

namespace tessellar {

// The on-device provider: every operation by local, deterministic means and no network
// (rules for classification, sentence extraction for summaries, the filename generator for
// names). It cannot answer questions and says so. Never sends anything away.
class MockIntelligenceProvider : public IntelligenceProvider {
public:
    static constexpr std::string_view onDeviceNotice =
        "On-device mode can\u2019t answer questions yet \u2014 it only extracts and summarizes. Add an AI "
        "provider in Settings to ask about this content.";

    explicit MockIntelligenceProvider(
        std::chrono::milliseconds artificialDelay = std::chrono::milliseconds(0))
        : artificialDelay_(artificialDelay) {}

    std::string identifier() const override { return "local"; }
    std::string displayName() const override { return "On-device (no key)"; }
    bool sendsDataOffDevice() const override { return false; }

    bool isConfigured() const override { return true; }
    AIClassification classify(const ClassificationRequest& request, std::stop_token stop = {}) const override;
    std::string summarize(std::string_view text, SummaryStyle style,
                          std::stop_token stop = {}) const override;
    std::string answer(std::string_view question, std::string_view content,
                       std::stop_token stop = {}) const override;
    std::string smartFilename(const FilenameRequest& request, std::stop_token stop = {}) const override;
    void testConnection(std::stop_token = {}) const override {}

    // The extractive summary, without any delay.
    static std::string extractiveSummary(std::string_view text, SummaryStyle style);

private:
    void wait(std::stop_token stop) const;

    std::chrono::milliseconds artificialDelay_;
};

} // namespace tessellar

#pragma once

#include "kit/intelligence/IntelligenceProvider.h"

#include <string>
#include <string_view>

namespace tessellar {

// The fixed instruction texts a model-backed provider sends: one system and one user
// message per operation. Material is cut to its limit before it is sent.
struct Prompt {
    std::string system;
    std::string user;

    bool operator==(const Prompt&) const = default;
};

namespace prompts {

inline constexpr std::size_t classifyTextLimit = 6000;
inline constexpr std::size_t summaryTextLimit = 12000;
inline constexpr std::size_t filenameTextLimit = 3000;

Prompt classify(const ClassificationRequest& request);
Prompt summarize(std::string_view text, SummaryStyle style);
Prompt answer(std::string_view question, std::string_view content);
Prompt smartFilename(const FilenameRequest& request);
Prompt testConnection();

} // namespace prompts
} // namespace tessellar

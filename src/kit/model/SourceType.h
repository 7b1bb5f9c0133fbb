#pragma once

#include <optional>
#include <string_view>

namespace tessellar {

// How a capture arrived.
enum class SourceType { drop, clipboard, typed };

// Who produced a classification.
enum class ClassificationSource { rules, intelligence, mixed };

namespace source_type {
std::string_view rawValue(SourceType type);
std::string_view displayName(SourceType type);
std::optional<SourceType> fromRaw(std::string_view raw);
} // namespace source_type

namespace classification_source {
std::string_view rawValue(ClassificationSource source);
std::string_view displayName(ClassificationSource source);
std::optional<ClassificationSource> fromRaw(std::string_view raw);
// True when content was sent to an AI provider to produce the classification.
bool leftTheMac(ClassificationSource source);
} // namespace classification_source

} // namespace tessellar

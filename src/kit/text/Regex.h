#pragma once

#include "kit/text/TextRange.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unicode/regex.h>
#include <unicode/unistr.h>
#include <vector>

namespace tessellar {

// An ICU regular expression (the same syntax as NSRegularExpression), compiled once and
// shareable between threads. Ranges are UTF-16 offsets into the searched text.
class Regex {
public:
    struct Group {
        TextRange range;
        std::string text;
        bool operator==(const Group&) const = default;
    };
    struct Match {
        std::vector<std::optional<Group>> groups; // [0] is the whole match; unmatched groups are absent
        const Group& whole() const { return *groups[0]; }
        const std::optional<Group>& group(std::size_t i) const { return groups[i]; }
        TextRange range() const { return groups[0]->range; }
        const std::string& text() const { return groups[0]->text; }
    };

    // `flags` are ICU's URegexpFlag bits (UREGEX_CASE_INSENSITIVE, UREGEX_MULTILINE …).
    // A pattern that does not compile gives a Regex that never matches (valid() is false).
    explicit Regex(std::string_view pattern, uint32_t flags = 0);

    bool valid() const { return pattern_ != nullptr; }

    std::vector<Match> allMatches(std::string_view text) const;
    std::vector<Match> allMatches(const icu::UnicodeString& text) const;
    std::optional<Match> firstMatch(std::string_view text) const;
    std::optional<Match> firstMatch(const icu::UnicodeString& text) const;
    bool matches(std::string_view text) const { return firstMatch(text).has_value(); }
    // Whether the whole text matches (anchored at both ends).
    bool matchesEntirely(std::string_view text) const;
    // ICU replacement syntax ($1 for groups).
    std::string replaceAll(std::string_view text, std::string_view replacement) const;

private:
    std::unique_ptr<icu::RegexPattern> pattern_;
};

} // namespace tessellar

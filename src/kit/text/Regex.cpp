#include "kit/text/Regex.h"

#include "kit/text/Unicode.h"

namespace tessellar {
namespace {

Regex::Match makeMatch(icu::RegexMatcher& matcher) {
    UErrorCode status = U_ZERO_ERROR;
    Regex::Match match;
    const int32_t count = matcher.groupCount();
    match.groups.reserve(static_cast<std::size_t>(count) + 1);
    for (int32_t g = 0; g <= count; ++g) {
        const int32_t start = matcher.start(g, status);
        const int32_t end = matcher.end(g, status);
        if (U_FAILURE(status) || start < 0) {
            status = U_ZERO_ERROR;
            match.groups.emplace_back(std::nullopt);
            continue;
        }
        match.groups.emplace_back(
            Regex::Group{TextRange{start, end - start}, unicode::toUTF8(matcher.group(g, status))});
    }
    return match;
}

} // namespace

Regex::Regex(std::string_view pattern, uint32_t flags) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    pattern_.reset(icu::RegexPattern::compile(unicode::toICU(pattern), flags, parseError, status));
    if (U_FAILURE(status))
        pattern_.reset();
}

std::vector<Regex::Match> Regex::allMatches(const icu::UnicodeString& text) const {
    std::vector<Match> out;
    if (!pattern_)
        return out;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(pattern_->matcher(text, status));
    if (U_FAILURE(status))
        return out;
    while (matcher->find(status) && U_SUCCESS(status))
        out.push_back(makeMatch(*matcher));
    return out;
}

std::vector<Regex::Match> Regex::allMatches(std::string_view text) const {
    return allMatches(unicode::toICU(text));
}

std::optional<Regex::Match> Regex::firstMatch(const icu::UnicodeString& text) const {
    if (!pattern_)
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(pattern_->matcher(text, status));
    if (U_FAILURE(status) || !matcher->find(status) || U_FAILURE(status))
        return std::nullopt;
    return makeMatch(*matcher);
}

std::optional<Regex::Match> Regex::firstMatch(std::string_view text) const {
    return firstMatch(unicode::toICU(text));
}

bool Regex::matchesEntirely(std::string_view text) const {
    if (!pattern_)
        return false;
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString u = unicode::toICU(text);
    std::unique_ptr<icu::RegexMatcher> matcher(pattern_->matcher(u, status));
    if (U_FAILURE(status))
        return false;
    const bool whole = matcher->matches(status);
    return U_SUCCESS(status) && whole;
}

std::string Regex::replaceAll(std::string_view text, std::string_view replacement) const {
    if (!pattern_)
        return std::string(text);
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString u = unicode::toICU(text);
    std::unique_ptr<icu::RegexMatcher> matcher(pattern_->matcher(u, status));
    if (U_FAILURE(status))
        return std::string(text);
    const icu::UnicodeString result = matcher->replaceAll(unicode::toICU(replacement), status);
    return U_FAILURE(status) ? std::string(text) : unicode::toUTF8(result);
}

} // namespace tessellar

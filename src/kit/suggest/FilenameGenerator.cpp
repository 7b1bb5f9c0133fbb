#include "kit/suggest/FilenameGenerator.h"

#include "kit/detect/TextSignals.h"
#include "kit/text/Formatting.h"
#include "kit/text/Splitting.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <array>
#include <optional>
#include <system_error>
#include <unicode/uchar.h>
#include <vector>

namespace tessellar {
namespace {

constexpr std::array<std::string_view, 17> documentKinds{
    "invoice", "receipt", "statement", "contract", "agreement", "resume", "cv",      "offer letter", "lease",
    "policy",  "report",  "proposal",  "quote",    "estimate",  "tax",    "payslip", "transcript"};

constexpr std::array<std::string_view, 29> stopWords{
    "the", "a",   "an",   "of",   "for",    "to",    "in",  "on",   "and",   "or",
    "is",  "was", "this", "that", "with",   "at",    "by",  "from", "your",  "you",
    "it",  "be",  "has",  "have", "cannot", "could", "not", "no",   "please"};

const std::vector<std::string> issueDatePhrases{"invoice date", "date of issue", "issued", "statement date"};
const std::vector<std::string> dueDatePhrases{"due date", "payment due", "due"};

constexpr std::size_t documentKindPrefix = 1200;
constexpr std::size_t dateWindow = 60;
constexpr std::size_t stemLimit = 72;
constexpr std::size_t minimumStem = 4;
constexpr int lastAlternative = 99;

std::string_view lastPathComponent(std::string_view name) {
    while (!name.empty() && name.back() == '/')
        name.remove_suffix(1);
    const std::size_t slash = name.rfind('/');
    return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

bool isWordScalar(UChar32 c) {
    return (U_GET_GC_MASK(c) & (U_GC_L_MASK | U_GC_M_MASK | U_GC_N_MASK)) != 0;
}

// Words of letters and digits, split at every other character.
std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::optional<std::size_t> start;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t at = i;
        const bool word = isWordScalar(static_cast<UChar32>(unicode::nextScalar(text, i)));
        if (word && !start)
            start = at;
        if (!word && start) {
            out.push_back(text.substr(*start, at - *start));
            start.reset();
        }
    }
    if (start)
        out.push_back(text.substr(*start));
    return out;
}

bool isStopWord(std::string_view lowered) {
    for (const auto word : stopWords)
        if (word == lowered)
            return true;
    return false;
}

std::optional<std::string> value(const ItemMetadata& metadata, std::string_view key) {
    return metadata[key];
}

template <typename... Rest>
std::optional<std::string> value(const ItemMetadata& metadata, std::string_view key, Rest... rest) {
    if (auto found = metadata[key])
        return found;
    return value(metadata, rest...);
}

std::string joinedSlugs(const std::vector<std::optional<std::string>>& parts) {
    std::string stem;
    for (const auto& part : parts) {
        if (!part)
            continue;
        const std::string slug = slugified(*part);
        if (slug.empty())
            continue;
        if (!stem.empty())
            stem += '-';
        stem += slug;
    }
    return stem;
}

} // namespace

FilenameGenerator::Suggestion FilenameGenerator::suggestion(const FilenameRequest& request) {
    const auto [currentStem, extension] = splitFileName(request.currentName);
    const auto month = [&]() -> std::optional<std::string> {
        const auto date = firstDate(request);
        return date ? std::optional(Formatting::filenameMonth(*date)) : std::nullopt;
    };
    const auto company = [&]() -> std::optional<std::string> {
        if (auto known = request.metadata[ItemMetadata::Key::company])
            return known;
        return TextSignals::organizationName(request.text);
    };

    std::vector<std::optional<std::string>> parts;
    std::string_view rationale;
    switch (request.contentType) {
    case ContentType::invoice: {
        const auto issuer = company();
        parts = {issuer, std::string("invoice"), month()};
        rationale = issuer ? fromIssuerAndDate : fromContents;
        break;
    }
    case ContentType::receipt: {
        auto merchant = request.metadata[ItemMetadata::Key::merchant];
        if (!merchant)
            merchant = TextSignals::organizationName(request.text);
        const auto date = firstDate(request);
        parts = {merchant, std::string("receipt"),
                 date ? std::optional(Formatting::filenameDay(*date)) : std::nullopt};
        rationale = merchant ? fromMerchantAndDate : fromContents;
        break;
    }
    case ContentType::code:
    case ContentType::image:
    case ContentType::screenshot: {
        auto source = value(request.metadata, ItemMetadata::Key::errorSummary, ItemMetadata::Key::excerpt);
        if (!source)
            source = firstMeaningfulLine(request.text);
        parts = {keyPhrase(source, 4)};
        rationale = fromImageText;
        break;
    }
    default:
        if (const auto kind = documentKind(request.text)) {
            parts = {company(), *kind, month()};
            rationale = fromHeadingAndDate;
        } else {
            auto source = request.metadata[ItemMetadata::Key::excerpt];
            if (!source)
                source = firstMeaningfulLine(request.text);
            parts = {keyPhrase(source, 5)};
            rationale = fromFirstHeading;
        }
        break;
    }

    const std::string stem = joinedSlugs(parts);
    if (unicode::characterCount(stem) < minimumStem)
        return {request.currentName, std::string(notEnoughInformation), false};

    std::string filename = assemble(stem, extension);
    const bool sameName = unicode::lowercased(filename) == unicode::lowercased(request.currentName);
    const bool sameStem = stem == slugified(currentStem);
    return {std::move(filename), std::string(rationale), !sameName && !sameStem};
}

std::string FilenameGenerator::sanitize(std::string_view name, std::string_view reference) {
    const auto extension = splitFileName(reference).extension;
    std::string stem = slugified(splitFileName(name).stem);
    if (stem.empty())
        stem = slugified(lastPathComponent(name));
    if (stem.empty())
        return {};
    return assemble(stem, extension);
}

std::filesystem::path FilenameGenerator::uniqueURL(std::string_view filename,
                                                   const std::filesystem::path& directory) {
    std::filesystem::path candidate = directory / std::string(filename);
    const auto [stem, extension] = splitFileName(filename);
    std::error_code error;
    for (int number = 2; number <= lastAlternative && std::filesystem::exists(candidate, error); ++number) {
        std::string name(stem);
        name += '-';
        name += std::to_string(number);
        if (!extension.empty()) {
            name += '.';
            name += extension;
        }
        candidate = directory / name;
    }
    return candidate;
}

std::optional<std::string> FilenameGenerator::keyPhrase(const std::optional<std::string>& text,
                                                        std::size_t maxWords) {
    if (!text)
        return std::nullopt;
    const std::string collapsed = normalizedWhitespace(*text);
    if (collapsed.empty())
        return std::nullopt;
    std::string phrase;
    std::size_t kept = 0;
    for (const auto word : words(collapsed)) {
        if (kept == maxWords)
            break;
        if (unicode::characterCount(word) < 2 || isStopWord(unicode::lowercased(word)))
            continue;
        if (kept > 0)
            phrase += '-';
        phrase += word;
        ++kept;
    }
    if (kept == 0)
        return std::nullopt;
    return phrase;
}

std::optional<std::string> FilenameGenerator::documentKind(std::string_view text) {
    const std::string lower = unicode::lowercased(unicode::characterPrefix(text, documentKindPrefix));
    for (const auto kind : documentKinds)
        if (lower.find(kind) != std::string::npos)
            return std::string(kind == "cv" ? "resume" : kind);
    return std::nullopt;
}

std::optional<Timestamp> FilenameGenerator::firstDate(const FilenameRequest& request) {
    if (auto issued = TextSignals::date(issueDatePhrases, request.text, dateWindow))
        return issued;
    if (auto due = TextSignals::date(dueDatePhrases, request.text, dateWindow))
        return due;
    const auto all = TextSignals::dates(request.text);
    if (all.empty())
        return std::nullopt;
    return all.front();
}

std::string FilenameGenerator::assemble(std::string_view stem, std::string_view extension) {
    std::string name(stem);
    if (unicode::characterCount(stem) > stemLimit) {
        name = std::string(unicode::characterPrefix(stem, stemLimit));
        while (!name.empty() && name.back() == '-')
            name.pop_back();
    }
    if (!extension.empty()) {
        name += '.';
        name += unicode::lowercased(extension);
    }
    return name;
}

} // namespace tessellar

#include "kit/intelligence/AIClassification.h"

#include "kit/model/DecodingError.h"
#include "kit/model/TessellarError.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>
#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace tessellar {
namespace {

using nlohmann::json;

constexpr std::size_t titleLimit = 120;
constexpr std::size_t headlineLimit = 40;
constexpr std::size_t factLimit = 160;
constexpr double maximumConfidence = 0.99;

constexpr std::array<std::string_view, 9> knownKeys{
    "company", "merchant", "amount", "dueDate", "date", "route", "flightNumber", "errorSummary", "excerpt"};

const json* member(const json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end() || it->is_null())
        return nullptr;
    return &*it;
}

std::string stringMember(const json& value, const char* key) {
    if (!value.is_string())
        throw DecodingError(std::string("\"") + key + "\" is not a string");
    return value.get<std::string>();
}

ContentType resolvedType(const std::string& raw) {
    if (const auto exact = content_type::fromRaw(raw))
        return *exact;
    const std::string lowered = unicode::lowercased(raw);
    for (const ContentType type : content_type::allCases())
        if (unicode::lowercased(content_type::rawValue(type)) == lowered)
            return type;
    return ContentType::unknown;
}

} // namespace

AIClassification AIClassification::decode(std::string_view text) {
    json object;
    try {
        object = json::parse(text);
    } catch (const json::exception& error) {
        throw DecodingError(error.what());
    }
    if (!object.is_object())
        throw DecodingError("not a JSON object");

    AIClassification reply;
    if (const json* value = member(object, "contentType"))
        reply.contentType = stringMember(*value, "contentType");
    if (const json* value = member(object, "title"))
        reply.title = stringMember(*value, "title");
    if (const json* value = member(object, "headline"))
        reply.headline = stringMember(*value, "headline");
    if (const json* value = member(object, "confidence")) {
        if (!value->is_number())
            throw DecodingError("\"confidence\" is not a number");
        reply.confidence = value->get<double>();
    }
    if (const json* value = member(object, "metadata")) {
        if (!value->is_object())
            throw DecodingError("\"metadata\" is not an object");
        for (const auto& [key, fact] : value->items())
            reply.metadata[key] = stringMember(fact, "metadata");
    }
    if (const json* value = member(object, "recommendedActions")) {
        if (!value->is_array())
            throw DecodingError("\"recommendedActions\" is not an array");
        for (const auto& action : *value)
            reply.recommendedActions.push_back(stringMember(action, "recommendedActions"));
    }
    return reply;
}

std::string AIClassification::encode() const {
    json object = json::object();
    object["contentType"] = contentType;
    object["title"] = title;
    if (headline)
        object["headline"] = *headline;
    object["confidence"] = confidence;
    object["metadata"] = metadata;
    object["recommendedActions"] = recommendedActions;
    return object.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::optional<Classification> AIClassification::validated(const std::set<ActionID>& knownActionIDs) const {
    const ContentType type = resolvedType(contentType);
    std::string cleanTitle = truncated(trimmed(title), titleLimit);
    if (type == ContentType::unknown && cleanTitle.empty())
        return std::nullopt;

    ItemMetadata facts;
    for (const std::string_view key : knownKeys) {
        const auto it = metadata.find(std::string(key));
        if (it != metadata.end())
            facts.set(key, truncated(trimmed(it->second), factLimit), std::nullopt, true);
    }
    // std::map iterates in plain key order, which is the order the other keys are listed in.
    for (const auto& [key, value] : metadata) {
        if (std::find(knownKeys.begin(), knownKeys.end(), key) != knownKeys.end())
            continue;
        facts.set(key, truncated(trimmed(value), factLimit), humanizedKey(key), false);
    }

    std::vector<ActionID> actions;
    for (const auto& raw : recommendedActions) {
        ActionID id(raw);
        if (knownActionIDs.contains(id))
            actions.push_back(std::move(id));
    }

    if (cleanTitle.empty())
        cleanTitle = std::string(content_type::displayName(type));

    std::optional<std::string> cleanHeadline;
    if (headline)
        cleanHeadline = truncated(trimmed(*headline), headlineLimit);

    double clamped = confidence;
    if (!(clamped > 0)) // also catches NaN, which JSON cannot carry but a caller could set
        clamped = 0;
    else if (clamped > maximumConfidence)
        clamped = maximumConfidence;

    return Classification(type, std::move(cleanTitle), std::move(cleanHeadline), clamped, std::move(facts),
                          std::move(actions), ClassificationSource::intelligence);
}

std::string humanizedKey(std::string_view key) {
    const icu::UnicodeString text = unicode::toICU(key);
    icu::UnicodeString out;
    bool first = true;
    for (int32_t i = 0; i < text.length();) {
        const UChar32 scalar = text.char32At(i);
        icu::UnicodeString piece(scalar);
        if (first) {
            piece.toUpper(icu::Locale::getRoot());
            first = false;
        } else if (u_isUUppercase(scalar)) {
            piece.toLower(icu::Locale::getRoot());
            out.append(u' ');
        } else {
            piece.toLower(icu::Locale::getRoot());
        }
        out.append(piece);
        i += U16_LENGTH(scalar);
    }
    return unicode::toUTF8(out);
}

std::optional<std::string_view> firstJSONObject(std::string_view reply) {
    const std::size_t start = reply.find('{');
    if (start == std::string_view::npos)
        return std::nullopt;
    std::size_t depth = 0;
    bool inString = false;
    bool escaped = false;
    for (std::size_t i = start; i < reply.size(); ++i) {
        const char c = reply[i];
        if (escaped) {
            escaped = false;
        } else if (inString) {
            if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0)
                return reply.substr(start, i - start + 1);
        }
    }
    return std::nullopt;
}

AIClassification readClassificationReply(std::string_view reply) {
    const auto object = firstJSONObject(reply);
    if (!object)
        throw TessellarError("The AI provider returned a response Tessellar couldn\u2019t read.",
                             {TessellarError::Recovery::retry, TessellarError::Recovery::openSettings});
    try {
        return AIClassification::decode(*object);
    } catch (const DecodingError&) {
        throw TessellarError("The AI provider\u2019s response didn\u2019t match the expected format.",
                             {TessellarError::Recovery::retry});
    }
}

} // namespace tessellar

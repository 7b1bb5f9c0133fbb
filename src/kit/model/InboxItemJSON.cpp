#include "kit/model/InboxItemJSON.h"

namespace tessellar::item_json {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

const json& required(const json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end() || it->is_null())
        throw DecodingError(std::string("missing key \"") + key + "\"");
    return *it;
}

const json* optional(const json& object, const char* key) {
    const auto it = object.find(key);
    return (it == object.end() || it->is_null()) ? nullptr : &*it;
}

std::string string(const json& value, const char* key) {
    if (!value.is_string())
        throw DecodingError(std::string("\"") + key + "\" is not a string");
    return value.get<std::string>();
}

double number(const json& value, const char* key) {
    if (!value.is_number())
        throw DecodingError(std::string("\"") + key + "\" is not a number");
    return value.get<double>();
}

Url url(const json& value, const char* key) {
    auto parsed = Url::parse(string(value, key));
    if (!parsed)
        throw DecodingError(std::string("\"") + key + "\" is not a URL");
    return *parsed;
}

std::optional<std::string> optionalString(const json& object, const char* key) {
    const json* v = optional(object, key);
    return v ? std::optional<std::string>(string(*v, key)) : std::nullopt;
}

std::optional<Url> optionalURL(const json& object, const char* key) {
    const json* v = optional(object, key);
    return v ? std::optional<Url>(url(*v, key)) : std::nullopt;
}

std::vector<ActionID> actions(const json& value, const char* key) {
    if (!value.is_array())
        throw DecodingError(std::string("\"") + key + "\" is not an array");
    std::vector<ActionID> out;
    out.reserve(value.size());
    for (const auto& element : value)
        out.emplace_back(string(element, key));
    return out;
}

ordered_json encode(const std::vector<ActionID>& ids) {
    ordered_json out = ordered_json::array();
    for (const auto& id : ids)
        out.push_back(id.rawValue);
    return out;
}

template <typename E, typename F> E enumeration(const json& value, const char* key, F fromRaw) {
    const auto parsed = fromRaw(string(value, key));
    if (!parsed)
        throw DecodingError(std::string("\"") + key + "\" has an unknown value");
    return *parsed;
}

} // namespace

ordered_json encode(const ItemMetadata& metadata) {
    ordered_json facts = ordered_json::array();
    for (const auto& fact : metadata.facts) {
        ordered_json f = ordered_json::object();
        f["key"] = fact.key;
        if (fact.label)
            f["label"] = *fact.label;
        f["value"] = fact.value;
        f["isPrimary"] = fact.isPrimary;
        facts.push_back(std::move(f));
    }
    ordered_json hidden = ordered_json::object();
    for (const auto& [key, value] : metadata.hidden)
        hidden[key] = value;
    return ordered_json{{"facts", std::move(facts)}, {"hidden", std::move(hidden)}};
}

ordered_json encode(const InboxItem& item) {
    ordered_json j = ordered_json::object();
    j["id"] = item.id.string();
    j["createdAt"] = item.createdAt.referenceSeconds();
    j["sourceType"] = source_type::rawValue(item.sourceType);
    j["contentType"] = content_type::rawValue(item.contentType);
    j["title"] = item.title;
    if (item.headline)
        j["headline"] = *item.headline;
    if (item.originalText)
        j["originalText"] = *item.originalText;
    if (item.extractedText)
        j["extractedText"] = *item.extractedText;
    if (item.fileURL)
        j["fileURL"] = item.fileURL->absoluteString();
    if (item.sourceURL)
        j["sourceURL"] = item.sourceURL->absoluteString();
    if (item.imagePath)
        j["imagePath"] = item.imagePath->absoluteString();
    j["metadata"] = encode(item.metadata);
    j["confidence"] = item.confidence;
    j["suggestedActionIDs"] = encode(item.suggestedActionIDs);
    j["completedActionIDs"] = encode(item.completedActionIDs);
    j["classificationSource"] = classification_source::rawValue(item.classificationSource);
    return j;
}

std::string payload(const InboxItem& item) {
    // Invalid UTF-8 in captured text is replaced rather than failing the save.
    return encode(item).dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

ItemMetadata decodeMetadata(const json& j) {
    if (!j.is_object())
        throw DecodingError("\"metadata\" is not an object");
    ItemMetadata metadata;
    if (const json* facts = optional(j, "facts")) {
        if (!facts->is_array())
            throw DecodingError("\"facts\" is not an array");
        for (const auto& f : *facts) {
            if (!f.is_object())
                throw DecodingError("a fact is not an object");
            ItemMetadata::Fact fact;
            fact.key = string(required(f, "key"), "key");
            fact.label = optionalString(f, "label");
            fact.value = string(required(f, "value"), "value");
            const json& primary = required(f, "isPrimary");
            if (!primary.is_boolean())
                throw DecodingError("\"isPrimary\" is not a boolean");
            fact.isPrimary = primary.get<bool>();
            metadata.facts.push_back(std::move(fact));
        }
    }
    if (const json* hidden = optional(j, "hidden")) {
        if (!hidden->is_object())
            throw DecodingError("\"hidden\" is not an object");
        for (const auto& [key, value] : hidden->items())
            metadata.hidden[key] = string(value, "hidden");
    }
    return metadata;
}

InboxItem decode(const json& j) {
    if (!j.is_object())
        throw DecodingError("an item is not an object");
    InboxItem item;
    const auto id = Uuid::parse(string(required(j, "id"), "id"));
    if (!id)
        throw DecodingError("\"id\" is not a UUID");
    item.id = *id;
    item.createdAt = Timestamp::fromReferenceSeconds(number(required(j, "createdAt"), "createdAt"));
    item.sourceType = enumeration<SourceType>(required(j, "sourceType"), "sourceType", source_type::fromRaw);
    item.contentType =
        enumeration<ContentType>(required(j, "contentType"), "contentType", content_type::fromRaw);
    item.title = string(required(j, "title"), "title");
    item.headline = optionalString(j, "headline");
    item.originalText = optionalString(j, "originalText");
    item.extractedText = optionalString(j, "extractedText");
    item.fileURL = optionalURL(j, "fileURL");
    item.sourceURL = optionalURL(j, "sourceURL");
    item.imagePath = optionalURL(j, "imagePath");
    item.metadata = decodeMetadata(required(j, "metadata"));
    item.confidence = number(required(j, "confidence"), "confidence");
    item.suggestedActionIDs = actions(required(j, "suggestedActionIDs"), "suggestedActionIDs");
    item.completedActionIDs = actions(required(j, "completedActionIDs"), "completedActionIDs");
    item.classificationSource = enumeration<ClassificationSource>(
        required(j, "classificationSource"), "classificationSource", classification_source::fromRaw);
    return item;
}

std::optional<InboxItem> decodePayload(std::string_view bytes) {
    const json j = json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (j.is_discarded())
        return std::nullopt;
    try {
        return decode(j);
    } catch (const DecodingError&) {
        return std::nullopt;
    }
}

} // namespace tessellar::item_json

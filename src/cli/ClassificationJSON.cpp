#include "cli/ClassificationJSON.h"

namespace tessellar::classification_json {

nlohmann::ordered_json encode(const Classification& classification) {
    using nlohmann::ordered_json;
    ordered_json facts = ordered_json::array();
    for (const auto& fact : classification.metadata.facts) {
        ordered_json f = ordered_json::object();
        f["key"] = fact.key;
        if (fact.label)
            f["label"] = *fact.label;
        f["value"] = fact.value;
        f["isPrimary"] = fact.isPrimary;
        facts.push_back(std::move(f));
    }
    ordered_json hidden = ordered_json::object();
    for (const auto& [key, value] : classification.metadata.hidden)
        hidden[key] = value;

    ordered_json ids = ordered_json::array();
    for (const auto& id : classification.recommendedActionIDs)
        ids.push_back(id.rawValue);

    ordered_json out = ordered_json::object();
    out["contentType"] = content_type::rawValue(classification.contentType);
    out["title"] = classification.title;
    if (classification.headline)
        out["headline"] = *classification.headline;
    out["confidence"] = classification.confidence;
    out["metadata"] = ordered_json{{"facts", std::move(facts)}, {"hidden", std::move(hidden)}};
    out["recommendedActionIDs"] = std::move(ids);
    out["source"] = classification_source::rawValue(classification.source);
    return out;
}

} // namespace tessellar::classification_json

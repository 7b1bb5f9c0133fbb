#include "cli/ClassificationJSON.h"

#include "kit/model/InboxItemJSON.h"

namespace tessellar::classification_json {

nlohmann::ordered_json encode(const Classification& classification) {
    using nlohmann::ordered_json;
    ordered_json ids = ordered_json::array();
    for (const auto& id : classification.recommendedActionIDs)
        ids.push_back(id.rawValue);

    ordered_json out = ordered_json::object();
    out["contentType"] = content_type::rawValue(classification.contentType);
    out["title"] = classification.title;
    if (classification.headline)
        out["headline"] = *classification.headline;
    out["confidence"] = classification.confidence;
    out["metadata"] = item_json::encode(classification.metadata);
    out["recommendedActionIDs"] = std::move(ids);
    out["source"] = classification_source::rawValue(classification.source);
    return out;
}

} // namespace tessellar::classification_json

#pragma once

#include "kit/model/Classification.h"

#include <nlohmann/json.hpp>

namespace tessellar::classification_json {

// {"contentType", "title", "headline" (omitted when absent), "confidence",
//  "metadata": {"facts": [...], "hidden": {...}}, "recommendedActionIDs": [...], "source"},
// with the raw values and fact layout of the history payload.
nlohmann::ordered_json encode(const Classification& classification);

} // namespace tessellar::classification_json

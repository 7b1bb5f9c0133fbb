#pragma once

#include "kit/model/ActionID.h"
#include "kit/model/ContentType.h"
#include "kit/model/ItemMetadata.h"
#include "kit/model/SourceType.h"

#include <optional>
#include <string>
#include <vector>

namespace tessellar {

// A classifier's result. The confidence is clamped into 0…1 on creation.
struct Classification {
    ContentType contentType = ContentType::unknown;
    std::string title;
    std::optional<std::string> headline;
    double confidence = 0;
    ItemMetadata metadata;
    std::vector<ActionID> recommendedActionIDs;
    ClassificationSource source = ClassificationSource::rules;

    Classification() = default;
    Classification(ContentType contentType, std::string title, std::optional<std::string> headline,
                   double confidence, ItemMetadata metadata = {},
                   std::vector<ActionID> recommendedActionIDs = {},
                   ClassificationSource source = ClassificationSource::rules);

    bool operator==(const Classification&) const = default;
};

} // namespace tessellar

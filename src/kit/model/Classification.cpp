#include "kit/model/Classification.h"

#include <algorithm>
#include <cmath>

namespace tessellar {

Classification::Classification(ContentType contentType, std::string title,
                               std::optional<std::string> headline, double confidence, ItemMetadata metadata,
                               std::vector<ActionID> recommendedActionIDs, ClassificationSource source)
    : contentType(contentType), title(std::move(title)), headline(std::move(headline)),
      confidence(std::isnan(confidence) ? 0.0 : std::clamp(confidence, 0.0, 1.0)),
      metadata(std::move(metadata)), recommendedActionIDs(std::move(recommendedActionIDs)), source(source) {}

} // namespace tessellar

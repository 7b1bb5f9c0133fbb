#pragma once

#include "kit/model/ActionID.h"
#include "kit/model/Classification.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tessellar {

// A model's classification reply as received, before it is trusted.
struct AIClassification {
    std::string contentType = "unknown";
    std::string title;
    std::optional<std::string> headline;
    double confidence = 0.5;
    std::map<std::string, std::string> metadata;
    std::vector<std::string> recommendedActions;

    bool operator==(const AIClassification&) const = default;

    // Lenient decoding of a JSON object: a missing or null key takes its default, unknown
    // keys are ignored, a key of the wrong type (or text that is not an object) throws
    // DecodingError.
    static AIClassification decode(std::string_view json);
    // The same keys back; an absent headline is omitted.
    std::string encode() const;

    // The reply turned into a classification the system can trust, or absent when the model
    // said nothing usable. Unknown types and actions are dropped, long texts cut, the
    // confidence clamped below certainty.
    std::optional<Classification> validated(const std::set<ActionID>& knownActionIDs) const;
};

// "flightNumber" -> "Flight number": a label for a metadata key the system does not know.
std::string humanizedKey(std::string_view key);

// The first balanced JSON object in a model's reply ("{" … "}"), ignoring braces inside string
// literals and any text around it (a preamble, a Markdown fence). Absent when there is none.
std::optional<std::string_view> firstJSONObject(std::string_view reply);

// The classification in a model's reply. Throws TessellarError when there is no object
// ("… couldn’t read.") or the object does not decode ("… didn’t match the expected format.").
AIClassification readClassificationReply(std::string_view reply);

} // namespace tessellar

#pragma once

#include "kit/model/DecodingError.h"
#include "kit/model/InboxItem.h"
#include "kit/model/ItemMetadata.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// The JSON form of an item: the history payload. Absent optionals are omitted, dates
// are seconds since 2001, unknown keys are ignored and unknown raw values rejected.
namespace item_json {

// Keys come out in field order (readers must not rely on it).
nlohmann::ordered_json encode(const ItemMetadata& metadata);
nlohmann::ordered_json encode(const InboxItem& item);
std::string payload(const InboxItem& item);

// Throw DecodingError when a required key is missing or a value has the wrong type.
ItemMetadata decodeMetadata(const nlohmann::json& json);
InboxItem decode(const nlohmann::json& json);

// Absent when the bytes are not JSON or not a readable item.
std::optional<InboxItem> decodePayload(std::string_view bytes);

} // namespace item_json
} // namespace tessellar

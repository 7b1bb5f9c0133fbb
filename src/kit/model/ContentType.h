#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace tessellar {

// The recognised kind of a capture. Declaration order is significant: allCases lists it.
enum class ContentType {
    plainText,
    url,
    address,
    date,
    emailAddress,
    phoneNumber,
    code,
    jwt,
    json,
    timestamp,
    image,
    screenshot,
    pdf,
    document,
    invoice,
    receipt,
    travel,
    event,
    product,
    unknown
};

namespace content_type {
std::span<const ContentType> allCases();
std::string_view rawValue(ContentType type);
std::string_view displayName(ContentType type);
std::string_view symbolName(ContentType type);
std::optional<ContentType> fromRaw(std::string_view raw); // exact, case-sensitive
bool isVisual(ContentType type);
bool isTextBearingDocument(ContentType type);
} // namespace content_type

} // namespace tessellar

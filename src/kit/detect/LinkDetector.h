#pragma once

#include "kit/base/Url.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// Decides whether a whole text is exactly one web link, one e-mail address or one phone
// number (never a text that merely contains one), and shortens a link for display.
// Stateless; safe from any thread.
class LinkDetector {
public:
    // The schemes accepted as web links (compared after lower-casing).
    static constexpr std::array<std::string_view, 2> webSchemes{"http", "https"};

    // The link when the whole trimmed text is one http or https link (at most 2,048
    // characters, no whitespace inside). A scheme-less address comes back with http.
    static std::optional<Url> standaloneURL(std::string_view text);

    // Host without a leading "www." plus the path without a trailing "/"; no query or fragment.
    static std::string displayString(const Url& url);

    // The trimmed text when the whole of it is one e-mail address.
    static std::optional<std::string> standaloneEmailAddress(std::string_view text);

    // The number as the detector reports it when the whole trimmed text (7 to 24
    // characters) is one phone number.
    static std::optional<std::string> standalonePhoneNumber(std::string_view text);
};

} // namespace tessellar

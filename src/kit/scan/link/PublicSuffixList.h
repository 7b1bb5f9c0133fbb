#pragma once

#include <string_view>

namespace tessellar {

// The public suffix list (libpsl, the system's copy when present, else the built-in one).
// Names are lower-case UTF-8.
class PublicSuffixList {
public:
    // Whether `label` is a top-level domain the list knows (no wildcard guess for unknown ones).
    static bool isKnownTopLevelDomain(std::string_view label);

    // Whether `host` is itself an ICANN public suffix ("co.uk"), so nobody's site.
    static bool isPublicSuffix(std::string_view host);
};

} // namespace tessellar

#pragma once

#include <string_view>

namespace tessellar {

// Where this build asks for the latest release: set at build time with
// -DTESSELLAR_UPDATE_FEED=https://…/updates/latest.json. A build without a real feed
// carries the reserved placeholder and never contacts anything.
struct UpdateFeed {
    static constexpr std::string_view placeholder = "https://updates.tessellar.invalid/updates/latest.json";
    static std::string_view address();
    static bool isConfigured(std::string_view address = UpdateFeed::address());
};

} // namespace tessellar

#include "kit/updates/UpdateFeed.h"

#include "kit/base/Url.h"

#ifndef TESSELLAR_UPDATE_FEED
#define TESSELLAR_UPDATE_FEED "https://updates.tessellar.invalid/updates/latest.json"
#endif

namespace tessellar {

std::string_view UpdateFeed::address() {
    return TESSELLAR_UPDATE_FEED;
}

bool UpdateFeed::isConfigured(std::string_view address) {
    return address != placeholder && Url::parse(address).has_value();
}

} // namespace tessellar

#include "kit/scan/link/PublicSuffixList.h"

#include "kit/base/LazyModule.h"
#include "kit/scan/link/PublicSuffixBackend.h"

#include <string>

namespace tessellar {

const PublicSuffixBackend* PublicSuffixBackend::get() {
    static LazyModule module(moduleFile, entryPoint, Log::Category::pipeline);
    return module.get<const PublicSuffixBackend>();
}

bool PublicSuffixList::isKnownTopLevelDomain(std::string_view label) {
    if (label.empty() || label.find('.') != std::string_view::npos)
        return false;
    const PublicSuffixBackend* list = PublicSuffixBackend::get();
    return list && list->isPublicSuffix(std::string(label), false);
}

bool PublicSuffixList::isPublicSuffix(std::string_view host) {
    if (host.empty())
        return false;
    const PublicSuffixBackend* list = PublicSuffixBackend::get();
    return list && list->isPublicSuffix(std::string(host), true);
}

} // namespace tessellar

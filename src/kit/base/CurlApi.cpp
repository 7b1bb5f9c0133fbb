#include "kit/base/CurlApi.h"

#include "kit/base/LazyModule.h"

namespace tessellar {

const CurlApi* CurlApi::get() {
    static LazyModule module(moduleFile, entryPoint, Log::Category::intelligence);
    static const CurlApi* const api = [] {
        const CurlApi* loaded = module.get<const CurlApi>();
        if (loaded)
            loaded->global_init(CURL_GLOBAL_DEFAULT);
        return loaded;
    }();
    return api;
}

} // namespace tessellar

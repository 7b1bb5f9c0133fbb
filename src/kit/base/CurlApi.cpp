#include "kit/base/CurlApi.h"

#include "kit/base/LazyModule.h"

namespace tessellar {

const CurlApi* CurlApi::get() {
    static LazyModule module(moduleFile, entryPoint, Log::Category::intelligence, [](void* loaded) {
        static_cast<const CurlApi*>(loaded)->global_init(CURL_GLOBAL_DEFAULT);
    });
    return module.get<const CurlApi>();
}

} // namespace tessellar

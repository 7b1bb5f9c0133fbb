#include "kit/base/ContentTypeBackend.h"

#include "kit/base/LazyModule.h"

namespace tessellar {

const ContentTypeBackend* ContentTypeBackend::get() {
    static LazyModule module(moduleFile, entryPoint, Log::Category::pipeline);
    return module.get<const ContentTypeBackend>();
}

} // namespace tessellar

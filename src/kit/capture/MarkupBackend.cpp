#include "kit/capture/MarkupBackend.h"

#include "kit/base/LazyModule.h"

namespace tessellar {

const MarkupBackend* MarkupBackend::get() {
    static LazyModule module(moduleFile, entryPoint, Log::Category::pipeline);
    return module.get<const MarkupBackend>();
}

} // namespace tessellar

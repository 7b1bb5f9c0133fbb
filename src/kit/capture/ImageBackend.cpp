#include "kit/capture/ImageBackend.h"

#include "kit/base/LazyModule.h"

#include <string>

namespace tessellar {

const ImageBackend* ImageBackend::get() {
    static LazyModule module(moduleFile, entryPoint, Log::Category::pipeline, [](void* loaded) {
        static_cast<const ImageBackend*>(loaded)->routeDiagnostics([](const char* message) {
            std::string text(message ? message : "");
            while (!text.empty() && text.back() == '\n')
                text.pop_back();
            Log::debug(Log::Category::pipeline, text);
        });
    });
    return module.get<const ImageBackend>();
}

} // namespace tessellar

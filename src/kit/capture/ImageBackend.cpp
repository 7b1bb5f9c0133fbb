#include "kit/capture/ImageBackend.h"

#include "kit/base/LazyModule.h"

#include <string>

namespace tessellar {

const ImageBackend* ImageBackend::get() {
    static LazyModule module(moduleFile, entryPoint, Log::Category::pipeline);
    static const ImageBackend* const backend = [] {
        const auto* loaded = module.get<const ImageBackend>();
        if (loaded)
            loaded->routeDiagnostics([](const char* message) {
                std::string text(message ? message : "");
                while (!text.empty() && text.back() == '\n')
                    text.pop_back();
                Log::debug(Log::Category::pipeline, text);
            });
        return loaded;
    }();
    return backend;
}

} // namespace tessellar

#include "kit/capture/PdfBackend.h"

#include "kit/base/LazyModule.h"

namespace tessellar {

const PdfBackend* PdfBackend::get() {
    static LazyModule module(moduleFile, entryPoint, Log::Category::pipeline);
    static const PdfBackend* const backend = [] {
        const auto* loaded = module.get<const PdfBackend>();
        if (loaded)
            loaded->routeDiagnostics([](const char* message) {
                Log::debug(Log::Category::pipeline, std::string("Poppler: ") + message);
            });
        return loaded;
    }();
    return backend;
}

} // namespace tessellar

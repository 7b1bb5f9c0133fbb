#include "kit/capture/PdfBackend.h"

#include "kit/base/LazyModule.h"

namespace tessellar {

const PdfBackend* PdfBackend::get() {
    static LazyModule module(moduleFile, entryPoint, Log::Category::pipeline, [](void* loaded) {
        static_cast<const PdfBackend*>(loaded)->routeDiagnostics([](const char* message) {
            Log::debug(Log::Category::pipeline, std::string("Poppler: ") + message);
        });
    });
    return module.get<const PdfBackend>();
}

} // namespace tessellar

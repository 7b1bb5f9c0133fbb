#include "desktop/SecretServiceBackend.h"

#include "kit/base/LazyModule.h"

#include <string>

namespace tessellar {

SecretServiceBackend* SecretServiceBackend::get() {
    static LazyModule module(moduleFile, entryPoint, Log::Category::storage, [](void* loaded) {
        static_cast<SecretServiceBackend*>(loaded)->routeDiagnostics(
            [](const char* message) { Log::error(Log::Category::storage, message); });
    });
    return module.get<SecretServiceBackend>();
}

} // namespace tessellar

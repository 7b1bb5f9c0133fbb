#include "kit/base/LazyModule.h"

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>

namespace tessellar {

LazyModule::LazyModule(std::string fileName, std::string entryPoint, Log::Category category)
    : fileName_(std::move(fileName)), entryPoint_(std::move(entryPoint)), category_(category) {}

void* LazyModule::load() {
    std::call_once(once_, [this] {
        std::string path = fileName_;
        if (const char* folder = std::getenv("TESSELLAR_MODULE_DIR"); folder && *folder)
            path = (std::filesystem::path(folder) / fileName_).string();
        // Never closed: the interface is a static object of the module, used until exit.
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* reason = ::dlerror();
            failure_ = reason ? reason : "unknown dlopen failure";
        } else if (auto* entry = reinterpret_cast<void* (*)()>(::dlsym(handle, entryPoint_.c_str()))) {
            interface_ = entry();
        } else {
            failure_ = fileName_ + " has no " + entryPoint_;
        }
        if (!interface_)
            Log::error(category_, "Couldn\u2019t load " + fileName_ + ": " + failure_);
    });
    return interface_;
}

} // namespace tessellar

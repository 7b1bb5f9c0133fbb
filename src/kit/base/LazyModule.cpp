#include "kit/base/LazyModule.h"

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <link.h>
#include <vector>

namespace tessellar {
namespace {

// The folders the dynamic linker searches for the program's own libraries, run path included.
// A sanitizer's dlopen interceptor calls the real dlopen from its runtime, whose run path is not
// ours, so a bare file name would not be found there; an absolute path always is.
std::vector<std::string> programSearchFolders() {
    void* program = ::dlopen(nullptr, RTLD_NOW);
    Dl_serinfo size{};
    if (!program || ::dlinfo(program, RTLD_DI_SERINFOSIZE, &size) != 0)
        return {};
    std::vector<Dl_serinfo> buffer(size.dls_size / sizeof(Dl_serinfo) + 1);
    Dl_serinfo* info = buffer.data();
    if (::dlinfo(program, RTLD_DI_SERINFOSIZE, info) != 0 || ::dlinfo(program, RTLD_DI_SERINFO, info) != 0)
        return {};
    std::vector<std::string> folders;
    for (unsigned i = 0; i < info->dls_cnt; ++i)
        folders.emplace_back(info->dls_serpath[i].dls_name);
    return folders;
}

void* openModule(const std::string& fileName) {
    if (const char* folder = std::getenv("TESSELLAR_MODULE_DIR"); folder && *folder)
        return ::dlopen((std::filesystem::path(folder) / fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (void* handle = ::dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL))
        return handle;
    std::error_code error;
    for (const auto& folder : programSearchFolders())
        if (const auto path = std::filesystem::path(folder) / fileName; std::filesystem::exists(path, error))
            return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    return nullptr;
}

} // namespace

LazyModule::LazyModule(std::string fileName, std::string entryPoint, Log::Category category,
                       std::function<void(void*)> onLoad)
    : fileName_(std::move(fileName)), entryPoint_(std::move(entryPoint)), category_(category),
      onLoad_(std::move(onLoad)) {}

void* LazyModule::load() {
    std::call_once(once_, [this] {
        // Never closed: the interface is a static object of the module, used until exit.
        void* handle = openModule(fileName_);
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
        else if (onLoad_)
            onLoad_(interface_);
    });
    return interface_;
}

} // namespace tessellar

#pragma once

#include "kit/base/Log.h"

#include <functional>
#include <mutex>
#include <string>

namespace tessellar {

// A backend library (Tesseract, poppler, libcurl, libphonenumber …) loaded with dlopen on its
// first use. Linked directly, those libraries and the ninety others they pull in are mapped and
// relocated at every start, which is most of a short run's time; loaded lazily, a run pays only
// for what it uses. A module exports one C function returning a pointer to its interface, an
// abstract class in the kit whose methods take and return standard types only.
class LazyModule {
public:
    // `fileName` is found by the dynamic linker (the programs' run path names the folder);
    // the environment variable TESSELLAR_MODULE_DIR, when set, is searched instead.
    // `onLoad`, when given, runs once with the interface right after it is loaded, before any
    // caller sees it (to route the library's diagnostics, say).
    LazyModule(std::string fileName, std::string entryPoint, Log::Category category,
               std::function<void(void*)> onLoad = {});

    // The interface, loaded once; nullptr when the module can't be loaded (logged once).
    template <typename Interface> Interface* get() { return static_cast<Interface*>(load()); }

    // Why the module isn't available, once `get` has returned nullptr.
    const std::string& failure() const { return failure_; }

private:
    void* load();

    std::string fileName_;
    std::string entryPoint_;
    Log::Category category_;
    std::function<void(void*)> onLoad_;
    std::once_flag once_;
    void* interface_ = nullptr;
    std::string failure_;
};

} // namespace tessellar

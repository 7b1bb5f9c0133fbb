#include "desktop/CalendarBackend.h"

#include "kit/base/LazyModule.h"

namespace tessellar {

const CalendarBackend* CalendarBackend::get() {
    static LazyModule module(moduleFile, entryPoint, Log::Category::actions);
    return module.get<const CalendarBackend>();
}

} // namespace tessellar

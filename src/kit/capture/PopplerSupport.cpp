#include "kit/capture/PopplerSupport.h"

#include "kit/base/Log.h"

#include <mutex>
#include <poppler-global.h>

namespace tessellar::poppler_support {

std::unique_ptr<poppler::document> open(const std::filesystem::path& file) {
    static std::once_flag once;
    std::call_once(once, [] {
        poppler::set_debug_error_function(
            [](const std::string& message, void*) {
                Log::debug(Log::Category::pipeline, "Poppler: " + message);
            },
            nullptr);
    });
    std::unique_ptr<poppler::document> document(poppler::document::load_from_file(file.string()));
    if (!document || document->is_locked()) {
        Log::debug(Log::Category::pipeline, document ? "PDF is locked" : "PDF could not be opened");
        return nullptr;
    }
    return document;
}

} // namespace tessellar::poppler_support

#pragma once

#include <filesystem>
#include <memory>
#include <poppler-document.h>

namespace tessellar::poppler_support {

// Opens a PDF that can be read without a password; absent otherwise. Poppler's own
// diagnostics go to the log instead of stderr.
std::unique_ptr<poppler::document> open(const std::filesystem::path& file);

} // namespace tessellar::poppler_support

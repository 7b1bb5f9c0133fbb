#pragma once

#include "kit/model/ClassificationInput.h"

#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace tessellar::cli {

// What a command's [TEXT | PATH | -] argument names: standard input when absent or "-",
// a dropped file when a file is there, otherwise the text itself.
ClassificationInput inputFor(const std::optional<std::string>& argument, std::istream& in);

// “name”, as the user-facing texts quote names.
std::string inQuotes(std::string_view name);

} // namespace tessellar::cli

#pragma once

#include <filesystem>
#include <string_view>

namespace tessellar {

// Moves a file into a folder without ever replacing what is already there, even when other
// processes or threads move files with the same name at the same moment. A name that is taken
// gives way to the next free alternative ("report-2.pdf", "report-3.pdf" …). Across file
// systems the file is copied under a hidden temporary name in the target folder, synced,
// renamed into place and only then removed from its old place, so an interruption leaves the
// original plus at most a hidden partial copy that is cleaned up, never two half-files.
namespace SafeFileMove {

// The new path of the file. Throws std::system_error with the errno of the step that failed;
// the file is then still at `source`.
std::filesystem::path moveInto(const std::filesystem::path& source, const std::filesystem::path& folder,
                               std::string_view name);

// The name tried after `attempt` clashes: attempt 1 is `name` itself, attempt n is the stem
// with "-n" before the extension.
std::string alternativeName(std::string_view name, int attempt);

} // namespace SafeFileMove

} // namespace tessellar

#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessellar::cli {

// Runs one invocation of tessellar-cli; `arguments` excludes the program name. Returns
// the exit code of cli::ExitCode (or a command's own, such as 3 for a pending confirmation).
int run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace tessellar::cli

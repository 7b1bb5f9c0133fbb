#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessellar::cli {

// Exit codes: success, a failure the user can act on (message on stderr), bad usage.
enum ExitCode : int { success = 0, failure = 1, badUsage = 2 };

// Runs one invocation of tessellar-cli; `arguments` excludes the program name.
int run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace tessellar::cli

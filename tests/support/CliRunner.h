#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <vector>

namespace tessellar::testing {

// One run of the real tessellar-cli, built next to the tests (<build>/src/cli).
struct CliOutcome {
    int status = -1;
    std::string out;
    std::string err;
    nlohmann::json json() const { return nlohmann::json::parse(out); }
};

inline std::filesystem::path cliPath() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "src" / "cli" /
           "tessellar-cli";
}

inline std::string shellQuoted(std::string_view text) {
    std::string out = "'";
    for (const char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Runs the tool with `environment` ("NAME=value …", or an `env …` prefix) in front, standard
// input from the file `input`, and its output captured in files inside `scratch`.
inline CliOutcome runCli(const std::vector<std::string>& arguments, const std::filesystem::path& input,
                         const std::filesystem::path& scratch, const std::string& environment = "") {
    std::string command = environment + " " + shellQuoted(cliPath().string());
    for (const auto& a : arguments)
        command += " " + shellQuoted(a);
    command += " < " + shellQuoted(input.string()) + " > " + shellQuoted((scratch / "stdout").string()) +
               " 2> " + shellQuoted((scratch / "stderr").string());
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(scratch / "stdout"),
            readFile(scratch / "stderr")};
}

} // namespace tessellar::testing

#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace tessellar::testing {

// One run of the real tessellar-cli, built next to the tests (<build>/src/cli).
struct CliOutcome {
    int status = -1;
    std::string out;
    std::string err;
    nlohmann::json json() const { return nlohmann::json::parse(out); }
};

std::filesystem::path cliPath();
std::string shellQuoted(std::string_view text);
std::string readFile(const std::filesystem::path& path);

// Runs the tool with `environment` ("NAME=value …", or an `env …` prefix) in front, standard
// input from the file `input`, and its output captured in files inside `scratch`.
CliOutcome runCli(const std::vector<std::string>& arguments, const std::filesystem::path& input,
                  const std::filesystem::path& scratch, const std::string& environment = "");

} // namespace tessellar::testing

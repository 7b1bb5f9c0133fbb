#include "support/ScriptedHttpServer.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace tessellar::testing {
ScriptedHttpServer::ScriptedHttpServer(bool tls) : tls_(tls) {
    std::vector<std::string> arguments{"python3",
                                       std::string(TESSELLAR_TESTS_DIR) + "/support/scripted_http_server.py",
                                       "--dir", folder_.path().string()};
    if (tls)
        arguments.emplace_back("--tls");
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (posix_spawnp(&pid_, "python3", nullptr, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot start python3");

    const auto portFile = folder_ / "port";
    // Waits for readiness, not for time: the loop ends as soon as the port is written, and
    // gives up only if the process died.
    while (!std::filesystem::exists(portFile)) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("the scripted HTTP server exited at start");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream(portFile) >> port_;
}

ScriptedHttpServer::~ScriptedHttpServer() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
}

void ScriptedHttpServer::script(const nlohmann::json& responses) {
    const auto target = folder_ / "script.json";
    const auto temporary = folder_ / "script.json.tmp";
    std::ofstream(temporary) << nlohmann::json{{"responses", responses}}.dump();
    std::filesystem::rename(temporary, target);
}

std::vector<nlohmann::json> ScriptedHttpServer::requests() const {
    std::vector<nlohmann::json> out;
    std::ifstream log(folder_ / "requests.jsonl");
    for (std::string line; std::getline(log, line);)
        if (!line.empty())
            out.push_back(nlohmann::json::parse(line));
    return out;
}

} // namespace tessellar::testing

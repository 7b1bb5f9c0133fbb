#pragma once

#include "support/TempDir.h"

#include <nlohmann/json.hpp>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tessellar::testing {

// A real local HTTP(S) server in its own process (scripted_http_server.py), for tests of
// network clients. Each test scripts the responses and reads back the requests received.
class ScriptedHttpServer {
public:
    // Starts the server and waits until it accepts connections; `tls` serves HTTPS with a
    // fresh self-signed certificate. Throws std::runtime_error when it cannot start.
    explicit ScriptedHttpServer(bool tls = false);
    ~ScriptedHttpServer();
    ScriptedHttpServer(const ScriptedHttpServer&) = delete;
    ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>" (or https) followed by `path`.
    std::string url(const std::string& path = "") const {
        return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) + path;
    }

    // The self-signed certificate of a TLS server (a PEM file), to trust as a CA.
    std::string certificateFile() const { return (folder_ / "cert.pem").string(); }

    // The responses to serve in order, the last one repeating (see the script's help).
    void script(const nlohmann::json& responses);
    // Convenience: one response with this status and body, repeated.
    void respond(int status, const std::string& body,
                 const nlohmann::json& headers = nlohmann::json::object()) {
        script(nlohmann::json::array({{{"status", status}, {"body", body}, {"headers", headers}}}));
    }

    // Every request received so far: {"method", "path", "headers", "body"}.
    std::vector<nlohmann::json> requests() const;

private:
    TempDir folder_;
    pid_t pid_ = -1;
    int port_ = 0;
    bool tls_ = false;
};

// An OpenAI-style chat completion whose one message is `content`.
inline std::string chatReply(const std::string& content) {
    return nlohmann::json{{"choices", nlohmann::json::array({{{"message", {{"content", content}}}}})}}.dump();
}

} // namespace tessellar::testing

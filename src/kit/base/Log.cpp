#include "kit/base/Log.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <mutex>

namespace tessellar {
namespace {

struct LogState {
    std::mutex mutex;
    // Shared so a record can be handed to the sink after the lock is released: a sink
    // that logs must not deadlock, and a slow one must not stall every other thread.
    std::shared_ptr<const Log::Sink> sink;
    Log::Level minimum = [] {
        const char* env = std::getenv("TESSELLAR_LOG");
        return env && std::string_view(env) == "debug" ? Log::Level::debug : Log::Level::info;
    }();
};

LogState& state() {
    static LogState s;
    return s;
}

} // namespace

void Log::write(Category category, Level level, std::string_view message) {
    auto& s = state();
    std::shared_ptr<const Sink> sink;
    {
        std::lock_guard lock(s.mutex);
        if (level < s.minimum)
            return;
        sink = s.sink;
    }
    if (sink) {
        (*sink)(Record{category, level, std::string(message)});
        return;
    }
    // One write per line so lines from several threads do not interleave.
    std::string line;
    line.reserve(subsystem.size() + message.size() + 32);
    line.append(subsystem).append(" [").append(name(category)).append("] ").append(name(level)).append(": ");
    line.append(message).push_back('\n');
    std::cerr << line << std::flush;
}

void Log::setSink(Sink sink) {
    auto& s = state();
    auto shared = sink ? std::make_shared<const Sink>(std::move(sink)) : nullptr;
    std::lock_guard lock(s.mutex);
    s.sink = std::move(shared);
}

void Log::setMinimumLevel(Level level) {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.minimum = level;
}

std::string_view Log::name(Category category) {
    switch (category) {
    case Category::pipeline:
        return "pipeline";
    case Category::actions:
        return "actions";
    case Category::intelligence:
        return "intelligence";
    case Category::storage:
        return "storage";
    case Category::ui:
        return "ui";
    }
    return "unknown";
}

std::string_view Log::name(Level level) {
    switch (level) {
    case Level::debug:
        return "debug";
    case Level::info:
        return "info";
    case Level::notice:
        return "notice";
    case Level::error:
        return "error";
    case Level::fault:
        return "fault";
    }
    return "unknown";
}

} // namespace tessellar

#include "kit/support/Log.h"

#include <cstdlib>
#include <iostream>
#include <mutex>

namespace tessellar {
namespace {

struct LogState {
    std::mutex mutex;
    Log::Sink sink;
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
    std::lock_guard lock(s.mutex);
    if (level < s.minimum)
        return;
    if (s.sink) {
        s.sink(Record{category, level, std::string(message)});
        return;
    }
    std::cerr << subsystem << " [" << name(category) << "] " << name(level) << ": " << message << '\n';
}

void Log::setSink(Sink sink) {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.sink = std::move(sink);
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

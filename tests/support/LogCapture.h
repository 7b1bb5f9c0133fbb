#pragma once

#include "kit/base/Log.h"

#include <mutex>
#include <vector>

namespace tessellar::testing {

// Collects log records while alive, so tests can check what was logged.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<Log::Record> records() const;
    bool contains(Log::Category category, Log::Level level, const std::string& message) const;

private:
    mutable std::mutex mutex_;
    std::vector<Log::Record> records_;
};

} // namespace tessellar::testing

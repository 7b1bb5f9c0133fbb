#pragma once

#include "kit/base/Log.h"
#include "support/Guard.h"

#include <algorithm>
#include <vector>

namespace tessellar::testing {

// Collects log records while alive, so tests can check what was logged.
class LogCapture {
public:
    LogCapture() {
        Log::setSink([this](const Log::Record& record) { guard_.with([&] { records_.push_back(record); }); });
    }
    ~LogCapture() { Log::setSink({}); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<Log::Record> records() const { return guard_.read(records_); }
    bool contains(Log::Category category, Log::Level level, const std::string& message) const {
        return std::ranges::count(records(), Log::Record{category, level, message}) > 0;
    }

private:
    Guard guard_;
    std::vector<Log::Record> records_;
};

} // namespace tessellar::testing

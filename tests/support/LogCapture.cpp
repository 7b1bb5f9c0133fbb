#include "support/LogCapture.h"

#include <algorithm>

namespace tessellar::testing {

LogCapture::LogCapture() {
    Log::setSink([this](const Log::Record& record) {
        std::lock_guard lock(mutex_);
        records_.push_back(record);
    });
}

LogCapture::~LogCapture() {
    Log::setSink({});
}

std::vector<Log::Record> LogCapture::records() const {
    std::lock_guard lock(mutex_);
    return records_;
}

bool LogCapture::contains(Log::Category category, Log::Level level, const std::string& message) const {
    const auto all = records();
    return std::find(all.begin(), all.end(), Log::Record{category, level, message}) != all.end();
}

} // namespace tessellar::testing

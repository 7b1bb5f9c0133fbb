#pragma once

#include <mutex>

namespace tessellar::testing {

// The lock of a fake shared between threads: runs a step, or reads a copy, while holding it.
class Guard {
public:
    template <class Step> auto with(Step&& step) const {
        const std::lock_guard lock(mutex_);
        return step();
    }
    template <class T> T read(const T& field) const {
        return with([&] { return field; });
    }

private:
    mutable std::mutex mutex_;
};

} // namespace tessellar::testing

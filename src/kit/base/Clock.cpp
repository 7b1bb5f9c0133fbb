#include "kit/base/Clock.h"

#include <atomic>
#include <chrono>
#include <cmath>

namespace tessellar {
namespace {
// NaN means "no override": one atomic word keeps reads lock-free from any thread.
std::atomic<double> overrideSeconds{std::nan("")};
} // namespace

Timestamp Clock::now() {
    const double fixed = overrideSeconds.load();
    if (!std::isnan(fixed))
        return Timestamp::fromUnix(fixed);
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return Timestamp::fromUnix(std::chrono::duration<double>(since).count());
}

Clock::ScopedOverride::ScopedOverride(Timestamp fixed) {
    const double old = overrideSeconds.exchange(fixed.unixSeconds);
    if (!std::isnan(old))
        previous_ = Timestamp::fromUnix(old);
}

Clock::ScopedOverride::~ScopedOverride() {
    overrideSeconds.store(previous_ ? previous_->unixSeconds : std::nan(""));
}

} // namespace tessellar

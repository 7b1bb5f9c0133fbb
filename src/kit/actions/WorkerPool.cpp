#include "kit/actions/WorkerPool.h"

#include <latch>
#include <memory>

namespace tessellar {

WorkerPool::WorkerPool(std::size_t threads) {
    threads_.reserve(threads);
    for (std::size_t i = 0; i < threads; ++i)
        threads_.emplace_back([this](std::stop_token stop) { work(stop); });
}

WorkerPool::~WorkerPool() {
    for (auto& thread : threads_)
        thread.request_stop();
    wake_.notify_all();
    threads_.clear(); // joins
}

void WorkerPool::work(std::stop_token stop) {
    while (true) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            if (!wake_.wait(lock, stop, [this] { return !queue_.empty(); }))
                return;
            job = std::move(queue_.front());
            queue_.pop_front();
        }
        job();
    }
}

void WorkerPool::runAll(std::vector<std::function<void()>> jobs) {
    if (jobs.empty())
        return;
    auto done = std::make_shared<std::latch>(static_cast<std::ptrdiff_t>(jobs.size()));
    {
        const std::lock_guard lock(mutex_);
        for (auto& job : jobs)
            queue_.push_back([job = std::move(job), done] {
                job();
                done->count_down();
            });
    }
    wake_.notify_all();
    // The caller helps instead of idling, so a resolve never waits behind another's queue alone.
    while (true) {
        std::function<void()> job;
        {
            const std::lock_guard lock(mutex_);
            if (queue_.empty())
                break;
            job = std::move(queue_.front());
            queue_.pop_front();
        }
        job();
    }
    done->wait();
}

} // namespace tessellar

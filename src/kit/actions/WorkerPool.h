#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tessellar {

// A fixed handful of threads that run short jobs: the engine's availability checks. The
// number of threads never grows, however many jobs are waiting.
class WorkerPool {
public:
    explicit WorkerPool(std::size_t threads);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Runs every job, on the pool and on the calling thread, and returns when all finished.
    // Jobs must not throw.
    void runAll(std::vector<std::function<void()>> jobs);

    std::size_t threadCount() const { return threads_.size(); }

private:
    void work(std::stop_token stop);

    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::deque<std::function<void()>> queue_;
    std::vector<std::jthread> threads_;
};

} // namespace tessellar

#pragma once

#include <latch>
#include <thread>
#include <vector>

namespace tessellar {

// Calls `answers` from `threads` threads released at once, `rounds` times on each, and returns
// what each thread got from its last call, so a test can compare them with a call made alone.
// `answers` may take the thread's index, to vary the order of its work.
template <typename Function>
auto concurrentResults(const Function& answers, int threads = 8, int rounds = 20) {
    const auto call = [&answers](int thread) {
        if constexpr (std::is_invocable_v<Function, int>)
            return answers(thread);
        else
            return answers();
    };
    std::vector<decltype(call(0))> results(static_cast<std::size_t>(threads));
    std::latch start(threads);
    {
        std::vector<std::jthread> running;
        for (int t = 0; t < threads; ++t)
            running.emplace_back([&, t] {
                start.arrive_and_wait();
                for (int round = 0; round < rounds; ++round)
                    results[static_cast<std::size_t>(t)] = call(t);
            });
    }
    return results;
}

} // namespace tessellar

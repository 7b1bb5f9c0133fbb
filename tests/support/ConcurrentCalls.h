#pragma once

#include <thread>
#include <vector>

namespace tessellar {

// Calls `answers` from `threads` threads at once, `rounds` times on each, and returns what each
// thread got from its last call, so a test can compare them with a call made alone.
template <typename Function>
auto concurrentResults(const Function& answers, int threads = 8, int rounds = 20) {
    std::vector<decltype(answers())> results(static_cast<std::size_t>(threads));
    {
        std::vector<std::jthread> running;
        for (auto& result : results)
            running.emplace_back([&result, &answers, rounds] {
                for (int round = 0; round < rounds; ++round)
                    result = answers();
            });
    }
    return results;
}

} // namespace tessellar

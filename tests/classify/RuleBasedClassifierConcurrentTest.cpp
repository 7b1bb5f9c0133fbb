// The classifier is called from the capture worker and the CLI at once; its caches (ICU
// patterns, locale data, public suffixes) must not race. Run under ThreadSanitizer by
// `make check-tsan`.
#include "kit/base/Clock.h"
#include "kit/classify/RuleBasedClassifier.h"
#include "kit/text/ISO8601.h"

#include <fstream>
#include <gtest/gtest.h>
#include <latch>
#include <nlohmann/json.hpp>
#include <thread>

namespace tessellar {
namespace {

constexpr int threadCount = 8;

std::vector<ClassificationInput> realCaptures() {
    std::ifstream file(std::string(TESSELLAR_FIXTURES_DIR) + "/real-captures.json");
    std::vector<ClassificationInput> inputs;
    for (const auto& row : nlohmann::json::parse(file)) {
        ClassificationInput input;
        input.text = row.at("text").get<std::string>();
        if (row.contains("file")) {
            const auto name = row["file"].get<std::string>();
            input.fileURL = Url::fromFilePath("/home/ana/Downloads/" + name);
            input.filename = name;
            if (row.contains("mime"))
                input.typeIdentifier = row["mime"].get<std::string>();
            input.source = SourceType::drop;
        }
        inputs.push_back(std::move(input));
    }
    return inputs;
}

TEST(RuleBasedClassifierConcurrent, EightThreadsGetTheSingleThreadedAnswers) {
    const Clock::ScopedOverride clock(*iso8601::parse("2026-03-10T16:00:00Z"));
    const std::vector<ClassificationInput> inputs = realCaptures();
    ASSERT_FALSE(inputs.empty());
    std::vector<std::optional<Classification>> expected;
    for (const auto& input : inputs)
        expected.push_back(RuleBasedClassifier().classify(input));

    const RuleBasedClassifier shared;
    std::vector<std::vector<std::optional<Classification>>> results(threadCount,
                                                                    decltype(expected)(inputs.size()));
    std::latch start(threadCount);
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < threadCount; ++t)
            threads.emplace_back([&, t] {
                start.arrive_and_wait();
                // Each thread starts at a different capture so different rules run side by side.
                for (std::size_t k = 0; k < inputs.size(); ++k) {
                    const std::size_t i = (k + static_cast<std::size_t>(t) * 7) % inputs.size();
                    results[t][i] = shared.classify(inputs[i]);
                }
            });
    }
    for (int t = 0; t < threadCount; ++t)
        for (std::size_t i = 0; i < inputs.size(); ++i)
            EXPECT_EQ(results[t][i], expected[i]) << "thread " << t << ", capture " << i;
}

} // namespace
} // namespace tessellar

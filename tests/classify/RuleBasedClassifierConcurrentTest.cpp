// The classifier is called from the capture worker and the CLI at once; its caches (ICU
// patterns, locale data, public suffixes) must not race. Run under ThreadSanitizer by
// `make check-tsan`.
#include "Captures.h"
#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"
#include "support/ConcurrentCalls.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

TEST(RuleBasedClassifierConcurrent, EightThreadsGetTheSingleThreadedAnswers) {
    const Clock::ScopedOverride clock(*iso8601::parse("2026-03-10T16:00:00Z"));
    std::vector<ClassificationInput> inputs;
    std::vector<std::optional<Classification>> expected;
    for (const auto& capture : testing::captures()) {
        inputs.push_back(capture.input());
        expected.push_back(RuleBasedClassifier().classify(inputs.back()));
    }
    ASSERT_FALSE(inputs.empty());
    const RuleBasedClassifier shared;
    const auto answers = [&](int thread) {
        // Each thread starts at a different capture so different rules run side by side.
        std::vector<std::optional<Classification>> out(inputs.size());
        for (std::size_t k = 0; k < inputs.size(); ++k) {
            const std::size_t i = (k + static_cast<std::size_t>(thread) * 7) % inputs.size();
            out[i] = shared.classify(inputs[i]);
        }
        return out;
    };
    for (const auto& result : concurrentResults(answers, 8, 1))
        EXPECT_EQ(result, expected);
}

} // namespace
} // namespace tessellar

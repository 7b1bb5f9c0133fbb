#include "kit/detect/CodeDetector.h"

#include "support/Fixtures.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace tessellar {
namespace {

using testing::Row;
using testing::shown;

CodeDetector::Result analyzed(const std::string& text) {
    const auto result = CodeDetector::analyze(text);
    EXPECT_TRUE(result) << text;
    return result.value_or(CodeDetector::Result{});
}

TEST(CodeDetector, FixtureTable) {
    const auto analyze = [](const Row& c) {
        const auto r = analyzed(c[1]);
        return std::to_string(r.score) + "|" + shown(r.isCode) + "|" + shown(r.isError) + "|" +
               shown(r.errorSummary) + "|" + shown(r.language);
    };
    const auto cleaned = [](const Row& c) {
        const auto trace = CodeDetector::cleanedTrace(c[1]);
        return trace ? std::to_string(trace->removedFrames) + "|" + std::to_string(trace->keptFrames) + "|" +
                           trace->text
                     : "-";
    };
    EXPECT_GE(
        testing::checkTable(testing::fixture("tables/code.tsv"),
                            {{"analyze", analyze},
                             {"errorLine", [](const Row& c) { return shown(CodeDetector::errorLine(c[1])); }},
                             {"isFrame", [](const Row& c) { return shown(CodeDetector::isFrame(c[1])); }},
                             {"cleaned", cleaned}}),
        60);
}

// Each fixtures/traces/NAME.trace is cleaned to NAME.cleaned, whose first line holds the
// removed and kept frame counts: system frames go, blank runs collapse, ends are trimmed.
TEST(CodeDetector, CleanedTracesKeepOwnFramesAndMessage) {
    const auto read = [](const std::filesystem::path& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(file)), {});
    };
    int traces = 0;
    for (const auto& entry : std::filesystem::directory_iterator(testing::fixture("traces"))) {
        if (entry.path().extension() != ".trace")
            continue;
        std::istringstream expected(read(std::filesystem::path(entry.path()).replace_extension(".cleaned")));
        CodeDetector::CleanedTrace cleaned;
        expected >> cleaned.removedFrames >> cleaned.keptFrames;
        expected.ignore(1);
        cleaned.text.assign(std::istreambuf_iterator<char>(expected), {});
        EXPECT_EQ(CodeDetector::cleanedTrace(read(entry.path())), cleaned) << entry.path();
        ++traces;
    }
    EXPECT_GE(traces, 3);
}

} // namespace
} // namespace tessellar

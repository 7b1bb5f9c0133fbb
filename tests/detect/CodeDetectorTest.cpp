#include "kit/detect/CodeDetector.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace tessellar {
namespace {

CodeDetector::Result analyzed(std::string_view text) {
    const auto result = CodeDetector::analyze(text);
    EXPECT_TRUE(result.has_value());
    return result.value_or(CodeDetector::Result{});
}

std::string repeated(std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

TEST(CodeDetector, InvalidUTF8IsReadNotRejected) {
    const auto result = analyzed("\xFF\xFE Error: disk \xC3 full\n\xE2\x82");
    EXPECT_TRUE(result.isError);
    EXPECT_EQ(result.errorSummary, "disk \xC3 full");
    EXPECT_FALSE(CodeDetector::isFrame("\xFF 1 2"));
    EXPECT_TRUE(CodeDetector::isFrame("7 \xFF \xFE"));
}

TEST(CodeDetector, ErrorKeywordsForceCodeAndCodeOtherwiseNeedsAScoreAboveThree) {
    struct Row {
        const char* text;
        std::int64_t score;
        bool isCode, isError;
        std::optional<std::string> summary, language;
    };
    const std::vector<Row> rows{
        // "fatal error", "error:" and "nil while unwrapping"; the summary follows the colon.
        {"fatal error: unexpectedly found nil while unwrapping an Optional value", 9, true, true,
         "unexpectedly found nil while unwrapping an Optional value", std::nullopt},
        {"Build Failed", 3, true, true, "Build Failed", std::nullopt},
        {"I like swift birds", 0, false, false, std::nullopt, "Swift"}, // prose keeps the language
        {"let x = 1", 3, false, false, std::nullopt, std::nullopt},     // "let " + dense
        {"let x = 1\nfunc f() {}", 6, true, false, std::nullopt, "Swift"},
        {"Return Value", 0, false, false, std::nullopt, std::nullopt}, // tokens are case-sensitive
        {"return a, return b, return c", 1, false, false, std::nullopt, std::nullopt}, // counted once
    };
    for (const Row& row : rows) {
        const auto result = analyzed(row.text);
        EXPECT_EQ(result.score, row.score) << row.text;
        EXPECT_EQ(result.isCode, row.isCode) << row.text;
        EXPECT_EQ(result.isError, row.isError) << row.text;
        EXPECT_EQ(result.errorSummary, row.summary) << row.text;
        EXPECT_EQ(result.language, row.language) << row.text;
    }
}

TEST(CodeDetector, DensityIsAShareOfCharactersAboveFourPercent) {
    // One symbol among 25 characters is exactly 0.04: not dense. Among 24 it is.
    EXPECT_EQ(analyzed(repeated("a", 24) + "$").score, 0);
    EXPECT_EQ(analyzed(repeated("a", 23) + "$").score, 2);
    // Characters are user-perceived: "e" with a combining acute is one.
    EXPECT_EQ(analyzed(repeated("e\u0301", 12) + "$").score, 2);
    EXPECT_EQ(analyzed(repeated("e\u0301", 24) + "$").score, 0);
    // A symbol carrying a combining mark is no symbol.
    EXPECT_EQ(analyzed("ab$\u0301").score, 0);
}

TEST(CodeDetector, IndentationCountsOnceAndAFileAndLineReferenceThree) {
    const std::vector<std::pair<const char*, std::int64_t>> scores{{"a    b", 1},
                                                                   {"a\tb", 1},
                                                                   {"a    b\tc", 1},
                                                                   {"a   b", 0},
                                                                   {"see main.SWIFT:12 now", 3},
                                                                   {"see app.py:3 now", 3},
                                                                   {"see app.ts 3 now", 0}};
    for (const auto& [text, score] : scores)
        EXPECT_EQ(analyzed(text).score, score) << text;
}

TEST(CodeDetector, FirstLanguageInTableOrderWins) {
    EXPECT_EQ(analyzed("Traceback (most recent call last):\n  loading bundle.js").language, "Python");
    EXPECT_EQ(analyzed("a swiftui view and a helper.py").language, "Swift");
    EXPECT_EQ(analyzed("npm ERR! missing script").language, "JavaScript");
    EXPECT_EQ(analyzed("Caused by NullPointerException").language, "Java");
    EXPECT_EQ(analyzed("goroutine 1 [running]").language, "Go");
    EXPECT_EQ(analyzed("cargo build").language, "Rust");
    EXPECT_EQ(analyzed("zsh: command not found: foo").language, "Shell");
    EXPECT_EQ(analyzed("nothing here").language, std::nullopt);
}

TEST(CodeDetector, ErrorLinePrefersTheTextAfterErrorColonInAnyCase) {
    EXPECT_EQ(CodeDetector::errorLine("Compiling\n  ERROR:   disk full  \nerror: second"), "disk full");
    // Nothing after the colon: the whole line.
    EXPECT_EQ(CodeDetector::errorLine("warning: slow\n  error:  \nfailed"), "error:");
    EXPECT_EQ(CodeDetector::errorLine("start\nsomething failed badly\nException here"),
              "something failed badly");
    EXPECT_EQ(CodeDetector::errorLine("start\ngo panic: oops"), "go panic: oops");
    EXPECT_EQ(CodeDetector::errorLine("\n\n   first line  \nsecond"), "first line");
    EXPECT_EQ(CodeDetector::errorLine(" \n\t\n"), std::nullopt);
}

TEST(CodeDetector, FramesAreNumberedOrNamedLines) {
    for (const char* frame : {"0 Foo 0x1", "#12 bar", "  at java.lang.Thread.run(Thread.java:1)",
                              "File \"app.py\", line 3, in main", "at <anonymous>", "-3 a b", "+3 a b",
                              "0   libsystem_kernel.dylib   0x1a2b mach_msg_trap + 8", "#\u0663 frame"})
        EXPECT_TRUE(CodeDetector::isFrame(frame)) << frame;
    for (const char* line : {"", "   ", "12 bar", "#x frame", "#", "x 1 2", "+ a b",
                             "99999999999999999999 a b", "1\ta b", "attach me", "File app.py"})
        EXPECT_FALSE(CodeDetector::isFrame(line)) << line;
}

// Each fixtures/traces/NAME.trace is cleaned to NAME.cleaned, whose first line holds the
// removed and kept frame counts: system frames go, blank runs collapse, ends are trimmed.
TEST(CodeDetector, CleanedTracesKeepOwnFramesAndMessage) {
    const auto read = [](const std::filesystem::path& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(file)), {});
    };
    int traces = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(TESSELLAR_FIXTURES_DIR) + "/traces")) {
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

TEST(CodeDetector, CleaningNeedsThreeLinesAndASystemFrame) {
    EXPECT_EQ(CodeDetector::cleanedTrace("at java.lang.A.run(A.java:1)\nat java.lang.B.run(B.java:2)"),
              std::nullopt);
    EXPECT_EQ(CodeDetector::cleanedTrace("Error\nat app.A.run(A.java:1)\nat app.B.run(B.java:2)"),
              std::nullopt);
    // A trailing newline ends a third, empty line.
    EXPECT_TRUE(CodeDetector::cleanedTrace("at java.lang.A.run(A.java:1)\nat app.B.run(B.java:2)\n"));
}

TEST(CodeDetector, EveryNewlineCharacterEndsALine) {
    // CR LF leaves an empty line between its two halves; blank runs then collapse.
    const auto crlf = CodeDetector::cleanedTrace("boom\r\nat node:internal/main:1\r\nat app (index.js:2)");
    ASSERT_TRUE(crlf);
    EXPECT_EQ(crlf->text, "boom\n\nat app (index.js:2)");
    const auto separators = CodeDetector::cleanedTrace("boom\u2028at node:internal/x:1\u2029at app (a.js:1)");
    ASSERT_TRUE(separators);
    EXPECT_EQ(separators->text, "boom\nat app (a.js:1)");
}

} // namespace
} // namespace tessellar

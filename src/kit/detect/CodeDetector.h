#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// Tells source code, build logs and error messages from prose with fixed keyword tables and
// counts (no regular expressions), names the language when a hint gives it away, picks the line
// that best sums up an error and strips system frames out of stack traces. Stateless.
class CodeDetector {
public:
    struct Result {
        bool isCode = false;                     // code or an error report
        bool isError = false;                    // at least one error keyword was found
        std::optional<std::string> errorSummary; // only when isError
        std::optional<std::string> language; // "Swift", "Python", "JavaScript", "Java", "Go", "Rust", "Shell"
        int64_t score = 0;                   // reported even when an error forces isCode

        bool operator==(const Result&) const = default;
    };

    struct CleanedTrace {
        std::string text;          // without system frames, blank runs collapsed, trimmed
        int64_t removedFrames = 0; // at least 1
        int64_t keptFrames = 0;

        bool operator==(const CleanedTrace&) const = default;
    };

    // Always holds a value; an empty text is neither code nor an error and scores 0.
    static std::optional<Result> analyze(std::string_view text);

    // Absent for fewer than three lines or when no line is a system frame.
    static std::optional<CleanedTrace> cleanedTrace(std::string_view text);

    // The one line that sums up an error report (absent for a text without any non-blank line).
    static std::optional<std::string> errorLine(std::string_view text);

    // Whether a line looks like a stack frame (Java/JavaScript "at ", Python `File "`, "#3", "0   lib 0x…").
    static bool isFrame(std::string_view line);
};

} // namespace tessellar

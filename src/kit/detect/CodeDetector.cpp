#include "kit/detect/CodeDetector.h"

#include "kit/text/Splitting.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <array>
#include <charconv>
#include <unicode/uchar.h>
#include <utility>
#include <vector>

namespace tessellar {
namespace {

using namespace std::string_view_literals;

// Searched in the lower-cased text; each entry counts once however often it occurs.
constexpr std::array errorKeywords = {
    "error:"sv,
    "fatal error"sv,
    "exception"sv,
    "traceback"sv,
    "stack trace"sv,
    "unresolved identifier"sv,
    "cannot find"sv,
    "undefined symbol"sv,
    "segmentation fault"sv,
    "build failed"sv,
    "compile error"sv,
    "warning:"sv,
    "nil while unwrapping"sv,
    "code signing"sv,
    "signing certificate"sv,
    "provisioning profile"sv,
    "no such module"sv,
    "linker command failed"sv,
    "typeerror"sv,
    "nullpointerexception"sv,
    "panic:"sv,
    "failed to"sv,
    "does not conform"sv,
};

// Searched in the text as given, case-sensitive; trailing blanks belong to the token.
constexpr std::array codeTokens = {
    "func "sv, "var "sv,   "let "sv,   "class "sv,  "struct "sv,  "import "sv, "return "sv,
    "def "sv,  "async "sv, "await "sv, "public "sv, "private "sv, "=>"sv,      "->"sv,
    "::"sv,    "{"sv,      "}"sv,      "();"sv,     "=="sv,       "!="sv,      "#include"sv,
    "</"sv,    "/>"sv,     "const "sv, "npm "sv,    "git "sv,
};

struct LanguageHints {
    std::string_view name;
    std::array<std::string_view, 6> hints; // unused slots stay empty
};

// Ordered: the first language with a hint in the lower-cased text wins.
constexpr std::array<LanguageHints, 7> languageHints = {{
    {"Swift", {"swift", ".swift", "swiftui", "xcode", "func ", "guard let"}},
    {"Python", {"traceback (most recent call last)", ".py", "def ", "python"}},
    {"JavaScript", {"typeerror", "node_modules", "npm err", ".js", ".ts", "undefined is not"}},
    {"Java", {"nullpointerexception", "at java.", ".java"}},
    {"Go", {"panic:", "goroutine", ".go"}},
    {"Rust", {"cargo", "borrow", ".rs"}},
    {"Shell", {"command not found", "bash:", "zsh:", "permission denied"}},
}};

// Searched in the lower-cased frame line.
constexpr std::array systemFrameMarkers = {
    "libdyld"sv,
    "libsystem"sv,
    "libdispatch"sv,
    "libswiftcore"sv,
    "libobjc"sv,
    "dyld`"sv,
    "dyld "sv,
    "corefoundation"sv,
    "foundation "sv,
    "appkit"sv,
    "uikit"sv,
    "swiftui"sv,
    "combine"sv,
    "cfnetwork"sv,
    "libc++"sv,
    "libpthread"sv,
    "at java."sv,
    "at javax."sv,
    "at sun."sv,
    "at jdk."sv,
    "at kotlin."sv,
    "node:internal"sv,
    "node_modules"sv,
    "/usr/lib/"sv,
    "/system/library/"sv,
    "runtime/proc.go"sv,
    "runtime/panic.go"sv,
    "site-packages"sv,
    "<anonymous>"sv,
    "internal/process"sv,
};

constexpr std::string_view symbolSet = "{}[]()<>;=/\\|_#$";
constexpr double denseSymbolShare = 0.04;

bool contains(std::string_view text, std::string_view needle) {
    return text.find(needle) != std::string_view::npos;
}

template <typename Table> bool containsAny(std::string_view text, const Table& needles) {
    for (const std::string_view needle : needles)
        if (!needle.empty() && contains(text, needle))
            return true;
    return false;
}

template <typename Table> int64_t countContained(std::string_view text, const Table& needles) {
    int64_t hits = 0;
    for (const std::string_view needle : needles)
        if (contains(text, needle))
            ++hits;
    return hits;
}

// Symbols among the user-perceived characters: a symbol carrying a combining mark is no symbol.
bool isDense(std::string_view text) {
    std::size_t characters = 0;
    std::size_t symbols = 0;
    unicode::CharacterWalker walker(text);
    std::size_t start = 0;
    while (const auto end = walker.next()) {
        ++characters;
        if (*end - start == 1 && symbolSet.find(text[start]) != std::string_view::npos)
            ++symbols;
        start = *end;
    }
    if (characters == 0)
        return false;
    return static_cast<double>(symbols) / static_cast<double>(characters) > denseSymbolShare;
}

std::optional<std::string> detectedLanguage(std::string_view lower) {
    for (const LanguageHints& language : languageHints)
        if (containsAny(lower, language.hints))
            return std::string(language.name);
    return std::nullopt;
}

// "error:" in any letter case. No non-ASCII character lower-cases to these ASCII letters, so
// comparing ASCII letters case-insensitively finds the same place as searching the lower-cased line.
std::size_t findErrorColon(std::string_view line) {
    constexpr std::string_view needle = "error:";
    for (std::size_t i = 0; i + needle.size() <= line.size(); ++i) {
        std::size_t k = 0;
        while (k < needle.size()) {
            char c = line[i + k];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
            if (c != needle[k])
                break;
            ++k;
        }
        if (k == needle.size())
            return i;
    }
    return std::string_view::npos;
}

// Int64 in base 10 with an optional sign, as an Apple crash report's frame number is read.
bool isInteger(std::string_view word) {
    if (word.empty())
        return false;
    std::string_view digits = word;
    if (digits.front() == '+' || digits.front() == '-')
        digits.remove_prefix(1);
    if (digits.empty() || digits.front() < '0' || digits.front() > '9')
        return false;
    int64_t value = 0;
    const char* first = word.front() == '+' ? word.data() + 1 : word.data();
    const auto [end, error] = std::from_chars(first, word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size();
}

using unicode::scalarAt;

bool isNumeric(char32_t c) {
    return u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

} // namespace

std::optional<CodeDetector::Result> CodeDetector::analyze(std::string_view text) {
    const std::string lower = unicode::lowercased(text);
    const int64_t errorHits = countContained(lower, errorKeywords);
    int64_t score = 3 * errorHits + countContained(text, codeTokens);
    if (isDense(text))
        score += 2;
    if (contains(text, "    ") || contains(text, "\t"))
        score += 1;
    if (contains(lower, ".swift:") || contains(lower, ".py:") || contains(lower, ".ts:"))
        score += 3;

    Result result;
    result.language = detectedLanguage(lower);
    result.score = score;
    if (errorHits > 0) {
        result.isCode = true;
        result.isError = true;
        result.errorSummary = errorLine(text);
    } else {
        result.isCode = score > 3;
    }
    return result;
}

std::optional<std::string> CodeDetector::errorLine(std::string_view text) {
    std::vector<std::string> lines;
    for (const std::string_view piece : splitLines(text, LineBreaks::lineFeed)) {
        std::string line = trimmed(piece);
        if (!line.empty())
            lines.push_back(std::move(line));
    }
    if (lines.empty())
        return std::nullopt;

    for (const std::string& line : lines) {
        if (!contains(unicode::lowercased(line), "error:"))
            continue;
        const std::size_t at = findErrorColon(line);
        std::string rest =
            at == std::string::npos ? std::string() : trimmed(std::string_view(line).substr(at + 6));
        return rest.empty() ? line : rest;
    }
    for (const std::string& line : lines) {
        const std::string lower = unicode::lowercased(line);
        if (contains(lower, "exception") || contains(lower, "fatal") || contains(lower, "failed") ||
            contains(lower, "panic:"))
            return line;
    }
    return lines.front();
}

bool CodeDetector::isFrame(std::string_view rawLine) {
    const std::string line = trimmed(rawLine);
    if (line.empty())
        return false;
    const std::string_view view = line;
    if (view.starts_with("at ") || view.starts_with("File \""))
        return true;
    if (view.front() == '#') {
        const std::vector<std::size_t> bounds = unicode::characterBoundaries(view);
        // bounds[1] is where the second character starts when "#" stands alone as the first one.
        if (bounds.size() > 2 && bounds[1] == 1 && isNumeric(scalarAt(view, 1)))
            return true;
    }

    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < view.size() && words.size() < 3) {
        while (i < view.size() && view[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < view.size() && view[i] != ' ')
            ++i;
        if (i > start)
            words.push_back(view.substr(start, i - start));
    }
    return words.size() >= 3 && isInteger(words.front());
}

std::optional<CodeDetector::CleanedTrace> CodeDetector::cleanedTrace(std::string_view text) {
    const std::vector<std::string_view> lines = splitLines(text, LineBreaks::anyNewline);
    if (lines.size() < 3)
        return std::nullopt;

    std::vector<std::string_view> kept;
    int64_t removed = 0;
    int64_t keptFrames = 0;
    for (const std::string_view line : lines) {
        if (!isFrame(line)) {
            kept.push_back(line);
        } else if (containsAny(unicode::lowercased(line), systemFrameMarkers)) {
            ++removed;
        } else {
            kept.push_back(line);
            ++keptFrames;
        }
    }
    if (removed == 0)
        return std::nullopt;

    std::string joined;
    bool lastTakenBlank = false;
    bool first = true;
    for (const std::string_view line : kept) {
        const bool blank = isBlank(line);
        if (blank && lastTakenBlank && !first)
            continue;
        if (!first)
            joined += '\n';
        joined.append(line);
        lastTakenBlank = blank;
        first = false;
    }
    return CleanedTrace{trimmed(joined), removed, keptFrames};
}

} // namespace tessellar

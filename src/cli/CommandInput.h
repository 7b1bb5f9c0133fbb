#pragma once

#include "cli/Commands.h"
#include "cli/MappedText.h"
#include "kit/model/CapturedContent.h"
#include "kit/model/ClassificationInput.h"

#include <cstddef>
#include <filesystem>
#include <initializer_list>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace tessellar::cli {

// Text captures larger than this are refused rather than read.
inline constexpr std::size_t maxInputBytes = 32 * 1024 * 1024;

// What a command's [TEXT | PATH | URL | -] argument names: standard input when absent or
// "-", a file when a regular file is there (symbolic links followed), otherwise the text
// itself. A path whose link leads nowhere, or that is written like a path, with no file
// there, is "There’s no file at …".
struct ArgumentInput {
    std::optional<std::string> text;           // the text (a leading byte-order mark dropped)
    std::optional<std::filesystem::path> file; // an absolute path to a regular file
};
ArgumentInput argumentInput(const std::optional<std::string>& argument, std::istream& in);

// Standard input mapped rather than read, when there is no argument (or "-") and standard
// input is a regular file: the text with a leading byte-order mark dropped, checked as
// argumentInput checks it, and followed by JSONTree::inPlacePadding readable bytes. Absent
// otherwise; argumentInput then reads the input.
struct MappedInput {
    MappedText mapping;
    std::string_view text;
};
std::optional<MappedInput> mappedInput(const std::optional<std::string>& argument, std::istream& in);

// The argument as a classifier's input; a file's text is read through the text extractor
// (images and unreadable documents give none).
ClassificationInput inputFor(const std::optional<std::string>& argument, std::istream& in);

// The argument as a capture for analysis: a dropped file, or typed text (with its link when
// the whole text is one).
CapturedContent captureFor(const std::optional<std::string>& argument, std::istream& in);

// Reads "[OPTIONS] [ARGUMENT]": -h/--help prints `usage` (exit 0), "--" ends the options, the
// flags named in `flags` are set, anything else that starts with "-" or a second argument is bad
// usage (exit 2). Returns the exit code when the command should stop there, or nothing.
struct Flag {
    std::string_view name;
    bool* value;
};
std::optional<int> readOneArgument(const Invocation& invocation, std::string_view command,
                                   std::string_view usage, std::optional<std::string>& argument,
                                   std::initializer_list<Flag> flags = {});

// “name”, as the user-facing texts quote names.
std::string inQuotes(std::string_view name);

} // namespace tessellar::cli

#include "cli/CommandInput.h"

#include "kit/base/MimeTypes.h"
#include "kit/base/PageAdvice.h"
#include "kit/capture/ContentIngestor.h"
#include "kit/capture/TextExtractor.h"
#include "kit/json/JSONTree.h"
#include "kit/model/TessellarError.h"
#include "kit/text/Unicode.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

namespace tessellar::cli {
namespace {

namespace fs = std::filesystem;

using unicode::isValidUTF8;

// An argument written as a path ("/…", "./…", "../…", "~/…") with no blanks in it. When no
// file is there, the user most likely mistyped a path rather than meant the text.
bool looksLikePath(std::string_view argument) {
    const bool prefixed = argument.starts_with("/") || argument.starts_with("./") ||
                          argument.starts_with("../") || argument.starts_with("~/");
    return prefixed && argument.find_first_of(" \t\r\n") == std::string_view::npos;
}

// The text without a leading byte-order mark, when it is UTF-8.
std::string_view checkedView(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    if (!isValidUTF8(text))
        throw TessellarError("The input isn\u2019t valid UTF-8 text.");
    return text;
}

std::string checkedText(std::string text) {
    text.erase(0, text.size() - checkedView(text).size());
    return text;
}

TessellarError tooLarge() {
    return TessellarError("That text is larger than 32 MB, the most Tessellar reads at once.");
}

// Reads standard input in chunks and stops one byte past the limit, so endless input
// (/dev/zero) ends with an error instead of growing without bound.
std::string readBounded(std::istream& in) {
    std::string text;
    // Standard input redirected from a file says how large it is: one allocation of the right
    // size instead of a doubling string, whose growth holds the old and the new buffer at once,
    // read straight into place (one byte more than its size, to see it end or grow).
    // The spare bytes at the end let the JSON reader parse a large paste where it lies, and the
    // buffer's pages are made present at once rather than faulted in one by one.
    struct stat status {};
    if (&in == &std::cin && ::fstat(STDIN_FILENO, &status) == 0 && S_ISREG(status.st_mode)) {
        const auto size = static_cast<std::size_t>(std::min<off_t>(status.st_size, off_t(maxInputBytes))) + 1;
        text.reserve(size + JSONTree::inPlacePadding);
        pages::prepareForWriting(text.data(), size);
        text.resize(size);
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(in.gcount()));
    }
    char buffer[65536];
    while (in && text.size() <= maxInputBytes) {
        in.read(buffer, sizeof buffer);
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        throw TessellarError("Tessellar couldn\u2019t read standard input.");
    if (text.size() > maxInputBytes)
        throw tooLarge();
    return text;
}

std::string fileType(const fs::path& file) {
    return MimeTypes::forFileName(file.filename().string()).value_or(std::string(MimeTypes::data));
}

} // namespace

std::optional<int> readOneArgument(const Invocation& invocation, std::string_view command,
                                   std::string_view usage, std::optional<std::string>& argument,
                                   std::initializer_list<Flag> flags) {
    bool endOfOptions = false;
    for (const auto& a : invocation.arguments) {
        if (!endOfOptions && (a == "-h" || a == "--help")) {
            invocation.out << usage;
            return success;
        }
        if (!endOfOptions && a == "--") {
            endOfOptions = true;
            continue;
        }
        if (!endOfOptions && a.size() > 1 && a.starts_with("-")) {
            const auto flag = std::ranges::find(flags, std::string_view(a), &Flag::name);
            if (flag == flags.end()) {
                invocation.err << "tessellar-cli: unknown option " << a << "\n" << usage;
                return badUsage;
            }
            *flag->value = true;
            continue;
        }
        if (argument) {
            invocation.err << "tessellar-cli: " << command
                           << " takes one argument; quote text that has blanks\n"
                           << usage;
            return badUsage;
        }
        argument = a;
    }
    return std::nullopt;
}

std::string inQuotes(std::string_view name) {
    return "\u201C" + std::string(name) + "\u201D";
}

std::optional<MappedInput> mappedInput(const std::optional<std::string>& argument, std::istream& in) {
    if ((argument && *argument != "-") || &in != &std::cin)
        return std::nullopt;
    auto mapping = MappedText::rest(STDIN_FILENO, maxInputBytes, JSONTree::inPlacePadding);
    if (!mapping)
        return std::nullopt;
    const std::string_view text = checkedView(mapping->bytes());
    return MappedInput{std::move(*mapping), text};
}

ArgumentInput argumentInput(const std::optional<std::string>& argument, std::istream& in) {
    if (!argument || *argument == "-")
        return {checkedText(readBounded(in)), std::nullopt};
    if (argument->size() > maxInputBytes)
        throw tooLarge();

    const fs::path path(*argument);
    struct stat target {};
    struct stat link {};
    const bool resolves = ::stat(path.c_str(), &target) == 0;
    if (resolves && S_ISREG(target.st_mode)) {
        std::error_code error;
        const fs::path absolute = fs::absolute(path, error);
        return {std::nullopt, error ? path : absolute};
    }
    if (resolves && !S_ISDIR(target.st_mode))
        throw TessellarError(inQuotes(*argument) + " isn\u2019t a file Tessellar can read.");
    // A link that leads nowhere (dangling, or a loop) is a missing file, not text.
    const bool danglingLink = !resolves && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
    if (danglingLink || (!resolves && looksLikePath(*argument)))
        throw TessellarError("There\u2019s no file at " + inQuotes(*argument) + ".");
    // Anything else, an existing folder's name included, is text.
    return {checkedText(*argument), std::nullopt};
}

ClassificationInput inputFor(const std::optional<std::string>& argument, std::istream& in) {
    ArgumentInput given = argumentInput(argument, in);
    ClassificationInput input;
    if (!given.file) {
        input.text = std::move(given.text);
        input.source = SourceType::typed;
        return input;
    }
    const fs::path& file = *given.file;
    const std::string type = fileType(file);
    input.fileURL = Url::fromFilePath(file);
    input.filename = file.filename().string();
    input.source = SourceType::drop;
    input.typeIdentifier = type;
    input.hasImage = MimeTypes::isImage(type);
    if (!input.hasImage) {
        try {
            if (auto extracted = TextExtractor().extract(file); !extracted.text.empty())
                input.text = std::move(extracted.text);
        } catch (const TessellarError&) {
            // An unreadable document is still classified, by its name and type.
        }
    }
    return input;
}

CapturedContent captureFor(const std::optional<std::string>& argument, std::istream& in) {
    ArgumentInput given = argumentInput(argument, in);
    if (!given.file)
        return ContentIngestor::capture(*given.text);
    CapturedContent content;
    content.source = SourceType::drop;
    content.fileURL = Url::fromFilePath(*given.file);
    content.suggestedName = given.file->filename().string();
    content.typeIdentifier = fileType(*given.file);
    return content;
}

} // namespace tessellar::cli

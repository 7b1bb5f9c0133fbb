#include "cli/CommandInput.h"

#include "kit/base/MimeTypes.h"
#include "kit/model/TessellarError.h"
#include "kit/text/Unicode.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

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

ClassificationInput textInput(std::string text) {
    if (!isValidUTF8(text))
        throw TessellarError("The input isn\u2019t valid UTF-8 text.");
    ClassificationInput input;
    input.text = std::move(text);
    input.source = SourceType::typed;
    return input;
}

ClassificationInput fileInput(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    const std::string name = path.filename().string();
    if (error || !fs::is_regular_file(absolute, error))
        throw TessellarError(inQuotes(path.string()) + " isn\u2019t a file Tessellar can read.");

    ClassificationInput input;
    input.fileURL = Url::fromFilePath(absolute);
    input.filename = name;
    input.source = SourceType::drop;
    const std::string type = MimeTypes::forFileName(name).value_or(std::string(MimeTypes::data));
    input.typeIdentifier = type;
    input.hasImage = MimeTypes::isImage(type);

    // Without the document readers, only plain-text files give text here.
    if (MimeTypes::conformsTo(type, MimeTypes::plainText)) {
        std::ifstream file(absolute, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (!file && !file.eof())
            throw TessellarError("Tessellar couldn\u2019t read " + inQuotes(name) + ".");
        if (isValidUTF8(text))
            input.text = std::move(text);
    }
    return input;
}

} // namespace

std::string inQuotes(std::string_view name) {
    return "\u201C" + std::string(name) + "\u201D";
}

ClassificationInput inputFor(const std::optional<std::string>& argument, std::istream& in) {
    if (!argument || *argument == "-") {
        std::ostringstream buffer;
        buffer << in.rdbuf();
        if (in.bad())
            throw TessellarError("Tessellar couldn\u2019t read standard input.");
        return textInput(buffer.str());
    }
    std::error_code error;
    if (fs::exists(fs::path(*argument), error))
        return fileInput(*argument);
    if (looksLikePath(*argument))
        throw TessellarError("There\u2019s no file at " + inQuotes(*argument) + ".");
    return textInput(*argument);
}

} // namespace tessellar::cli

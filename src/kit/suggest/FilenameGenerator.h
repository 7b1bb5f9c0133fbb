#pragma once

#include "kit/base/Timestamp.h"
#include "kit/model/FilenameRequest.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// Proposes a better file name for a captured file from what was recognised in it, makes
// user- or model-supplied names safe, and finds a free name in a folder. Stateless.
class FilenameGenerator {
public:
    struct Suggestion {
        std::string filename; // with extension; the current name when nothing better was found
        std::string rationale;
        bool isImprovement = false;

        bool operator==(const Suggestion&) const = default;
    };

    // The rationales, as shown under the proposal.
    static constexpr std::string_view fromHeadingAndDate = "From the document\u2019s heading and date";
    static constexpr std::string_view fromFirstHeading = "From the document\u2019s first heading";
    static constexpr std::string_view fromIssuerAndDate = "From the issuer and invoice date";
    static constexpr std::string_view fromMerchantAndDate = "From the merchant and date";
    static constexpr std::string_view fromContents = "From the document\u2019s contents";
    static constexpr std::string_view fromImageText = "From the text found in the image";
    static constexpr std::string_view notEnoughInformation =
        "Not enough information in this file to suggest a better name";

    // Never fails: with nothing usable it returns the current name, not as an improvement.
    static Suggestion suggestion(const FilenameRequest& request);

    // A slug of `name` carrying the extension of `reference` (lower-cased); empty when
    // nothing usable is left.
    static std::string sanitize(std::string_view name, std::string_view reference);

    // `directory`/`filename`, or the first of "<stem>-2" … "<stem>-99" (extension kept) that
    // does not exist yet. The candidate numbered 99 is returned unchecked, so callers must
    // refuse to replace an existing file.
    static std::filesystem::path uniqueURL(std::string_view filename, const std::filesystem::path& directory);

    // Up to `maxWords` words of two or more letters or digits that are not stop words,
    // joined with "-"; absent when there are none.
    static std::optional<std::string> keyPhrase(const std::optional<std::string>& text, std::size_t maxWords);

    // The first document kind named in the first 1,200 characters ("cv" answers "resume").
    static std::optional<std::string> documentKind(std::string_view text);

private:
    static std::optional<Timestamp> firstDate(const FilenameRequest& request);
    static std::string assemble(std::string_view stem, std::string_view extension);
};

} // namespace tessellar

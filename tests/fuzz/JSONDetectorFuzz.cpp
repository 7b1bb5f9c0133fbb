// Any text gives a document or none. A document's forms read back to the same document, and
// nothing is accepted that a second, independent JSON parser refuses or reads differently.
#include "FuzzInput.h"
#include "kit/detect/JSONDetector.h"
#include "kit/text/StringHelpers.h"

#include <nlohmann/json.hpp>

using tessellar::JSONDetector;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::text(data, size);
    const auto document = JSONDetector::document(text);
    JSONDetector::swiftModel(text, "Root");
    // The classifier's outline accepts exactly what the document does and reports the same.
    const auto outline = JSONDetector::outline(text);
    fuzz::require(outline.has_value() == document.has_value());
    if (!document)
        return 0;
    fuzz::require(*outline == (JSONDetector::Outline{document->summary, document->isArray,
                                                     document->topLevelKeys, document->identity}));

    // nlohmann refuses numbers beyond the range of a double, which are valid JSON and kept as
    // written here; anything else it refuses must not have been accepted.
    std::string source = tessellar::trimmed(text);
    if (source.starts_with("\xEF\xBB\xBF")) // a leading byte-order mark is skipped
        source = tessellar::trimmed(source.substr(3));
    try {
        fuzz::require(nlohmann::json::parse(document->minified) == nlohmann::json::parse(source));
    } catch (const nlohmann::json::out_of_range&) {
    } catch (const nlohmann::json::exception&) {
        fuzz::require(false);
    }

    const auto fromMinified = JSONDetector::document(document->minified);
    fuzz::require(fromMinified && *fromMinified == *document);

    const auto fromPretty = JSONDetector::document(document->pretty);
    fuzz::require(
        fromPretty && fromPretty->pretty == document->pretty && fromPretty->summary == document->summary &&
        fromPretty->topLevelKeys == document->topLevelKeys && fromPretty->identity == document->identity);

    fuzz::require(JSONDetector::swiftModel(*document, "Root") == JSONDetector::swiftModel(text, "Root"));
    return 0;
}

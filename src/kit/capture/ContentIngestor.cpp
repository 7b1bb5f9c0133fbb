#include "kit/capture/ContentIngestor.h"

#include "kit/base/Clock.h"
#include "kit/base/Log.h"
#include "kit/base/MimeTypes.h"
#include "kit/capture/PngEncoder.h"
#include "kit/capture/RtfTextReader.h"
#include "kit/detect/LinkDetector.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"
#include "kit/text/UserLocale.h"

#include <memory>
#include <unicode/smpdtfmt.h>

namespace tessellar {
namespace {

struct Image {
    std::vector<std::uint8_t> bytes;
    std::string_view type;
};

// PNG as it is; TIFF re-encoded as PNG, or passed on as TIFF when it cannot be decoded. Data of
// a type is there when the pasteboard has the type, even with no bytes: an empty PNG is still
// the PNG the source offered, and an empty TIFF is one that cannot be decoded.
std::optional<Image> imageData(const Pasteboard& pasteboard) {
    if (auto png = pasteboard.data(MimeTypes::png))
        return Image{std::move(*png), MimeTypes::png};
    auto tiff = pasteboard.data(MimeTypes::tiff);
    if (!tiff)
        return std::nullopt;
    if (auto png = PngEncoder::fromImageData(*tiff))
        return Image{std::move(*png), MimeTypes::png};
    Log::notice(Log::Category::pipeline, "Pasted TIFF image kept as TIFF: it could not be converted to PNG");
    return Image{std::move(*tiff), MimeTypes::tiff};
}

// The scheme exactly as written: "HTTP://…" is not taken for a web link here.
bool hasWebSchemeAsWritten(const Url& url) {
    const std::string& text = url.absoluteString();
    return text.starts_with("http:") || text.starts_with("https:");
}

// A byte-order mark says how text was encoded, not what it says.
std::string withoutByteOrderMark(std::string text) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.erase(0, 3);
    return text;
}

std::optional<std::string> rtfText(const Pasteboard& pasteboard) {
    auto bytes = pasteboard.data(MimeTypes::rtf);
    if (!bytes)
        bytes = pasteboard.data("application/rtf");
    if (!bytes)
        return std::nullopt;
    const std::string_view raw(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    auto text = RtfTextReader::plainText(raw);
    if (!text)
        Log::info(Log::Category::pipeline, "Pasteboard RTF could not be read");
    return text;
}

} // namespace

const std::vector<std::string>& ContentIngestor::acceptedTypes() {
    static const std::vector<std::string> types{
        std::string(MimeTypes::uriList), std::string(MimeTypes::plainText), std::string(MimeTypes::rtf),
        std::string(MimeTypes::pdf),     std::string(MimeTypes::png),       std::string(MimeTypes::tiff),
    };
    return types;
}

CapturedContent ContentIngestor::capture(const Pasteboard& pasteboard, SourceType source) {
    CapturedContent content;
    content.source = source;

    if (const auto files = pasteboard.fileURLs(); !files.empty()) {
        const Url& file = files.front();
        content.fileURL = file;
        content.suggestedName = file.lastPathComponent();
        content.typeIdentifier = MimeTypes::forFileName(*content.suggestedName);
        return content;
    }
    if (auto image = imageData(pasteboard)) {
        content.typeIdentifier = std::string(image->type);
        content.suggestedName = defaultImageName(MimeTypes::preferredExtension(image->type).value_or("png"));
        content.imageData = std::move(image->bytes);
        return content;
    }
    for (const auto& url : pasteboard.urls()) {
        if (hasWebSchemeAsWritten(url)) {
            content.webURL = url;
            content.text = url.absoluteString();
            return content;
        }
    }
    // A blank plain string does not end the search: the RTF may still hold text.
    if (auto text = pasteboard.plainText(); text && !isBlank(*text)) {
        text = withoutByteOrderMark(std::move(*text));
        content.webURL = LinkDetector::standaloneURL(*text);
        content.text = std::move(text);
        return content;
    }
    if (auto text = rtfText(pasteboard); text && !isBlank(*text)) {
        content.text = std::move(text);
        return content;
    }
    return content;
}

CapturedContent ContentIngestor::capture(std::string_view typedText) {
    CapturedContent content;
    content.source = SourceType::typed;
    content.text = withoutByteOrderMark(std::string(typedText));
    content.webURL = LinkDetector::standaloneURL(*content.text);
    return content;
}

std::string ContentIngestor::defaultImageName(std::string_view extension) {
    UErrorCode status = U_ZERO_ERROR;
    icu::SimpleDateFormat format(icu::UnicodeString("yyyy-MM-dd 'at' HH.mm.ss"), icu::Locale("en_US_POSIX"),
                                 status);
    std::string stamp;
    if (U_SUCCESS(status)) {
        format.adoptTimeZone(user_locale::timeZone().release());
        icu::UnicodeString formatted;
        format.format(Clock::now().unixSeconds * 1000.0, formatted);
        stamp = unicode::toUTF8(formatted);
    }
    return "Pasted Image " + stamp + "." + std::string(extension);
}

} // namespace tessellar

#include "kit/capture/HtmlTextReader.h"

#include "kit/capture/MarkupBackend.h"

namespace tessellar {

std::optional<std::string> HtmlTextReader::plainText(std::string_view html, std::size_t maxBytes) {
    const MarkupBackend* backend = MarkupBackend::get();
    return backend ? backend->htmlText(html, maxBytes) : std::nullopt;
}

} // namespace tessellar

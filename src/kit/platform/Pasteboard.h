#pragma once

#include "kit/base/Url.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessellar {

// A clipboard or a drag's data, as the kit needs it. Representations are named by MIME
// type ("image/png", "image/tiff", "text/rtf"). The desktop implementation converts the
// toolkit's data into these reads at the boundary; InMemoryPasteboard serves tests and the CLI.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    // The URL objects restricted to local files, in pasteboard order.
    virtual std::vector<Url> fileURLs() const = 0;
    // Every URL object (files and web links), in pasteboard order.
    virtual std::vector<Url> urls() const = 0;
    // Whether an image can be read from the pasteboard.
    virtual bool hasImage() const = 0;
    // The plain-string representation, when there is one.
    virtual std::optional<std::string> plainText() const = 0;
    // The bytes of one representation, when there is one.
    virtual std::optional<std::vector<std::uint8_t>> data(std::string_view mimeType) const = 0;

    virtual void clear() = 0;
    virtual void writeText(std::string_view text) = 0;
    // Writes a file URL as a URL object, so a file manager pastes the file.
    virtual void writeFileURL(const Url& fileURL) = 0;
};

} // namespace tessellar

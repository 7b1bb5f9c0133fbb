#pragma once

#include "kit/platform/Pasteboard.h"

#include <map>
#include <mutex>

namespace tessellar {

// A pasteboard held in memory: what the tests and the command-line tool use. Contents are set
// up as another application or a drag would, then read through the Pasteboard interface.
class InMemoryPasteboard final : public Pasteboard {
public:
    std::vector<Url> fileURLs() const override;
    std::vector<Url> urls() const override;
    bool hasImage() const override; // any image/* representation
    std::optional<std::string> plainText() const override;
    std::optional<std::vector<std::uint8_t>> data(std::string_view mimeType) const override;

    void clear() override;
    void writeText(std::string_view text) override;
    void writeFileURL(const Url& fileURL) override;

    // Adds a URL object (a file or a web link) after those already there.
    void addURL(const Url& url);
    // Sets the bytes of one representation, replacing earlier ones of that type.
    void setData(std::string_view mimeType, std::vector<std::uint8_t> bytes);

private:
    mutable std::mutex mutex_;
    std::vector<Url> urls_;
    std::optional<std::string> text_;
    std::map<std::string, std::vector<std::uint8_t>, std::less<>> data_;
};

} // namespace tessellar

#pragma once

#include "kit/platform/Pasteboard.h"
#include "support/Guard.h"

#include <algorithm>
#include <map>

namespace tessellar {

// A pasteboard held in memory: what the tests and the command-line tool use. Contents are set
// up as another application or a drag would, then read through the Pasteboard interface.
class InMemoryPasteboard final : public Pasteboard {
public:
    std::vector<Url> fileURLs() const override {
        std::vector<Url> files;
        std::ranges::copy_if(urls(), std::back_inserter(files), &Url::isFileURL);
        return files;
    }
    std::vector<Url> urls() const override { return guard_.read(urls_); }
    bool hasImage() const override { // any image/* representation
        return guard_.with([&] {
            return std::ranges::any_of(data_,
                                       [](const auto& entry) { return entry.first.starts_with("image/"); });
        });
    }
    std::optional<std::string> plainText() const override { return guard_.read(text_); }
    std::optional<std::vector<std::uint8_t>> data(std::string_view mimeType) const override {
        return guard_.with([&]() -> std::optional<std::vector<std::uint8_t>> {
            if (const auto found = data_.find(mimeType); found != data_.end())
                return found->second;
            if (mimeType == "text/plain" && text_)
                return std::vector<std::uint8_t>(text_->begin(), text_->end());
            return std::nullopt;
        });
    }

    void clear() override {
        guard_.with([&] { urls_.clear(), text_.reset(), data_.clear(); });
    }
    void writeText(std::string_view text) override {
        guard_.with([&] { text_ = std::string(text); });
    }
    void writeFileURL(const Url& fileURL) override { addURL(fileURL); }

    // Adds a URL object (a file or a web link) after those already there.
    void addURL(const Url& url) {
        guard_.with([&] { urls_.push_back(url); });
    }
    // Sets the bytes of one representation, replacing earlier ones of that type.
    void setData(std::string_view mimeType, std::vector<std::uint8_t> bytes) {
        guard_.with([&] { data_.insert_or_assign(std::string(mimeType), std::move(bytes)); });
    }

private:
    testing::Guard guard_;
    std::vector<Url> urls_;
    std::optional<std::string> text_;
    std::map<std::string, std::vector<std::uint8_t>, std::less<>> data_;
};

} // namespace tessellar

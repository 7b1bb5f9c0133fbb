#include "support/InMemoryPasteboard.h"

namespace tessellar {

std::vector<Url> InMemoryPasteboard::fileURLs() const {
    const std::lock_guard lock(mutex_);
    std::vector<Url> files;
    for (const auto& url : urls_)
        if (url.isFileURL())
            files.push_back(url);
    return files;
}

std::vector<Url> InMemoryPasteboard::urls() const {
    const std::lock_guard lock(mutex_);
    return urls_;
}

bool InMemoryPasteboard::hasImage() const {
    const std::lock_guard lock(mutex_);
    for (const auto& [type, bytes] : data_)
        if (type.starts_with("image/"))
            return true;
    return false;
}

std::optional<std::string> InMemoryPasteboard::plainText() const {
    const std::lock_guard lock(mutex_);
    return text_;
}

std::optional<std::vector<std::uint8_t>> InMemoryPasteboard::data(std::string_view mimeType) const {
    const std::lock_guard lock(mutex_);
    if (const auto found = data_.find(mimeType); found != data_.end())
        return found->second;
    if (mimeType == "text/plain" && text_)
        return std::vector<std::uint8_t>(text_->begin(), text_->end());
    return std::nullopt;
}

void InMemoryPasteboard::clear() {
    const std::lock_guard lock(mutex_);
    urls_.clear();
    text_.reset();
    data_.clear();
}

void InMemoryPasteboard::writeText(std::string_view text) {
    const std::lock_guard lock(mutex_);
    text_ = std::string(text);
}

void InMemoryPasteboard::writeFileURL(const Url& fileURL) {
    const std::lock_guard lock(mutex_);
    urls_.push_back(fileURL);
}

void InMemoryPasteboard::addURL(const Url& url) {
    const std::lock_guard lock(mutex_);
    urls_.push_back(url);
}

void InMemoryPasteboard::setData(std::string_view mimeType, std::vector<std::uint8_t> bytes) {
    const std::lock_guard lock(mutex_);
    data_.insert_or_assign(std::string(mimeType), std::move(bytes));
}

} // namespace tessellar

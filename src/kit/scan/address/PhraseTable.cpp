#include "kit/scan/address/PhraseTable.h"

namespace tessellar::address {

PhraseTable::PhraseTable(std::initializer_list<std::string_view> phrases) {
    for (const std::string_view phrase : phrases)
        add(phrase);
}

void PhraseTable::add(std::string_view phrase) {
    std::vector<std::string> words;
    while (!phrase.empty()) {
        const auto space = phrase.find(' ');
        const std::string word = key(phrase.substr(0, space));
        if (!word.empty())
            words.push_back(word);
        phrase = space == std::string_view::npos ? std::string_view{} : phrase.substr(space + 1);
    }
    if (!words.empty())
        byFirstWord_[words.front()].push_back(std::move(words));
}

std::size_t PhraseTable::longestMatch(const std::function<std::string_view(std::size_t)>& wordAt) const {
    const std::string_view first = wordAt(0);
    if (first.empty())
        return 0;
    const auto found = byFirstWord_.find(std::string(first));
    if (found == byFirstWord_.end())
        return 0;
    std::size_t best = 0;
    for (const auto& words : found->second) {
        if (words.size() <= best)
            continue;
        std::size_t i = 1;
        while (i < words.size() && wordAt(i) == words[i])
            ++i;
        if (i == words.size())
            best = words.size();
    }
    return best;
}

bool PhraseTable::contains(std::string_view word) const {
    const auto found = byFirstWord_.find(key(word));
    if (found == byFirstWord_.end())
        return false;
    for (const auto& words : found->second)
        if (words.size() == 1)
            return true;
    return false;
}

std::string PhraseTable::key(std::string_view word) {
    std::string out;
    out.reserve(word.size());
    for (const char c : word) {
        if (c == '.')
            continue;
        out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return out;
}

} // namespace tessellar::address

#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessellar::address {

// A set of phrases of one or more words ("new york", "po box"), looked up word by word.
// Words are compared as keys: ASCII lower case without dots, so "N.Y." and "ny" agree.
class PhraseTable {
public:
    PhraseTable() = default;
    PhraseTable(std::initializer_list<std::string_view> phrases);

    // Adds a phrase written with single blanks between its words.
    void add(std::string_view phrase);

    // The number of words of the longest phrase that the words at 0, 1, … start with (0 when
    // none). `wordAt(i)` gives the key of word i, or an empty view past the last word.
    std::size_t longestMatch(const std::function<std::string_view(std::size_t)>& wordAt) const;

    bool contains(std::string_view word) const;

    // "St." -> "st", "N.W." -> "nw"; non-ASCII bytes are kept as they are.
    static std::string key(std::string_view word);

private:
    std::unordered_map<std::string, std::vector<std::vector<std::string>>> byFirstWord_;
};

} // namespace tessellar::address

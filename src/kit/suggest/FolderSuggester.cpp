#include "kit/suggest/FolderSuggester.h"

#include "kit/text/Unicode.h"

#include <algorithm>
#include <array>
#include <map>
#include <numeric>
#include <string_view>

namespace tessellar {
namespace {

using Names = std::vector<std::string_view>;

// Folder names preferred for a content type, strongest first.
const std::map<ContentType, Names>& byContentType() {
    static const std::map<ContentType, Names> table{
        {ContentType::invoice, {"Finance", "Invoices", "Accounting"}},
        {ContentType::receipt, {"Receipts", "Finance", "Expenses"}},
        {ContentType::screenshot, {"Screenshots", "Pictures"}},
        {ContentType::image, {"Screenshots", "Pictures", "Images"}},
        {ContentType::travel, {"Travel", "Work"}},
        {ContentType::pdf, {"Documents", "Work"}},
        {ContentType::document, {"Documents", "Work"}},
    };
    return table;
}

struct KeywordRule {
    std::string_view keyword;
    Names folders;
};

const std::array<KeywordRule, 11>& byKeyword() {
    static const std::array<KeywordRule, 11> table{{
        {"resume", {"Career", "Work"}},
        {"curriculum vitae", {"Career", "Work"}},
        {"offer letter", {"Career", "Work"}},
        {"contract", {"Legal", "Work"}},
        {"agreement", {"Legal", "Work"}},
        {"non-disclosure", {"Legal"}},
        {"lease", {"Legal", "Home"}},
        {"statement", {"Finance"}},
        {"tax", {"Finance", "Tax"}},
        {"payslip", {"Finance", "Career"}},
        {"insurance", {"Legal", "Home"}},
    }};
    return table;
}

constexpr int contentTypeBase = 10;
constexpr int keywordBase = 8;
constexpr std::size_t keywordTextLimit = 1500;

} // namespace

std::vector<FolderDestination> FolderSuggester::rank(const InboxItem& item,
                                                     const std::vector<FolderDestination>& destinations) {
    if (!item.fileURL || destinations.empty())
        return {};

    // Folder names compare ignoring case, so fold each destination's name once.
    std::vector<std::string> names;
    names.reserve(destinations.size());
    for (const auto& destination : destinations)
        names.push_back(unicode::lowercased(destination.name));
    std::vector<int> scores(destinations.size(), 0);

    const auto award = [&](const Names& folders, int base) {
        for (std::size_t i = 0; i < folders.size(); ++i) {
            const int points = std::max(base - static_cast<int>(i), 1);
            const std::string folder = unicode::lowercased(folders[i]);
            for (std::size_t d = 0; d < destinations.size(); ++d)
                if (names[d] == folder)
                    scores[d] += points;
        }
    };

    if (const auto entry = byContentType().find(item.contentType); entry != byContentType().end())
        award(entry->second, contentTypeBase);

    if (const auto text = item.bestText()) {
        const std::string lower = unicode::lowercased(unicode::characterPrefix(*text, keywordTextLimit));
        for (const auto& rule : byKeyword())
            if (lower.find(rule.keyword) != std::string::npos)
                award(rule.folders, keywordBase);
    }

    std::vector<std::size_t> order(destinations.size());
    std::iota(order.begin(), order.end(), 0);
    std::erase_if(order, [&](std::size_t d) { return scores[d] < 1; });
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return scores[a] > scores[b]; });

    std::vector<FolderDestination> ranked;
    ranked.reserve(order.size());
    for (const std::size_t d : order)
        ranked.push_back(destinations[d]);
    return ranked;
}

std::optional<FolderDestination> FolderSuggester::best(const InboxItem& item,
                                                       const std::vector<FolderDestination>& destinations) {
    auto ranked = rank(item, destinations);
    if (ranked.empty())
        return std::nullopt;
    return std::move(ranked.front());
}

} // namespace tessellar

#include "kit/suggest/FolderSuggester.h"

#include "support/Fixtures.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

FolderDestination destination(std::string name) {
    return {Uuid::random(), name, "/home/ana/" + name, std::nullopt};
}

InboxItem fileItem(ContentType type, std::optional<std::string> text = std::nullopt) {
    InboxItem item;
    item.contentType = type;
    item.fileURL = Url::fromFilePath("/home/ana/Downloads/file.pdf");
    item.extractedText = std::move(text);
    return item;
}

TEST(FolderSuggester, FixtureTable) {
    const auto rank = [](const testing::Row& c) {
        std::vector<FolderDestination> list;
        for (std::size_t from = 0, end = 0; c[3] != "defaults" && !c[3].empty() && end != std::string::npos;
             from = end + 1)
            list.push_back(destination(c[3].substr(from, (end = c[3].find('|', from)) - from)));
        if (c[3] == "defaults")
            list = FolderDestination::defaults("/home/ana");
        const auto item =
            fileItem(content_type::fromRaw(c[1]).value(), c[2] == "-" ? std::nullopt : std::optional(c[2]));
        std::string out;
        for (const auto& d : FolderSuggester::rank(item, list))
            out += (out.empty() ? "" : "|") + d.name;
        const auto best = FolderSuggester::best(item, list);
        EXPECT_EQ(best ? best->name : "", out.substr(0, out.find('|'))) << "the best is the first ranked";
        return out;
    };
    EXPECT_GE(testing::checkTable(testing::fixture("tables/folders.tsv"), {{"rank", rank}}), 11);
}

TEST(FolderSuggester, KeywordsAreFoundInTheOriginalTextWhenNothingWasExtracted) {
    auto item = fileItem(ContentType::unknown);
    item.extractedText = "  \n";
    item.originalText = "Non-Disclosure Agreement";
    const std::vector<FolderDestination> list{destination("Work"), destination("Legal")};
    // Legal 8 (agreement) + 8 (non-disclosure) = 16, Work 7.
    EXPECT_EQ(FolderSuggester::rank(item, list), (std::vector{list[1], list[0]}));
}

TEST(FolderSuggester, NoSuggestionWithoutAFileOrWithoutMatches) {
    auto text = fileItem(ContentType::invoice, "tax statement");
    text.fileURL.reset();
    const auto defaults = FolderDestination::defaults("/home/ana");
    EXPECT_TRUE(FolderSuggester::rank(text, defaults).empty());
    EXPECT_FALSE(FolderSuggester::best(text, defaults));
}

TEST(FolderSuggester, DuplicateNamesAllGain) {
    const std::vector<FolderDestination> list{destination("Screenshots"), destination("Pictures"),
                                              destination("Screenshots")};
    EXPECT_EQ(FolderSuggester::rank(fileItem(ContentType::screenshot), list),
              (std::vector{list[0], list[2], list[1]}));
}

} // namespace
} // namespace tessellar

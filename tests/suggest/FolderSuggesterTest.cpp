#include "kit/suggest/FolderSuggester.h"

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

std::vector<std::string> names(const std::vector<FolderDestination>& ranked) {
    std::vector<std::string> out;
    for (const auto& d : ranked)
        out.push_back(d.name);
    return out;
}

TEST(FolderSuggester, ReceiptRanksReceiptsBeforeFinanceAndDropsZeroScores) {
    const auto defaults = FolderDestination::defaults("/home/ana");
    EXPECT_EQ(names(FolderSuggester::rank(fileItem(ContentType::receipt), defaults)),
              (std::vector<std::string>{"Receipts", "Finance"}));
    EXPECT_EQ(FolderSuggester::best(fileItem(ContentType::receipt), defaults)->name, "Receipts");
}

TEST(FolderSuggester, ContentTypeAndKeywordPointsAddUp) {
    // Finance: 10 (invoice) + 8 (statement) + 8 (tax) = 26; Tax: 7 (second place of "tax");
    // Work gets nothing and is left out.
    const std::vector<FolderDestination> list{destination("Tax"), destination("Finance"),
                                              destination("Work")};
    const auto item = fileItem(ContentType::invoice, "Monthly STATEMENT with tax summary");
    EXPECT_EQ(names(FolderSuggester::rank(item, list)), (std::vector<std::string>{"Finance", "Tax"}));
    // Finance 10 + 8 (statement) = 18 against Invoices 9 (second place for invoices).
    const std::vector<FolderDestination> rivals{destination("Invoices"), destination("Finance")};
    EXPECT_EQ(names(FolderSuggester::rank(fileItem(ContentType::invoice, "statement"), rivals)),
              (std::vector<std::string>{"Finance", "Invoices"}));
}

TEST(FolderSuggester, TiesKeepTheOrderOfTheDestinationList) {
    // Work 9 + 7 = 16, Legal 8 (contract), Finance 8 (tax).
    const auto item = fileItem(ContentType::pdf, "This contract covers tax matters.");
    const std::vector<FolderDestination> list{destination("Work"), destination("Legal"),
                                              destination("Finance")};
    EXPECT_EQ(names(FolderSuggester::rank(item, list)),
              (std::vector<std::string>{"Work", "Legal", "Finance"}));
    const std::vector<FolderDestination> swapped{destination("Finance"), destination("Legal"),
                                                 destination("Work")};
    EXPECT_EQ(names(FolderSuggester::rank(item, swapped)),
              (std::vector<std::string>{"Work", "Finance", "Legal"}));
}

TEST(FolderSuggester, NamesMatchIgnoringCaseButOnlyAsAWhole) {
    const std::vector<FolderDestination> list{destination("Finance 2024"), destination("finance"),
                                              destination("FINANCE")};
    const auto ranked = FolderSuggester::rank(fileItem(ContentType::invoice), list);
    EXPECT_EQ(names(ranked), (std::vector<std::string>{"finance", "FINANCE"}));
}

TEST(FolderSuggester, PointsNeverDropBelowOneForLaterNames) {
    // Keyword entries with base 8 give 8 and 7; "Expenses" is third for a receipt: 8 points.
    const std::vector<FolderDestination> list{destination("Expenses"), destination("Home")};
    const auto item = fileItem(ContentType::receipt, "Lease renewal and insurance");
    // Expenses 8 (receipt, third place); Home 7 (lease) + 7 (insurance) = 14.
    EXPECT_EQ(names(FolderSuggester::rank(item, list)), (std::vector<std::string>{"Home", "Expenses"}));
}

TEST(FolderSuggester, OnlyTheFirst1500CharactersAreSearched) {
    const std::vector<FolderDestination> list{destination("Legal")};
    const std::string padding(1492, 'x');
    EXPECT_EQ(FolderSuggester::rank(fileItem(ContentType::unknown, padding + "contract"), list).size(), 1u);
    EXPECT_TRUE(FolderSuggester::rank(fileItem(ContentType::unknown, padding + "xcontract"), list).empty());
}

TEST(FolderSuggester, KeywordsAreFoundInTheOriginalTextWhenNothingWasExtracted) {
    auto item = fileItem(ContentType::unknown);
    item.extractedText = "  \n";
    item.originalText = "Non-Disclosure Agreement";
    const std::vector<FolderDestination> list{destination("Work"), destination("Legal")};
    // Legal 8 (agreement) + 8 (non-disclosure) = 16, Work 7.
    EXPECT_EQ(names(FolderSuggester::rank(item, list)), (std::vector<std::string>{"Legal", "Work"}));
}

TEST(FolderSuggester, NoSuggestionWithoutAFileOrWithoutMatches) {
    auto text = fileItem(ContentType::invoice, "tax statement");
    text.fileURL.reset();
    const auto defaults = FolderDestination::defaults("/home/ana");
    EXPECT_TRUE(FolderSuggester::rank(text, defaults).empty());
    EXPECT_FALSE(FolderSuggester::best(text, defaults));

    const std::vector<FolderDestination> list{destination("Music"), destination("Archive")};
    EXPECT_TRUE(FolderSuggester::rank(fileItem(ContentType::image), list).empty());
    EXPECT_FALSE(FolderSuggester::best(fileItem(ContentType::image), list));
    EXPECT_TRUE(FolderSuggester::rank(fileItem(ContentType::invoice), {}).empty());
}

TEST(FolderSuggester, DuplicateNamesAllGain) {
    const std::vector<FolderDestination> list{destination("Screenshots"), destination("Pictures"),
                                              destination("Screenshots")};
    const auto ranked = FolderSuggester::rank(fileItem(ContentType::screenshot), list);
    ASSERT_EQ(ranked.size(), 3u);
    EXPECT_EQ(ranked[0], list[0]);
    EXPECT_EQ(ranked[1], list[2]);
    EXPECT_EQ(ranked[2], list[1]);
}

} // namespace
} // namespace tessellar

#include "kit/detect/TextSignals.h"

#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"
#include "support/ScopedEnvironment.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tessellar {
namespace {

using Money = TextSignals::MoneyAmount;

Money money(const char* raw, const char* value, const char* symbol) {
    return Money{raw, *Decimal::parse(value), symbol};
}

std::string repeated(std::string_view piece, int times) {
    std::string out;
    for (int k = 0; k < times; ++k)
        out += piece;
    return out;
}

// tests/fixtures/text-signals.tsv: a function, a text, then the expected answer.
TEST(TextSignals, FixtureTexts) {
    const auto split = [](const std::string& line, char separator) {
        std::vector<std::string> cells;
        for (std::size_t from = 0, at = 0; at != std::string::npos; from = at + 1)
            cells.push_back(line.substr(from, (at = line.find(separator, from)) - from));
        return cells;
    };
    const auto amount = [&](const std::string& cell) {
        const auto parts = split(cell, '|');
        EXPECT_EQ(parts.size(), 3u) << cell;
        return parts.size() == 3 ? money(parts[0].c_str(), parts[1].c_str(), parts[2].c_str()) : Money{};
    };
    std::ifstream file(std::string(TESSELLAR_FIXTURES_DIR) + "/text-signals.tsv");
    ASSERT_TRUE(file);
    int rows = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.starts_with('#'))
            continue;
        auto cells = split(line, '\t');
        for (std::size_t at = 0; (at = cells[1].find("\\n", at)) != std::string::npos;)
            cells[1].replace(at, 2, "\n");
        const std::string& function = cells[0];
        const std::string& text = cells[1];
        const std::string expected = cells.size() > 2 ? cells[2] : "";
        ++rows;
        if (function == "money") {
            std::vector<Money> amounts;
            for (std::size_t k = 2; k < cells.size(); ++k)
                amounts.push_back(amount(cells[k]));
            EXPECT_EQ(TextSignals::moneyAmounts(text), amounts) << text;
        } else if (function == "primary") {
            EXPECT_EQ(TextSignals::primaryAmount(text),
                      expected == "-" ? std::nullopt : std::optional(amount(expected)))
                << text;
        } else if (function == "organization") {
            EXPECT_EQ(TextSignals::organizationName(text),
                      expected == "-" ? std::nullopt : std::optional(expected))
                << text;
        } else if (function == "normalized") {
            EXPECT_EQ(TextSignals::normalizedOrganizationName(text), expected) << text;
        } else if (function == "orgline") {
            EXPECT_EQ(TextSignals::looksLikeOrganizationLine(text), expected == "yes") << text;
        } else {
            ADD_FAILURE() << "unknown function: " << line;
        }
    }
    EXPECT_GE(rows, 70);
    EXPECT_EQ(money("$5", "5", "$").display(), "$5");
}

TEST(TextSignals, OrganizationLabelIsFoundPastTheFirstLines) {
    std::string tenth;
    for (int k = 0; k < 9; ++k)
        tenth += "Line 12345 of $ stuff\n";
    EXPECT_EQ(TextSignals::organizationName(tenth + "Vendor: Blue Bottle"), "Blue Bottle");
}

TEST(TextSignals, MoneyAmountsStayBoundedOnHostileText) {
    // A long line of comma-separated numbers and a long run of "$1," are read in one pass;
    // the list of amounts stops growing at ten thousand.
    EXPECT_TRUE(TextSignals::moneyAmounts(repeated("1,234,", 200000)).empty());
    EXPECT_EQ(TextSignals::moneyAmounts(repeated("$1,", 200000)).size(), 10000u);
    EXPECT_EQ(TextSignals::primaryAmount(repeated("$1,", 200000) + "$2"), money("$2", "2", "$"));
}

TEST(TextSignals, PrimaryAmountLooksSixtyCharactersPastTheLabel) {
    // The filler is "e" with a combining accent: one character, three bytes.
    const std::string e = "e\u0301";
    auto bill = [&](int filler) { return "Amount due" + repeated(e, filler) + "$9.99 later $100.00"; };
    EXPECT_EQ(TextSignals::primaryAmount(bill(55)), money("$9.99", "9.99", "$"));
    // An amount that starts inside the window is read whole: "$9.99" cut to "$9" is wrong.
    EXPECT_EQ(TextSignals::primaryAmount(bill(59)), money("$9.99", "9.99", "$"));
    // Past the window the label finds nothing and the largest amount wins.
    EXPECT_EQ(TextSignals::primaryAmount(bill(60)), money("$100.00", "100", "$"));
}

TEST(TextSignals, LabelRangeSkipsMatchesInsideWords) {
    using Range = TextSignals::CharacterRange;
    EXPECT_EQ(TextSignals::labelRange("total", "Order total: $5"), (Range{6, 5}));
    EXPECT_EQ(TextSignals::labelRange("total", "total"), (Range{0, 5}));
    EXPECT_EQ(TextSignals::labelRange("total", "subtotal, then total"), (Range{15, 5}));
    EXPECT_EQ(TextSignals::labelRange("total", "1total"), (Range{1, 5}));
    EXPECT_EQ(TextSignals::labelRange("total", "\U0001F9FE total"), (Range{2, 5})); // counted in characters
    EXPECT_FALSE(TextSignals::labelRange("total", "subtotal"));
    EXPECT_FALSE(TextSignals::labelRange("total", "\u00E9total"));        // a letter before it
    EXPECT_FALSE(TextSignals::labelRange("total", "Total"));              // case-sensitive
    EXPECT_EQ(TextSignals::labelRange("total", "totals"), (Range{0, 5})); // nothing is tested after it
    EXPECT_FALSE(TextSignals::labelRange("", "total"));
}

TEST(TextSignals, DatesResolveAgainstTheClock) {
    testing::PinnedZoneAndLocale pinned;
    const Clock::ScopedOverride clock(*iso8601::parse("2026-03-11T10:30:00-04:00"));
    EXPECT_EQ(TextSignals::dates("Flight 12 Mar 2026 at 18:05, return March 19, call tomorrow"),
              (std::vector<Timestamp>{*iso8601::parse("2026-03-12T18:05:00-04:00"),
                                      *iso8601::parse("2026-03-19T00:00:00-04:00"),
                                      *iso8601::parse("2026-03-12T00:00:00-04:00")}));
    EXPECT_TRUE(TextSignals::dates("No dates, only 3.12 and $12.03").empty());
}

TEST(TextSignals, DateAfterLabel) {
    testing::PinnedZoneAndLocale pinned;
    const Clock::ScopedOverride clock(*iso8601::parse("2026-03-11T10:30:00-04:00"));
    const Timestamp march12 = *iso8601::parse("2026-03-12T00:00:00-04:00");
    const Timestamp may5 = *iso8601::parse("2026-05-05T00:00:00-04:00");
    const std::string invoice = "Invoice 2026-001\nIssued: March 1, 2026\nDue date: March 12, 2026";
    EXPECT_EQ(TextSignals::date({"due date", "due"}, invoice, 40), march12);
    // Labels in order; the first that leads to a date wins.
    EXPECT_EQ(TextSignals::date({"paid", "issued", "due"}, invoice, 40),
              *iso8601::parse("2026-03-01T00:00:00-05:00"));
    // The text is lower-cased first, so capitals in the text and "may" still work.
    EXPECT_EQ(TextSignals::date({"due"}, "DUE: May 5, 2026", 20), may5);
    // No word boundary test: "due" inside "overdue" counts.
    EXPECT_EQ(TextSignals::date({"due"}, "Overdue since 03/12/2026", 30), march12);
    // Only the first occurrence of a label is tried.
    EXPECT_FALSE(TextSignals::date({"due"}, "due soon. due March 12", 5));
    // The window is counted in characters from the end of the label.
    EXPECT_EQ(TextSignals::date({"due"}, "Due" + repeated("e\u0301", 10) + " March 12", 19), march12);
    EXPECT_EQ(TextSignals::date({"due"}, "Due" + repeated("e\u0301", 10) + " March 12", 18),
              *iso8601::parse("2026-03-01T00:00:00-05:00")); // "march 1"
    EXPECT_FALSE(TextSignals::date({"due"}, "Due" + repeated("e\u0301", 10) + " March 12", 17));
    EXPECT_FALSE(TextSignals::date({"due"}, "Nothing here", 40));
    EXPECT_FALSE(TextSignals::date({}, invoice, 40));
}

TEST(TextSignals, KeywordScoreCountsEachKeywordOnce) {
    EXPECT_EQ(TextSignals::keywordScore({"invoice", "due"}, "Invoice due. Invoice due."), 2);
    EXPECT_EQ(TextSignals::keywordScore({"INVOICE", "total", "vat"}, "invoice"), 1);
    EXPECT_EQ(TextSignals::keywordScore({"due", "due"}, "due"), 2); // listed twice, counted twice
    EXPECT_EQ(TextSignals::keywordScore({""}, "anything"), 0);
    EXPECT_EQ(TextSignals::keywordScore({"stra\u00DFe"}, "STRASSE"), 0); // lower-casing, not folding
    EXPECT_EQ(TextSignals::keywordScore({}, "text"), 0);
}

} // namespace
} // namespace tessellar

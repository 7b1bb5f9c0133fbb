#include "kit/detect/TextSignals.h"

#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"
#include "support/ScopedEnvironment.h"

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

TEST(TextSignals, MoneyAmountsWithSymbolsAndCodes) {
    EXPECT_EQ(TextSignals::moneyAmounts("Total: $1,234.50"),
              std::vector<Money>{money("$1,234.50", "1234.50", "$")});
    EXPECT_EQ(TextSignals::moneyAmounts("Paid 99.90 EUR"),
              std::vector<Money>{money("99.90 EUR", "99.9", "EUR")});
    EXPECT_EQ(TextSignals::moneyAmounts("$5 and 10 GBP and \u20AC7.25 and \u00A5500 and \u00A312"),
              (std::vector<Money>{money("$5", "5", "$"), money("10 GBP", "10", "GBP"),
                                  money("\u20AC7.25", "7.25", "\u20AC"), money("\u00A5500", "500", "\u00A5"),
                                  money("\u00A312", "12", "\u00A3")}));
    // One optional blank between the sign or code and the number.
    EXPECT_EQ(TextSignals::moneyAmounts("\u20AC 5"), std::vector<Money>{money("\u20AC 5", "5", "\u20AC")});
    EXPECT_EQ(TextSignals::moneyAmounts("5USD"), std::vector<Money>{money("5USD", "5", "USD")});
    EXPECT_EQ(TextSignals::moneyAmounts("$ 1,234"), std::vector<Money>{money("$ 1,234", "1234", "$")});
    EXPECT_EQ(money("$5", "5", "$").display(), "$5");
}

TEST(TextSignals, MoneyAmountsAreReadWholeOrNotAtAll) {
    // A plain run of digits is read whole, before a code too.
    EXPECT_EQ(TextSignals::moneyAmounts("$1234.50"), std::vector<Money>{money("$1234.50", "1234.50", "$")});
    EXPECT_EQ(TextSignals::moneyAmounts("1234.50 USD"),
              std::vector<Money>{money("1234.50 USD", "1234.5", "USD")});
    EXPECT_EQ(TextSignals::moneyAmounts("\u00A51500"),
              std::vector<Money>{money("\u00A51500", "1500", "\u00A5")});
    // A number that goes on, or a code that goes on, is no amount rather than part of one.
    for (const char* unsure :
         {"\u00A312.5", "$1,2345", "$12.345,67", "$1.2M", "99,90 EUR", "1.234 EUR", "5 USDT"})
        EXPECT_TRUE(TextSignals::moneyAmounts(unsure).empty()) << unsure;
    // Codes are upper case; signs alone are nothing.
    EXPECT_TRUE(TextSignals::moneyAmounts("5 usd, $ and EUR").empty());
    EXPECT_TRUE(TextSignals::moneyAmounts("").empty());
    // A sentence's full stop or a list's comma after an amount is no decimal.
    EXPECT_EQ(TextSignals::moneyAmounts("Paid $5.00. Then $7,$8"),
              (std::vector<Money>{money("$5.00", "5", "$"), money("$7", "7", "$"), money("$8", "8", "$")}));
}

TEST(TextSignals, MoneyAmountsStayBoundedOnHostileText) {
    // A long line of comma-separated numbers and a long run of "$1," are read in one pass;
    // the list of amounts stops growing at ten thousand.
    EXPECT_TRUE(TextSignals::moneyAmounts(repeated("1,234,", 200000)).empty());
    EXPECT_EQ(TextSignals::moneyAmounts(repeated("$1,", 200000)).size(), 10000u);
    EXPECT_EQ(TextSignals::primaryAmount(repeated("$1,", 200000) + "$2"), money("$2", "2", "$"));
}

TEST(TextSignals, PrimaryAmountPrefersLabelsInOrder) {
    const std::string receipt = "Subtotal $40.00\nTax $3.20\nTotal $43.20";
    EXPECT_EQ(TextSignals::primaryAmount(receipt), money("$43.20", "43.2", "$"));
    // "amount due" outranks "total" wherever it stands.
    EXPECT_EQ(TextSignals::primaryAmount("Total $50.00\nAmount due $45.00"), money("$45.00", "45", "$"));
    // The "total" inside "subtotal" is no label, so the largest amount wins.
    EXPECT_EQ(TextSignals::primaryAmount("Subtotal $40.00 Tip $50.00"), money("$50.00", "50", "$"));
    // Labels are found in the lower-cased text, whatever case they were written in.
    EXPECT_EQ(TextSignals::primaryAmount("$900.00 deposit. GRAND TOTAL: $12.00"), money("$12.00", "12", "$"));
    EXPECT_FALSE(TextSignals::primaryAmount("Total due: soon"));
}

TEST(TextSignals, PrimaryAmountWithoutLabelIsTheLargestAndEarliest) {
    EXPECT_EQ(TextSignals::primaryAmount("$10.00 and $250.00"), money("$250.00", "250", "$"));
    EXPECT_EQ(TextSignals::primaryAmount("Paid 250.00 EUR, refund $250.00"),
              money("250.00 EUR", "250", "EUR"));
    EXPECT_EQ(TextSignals::primaryAmount("$9.99 or $10"), money("$10", "10", "$"));
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

TEST(TextSignals, PrimaryAmountAfterALabelKeepsItsCurrencyCode) {
    EXPECT_EQ(TextSignals::primaryAmount("Amount due: 99.90 EUR, fee 120.00 EUR"),
              money("99.90 EUR", "99.9", "EUR"));
    EXPECT_EQ(TextSignals::primaryAmount("TOTAL DUE 1,250.00 USD\nDeposit held: $5,000.00"),
              money("1,250.00 USD", "1250", "USD"));
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

TEST(TextSignals, OrganizationNameFromLabelsOrFirstLines) {
    EXPECT_EQ(TextSignals::organizationName("INVOICE\nACME WIDGETS LLC\n123 Main St"), "Acme Widgets LLC");
    std::string tenth;
    for (int k = 0; k < 9; ++k)
        tenth += "Line 12345 of $ stuff\n";
    EXPECT_EQ(TextSignals::organizationName(tenth + "Vendor: Blue Bottle"), "Blue Bottle");
    EXPECT_EQ(TextSignals::organizationName("Receipt\nSOLD BY:   NORTHWIND TRADERS  \n"),
              "Northwind Traders");
    // A label with nothing after it is skipped (and its line fails the line test).
    EXPECT_EQ(TextSignals::organizationName("From:\nAcme Corp"), "Acme Corp");
    // Blank lines are dropped before the first six are read.
    EXPECT_EQ(TextSignals::organizationName(
                  "\n\n\nInvoice #1\nTotal: $5\nPage 1\nDate 2026\nTax 1\nBill to me\nGlobex"),
              std::nullopt);
    EXPECT_EQ(TextSignals::organizationName("Invoice #1\n\n\n\nTotal: $5\nGlobex"), "Globex");
    EXPECT_FALSE(TextSignals::organizationName(""));
    EXPECT_FALSE(TextSignals::organizationName("1234\n$5.00"));
}

TEST(TextSignals, OrganizationLineTest) {
    EXPECT_FALSE(TextSignals::looksLikeOrganizationLine("A"));
    EXPECT_TRUE(TextSignals::looksLikeOrganizationLine("AB"));
    EXPECT_TRUE(TextSignals::looksLikeOrganizationLine(std::string(48, 'x')));
    EXPECT_FALSE(TextSignals::looksLikeOrganizationLine(std::string(49, 'x')));
    EXPECT_TRUE(TextSignals::looksLikeOrganizationLine(repeated("e\u0301", 48))); // characters, not bytes
    EXPECT_FALSE(TextSignals::looksLikeOrganizationLine("12"));                   // no letter
    EXPECT_TRUE(TextSignals::looksLikeOrganizationLine("Acme 12"));
    EXPECT_FALSE(TextSignals::looksLikeOrganizationLine("Acme 123"));
    EXPECT_FALSE(
        TextSignals::looksLikeOrganizationLine("Acme \u00BD\u00BD\u00BD")); // other number characters
    for (const char* banned : {"Acme: Inc", "a@b.com", "Acme $", "Acme \u20AC", "Acme \u00A3"})
        EXPECT_FALSE(TextSignals::looksLikeOrganizationLine(banned)) << banned;
    for (const char* start : {"Invoice Co", "RECEIPT", "Statement", "Bill To", "Ship to", "Pages Ltd",
                              "Datev", "Total Foods", "Taxi Inc"})
        EXPECT_FALSE(TextSignals::looksLikeOrganizationLine(start)) << start;
}

TEST(TextSignals, NormalizedOrganizationName) {
    EXPECT_EQ(TextSignals::normalizedOrganizationName("ACME WIDGETS LLC"), "Acme Widgets LLC");
    EXPECT_EQ(TextSignals::normalizedOrganizationName("Acme Widgets"), "Acme Widgets");
    EXPECT_EQ(TextSignals::normalizedOrganizationName("ACME widgets"), "ACME widgets"); // mixed: kept
    EXPECT_EQ(TextSignals::normalizedOrganizationName("  IBM  "), "IBM");
    EXPECT_EQ(TextSignals::normalizedOrganizationName("3M COMPANY"), "3M Company");
    EXPECT_EQ(TextSignals::normalizedOrganizationName("ACME  WIDGETS"), "Acme Widgets");
    EXPECT_EQ(TextSignals::normalizedOrganizationName("\u00C9COLE DU LOUVRE"), "\u00C9cole DU Louvre");
    EXPECT_EQ(TextSignals::normalizedOrganizationName("O'NEIL & SONS"), "O'neil & Sons");
    EXPECT_EQ(TextSignals::normalizedOrganizationName("ABCD"), "Abcd"); // four letters is no acronym
    EXPECT_EQ(TextSignals::normalizedOrganizationName("1234"), "1234");
    EXPECT_EQ(TextSignals::normalizedOrganizationName("   "), "");
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

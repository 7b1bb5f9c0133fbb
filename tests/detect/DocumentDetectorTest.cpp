#include "kit/detect/DocumentDetector.h"

#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

// Tuesday 10 March 2026, noon in New York.
const Timestamp now = *iso8601::parse("2026-03-10T16:00:00Z");

std::string iso(const std::optional<Timestamp>& date) {
    return date ? iso8601::format(*date) : "none";
}

class DocumentDetectorTest : public ::testing::Test {
    Clock::ScopedOverride clock{now};
};

TEST_F(DocumentDetectorTest, InvoiceConfidenceAddsDueDateAndFileNameBonuses) {
    // Two phrases ("invoice", "amount due"), an amount and a due date: 0.7 + 0.1.
    const std::string text = "INVOICE\nAcme Widgets\nAmount due: $120.00\nPlease pay by March 31, 2026";
    const auto plain = DocumentDetector::invoice(text, std::nullopt);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->confidence, 0.8);
    EXPECT_EQ(iso(plain->dueDate), "2026-03-31T04:00:00Z");
    EXPECT_EQ(plain->amount, "$120.00");
    EXPECT_EQ(plain->company, "Acme Widgets");

    // A file name with "Invoice" makes the score 3: 0.85 + 0.1 + 0.05, capped at 0.95.
    EXPECT_EQ(DocumentDetector::invoice(text, "Acme-Invoice.pdf")->confidence, 0.95);
    // Diacritics and case are ignored in the file name.
    EXPECT_EQ(DocumentDetector::invoice(text, "INVOÍCE 12.pdf")->confidence, 0.95);

    // One phrase, an amount, no due date and a file-name hit: score 2, 0.7 + 0.05.
    const auto single = DocumentDetector::invoice("Invoice\nTotal: $80.00", "march invoice.pdf");
    ASSERT_TRUE(single);
    EXPECT_EQ(single->confidence, 0.75);
    EXPECT_FALSE(single->dueDate);
    EXPECT_FALSE(DocumentDetector::invoice("Invoice\nTotal: $80.00", "march.pdf"));
}

TEST_F(DocumentDetectorTest, InvoiceWithoutAmountNeedsFourPhrases) {
    const std::string three = "Invoice\nBill to: Ana Lima\nRemit to: Acme Widgets";
    EXPECT_FALSE(DocumentDetector::invoice(three, std::nullopt));
    const auto four = DocumentDetector::invoice(three + "\nTerms: Net 30", std::nullopt);
    ASSERT_TRUE(four);
    EXPECT_EQ(four->confidence, 0.7);
    EXPECT_FALSE(four->amount);
    // Three phrases with an amount reach 0.85.
    EXPECT_EQ(DocumentDetector::invoice(three + "\n$45.00", std::nullopt)->confidence, 0.85);
}

TEST_F(DocumentDetectorTest, InvoiceFieldsComeFromTheText) {
    const std::string text = "ACME WIDGETS LLC\n"
                             "Invoice No. 4471\n"
                             "Invoice date: March 2, 2026\n"
                             "Payment due: April 1, 2026\n"
                             "Subtotal $1,000.00\n"
                             "Balance due $1,080.00\n";
    const auto invoice = DocumentDetector::invoice(text, std::nullopt);
    ASSERT_TRUE(invoice);
    EXPECT_EQ(invoice->company, "Acme Widgets LLC");
    EXPECT_EQ(invoice->number, "4471");
    EXPECT_EQ(invoice->amount, "$1,080.00");
    EXPECT_EQ(iso(invoice->issueDate), "2026-03-02T05:00:00Z");
    EXPECT_EQ(iso(invoice->dueDate), "2026-04-01T04:00:00Z");
    EXPECT_EQ(invoice->confidence, 0.95);
}

TEST_F(DocumentDetectorTest, InvoiceNumberNeedsADigitAndTriesBothPatterns) {
    const auto number = [](const std::string& line) {
        const auto invoice = DocumentDetector::invoice(line + "\nAmount due: $10.00", std::nullopt);
        return invoice ? invoice->number : std::optional<std::string>("no invoice");
    };
    EXPECT_EQ(number("Invoice INV-2024-017"), "INV-2024-017");
    EXPECT_EQ(number("Invoice Template"), std::nullopt);
    EXPECT_EQ(number("invoice #: A-17"), "A-17");
    EXPECT_EQ(number("Invoice number:   2026-03"), "2026-03");
    EXPECT_EQ(number("Invoice no. \t :\n A-17"), "A-17");
    EXPECT_EQ(number("Invoice number" + std::string(5000, ' ') + "!"), std::nullopt);
    // The first pattern finds "ABCD" (no digit); the second pattern's first match is "number".
    EXPECT_EQ(number("Invoice number: ABCD, see invoice 12345"), std::nullopt);
    // The second pattern alone: a word after "invoice" with a digit.
    EXPECT_EQ(number("Your invoice 88-A is ready"), "88-A");
}

TEST_F(DocumentDetectorTest, BlankTextIsNeitherInvoiceNorReceipt) {
    for (const char* text : {"", "   \n\t "}) {
        EXPECT_FALSE(DocumentDetector::invoice(text, "invoice.pdf"));
        EXPECT_FALSE(DocumentDetector::receipt(text, "receipt.pdf"));
    }
}

TEST_F(DocumentDetectorTest, ReceiptTiesGoToTheReceipt) {
    // Receipt phrases: "receipt", "subtotal", "order total"; invoice phrases: "invoice",
    // "bill to", "remit to".
    const std::string tie =
        "Receipt for invoice 7\nBill to: Ana\nRemit to: Acme\nSubtotal $9.00\nOrder total $9.90";
    const auto receipt = DocumentDetector::receipt(tie, std::nullopt);
    ASSERT_TRUE(receipt);
    EXPECT_EQ(receipt->total, "$9.90");
    EXPECT_EQ(receipt->confidence, 0.73);
    EXPECT_FALSE(DocumentDetector::receipt(tie + "\nNet 30", std::nullopt));
    // The receipt's file-name hit counts on its side only.
    EXPECT_TRUE(DocumentDetector::receipt(tie + "\nNet 30", "Receipt.png"));
}

TEST_F(DocumentDetectorTest, ReceiptNeedsTwoPhrasesAndAnAmount) {
    EXPECT_FALSE(DocumentDetector::receipt("Subtotal: nothing\nOrder total: see below", std::nullopt));
    EXPECT_FALSE(DocumentDetector::receipt("Thanks!\nSubtotal $4.00", std::nullopt));
    EXPECT_EQ(DocumentDetector::receipt("Thanks!\nSubtotal $4.00", "receipt-0042.jpg")->confidence, 0.67);
}

TEST_F(DocumentDetectorTest, ReceiptConfidenceGrowsWithPhrasesUpTo0Point9) {
    const std::vector<std::pair<std::string, double>> rows{
        {"Receipt\nSubtotal $4.00", 0.67},
        {"Receipt\nSubtotal $4.00\nQty 1", 0.73},
        {"Receipt\nSubtotal $4.00\nQty 1\nTransaction 8", 0.79},
        {"Receipt\nSubtotal $4.00\nQty 1\nTransaction 8\nOrder #8", 0.85},
        {"Receipt\nSubtotal $4.00\nQty 1\nTransaction 8\nOrder #8\nCard ending 4242", 0.9},
        {"Receipt\nSubtotal $4.00\nQty 1\nTransaction 8\nOrder #8\nCard ending 4242\nPayment method: Visa",
         0.9},
    };
    for (const auto& [text, confidence] : rows) {
        const auto receipt = DocumentDetector::receipt(text, std::nullopt);
        ASSERT_TRUE(receipt) << text;
        EXPECT_EQ(receipt->confidence, confidence) << text;
    }
}

TEST_F(DocumentDetectorTest, ReceiptFieldsComeFromTheText) {
    const std::string text = "Blue Bottle Coffee\n300 Webster St\nLatte $5.75\nCroissant $4.50\n"
                             "Subtotal $10.25\nTotal $11.20\nMarch 3, 2026\nThank you for your purchase";
    const auto receipt = DocumentDetector::receipt(text, std::nullopt);
    ASSERT_TRUE(receipt);
    EXPECT_EQ(receipt->merchant, "Blue Bottle Coffee");
    EXPECT_EQ(receipt->total, "$11.20");
    EXPECT_EQ(iso(receipt->date), "2026-03-03T05:00:00Z");
}

} // namespace
} // namespace tessellar

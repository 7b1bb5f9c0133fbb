#include "kit/suggest/FilenameGenerator.h"

#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tessellar {
namespace {

using Suggestion = FilenameGenerator::Suggestion;

class FilenameGeneratorTest : public ::testing::Test {
    Clock::ScopedOverride clock{*iso8601::parse("2026-03-10T16:00:00Z")};
};

FilenameRequest request(std::string name, std::string text, ContentType type, ItemMetadata metadata = {}) {
    return {std::move(name), std::move(text), type, std::move(metadata)};
}

ItemMetadata facts(std::initializer_list<std::pair<std::string_view, std::string>> pairs) {
    ItemMetadata metadata;
    for (const auto& [key, value] : pairs)
        metadata.set(key, value);
    return metadata;
}

void touch(const std::filesystem::path& path) {
    std::ofstream(path) << "x";
}

TEST_F(FilenameGeneratorTest, ReceiptUsesMerchantAndDay) {
    const auto s = FilenameGenerator::suggestion(request(
        "IMG_2231.jpeg", "Blue Bottle Coffee\nLatte $5.75\nMarch 3, 2025 8:42 AM", ContentType::receipt));
    EXPECT_EQ(s,
              (Suggestion{"blue-bottle-coffee-receipt-2025-03-03.jpeg", "From the merchant and date", true}));
    // A merchant fact wins over the text.
    const auto known =
        FilenameGenerator::suggestion(request("IMG_2231.jpeg", "Latte $5.75\nMarch 3, 2025",
                                              ContentType::receipt, facts({{"merchant", "Tartine"}})));
    EXPECT_EQ(known.filename, "tartine-receipt-2025-03-03.jpeg");
}

TEST_F(FilenameGeneratorTest, InvoiceUsesIssuerAndMonthWithLowerCaseExtension) {
    const std::string text = "Invoice date: July 14, 2024\nDue date: August 13, 2024";
    EXPECT_EQ(FilenameGenerator::suggestion(
                  request("scan.PDF", text, ContentType::invoice, facts({{"company", "Acme GmbH"}}))),
              (Suggestion{"acme-gmbh-invoice-2024-07.pdf", "From the issuer and invoice date", true}));
    EXPECT_EQ(FilenameGenerator::suggestion(request("scan.PDF", text, ContentType::invoice)),
              (Suggestion{"invoice-2024-07.pdf", "From the document\u2019s contents", true}));
    // Without an issue date the due date gives the month.
    EXPECT_EQ(
        FilenameGenerator::suggestion(request("scan.pdf", "Due date: August 13, 2024", ContentType::invoice))
            .filename,
        "invoice-2024-08.pdf");
}

TEST_F(FilenameGeneratorTest, ReceiptWithoutMerchantSaysItUsedTheContents) {
    const auto s = FilenameGenerator::suggestion(request("r.png", "Total: $4.00", ContentType::receipt));
    EXPECT_EQ(s, (Suggestion{"receipt.png", "From the document\u2019s contents", true}));
}

TEST_F(FilenameGeneratorTest, DocumentsOfAKnownKindUseHeadingAndDate) {
    const auto s = FilenameGenerator::suggestion(
        request("Document1.docx", "Lease Agreement\nSigned on 1 February 2026", ContentType::document,
                facts({{"company", "Oak Street Rentals"}})));
    // "agreement" comes before "lease" in the kinds table.
    EXPECT_EQ(s, (Suggestion{"oak-street-rentals-agreement-2026-02.docx",
                             "From the document\u2019s heading and date", true}));
    EXPECT_EQ(
        FilenameGenerator::suggestion(request("cv.pdf", "CV: Ana Lima, designer", ContentType::pdf)).filename,
        "resume.pdf");
}

TEST_F(FilenameGeneratorTest, OtherTextUsesItsFirstHeading) {
    const auto s = FilenameGenerator::suggestion(request(
        "notes.txt", "\n  Planning the offsite for the design team in May\nmore", ContentType::plainText));
    EXPECT_EQ(s, (Suggestion{"planning-offsite-design-team-may.txt", "From the document\u2019s first heading",
                             true}));
    // An excerpt fact is preferred to the text's first line.
    EXPECT_EQ(FilenameGenerator::suggestion(request("notes.txt", "ignored heading here", ContentType::json,
                                                    facts({{"excerpt", "id, name, owner"}})))
                  .filename,
              "id-name-owner.txt");
}

TEST_F(FilenameGeneratorTest, CodeAndImagesUseTheErrorOrExcerpt) {
    const auto s = FilenameGenerator::suggestion(request(
        "Screenshot 2026-03-01 at 09.30.05.png", "whatever", ContentType::screenshot,
        facts({{"excerpt", "Build settings"}, {"errorSummary", "Cannot find 'Widget' in scope now"}})));
    EXPECT_EQ(s, (Suggestion{"find-widget-scope-now.png", "From the text found in the image", true}));
    EXPECT_EQ(FilenameGenerator::suggestion(request("IMG_1.heic", "", ContentType::image,
                                                    facts({{"excerpt", "Quarterly Revenue by Region"}})))
                  .filename,
              "quarterly-revenue-region.heic");
}

TEST_F(FilenameGeneratorTest, TooShortOrUnchangedNamesAreNoImprovement) {
    const auto tax = FilenameGenerator::suggestion(request("scan_001.pdf", "TAX", ContentType::pdf));
    EXPECT_EQ(tax, (Suggestion{"scan_001.pdf", "Not enough information in this file to suggest a better name",
                               false}));
    EXPECT_EQ(FilenameGenerator::suggestion(request("blank.png", "", ContentType::image)).rationale,
              FilenameGenerator::notEnoughInformation);

    const std::string text = "Blue Bottle Coffee\nMarch 3, 2025";
    const auto sameCase = FilenameGenerator::suggestion(
        request("Blue-Bottle-Coffee-Receipt-2025-03-03.JPEG", text, ContentType::receipt));
    EXPECT_EQ(sameCase.filename, "blue-bottle-coffee-receipt-2025-03-03.jpeg");
    EXPECT_FALSE(sameCase.isImprovement);
    const auto sameSlug = FilenameGenerator::suggestion(
        request("Blue Bottle Coffee Receipt 2025_03_03.png", text, ContentType::receipt));
    EXPECT_FALSE(sameSlug.isImprovement);
    EXPECT_TRUE(
        FilenameGenerator::suggestion(request("receipt.png", text, ContentType::receipt)).isImprovement);
}

TEST_F(FilenameGeneratorTest, LongStemsAreCutTo72AndLoseTrailingHyphens) {
    const std::string first(71, 'a');
    const auto s = FilenameGenerator::suggestion(
        request("x.log", "", ContentType::code, facts({{"errorSummary", first + " bbbbbbbb"}})));
    EXPECT_EQ(s.filename, first + ".log");
    const std::string word(40, 'c');
    const auto longer = FilenameGenerator::suggestion(
        request("x.log", "", ContentType::code, facts({{"errorSummary", word + " " + word}})));
    EXPECT_EQ(longer.filename, word + "-" + std::string(31, 'c') + ".log");
}

TEST(FilenameGenerator, SanitizeKeepsTheReferenceExtension) {
    EXPECT_EQ(FilenameGenerator::sanitize("My Report.txt", "scan.pdf"), "my-report.pdf");
    EXPECT_EQ(FilenameGenerator::sanitize("!!!", "scan.pdf"), "");
    EXPECT_EQ(FilenameGenerator::sanitize("!!!.txt", "scan.pdf"), "txt.pdf");
    EXPECT_EQ(FilenameGenerator::sanitize("Café Menü", "Scan.JPG"), "cafe-menu.jpg");
    EXPECT_EQ(FilenameGenerator::sanitize("acme-invoice-2024-07.pdf", "README"), "acme-invoice-2024-07");
    EXPECT_EQ(FilenameGenerator::sanitize("  Q3 Report \u2014 Final!! .md", "a.tar.gz"),
              "q3-report-final.gz");
}

TEST(FilenameGenerator, UniqueURLCountsUpFromTwo) {
    testing::TempDir dir;
    EXPECT_EQ(FilenameGenerator::uniqueURL("report.pdf", dir.path()), dir / "report.pdf");
    touch(dir / "report.pdf");
    touch(dir / "report-2.pdf");
    EXPECT_EQ(FilenameGenerator::uniqueURL("report.pdf", dir.path()), dir / "report-3.pdf");
    touch(dir / "report");
    EXPECT_EQ(FilenameGenerator::uniqueURL("report", dir.path()), dir / "report-2");
}

TEST(FilenameGenerator, UniqueURLGivesUpAt99WithoutChecking) {
    testing::TempDir dir;
    touch(dir / "a.txt");
    for (int n = 2; n <= 99; ++n)
        touch(dir / ("a-" + std::to_string(n) + ".txt"));
    EXPECT_EQ(FilenameGenerator::uniqueURL("a.txt", dir.path()), dir / "a-99.txt");
    std::filesystem::remove(dir / "a-98.txt");
    EXPECT_EQ(FilenameGenerator::uniqueURL("a.txt", dir.path()), dir / "a-98.txt");
}

TEST(FilenameGenerator, KeyPhraseDropsStopWordsAndShortWords) {
    EXPECT_EQ(FilenameGenerator::keyPhrase("The Report of a Year in Review", 5), "Report-Year-Review");
    EXPECT_EQ(FilenameGenerator::keyPhrase("Error: cannot open file 'config.yml' (x)", 4),
              "Error-open-file-config");
    EXPECT_EQ(FilenameGenerator::keyPhrase("  Straße\tnach   München  ", 5), "Straße-nach-München");
    EXPECT_EQ(FilenameGenerator::keyPhrase("Please, you have it!", 5), std::nullopt);
    EXPECT_EQ(FilenameGenerator::keyPhrase(" \n ", 5), std::nullopt);
    EXPECT_EQ(FilenameGenerator::keyPhrase(std::nullopt, 5), std::nullopt);
    EXPECT_EQ(FilenameGenerator::keyPhrase("Q3 1 x 42", 5), "Q3-42");
}

TEST(FilenameGenerator, DocumentKindFollowsTheTableOrderWithinTheFirst1200Characters) {
    EXPECT_EQ(FilenameGenerator::documentKind("Receipt attached to your invoice"), "invoice");
    EXPECT_EQ(FilenameGenerator::documentKind("My CV"), "resume");
    EXPECT_EQ(FilenameGenerator::documentKind("Swift syntax notes"), "tax");
    EXPECT_EQ(FilenameGenerator::documentKind("PAYSLIP March"), "payslip");
    EXPECT_EQ(FilenameGenerator::documentKind("hello"), std::nullopt);
    EXPECT_EQ(FilenameGenerator::documentKind(std::string(1194, ' ') + "report"), "report");
    EXPECT_EQ(FilenameGenerator::documentKind(std::string(1195, ' ') + "report"), std::nullopt);
}

} // namespace
} // namespace tessellar

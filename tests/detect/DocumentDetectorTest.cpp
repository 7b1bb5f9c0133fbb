#include "kit/detect/DocumentDetector.h"

#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

// Tuesday 10 March 2026, noon in New York.
const Timestamp now = *iso8601::parse("2026-03-10T16:00:00Z");

std::string iso(const std::optional<Timestamp>& date) {
    return date ? iso8601::format(*date) : "-";
}

class DocumentDetectorTest : public ::testing::Test {
    Clock::ScopedOverride clock{now};
};

TEST_F(DocumentDetectorTest, FixtureTable) {
    using testing::Row;
    using testing::shown;
    const auto file = [](const Row& c) { return c[2] == "-" ? std::nullopt : std::optional(c[2]); };
    const auto invoice = [&](const Row& c) {
        const auto i = DocumentDetector::invoice(c[1], file(c));
        return i ? shown(i->confidence) + "|" + shown(i->company) + "|" + shown(i->number) + "|" +
                       shown(i->amount) + "|" + iso(i->issueDate) + "|" + iso(i->dueDate)
                 : "-";
    };
    const auto receipt = [&](const Row& c) {
        const auto r = DocumentDetector::receipt(c[1], file(c));
        return r ? shown(r->confidence) + "|" + shown(r->merchant) + "|" + shown(r->total) + "|" +
                       iso(r->date)
                 : "-";
    };
    const auto invoiceNumber = [](const Row& c) {
        const auto invoice = DocumentDetector::invoice(c[1] + "\nAmount due: $10.00", std::nullopt);
        return invoice ? shown(invoice->number) : "no invoice";
    };
    const auto receiptConfidence = [&](const Row& c) {
        const auto receipt = DocumentDetector::receipt(c[1], file(c));
        return receipt ? shown(receipt->confidence) : "-";
    };
    EXPECT_GE(testing::checkTable(testing::fixture("tables/documents.tsv"),
                                  {{"invoice", invoice},
                                   {"receipt", receipt},
                                   {"invoiceNumber", invoiceNumber},
                                   {"receiptConfidence", receiptConfidence}}),
              34);
}

} // namespace
} // namespace tessellar

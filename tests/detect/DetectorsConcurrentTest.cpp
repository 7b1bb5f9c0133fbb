// The detectors share compiled patterns, lazily built tables and ICU caches, and are called from
// the capture worker and the CLI at once: every thread must get what one thread sees. Run under
// ThreadSanitizer by `make check-tsan`.
#include "kit/base/Clock.h"
#include "kit/detect/AddressDetector.h"
#include "kit/detect/DocumentDetector.h"
#include "kit/detect/JSONDetector.h"
#include "kit/detect/JWTDetector.h"
#include "kit/detect/LinkDetector.h"
#include "kit/detect/ScheduleDetector.h"
#include "kit/detect/TravelDetector.h"
#include "kit/scan/dates/DateRecognizer.h"
#include "kit/text/ISO8601.h"
#include "support/ConcurrentCalls.h"
#include "support/Fixtures.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

struct Answers {
    std::vector<std::optional<AddressDetector::Address>> addresses, firstAddresses;
    std::vector<std::optional<std::string>> links, emails, phones;
    std::vector<std::optional<ScheduleDetector::Occasion>> occasions;
    std::vector<std::vector<DataDetector::Match>> dates;
    std::vector<std::optional<TravelDetector::Flight>> flights;
    std::vector<std::optional<DocumentDetector::Invoice>> invoices;
    std::vector<std::optional<DocumentDetector::Receipt>> receipts;
    std::vector<std::optional<JSONDetector::Document>> documents;
    std::vector<std::optional<JWTDetector::Token>> tokens;
    bool operator==(const Answers&) const = default;
};

TEST(DetectorsConcurrent, EightThreadsGetTheSingleThreadedAnswers) {
    const testing::PinnedZoneAndLocale pinned;
    const Clock::ScopedOverride clock(*iso8601::parse("2026-03-10T16:00:00Z"));
    std::vector<std::string> texts;
    for (const auto& row : testing::tableRows(testing::fixture("tables/detector-texts.tsv")))
        texts.push_back(row[0]);
    const auto options = DateRecognizer::Options::forUser();
    const auto answers = [&] {
        Answers out;
        for (const std::string& text : texts) {
            out.addresses.push_back(AddressDetector::standaloneAddress(text));
            out.firstAddresses.push_back(AddressDetector::firstAddress(text));
            const auto url = LinkDetector::standaloneURL(text);
            out.links.push_back(url ? std::optional(url->absoluteString()) : std::nullopt);
            out.emails.push_back(LinkDetector::standaloneEmailAddress(text));
            out.phones.push_back(LinkDetector::standalonePhoneNumber(text));
            out.occasions.push_back(ScheduleDetector::occasion(text, Clock::now()));
            out.dates.push_back(DateRecognizer::scan(text, Clock::now(), options));
            out.flights.push_back(TravelDetector::flight(text));
            out.invoices.push_back(DocumentDetector::invoice(text, "invoice.pdf"));
            out.receipts.push_back(DocumentDetector::receipt(text, std::nullopt));
            out.documents.push_back(JSONDetector::document(text));
            out.tokens.push_back(JWTDetector::token(text));
        }
        return out;
    };
    ASSERT_EQ(texts.size(), 21u);
    const Answers alone = answers();
    ASSERT_TRUE(alone.addresses[0] && alone.links[5] && alone.emails[6] && alone.phones[7] &&
                alone.occasions[10] && alone.flights[16] && alone.invoices[17] && alone.receipts[18] &&
                alone.documents[19] && alone.tokens[20]);
    for (const auto& result : concurrentResults(answers))
        EXPECT_EQ(result, alone);
}

} // namespace
} // namespace tessellar

#include "kit/detect/TravelDetector.h"

#include "kit/base/Clock.h"
#include "kit/detect/DocumentDetector.h"
#include "kit/detect/JSONDetector.h"
#include "kit/detect/JWTDetector.h"
#include "kit/text/ISO8601.h"
#include "support/ConcurrentCalls.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace tessellar {
namespace {

// Tuesday 10 March 2026, noon in New York.
const Timestamp now = *iso8601::parse("2026-03-10T16:00:00Z");

class TravelDetectorTest : public ::testing::Test {
    Clock::ScopedOverride clock{now};
};

TEST_F(TravelDetectorTest, FixtureTable) {
    using testing::Row;
    using testing::shown;
    const auto found = [](const Row& c) {
        const auto flight = TravelDetector::flight(c[1]);
        EXPECT_TRUE(flight) << c[1];
        return flight.value_or(TravelDetector::Flight{});
    };
    const auto flight = [](const Row& c) {
        const auto f = TravelDetector::flight(c[1]);
        return f ? shown(f->airline) + "|" + shown(f->flightNumber) + "|" + shown(f->origin) + "|" +
                       shown(f->destination) + "|" + shown(f->confirmationCode) + "|" + shown(f->confidence) +
                       "|" + (f->departure ? iso8601::format(*f->departure) : "-")
                 : "-";
    };
    EXPECT_GE(testing::checkTable(
                  testing::fixture("tables/travel.tsv"),
                  {{"flight", flight},
                   {"confirmationCode", [&](const Row& c) { return shown(found(c).confirmationCode); }},
                   {"route",
                    [&](const Row& c) { return shown(found(c).origin) + "|" + shown(found(c).destination); }},
                   {"flightConfidence",
                    [](const Row& c) {
                        const auto f = TravelDetector::flight(c[1]);
                        return f ? shown(f->confidence) : "-";
                    }}}),
              23);
}

// Shared compiled patterns and lazily built tables must give every thread what one thread sees.
TEST_F(TravelDetectorTest, ConcurrentCallsFromEightThreadsAgree) {
    const std::string flightText =
        "Flight UA 123 boarding 10:40, gate B7, SFO \u2192 JFK, confirmation code: QX7K2M";
    const std::string invoiceText = "ACME Corp\nInvoice number: INV-2041\nAmount due: $1,250.00\nDue date: "
                                    "March 30, 2026\nBill to: Ann";
    const std::string receiptText =
        "Blue Bottle Coffee\nReceipt\nSubtotal $4.50\nOrder total $4.95\nMarch 9, 2026";
    const std::string jsonText = R"({"name":"Ann","tags":[1,2,3],"nested":{"id":7}})";
    const std::string jwtText = "eyJhbGciOiJIUzI1NiJ9.eyJzdWIiOiJhbm4iLCJleHAiOjE3MDAwMDAwMDB9.c2ln";
    const auto answers = [&] {
        return std::tuple(TravelDetector::flight(flightText),
                          DocumentDetector::invoice(invoiceText, "invoice.pdf"),
                          DocumentDetector::receipt(receiptText, std::nullopt),
                          JSONDetector::document(jsonText), JWTDetector::token(jwtText));
    };
    const auto alone = answers();
    ASSERT_TRUE(std::get<0>(alone) && std::get<1>(alone) && std::get<2>(alone) && std::get<3>(alone) &&
                std::get<4>(alone));
    for (const auto& result : concurrentResults(answers))
        EXPECT_EQ(result, alone);
}

} // namespace
} // namespace tessellar

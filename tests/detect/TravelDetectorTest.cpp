#include "kit/detect/TravelDetector.h"

#include "kit/base/Clock.h"
#include "kit/detect/DocumentDetector.h"
#include "kit/detect/JSONDetector.h"
#include "kit/detect/JWTDetector.h"
#include "kit/text/ISO8601.h"
#include "support/ConcurrentCalls.h"

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

TEST_F(TravelDetectorTest, BoardingLineGivesEveryField) {
    const auto flight = TravelDetector::flight(
        "Flight UA 123 boarding 10:40, gate B7, SFO \u2192 JFK, confirmation code: QX7K2M");
    ASSERT_TRUE(flight);
    EXPECT_EQ(flight->airline, "United");
    EXPECT_EQ(flight->flightNumber, "UA123");
    EXPECT_EQ(flight->origin, "SFO");
    EXPECT_EQ(flight->destination, "JFK");
    EXPECT_EQ(flight->confirmationCode, "QX7K2M");
    EXPECT_EQ(flight->confidence, 0.85);
    // "boarding 10:40": the next 10:40 after noon on 10 March.
    ASSERT_TRUE(flight->departure);
    EXPECT_EQ(iso8601::format(*flight->departure), "2026-03-11T14:40:00Z");
}

TEST_F(TravelDetectorTest, UnknownAirlineCodeNeedsTheWordFlight) {
    EXPECT_FALSE(TravelDetector::flight("Boarding pass\nXY 42 to Lisbon\nGate 12"));
    const auto flight = TravelDetector::flight("FLIGHT XY 42 to Lisbon\nBoarding pass, gate 12");
    ASSERT_TRUE(flight);
    EXPECT_EQ(flight->airline, "XY");
    EXPECT_EQ(flight->flightNumber, "XY42");
    // A known code later in the text wins over an earlier unknown one.
    const auto known = TravelDetector::flight("Gate change: XY 42 is now operated as DL 8\nBoarding at 9:10");
    ASSERT_TRUE(known);
    EXPECT_EQ(known->airline, "Delta");
    EXPECT_EQ(known->flightNumber, "DL8");
}

TEST_F(TravelDetectorTest, EqualRouteEndsAreRejectedAndTheNextPatternTried) {
    const auto flight =
        TravelDetector::flight("Flight UA 5, boarding soon\nSFO - SFO\nfrom Denver to Austin");
    ASSERT_TRUE(flight);
    EXPECT_EQ(flight->origin, "Denver");
    EXPECT_EQ(flight->destination, "Austin");

    const std::vector<std::tuple<std::string, std::string, std::string>> routes{
        {"Flight AA 10 boarding\nNew York -> London", "New York", "London"},
        {"Flight AA 10 boarding\nLHR\u2013CDG", "LHR", "CDG"},
        {"Flight AA 10 boarding\nBOS to ORD", "BOS", "ORD"},
        {"Flight AA 10 boarding\nflying San Diego to Salt Lake today", "San Diego", "Salt Lake"},
    };
    for (const auto& [text, origin, destination] : routes) {
        const auto f = TravelDetector::flight(text);
        ASSERT_TRUE(f) << text;
        EXPECT_EQ(f->origin, origin) << text;
        EXPECT_EQ(f->destination, destination) << text;
    }
}

TEST_F(TravelDetectorTest, ConfidenceDependsOnPhrasesAndRoute) {
    // Two phrases ("flight", "gate"), no route.
    EXPECT_EQ(TravelDetector::flight("Flight LH 400, gate 3")->confidence, 0.6);
    EXPECT_EQ(TravelDetector::flight("Flight LH 400, gate 3, FRA \u2192 JFK")->confidence, 0.75);
    // Four phrases ("flight", "gate", "seat", "passenger").
    EXPECT_EQ(TravelDetector::flight("Passenger Ana, flight LH 400, gate 3, seat 2A")->confidence, 0.7);
    EXPECT_EQ(TravelDetector::flight("Passenger Ana, flight LH 400, gate 3, seat 2A, FRA -> JFK")->confidence,
              0.85);
}

TEST_F(TravelDetectorTest, WeakOrNumberlessTextIsNoFlight) {
    EXPECT_FALSE(TravelDetector::flight("Meet at gate UA 12"));            // one phrase
    EXPECT_FALSE(TravelDetector::flight("Boarding at the gate, seat 12")); // no flight number
    EXPECT_FALSE(TravelDetector::flight(""));
}

TEST_F(TravelDetectorTest, ConfirmationCodeFollowsItsLabels) {
    const auto code = [](const std::string& text) { return TravelDetector::flight(text)->confirmationCode; };
    EXPECT_EQ(code("Flight BA 117, gate 5. Record locator ABC12"), "ABC12");
    EXPECT_EQ(code("Flight BA 117, gate 5. PNR: zx9q8w"), "zx9q8w");
    EXPECT_EQ(code("Flight BA 117, gate 5. Confirmation: 12345678"), "12345678");
    EXPECT_EQ(code("Flight BA 117, gate 5. Confirmation: 1234"), std::nullopt);
    // Blanks on either side of the colon, or none at all.
    EXPECT_EQ(code("Flight BA 117, gate 5. Confirmation code \t : \n QX7K2M"), "QX7K2M");
    EXPECT_EQ(code("Flight BA 117, gate 5. Confirmation code:QX7K2M"), "QX7K2M");
    EXPECT_EQ(code("Flight BA 117, gate 5. Confirmation" + std::string(5000, ' ') + "!"), std::nullopt);
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

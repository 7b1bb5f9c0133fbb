// Realistic captures from everyday sources (bills, receipts, travel mail, tool output,
// addresses, reminders, developer snippets) and what the rules make of them.
#include "kit/detect/RuleBasedClassifier.h"
#include "kit/support/Clock.h"
#include "kit/text/ISO8601.h"

#include <gtest/gtest.h>
#include <map>

namespace tessellar {
namespace {

struct Capture {
    std::string name;
    std::string text;
    ContentType type;
    std::optional<std::string> title = std::nullopt;
    std::map<std::string, std::string> facts = {};  // key -> value, each must be present
    std::map<std::string, std::string> hidden = {}; // key -> value, each must be present
    std::optional<std::string> headline = std::nullopt;
    std::optional<std::string> file = std::nullopt; // a dropped file of that name (with this text)
    std::optional<std::string> mime = std::nullopt;
};

const std::vector<Capture>& captures() {
    static const std::vector<Capture> rows{
        // Invoices.
        {"saas invoice",
         "Invoice\nInvoice number 8F3A2C1D-0007\nDate of issue March 1, 2026\nDate due March 31, 2026\n\n"
         "Linear Orbit Inc.\n548 Market St\nSan Francisco, California 94104\n\nBill to\nana@lima.studio\n\n"
         "Description Qty Unit price Amount\nPro plan, monthly 1 $49.00 $49.00\nSubtotal $49.00\nTotal "
         "$49.00\n"
         "Amount due $49.00 USD",
         ContentType::invoice,
         "Linear Orbit Inc.",
         {{"company", "Linear Orbit Inc."}, {"amount", "$49.00"}, {"invoiceNumber", "Invoice 8F3A2C1D-0007"}},
         {{"dueDateISO", "2026-03-31T04:00:00Z"}}},
        {"freelancer invoice",
         "MARTA KOWALSKI DESIGN\nInvoice #2026-014\nIssued: February 20, 2026\n\nBill to: Northwind Traders\n"
         "Logo refresh and brand guidelines\n\nTotal due: \u20AC2,400.00\nThank you for your business!",
         ContentType::invoice,
         "Marta Kowalski Design",
         {{"amount", "\u20AC2,400.00"}, {"invoiceNumber", "Invoice 2026-014"}}},
        {"utility bill",
         "PACIFIC GAS AND ELECTRIC COMPANY\nAccount No: 1234567890-1\nStatement Date: 02/27/2026\n"
         "Due Date: 03/20/2026\nAmount Due: $184.37\nAutopay is not enabled for this account.",
         ContentType::invoice,
         "Pacific GAS AND Electric Company",
         {{"amount", "$184.37"}},
         {{"dueDateISO", "2026-03-20T04:00:00Z"}}},
        {"agency invoice with number",
         "Brightline Studio LLC\n41 Grand Street\nInvoice INV-2024-017\nBill to: Acme Corp\n"
         "Website redesign, phase 2    $6,500.00\nHosting (12 months)           $480.00\nBalance due "
         "$6,980.00\n"
         "Payment due on 15 April 2026",
         ContentType::invoice,
         "Brightline Studio LLC",
         {{"amount", "$6,980.00"}, {"invoiceNumber", "Invoice INV-2024-017"}},
         {{"dueDateISO", "2026-04-15T04:00:00Z"}}},
        {"euro invoice",
         "Invoice\nFrom: Kaffeer\u00F6sterei Berlin GmbH\nInvoice date: 2 March 2026\nTotal due 1,190.00 "
         "EUR\n"
         "Due date: 16 March 2026",
         ContentType::invoice,
         "Kaffeer\u00F6sterei Berlin GmbH",
         {{"amount", "1,190.00 EUR"}},
         {{"dueDateISO", "2026-03-16T04:00:00Z"}}},
        {"scanned invoice file",
         "ACME WIDGETS LLC\n123 Main St\nAmount due: $1,250.00\nDue date: April 1, 2026",
         ContentType::invoice,
         "Invoice_2026-03.pdf",
         {{"company", "Acme Widgets LLC"}, {"amount", "$1,250.00"}},
         {{"dueDateISO", "2026-04-01T04:00:00Z"}},
         std::nullopt,
         "Invoice_2026-03.pdf",
         "application/pdf"},
        {"consulting invoice remit to",
         "Invoice\nHarbor & Pine Consulting\nRemit to: PO Box 7781, Portland, OR 97208\nNet 30\n"
         "Strategy workshop (2 days) $3,200.00\nTotal $3,200.00",
         ContentType::invoice,
         "Harbor & Pine Consulting",
         {{"amount", "$3,200.00"}}},
        {"invoice without amount",
         "INVOICE\nBill to: Lima Design Studio\nRemit to: Oakline Print Shop\nTerms: Net 30\nInvoice number: "
         "5531",
         ContentType::invoice,
         "Invoice",
         {{"invoiceNumber", "Invoice 5531"}}},

        // Receipts.
        {"coffee shop",
         "Blue Bottle Coffee\n300 Webster St, Oakland CA\nOrder #4471   Register 2\n\n1  Latte, oat milk     "
         "   $5.75\n"
         "1  Almond croissant       $4.50\n\nSubtotal                 $10.25\nTax                       "
         "$0.95\n"
         "Order total              $11.20\n\nPayment method: Visa card ending 4242\nThank you for your "
         "purchase!",
         ContentType::receipt,
         "Blue Bottle Coffee",
         {{"merchant", "Blue Bottle Coffee"}, {"amount", "$11.20"}}},
        {"ride share",
         "Thanks for riding, Ana\nUber\nTotal $23.47\nTrip fare $19.80\nSubtotal $19.80\nBooking fee $2.75\n"
         "Payment method: Visa 4242",
         ContentType::receipt,
         "Thanks for riding, Ana",
         {{"amount", "$23.47"}}},
        {"online order",
         "Amazon.com\nOrder #112-7294031-5566630\nOrder Total: $64.18\nItems: Anker USB-C charger, Qty: 1\n"
         "Payment method: Mastercard ending in 1122\nThank you for your purchase",
         ContentType::receipt,
         "Amazon.com",
         {{"merchant", "Amazon.com"}, {"amount", "$64.18"}}},
        {"grocery till",
         "TRADER JOE'S\nStore #552\nBANANAS 0.99\nOAT MILK 3.49\nSUBTOTAL $4.48\nTOTAL $4.48\nVISA CARD "
         "ENDING 0042\n"
         "TRANSACTION 4471",
         ContentType::receipt,
         "Trader Joe's",
         {{"amount", "$4.48"}}},
        {"app store receipt",
         "Receipt\nApple ID: ana@lima.studio\nOrder ID: MV7K2L9PQ\niCloud+ with 200 GB (Monthly) $2.99\n"
         "Subtotal $2.99\nTax $0.26\nTotal $3.25",
         ContentType::receipt,
         "Receipt",
         {{"amount", "$3.25"}}},
        {"restaurant",
         "THE MILL\n736 Divisadero St\nCappuccino 5.00\nToast 6.00\nSubtotal $11.00\nTax $0.96\nTip $2.00\n"
         "Total $13.96\nVisa card ending 8812",
         ContentType::receipt,
         "THE Mill",
         {{"merchant", "THE Mill"}, {"amount", "$13.96"}}},
        {"pharmacy",
         "Walgreens #09921\nRX 4471902 QTY 30\nSubtotal $12.40\nTotal $12.40\nCard ending 1881\nThank you "
         "for your "
         "purchase",
         ContentType::receipt,
         std::nullopt,
         {{"amount", "$12.40"}}},
        {"photographed receipt",
         "Corner Bakery\nSourdough $8.00\nSubtotal $8.00\nTotal $8.00\nCard ending 4242",
         ContentType::receipt,
         "IMG_4471.jpeg",
         {{"merchant", "Corner Bakery"}, {"amount", "$8.00"}},
         {},
         std::nullopt,
         "IMG_4471.jpeg",
         "image/jpeg"},

        // Flights.
        {"united confirmation",
         "Your trip is confirmed!\n\nConfirmation code: K7QX2M\nPassenger: Ana Lima\n\n"
         "Flight UA 1542 from San Francisco to Boston\nSFO \u2192 BOS\nDeparts: April 14, 2026 at 7:05 AM\n"
         "Arrival: 3:41 PM local time\nSeat 21C",
         ContentType::travel,
         "United UA1542",
         {{"flightNumber", "United UA1542"}, {"route", "SFO \u2192 BOS"}},
         {{"dateISO", "2026-04-14T11:05:00Z"}}},
        {"delta boarding pass",
         "DELTA AIR LINES BOARDING PASS\nPASSENGER: LIMA/ANA\nFLIGHT DL 1176\nFROM ATL TO LAX\nDEPARTURE "
         "06:55\n"
         "GATE B14  SEAT 23A\nCONFIRMATION: HX4T9Q",
         ContentType::travel,
         "Delta DL1176",
         {{"flightNumber", "Delta DL1176"}}},
        {"lufthansa booking",
         "Lufthansa\nBooking code / PNR: 5KXQ7T\nLH 454 Frankfurt \u2192 San Francisco\n"
         "Departure: 12 April 2026, 13:10\nArrival: 12 April 2026, 15:45\nSeat 44K",
         ContentType::travel,
         "Lufthansa LH454",
         {{"flightNumber", "Lufthansa LH454"}, {"route", "Frankfurt \u2192 San Francisco"}},
         {{"dateISO", "2026-04-12T17:10:00Z"}}},
        {"british airways e-ticket",
         "British Airways\nBA 287 London Heathrow to San Francisco\nDeparts 11:25 on Sat 18 Apr "
         "2026\nTerminal 5, "
         "seat 32A\nCheck in online from 24 hours before departure",
         ContentType::travel,
         "British Airways BA287",
         {{"route", "London Heathrow \u2192 San Francisco"}},
         {{"dateISO", "2026-04-18T15:25:00Z"}}},
        {"jetblue text message",
         "JetBlue: Flight B6 615 JFK-SJU departs from gate 7. Boarding begins 30 minutes before.",
         ContentType::travel,
         "JetBlue B6615",
         {{"route", "JFK \u2192 SJU"}}},
        {"emirates itinerary",
         "Itinerary\nPassenger: Ana Lima\nEK 226 Dubai DXB \u2192 San Francisco SFO\nSeat 71A",
         ContentType::travel,
         "Emirates EK226",
         {{"route", "Dubai DXB \u2192 San Francisco SFO"}}},
        {"southwest confirmation",
         "Southwest Airlines\nConfirmation code: AB12CD\nWN 1932 from Oakland to Las Vegas\nBoarding "
         "position A23\n"
         "Departs 6:15 PM on March 20",
         ContentType::travel,
         "Southwest WN1932",
         {{"route", "Oakland \u2192 Las Vegas"}},
         {{"dateISO", "2026-03-20T22:15:00Z"}}},
        {"boarding pass pdf",
         "AIR FRANCE\nBOARDING PASS\nFLIGHT AF 83\nCDG \u2192 SFO\nGATE K41 SEAT 12F",
         ContentType::travel,
         "boarding-pass.pdf",
         {{"flightNumber", "Air France AF83"}, {"route", "CDG \u2192 SFO"}},
         {},
         std::nullopt,
         "boarding-pass.pdf",
         "application/pdf"},

        // Errors and code from real tools.
        {"python traceback",
         "Traceback (most recent call last):\n  File \"/srv/app/billing/export.py\", line 42, in <module>\n  "
         "  main()\n"
         "ZeroDivisionError: division by zero",
         ContentType::code,
         "division by zero",
         {{"errorSummary", "division by zero"}, {"language", "Python"}},
         {},
         "Python Error"},
        {"react type error",
         "TypeError: Cannot read properties of undefined (reading 'map')\n"
         "    at ProductList (webpack-internal:///./src/components/ProductList.jsx:14:27)\n"
         "    at renderWithHooks (node_modules/react-dom/cjs/react-dom.development.js:16305:18)",
         ContentType::code,
         "Cannot read properties of undefined (reading 'map')",
         {{"language", "JavaScript"}},
         {},
         "JavaScript Error"},
        {"java null pointer",
         "Exception in thread \"main\" java.lang.NullPointerException: Cannot invoke \"String.length()\"\n"
         "\tat com.example.App.greet(App.java:12)\n\tat com.example.App.main(App.java:5)",
         ContentType::code,
         std::nullopt,
         {{"language", "Java"}},
         {},
         "Java Error"},
        {"go panic",
         "panic: runtime error: index out of range [5] with length 3\n\ngoroutine 1 [running]:\nmain.main()\n"
         "\t/home/ana/src/demo/main.go:8 +0x1d\nexit status 2",
         ContentType::code,
         "index out of range [5] with length 3",
         {{"language", "Go"}},
         {},
         "Go Error"},
        {"rust borrow checker",
         "error[E0382]: borrow of moved value: `v`\n --> src/main.rs:4:20\n  |\n2 |     let v = vec![1, 2, "
         "3];\n"
         "3 |     let w = v;\n4 |     println!(\"{}\", v.len());",
         ContentType::code,
         "Code",
         {{"excerpt", "error[E0382]: borrow of moved value: `v`"}, {"language", "Rust"}},
         {},
         "Rust Code"},
        {"swift crash",
         "Fatal error: Unexpectedly found nil while unwrapping an Optional value: file "
         "MyApp/ContentView.swift, "
         "line 42",
         ContentType::code,
         std::nullopt,
         {{"language", "Swift"}},
         {},
         "Swift Error"},
        {"gcc error",
         "main.c: In function \u2018main\u2019:\nmain.c:5:5: error: implicit declaration of function "
         "\u2018prnitf\u2019\n"
         "    5 |     prnitf(\"hello\\n\");",
         ContentType::code,
         "implicit declaration of function \u2018prnitf\u2019",
         {},
         {},
         "Development Error"},
        {"npm missing module",
         "npm ERR! Error: Cannot find module 'express'\nnpm ERR! Require stack:\nnpm ERR! - "
         "/srv/app/server.js",
         ContentType::code,
         "Cannot find module 'express'",
         {{"language", "JavaScript"}},
         {},
         "JavaScript Error"},
        {"git push rejected",
         "error: failed to push some refs to 'github.com:ana/site.git'\n"
         "hint: Updates were rejected because the remote contains work that you do not have locally.",
         ContentType::code,
         "failed to push some refs to 'github.com:ana/site.git'",
         {},
         {},
         "Development Error"},
        {"xcode signing",
         "error: No signing certificate \"iOS Development\" found: No \"iOS Development\" signing "
         "certificate "
         "matching team ID \"ABCDE12345\" with a private key was found.",
         ContentType::code,
         std::nullopt,
         {},
         {},
         "Development Error"},
        {"android crash",
         "FATAL EXCEPTION: main\nProcess: com.example.app, PID: 4411\n"
         "java.lang.IllegalStateException: Could not find method onClick(View)\n"
         "\tat androidx.appcompat.app.AppCompatViewInflater.resolveMethod(AppCompatViewInflater.java:423)",
         ContentType::code,
         "FATAL EXCEPTION: main",
         {{"errorSummary", "FATAL EXCEPTION: main"}},
         {},
         "Java Error"},
        {"python function",
         "def fetch_user(user_id: int) -> dict:\n    response = requests.get(f\"{API}/users/{user_id}\")\n"
         "    return response.json()",
         ContentType::code,
         "Code",
         {{"excerpt", "def fetch_user(user_id: int) -> dict:"}},
         {},
         "Python Code"},
        {"swiftui view",
         "struct ContentView: View {\n    var body: some View {\n        Text(\"Hello\")\n    }\n}",
         ContentType::code,
         "Code",
         {},
         {},
         "Code"},

        // Addresses.
        {"googleplex",
         "1600 Amphitheatre Parkway\nMountain View, CA 94043",
         ContentType::address,
         "1600 Amphitheatre Parkway",
         {{"street", "1600 Amphitheatre Parkway"}, {"locality", "Mountain View, CA 94043"}}},
        {"empire state",
         "350 Fifth Avenue, New York, NY 10118",
         ContentType::address,
         "350 Fifth Avenue",
         {{"locality", "New York, NY 10118"}}},
        {"chicago office",
         "233 S Wacker Dr, Chicago, IL 60606",
         ContentType::address,
         "233 S Wacker Dr",
         {{"locality", "Chicago, IL 60606"}}},
        {"shipping label",
         "Ship to:\n88 Pine Street\nSan Francisco, CA 94111",
         ContentType::address,
         "88 Pine Street",
         {{"locality", "San Francisco, CA 94111"}}},
        {"full state name", "1 Infinite Loop, Cupertino, California 95014", ContentType::address,
         "1 Infinite Loop"},
        {"springfield",
         "12 Market Street, Springfield, IL 62701",
         ContentType::address,
         "12 Market Street",
         {{"locality", "Springfield, IL 62701"}}},

        // Reminders and deadlines.
        {"passport",
         "Renew passport application - due March 20, 2026",
         ContentType::date,
         "Renew passport application",
         {},
         {{"dateISO", "2026-03-20T04:00:00Z"}, {"hasTime", "false"}},
         "Deadline"},
        {"dentist",
         "Dentist appointment tomorrow at 3pm",
         ContentType::date,
         "Dentist appointment",
         {},
         {{"dateISO", "2026-03-11T19:00:00Z"}, {"hasTime", "true"}},
         "Date"},
        {"expense report",
         "Submit expense report by Friday",
         ContentType::date,
         "Submit expense report",
         {},
         {{"dateISO", "2026-03-13T04:00:00Z"}},
         "Deadline"},
        {"call mom",
         "Call mom on Sunday at 6pm",
         ContentType::date,
         "Call mom",
         {},
         {{"dateISO", "2026-03-15T22:00:00Z"}},
         "Date"},
        {"library books",
         "Library books due 03/28/2026",
         ContentType::date,
         "Library books",
         {},
         {{"dateISO", "2026-03-28T04:00:00Z"}},
         "Deadline"},
        {"quarterly taxes",
         "Quarterly taxes due April 15",
         ContentType::date,
         "Quarterly taxes",
         {},
         {{"dateISO", "2026-04-15T04:00:00Z"}},
         "Deadline"},
        {"car registration",
         "Car registration expires on 31 May 2026",
         ContentType::date,
         "Car registration expires",
         {},
         {{"dateISO", "2026-05-31T04:00:00Z"}},
         "Deadline"},
        {"flight home reminder",
         "Pick up Ana at the airport on March 14 at 9:30 PM",
         ContentType::date,
         "Pick up Ana at the airport",
         {},
         {{"dateISO", "2026-03-15T01:30:00Z"}},
         "Date"},

        // Developer snippets.
        {"github repo json",
         "{\n  \"id\": 48213,\n  \"name\": \"tessellar\",\n  \"private\": false,\n  \"topics\": "
         "[\"desktop\"]\n}",
         ContentType::json,
         "tessellar",
         {{"shape", "Object \u00B7 4 keys"}, {"excerpt", "id, name, private, topics"}}},
        {"todo array",
         R"([{"id": 1, "title": "Buy milk", "done": false}, {"id": 2, "title": "Call Sam"}])",
         ContentType::json,
         "Buy milk",
         {{"shape", "Array \u00B7 2 elements"}}},
        {"api error json",
         R"({"error": {"code": 404, "message": "Not found"}})",
         ContentType::json,
         "JSON object",
         {{"excerpt", "error"}}},
        {"jwt with subject",
         "eyJhbGciOiJIUzI1NiIsInR5cCI6IkpXVCJ9."
         "eyJzdWIiOiJhbmEubGltYUBleGFtcGxlLmNvbSIsImlzcyI6Imh0dHBzOi8vYXV0"
         "aC5leGFtcGxlLmNvbSIsImF1ZCI6InRlc3NlbGxhci13ZWIiLCJpYXQiOjE3NjcyMjU2MDAsImV4cCI6MTg5MzQ1NjAwMCwic2N"
         "vcGUi"
         "OiJyZWFkOml0ZW1zIn0.3l2TsPCEXHBybvwGg4yGA48YQYXCBWYY0sROkp-zkGU",
         ContentType::jwt,
         "ana.lima@example.com",
         {{"algorithm", "HS256"},
          {"subject", "ana.lima@example.com"},
          {"company", "https://auth.example.com"}},
         {{"expiryISO", "2030-01-01T00:00:00Z"}},
         "JWT"},
        {"classic jwt.io sample",
         "eyJhbGciOiJIUzI1NiIsInR5cCI6IkpXVCJ9."
         "eyJzdWIiOiIxMjM0NTY3ODkwIiwibmFtZSI6IkpvaG4gRG9lIiwiaWF0IjoxNTE2MjM5"
         "MDIyfQ.SflKxwRJSMeKKF2QT4fwpMeJf36POk6yJV_adQssw5c",
         ContentType::jwt,
         "1234567890",
         {{"algorithm", "HS256"}},
         {},
         "JWT"},
        {"unix seconds",
         "1767225600",
         ContentType::timestamp,
         std::nullopt,
         {{"iso 8601", "2026-01-01T00:00:00Z"}},
         {},
         "Unix Timestamp"},
        {"unix milliseconds",
         "1700000000000",
         ContentType::timestamp,
         std::nullopt,
         {{"iso 8601", "2023-11-14T22:13:20Z"}},
         {},
         "Unix Timestamp (ms)"},
        {"log timestamp",
         "  1741600000\n",
         ContentType::timestamp,
         std::nullopt,
         {{"iso 8601", "2025-03-10T09:46:40Z"}}},

        // Links, e-mail addresses, phone numbers.
        {"github issue",
         "https://github.com/tessellar/tessellar/issues/6",
         ContentType::url,
         "github.com/tessellar/tessellar/issues/6",
         {{"host", "github.com"}}},
        {"bare domain",
         "www.example.org/pricing",
         ContentType::url,
         "example.org/pricing",
         {{"host", "www.example.org"}}},
        {"docs link",
         "https://docs.python.org/3/library/asyncio.html#module-asyncio",
         ContentType::url,
         "docs.python.org/3/library/asyncio.html",
         {{"host", "docs.python.org"}}},
        {"work email",
         "ana.lima@northwind.co.uk",
         ContentType::emailAddress,
         "ana.lima@northwind.co.uk",
         {{"email", "ana.lima@northwind.co.uk"}}},
        {"support email", " support@tessellar.app\n", ContentType::emailAddress, "support@tessellar.app"},
        {"us phone",
         "+1 (650) 253-0000",
         ContentType::phoneNumber,
         "+1 (650) 253-0000",
         {{"phone", "+1 (650) 253-0000"}}},
        {"french phone", "+33 1 42 68 53 00", ContentType::phoneNumber, "+33 1 42 68 53 00"},

        // Plain prose.
        {"meeting notes",
         "Ideas for the offsite: start with a short retro of the last quarter, then split into two groups to "
         "sketch "
         "the onboarding flow. Bring the printed user interviews and sticky notes.",
         ContentType::plainText, "Ideas for the offsite: start with a short retro of the last\u2026"},
        {"shopping list",
         "milk\neggs\nsourdough\ncoffee beans",
         ContentType::plainText,
         "milk",
         {{"excerpt", "milk eggs sourdough coffee beans"}}},
        {"quote", "\u201CSimplicity is prerequisite for reliability.\u201D \u2014 Edsger W. Dijkstra",
         ContentType::plainText},
    };
    return rows;
}

class RealCaptures : public ::testing::TestWithParam<std::size_t> {
protected:
    // Tuesday 10 March 2026, noon in New York.
    Clock::ScopedOverride clock{*iso8601::parse("2026-03-10T16:00:00Z")};
};

TEST_P(RealCaptures, AreRecognisedWithTheirKeyFacts) {
    const Capture& capture = captures()[GetParam()];
    SCOPED_TRACE(capture.name);
    ClassificationInput input;
    input.text = capture.text;
    if (capture.file) {
        input.fileURL = Url::fromFilePath("/home/ana/Downloads/" + *capture.file);
        input.filename = capture.file;
        input.typeIdentifier = capture.mime;
        input.source = SourceType::drop;
    }
    const auto result = RuleBasedClassifier().classify(input);
    ASSERT_TRUE(result);
    EXPECT_EQ(content_type::rawValue(result->contentType), content_type::rawValue(capture.type));
    if (capture.title) {
        EXPECT_EQ(result->title, *capture.title);
    }
    if (capture.headline) {
        EXPECT_EQ(result->headline, capture.headline);
    }
    for (const auto& [key, value] : capture.facts)
        EXPECT_EQ(result->metadata[key], value) << key;
    for (const auto& [key, value] : capture.hidden) {
        const auto found = result->metadata.hidden.find(key);
        EXPECT_EQ(found == result->metadata.hidden.end() ? "(none)" : found->second, value) << key;
    }
    EXPECT_EQ(result->source, ClassificationSource::rules);
}

INSTANTIATE_TEST_SUITE_P(Table, RealCaptures, ::testing::Range<std::size_t>(0, captures().size()),
                         [](const auto& info) {
                             std::string name;
                             for (const char c : captures()[info.param].name)
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(RealCapturesTable, HoldsAtLeastSixtyCaptures) {
    EXPECT_GE(captures().size(), 60u);
}

} // namespace
} // namespace tessellar

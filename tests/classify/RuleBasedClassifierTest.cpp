#include "kit/classify/RuleBasedClassifier.h"

#include "kit/base/Clock.h"
#include "kit/classify/ClassificationRules.h"
#include "kit/text/Base64.h"
#include "kit/text/Formatting.h"
#include "kit/text/ISO8601.h"

#include <gtest/gtest.h>
#include <random>

namespace tessellar {
namespace {

// Tuesday 10 March 2026, noon in New York.
const Timestamp now = *iso8601::parse("2026-03-10T16:00:00Z");

using Fact = ItemMetadata::Fact;
using Facts = std::vector<Fact>;

std::string jwt(const std::string& payload) {
    const auto part = [](std::string_view json) {
        return Base64::encode(json, Base64::Alphabet::url, false);
    };
    return part(R"({"alg":"RS256","typ":"JWT"})") + "." + part(payload) + ".c2lnbmF0dXJl";
}

class RuleBasedClassifierTest : public ::testing::Test {
protected:
    std::optional<Classification> text(std::string value) {
        ClassificationInput input;
        input.text = std::move(value);
        return RuleBasedClassifier().classify(input);
    }

    Classification file(std::optional<std::string> path, std::optional<std::string> type, std::string value,
                        bool hasImage = false, std::optional<std::string> filename = std::nullopt) {
        ClassificationInput input;
        if (path)
            input.fileURL = Url::fromFilePath(*path);
        input.typeIdentifier = std::move(type);
        input.text = std::move(value);
        input.hasImage = hasImage;
        input.filename = std::move(filename);
        input.source = SourceType::drop;
        const auto result = RuleBasedClassifier().classify(input);
        EXPECT_TRUE(result) << "the container rules always answer";
        return result.value_or(Classification{});
    }

    Clock::ScopedOverride clock{now};
};

TEST_F(RuleBasedClassifierTest, BlankOrAbsentTextHasNoOpinion) {
    EXPECT_FALSE(text(" \n\t "));
    EXPECT_FALSE(RuleBasedClassifier().classify(ClassificationInput{}));
}

TEST_F(RuleBasedClassifierTest, EmailAddressWinsOverLaterRules) {
    ItemMetadata metadata;
    metadata.set("email", "ana.lima@example.com", std::nullopt, true);
    EXPECT_EQ(text("  ana.lima@example.com\n"),
              Classification(ContentType::emailAddress, "ana.lima@example.com", std::nullopt, 0.95, metadata,
                             {ActionID("copy"), ActionID("askAI")}));
}

TEST_F(RuleBasedClassifierTest, JWTFactsTitleAndExpiry) {
    const auto plain = text(jwt(R"({"iss":"https://auth.example.com","aud":"web"})"));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->contentType, ContentType::jwt);
    EXPECT_EQ(plain->title, "https://auth.example.com");
    EXPECT_EQ(plain->headline, "JWT");
    EXPECT_EQ(plain->metadata.facts, (Facts{{"algorithm", "Algorithm", "RS256", true},
                                            {"company", "Issuer", "https://auth.example.com", false}}));

    // Expired a second ago: "Expired …", the "Expired JWT" headline and the hidden ISO date.
    const double past = now.unixSeconds - 1;
    const auto expired = text(jwt(R"({"sub":"ana","iss":"auth","exp":)" + std::to_string(past) + "}"));
    ASSERT_TRUE(expired);
    EXPECT_EQ(expired->title, "ana");
    EXPECT_EQ(expired->headline, "Expired JWT");
    ASSERT_EQ(expired->metadata.facts.size(), 4u);
    EXPECT_EQ(expired->metadata.facts[3],
              (Fact{"expiry", std::nullopt, "Expired " + Formatting::dayAndTime(Timestamp{past}), true}));
    EXPECT_EQ(expired->metadata.hidden.at("expiryISO"), "2026-03-10T15:59:59Z");

    const auto valid = text(jwt(R"({"exp":1900000000})"));
    EXPECT_EQ(valid->title, "JSON Web Token");
    EXPECT_EQ(valid->metadata["expiry"], "Expires " + Formatting::dayAndTime(Timestamp{1900000000}));
}

TEST_F(RuleBasedClassifierTest, JSONShapeKeysAndIdentity) {
    const auto object = text(R"({"zeta":1,"name":"Widget","a":2,"b":3,"c":4,"d":5,"e":6})");
    ASSERT_TRUE(object);
    EXPECT_EQ(object->contentType, ContentType::json);
    EXPECT_EQ(object->title, "Widget");
    EXPECT_EQ(object->metadata.facts, (Facts{{"shape", std::nullopt, "Object \u00B7 7 keys", true},
                                             {"excerpt", std::nullopt, "a, b, c, d, e, name", false}}));
    EXPECT_EQ(text("[1, 2, 3]")->title, "JSON array");
    EXPECT_EQ(text("[1, 2, 3]")->metadata.facts,
              (Facts{{"shape", std::nullopt, "Array \u00B7 3 elements", true}}));
    EXPECT_EQ(text("{}")->title, "JSON object");
    EXPECT_EQ(text("{}")->metadata.facts.size(), 1u);
}

TEST_F(RuleBasedClassifierTest, TimestampRowsBecomeFactsWithTheLocalOnePrimary) {
    const auto c = text(" 1700000000\n");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->contentType, ContentType::timestamp);
    EXPECT_EQ(c->headline, "Unix Timestamp");
    EXPECT_EQ(c->title, Formatting::dayAndTime(Timestamp{1700000000}));
    ASSERT_EQ(c->metadata.facts.size(), 4u);
    EXPECT_EQ(c->metadata.facts[0].label, "Local");
    EXPECT_TRUE(c->metadata.facts[0].isPrimary);
    EXPECT_FALSE(c->metadata.facts[1].isPrimary);
    EXPECT_EQ(c->metadata["iso 8601"], "2023-11-14T22:13:20Z");
    EXPECT_EQ(text("1700000000000")->headline, "Unix Timestamp (ms)");
}

TEST_F(RuleBasedClassifierTest, LinkPhoneAndAddress) {
    ItemMetadata host;
    host.set("host", "www.example.com", std::nullopt, true);
    EXPECT_EQ(text("https://www.example.com/docs/"),
              Classification(ContentType::url, "example.com/docs", std::nullopt, 0.98, host,
                             {ActionID("openURL"), ActionID("copyURL"), ActionID("saveForLater"),
                              ActionID("summarize")}));

    const auto phone = text("+1 650-253-0000");
    ASSERT_TRUE(phone);
    EXPECT_EQ(phone->contentType, ContentType::phoneNumber);
    EXPECT_EQ(phone->metadata.facts, (Facts{{"phone", std::nullopt, "+1 650-253-0000", true}}));

    const auto address = text("12 Market Street, Springfield, IL 62701");
    ASSERT_TRUE(address);
    EXPECT_EQ(address->contentType, ContentType::address);
    EXPECT_EQ(address->title, "12 Market Street");
    EXPECT_EQ(address->metadata.facts, (Facts{{"street", std::nullopt, "12 Market Street", true},
                                              {"locality", std::nullopt, "Springfield, IL 62701", false}}));
    EXPECT_EQ(address->metadata.hidden.at("rawAddress"), "12 Market Street, Springfield, IL 62701");
}

TEST_F(RuleBasedClassifierTest, ErrorsAndCode) {
    const auto error =
        text("Traceback (most recent call last):\n  File \"main.py\", line 4, in <module>\n"
             "KeyError: 'user_id' was not found in the session payload received from the gateway");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->contentType, ContentType::code);
    EXPECT_EQ(error->headline, "Python Error");
    EXPECT_EQ(error->title, "'user_id' was not found in the session payload received\u2026");
    EXPECT_EQ(error->metadata.facts,
              (Facts{{"errorSummary", std::nullopt,
                      "'user_id' was not found in the session payload received from the gateway", true},
                     {"language", std::nullopt, "Python", false}}));

    const auto code = text("let total = 1\nfunc add() { }");
    ASSERT_TRUE(code);
    EXPECT_EQ(code->headline, "Swift Code");
    EXPECT_EQ(code->title, "Code");
    EXPECT_EQ(code->metadata.facts, (Facts{{"excerpt", std::nullopt, "let total = 1", true},
                                           {"language", std::nullopt, "Swift", false}}));
    EXPECT_EQ(text("warning: something odd happened")->headline, "Development Error");
}

TEST_F(RuleBasedClassifierTest, FlightFactsAndTitle) {
    const auto c = text("Flight UA 123 boarding 10:40, gate B7, SFO \u2192 JFK, confirmation code: QX7K2M");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->contentType, ContentType::travel);
    EXPECT_EQ(c->title, "United UA123");
    const auto boarding = *iso8601::parse("2026-03-11T14:40:00Z"); // 10:40 has passed today
    EXPECT_EQ(c->metadata.facts, (Facts{{"flightNumber", std::nullopt, "United UA123", true},
                                        {"route", std::nullopt, "SFO \u2192 JFK", true},
                                        {"date", std::nullopt, Formatting::dayAndTime(boarding), false}}));
    EXPECT_EQ(c->metadata.hidden.at("dateISO"), "2026-03-11T14:40:00Z");

    // A flight record with nothing to name it by is titled "Flight" (or the file) and has no facts.
    TravelDetector::Flight empty;
    empty.confidence = 0.6;
    EXPECT_EQ(ClassificationRules::flight(empty, std::nullopt).title, "Flight");
    EXPECT_TRUE(ClassificationRules::flight(empty, std::nullopt).metadata.isEmpty());
    EXPECT_EQ(ClassificationRules::flight(empty, "trip.pdf").title, "trip.pdf");
}

TEST_F(RuleBasedClassifierTest, InvoiceAndReceiptText) {
    const auto invoice = text("ACME WIDGETS LLC\nInvoice #: INV-2026-031\nAmount due: $1,250.00\n"
                              "Due date: March 31, 2026\nRemit to: Acme Widgets LLC, PO Box 12");
    ASSERT_TRUE(invoice);
    EXPECT_EQ(invoice->contentType, ContentType::invoice);
    EXPECT_EQ(invoice->title, "Acme Widgets LLC");
    EXPECT_EQ(invoice->metadata.facts,
              (Facts{{"company", std::nullopt, "Acme Widgets LLC", true},
                     {"amount", std::nullopt, "$1,250.00", true},
                     {"dueDate", std::nullopt,
                      "Due " + Formatting::shortDate(*iso8601::parse("2026-03-31T04:00:00Z"), now), false},
                     {"invoiceNumber", std::nullopt, "Invoice INV-2026-031", false}}));
    EXPECT_EQ(invoice->metadata.hidden.at("dueDateISO"), "2026-03-31T04:00:00Z");
    EXPECT_EQ(text("Invoice #: 7781\nAmount due: $90.00")->title, "Invoice");

    const auto receipt = text("Thanks for shopping!\nSubtotal $8.00\nOrder total $8.64\nCard ending 4242");
    ASSERT_TRUE(receipt);
    EXPECT_EQ(receipt->contentType, ContentType::receipt);
    EXPECT_EQ(receipt->title, "Thanks for shopping!");
    EXPECT_EQ(receipt->metadata["amount"], "$8.64");
    EXPECT_EQ(text("Subtotal: $8.00\nOrder total: $8.64")->title, "Receipt");
}

TEST_F(RuleBasedClassifierTest, DatesAndDeadlines) {
    const auto dentist = text("Dentist tomorrow at 3pm");
    ASSERT_TRUE(dentist);
    EXPECT_EQ(dentist->contentType, ContentType::date);
    EXPECT_EQ(dentist->title, "Dentist");
    EXPECT_EQ(dentist->headline, "Date");
    EXPECT_EQ(dentist->metadata.hidden.at("dateISO"), "2026-03-11T19:00:00Z");
    EXPECT_EQ(dentist->metadata.hidden.at("hasTime"), "true");
    EXPECT_EQ(dentist->metadata["date"], Formatting::dayAndTime(*iso8601::parse("2026-03-11T19:00:00Z")));

    const auto deadline = text("Tax return due 15 April 2026");
    ASSERT_TRUE(deadline);
    EXPECT_EQ(deadline->headline, "Deadline");
    EXPECT_EQ(deadline->title, "Tax return");
    EXPECT_EQ(deadline->metadata.hidden.at("hasTime"), "false");
    EXPECT_EQ(deadline->metadata["date"],
              Formatting::shortDate(*iso8601::parse("2026-04-15T04:00:00Z"), now));
}

TEST_F(RuleBasedClassifierTest, PlainTextIsTheFallback) {
    const auto c =
        text("\nNotes from the planning call   \n\n  with the whole team, " + std::string(300, 'x'));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->contentType, ContentType::plainText);
    EXPECT_EQ(c->title, "Notes from the planning call");
    EXPECT_EQ(c->metadata["excerpt"], "Notes from the planning call with the whole team,\u2026");
    EXPECT_EQ(c->source, ClassificationSource::rules);
}

TEST_F(RuleBasedClassifierTest, ScreenshotsAndImagesNeedACodeScoreOfSixToCountAsCode) {
    const std::string shot = "/home/ana/Desktop/Screenshot 2026-03-01 at 09.30.05.png";
    const auto trace = file(shot, "image/png",
                            "Fatal error: Unexpectedly found nil while unwrapping an Optional value\n"
                            "0   libswiftCore.dylib   0x1 _assertionFailure + 40\n",
                            true);
    EXPECT_EQ(trace.contentType, ContentType::code);
    EXPECT_EQ(trace.title, "Unexpectedly found nil while unwrapping an Optional value");

    const auto prose =
        file(shot, "image/png", "\n  Weekly sync: ship the beta on Thursday\nsecond line", true);
    EXPECT_EQ(prose.contentType, ContentType::screenshot);
    EXPECT_EQ(prose.title, "Screenshot 2026-03-01 at 09.30.05.png");
    EXPECT_EQ(prose.metadata["excerpt"], "Weekly sync: ship the beta on Thursday");

    // "let " and "var " plus dense symbols score 4: code as text, not in an image.
    const std::string light = "let a = 1\nvar b = 2";
    EXPECT_EQ(text(light)->contentType, ContentType::code);
    EXPECT_EQ(file("/tmp/snippet.png", std::nullopt, light).contentType, ContentType::image);
    const auto heavy = file("/tmp/snippet.png", std::nullopt, light + "\nfunc f() {}");
    EXPECT_EQ(heavy.contentType, ContentType::code);
    EXPECT_EQ(heavy.title, "snippet.png");

    const auto blank = file(std::nullopt, "image/tiff", "", true);
    EXPECT_EQ(blank.title, "Untitled");
    EXPECT_EQ(blank.contentType, ContentType::image);
    for (const char* name : {"CleanShot 2026-01-02.png", "Screen Shot 2019-05-04.png", "my-SCREENSHOT.png"})
        EXPECT_TRUE(RuleBasedClassifier::looksLikeScreenshot(name)) << name;
    EXPECT_FALSE(RuleBasedClassifier::looksLikeScreenshot("screen-shot.png"));
}

TEST_F(RuleBasedClassifierTest, DocumentsByTypeOrExtension) {
    const auto pdf = file("/home/ana/Downloads/REPORT.PDF", std::nullopt, "");
    EXPECT_EQ(pdf.contentType, ContentType::pdf);
    EXPECT_EQ(pdf.title, "REPORT.PDF");
    EXPECT_EQ(file("/home/ana/notes.txt", std::nullopt, "").contentType, ContentType::document);
    const auto withText = file("/home/ana/notes.txt", "text/plain", "\n\nMinutes of the board meeting\n...");
    EXPECT_GT(withText.confidence, pdf.confidence); // readable text raises it
    EXPECT_EQ(withText.metadata["excerpt"], "Minutes of the board meeting");

    // The type identifier wins over the extension; an unknown identifier falls back to it.
    EXPECT_EQ(file("/home/ana/blob.bin", "application/pdf", "").contentType, ContentType::pdf);
    EXPECT_EQ(file("/home/ana/a.pdf", "application/x-no-such-type", "").contentType, ContentType::pdf);
    EXPECT_EQ(file("/home/ana/a.pdf", "text/plain", "").contentType, ContentType::document);
    EXPECT_EQ(file("/home/ana/a.pdf", "", "", false, "Quarterly.pdf").title, "Quarterly.pdf");
}

TEST_F(RuleBasedClassifierTest, BillsAndFlightsInFilesAreTitledByTheFileName) {
    const std::string bill = "Invoice\nBill to: Ana Lima\nTotal: $80.00";
    const auto invoice = file("/home/ana/scan.pdf", "application/pdf", bill);
    EXPECT_EQ(invoice.contentType, ContentType::invoice);
    EXPECT_EQ(invoice.title, "scan.pdf");
    EXPECT_EQ(invoice.confidence, 0.7);
    // The file name counts as a phrase and adds 0.05: 0.85 + 0.05.
    EXPECT_EQ(file("/home/ana/Invoice-7.pdf", "application/pdf", bill).confidence, 0.9);

    const std::string paid = "Subtotal $4.00\nTotal $4.30";
    EXPECT_EQ(file("/home/ana/IMG_2231.jpeg", "image/jpeg", paid, true).contentType, ContentType::image);
    EXPECT_EQ(file("/home/ana/receipt.jpeg", "image/jpeg", paid, true).contentType, ContentType::receipt);
    const auto flight = file("/home/ana/boarding.pdf", "application/pdf", "Flight DL 8 boarding at gate 4");
    EXPECT_EQ(flight.contentType, ContentType::travel);
    EXPECT_EQ(flight.title, "boarding.pdf");
}

TEST_F(RuleBasedClassifierTest, AnyTextGivesAnAnswerWithoutThrowing) {
    std::mt19937 random(7);
    std::string junk(64 * 1024, '\0');
    for (auto& c : junk)
        c = static_cast<char>(random() & 0xFF);
    EXPECT_NO_THROW(text(junk));
    EXPECT_NO_THROW(file("/tmp/junk.bin", std::nullopt, junk));

    std::string big;
    while (big.size() < 5'000'000)
        big += "Quarterly planning notes: budget, hiring and the launch. ";
    const auto c = text(big);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->contentType, ContentType::plainText);
    EXPECT_TRUE(c->metadata["excerpt"]->ends_with("\u2026"));
}

} // namespace
} // namespace tessellar

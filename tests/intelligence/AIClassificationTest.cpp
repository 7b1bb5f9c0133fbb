#include "kit/intelligence/AIClassification.h"

#include "kit/intelligence/Prompts.h"
#include "kit/model/DecodingError.h"
#include "kit/model/TessellarError.h"
#include "support/ActionCases.h"
#include "support/CliRunner.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

using Fact = ItemMetadata::Fact;
const std::set<ActionID> known{ActionID::copy, ActionID::summarize};

TEST(AIClassification, DecodesLenientlyButRefusesWrongTypes) {
    const auto empty = AIClassification::decode("{}");
    EXPECT_EQ(empty, AIClassification{});
    EXPECT_FALSE(empty.validated(known));

    const auto nulls = AIClassification::decode(
        R"({"contentType":null,"title":null,"headline":null,"confidence":null,"metadata":null,"extra":[1]})");
    EXPECT_EQ(nulls, AIClassification{});

    for (const char* wrong :
         {R"({"confidence":"high"})", R"({"title":3})", R"({"metadata":{"amount":12}})",
          R"({"recommendedActions":["copy",1]})", "[1,2]", "{\"title\":\"\xff\"}", R"({"title":"x")"})
        EXPECT_THROW(AIClassification::decode(wrong), DecodingError) << wrong;
}

TEST(AIClassification, EncodingRoundTripsAndOmitsAnAbsentHeadline) {
    AIClassification reply;
    reply.contentType = "invoice";
    reply.title = "ACME \"bill\"";
    reply.confidence = 0.75;
    reply.metadata = {{"amount", "12 \u20ac"}};
    reply.recommendedActions = {"copy"};
    EXPECT_EQ(reply.encode().find("headline"), std::string::npos);
    EXPECT_EQ(AIClassification::decode(reply.encode()), reply);
    reply.headline = "Bill";
    EXPECT_EQ(AIClassification::decode(reply.encode()), reply);
}

TEST(AIClassification, ValidationResolvesTypesAndClampsConfidence) {
    const auto validated = [](const char* reply) { return AIClassification::decode(reply).validated(known); };
    EXPECT_EQ(validated(R"({"contentType":"INVOICE","title":""})"),
              Classification(ContentType::invoice, "Invoice", std::nullopt, 0.5, {}, {},
                             ClassificationSource::intelligence));
    EXPECT_EQ(validated(R"({"contentType":" invoice","title":"x"})")->contentType, ContentType::unknown);
    EXPECT_EQ(validated(R"({"contentType":"receipt","title":"x","confidence":1})")->confidence, 0.99);
    EXPECT_EQ(validated(R"({"contentType":"receipt","title":"x","confidence":-3})")->confidence, 0);
    // An unknown type with only a blank title is discarded; with a title it is kept.
    EXPECT_FALSE(validated(R"({"contentType":"cloud","title":"  \n"})"));
    EXPECT_TRUE(validated(R"({"contentType":"cloud","title":"Note"})"));
}

TEST(AIClassification, ValidationCutsLongTextsAtWordBoundaries) {
    const std::string spaced = testing::repeated("word ", 40);
    AIClassification reply;
    reply.contentType = "document";
    reply.title = spaced.substr(0, 200);
    reply.headline = "  " + std::string(60, 'h') + "  ";
    const auto cut = reply.validated(known);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->title, spaced.substr(0, 119) + "\u2026"); // back to the space at 120, then "…"
    EXPECT_EQ(*cut->headline, std::string(40, 'h') + "\u2026");

    reply.title = std::string(200, 'x');
    reply.headline = "   ";
    const auto solid = reply.validated(known);
    EXPECT_EQ(solid->title, std::string(120, 'x') + "\u2026");
    EXPECT_EQ(solid->headline, std::optional<std::string>(""));
}

TEST(AIClassification, ValidationOrdersFactsAndFiltersActions) {
    const auto reply = AIClassification::decode(
        R"({"contentType":"invoice","title":"Bill","metadata":{"zeta":"1","amount":" 12 € ","alpha":"2","company":"  "},
            "recommendedActions":["copy","nonsense","copy"]})");
    const auto result = reply.validated(known);
    ASSERT_TRUE(result);
    const std::vector<Fact> expected{{"amount", std::nullopt, "12 \u20ac", true},
                                     {"alpha", "Alpha", "2", false},
                                     {"zeta", "Zeta", "1", false}};
    EXPECT_EQ(result->metadata.facts, expected);
    EXPECT_TRUE(result->metadata.hidden.empty());
    EXPECT_EQ(result->recommendedActionIDs, (std::vector<ActionID>{ActionID::copy, ActionID::copy}));
}

// Finding the object itself is checked with the table of the provider tests.
TEST(AIReply, ReadsTheObjectPastFences) {
    const auto parsed = readClassificationReply("```\n{\"contentType\":\"json\",\"title\":\"{x}\"}\n```");
    EXPECT_EQ(parsed.title, "{x}");
}

TEST(AIReply, UnreadableAndMismatchedRepliesGiveTheirTexts) {
    using Recovery = TessellarError::Recovery;
    const auto failure = [](std::string_view reply) {
        return testing::thrownError([&] { readClassificationReply(reply); });
    };
    EXPECT_EQ(failure("I think it is an invoice."),
              TessellarError("The AI provider returned a response Tessellar couldn\u2019t read.",
                             {Recovery::retry, Recovery::openSettings}));
    EXPECT_EQ(failure("{\"confidence\": \"high\"}"),
              TessellarError("The AI provider\u2019s response didn\u2019t match the expected format.",
                             {Recovery::retry}));
    EXPECT_EQ(failure("{not json at all}").message(),
              "The AI provider\u2019s response didn\u2019t match the expected format.");
}

TEST(Prompts, ClassificationTextsAreExact) {
    const Prompt bare = prompts::classify({"Hello", std::nullopt, "text/plain", std::nullopt});
    EXPECT_EQ(bare.user, "Content:\nHello");
    EXPECT_EQ(bare.system + "\n", testing::readFile(testing::fixture("prompts/classify-system.txt")));

    const std::string longText = testing::repeated("abcdefghi ", 700);
    const Prompt full = prompts::classify({longText, "bill.pdf", "application/pdf", ContentType::invoice});
    const std::string head = "Filename: bill.pdf\nLocal guess: invoice\nContent:\n";
    EXPECT_EQ(full.user, head + longText.substr(0, 5999) + "\u2026");
}

TEST(Prompts, OtherOperationTextsAreExact) {
    EXPECT_EQ(prompts::summarize("t", SummaryStyle::bullets).system,
              "Summarize in at most 4 bullet points, each under 18 words. Start each with '\u2022 '. No "
              "preamble, no "
              "closing remark.");
    EXPECT_EQ(prompts::summarize("t", SummaryStyle::oneLine).system,
              "Summarize in one sentence under 25 words. No preamble.");
    EXPECT_EQ(prompts::answer("Who?", "Ann").user, "Question: Who?\n\nContent:\nAnn");

    FilenameRequest request{"scan.pdf", "Body", ContentType::invoice, {}};
    EXPECT_EQ(prompts::smartFilename(request).user,
              "Current name: scan.pdf\nDetected type: invoice\nKnown facts: \nContent:\nBody");
    request.metadata.set("company", "ACME", "Company", true);
    request.metadata.set("amount", "$5");
    request.metadata.setHidden("dueDateISO", "2026-01-01T00:00:00Z");
    EXPECT_EQ(prompts::smartFilename(request).user, "Current name: scan.pdf\nDetected type: invoice\nKnown "
                                                    "facts: company=ACME, amount=$5\nContent:\nBody");
    EXPECT_EQ(prompts::testConnection(), (Prompt{"Reply with the single word: ok", "ping"}));
}

} // namespace
} // namespace tessellar

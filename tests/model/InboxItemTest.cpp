#include "kit/model/InboxItem.h"

#include "kit/model/InboxItemJSON.h"
#include "kit/text/ISO8601.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tessellar {
namespace {

using nlohmann::json;

constexpr const char* storedExample =
    R"({"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","createdAt":786000000.25,"sourceType":"clipboard",)"
    R"("contentType":"invoice","title":"Acme Widgets","originalText":"…","metadata":{"facts":[)"
    R"({"key":"company","value":"Acme Widgets","isPrimary":true},{"key":"amount","value":"$120.00","isPrimary":true},)"
    R"({"key":"dueDate","value":"Due Mar 1","isPrimary":false}],"hidden":{"dueDateISO":"2026-03-01T09:00:00Z"}},)"
    R"("confidence":0.8,"suggestedActionIDs":["createReminder","smartRename","moveToFolder","summarize",)"
    R"("revealInFinder"],"completedActionIDs":[],"classificationSource":"rules"})";

InboxItem sampleItem() {
    InboxItem item;
    item.id = *Uuid::parse("6F9619FF-8B86-D011-B42D-00C04FC964FF");
    item.createdAt = Timestamp::fromReferenceSeconds(786000000.25);
    item.sourceType = SourceType::drop;
    item.contentType = ContentType::pdf;
    item.title = "Quarterly report";
    item.headline = "12 pages";
    item.originalText = "orig";
    item.extractedText = "extracted \u2014 text";
    item.fileURL = Url::fromFilePath("/home/ana/Desktop/Q3 report.pdf");
    item.sourceURL = Url::parse("https://example.com/q3?x=1");
    item.imagePath =
        Url::fromFilePath("/home/ana/.local/share/Tessellar/Images/6F9619FF-8B86-D011-B42D-00C04FC964FF.png");
    item.metadata.set("pageCount", std::string("12 pages"), std::string("Pages"), true);
    item.metadata.setDate("date", Timestamp::fromUnix(1772357400), "Mar 1");
    item.confidence = 0.55;
    item.suggestedActionIDs = {ActionID("summarize"), ActionID("shareToMastodon")}; // unknown ids are kept
    item.completedActionIDs = {ActionID("summarize")};
    item.classificationSource = ClassificationSource::mixed;
    return item;
}

TEST(InboxItem, BestTextPrefersNonBlankExtractedTextAndKeepsItUntrimmed) {
    InboxItem item;
    item.extractedText = "  \n";
    item.originalText = "hello";
    EXPECT_EQ(item.bestText(), "hello");
    item.originalText = " \t";
    EXPECT_EQ(item.bestText(), std::nullopt);
    item.extractedText = " scanned \n";
    EXPECT_EQ(item.bestText(), " scanned \n");
}

TEST(InboxItem, DisplayHeadlineFallsBackToTheTypeNameOnlyWhenEmptyAndCompletedActionsDoNotRepeat) {
    InboxItem item;
    item.contentType = ContentType::travel;
    EXPECT_EQ(item.displayHeadline(), "Flight");
    item.headline = "";
    EXPECT_EQ(item.displayHeadline(), "Flight");
    item.headline = " ";
    EXPECT_EQ(item.displayHeadline(), " "); // not trimmed

    item.markCompleted(ActionID("copyText"));
    item.markCompleted(ActionID("openURL"));
    item.markCompleted(ActionID("copyText"));
    EXPECT_EQ(item.completedActionIDs, (std::vector{ActionID("copyText"), ActionID("openURL")}));
}

TEST(InboxItem, FilePresenceIsCheckedAtEachCall) {
    testing::TempDir dir;
    InboxItem item;
    EXPECT_FALSE(item.hasFile());
    EXPECT_FALSE(item.isFileStillPresent());
    const auto path = dir / "a b.pdf";
    item.fileURL = Url::fromFilePath(path);
    EXPECT_TRUE(item.hasFile());
    EXPECT_FALSE(item.isFileStillPresent());
    std::ofstream(path) << "%PDF";
    EXPECT_TRUE(item.isFileStillPresent());
    std::filesystem::remove(path);
    EXPECT_FALSE(item.isFileStillPresent());
}

TEST(InboxItemJSON, DecodesTheStoredExample) {
    const auto item = item_json::decodePayload(storedExample);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->id.string(), "6F9619FF-8B86-D011-B42D-00C04FC964FF");
    EXPECT_DOUBLE_EQ(item->createdAt.unixSeconds, 786000000.25 + 978307200);
    EXPECT_EQ(item->sourceType, SourceType::clipboard);
    EXPECT_EQ(item->contentType, ContentType::invoice);
    EXPECT_EQ(item->originalText, "\u2026");
    EXPECT_FALSE(item->headline);
    EXPECT_FALSE(item->fileURL);
    ASSERT_EQ(item->metadata.facts.size(), 3u);
    EXPECT_FALSE(item->metadata.facts[0].label);
    EXPECT_EQ(item->metadata.date("dueDate"), iso8601::parse("2026-03-01T09:00:00Z"));
    EXPECT_EQ(item->classificationSource, ClassificationSource::rules);

    // Re-encoding gives the same JSON value (key order aside).
    EXPECT_EQ(json::parse(item_json::encode(*item).dump()), json::parse(storedExample));
}

TEST(InboxItemJSON, RoundTripsEveryField) {
    const InboxItem item = sampleItem();
    const auto decoded = item_json::decodePayload(item_json::payload(item));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, item);
    EXPECT_EQ(decoded->fileURL->absoluteString(), "file:///home/ana/Desktop/Q3%20report.pdf");
    EXPECT_EQ(decoded->fileURL->lastPathComponent(), "Q3 report.pdf");
}

TEST(InboxItemJSON, OmitsAbsentOptionalsAndAlwaysWritesMetadataParts) {
    InboxItem item;
    item.id = Uuid::random();
    item.title = "t";
    const json j = json::parse(item_json::encode(item).dump());
    for (const char* key : {"headline", "originalText", "extractedText", "fileURL", "sourceURL", "imagePath"})
        EXPECT_FALSE(j.contains(key)) << key;
    EXPECT_EQ(j["metadata"], json::parse(R"({"facts":[],"hidden":{}})"));
    EXPECT_EQ(j["id"].get<std::string>(), item.id.string());
    EXPECT_EQ(j["id"].get<std::string>().find_first_of("abcdef"), std::string::npos); // upper case
}

TEST(InboxItemJSON, WritesLabelsOnlyWhenPresent) {
    InboxItem item = sampleItem();
    const json facts = json::parse(item_json::encode(item).dump())["metadata"]["facts"];
    EXPECT_EQ(facts[0],
              json::parse(R"({"key":"pageCount","label":"Pages","value":"12 pages","isPrimary":true})"));
    EXPECT_EQ(facts[1], json::parse(R"({"key":"date","value":"Mar 1","isPrimary":false})"));
}

TEST(InboxItemJSON, ReadingIsLenientAboutOrderUnknownKeysNullsAndCase) {
    json j = json::parse(storedExample);
    j["somethingNew"] = {1, 2, 3};
    j["headline"] = nullptr;
    j["id"] = "6f9619ff-8b86-d011-b42d-00c04fc964ff";
    j["confidence"] = 1; // an integer is a number too
    j["metadata"].erase("hidden");
    j["metadata"]["facts"][0]["extra"] = true;
    const auto item = item_json::decodePayload(j.dump());
    ASSERT_TRUE(item);
    EXPECT_FALSE(item->headline);
    EXPECT_EQ(item->id.string(), "6F9619FF-8B86-D011-B42D-00C04FC964FF");
    EXPECT_EQ(item->confidence, 1.0);
    EXPECT_TRUE(item->metadata.hidden.empty());

    j["metadata"].erase("facts");
    const auto noFacts = item_json::decodePayload(j.dump());
    ASSERT_TRUE(noFacts);
    EXPECT_TRUE(noFacts->metadata.facts.empty());
}

// fixtures/inbox-item-rejected-patches.json: changes to the stored example that each make it
// unreadable (a required key missing, a wrong type, an unknown raw value).
TEST(InboxItemJSON, RejectsMissingRequiredKeysWrongTypesAndUnknownRawValues) {
    const auto patches = testing::jsonFixture("inbox-item-rejected-patches.json").at("patches");
    EXPECT_GE(patches.size(), 25u);
    for (const auto& patch : patches)
        EXPECT_FALSE(item_json::decodePayload(json::parse(storedExample).patch(patch).dump()))
            << patch.dump();
    for (const std::string text : {"{", "", "[]", "\xff\xfe"})
        EXPECT_FALSE(item_json::decodePayload(text)) << text;
}

TEST(InboxItemJSON, InvalidUTF8InTextIsReplacedRatherThanLost) {
    InboxItem item = sampleItem();
    item.originalText = std::string("ok \xff end");
    const auto decoded = item_json::decodePayload(item_json::payload(item));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->originalText, "ok \xEF\xBF\xBD end");
}

} // namespace
} // namespace tessellar

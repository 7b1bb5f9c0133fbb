#include "kit/detect/JSONDetector.h"

#include "support/Fixtures.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace tessellar {
namespace {

using testing::repeated;

// A JSON array holding one string, `characters` characters long in all.
std::string arrayOfLength(std::size_t characters, const std::string& filler) {
    return "[\"" + repeated(filler, characters - 4) + "\"]";
}

// The outline lays out only the top level and a root array's first element; what it reports
// must be what the whole document reports.
TEST(JSONDetector, OutlineAgreesWithTheDocument) {
    for (const char* text :
         {R"([{"name":"Ann","tags":[1,2,{"x":[]}]},{"name":"Bo"},3])", R"([[{"name":"deep"}],{"id":1}])",
          R"({"b":{"c":[1,{"d":2}]},"a":[],"B":1,"a":"dup","Name":"Ann"})",
          R"([{"id":123456789012345678901234},1e400])", R"({"id":-0,"x":[1.50,2e3]})", R"([{"id":-0.0}])",
          R"([{"ID":3.50}])", "[]", "{}", "[1,2,3]", R"([{"a":1},])"}) {
        const auto document = JSONDetector::document(text);
        const auto outline = JSONDetector::outline(text);
        ASSERT_EQ(document.has_value(), outline.has_value()) << text;
        if (!document)
            continue;
        EXPECT_EQ(*outline, (JSONDetector::Outline{document->summary, document->isArray,
                                                   document->topLevelKeys, document->identity}))
            << text;
        // Read where it lies, with bytes after it that would change the document if they counted.
        const std::string buffer = std::string(text) + "  " + repeated("\"]}, 1", 40);
        const std::string_view inPlace(buffer.data(), std::strlen(text) + 2);
        EXPECT_EQ(JSONDetector::outline(inPlace, buffer.size() - inPlace.size()), outline) << text;
    }
}

// Each NAME.json under fixtures/json is read whole; NAME.pretty and NAME.min hold its two
// forms, NAME.swift the model (after a first line naming the root type).
TEST(JSONDetector, FixtureDocumentsAndModels) {
    const auto dir = testing::fixture("json");
    const auto read = [](const std::filesystem::path& path) {
        std::ifstream file(path);
        std::string text((std::istreambuf_iterator<char>(file)), {});
        if (text.ends_with('\n'))
            text.pop_back();
        return text;
    };
    int cases = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const auto path = entry.path();
        if (path.extension() != ".json")
            continue;
        const std::string input = read(path);
        const auto document = JSONDetector::document(input);
        ASSERT_TRUE(document) << path;
        for (const auto& [extension, actual] :
             {std::pair{".pretty", document->pretty}, std::pair{".min", document->minified}}) {
            const auto expected = std::filesystem::path(path).replace_extension(extension);
            if (exists(expected)) {
                EXPECT_EQ(actual, read(expected)) << path;
                ++cases;
            }
        }
        if (auto swift = std::filesystem::path(path).replace_extension(".swift"); exists(swift)) {
            const std::string expected = read(swift);
            const auto newline = expected.find('\n');
            EXPECT_EQ(JSONDetector::swiftModel(input, expected.substr(0, newline)),
                      expected.substr(newline + 1))
                << path;
            // A model from the document is the model from its text.
            EXPECT_EQ(JSONDetector::swiftModel(*document, "Root"), JSONDetector::swiftModel(input, "Root"))
                << path;
            ++cases;
        }
    }
    EXPECT_GE(cases, 12);

    const auto duplicates = JSONDetector::document(read(dir / "duplicate-keys.json"));
    EXPECT_EQ(duplicates->summary, "2 keys");
    EXPECT_EQ(duplicates->topLevelKeys, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(JSONDetector::document(R"({"a/b":0})")->minified, R"({"a\/b":0})"); // keys too
}

TEST(JSONDetector, FixtureTable) {
    using testing::Row;
    const auto field = [](auto read) {
        return [read](const Row& c) {
            const auto document = JSONDetector::document(c[1]);
            return document ? read(*document) : "-";
        };
    };
    const auto keys = [](const JSONDetector::Document& d) {
        std::string out;
        for (const auto& key : d.topLevelKeys)
            out += (&key == &d.topLevelKeys.front() ? "" : "|") + key;
        return out;
    };
    EXPECT_GE(
        testing::checkTable(
            testing::fixture("tables/json.tsv"),
            {{"minified", field([](const JSONDetector::Document& d) { return d.minified; })},
             {"pretty", field([](const JSONDetector::Document& d) { return d.pretty; })},
             {"summary", field([](const JSONDetector::Document& d) { return d.summary; })},
             {"keys", field(keys)},
             {"swift", [](const Row& c) { return JSONDetector::swiftModel(c[1], c[2]).value_or("-"); }}}),
        50);
    // Numbers keep their text when laid out too, and an empty array is not an object.
    const auto numbers = JSONDetector::document("[0,123456789012345678901234567890,1]");
    EXPECT_NE(numbers->pretty.find("\n  123456789012345678901234567890,\n"), std::string::npos);
    EXPECT_TRUE(JSONDetector::document("[]")->isArray);
    EXPECT_FALSE(JSONDetector::document("{}")->isArray);
}

// fixtures/json/identities.tsv: a document and the identity read from it ("-": none).
TEST(JSONDetector, IdentityFollowsKeyPriority) {
    const auto rows = testing::tableRows(testing::fixture("json/identities.tsv"));
    EXPECT_GE(rows.size(), 20u);
    for (const auto& row : rows) {
        const auto document = JSONDetector::document(row[0]);
        ASSERT_TRUE(document) << row[0];
        EXPECT_EQ(document->identity.value_or("-"), row[1]) << row[0];
    }
}

TEST(JSONDetector, LengthBoundsAreInCharacters) {
    EXPECT_TRUE(JSONDetector::document(arrayOfLength(5'000'000, "a")));
    EXPECT_FALSE(JSONDetector::document(arrayOfLength(5'000'001, "a")));
    // Two-byte and three-code-point characters: over the limit in bytes, within it in characters.
    EXPECT_TRUE(JSONDetector::document(arrayOfLength(5'000'000, "\u00e9")));
    EXPECT_FALSE(JSONDetector::document(arrayOfLength(5'000'001, "\u00e9")));
    EXPECT_TRUE(JSONDetector::document(arrayOfLength(2'000'000, "e\u0301\u0301")));
}

TEST(JSONDetector, DeepNestingIsRefusedWithoutCrashing) {
    const std::size_t deep = 100'000;
    EXPECT_EQ(JSONDetector::document(repeated("[", deep) + repeated("]", deep)), std::nullopt);
    EXPECT_EQ(JSONDetector::document(repeated("{\"a\":", deep) + "1" + repeated("}", deep)), std::nullopt);
    EXPECT_EQ(JSONDetector::document(repeated("[", deep)), std::nullopt);

    // Up to 1024 levels are fine.
    const std::string nested = repeated("[", 1024) + repeated("]", 1024);
    const auto document = JSONDetector::document(nested);
    ASSERT_TRUE(document);
    EXPECT_EQ(document->minified, nested);
    EXPECT_EQ(document->pretty.size(), 1024 * 1023 * 2 + 2 * 1023 + 2);
    EXPECT_FALSE(JSONDetector::document(repeated("[", 1025) + repeated("]", 1025)));
}

TEST(JSONDetector, SwiftModelOfDeepSampleDoesNotRecurse) {
    const std::string deep = repeated("{\"a\":", 1000) + "1" + repeated("}", 1000);
    const auto model = JSONDetector::swiftModel(deep, "Root");
    ASSERT_TRUE(model);
    EXPECT_EQ(model->find("struct Root: Codable {\n    let a: A\n}\n\nstruct A: Codable {\n    let a: A\n}"),
              0u);
    EXPECT_NE(model->find("struct A: Codable {\n    let a: Int\n}"), std::string::npos);
}

} // namespace
} // namespace tessellar

#include "kit/detect/JSONDetector.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace tessellar {
namespace {

std::string repeated(std::string_view piece, std::size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

// A JSON array holding one string, `characters` characters long in all.
std::string arrayOfLength(std::size_t characters, std::string_view filler) {
    return "[\"" + repeated(filler, characters - 4) + "\"]";
}

TEST(JSONDetector, EmptyContainers) {
    const auto array = JSONDetector::document("[]");
    ASSERT_TRUE(array);
    EXPECT_EQ(*array, (JSONDetector::Document{"[]", "[]", "0 elements", true, {}, std::nullopt}));
    const auto object = JSONDetector::document("{}");
    ASSERT_TRUE(object);
    EXPECT_EQ(*object, (JSONDetector::Document{"{}", "{}", "0 keys", false, {}, std::nullopt}));
}

TEST(JSONDetector, AcceptsOnlyATrimmedObjectOrArray) {
    EXPECT_TRUE(JSONDetector::document(" \n\t{\"a\":1}\n\n "));
    EXPECT_TRUE(JSONDetector::document("\u3000[1]\u2028"));
    for (const char* text :
         {"", "{", "x{\"a\":1}", "42", "\"text\"", "null", "{\"a\":1} x", "{\u0301\"a\":1}"})
        EXPECT_EQ(JSONDetector::document(text), std::nullopt) << text;
}

TEST(JSONDetector, LeadingByteOrderMarkIsSkipped) {
    const auto document = JSONDetector::document("\xEF\xBB\xBF {\"a\":1}");
    ASSERT_TRUE(document);
    EXPECT_EQ(document->minified, "{\"a\":1}");
    EXPECT_TRUE(JSONDetector::outline("\xEF\xBB\xBF[1]"));
    EXPECT_FALSE(JSONDetector::document("\xEF\xBB\xBF\xEF\xBB\xBF[1]")); // only one mark
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
    }
}

TEST(JSONDetector, RejectsAnythingButStrictJSON) {
    for (const char* text :
         {"[1,]", "{\"a\":1,}",   "[NaN]",     "[Infinity]", "[-]",       "[01]",          "[1.]",
          "[.5]", "[+1]",         "{'a':1}",   "{a:1}",      "[\"\\x\"]", "[\"\\ud800\"]", "[\"tab\there\"]",
          "[1]]", "[true false]", "{\"a\" 1}", "[1e]",       "[0x10]",    "[\"a\" // c\n]"})
        EXPECT_EQ(JSONDetector::document(text), std::nullopt) << text;
    EXPECT_EQ(JSONDetector::document("[\"\xC3\x28\"]"), std::nullopt);     // invalid UTF-8
    EXPECT_EQ(JSONDetector::document("[\"\xED\xA0\x80\"]"), std::nullopt); // encoded surrogate
    EXPECT_EQ(JSONDetector::document(std::string("[\"a\0b\"]", 7)), std::nullopt);
}

// Each NAME.json under fixtures/json is read whole; NAME.pretty and NAME.min hold its two
// forms, NAME.swift the model (after a first line naming the root type).
TEST(JSONDetector, FixtureDocumentsAndModels) {
    const auto dir = std::filesystem::path(TESSELLAR_FIXTURES_DIR) / "json";
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
            ++cases;
        }
    }
    EXPECT_GE(cases, 12);

    const auto duplicates = JSONDetector::document(read(dir / "duplicate-keys.json"));
    EXPECT_EQ(duplicates->summary, "2 keys");
    EXPECT_EQ(duplicates->topLevelKeys, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(JSONDetector::document(R"({"a/b":0})")->minified, R"({"a\/b":0})"); // keys too
}

TEST(JSONDetector, KeysSortByCodePoint) {
    const auto document = JSONDetector::document(R"({"é":1,"Z":2,"a":3,"_":4,"":5,"aa":6,"😀":7,"ｚ":8})");
    ASSERT_TRUE(document);
    EXPECT_EQ(document->topLevelKeys, (std::vector<std::string>{"", "Z", "_", "a", "aa", "é", "ｚ", "😀"}));
}

TEST(JSONDetector, StringsAreReescapedMinimally) {
    const auto document = JSONDetector::document(
        R"(["\u00e9\u0041", "\"\\\b\f\n\r\t", "\u0001\u001f\u007f", "😀\ud83d\ude00"])");
    ASSERT_TRUE(document);
    EXPECT_EQ(document->minified, "[\"\u00e9A\",\"\\\"\\\\\\b\\f\\n\\r\\t\",\"\\u0001\\u001f\x7f\",\"😀😀\"]");
}

TEST(JSONDetector, NumbersKeepTheirText) {
    const std::string numbers =
        R"([0,-0,12,-9223372036854775808,18446744073709551615,123456789012345678901234567890,9007199254740993,)"
        R"(1.50,1E+20,1e400,-2.5e-3,0.1])";
    const auto document = JSONDetector::document(numbers);
    ASSERT_TRUE(document);
    EXPECT_EQ(document->minified, numbers);
    EXPECT_NE(document->pretty.find("\n  123456789012345678901234567890,\n"), std::string::npos);
    // A number-like text inside a string is no number.
    EXPECT_EQ(JSONDetector::document(R"({"s":"1.0e5 \" 7","n":[3.0]})")->minified,
              R"({"s":"1.0e5 \" 7","n":[3.0]})");
}

TEST(JSONDetector, SummariesCountKeysAndElements) {
    EXPECT_EQ(JSONDetector::document(R"({"a":[1,2,3]})")->summary, "1 key");
    EXPECT_EQ(JSONDetector::document("[[1,2,3]]")->summary, "1 element");
    EXPECT_EQ(JSONDetector::document("[1,2]")->summary, "2 elements");
    EXPECT_EQ(JSONDetector::document(R"({"a":1,"b":2,"c":3})")->summary, "3 keys");
}

// fixtures/json/identities.tsv: a document and the identity read from it ("-": none).
TEST(JSONDetector, IdentityFollowsKeyPriority) {
    std::ifstream file(std::string(TESSELLAR_FIXTURES_DIR) + "/json/identities.tsv");
    ASSERT_TRUE(file);
    int rows = 0;
    for (std::string line; std::getline(file, line);) {
        const auto tab = line.find('\t');
        if (line.starts_with('#') || tab == std::string::npos)
            continue;
        const auto document = JSONDetector::document(line.substr(0, tab));
        ASSERT_TRUE(document) << line;
        EXPECT_EQ(document->identity.value_or("-"), line.substr(tab + 1)) << line;
        ++rows;
    }
    EXPECT_GE(rows, 20);
}

TEST(JSONDetector, IdentityStringsUpToSixtyCharacters) {
    auto identity = [](const std::string& name) {
        return JSONDetector::document(R"({"id": 1, "name": ")" + name + "\"}")->identity;
    };
    EXPECT_EQ(identity(repeated("n", 60)), repeated("n", 60));
    EXPECT_EQ(identity(repeated("n", 61)), "1");
    // Characters, not bytes or code points.
    EXPECT_EQ(identity(repeated("e\u0301", 60)), repeated("e\u0301", 60));
    EXPECT_EQ(identity(repeated("e\u0301", 61)), "1");
}

TEST(JSONDetector, ArrayIdentityComesFromAFirstObject) {
    const auto slugged = JSONDetector::document(R"([{"slug": "first-post"}, {"name": "second"}])");
    ASSERT_TRUE(slugged);
    EXPECT_TRUE(slugged->isArray);
    EXPECT_TRUE(slugged->topLevelKeys.empty());
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

TEST(JSONDetector, SwiftModelNamesArrayElementsInTheSingular) {
    const auto users = JSONDetector::swiftModel(R"([{"id": 1}, {"id": "ignored"}])", "Users");
    ASSERT_TRUE(users);
    EXPECT_EQ(*users, "struct User: Codable {\n    let id: Int\n}");
    EXPECT_EQ(JSONDetector::swiftModel(R"([{"id": 1}])", "s"), "struct S: Codable {\n    let id: Int\n}");
}

TEST(JSONDetector, SwiftModelIdentifiersKeepLettersAndDigitsOnly) {
    const auto model =
        JSONDetector::swiftModel(R"({"straße_nr": 1, "ünïcode-ok": 2, "$": 3, "٣x": 4})", "über_typ");
    ASSERT_TRUE(model);
    EXPECT_NE(model->find("struct ÜberTyp: Codable {"), std::string::npos) << *model;
    EXPECT_NE(model->find("    let straßeNr: Int\n"), std::string::npos) << *model;
    EXPECT_NE(model->find("    let ünïcodeOk: Int\n"), std::string::npos) << *model;
    EXPECT_NE(model->find("    let value: Int\n"), std::string::npos) << *model;
    EXPECT_NE(model->find("    let value٣x: Int\n"), std::string::npos) << *model;
}

TEST(JSONDetector, SwiftModelNeedsAnObject) {
    EXPECT_EQ(JSONDetector::swiftModel("[1,2]", "Root"), std::nullopt);
    EXPECT_EQ(JSONDetector::swiftModel("[]", "Root"), std::nullopt);
    EXPECT_EQ(JSONDetector::swiftModel("[[]]", "Root"), std::nullopt);
    EXPECT_EQ(JSONDetector::swiftModel("42", "Root"), std::nullopt);
    EXPECT_EQ(JSONDetector::swiftModel("{\"a\":", "Root"), std::nullopt);
    EXPECT_EQ(JSONDetector::swiftModel("  {}  ", "Root"), "struct Root: Codable {\n}");
}

TEST(JSONDetector, SwiftModelFromADocumentMatchesTheText) {
    const std::string json = R"({"b": [{"c": 1}], "a": "x"})";
    const auto document = JSONDetector::document(json);
    ASSERT_TRUE(document);
    EXPECT_EQ(JSONDetector::swiftModel(*document, "Root"), JSONDetector::swiftModel(json, "Root"));
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

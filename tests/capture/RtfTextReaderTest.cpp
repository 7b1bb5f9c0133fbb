#include "kit/capture/RtfTextReader.h"

#include "support/CliRunner.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>

namespace tessellar {
namespace {

std::string text(const std::string& rtf) {
    return RtfTextReader::plainText(rtf).value_or("(not RTF)");
}

// Each fixtures/rtf/NAME.rtf (TextEdit, a word processor, a Shift-JIS font beside the ANSI
// default) reads as NAME.txt.
TEST(RtfTextReader, ReadsSavedDocuments) {
    int documents = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(TESSELLAR_FIXTURES_DIR) + "/rtf")) {
        if (entry.path().extension() != ".rtf")
            continue;
        EXPECT_EQ(text(testing::readFile(entry.path())),
                  testing::readFile(std::filesystem::path(entry.path()).replace_extension(".txt")))
            << entry.path();
        ++documents;
    }
    EXPECT_GE(documents, 3);
}

// Control words, \\uc fallbacks, surrogates and code pages: a table of cases in the fixtures.
TEST(RtfTextReader, EscapesControlWordsAndCodePages) {
    std::ifstream file(std::string(TESSELLAR_FIXTURES_DIR) + "/capture-rtf-cases.json");
    const auto cases = nlohmann::json::parse(file);
    ASSERT_GE(cases.size(), 15u);
    for (const auto& each : cases)
        EXPECT_EQ(text(each["rtf"]), each["text"].get<std::string>())
            << each["rtf"] << " " << each.value("why", "");
}

TEST(RtfTextReader, OnlyRTFIsReadBinaryDataIsNeverTextAndMalformedInputGivesItsText) {
    for (const char* other : {"hello", "", "{\\rt"})
        EXPECT_EQ(RtfTextReader::plainText(other), std::nullopt) << other;
    EXPECT_EQ(RtfTextReader::plainText(" \r\n{\\rtf1 x}"), "x");
    EXPECT_EQ(text("{\\rtf1 a\\bin3 x}yb}"), "ab");
    EXPECT_EQ(text("{\\rtf1 a\\bin99999 xyz"), "a");
    // Malformed input gives the text it holds.
    EXPECT_EQ(text("{\\rtf1 abc{\\b def"), "abcdef");
    EXPECT_EQ(text("{\\rtf1 abc}}} def}"), "abc def");
    EXPECT_EQ(text("{\\rtf1 x\\'4"), "x\x04");
    EXPECT_EQ(text("{\\rtf1 x\\'zz\\u y\\"), "xzzy");
    EXPECT_EQ(text(std::string("{\\rtf1 a\0b\x01"
                               "c}",
                               13)),
              "abc");
    // Deep nesting and long inputs read in one pass.
    const std::string deep = "{\\rtf1 " + std::string(500000, '{') + "x" + std::string(500000, '}') + "}";
    EXPECT_EQ(text(deep), "x");
    std::string many = "{\\rtf1 ";
    for (int i = 0; i < 100000; ++i)
        many += "\\u8364?\\'e9";
    many += "}";
    EXPECT_EQ(RtfTextReader::plainText(many)->size(), 100000u * 5);
}

} // namespace
} // namespace tessellar

#include "kit/capture/RtfTextReader.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tessellar {
namespace {

std::string text(const std::string& rtf) {
    return RtfTextReader::plainText(rtf).value_or("(not RTF)");
}

// Each fixtures/rtf/NAME.rtf (TextEdit, a word processor, a Shift-JIS font beside the ANSI
// default) reads as NAME.txt.
TEST(RtfTextReader, ReadsSavedDocuments) {
    const auto read = [](const std::filesystem::path& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(file)), {});
    };
    int documents = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(TESSELLAR_FIXTURES_DIR) + "/rtf")) {
        if (entry.path().extension() != ".rtf")
            continue;
        EXPECT_EQ(text(read(entry.path())),
                  read(std::filesystem::path(entry.path()).replace_extension(".txt")))
            << entry.path();
        ++documents;
    }
    EXPECT_GE(documents, 3);
}

TEST(RtfTextReader, EscapesControlWordsAndCodePages) {
    const std::vector<std::pair<std::string, std::string>> cases{
        // A control word eats one space.
        {"{\\rtf1 \\b bold\\b0 text}", "boldtext"},
        {"{\\rtf1 \\b bold\\b0  text}", "bold text"},
        {"{\\rtf1 a\\par\n\nb\r\nc\\tab\td}", "a\nbc\t\td"},
        {"{\\rtf1 \\{braces\\} and \\\\ backslash}", "{braces} and \\ backslash"},
        // \uc sets how many fallback characters follow; an escape or control word counts as one,
        // a group end stops the skipping and \uc is scoped to its group.
        {"{\\rtf1 \\u8364?5}", "\u20AC5"},
        {"{\\rtf1 \\uc2\\u8364 EUR}", "\u20ACR"},
        {"{\\rtf1 \\uc1\\u8364\\'80 x}", "\u20AC x"},
        {"{\\rtf1 \\uc0\\u8220 hi\\u8221 }", "\u201Chi\u201D"},
        {"{\\rtf1 {\\uc3\\u8364}abc\\u8364?d}", "\u20ACabc\u20ACd"},
        // Negative values and surrogate pairs; a lone surrogate is a replacement character.
        {"{\\rtf1 \\u-10179?\\u-8704?!}", "\U0001F600!"},
        {"{\\rtf1 \\u-10179?x}", "\uFFFDx"},
        // Escaped bytes in the document's code page; an unknown one falls back to Windows-1252.
        {"{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", "\u041F\u0440\u0438"},
        {"{\\rtf1\\ansi \\'93q\\'94 \\'80}", "\u201Cq\u201D \u20AC"},
        {"{\\rtf1\\mac \\'8e}", "\u00E9"},
        {"{\\rtf1\\ansicpg99999 caf\\'e9}", "caf\u00E9"},
    };
    for (const auto& [rtf, expected] : cases)
        EXPECT_EQ(text(rtf), expected) << rtf;
}

TEST(RtfTextReader, OnlyRTFIsReadAndBinaryDataIsNeverText) {
    for (const char* other : {"hello", "", "{\\rt"})
        EXPECT_EQ(RtfTextReader::plainText(other), std::nullopt) << other;
    EXPECT_EQ(RtfTextReader::plainText(" \r\n{\\rtf1 x}"), "x");
    EXPECT_EQ(text("{\\rtf1 a\\bin3 x}yb}"), "ab");
    EXPECT_EQ(text("{\\rtf1 a\\bin99999 xyz"), "a");
}

TEST(RtfTextReader, MalformedInputGivesTheTextItHolds) {
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

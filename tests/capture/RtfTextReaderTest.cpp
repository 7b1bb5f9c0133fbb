#include "kit/capture/RtfTextReader.h"

#include "support/CliRunner.h"
#include "support/Fixtures.h"

#include <filesystem>
#include <gtest/gtest.h>
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
    for (const auto& entry : std::filesystem::directory_iterator(testing::fixture("rtf"))) {
        if (entry.path().extension() != ".rtf")
            continue;
        EXPECT_EQ(text(testing::readFile(entry.path())),
                  testing::readFile(std::filesystem::path(entry.path()).replace_extension(".txt")))
            << entry.path();
        ++documents;
    }
    EXPECT_GE(documents, 3);
}

// Control words, \\uc fallbacks, surrogates, code pages, binary data, malformed input and what is
// no RTF at all ("(not RTF)"): a table of cases in the fixtures.
TEST(RtfTextReader, EscapesControlWordsAndCodePages) {
    const auto cases = testing::jsonFixture("capture-rtf-cases.json");
    ASSERT_GE(cases.size(), 26u);
    for (const auto& each : cases)
        EXPECT_EQ(text(each["rtf"]), each["text"].get<std::string>())
            << each["rtf"] << " " << each.value("why", "");
}

TEST(RtfTextReader, DeepNestingAndLongInputsReadInOnePass) {
    const std::string deep = "{\\rtf1 " + std::string(500000, '{') + "x" + std::string(500000, '}') + "}";
    EXPECT_EQ(text(deep), "x");
    EXPECT_EQ(RtfTextReader::plainText("{\\rtf1 " + testing::repeated("\\u8364?\\'e9", 100000) + "}")->size(),
              100000u * 5);
}

} // namespace
} // namespace tessellar

#include "kit/detect/LinkDetector.h"

#include "support/ConcurrentCalls.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tessellar {
namespace {

std::string standalone(const std::string& text) {
    const auto url = LinkDetector::standaloneURL(text);
    return url ? url->absoluteString() : "-";
}

// tests/fixtures/standalone-links.tsv: a function, a text, the expected answer ("-": none).
TEST(LinkDetector, FixtureTexts) {
    std::ifstream file(std::string(TESSELLAR_FIXTURES_DIR) + "/standalone-links.tsv");
    ASSERT_TRUE(file);
    int rows = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.starts_with('#'))
            continue;
        const auto first = line.find('\t');
        const auto second = line.find('\t', first + 1);
        ASSERT_NE(second, std::string::npos) << line;
        const std::string function = line.substr(0, first);
        std::string text = line.substr(first + 1, second - first - 1);
        const std::string expected = line.substr(second + 1);
        for (const auto& [escape, character] : {std::pair{"\\n", "\n"}, std::pair{"\\t", "\t"}})
            for (std::size_t at = 0; (at = text.find(escape, at)) != std::string::npos;)
                text.replace(at, 2, character);
        std::optional<std::string> answer;
        if (function == "url")
            answer = standalone(text);
        else if (function == "display")
            answer = LinkDetector::displayString(*Url::parse(text));
        else if (function == "email")
            answer = LinkDetector::standaloneEmailAddress(text);
        else if (function == "phone")
            answer = LinkDetector::standalonePhoneNumber(text);
        else
            ADD_FAILURE() << "unknown function: " << line;
        EXPECT_EQ(answer.value_or("-"), expected) << function << " '" << text << "'";
        ++rows;
    }
    EXPECT_GE(rows, 40);
}

TEST(LinkDetector, StandaloneURLAcceptsAtMost2048Characters) {
    const std::string head = "https://example.com/";
    const std::string atLimit = head + std::string(2048 - head.size(), 'a');
    EXPECT_EQ(standalone(atLimit), atLimit);
    EXPECT_EQ(standalone(atLimit + "a"), "-");
    // Characters, not bytes: 2,048 two-byte letters are still one link.
    const std::string bare = "example.com/";
    std::string accented = bare;
    for (std::size_t i = bare.size(); i < 2048; ++i)
        accented += "\u00E9";
    EXPECT_EQ(standalone(accented), "http://" + accented);
    EXPECT_EQ(standalone(accented + "\u00E9"), "-");
}

TEST(LinkDetector, ConcurrentCallsAgree) {
    const std::vector<std::string> texts = {
        "https://example.com/a", "Ana.Silva@Example.ORG", "(650) 253-0000", "example.org", "not a link",
        "d'angelo@example.com"};
    auto answers = [&texts] {
        std::vector<std::string> out;
        for (const std::string& text : texts) {
            out.push_back(standalone(text));
            out.push_back(LinkDetector::standaloneEmailAddress(text).value_or("-"));
            out.push_back(LinkDetector::standalonePhoneNumber(text).value_or("-"));
        }
        return out;
    };
    const auto expected = answers();
    for (const auto& result : concurrentResults(answers))
        EXPECT_EQ(result, expected);
}

} // namespace
} // namespace tessellar

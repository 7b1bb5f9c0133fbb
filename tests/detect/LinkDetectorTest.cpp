#include "kit/detect/LinkDetector.h"

#include "support/Fixtures.h"

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
    using testing::Row;
    using testing::shown;
    EXPECT_GE(testing::checkTable(
                  testing::fixture("standalone-links.tsv"),
                  {{"url", [](const Row& c) { return standalone(c[1]); }},
                   {"display", [](const Row& c) { return LinkDetector::displayString(*Url::parse(c[1])); }},
                   {"email", [](const Row& c) { return shown(LinkDetector::standaloneEmailAddress(c[1])); }},
                   {"phone", [](const Row& c) { return shown(LinkDetector::standalonePhoneNumber(c[1])); }}}),
              40);
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

} // namespace
} // namespace tessellar

#include "kit/updates/SemanticVersion.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

SemanticVersion v(std::string_view text) {
    const auto parsed = SemanticVersion::parse(text);
    EXPECT_TRUE(parsed) << text;
    return parsed.value_or(SemanticVersion{});
}

TEST(SemanticVersion, ReadsPrereleaseAndBuildIdentifiers) {
    const SemanticVersion version = v(" 1.2.3-alpha.1+build.5\n");
    EXPECT_EQ(version.major, 1);
    EXPECT_EQ(version.minor, 2);
    EXPECT_EQ(version.patch, 3);
    EXPECT_EQ(version.prerelease, (std::vector<std::string>{"alpha", "1"}));
    EXPECT_EQ(version.build, (std::vector<std::string>{"build", "5"}));
    EXPECT_EQ(version.description(), "1.2.3-alpha.1+build.5");
    EXPECT_EQ(v("0.0.0").description(), "0.0.0");
}

TEST(SemanticVersion, RejectsWhatTheGrammarForbids) {
    for (const char* text :
         {"", "   ", "01.2.3", "1.2", "1.2.3.4", "1.2.3-", "1.2.3+", "1.2.3-01", "1.0.0+001", "1.2.3-a..b",
          "1234567890.0.0", "1.2.x", "1.2.3-al_pha", "+1.2.3", "1.-2.3", "v1.2.3"})
        EXPECT_FALSE(SemanticVersion::parse(text)) << text;
    EXPECT_TRUE(SemanticVersion::parse("123456789.0.0")) << "nine digits are allowed";
    EXPECT_FALSE(SemanticVersion::parse("1.0.0-" + std::string(123, 'a'))) << "129 characters";
    EXPECT_TRUE(SemanticVersion::parse("1.0.0-" + std::string(122, 'a'))) << "128 characters";
}

TEST(SemanticVersion, OrdersPrereleasesBeforeTheRelease) {
    const char* ordered[] = {"1.0.0-alpha", "1.0.0-alpha.1", "1.0.0-alpha.beta",
                             "1.0.0-beta",  "1.0.0-beta.2",  "1.0.0-beta.11",
                             "1.0.0-rc.1",  "1.0.0",         "1.0.1",
                             "1.1.0",       "2.0.0",         "10.0.0"};
    for (std::size_t i = 0; i + 1 < std::size(ordered); ++i) {
        EXPECT_LT(v(ordered[i]), v(ordered[i + 1])) << ordered[i] << " < " << ordered[i + 1];
        EXPECT_FALSE(v(ordered[i + 1]) < v(ordered[i]));
    }
    EXPECT_EQ(v("1.0.0+a"), v("1.0.0+b"));
    EXPECT_NE(v("1.0.0-a"), v("1.0.0"));
}

TEST(SemanticVersion, ReadsSystemVersionsOfOneToThreeParts) {
    EXPECT_EQ(SemanticVersion::systemVersion("12")->description(), "12.0.0");
    EXPECT_EQ(SemanticVersion::systemVersion("14.2")->description(), "14.2.0");
    EXPECT_EQ(SemanticVersion::systemVersion("14.2.1")->description(), "14.2.1");
    for (const char* text : {"", "14.", "14.2.1.0", "fourteen", "14..1"})
        EXPECT_FALSE(SemanticVersion::systemVersion(text)) << text;
}

} // namespace
} // namespace tessellar

#include "kit/updates/SemanticVersion.h"

#include "support/Fixtures.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

SemanticVersion v(std::string_view text) {
    const auto parsed = SemanticVersion::parse(text);
    EXPECT_TRUE(parsed) << text;
    return parsed.value_or(SemanticVersion{});
}

// Version lists in the fixtures: invalid and valid ones (nine digits, 128 characters at most),
// ascending precedence, and system versions of one to three parts.
const nlohmann::json versions = testing::jsonFixture("updates-versions.json");

TEST(SemanticVersion, ReadsPrereleaseAndBuildIdentifiers) {
    const SemanticVersion version = v(" 1.2.3-alpha.1+build.5\n");
    EXPECT_EQ(version, (SemanticVersion{1, 2, 3, {"alpha", "1"}, {}}));
    EXPECT_EQ(version.build, (std::vector<std::string>{"build", "5"})); // equality leaves the build out
    EXPECT_EQ(version.description(), "1.2.3-alpha.1+build.5");
    EXPECT_EQ(v("0.0.0").description(), "0.0.0");
    for (const std::string text : versions["invalid"])
        EXPECT_FALSE(SemanticVersion::parse(text)) << text;
    for (const std::string text : versions["valid"])
        EXPECT_TRUE(SemanticVersion::parse(text)) << text;
}

TEST(SemanticVersion, OrdersPrereleasesBeforeTheRelease) {
    const auto& ordered = versions["ordered"];
    for (std::size_t i = 0; i + 1 < ordered.size(); ++i) {
        EXPECT_LT(v(ordered[i].get<std::string>()), v(ordered[i + 1].get<std::string>())) << ordered[i];
        EXPECT_FALSE(v(ordered[i + 1].get<std::string>()) < v(ordered[i].get<std::string>())) << ordered[i];
    }
    EXPECT_EQ(v("1.0.0+a"), v("1.0.0+b"));
    EXPECT_NE(v("1.0.0-a"), v("1.0.0"));
}

TEST(SemanticVersion, ReadsSystemVersionsOfOneToThreeParts) {
    for (const auto& [text, version] : versions["system"].items())
        EXPECT_EQ(SemanticVersion::systemVersion(text)->description(), version) << text;
    for (const std::string text : versions["systemInvalid"])
        EXPECT_FALSE(SemanticVersion::systemVersion(text)) << text;
}

} // namespace
} // namespace tessellar

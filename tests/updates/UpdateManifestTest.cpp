#include "kit/updates/UpdateManifest.h"

#include "support/Fixtures.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

std::string decodeError(std::string_view json) {
    try {
        UpdateManifest::decode(json);
    } catch (const UpdateError& error) {
        return error.message();
    }
    return "decoded";
}

TEST(UpdateManifest, DecodesAStrictListing) {
    const auto manifest =
        UpdateManifest::decode(R"({"version":" 2.1.0 ","downloadURL":"https://example.org/get",
        "releaseNotes":"  Faster OCR.\n ","minimumSystemVersion":"12","other":1})");
    EXPECT_EQ(manifest,
              (UpdateManifest{SemanticVersion{2, 1, 0, {}, {}}, *Url::parse("https://example.org/get"),
                              "Faster OCR.", SemanticVersion{12, 0, 0, {}, {}}}));

    const auto bare = UpdateManifest::decode(
        R"({"version":"2.1.0","downloadURL":"https://example.org/","releaseNotes":"  ","minimumSystemVersion":"x"})");
    EXPECT_FALSE(bare.releaseNotes) << "blank notes are none";
    EXPECT_FALSE(bare.minimumSystemVersion) << "an unreadable minimum is no minimum";

    const auto longNotes =
        UpdateManifest::decode(R"({"version":"2.1.0","downloadURL":"https://e.org/","releaseNotes":")" +
                               std::string(2100, 'a') + R"("})");
    EXPECT_EQ(longNotes.releaseNotes->size(), 2000u + std::string("\u2026").size());
}

// Each row of the fixture table: a listing and the sentence it is refused with.
TEST(UpdateManifest, RefusesListingsWithTheirOwnSentence) {
    const auto rows = testing::jsonFixture("updates-bad-listings.json");
    ASSERT_GE(rows.size(), 12u);
    for (const auto& row : rows)
        EXPECT_EQ(decodeError(row[0].get<std::string>()), row[1]) << row[0];
}

} // namespace
} // namespace tessellar

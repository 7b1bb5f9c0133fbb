#include "kit/updates/UpdateManifest.h"

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

const std::string format = "The update listing wasn\u2019t in a format Tessellar could read.";

TEST(UpdateManifest, DecodesAStrictListing) {
    const auto manifest =
        UpdateManifest::decode(R"({"version":" 2.1.0 ","downloadURL":"https://example.org/get",
        "releaseNotes":"  Faster OCR.\n ","minimumSystemVersion":"12","other":1})");
    EXPECT_EQ(manifest.version.description(), "2.1.0");
    EXPECT_EQ(manifest.downloadURL.absoluteString(), "https://example.org/get");
    EXPECT_EQ(manifest.releaseNotes, "Faster OCR.");
    EXPECT_EQ(manifest.minimumSystemVersion->description(), "12.0.0");

    const auto bare = UpdateManifest::decode(
        R"({"version":"2.1.0","downloadURL":"https://example.org/","releaseNotes":"  ","minimumSystemVersion":"x"})");
    EXPECT_FALSE(bare.releaseNotes) << "blank notes are none";
    EXPECT_FALSE(bare.minimumSystemVersion) << "an unreadable minimum is no minimum";

    const auto longNotes =
        UpdateManifest::decode(R"({"version":"2.1.0","downloadURL":"https://e.org/","releaseNotes":")" +
                               std::string(2100, 'a') + R"("})");
    EXPECT_EQ(longNotes.releaseNotes->size(), 2000u + std::string("\u2026").size());
}

TEST(UpdateManifest, RefusesListingsWithTheirOwnSentence) {
    EXPECT_EQ(decodeError("not json"), format);
    EXPECT_EQ(decodeError("[1]"), format);
    EXPECT_EQ(decodeError(R"({"downloadURL":"https://e.org/"})"), format);
    EXPECT_EQ(decodeError(R"({"version":"  ","downloadURL":"https://e.org/"})"), format);
    EXPECT_EQ(decodeError(R"({"version":2,"downloadURL":"https://e.org/"})"), format);
    EXPECT_EQ(decodeError(R"({"version":"1.0.0","downloadURL":"https://e.org/","releaseNotes":7})"), format);
    EXPECT_EQ(decodeError(R"({"version":"1.0.0"})"), format);
    EXPECT_EQ(decodeError(R"({"version":"1.0.0","downloadURL":"not a url"})"), format);
    EXPECT_EQ(decodeError(R"({"version":"1.0","downloadURL":"https://e.org/"})"),
              "The update listing names a version Tessellar can\u2019t read (\u201C1.0\u201D).");
    EXPECT_EQ(
        decodeError(
            R"({"version":"release candidate number one for the spring of the year","downloadURL":"x"})"),
        "The update listing names a version Tessellar can\u2019t read (\u201Crelease candidate number one "
        "for "
        "the\u2026\u201D).");
    const std::string insecure = "The update listing points at a download that isn\u2019t over HTTPS.";
    EXPECT_EQ(decodeError(R"({"version":"1.0.0","downloadURL":"http://e.org/get"})"), insecure);
    EXPECT_EQ(decodeError(R"({"version":"1.0.0","downloadURL":"ftp://e.org/get"})"), insecure);
}

} // namespace
} // namespace tessellar

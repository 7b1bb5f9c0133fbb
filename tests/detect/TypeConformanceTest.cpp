#include "kit/detect/TypeConformance.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

TEST(TypeConformance, KnownTypesIncludeAliasesButNotInventedOrNonMIMENames) {
    EXPECT_EQ(TypeConformance::knownType("image/png"), "image/png");
    EXPECT_EQ(TypeConformance::knownType("application/x-pdf"), "application/x-pdf");
    EXPECT_FALSE(TypeConformance::knownType("application/x-no-such-type"));
    EXPECT_FALSE(TypeConformance::knownType("public.png"));
    EXPECT_FALSE(TypeConformance::knownType(""));
    EXPECT_FALSE(TypeConformance::knownType(std::string("image/png\0x", 11)));
}

TEST(TypeConformance, FileNamesGiveTypesByExtensionIgnoringCase) {
    EXPECT_EQ(TypeConformance::typeForFilename("Scan.PDF"), "application/pdf");
    EXPECT_EQ(TypeConformance::typeForFilename("Screenshot 2026-03-01 at 09.30.05.png"), "image/png");
    EXPECT_EQ(TypeConformance::typeForFilename("notes-without-extension"), "application/octet-stream");
    EXPECT_EQ(TypeConformance::typeForFilename("data.x-unknown-ext"), "application/octet-stream");
}

TEST(TypeConformance, ConformanceFollowsTheHierarchyAndWildcards) {
    EXPECT_TRUE(TypeConformance::isImage("image/png"));
    EXPECT_TRUE(TypeConformance::isImage("image/jpeg"));
    EXPECT_FALSE(TypeConformance::isImage("application/pdf"));
    EXPECT_TRUE(TypeConformance::isPDF("application/pdf"));
    EXPECT_TRUE(TypeConformance::isPDF("application/x-pdf"));
    EXPECT_FALSE(TypeConformance::isPDF("text/plain"));
    EXPECT_TRUE(TypeConformance::conforms("application/json", "text/plain"));
    EXPECT_FALSE(TypeConformance::conforms("", "image/*"));
}

} // namespace
} // namespace tessellar

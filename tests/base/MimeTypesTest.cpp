#include "kit/base/MimeTypes.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

TEST(MimeTypes, FileNamesMapToMimeTypes) {
    EXPECT_EQ(MimeTypes::forFileName("Invoice.pdf"), "application/pdf");
    EXPECT_EQ(MimeTypes::forFileName("a.b.jpeg"), "image/jpeg");
    EXPECT_EQ(MimeTypes::forFileName("notes.txt"), "text/plain");
    // No extension and no name GIO knows whole: no type, rather than GIO's catch-all guess.
    EXPECT_EQ(MimeTypes::forFileName("no-extension"), std::nullopt);
    EXPECT_EQ(MimeTypes::forFileName("trailing-dot."), std::nullopt);
    EXPECT_EQ(MimeTypes::forFileName(""), std::nullopt);
    EXPECT_EQ(MimeTypes::forFileName("Makefile"), "text/x-makefile");
}

TEST(MimeTypes, ConformanceFollowsTheDatabase) {
    EXPECT_TRUE(MimeTypes::conformsTo("image/png", "image/*"));
    EXPECT_TRUE(MimeTypes::conformsTo("image/tiff", "application/octet-stream"));
    EXPECT_TRUE(MimeTypes::conformsTo("application/json", "text/plain"));
    EXPECT_TRUE(MimeTypes::conformsTo("text/x-csrc", "text/plain"));
    EXPECT_FALSE(MimeTypes::conformsTo("application/pdf", "image/*"));
    EXPECT_FALSE(MimeTypes::conformsTo("image/png", "text/plain"));
}

TEST(MimeTypes, PreferredExtensionsRoundTrip) {
    for (const char* type :
         {"image/png", "image/tiff", "image/jpeg", "image/gif", "application/pdf", "text/plain"}) {
        const auto extension = MimeTypes::preferredExtension(type);
        ASSERT_TRUE(extension) << type;
        EXPECT_EQ(MimeTypes::forFileName("x." + *extension), type);
    }
    EXPECT_EQ(MimeTypes::preferredExtension("image/tiff"), "tiff");
    EXPECT_EQ(MimeTypes::preferredExtension("application/x-unknown"), std::nullopt);
}

TEST(MimeTypes, KnownTypesIncludeAliasesButNotInventedOrNonMIMENames) {
    EXPECT_EQ(MimeTypes::knownType("image/png"), "image/png");
    EXPECT_EQ(MimeTypes::knownType("application/x-pdf"), "application/x-pdf");
    EXPECT_FALSE(MimeTypes::knownType("application/x-no-such-type"));
    EXPECT_FALSE(MimeTypes::knownType("public.png"));
    EXPECT_FALSE(MimeTypes::knownType(""));
    EXPECT_FALSE(MimeTypes::knownType(std::string("image/png\0x", 11)));
}

TEST(MimeTypes, FileNamesGiveTypesByExtensionIgnoringCase) {
    EXPECT_EQ(MimeTypes::forFileName("Scan.PDF"), "application/pdf");
    EXPECT_EQ(MimeTypes::forFileName("Screenshot 2026-03-01 at 09.30.05.png"), "image/png");
    EXPECT_EQ(MimeTypes::forFileName("data.x-unknown-ext"), "application/octet-stream");
    EXPECT_EQ(MimeTypes::forFileName(std::string("a.pdf\0.png", 11)), "application/pdf");
}

TEST(MimeTypes, ImagesAndPDFsIncludeTheirAliases) {
    EXPECT_TRUE(MimeTypes::isImage("image/jpeg"));
    EXPECT_FALSE(MimeTypes::isImage("application/pdf"));
    EXPECT_TRUE(MimeTypes::isPDF("application/pdf"));
    EXPECT_TRUE(MimeTypes::isPDF("application/x-pdf"));
    EXPECT_FALSE(MimeTypes::isPDF("text/plain"));
    EXPECT_FALSE(MimeTypes::conformsTo("", "image/*"));
}

} // namespace
} // namespace tessellar

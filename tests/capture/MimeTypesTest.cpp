#include "kit/capture/MimeTypes.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

TEST(MimeTypes, FileNamesMapToMimeTypes) {
    EXPECT_EQ(MimeTypes::forFileName("Invoice.pdf"), "application/pdf");
    EXPECT_EQ(MimeTypes::forFileName("a.b.jpeg"), "image/jpeg");
    EXPECT_EQ(MimeTypes::forFileName("notes.txt"), "text/plain");
    EXPECT_EQ(MimeTypes::forFileName("no-extension"), "application/octet-stream");
    EXPECT_EQ(MimeTypes::forFileName(""), "application/octet-stream");
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

} // namespace
} // namespace tessellar

#include "kit/base/MimeTypes.h"

#include "support/Fixtures.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

using testing::Row;
using testing::shown;

TEST(MimeTypes, FixtureTable) {
    EXPECT_GE(testing::checkTable(
                  testing::fixture("tables/mime-types.tsv"),
                  {{"forFileName", [](const Row& c) { return shown(MimeTypes::forFileName(c[1])); }},
                   {"conformsTo", [](const Row& c) { return shown(MimeTypes::conformsTo(c[1], c[2])); }},
                   {"isImage", [](const Row& c) { return shown(MimeTypes::isImage(c[1])); }},
                   {"isPDF", [](const Row& c) { return shown(MimeTypes::isPDF(c[1])); }},
                   {"knownType", [](const Row& c) { return shown(MimeTypes::knownType(c[1])); }},
                   {"preferredExtension",
                    [](const Row& c) { return shown(MimeTypes::preferredExtension(c[1])); }}}),
              30);
}

TEST(MimeTypes, PreferredExtensionsRoundTrip) {
    for (const char* type :
         {"image/png", "image/tiff", "image/jpeg", "image/gif", "application/pdf", "text/plain"}) {
        const auto extension = MimeTypes::preferredExtension(type);
        ASSERT_TRUE(extension) << type;
        EXPECT_EQ(MimeTypes::forFileName("x." + *extension), type);
    }
}

} // namespace
} // namespace tessellar

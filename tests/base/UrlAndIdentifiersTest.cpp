#include "kit/base/Url.h"
#include "kit/base/Uuid.h"
#include "kit/text/ISO8601.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>
#include <set>

namespace tessellar {
namespace {

using testing::Row;
using testing::shown;

TEST(UrlAndIdentifiers, FixtureTable) {
    const auto url = [](const Row& c) {
        const auto u = Url::parse(c[1]);
        if (!u)
            return std::string("-");
        EXPECT_EQ(u->absoluteString(), c[1]);
        return u->scheme() + "|" + u->host() + "|" + u->path() + "|" + u->query().value_or("-") + "|" +
               (u->port() ? std::to_string(*u->port()) : "-") + "|" + u->lastPathComponent();
    };
    const auto isoParse = [](const Row& c) {
        const auto time = iso8601::parse(c[1]);
        return time ? shown(time->unixSeconds) : "-";
    };
    const auto fileURL = [](const Row& c) {
        const Url url = Url::fromFilePath(c[1]);
        return url.absoluteString() + "|" + shown(url.isFileURL()) + "|" +
               Url::parse(url.absoluteString())->filePath().string() + "|" + url.lastPathComponent();
    };
    EXPECT_GE(testing::checkTable(
                  testing::fixture("tables/url-and-identifiers.tsv"),
                  {{"url", url},
                   {"uuid",
                    [](const Row& c) {
                        const auto id = Uuid::parse(c[1]);
                        return id ? id->string() : "-";
                    }},
                   {"isoFormat",
                    [](const Row& c) { return iso8601::format(Timestamp::fromUnix(std::stod(c[1]))); }},
                   {"isoParse", isoParse},
                   {"fileURL", fileURL}}),
              35);
}

TEST(Uuid, RandomIdentifiersAreVersionFourAndDistinct) {
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        const std::string s = Uuid::random().string();
        EXPECT_EQ(s[14], '4');
        EXPECT_NE(std::string("89AB").find(s[19]), std::string::npos);
        seen.insert(s);
    }
    EXPECT_EQ(seen.size(), 1000u);
}

} // namespace
} // namespace tessellar

#include "kit/base/Url.h"
#include "kit/base/Uuid.h"
#include "kit/text/ISO8601.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>
#include <iomanip>
#include <set>
#include <sstream>

namespace tessellar {
namespace {

using testing::Row;

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
        std::ostringstream out;
        if (const auto t = iso8601::parse(c[1]))
            out << std::setprecision(17) << t->unixSeconds;
        return out.str().empty() ? "-" : out.str();
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
                   {"isoParse", isoParse}}),
              35);
}

TEST(Url, FileURLsEncodeAndDecodeThePath) {
    const Url url = Url::fromFilePath("/home/ana/My Files/r\u00E9sum\u00E9 #1.pdf");
    EXPECT_EQ(url.absoluteString(), "file:///home/ana/My%20Files/r%C3%A9sum%C3%A9%20%231.pdf");
    EXPECT_TRUE(url.isFileURL());
    EXPECT_EQ(url.filePath(), "/home/ana/My Files/r\u00E9sum\u00E9 #1.pdf");
    EXPECT_EQ(url.lastPathComponent(), "r\u00E9sum\u00E9 #1.pdf");
    EXPECT_EQ(Url::parse(url.absoluteString())->filePath(), url.filePath());
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

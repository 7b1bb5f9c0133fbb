#include "kit/base/Url.h"
#include "kit/base/Uuid.h"
#include "kit/text/ISO8601.h"

#include <gtest/gtest.h>
#include <set>

namespace tessellar {
namespace {

TEST(Url, ParsesAbsoluteURLsAndKeepsTheTextAsGiven) {
    const auto url = Url::parse("HTTPS://Example.com:8080/a%20b/c.pdf?x=1#frag");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->absoluteString(), "HTTPS://Example.com:8080/a%20b/c.pdf?x=1#frag");
    EXPECT_EQ(url->scheme(), "https");
    EXPECT_EQ(url->host(), "Example.com"); // as written
    EXPECT_EQ(url->path(), "/a b/c.pdf");
    EXPECT_EQ(url->query(), "x=1");
    EXPECT_EQ(url->port(), 8080);
    EXPECT_EQ(url->lastPathComponent(), "c.pdf");
}

TEST(Url, OpaqueSchemesAreURLsToo) {
    const auto mail = Url::parse("mailto:ana@example.org");
    ASSERT_TRUE(mail);
    EXPECT_EQ(mail->scheme(), "mailto");
    EXPECT_EQ(mail->path(), "ana@example.org");
    EXPECT_TRUE(mail->host().empty());
    EXPECT_TRUE(Url::parse("tel:+1-555-0100"));
}

TEST(Url, RejectsRelativeAndMalformedText) {
    for (const char* bad : {"", "example.com", "/tmp/a.pdf", "not a url", "http://exa mple.com", "1http://x",
                            "mailto:", "http://", "ht tp://x.org", "a\nb:c"})
        EXPECT_FALSE(Url::parse(bad)) << bad;
}

TEST(Url, FileURLsEncodeAndDecodeThePath) {
    const Url url = Url::fromFilePath("/home/ana/My Files/r\u00E9sum\u00E9 #1.pdf");
    EXPECT_EQ(url.absoluteString(), "file:///home/ana/My%20Files/r%C3%A9sum%C3%A9%20%231.pdf");
    EXPECT_TRUE(url.isFileURL());
    EXPECT_EQ(url.filePath(), "/home/ana/My Files/r\u00E9sum\u00E9 #1.pdf");
    EXPECT_EQ(url.lastPathComponent(), "r\u00E9sum\u00E9 #1.pdf");
    const auto reparsed = Url::parse(url.absoluteString());
    ASSERT_TRUE(reparsed);
    EXPECT_EQ(reparsed->filePath(), url.filePath());
    EXPECT_EQ(Url::parse("file:///tmp/dir/")->lastPathComponent(), "dir");
}

TEST(Uuid, CanonicalUpperCaseFormRoundTrips) {
    const auto id = Uuid::parse("6f9619ff-8b86-d011-b42d-00c04fc964ff");
    ASSERT_TRUE(id);
    EXPECT_EQ(id->string(), "6F9619FF-8B86-D011-B42D-00C04FC964FF");
    for (const char* bad : {"", "6F9619FF8B86D011B42D00C04FC964FF", "6F9619FF-8B86-D011-B42D-00C04FC964F",
                            "6F9619FF-8B86-D011-B42D-00C04FC964FG", "6F9619F-F8B86-D011-B42D-00C04FC964FF"})
        EXPECT_FALSE(Uuid::parse(bad)) << bad;
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

TEST(ISO8601, FormatsUTCWholeSecondsAndParsesOffsets) {
    EXPECT_EQ(iso8601::format(Timestamp::fromUnix(0)), "1970-01-01T00:00:00Z");
    EXPECT_EQ(iso8601::format(Timestamp::fromUnix(1772357400.999)), "2026-03-01T09:30:00Z");
    EXPECT_EQ(iso8601::format(Timestamp::fromUnix(-1)), "1969-12-31T23:59:59Z");
    EXPECT_EQ(iso8601::parse("2026-03-01T09:30:00Z"), Timestamp::fromUnix(1772357400));
    EXPECT_EQ(iso8601::parse("2026-03-01T04:30:00-05:00"), Timestamp::fromUnix(1772357400));
    EXPECT_EQ(iso8601::parse("2026-03-01T09:30:00.5Z"), Timestamp::fromUnix(1772357400.5));
    EXPECT_EQ(iso8601::parse("2024-02-29T00:00:00Z"), Timestamp::fromUnix(1709164800));
    for (const char* bad : {"2026-03-01", "2026-03-01T09:30:00", "2026-02-29T00:00:00Z",
                            "2026-13-01T00:00:00Z", "2026-03-01T24:00:00Z", "2026-03-01T09:30:00Zjunk",
                            "2026-03-01 09:30:00Z", "2026-03-01T09:30:00+0500", "2026-03-01T09:30:00.Z"})
        EXPECT_FALSE(iso8601::parse(bad)) << bad;
}

} // namespace
} // namespace tessellar

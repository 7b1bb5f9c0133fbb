#include "kit/capture/TextExtractor.h"

#include "kit/capture/HtmlTextReader.h"
#include "kit/capture/OfficeTextReader.h"
#include "kit/model/TessellarError.h"
#include "kit/text/Unicode.h"
#include "support/ActionCases.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessellar {
namespace {

using testing::fixture;

void write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TessellarError failure(TextExtractor& extractor, const std::filesystem::path& file) {
    return testing::thrownError([&] { extractor.extract(file); });
}

TEST(TextExtractor, PdfReadsTheFirstEightPagesAndCountsThemAll) {
    TextExtractor extractor;
    const auto result = extractor.extract(fixture("documents/text-20-pages.pdf"));
    EXPECT_EQ(result.pageCount, 20);
    EXPECT_FALSE(result.needsOCR);
    EXPECT_TRUE(result.text.starts_with("Page 1 marker PAGE1"));
    EXPECT_NE(result.text.find("PAGE8\n"), std::string::npos);
    EXPECT_EQ(result.text.find("PAGE9"), std::string::npos);
    EXPECT_TRUE(result.text.ends_with("costs stayed flat.")) << "trimmed";

    EXPECT_EQ(extractor.extract(fixture("documents/text-1-page.pdf")),
              (TextExtractor::Result{"Invoice INV-2291 from Acme Widgets\nAmount due: $120.00", 1, false}));
    // A scanned PDF has too little text and needs recognition.
    EXPECT_EQ(extractor.extract(fixture("documents/scanned-3-pages.pdf")),
              (TextExtractor::Result{"", 3, true}));
}

// Broken, missing, odd (folders, pipes: without blocking) and unreadable files fail naming the file.
TEST(TextExtractor, UnreadableFilesNameTheFile) {
    TextExtractor extractor;
    testing::TempDir dir;
    write(dir / "empty.PDF", "");
    write(dir / "broken.docx", "PK\x03\x04 not really a zip");
    write(dir / "blob.bin", std::string("\x01\x00\x02", 3));
    std::filesystem::create_directory(dir / "folder.txt");
    ASSERT_EQ(::mkfifo((dir / "pipe.txt").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir / "pipe.pdf").c_str(), 0600), 0);
    write(dir / "secret.txt", "hidden");
    std::filesystem::permissions(dir / "secret.txt", std::filesystem::perms::none);
    std::vector files{fixture("documents/truncated.pdf"), fixture("documents/encrypted.pdf")};
    for (const char* name : {"empty.PDF", "broken.docx", "blob.bin", "gone.txt", "folder.txt", "pipe.txt",
                             "pipe.pdf", "secret.txt"})
        if (std::string_view(name) != "secret.txt" || ::geteuid() != 0) // permissions do not bind root
            files.push_back(dir / name);
    for (const auto& file : files)
        EXPECT_EQ(failure(extractor, file), TessellarError::noTextInDocument(file.filename().string()));
}

TEST(TextExtractor, TextFilesDecodeUtf8ElseWindows1252) {
    TextExtractor extractor;
    const auto latin = extractor.extract(fixture("documents/invoice-latin1.txt"));
    EXPECT_TRUE(
        latin.text.starts_with("Invoice INV-3310\nFrom: Soci\u00e9t\u00e9 G\u00e9n\u00e9rale Caf\u00e9\n"));
    EXPECT_NE(latin.text.find("Amount due: \u20ac1.250,00"), std::string::npos);
    EXPECT_FALSE(latin.pageCount);
    EXPECT_FALSE(latin.needsOCR);

    EXPECT_EQ(TextExtractor::decodeText("\xEF\xBB\xBF{\"a\":1}"), "{\"a\":1}");
    EXPECT_EQ(TextExtractor::decodeText("caf\xC3\xA9"), "caf\u00e9");
    EXPECT_EQ(TextExtractor::decodeText("caf\xE9 \x80\x81"), "caf\u00e9 \u20ac\u0081");
    // A prefix cut inside a character keeps its UTF-8; a complete text ending so is not UTF-8.
    EXPECT_EQ(TextExtractor::decodeText("ab\xE2\x82", false), "ab");
    EXPECT_EQ(TextExtractor::decodeText("ab\xE2\x82", true), "ab\u00e2\u201a");
}

TEST(TextExtractor, TextIsCappedAtFortyThousandCharactersAndReadOnlyThatFar) {
    TextExtractor extractor;
    testing::TempDir dir;
    // Characters of two and three bytes.
    write(dir / "long.json", testing::repeated("\u00e9\u20ac", 30'000) + std::string(1'000'000, 'x'));
    const auto result = extractor.extract(dir / "long.json");
    EXPECT_EQ(unicode::characterCount(result.text), TextExtractor::maxCharacters);
    EXPECT_TRUE(result.text.ends_with("\u00e9\u20ac"));

    write(dir / "exact.txt", std::string(TextExtractor::maxCharacters, 'a'));
    EXPECT_EQ(extractor.extract(dir / "exact.txt").text.size(), TextExtractor::maxCharacters);
    write(dir / "over.txt", std::string(TextExtractor::maxCharacters + 1, 'a'));
    EXPECT_EQ(extractor.extract(dir / "over.txt").text.size(), TextExtractor::maxCharacters);
}

// Each document in the fixture table reads as its plain text.
TEST(TextExtractor, DocumentsGivePlainText) {
    TextExtractor extractor;
    const auto texts = testing::jsonFixture("capture-document-texts.json");
    ASSERT_GE(texts.size(), 4u);
    for (const auto& [document, text] : texts.items())
        EXPECT_EQ(extractor.extract(fixture(document)).text, text.get<std::string>()) << document;
}

TEST(HtmlTextReader, SkipsScriptsAndStopsAtTheLimit) {
    EXPECT_EQ(HtmlTextReader::plainText("<p>a<script>x()</script>b</p><pre>  two\n  lines</pre>", 1000),
              "ab\n  two\n  lines\n");
    EXPECT_NO_THROW(HtmlTextReader::plainText(testing::repeated("<div>", 100'000) + "bottom", 1000));
    EXPECT_LE(HtmlTextReader::plainText(testing::repeated("<p>paragraph</p>", 10'000), 100)->size(),
              100u + 20u);
}

TEST(OfficeTextReader, NeverExpandsEntitiesAndCapsInflatedXml) {
    const std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"aaaaaaaaaa\">"
                               "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
                               "<w:document xmlns:w=\"w\"><w:p><w:t>x&b;y</w:t></w:p></w:document>";
    const auto text = OfficeTextReader::textOfXml(laughs, OfficeTextReader::Format::docx, 1'000'000);
    ASSERT_TRUE(text);
    EXPECT_LT(text->size(), 20u);
    // A 64 MB run of one character inflates from a few kilobytes; only the cap is read.
    testing::TempDir dir;
    const auto archive = dir / "bomb.odt";
    ASSERT_EQ(
        std::system(
            ("cd " + dir.path().string() +
             " && python3 -c \"import zipfile; z=zipfile.ZipFile('bomb.odt','w',zipfile.ZIP_DEFLATED); "
             "z.writestr('content.xml', '<r><text:p xmlns:text=\\'t\\'>' + 'a'*(64<<20) + '</text:p></r>')\"")
                .c_str()),
        0);
    ASSERT_LT(std::filesystem::file_size(archive), 200'000u);
    const auto capped = OfficeTextReader::plainText(archive, OfficeTextReader::Format::odt, 1 << 20, 1 << 30);
    ASSERT_TRUE(capped);
    EXPECT_LE(capped->size(), 1u << 20);
}

} // namespace
} // namespace tessellar

#include "kit/actions/universal/CopyAction.h"
#include "kit/actions/universal/CopyAddressAction.h"
#include "kit/actions/universal/CopyExtractedTextAction.h"
#include "kit/actions/universal/CopyURLAction.h"
#include "kit/actions/universal/OpenFileAction.h"
#include "kit/actions/universal/OpenInMapsAction.h"
#include "kit/actions/universal/OpenURLAction.h"
#include "kit/actions/universal/QuickLookAction.h"
#include "kit/actions/universal/RevealInFinderAction.h"
#include "kit/actions/universal/SaveForLaterAction.h"
#include "kit/actions/universal/SearchWebAction.h"
#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"
#include "support/ActionCases.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tessellar {
namespace {

using Call = RecordingWorkspace::Call;

class UniversalActions : public testing::ActionCase {
protected:
    Url existingFile(const std::string& name) {
        std::ofstream(dir / name) << "content";
        return Url::fromFilePath(dir / name);
    }

    testing::TempDir dir;
};

TEST_F(UniversalActions, CopyWritesTheTextOrElseTheFile) {
    const CopyAction copy;

    item.originalText = "  keep the spaces \n";
    EXPECT_EQ(perform(copy), (ActionOutcome{"Copied", std::nullopt, false}));
    EXPECT_EQ(fixture.pasteboard.plainText(), "  keep the spaces \n");

    // Blank text with a file: the file itself goes on the pasteboard, replacing the text.
    item.originalText = " \n\t";
    item.fileURL = Url::fromFilePath("/tmp/report 1.pdf");
    EXPECT_EQ(perform(copy), (ActionOutcome{"Copied file", std::nullopt, false}));
    EXPECT_EQ(fixture.pasteboard.plainText(), std::nullopt);
    ASSERT_EQ(fixture.pasteboard.fileURLs().size(), 1u);
    EXPECT_EQ(fixture.pasteboard.fileURLs()[0].absoluteString(), "file:///tmp/report%201.pdf");
}

TEST_F(UniversalActions, CopyTextCopiesTheRecognisedText) {
    const CopyExtractedTextAction copyText;
    item.contentType = ContentType::image;

    item.extractedText = "first\nsecond\nthird";
    EXPECT_EQ(perform(copyText).message, "Copied 3 lines");
    EXPECT_EQ(fixture.pasteboard.plainText(), "first\nsecond\nthird");

    item.extractedText = "  one line, kept as read ";
    EXPECT_EQ(perform(copyText), (ActionOutcome{"Copied 1 line", std::nullopt, false}));
    EXPECT_EQ(fixture.pasteboard.plainText(), "  one line, kept as read ");
}

TEST_F(UniversalActions, FileActionsHandTheFileToTheDesktop) {
    const RevealInFinderAction reveal;
    const OpenFileAction open;
    const QuickLookAction quickLook;
    const Url file = existingFile("Invoice March.pdf");
    item.fileURL = file;

    EXPECT_EQ(perform(reveal), (ActionOutcome{std::nullopt, std::nullopt, false}));
    EXPECT_EQ(perform(quickLook), (ActionOutcome{std::nullopt, std::nullopt, true}));
    EXPECT_EQ(fixture.host.calls(), std::vector<std::string>{"quickLook " + file.absoluteString()});

    // The workspace's answer is ignored, and a file that vanished since is handed over as it is.
    fixture.workspace->setSucceeds(false);
    std::filesystem::remove(file.filePath());
    EXPECT_EQ(perform(open), (ActionOutcome{std::nullopt, std::nullopt, false}));
    EXPECT_EQ(fixture.workspace->calls(), (std::vector<Call>{{"reveal", file.absoluteString(), ""},
                                                             {"open", file.absoluteString(), ""}}));
}

TEST_F(UniversalActions, LinkActionsOpenAndCopyTheSourceURL) {
    const OpenURLAction openLink;
    const CopyURLAction copyLink;

    item.sourceURL = Url::parse("https://example.com/a?b=c#d");
    EXPECT_EQ(perform(copyLink), (ActionOutcome{"Copied link", std::nullopt, false}));
    EXPECT_EQ(fixture.pasteboard.plainText(), "https://example.com/a?b=c#d");
    fixture.workspace->setSucceeds(false);
    EXPECT_EQ(perform(openLink), (ActionOutcome{std::nullopt, std::nullopt, false}));
    EXPECT_EQ(fixture.workspace->calls(), (std::vector<Call>{{"open", "https://example.com/a?b=c#d", ""}}));
}

TEST_F(UniversalActions, SaveForLaterStampsTheItemOnce) {
    const SaveForLaterAction save;
    item.sourceURL = Url::parse("https://example.com");

    const Clock::ScopedOverride pinned(*iso8601::parse("2026-03-01T09:30:00.750Z"));
    item.completedActionIDs = {ActionID::copy};
    InboxItem saved = item;
    saved.metadata.hidden["saved"] = "2026-03-01T09:30:00Z";
    saved.completedActionIDs.push_back(ActionID::saveForLater);
    EXPECT_EQ(perform(save), (ActionOutcome{"Saved to your inbox", saved, false}));

    // Run again anyway: the stamp is replaced and the id is not repeated.
    item = saved;
    item.metadata.hidden["saved"] = "old";
    EXPECT_EQ(perform(save).updatedItem, saved);
}

TEST_F(UniversalActions, SearchTheWebUsesTheErrorSummaryOrTheFirstLine) {
    const SearchWebAction search;

    item.originalText = "\n  café  \nsecond";
    EXPECT_EQ(SearchWebAction::searchQuery(item), "café");

    item.contentType = ContentType::code;
    const std::string summary =
        "TypeError: Cannot read properties of undefined" + testing::repeated(" reading value", 8);
    item.metadata.set(ItemMetadata::Key::errorSummary, summary);
    const auto query = SearchWebAction::searchQuery(item);
    ASSERT_TRUE(query);
    EXPECT_LE(query->size(), 140u);
    EXPECT_EQ(query->back(), 'g'); // cut at a space, no ellipsis
    EXPECT_EQ(summary.rfind(*query, 0), 0u);

    item.metadata = {};
    item.originalText = "Résumé & cover letter #2 100%";
    perform(search);
    EXPECT_EQ(fixture.workspace->calls().back(),
              (Call{"open", "https://duckduckgo.com/?q=R%C3%A9sum%C3%A9%20&%20cover%20letter%20%232%20100%25",
                    ""}));
}

TEST_F(UniversalActions, AddressActionsPreferTheDetectorsRawAddress) {
    const OpenInMapsAction maps;
    const CopyAddressAction copyAddress;
    item.contentType = ContentType::address;
    item.metadata.hidden["rawAddress"] = "221B Baker St\nLondon";
    item.metadata.set(ItemMetadata::Key::street, "ignored");
    perform(maps);
    EXPECT_EQ(fixture.workspace->calls().back().url,
              "https://www.openstreetmap.org/search?query=221B%20Baker%20St%0ALondon");

    item.metadata.hidden.clear();
    item.metadata.set(ItemMetadata::Key::company, "Acme");
    item.metadata.set(ItemMetadata::Key::locality, "Springfield, IL 62701");
    item.metadata.set(ItemMetadata::Key::street, "742 Evergreen Terrace");
    perform(maps);
    EXPECT_EQ(
        fixture.workspace->calls().back().url,
        "https://www.openstreetmap.org/search?query=742%20Evergreen%20Terrace,%20Springfield,%20IL%2062701");

    item.metadata = {};
    item.originalText = "500 Main Street\n    Suite 4\tBoston";
    EXPECT_EQ(perform(copyAddress), (ActionOutcome{"Copied address", std::nullopt, false}));
    EXPECT_EQ(fixture.pasteboard.plainText(), "500 Main Street Suite 4 Boston");
}

} // namespace
} // namespace tessellar

#include "kit/model/ItemMetadata.h"

#include "support/Fixtures.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

using Fact = ItemMetadata::Fact;

TEST(ItemMetadata, SetIgnoresAbsentAndBlankValues) {
    ItemMetadata m;
    m.set("amount", std::nullopt);
    m.set("amount", std::string("   "));
    m.set("amount", std::string(" \n\t"));
    EXPECT_TRUE(m.isEmpty());
    m.set("amount", std::string(" $5 "));
    ASSERT_EQ(m.facts.size(), 1u);
    EXPECT_EQ(m.facts[0].value, " $5 "); // stored untrimmed
}

TEST(ItemMetadata, SetReplacesInPlaceIncludingAnAbsentLabel) {
    ItemMetadata m;
    m.set("company", std::string("Acme"), std::string("From"), true);
    m.set("amount", std::string("$5"));
    m.set("dueDate", std::string("Mar 1"));
    m.set("company", std::string("Globex"));
    ASSERT_EQ(m.facts.size(), 3u);
    EXPECT_EQ(m.facts[0], (Fact{"company", std::nullopt, "Globex", false}));
    EXPECT_EQ(m.facts[1].key, "amount");
    EXPECT_EQ(m["company"], "Globex");
    EXPECT_EQ(m["missing"], std::nullopt);
}

TEST(ItemMetadata, HiddenValuesAreNeverRemovedByEmptyOrAbsentValues) {
    ItemMetadata m;
    m.setHidden("k", std::string("v"));
    m.setHidden("k", std::string(""));
    m.setHidden("k", std::nullopt);
    EXPECT_EQ(m.hidden.at("k"), "v");
    m.setHidden("k", std::string(" "));
    EXPECT_EQ(m.hidden.at("k"), " ");
    EXPECT_TRUE(m.isEmpty()); // hidden values do not count
}

TEST(ItemMetadata, SetDateWritesTheFactAndTheUTCISOValue) {
    ItemMetadata m;
    m.setDate("dueDate", std::nullopt, "Due Mar 1");
    EXPECT_EQ(m, ItemMetadata{});

    // 2026-03-01T09:30:00.75Z: fractions are dropped.
    m.setDate("dueDate", Timestamp::fromUnix(1772357400.75), "Due Mar 1", true);
    EXPECT_EQ(ItemMetadata::isoKey("dueDate"), "dueDateISO");
    EXPECT_EQ(m.hidden.at("dueDateISO"), "2026-03-01T09:30:00Z");
    EXPECT_EQ(m.facts[0], (Fact{"dueDate", std::nullopt, "Due Mar 1", true}));
    EXPECT_EQ(m.date("dueDate"), Timestamp::fromUnix(1772357400));
}

TEST(ItemMetadata, DateIsAbsentWhenMissingOrUnparsable) {
    ItemMetadata m;
    EXPECT_FALSE(m.date("date"));
    m.setHidden("dateISO", std::string("yesterday"));
    EXPECT_FALSE(m.date("date"));
    m.hidden["dateISO"] = "2026-02-30T10:00:00Z";
    EXPECT_FALSE(m.date("date"));
    m.hidden["dateISO"] = "2026-03-01T10:00:00+01:00";
    EXPECT_EQ(m.date("date"), Timestamp::fromUnix(1772355600));
}

TEST(ItemMetadata, SummaryLineJoinsTheFirstValuesWithAMiddleDot) {
    ItemMetadata m;
    EXPECT_EQ(m.summaryLine(3), "");
    m.set("a", std::string("A"));
    m.set("b", std::string("B"));
    m.set("c", std::string("C"));
    EXPECT_EQ(m.summaryLine(2), "A \u00B7 B");
    EXPECT_EQ(m.summaryLine(10), "A \u00B7 B \u00B7 C");
    EXPECT_EQ(m.summaryLine(0), "");
}

TEST(ItemMetadataFact, RepeatsTheHeadlineOnlyWhenUnlabelledAndLongEnough) {
    const auto repeats = [](const testing::Row& c) {
        const Fact fact{"k", c[2] == "-" ? std::nullopt : std::optional(c[2]), c[1], false};
        return testing::shown(fact.repeats(c[3]));
    };
    EXPECT_GE(testing::checkTable(testing::fixture("tables/item-metadata.tsv"), {{"repeats", repeats}}), 12);
}

} // namespace
} // namespace tessellar

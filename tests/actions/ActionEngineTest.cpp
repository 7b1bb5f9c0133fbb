#include "kit/actions/ActionEngine.h"

#include "kit/actions/ActionCatalog.h"
#include "kit/model/InboxItemJSON.h"
#include "support/ActionFixture.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tessellar {
namespace {

// An action with a fixed verdict, to drive the ranking.
class FixedAction final : public DropAction {
public:
    FixedAction(std::string id, std::optional<int> relevance, std::string title = "Fixed")
        : id_(std::move(id)), relevance_(relevance), title_(std::move(title)) {}

    ActionID id() const override { return ActionID(id_); }
    std::string title() const override { return title_; }
    std::string icon() const override { return "star"; }
    ActionAvailability availability(const InboxItem&, const ActionContext&) const override {
        return relevance_ ? ActionAvailability::available(*relevance_) : ActionAvailability::unavailable();
    }
    ActionOutcome perform(const ActionInvocation&, const ActionContext&) const override {
        return {"done", std::nullopt, false};
    }

private:
    std::string id_;
    std::optional<int> relevance_;
    std::string title_;
};

std::shared_ptr<const DropAction> fixed(const std::string& id, std::optional<int> relevance,
                                        const std::string& title = "Fixed") {
    return std::make_shared<FixedAction>(id, relevance, title);
}

std::vector<std::string> ids(const std::vector<ActionEngine::ActionDescriptor>& descriptors) {
    std::vector<std::string> out;
    for (const auto& d : descriptors)
        out.push_back(d.id.rawValue);
    return out;
}

std::vector<ActionID> idList(std::initializer_list<const char*> raw) {
    std::vector<ActionID> out;
    for (const char* r : raw)
        out.emplace_back(r);
    return out;
}

class ActionEngineTest : public ::testing::Test {
protected:
    ActionFixture fixture;
    InboxItem item;
};

TEST(ActionModel, VerdictsOutcomesAndIdentifiersKeepTheirValues) {
    EXPECT_NE(ActionAvailability::available(0), ActionAvailability::unavailable());
    EXPECT_EQ(ActionAvailability::available(0).relevance(), std::optional<int>(0));
    EXPECT_EQ(ActionAvailability::unavailable().relevance(), std::nullopt);
    EXPECT_EQ(ActionAvailability::unavailable(), ActionAvailability::unavailable());
    EXPECT_NE(ActionAvailability::available(70), ActionAvailability::available(71));
    EXPECT_EQ(ActionAvailability::available(-5).relevance(), std::optional<int>(-5));

    EXPECT_TRUE(ActionOutcome::cancelled.keepsPanelOpen);
    EXPECT_EQ(ActionOutcome::cancelled.message, std::nullopt);
    EXPECT_EQ(ActionOutcome::cancelled.updatedItem, std::nullopt);
    EXPECT_EQ(FixedAction("plain", 50).preview(InboxItem{}, ActionFixture().context()), std::nullopt);

    // An unknown identifier is a legal value, equal to no built-in one, and a bare JSON string.
    const ActionID custom("shareToMastodon");
    for (const auto& builtIn : {ActionID::copy, ActionID::openURL, ActionID::describeImage})
        EXPECT_NE(custom, builtIn);
    InboxItem stored;
    stored.suggestedActionIDs = {custom, ActionID::copy};
    const auto payload = nlohmann::json::parse(item_json::payload(stored));
    EXPECT_EQ(payload["suggestedActionIDs"], nlohmann::json::parse(R"(["shareToMastodon","copy"])"));
    EXPECT_EQ(item_json::decode(payload).suggestedActionIDs, stored.suggestedActionIDs);
}

TEST_F(ActionEngineTest, NothingAvailableResolvesEmpty) {
    const ActionEngine engine({fixed("a", std::nullopt), fixed("b", std::nullopt)});
    const auto resolved = engine.resolve(item, fixture.context());
    EXPECT_TRUE(resolved.isEmpty());
    EXPECT_TRUE(resolved.all().empty());
    EXPECT_TRUE(ActionEngine().resolve(item, fixture.context()).isEmpty());
}

TEST_F(ActionEngineTest, PrimaryRowHoldsAtMostFour) {
    ActionEngine engine({fixed("a", 50), fixed("b", 50), fixed("c", 50), fixed("d", 50)});
    auto resolved = engine.resolve(item, fixture.context());
    EXPECT_EQ(ids(resolved.primary), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_TRUE(resolved.secondary.empty());

    engine.registerAction(fixed("e", 50));
    resolved = engine.resolve(item, fixture.context());
    EXPECT_EQ(ids(resolved.primary), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(ids(resolved.secondary), (std::vector<std::string>{"e"}));
    EXPECT_EQ(ids(resolved.all()), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(engine.suggestedIDs(item, fixture.context()), idList({"a", "b", "c", "d", "e"}));
}

TEST_F(ActionEngineTest, BandsOfTenThenSuggestionThenScoreThenRegistration) {
    const ActionEngine engine({fixed("low", 72), fixed("high", 79)});
    item.suggestedActionIDs = idList({"low"});
    EXPECT_EQ(ids(engine.resolve(item, fixture.context()).all()), (std::vector<std::string>{"low", "high"}));
    item.suggestedActionIDs.clear();
    EXPECT_EQ(ids(engine.resolve(item, fixture.context()).all()), (std::vector<std::string>{"high", "low"}));

    // A higher band wins whatever the suggested list says.
    const ActionEngine banded({fixed("sixtyNine", 69), fixed("seventyTwo", 72)});
    item.suggestedActionIDs = idList({"sixtyNine"});
    EXPECT_EQ(ids(banded.resolve(item, fixture.context()).all()),
              (std::vector<std::string>{"seventyTwo", "sixtyNine"}));

    // Equal scores, neither suggested: registration order. Suggested ones lead their band.
    const ActionEngine tied({fixed("openURL", 75), fixed("copyURL", 75), fixed("other", 78)});
    item.suggestedActionIDs = idList({"unrelated"});
    EXPECT_EQ(ids(tied.resolve(item, fixture.context()).all()),
              (std::vector<std::string>{"other", "openURL", "copyURL"}));
    item.suggestedActionIDs = idList({"copyURL"});
    EXPECT_EQ(ids(tied.resolve(item, fixture.context()).all()),
              (std::vector<std::string>{"copyURL", "other", "openURL"}));
}

TEST_F(ActionEngineTest, RankingHandlesRepeatsAndNegativeScores) {
    using D = ActionEngine::ActionDescriptor;
    // A repeated suggestion counts at its first position; -5 / 10 truncates to band 0, like 5.
    const auto resolved = ActionEngine::rank({D{ActionID("x"), "", "", false, false, 5, false},
                                              D{ActionID("y"), "", "", false, false, -5, false},
                                              D{ActionID("z"), "", "", false, false, 8, false}},
                                             idList({"y", "z", "y"}), idList({"z", "y", "x"}));
    EXPECT_EQ(ids(resolved.all()), (std::vector<std::string>{"y", "z", "x"}));
    // An id without a registration rank counts as 0.
    const auto unregistered = ActionEngine::rank({D{ActionID("late"), "", "", false, false, 50, false},
                                                  D{ActionID("ghost"), "", "", false, false, 50, false}},
                                                 {}, idList({"first", "late"}));
    EXPECT_EQ(ids(unregistered.all()), (std::vector<std::string>{"ghost", "late"}));
}

TEST_F(ActionEngineTest, ReRegisteringReplacesInPlace) {
    ActionEngine engine({fixed("a", 50, "First A"), fixed("b", 50)});
    engine.registerAction(fixed("a", 50, "Second A"));
    EXPECT_EQ(engine.registrationOrder(), idList({"a", "b"}));
    EXPECT_EQ(engine.action(ActionID("a"))->title(), "Second A");
    EXPECT_EQ(engine.knownActionIDs(), (std::unordered_set<ActionID>{ActionID("a"), ActionID("b")}));
    EXPECT_EQ(engine.action(ActionID("missing")), nullptr);
    const auto all = engine.resolve(item, fixture.context()).all();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].title, "Second A");
}

TEST_F(ActionEngineTest, CompletedActionsKeepTheirPlace) {
    const ActionEngine engine({fixed("a", 90), fixed("b", 80), fixed("c", 70)});
    item.completedActionIDs = idList({"b", "neverRegistered"});
    const auto all = engine.resolve(item, fixture.context()).all();
    EXPECT_EQ(ids(all), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(all[1],
              (ActionEngine::ActionDescriptor{ActionID("b"), "Fixed", "star", false, false, 80, true}));
    EXPECT_FALSE(all[0].wasCompleted);
}

// Three checks that each wait for the other two can only finish when they run at the same time.
class MeetingAction final : public DropAction {
public:
    MeetingAction(std::string id, std::shared_ptr<std::atomic<int>> arrived)
        : id_(std::move(id)), arrived_(arrived) {}
    ActionID id() const override { return ActionID(id_); }
    std::string title() const override { return id_; }
    std::string icon() const override { return ""; }
    ActionAvailability availability(const InboxItem&, const ActionContext&) const override {
        ++*arrived_;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (*arrived_ < 3 && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::yield();
        return *arrived_ >= 3 ? ActionAvailability::available(50) : ActionAvailability::unavailable();
    }
    ActionOutcome perform(const ActionInvocation&, const ActionContext&) const override { return {}; }

private:
    std::string id_;
    std::shared_ptr<std::atomic<int>> arrived_;
};

class ThrowingAction final : public DropAction {
public:
    ActionID id() const override { return ActionID("broken"); }
    std::string title() const override { return "Broken"; }
    std::string icon() const override { return ""; }
    ActionAvailability availability(const InboxItem&, const ActionContext&) const override {
        throw std::runtime_error("disk on fire");
    }
    ActionOutcome perform(const ActionInvocation&, const ActionContext&) const override { return {}; }
};

TEST_F(ActionEngineTest, ChecksRunConcurrentlyAndAFailingCheckIsNotOffered) {
    auto arrived = std::make_shared<std::atomic<int>>(0);
    const ActionEngine engine(
        {std::make_shared<MeetingAction>("one", arrived), std::make_shared<ThrowingAction>(),
         std::make_shared<MeetingAction>("two", arrived), std::make_shared<MeetingAction>("three", arrived)});
    EXPECT_EQ(ids(engine.resolve(item, fixture.context()).all()),
              (std::vector<std::string>{"one", "two", "three"}));
}

TEST(ActionCatalog, ListsTheBuiltInActionsInCatalogOrder) {
    struct Row {
        const char* id;
        const char* title;
        const char* icon;
        bool sendsData;
    };
    const std::vector<Row> rows{
        {"openURL", "Open Link", "safari", false},
        {"openInMaps", "Open in Maps", "map", false},
        {"createReminder", "Add Reminder", "checklist", false},
        {"createCalendarEvent", "Add to Calendar", "calendar.badge.plus", false},
        {"copyExtractedText", "Copy Text", "text.viewfinder", false},
        {"decodeJWT", "Decode Token", "key", false},
        {"formatJSON", "Format JSON", "curlybraces", false},
        {"generateSwiftModel", "Generate Swift Model", "swift", false},
        {"convertTimestamp", "Convert Timestamp", "clock.arrow.2.circlepath", false},
        {"cleanStackTrace", "Clean Stack Trace", "line.3.horizontal.decrease", false},
        {"openInAgent", "Send to Agent", "paperplane", false},
        {"explainError", "Explain", "lightbulb", true},
        {"smartRename", "Smart Rename", "text.cursor", false},
        {"moveToFolder", "Move to Folder", "folder.badge.plus", false},
        {"summarize", "Summarize", "text.line.first.and.arrowtriangle.forward", true},
        {"extractText", "Extract Text", "doc.plaintext", false},
        {"copy", "Copy", "doc.on.doc", false},
        {"copyURL", "Copy Link", "link", false},
        {"copyAddress", "Copy Address", "doc.on.clipboard", false},
        {"askAI", "Ask AI", "questionmark.bubble", true},
        {"describeImage", "Describe Image", "eye.trianglebadge.exclamationmark", true},
        {"searchWeb", "Search the Web", "magnifyingglass", true},
        {"quickLook", "Quick Look", "eye", false},
        {"revealInFinder", "Reveal in Finder", "folder", false},
        {"openFile", "Open", "arrow.up.forward.app", false},
        {"saveForLater", "Save for Later", "bookmark", false},
    };
    const auto catalog = ActionCatalog::standard();
    ASSERT_EQ(catalog.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].id);
        EXPECT_EQ(catalog[i]->id(), ActionID(rows[i].id));
        EXPECT_EQ(catalog[i]->title(), rows[i].title);
        EXPECT_EQ(catalog[i]->icon(), rows[i].icon);
        EXPECT_EQ(catalog[i]->sendsDataOffDevice(), rows[i].sendsData);
        EXPECT_FALSE(catalog[i]->isDestructive());
    }
    // A new list each time, so callers may own it.
    EXPECT_NE(ActionCatalog::standard().front(), catalog.front());
}

} // namespace
} // namespace tessellar

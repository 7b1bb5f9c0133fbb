#include "kit/actions/ActionEngine.h"

#include "kit/actions/ActionCatalog.h"
#include "kit/intelligence/IntelligenceGateway.h"
#include "kit/model/InboxItemJSON.h"
#include "support/ActionCases.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

namespace tessellar {
namespace {

// An action whose verdict comes from `check`, to drive the ranking.
class ProbeAction final : public DropAction {
public:
    ProbeAction(std::string id, std::function<ActionAvailability()> check, std::string title)
        : id_(std::move(id)), check_(std::move(check)), title_(std::move(title)) {}
    ActionID id() const override { return ActionID(id_); }
    std::string title() const override { return title_; }
    std::string icon() const override { return "star"; }
    ActionAvailability availability(const InboxItem&, const ActionContext&) const override {
        return check_();
    }
    ActionOutcome perform(const ActionInvocation&, const ActionContext&) const override { return {}; }

private:
    std::string id_;
    std::function<ActionAvailability()> check_;
    std::string title_;
};

std::shared_ptr<const DropAction> fixed(const std::string& id, std::optional<int> relevance,
                                        const std::string& title = "Fixed") {
    return std::make_shared<ProbeAction>(
        id,
        [relevance] {
            return relevance ? ActionAvailability::available(*relevance) : ActionAvailability::unavailable();
        },
        title);
}

// The ids in order, separated by spaces.
std::string ids(const std::vector<ActionEngine::ActionDescriptor>& descriptors) {
    std::string out;
    for (const auto& d : descriptors)
        out += (out.empty() ? "" : " ") + d.id.rawValue;
    return out;
}

// ActionIDs from names separated by spaces.
std::vector<ActionID> idList(const std::string& names) {
    std::vector<ActionID> out;
    std::istringstream in(names);
    for (std::string name; in >> name;)
        out.emplace_back(name);
    return out;
}

class ActionEngineTest : public ::testing::Test {
protected:
    std::string resolved(const ActionEngine& engine) {
        return ids(engine.resolve(item, fixture.context()).all());
    }

    ActionFixture fixture;
    InboxItem item;
};

TEST_F(ActionEngineTest, PrimaryRowHoldsAtMostFour) {
    EXPECT_TRUE(ActionEngine({fixed("a", std::nullopt)}).resolve(item, fixture.context()).isEmpty());
    EXPECT_TRUE(ActionEngine().resolve(item, fixture.context()).all().empty());
    ActionEngine engine({fixed("a", 50), fixed("b", 50), fixed("c", 50), fixed("d", 50)});
    auto resolved = engine.resolve(item, fixture.context());
    EXPECT_EQ(ids(resolved.primary), "a b c d");
    EXPECT_TRUE(resolved.secondary.empty());

    engine.registerAction(fixed("e", 50));
    resolved = engine.resolve(item, fixture.context());
    EXPECT_EQ(ids(resolved.primary), "a b c d");
    EXPECT_EQ(ids(resolved.secondary), "e");
    EXPECT_EQ(ids(resolved.all()), "a b c d e");
    EXPECT_EQ(engine.suggestedIDs(item, fixture.context()), idList("a b c d e"));
}

TEST_F(ActionEngineTest, BandsOfTenThenSuggestionThenScoreThenRegistration) {
    const ActionEngine engine({fixed("low", 72), fixed("high", 79)});
    item.suggestedActionIDs = idList("low");
    EXPECT_EQ(resolved(engine), "low high");
    item.suggestedActionIDs.clear();
    EXPECT_EQ(resolved(engine), "high low");

    // A higher band wins whatever the suggested list says.
    item.suggestedActionIDs = idList("sixtyNine");
    EXPECT_EQ(resolved(ActionEngine({fixed("sixtyNine", 69), fixed("seventyTwo", 72)})),
              "seventyTwo sixtyNine");

    // Equal scores, neither suggested: registration order. Suggested ones lead their band.
    const ActionEngine tied({fixed("openURL", 75), fixed("copyURL", 75), fixed("other", 78)});
    item.suggestedActionIDs = idList("unrelated");
    EXPECT_EQ(resolved(tied), "other openURL copyURL");
    item.suggestedActionIDs = idList("copyURL");
    EXPECT_EQ(resolved(tied), "copyURL other openURL");
}

TEST_F(ActionEngineTest, RankingHandlesRepeatsAndNegativeScores) {
    const auto descriptor = [](const char* id, int score) {
        return ActionEngine::ActionDescriptor{ActionID(id), "", "", false, false, score, false};
    };
    // A repeated suggestion counts at its first position; -5 / 10 truncates to band 0, like 5.
    EXPECT_EQ(ids(ActionEngine::rank({descriptor("x", 5), descriptor("y", -5), descriptor("z", 8)},
                                     idList("y z y"), idList("z y x"))
                      .all()),
              "y z x");
    // An id without a registration rank counts as 0.
    EXPECT_EQ(
        ids(ActionEngine::rank({descriptor("late", 50), descriptor("ghost", 50)}, {}, idList("first late"))
                .all()),
        "ghost late");
}

TEST_F(ActionEngineTest, ReRegisteringReplacesInPlace) {
    ActionEngine engine({fixed("a", 50, "First A"), fixed("b", 50)});
    engine.registerAction(fixed("a", 50, "Second A"));
    EXPECT_EQ(engine.registrationOrder(), idList("a b"));
    EXPECT_EQ(engine.action(ActionID("a"))->title(), "Second A");
    EXPECT_EQ(engine.knownActionIDs(), (std::unordered_set<ActionID>{ActionID("a"), ActionID("b")}));
    EXPECT_EQ(engine.action(ActionID("missing")), nullptr);
    const auto all = engine.resolve(item, fixture.context()).all();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].title, "Second A");
}

TEST_F(ActionEngineTest, CompletedActionsKeepTheirPlace) {
    const ActionEngine engine({fixed("a", 90), fixed("b", 80), fixed("c", 70)});
    item.completedActionIDs = idList("b neverRegistered");
    const auto all = engine.resolve(item, fixture.context()).all();
    EXPECT_EQ(ids(all), "a b c");
    EXPECT_EQ(all[1],
              (ActionEngine::ActionDescriptor{ActionID("b"), "Fixed", "star", false, false, 80, true}));
    EXPECT_FALSE(all[0].wasCompleted);
}

// Three checks that each wait for the other two can only finish when they run at the same time.
TEST_F(ActionEngineTest, ChecksRunConcurrentlyAndAFailingCheckIsNotOffered) {
    std::atomic<int> arrived = 0;
    const auto meet = [&arrived] {
        ++arrived;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (arrived < 3 && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::yield();
        return arrived >= 3 ? ActionAvailability::available(50) : ActionAvailability::unavailable();
    };
    const auto broken = []() -> ActionAvailability { throw std::runtime_error("disk on fire"); };
    const ActionEngine engine({std::make_shared<ProbeAction>("one", meet, "one"),
                               std::make_shared<ProbeAction>("broken", broken, "Broken"),
                               std::make_shared<ProbeAction>("two", meet, "two"),
                               std::make_shared<ProbeAction>("three", meet, "three")});
    EXPECT_EQ(resolved(engine), "one two three");
}

// The built-in actions in catalog order: [id, title, icon, sends data off the device] in the fixtures.
TEST(ActionCatalog, ListsTheBuiltInActionsInCatalogOrder) {
    const auto rows = testing::jsonFixture("actions-catalog.json");
    const auto catalog = ActionCatalog::standard();
    ASSERT_EQ(catalog.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& action = *catalog[i];
        EXPECT_EQ(nlohmann::json::array(
                      {action.id().rawValue, action.title(), action.icon(), action.sendsDataOffDevice()}),
                  rows[i]);
        EXPECT_FALSE(action.isDestructive()) << rows[i];
    }
    // A new list each time, so callers may own it.
    EXPECT_NE(ActionCatalog::standard().front(), catalog.front());
}

// The catalog's actions run on items of the fixture tables: history payload fields over an empty
// item, with $DIR a folder holding the files exists.pdf and notes.txt.
class CatalogTable : public ::testing::Test {
protected:
    CatalogTable() {
        std::ofstream(dir / "exists.pdf") << "x";
        std::ofstream(dir / "notes.txt") << "x";
        context.intelligence = std::make_shared<IntelligenceGateway>(IntelligenceGateway::Settings{});
        for (const auto& action : ActionCatalog::standard())
            actions[action->id().rawValue] = action;
    }
    InboxItem item(const nlohmann::json& row) const {
        std::string patch = row["item"].dump();
        for (auto at = patch.find("$DIR"); at != std::string::npos; at = patch.find("$DIR"))
            patch.replace(at, 4, dir.path().string());
        auto item = nlohmann::json::parse(item_json::payload(InboxItem{}));
        item.merge_patch(nlohmann::json::parse(patch));
        return item_json::decode(item);
    }
    const DropAction& action(const nlohmann::json& row) const {
        return *actions.at(row["action"].get<std::string>());
    }

    testing::TempDir dir;
    ActionFixture fixture;
    ActionContext context = fixture.context();
    std::map<std::string, std::shared_ptr<const DropAction>> actions;
};

// Each row: an action, an item and its relevance, null when it is not offered.
TEST_F(CatalogTable, OffersEachActionWithTheRelevanceItsRulesGive) {
    const auto table = testing::jsonFixture("actions-relevance.json");
    ASSERT_GE(table.size(), 70u);
    for (const auto& row : table) {
        const auto relevance = action(row).availability(item(row), context).relevance();
        EXPECT_EQ(relevance ? nlohmann::json(*relevance) : nlohmann::json(), row["relevance"]) << row;
    }
}

// Each row: an action, an item lacking what it needs, and the message and recoveries it fails with;
// a failing action leaves the clipboard alone.
TEST_F(CatalogTable, FailsWithTheTextOfWhatIsMissing) {
    const auto table = testing::jsonFixture("actions-failures.json");
    ASSERT_GE(table.size(), 20u);
    for (const auto& row : table) {
        const auto error = testing::thrownError([&] {
            action(row).perform({item(row), std::nullopt}, context);
        });
        std::vector<std::string> recovery;
        for (const auto each : error.recovery())
            recovery.emplace_back(TessellarError::rawValue(each));
        EXPECT_EQ(error.message(), row["message"]) << row;
        EXPECT_EQ(nlohmann::json(recovery), row.value("recovery", nlohmann::json::array())) << row;
    }
    EXPECT_EQ(fixture.pasteboard.plainText(), std::nullopt);
    EXPECT_TRUE(fixture.pasteboard.fileURLs().empty());
}

} // namespace
} // namespace tessellar

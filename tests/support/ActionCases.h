#pragma once

#include "kit/actions/DropAction.h"
#include "kit/model/TessellarError.h"
#include "support/ActionFixture.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <optional>
#include <string>

namespace tessellar::testing {

// The TessellarError a call throws; a call that returns gives an error no real one equals.
template <class Call> TessellarError thrownError(Call&& call) {
    try {
        call();
    } catch (const TessellarError& error) {
        return error;
    }
    return TessellarError("(no error)");
}

// One item run through actions against the in-memory fixture; tests that need more (a gateway,
// a reminders service) extend the context.
class ActionCase : public ::testing::Test {
protected:
    virtual ActionContext context() { return fixture.context(); }
    std::optional<int> relevance(const DropAction& action) {
        return action.availability(item, context()).relevance();
    }
    ActionOutcome perform(const DropAction& action, std::optional<std::string> value = std::nullopt) {
        return action.perform({item, std::move(value)}, context());
    }
    TessellarError failure(const DropAction& action, std::optional<std::string> value = std::nullopt) {
        return thrownError([&] { perform(action, value); });
    }
    // The relevance of `action` with the item set to each content type in turn.
    void expectRelevance(const DropAction& action,
                         std::initializer_list<std::pair<ContentType, std::optional<int>>> expected) {
        for (const auto& [type, relevance] : expected) {
            item.contentType = type;
            EXPECT_EQ(this->relevance(action), relevance) << content_type::rawValue(type);
        }
    }

    ActionFixture fixture;
    InboxItem item;
};

} // namespace tessellar::testing

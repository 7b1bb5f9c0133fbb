#pragma once

#include <optional>

namespace tessellar {

// Whether an action applies to an item, and how well. Higher relevance ranks first; the
// built-in actions use 25 to 96.
class ActionAvailability {
public:
    static ActionAvailability available(int relevance) { return ActionAvailability(relevance); }
    static ActionAvailability unavailable() { return ActionAvailability(std::nullopt); }

    bool isAvailable() const { return relevance_.has_value(); }
    // The score when available; absent when not (an available 0 still yields 0).
    std::optional<int> relevance() const { return relevance_; }

    bool operator==(const ActionAvailability&) const = default;

private:
    explicit ActionAvailability(std::optional<int> relevance) : relevance_(relevance) {}
    std::optional<int> relevance_;
};

} // namespace tessellar

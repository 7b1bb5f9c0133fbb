#pragma once

#include "kit/actions/DropAction.h"
#include "kit/actions/WorkerPool.h"

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tessellar {

// The registry of actions and the ranker that turns an item into the panel's buttons.
// Thread-safe; availability checks run in parallel on a small pool of its own.
class ActionEngine {
public:
    static constexpr std::size_t primaryLimit = 4;

    // One available action for one item: what the panel needs to draw its button.
    struct ActionDescriptor {
        ActionID id;
        std::string title;
        std::string icon;
        bool sendsDataOffDevice = false;
        bool isDestructive = false;
        int relevance = 0;
        bool wasCompleted = false;

        bool operator==(const ActionDescriptor&) const = default;
    };

    struct Resolved {
        std::vector<ActionDescriptor> primary; // at most primaryLimit
        std::vector<ActionDescriptor> secondary;

        std::vector<ActionDescriptor> all() const;
        bool isEmpty() const { return primary.empty() && secondary.empty(); }

        bool operator==(const Resolved&) const = default;
    };

    explicit ActionEngine(const std::vector<std::shared_ptr<const DropAction>>& actions = {});

    // Adds the action, or replaces the one with the same id in place (its rank stays).
    void registerAction(std::shared_ptr<const DropAction> action);
    // Absent for an id nothing is registered under.
    std::shared_ptr<const DropAction> action(const ActionID& id) const;
    std::unordered_set<ActionID> knownActionIDs() const;
    std::vector<ActionID> registrationOrder() const;

    // The available actions for the item, ranked and split into the primary row and the rest.
    Resolved resolve(const InboxItem& item, const ActionContext& context) const;
    std::vector<ActionID> suggestedIDs(const InboxItem& item, const ActionContext& context) const;

    // The ranking alone: by relevance band (tens), then the item's suggested order, then the
    // exact relevance, then registration order.
    static Resolved rank(std::vector<ActionDescriptor> descriptors, const std::vector<ActionID>& suggested,
                         const std::vector<ActionID>& registrationOrder);

private:
    mutable std::mutex mutex_;
    std::unordered_map<ActionID, std::shared_ptr<const DropAction>> actions_;
    std::vector<ActionID> registrationOrder_;
    // Shared by every resolve; mutable because resolving changes no registry state.
    mutable WorkerPool pool_;
};

} // namespace tessellar

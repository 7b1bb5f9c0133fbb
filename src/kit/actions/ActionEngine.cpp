#include "kit/actions/ActionEngine.h"

#include "kit/base/Log.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <limits>
#include <optional>
#include <thread>

namespace tessellar {
namespace {

std::size_t poolSize() {
    return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 2, 4);
}

// Position of each id in the list; a repeated id keeps its first position.
std::unordered_map<ActionID, std::int64_t> ranks(const std::vector<ActionID>& ids) {
    std::unordered_map<ActionID, std::int64_t> table;
    for (std::size_t i = 0; i < ids.size(); ++i)
        table.try_emplace(ids[i], static_cast<std::int64_t>(i));
    return table;
}

} // namespace

std::vector<ActionEngine::ActionDescriptor> ActionEngine::Resolved::all() const {
    std::vector<ActionDescriptor> everything = primary;
    everything.insert(everything.end(), secondary.begin(), secondary.end());
    return everything;
}

ActionEngine::ActionEngine(const std::vector<std::shared_ptr<const DropAction>>& actions)
    : pool_(poolSize()) {
    for (const auto& action : actions)
        registerAction(action);
}

void ActionEngine::registerAction(std::shared_ptr<const DropAction> action) {
    if (!action)
        return;
    ActionID id = action->id();
    const std::lock_guard lock(mutex_);
    if (!actions_.contains(id))
        registrationOrder_.push_back(id);
    actions_.insert_or_assign(std::move(id), std::move(action));
}

std::shared_ptr<const DropAction> ActionEngine::action(const ActionID& id) const {
    const std::lock_guard lock(mutex_);
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

std::unordered_set<ActionID> ActionEngine::knownActionIDs() const {
    const std::lock_guard lock(mutex_);
    std::unordered_set<ActionID> ids;
    for (const auto& [id, action] : actions_)
        ids.insert(id);
    return ids;
}

std::vector<ActionID> ActionEngine::registrationOrder() const {
    const std::lock_guard lock(mutex_);
    return registrationOrder_;
}

ActionEngine::Resolved ActionEngine::resolve(const InboxItem& item, const ActionContext& context) const {
    std::vector<std::shared_ptr<const DropAction>> snapshot;
    {
        const std::lock_guard lock(mutex_);
        for (const auto& id : registrationOrder_)
            if (const auto found = actions_.find(id); found != actions_.end())
                snapshot.push_back(found->second);
    }

    // Each check writes only its own slot, so the slots need no lock.
    std::vector<std::optional<ActionDescriptor>> slots(snapshot.size());
    std::vector<std::function<void()>> jobs;
    jobs.reserve(snapshot.size());
    for (std::size_t i = 0; i < snapshot.size(); ++i) {
        jobs.push_back([&, i] {
            const DropAction& action = *snapshot[i];
            std::optional<int> relevance;
            try {
                relevance = action.availability(item, context).relevance();
            } catch (const std::exception& error) {
                // An availability check must not fail; one that does is simply not offered.
                Log::error(Log::Category::actions,
                           "availability of " + action.id().rawValue + " failed: " + error.what());
            }
            if (!relevance)
                return;
            const ActionID id = action.id();
            const bool completed = std::find(item.completedActionIDs.begin(), item.completedActionIDs.end(),
                                             id) != item.completedActionIDs.end();
            slots[i] = ActionDescriptor{id,
                                        action.title(),
                                        action.icon(),
                                        action.sendsDataOffDevice(),
                                        action.isDestructive(),
                                        *relevance,
                                        completed};
        });
    }
    pool_.runAll(std::move(jobs));

    std::vector<ActionDescriptor> available;
    for (auto& slot : slots)
        if (slot)
            available.push_back(std::move(*slot));
    return rank(std::move(available), item.suggestedActionIDs, registrationOrder());
}

std::vector<ActionID> ActionEngine::suggestedIDs(const InboxItem& item, const ActionContext& context) const {
    std::vector<ActionID> ids;
    for (const auto& descriptor : resolve(item, context).all())
        ids.push_back(descriptor.id);
    return ids;
}

ActionEngine::Resolved ActionEngine::rank(std::vector<ActionDescriptor> descriptors,
                                          const std::vector<ActionID>& suggested,
                                          const std::vector<ActionID>& registrationOrder) {
    const auto suggestedRank = ranks(suggested);
    const auto registrationRank = ranks(registrationOrder);
    const auto lookup = [](const std::unordered_map<ActionID, std::int64_t>& table, const ActionID& id,
                           std::int64_t missing) {
        const auto found = table.find(id);
        return found == table.end() ? missing : found->second;
    };

    std::sort(descriptors.begin(), descriptors.end(),
              [&](const ActionDescriptor& a, const ActionDescriptor& b) {
                  const int bandA = a.relevance / 10;
                  const int bandB = b.relevance / 10;
                  if (bandA != bandB)
                      return bandA > bandB;
                  if (!suggestedRank.empty()) {
                      constexpr auto unsuggested = std::numeric_limits<std::int64_t>::max();
                      const auto rankA = lookup(suggestedRank, a.id, unsuggested);
                      const auto rankB = lookup(suggestedRank, b.id, unsuggested);
                      if (rankA != rankB)
                          return rankA < rankB;
                  }
                  if (a.relevance != b.relevance)
                      return a.relevance > b.relevance;
                  return lookup(registrationRank, a.id, 0) < lookup(registrationRank, b.id, 0);
              });

    Resolved resolved;
    const std::size_t split = std::min(primaryLimit, descriptors.size());
    resolved.primary.assign(
        std::make_move_iterator(descriptors.begin()),
        std::make_move_iterator(descriptors.begin() + static_cast<std::ptrdiff_t>(split)));
    resolved.secondary.assign(
        std::make_move_iterator(descriptors.begin() + static_cast<std::ptrdiff_t>(split)),
        std::make_move_iterator(descriptors.end()));
    return resolved;
}

} // namespace tessellar

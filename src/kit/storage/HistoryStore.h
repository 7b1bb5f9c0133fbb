#pragma once

#include "kit/base/Timestamp.h"
#include "kit/base/Uuid.h"
#include "kit/model/InboxItem.h"

#include <optional>
#include <string_view>
#include <vector>

namespace tessellar {

// The history of analysed captures. Every operation may throw TessellarError and is
// safe to call from any thread.
class HistoryStore {
public:
    virtual ~HistoryStore() = default;

    virtual void save(const InboxItem& item) = 0; // insert, or replace the row with the same id
    virtual void update(const InboxItem& item) = 0;
    virtual std::vector<InboxItem> recent(int limit) = 0;                         // newest first
    virtual std::vector<InboxItem> search(std::string_view query, int limit) = 0; // newest first
    virtual std::optional<InboxItem> item(const Uuid& id) = 0;
    virtual void deleteItem(const Uuid& id) = 0; // no error when absent
    virtual void deleteAll() = 0;
    // Removes the items created before `olderThan` and returns them, so their images can go too.
    virtual std::vector<InboxItem> deleteItems(Timestamp olderThan) = 0;
};

} // namespace tessellar

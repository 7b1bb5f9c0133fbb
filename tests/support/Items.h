#pragma once

#include "kit/model/InboxItem.h"

#include <string>

namespace tessellar::testing {

// A stored item as the history keeps it: a fresh id, a time, a type and a title.
inline InboxItem makeItem(std::string title, Timestamp createdAt, ContentType type = ContentType::plainText) {
    InboxItem item;
    item.id = Uuid::random();
    item.createdAt = createdAt;
    item.contentType = type;
    item.title = std::move(title);
    return item;
}
inline InboxItem makeItem(std::string title, double unixSeconds, ContentType type = ContentType::plainText) {
    return makeItem(std::move(title), Timestamp::fromUnix(unixSeconds), type);
}

} // namespace tessellar::testing

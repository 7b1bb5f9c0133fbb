#pragma once

#include <compare>
#include <functional>
#include <string>

namespace tessellar {

// The identifier of an action ("copyText", "createReminder" …). In JSON it is the bare string.
struct ActionID {
    std::string rawValue;

    ActionID() = default;
    explicit ActionID(std::string raw) : rawValue(std::move(raw)) {}

    auto operator<=>(const ActionID&) const = default;
};

} // namespace tessellar

template <> struct std::hash<tessellar::ActionID> {
    std::size_t operator()(const tessellar::ActionID& id) const noexcept {
        return std::hash<std::string>{}(id.rawValue);
    }
};

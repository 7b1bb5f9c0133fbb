#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tessellar::app {

// The stored shortcut keeps Mac virtual key codes and Carbon modifier bits, so preferences
// written anywhere mean the same key; X11 wants a keysym and a core modifier mask.
namespace carbon {
inline constexpr std::uint32_t command = 0x100;
inline constexpr std::uint32_t shift = 0x200;
inline constexpr std::uint32_t option = 0x800;
inline constexpr std::uint32_t control = 0x1000;
inline constexpr std::uint32_t spaceKeyCode = 49;
} // namespace carbon

// Core X11 modifier masks (X.h), repeated so this table needs no X header.
namespace xmask {
inline constexpr std::uint16_t shift = 1 << 0;
inline constexpr std::uint16_t lock = 1 << 1;
inline constexpr std::uint16_t control = 1 << 2;
inline constexpr std::uint16_t mod1 = 1 << 3; // Alt
inline constexpr std::uint16_t mod4 = 1 << 6; // Super
// The modifiers a shortcut may use; every other bit of an event's state is ignored.
inline constexpr std::uint16_t significant = shift | control | mod1 | mod4;
} // namespace xmask

struct X11KeyCombination {
    std::uint32_t keysym = 0;
    std::uint16_t modifiers = 0;
    bool operator==(const X11KeyCombination&) const = default;
};

// The keysym and mask for a stored shortcut; absent for a key code without a known key.
std::optional<X11KeyCombination> toX11(std::uint32_t macKeyCode, std::uint32_t carbonModifiers);

// Carbon bits of core X11 modifier state (Alt → Option, Super → Command).
std::uint32_t carbonModifiers(std::uint16_t x11State);

// The key's name as the menu shows it ("Space", "A", "F5"), else "Key " and the code.
std::string keyName(std::uint32_t macKeyCode);
// "⌃⌥⇧⌘" in that fixed order, for the bits present.
std::string modifierDisplayString(std::uint32_t carbonModifiers);
// The modifiers followed by the key name: "⌥Space".
std::string shortcutDisplayText(std::uint32_t macKeyCode, std::uint32_t carbonModifiers);

} // namespace tessellar::app

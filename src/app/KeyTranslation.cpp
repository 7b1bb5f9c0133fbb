#include "app/KeyTranslation.h"

#include <X11/keysym.h>
#include <array>

namespace tessellar::app {
namespace {

struct KeyEntry {
    std::uint32_t macKeyCode;
    std::uint32_t keysym;
    const char* name;
};

// Mac ANSI key codes. Letters grab their lower-case keysym: X reports the unshifted symbol.
constexpr std::array<KeyEntry, 79> keys{{
    {0, XK_a, "A"},
    {1, XK_s, "S"},
    {2, XK_d, "D"},
    {3, XK_f, "F"},
    {4, XK_h, "H"},
    {5, XK_g, "G"},
    {6, XK_z, "Z"},
    {7, XK_x, "X"},
    {8, XK_c, "C"},
    {9, XK_v, "V"},
    {11, XK_b, "B"},
    {12, XK_q, "Q"},
    {13, XK_w, "W"},
    {14, XK_e, "E"},
    {15, XK_r, "R"},
    {16, XK_y, "Y"},
    {17, XK_t, "T"},
    {31, XK_o, "O"},
    {32, XK_u, "U"},
    {34, XK_i, "I"},
    {35, XK_p, "P"},
    {37, XK_l, "L"},
    {38, XK_j, "J"},
    {40, XK_k, "K"},
    {45, XK_n, "N"},
    {46, XK_m, "M"},
    {18, XK_1, "1"},
    {19, XK_2, "2"},
    {20, XK_3, "3"},
    {21, XK_4, "4"},
    {23, XK_5, "5"},
    {22, XK_6, "6"},
    {26, XK_7, "7"},
    {28, XK_8, "8"},
    {25, XK_9, "9"},
    {29, XK_0, "0"},
    {24, XK_equal, "="},
    {27, XK_minus, "-"},
    {30, XK_bracketright, "]"},
    {33, XK_bracketleft, "["},
    {39, XK_apostrophe, "'"},
    {41, XK_semicolon, ";"},
    {42, XK_backslash, "\\"},
    {43, XK_comma, ","},
    {44, XK_slash, "/"},
    {47, XK_period, "."},
    {50, XK_grave, "`"},
    {36, XK_Return, "Return"},
    {48, XK_Tab, "Tab"},
    {49, XK_space, "Space"},
    {51, XK_BackSpace, "Delete"},
    {53, XK_Escape, "Escape"},
    {76, XK_KP_Enter, "Enter"},
    {114, XK_Insert, "Help"},
    {115, XK_Home, "Home"},
    {116, XK_Prior, "Page Up"},
    {117, XK_Delete, "Forward Delete"},
    {119, XK_End, "End"},
    {121, XK_Next, "Page Down"},
    {123, XK_Left, "\u2190"},
    {124, XK_Right, "\u2192"},
    {125, XK_Down, "\u2193"},
    {126, XK_Up, "\u2191"},
    {122, XK_F1, "F1"},
    {120, XK_F2, "F2"},
    {99, XK_F3, "F3"},
    {118, XK_F4, "F4"},
    {96, XK_F5, "F5"},
    {97, XK_F6, "F6"},
    {98, XK_F7, "F7"},
    {100, XK_F8, "F8"},
    {101, XK_F9, "F9"},
    {109, XK_F10, "F10"},
    {103, XK_F11, "F11"},
    {111, XK_F12, "F12"},
    {105, XK_F13, "F13"},
    {107, XK_F14, "F14"},
    {113, XK_F15, "F15"},
    {106, XK_F16, "F16"},
}};

const KeyEntry* find(std::uint32_t macKeyCode) {
    for (const auto& entry : keys)
        if (entry.macKeyCode == macKeyCode)
            return &entry;
    return nullptr;
}

} // namespace

std::optional<X11KeyCombination> toX11(std::uint32_t macKeyCode, std::uint32_t carbonModifiers) {
    const KeyEntry* entry = find(macKeyCode);
    if (!entry)
        return std::nullopt;
    std::uint16_t mask = 0;
    if (carbonModifiers & carbon::shift)
        mask |= xmask::shift;
    if (carbonModifiers & carbon::control)
        mask |= xmask::control;
    if (carbonModifiers & carbon::option)
        mask |= xmask::mod1;
    if (carbonModifiers & carbon::command)
        mask |= xmask::mod4;
    return X11KeyCombination{entry->keysym, mask};
}

std::uint32_t carbonModifiers(std::uint16_t x11State) {
    std::uint32_t bits = 0;
    if (x11State & xmask::shift)
        bits |= carbon::shift;
    if (x11State & xmask::control)
        bits |= carbon::control;
    if (x11State & xmask::mod1)
        bits |= carbon::option;
    if (x11State & xmask::mod4)
        bits |= carbon::command;
    return bits;
}

std::string keyName(std::uint32_t macKeyCode) {
    if (const KeyEntry* entry = find(macKeyCode))
        return entry->name;
    return "Key " + std::to_string(macKeyCode);
}

std::string modifierDisplayString(std::uint32_t bits) {
    std::string text;
    if (bits & carbon::control)
        text += "\u2303";
    if (bits & carbon::option)
        text += "\u2325";
    if (bits & carbon::shift)
        text += "\u21E7";
    if (bits & carbon::command)
        text += "\u2318";
    return text;
}

std::string shortcutDisplayText(std::uint32_t macKeyCode, std::uint32_t carbonModifiers) {
    return modifierDisplayString(carbonModifiers) + keyName(macKeyCode);
}

} // namespace tessellar::app

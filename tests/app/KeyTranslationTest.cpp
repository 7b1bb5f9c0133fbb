#include "app/KeyTranslation.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <set>

namespace tessellar::app {
namespace {

// Every Mac key code a stored shortcut may name: 47 printing keys and 32 named keys.
const std::uint32_t printingKeys[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  11, 12, 13, 14, 15, 16,
                                      17, 31, 32, 34, 35, 37, 38, 40, 45, 46, 18, 19, 20, 21, 23, 22,
                                      26, 28, 25, 29, 24, 27, 30, 33, 39, 41, 42, 43, 44, 47, 50};
const std::uint32_t namedKeys[] = {36,  48,  49,  51,  53,  76,  114, 115, 116, 117, 119,
                                   121, 123, 124, 125, 126, 122, 120, 99,  118, 96,  97,
                                   98,  100, 101, 109, 103, 111, 105, 107, 113, 106};

TEST(KeyTranslation, DefaultOptionSpaceGrabsAltSpace) {
    const auto combination = toX11(carbon::spaceKeyCode, carbon::option);
    ASSERT_TRUE(combination);
    EXPECT_EQ(combination->keysym, std::uint32_t(XK_space));
    EXPECT_EQ(combination->modifiers, xmask::mod1);
}

TEST(KeyTranslation, EachCarbonBitHasItsX11ModifierAndComesBack) {
    EXPECT_EQ(toX11(0, carbon::command)->modifiers, xmask::mod4);
    EXPECT_EQ(toX11(0, carbon::control)->modifiers, xmask::control);
    EXPECT_EQ(toX11(0, carbon::shift)->modifiers, xmask::shift);
    for (std::uint32_t bits = 0; bits < 16; ++bits) {
        const std::uint32_t carbonBits = (bits & 1 ? carbon::command : 0) | (bits & 2 ? carbon::shift : 0) |
                                         (bits & 4 ? carbon::option : 0) | (bits & 8 ? carbon::control : 0);
        // Bits outside the four modifiers (caps lock 0x400, mouse buttons) never reach the grab.
        const auto combination = toX11(49, carbonBits | 0x400 | 0x1);
        EXPECT_EQ(carbonModifiers(combination->modifiers), carbonBits) << carbonBits;
        EXPECT_EQ(combination->modifiers & ~xmask::significant, 0);
    }
    EXPECT_EQ(carbonModifiers(xmask::lock | 0x10 /* Mod2, NumLock */), 0u);
}

TEST(KeyTranslation, EveryKnownKeyCodeHasItsOwnKeysymAndName) {
    std::set<std::uint32_t> keysyms;
    for (std::uint32_t code : printingKeys) {
        ASSERT_TRUE(toX11(code, 0)) << code;
        keysyms.insert(toX11(code, 0)->keysym);
        EXPECT_EQ(keyName(code).size(), 1u) << code;
    }
    for (std::uint32_t code : namedKeys) {
        ASSERT_TRUE(toX11(code, 0)) << code;
        keysyms.insert(toX11(code, 0)->keysym);
        EXPECT_NE(keyName(code).rfind("Key ", 0), 0u) << code;
    }
    EXPECT_EQ(keysyms.size(), std::size(printingKeys) + std::size(namedKeys));
    // Letters grab the unshifted symbol; the Mac's Delete is the PC's Backspace.
    EXPECT_EQ(toX11(0, 0)->keysym, std::uint32_t(XK_a));
    EXPECT_EQ(toX11(51, 0)->keysym, std::uint32_t(XK_BackSpace));
    EXPECT_EQ(toX11(117, 0)->keysym, std::uint32_t(XK_Delete));
    EXPECT_EQ(toX11(122, 0)->keysym, std::uint32_t(XK_F1));
    EXPECT_EQ(toX11(106, 0)->keysym, std::uint32_t(XK_F16));
    EXPECT_EQ(toX11(50, 0)->keysym, std::uint32_t(XK_grave));
}

TEST(KeyTranslation, UnknownKeyCodesAreNotGrabbedAndShowTheirNumber) {
    EXPECT_FALSE(toX11(200, carbon::option));
    EXPECT_FALSE(toX11(10, carbon::option)); // the ISO section key has no ANSI entry
    EXPECT_EQ(keyName(200), "Key 200");
    EXPECT_EQ(shortcutDisplayText(200, 0), "Key 200");
}

TEST(KeyTranslation, DisplayTextPutsModifiersInFixedOrder) {
    EXPECT_EQ(shortcutDisplayText(49, carbon::option), "\u2325Space");
    EXPECT_EQ(shortcutDisplayText(0, 4352), "\u2303\u2318A");
    EXPECT_EQ(modifierDisplayString(carbon::command | carbon::shift | carbon::option | carbon::control),
              "\u2303\u2325\u21E7\u2318");
    EXPECT_EQ(shortcutDisplayText(123, carbon::control), "\u2303\u2190");
    EXPECT_EQ(modifierDisplayString(0), "");
}

} // namespace
} // namespace tessellar::app

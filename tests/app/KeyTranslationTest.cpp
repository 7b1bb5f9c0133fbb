#include "app/KeyTranslation.h"

#include "AppHarness.h"

#include <X11/keysym.h>
#include <set>

namespace tessellar::app {
namespace {

TEST(KeyTranslation, EachCarbonBitHasItsX11ModifierAndComesBack) {
    const auto altSpace = toX11(carbon::spaceKeyCode, carbon::option);
    ASSERT_TRUE(altSpace);
    EXPECT_EQ(altSpace->keysym, std::uint32_t(XK_space));
    EXPECT_EQ(altSpace->modifiers, xmask::mod1);
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

TEST(KeyTranslation, EveryKnownKeyCodeHasItsOwnKeysymAndNameUnknownOnesAreNotGrabbedAndTextIsOrdered) {
    const auto codes = testing::jsonFixture("app-mac-key-codes.json");
    std::set<std::uint32_t> keysyms;
    for (const auto& [kind, printing] : {std::pair{"printing", true}, {"named", false}})
        for (std::uint32_t code : codes[kind]) {
            ASSERT_TRUE(toX11(code, 0)) << code;
            keysyms.insert(toX11(code, 0)->keysym);
            // A printing key shows its character; a named key its name, never "Key N".
            EXPECT_TRUE(printing ? keyName(code).size() == 1 : keyName(code).rfind("Key ", 0) != 0) << code;
        }
    EXPECT_EQ(keysyms.size(), codes["printing"].size() + codes["named"].size());
    // Letters grab the unshifted symbol; the Mac's Delete is the PC's Backspace.
    const std::pair<std::uint32_t, unsigned> keys[] = {{0, XK_a},    {51, XK_BackSpace}, {117, XK_Delete},
                                                       {122, XK_F1}, {106, XK_F16},      {50, XK_grave}};
    for (const auto& [code, keysym] : keys)
        EXPECT_EQ(toX11(code, 0)->keysym, keysym) << code;

    EXPECT_FALSE(toX11(200, carbon::option));
    EXPECT_FALSE(toX11(10, carbon::option)); // the ISO section key has no ANSI entry
    EXPECT_EQ(keyName(200), "Key 200");

    // The display text puts the modifiers in a fixed order.
    EXPECT_EQ(shortcutDisplayText(49, carbon::option), "\u2325Space");
    EXPECT_EQ(shortcutDisplayText(0, 4352), "\u2303\u2318A");
    EXPECT_EQ(shortcutDisplayText(123, carbon::control), "\u2303\u2190");
    EXPECT_EQ(shortcutDisplayText(200, 0), "Key 200");
    EXPECT_EQ(modifierDisplayString(carbon::command | carbon::shift | carbon::option | carbon::control),
              "\u2303\u2325\u21E7\u2318");
    EXPECT_EQ(modifierDisplayString(0), "");
}

} // namespace
} // namespace tessellar::app

#include "app/X11KeyGrabber.h"

#include <X11/keysym.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <poll.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace tessellar::app {
namespace {

const X11KeyCombination altSpace = *toX11(carbon::spaceKeyCode, carbon::option);

// Waits up to two seconds for the grabbed combination to be pressed.
int pressesWithin(X11KeyGrabber& grabber) {
    int presses = 0;
    for (int i = 0; i < 20 && presses == 0; ++i) {
        pollfd fd{grabber.fileDescriptor(), POLLIN, 0};
        ::poll(&fd, 1, 100);
        presses += grabber.dispatch();
    }
    return presses;
}

struct X11KeyGrabberTest : ::testing::Test {
    void SetUp() override {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X server (run through tests/app/with-xvfb)";
    }
};

TEST_F(X11KeyGrabberTest, SecondClientIsToldTheKeyIsInUseFirstStillGetsPressesAndUnknownKeysFail) {
    auto first = X11KeyGrabber::open();
    auto second = X11KeyGrabber::open();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->grab(altSpace), RegistrationResult::registered());
    EXPECT_EQ(second->grab(altSpace), RegistrationResult::alreadyInUse());
    // Another combination is free for the second client.
    EXPECT_EQ(second->grab(*toX11(17, carbon::control | carbon::option)), RegistrationResult::registered());

    // With NumLock and CapsLock on, the same combination still arrives; Space without Alt is not it.
    for (auto [keys, presses] :
         {std::pair{"alt+space", 1}, {"Num_Lock Caps_Lock alt+space Num_Lock Caps_Lock", 1}, {"space", 0}}) {
        ASSERT_EQ(std::system(("xdotool key " + std::string(keys)).c_str()), 0);
        EXPECT_EQ(pressesWithin(*first), presses) << keys;
    }

    first->ungrab();
    EXPECT_EQ(second->grab(altSpace), RegistrationResult::registered());
    // A keysym no key produces cannot be grabbed; a display that is not there is no grabber.
    EXPECT_EQ(first->grab({0x10FFFFF, xmask::mod1}), RegistrationResult::failed(-1));
    EXPECT_FALSE(X11KeyGrabber::open("no-such-host:99"));
}

TEST_F(X11KeyGrabberTest, PartialGrabIsTakenBack) {
    // A foreign client holds only the CapsLock variant of Alt+Space.
    xcb_connection_t* foreign = xcb_connect(nullptr, nullptr);
    ASSERT_FALSE(xcb_connection_has_error(foreign));
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(foreign);
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, XK_space);
    ASSERT_TRUE(codes);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(foreign)).data->root;
    std::free(
        xcb_request_check(foreign, xcb_grab_key_checked(foreign, 1, root, xmask::mod1 | xmask::lock, codes[0],
                                                        XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)));

    auto grabber = X11KeyGrabber::open();
    ASSERT_TRUE(grabber);
    EXPECT_EQ(grabber->grab(altSpace), RegistrationResult::alreadyInUse());

    // Once the foreign grab is gone, nobody holds any variant: the rolled-back grabs are free.
    xcb_ungrab_key(foreign, codes[0], root, xmask::mod1 | xmask::lock);
    xcb_flush(foreign);
    std::free(codes);
    xcb_key_symbols_free(symbols);
    auto other = X11KeyGrabber::open();
    EXPECT_EQ(other->grab(altSpace), RegistrationResult::registered());
    xcb_disconnect(foreign);
}

} // namespace
} // namespace tessellar::app

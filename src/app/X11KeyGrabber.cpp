#include "app/X11KeyGrabber.h"

#include "kit/base/Log.h"

#include <X11/keysym.h>
#include <algorithm>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace tessellar::app {
namespace {

constexpr std::uint8_t badAccess = 10;

template <typename T> using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

} // namespace

std::unique_ptr<X11KeyGrabber> X11KeyGrabber::open(const std::string& display) {
    xcb_connection_t* connection = xcb_connect(display.empty() ? nullptr : display.c_str(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<X11KeyGrabber>(new X11KeyGrabber(connection));
}

X11KeyGrabber::X11KeyGrabber(xcb_connection_t* connection)
    : connection_(connection), symbols_(xcb_key_symbols_alloc(connection)),
      root_(xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root) {}

X11KeyGrabber::~X11KeyGrabber() {
    releaseGrabs();
    xcb_key_symbols_free(symbols_);
    xcb_disconnect(connection_);
}

int X11KeyGrabber::fileDescriptor() const {
    return xcb_get_file_descriptor(connection_);
}

std::uint16_t X11KeyGrabber::numLockMask() {
    XcbReply<xcb_get_modifier_mapping_reply_t> reply(
        xcb_get_modifier_mapping_reply(connection_, xcb_get_modifier_mapping(connection_), nullptr),
        &std::free);
    if (!reply)
        return 0;
    const std::unique_ptr<xcb_keycode_t, decltype(&std::free)> numLockCodes(
        xcb_key_symbols_get_keycode(symbols_, XK_Num_Lock), &std::free);
    if (!numLockCodes)
        return 0;
    const xcb_keycode_t* map = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier)
        for (int i = 0; i < perModifier; ++i)
            for (const xcb_keycode_t* code = numLockCodes.get(); *code != XCB_NO_SYMBOL; ++code)
                if (map[modifier * perModifier + i] == *code)
                    return std::uint16_t(1u << modifier);
    return 0;
}

std::vector<std::uint16_t> X11KeyGrabber::lockVariants() {
    const std::uint16_t numLock = numLockMask();
    std::vector<std::uint16_t> variants{0, XCB_MOD_MASK_LOCK};
    if (numLock) {
        variants.push_back(numLock);
        variants.push_back(std::uint16_t(numLock | XCB_MOD_MASK_LOCK));
    }
    return variants;
}

void X11KeyGrabber::releaseGrabs() {
    if (keycodes_.empty() || !combination_)
        return;
    for (std::uint8_t code : keycodes_)
        for (std::uint16_t variant : lockVariants())
            xcb_ungrab_key(connection_, code, root_, std::uint16_t(combination_->modifiers | variant));
    xcb_flush(connection_);
    keycodes_.clear();
}

void X11KeyGrabber::ungrab() {
    releaseGrabs();
    combination_.reset();
}

RegistrationResult X11KeyGrabber::grab(X11KeyCombination combination) {
    releaseGrabs();
    combination_ = combination;
    const std::unique_ptr<xcb_keycode_t, decltype(&std::free)> codes(
        xcb_key_symbols_get_keycode(symbols_, combination.keysym), &std::free);
    std::vector<std::uint8_t> wanted;
    for (const xcb_keycode_t* code = codes.get(); code && *code != XCB_NO_SYMBOL; ++code)
        if (std::find(wanted.begin(), wanted.end(), *code) == wanted.end())
            wanted.push_back(*code);
    if (wanted.empty()) {
        Log::error(Log::Category::ui, "No key on this keyboard produces the shortcut's key");
        combination_.reset();
        return RegistrationResult::failed(-1);
    }

    std::vector<xcb_void_cookie_t> cookies;
    for (std::uint8_t code : wanted)
        for (std::uint16_t variant : lockVariants())
            cookies.push_back(xcb_grab_key_checked(connection_, 1, root_,
                                                   std::uint16_t(combination.modifiers | variant), code,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    std::optional<std::uint8_t> failure;
    for (const xcb_void_cookie_t& cookie : cookies) {
        const std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(
            xcb_request_check(connection_, cookie), &std::free);
        if (error && !failure)
            failure = error->error_code;
    }
    keycodes_ = wanted;
    if (!failure)
        return RegistrationResult::registered();

    // Never keep half a grab: the variants that succeeded are ours and are released.
    releaseGrabs();
    combination_.reset();
    if (*failure == badAccess)
        return RegistrationResult::alreadyInUse();
    return RegistrationResult::failed(*failure);
}

int X11KeyGrabber::dispatch() {
    int presses = 0;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        presses += handle(event);
        std::free(event);
    }
    return presses;
}

int X11KeyGrabber::handle(void* raw) {
    auto* event = static_cast<xcb_generic_event_t*>(raw);
    switch (event->response_type & 0x7f) {
    case XCB_KEY_PRESS: {
        auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
        if (!combination_ || std::find(keycodes_.begin(), keycodes_.end(), press->detail) == keycodes_.end())
            return 0;
        // Lock keys and pointer buttons are not part of the combination.
        return (press->state & xmask::significant) == combination_->modifiers ? 1 : 0;
    }
    case XCB_MAPPING_NOTIFY: {
        auto* mapping = reinterpret_cast<xcb_mapping_notify_event_t*>(event);
        xcb_refresh_keyboard_mapping(symbols_, mapping);
        if (combination_ && mapping->request != XCB_MAPPING_POINTER) {
            const X11KeyCombination current = *combination_;
            if (grab(current).kind != RegistrationResult::Kind::registered)
                Log::error(Log::Category::ui,
                           "The shortcut could not be grabbed again after a keyboard change");
        }
        return 0;
    }
    default:
        return 0;
    }
}

} // namespace tessellar::app

#pragma once

#include "app/KeyTranslation.h"
#include "app/RegistrationResult.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct xcb_connection_t;
struct _XCBKeySymbols;

namespace tessellar::app {

// A global key grab on the X11 root window over a connection of its own, so presses arrive
// here whatever window has the focus. Grabs every keycode that produces the keysym, each
// with the four lock variants (none, NumLock, CapsLock, both), and takes back a partial grab
// when any of them fails. Holds no Qt: the owner watches fileDescriptor() and calls dispatch().
class X11KeyGrabber {
public:
    // Absent when the display cannot be opened (`display` empty means $DISPLAY).
    static std::unique_ptr<X11KeyGrabber> open(const std::string& display = {});
    ~X11KeyGrabber();
    X11KeyGrabber(const X11KeyGrabber&) = delete;
    X11KeyGrabber& operator=(const X11KeyGrabber&) = delete;

    // Replaces the current grab. BadAccess from the server (another client holds the key) is
    // alreadyInUse; any other error, or a keysym no key produces, is failed with the X error code
    // (or -1).
    RegistrationResult grab(X11KeyCombination combination);
    void ungrab();

    int fileDescriptor() const;
    // Handles every event that has arrived; returns how many presses of the grabbed combination
    // were among them. Re-grabs after a keyboard-mapping change.
    int dispatch();

private:
    explicit X11KeyGrabber(xcb_connection_t* connection);
    std::uint16_t numLockMask();
    std::vector<std::uint16_t> lockVariants();
    void releaseGrabs();
    int handle(void* event);

    xcb_connection_t* connection_;
    _XCBKeySymbols* symbols_;
    std::uint32_t root_;
    std::optional<X11KeyCombination> combination_;
    std::vector<std::uint8_t> keycodes_; // currently grabbed
};

} // namespace tessellar::app

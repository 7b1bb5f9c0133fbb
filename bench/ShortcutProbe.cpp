// Presses Alt+Space through XTest, as the keyboard would, and prints the milliseconds until a
// top-level window named "Tessellar" is mapped. The probe connects and looks up its key codes
// before the clock starts, so the figure is the app's latency, not a helper process's start-up.
//   ShortcutProbe [TIMEOUT_MS]   exit 0 and the figure; 1 when nothing was mapped in time
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <poll.h>
#include <string>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <typename T> Reply<T> owned(T* reply) {
    return Reply<T>(reply, &std::free);
}

std::optional<xcb_keycode_t> keycodeOf(xcb_connection_t* c, xcb_keysym_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto mapping = owned(
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), nullptr));
    if (!mapping)
        return std::nullopt;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    for (int code = 0; code < count; ++code)
        for (int i = 0; i < mapping->keysyms_per_keycode; ++i)
            if (keysyms[code * mapping->keysyms_per_keycode + i] == keysym)
                return xcb_keycode_t(setup->min_keycode + code);
    return std::nullopt;
}

std::string windowName(xcb_connection_t* c, xcb_window_t window) {
    const auto reply = owned(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 64), nullptr));
    if (!reply)
        return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       std::size_t(xcb_get_property_value_length(reply.get())));
}

void key(xcb_connection_t* c, std::uint8_t type, xcb_keycode_t code) {
    xcb_test_fake_input(c, type, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
}

} // namespace

int main(int argc, char** argv) {
    const int timeoutMs = argc > 1 ? std::atoi(argv[1]) : 2000;
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(nullptr, nullptr), xcb_disconnect);
    xcb_connection_t* c = connection.get();
    if (xcb_connection_has_error(c))
        return std::fputs("ShortcutProbe: no display\n", stderr), 2;
    const auto alt = keycodeOf(c, 0xffe9);   // Alt_L
    const auto space = keycodeOf(c, 0x0020); // space
    if (!alt || !space)
        return std::fputs("ShortcutProbe: no Alt or Space key in the keymap\n", stderr), 2;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); // the mask is in place

    const auto start = std::chrono::steady_clock::now();
    key(c, XCB_KEY_PRESS, *alt);
    key(c, XCB_KEY_PRESS, *space);
    key(c, XCB_KEY_RELEASE, *space);
    key(c, XCB_KEY_RELEASE, *alt);
    xcb_flush(c);
    const auto deadline = start + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        while (const auto event = owned(xcb_poll_for_event(c))) {
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
                continue;
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
            if (windowName(c, map->window) != "Tessellar")
                continue;
            const auto elapsed = std::chrono::steady_clock::now() - start;
            std::printf("%.1f\n", std::chrono::duration<double, std::milli>(elapsed).count());
            return 0;
        }
        pollfd descriptor{xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&descriptor, 1, 10);
    }
    return 1;
}

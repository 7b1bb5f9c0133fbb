// A minimal system tray host (the freedesktop XEmbed tray protocol) that starts a program and
// prints "PID MS": the program's process id and the milliseconds from its start until it asked
// the tray to dock its icon, i.e. until its tray icon was registered. It then keeps the tray
// until it is killed.   TrayProbe PROGRAM [ARGUMENTS…]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <xcb/xcb.h>

extern char** environ;

namespace {

xcb_atom_t atom(xcb_connection_t* c, const std::string& name) {
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(name.size()), name.c_str()), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return std::fputs("usage: TrayProbe PROGRAM [ARGUMENTS...]\n", stderr), 2;
    int screenNumber = 0;
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(nullptr, &screenNumber), xcb_disconnect);
    xcb_connection_t* c = connection.get();
    if (xcb_connection_has_error(c))
        return std::fputs("TrayProbe: no display\n", stderr), 2;
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const xcb_screen_t* screen = screens.data;

    const xcb_window_t tray = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, tray, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    const xcb_atom_t selection = atom(c, "_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber));
    const xcb_atom_t opcode = atom(c, "_NET_SYSTEM_TRAY_OPCODE");
    xcb_set_selection_owner(c, tray, selection, XCB_CURRENT_TIME);

    // Announce the tray, as a panel starting up does.
    xcb_client_message_event_t manager{};
    manager.response_type = XCB_CLIENT_MESSAGE;
    manager.format = 32;
    manager.window = screen->root;
    manager.type = atom(c, "MANAGER");
    manager.data.data32[0] = XCB_CURRENT_TIME;
    manager.data.data32[1] = selection;
    manager.data.data32[2] = tray;
    xcb_send_event(c, 0, screen->root, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&manager));
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); // the tray is in place

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[1], nullptr, nullptr, argv + 1, environ) != 0)
        return std::fprintf(stderr, "TrayProbe: can't start %s\n", argv[1]), 2;
    bool reported = false;
    for (;;) {
        while (const auto event = std::unique_ptr<xcb_generic_event_t, decltype(&std::free)>(
                   xcb_poll_for_event(c), &std::free)) {
            if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE || reported)
                continue;
            const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event.get());
            if (message->type == opcode && message->data.data32[1] == 0 /* SYSTEM_TRAY_REQUEST_DOCK */) {
                const std::chrono::duration<double, std::milli> elapsed =
                    std::chrono::steady_clock::now() - start;
                std::printf("%d %.1f\n", int(pid), elapsed.count());
                std::fflush(stdout);
                reported = true;
            }
        }
        if (xcb_connection_has_error(c))
            return 1;
        pollfd descriptor{xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&descriptor, 1, 100);
    }
}

// Another X client for the end-to-end test. By default it grabs Option-Space on its own
// connection and prints the outcome ("registered", "alreadyInUse" or "failed N"); with --hold it
// keeps the grab until its standard input closes. With --window it maps a window of its own,
// prints its id and keeps it until its standard input closes: the application a user switches to.
#include "app/X11KeyGrabber.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

void waitForStandardInputToClose() {
    char buffer[64];
    while (read(STDIN_FILENO, buffer, sizeof buffer) > 0)
        continue;
}

int holdWindow() {
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(nullptr, nullptr), xcb_disconnect);
    xcb_connection_t* c = connection.get();
    if (xcb_connection_has_error(c))
        return std::puts("no display"), 2;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 200, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_map_window(c, window);
    // A round trip, so the window is mapped before anyone is told its id.
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    std::printf("%u\n", window);
    std::fflush(stdout);
    waitForStandardInputToClose();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    using namespace tessellar::app;
    const std::string_view mode = argc > 1 ? argv[1] : "";
    if (mode == "--window")
        return holdWindow();
    auto grabber = X11KeyGrabber::open();
    if (!grabber)
        return std::puts("no display"), 2;
    const auto result = grabber->grab(*toX11(carbon::spaceKeyCode, carbon::option));
    using Kind = RegistrationResult::Kind;
    if (result.kind == Kind::failed)
        std::printf("failed %d\n", result.status);
    else
        std::puts(result.kind == Kind::registered ? "registered" : "alreadyInUse");
    std::fflush(stdout);
    if (mode == "--hold")
        waitForStandardInputToClose();
    return result.kind == Kind::registered ? 0 : 1;
}

// Another X client for the end-to-end test: grabs Option-Space on its own connection and prints
// the outcome ("registered", "alreadyInUse" or "failed N"). With --hold it keeps the grab until
// its standard input closes.
#include "app/X11KeyGrabber.h"

#include <cstdio>
#include <string_view>
#include <unistd.h>

int main(int argc, char** argv) {
    using namespace tessellar::app;
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
    char buffer[64];
    while (argc > 1 && std::string_view(argv[1]) == "--hold" && read(STDIN_FILENO, buffer, sizeof buffer) > 0)
        continue;
    return result.kind == Kind::registered ? 0 : 1;
}

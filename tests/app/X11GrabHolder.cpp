// Another X client for the end-to-end test: grabs Option-Space on its own connection and prints
// the outcome ("registered", "alreadyInUse" or "failed N"). With --hold it keeps the grab until
// its standard input closes.
#include "app/X11KeyGrabber.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv) {
    using namespace tessellar::app;
    auto grabber = X11KeyGrabber::open();
    if (!grabber) {
        std::puts("no display");
        return 2;
    }
    const auto result = grabber->grab(*toX11(carbon::spaceKeyCode, carbon::option));
    switch (result.kind) {
    case RegistrationResult::Kind::registered:
        std::puts("registered");
        break;
    case RegistrationResult::Kind::alreadyInUse:
        std::puts("alreadyInUse");
        break;
    case RegistrationResult::Kind::failed:
        std::printf("failed %d\n", result.status);
        break;
    }
    std::fflush(stdout);
    if (argc > 1 && std::strcmp(argv[1], "--hold") == 0) {
        char buffer[64];
        while (read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
        }
    }
    return result.kind == RegistrationResult::Kind::registered ? 0 : 1;
}

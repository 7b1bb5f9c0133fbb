#include "app/AppEnvironment.h"
#include "app/InstanceClient.h"
#include "app/SingleInstance.h"
#include "kit/base/Log.h"

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* usage = "Usage: tessellar [--toggle | FILE…]\n"
                              "\n"
                              "Starts Tessellar, or hands the request to the one already running.\n"
                              "  --toggle    show or hide the panel (bind this to a key where the desktop\n"
                              "              offers no global shortcut, as on Wayland)\n"
                              "  FILE…       analyse these files in the panel\n"
                              "  --version   print the version\n"
                              "  --help      print this help\n";

} // namespace

int main(int argc, char** argv) {
    bool toggle = false;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(usage, stdout);
            return 0;
        }
        if (argument == "--version") {
            std::printf("tessellar %s\n", TESSELLAR_VERSION);
            return 0;
        }
        if (argument == "--toggle") {
            toggle = true;
        } else if (argument.starts_with("-")) {
            std::fprintf(stderr, "tessellar: unknown option %s\n%s", argv[i], usage);
            return 2;
        } else {
            paths.emplace_back(argv[i]);
        }
    }

    // A second process only forwards: it needs no display, so it asks before opening one.
    using tessellar::app::InstanceClient;
    switch (InstanceClient::forward(toggle, paths)) {
    case InstanceClient::Outcome::delivered:
        return 0;
    case InstanceClient::Outcome::failed:
        std::fputs("tessellar: the running instance did not answer\n", stderr);
        return 1;
    case InstanceClient::Outcome::notRunning:
        break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessellar"));
    QApplication::setApplicationVersion(QStringLiteral(TESSELLAR_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tessellar.Tessellar"));
    // The app lives in the tray; closing or hiding the panel never ends it.
    QApplication::setQuitOnLastWindowClosed(false);

    tessellar::app::SingleInstance instance;
    if (!instance.claim()) {
        // Another process took the name a moment ago.
        return InstanceClient::forward(toggle, paths) == InstanceClient::Outcome::delivered ? 0 : 1;
    }

    tessellar::app::AppEnvironment environment(instance);
    environment.start();
    tessellar::Log::info(tessellar::Log::Category::ui, "Tessellar started");
    if (toggle)
        environment.showPanel();
    for (const std::string& path : paths)
        environment.analyze(QString::fromStdString(std::filesystem::absolute(path).string()));
    return app.exec();
}

#include "desktop/GioWorkspace.h"

#include "modules/gio/GlibHandles.h"
#include "support/TempDir.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace tessellar {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A private session bus and a private desktop for the whole process: one application that
// records what it was asked to open, registered as the default for text files, folders and
// https links.
class PrivateDesktop : public ::testing::Environment {
public:
    void SetUp() override {
        root = fs::temp_directory_path() / ("tessellar-gio-" + std::to_string(::getpid()));
        fs::create_directories(root / "data/applications");
        fs::create_directories(root / "config");
        launched = root / "launched";
        const fs::path recorder = root / "record";
        std::ofstream(recorder) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '"
                                << launched.string() << "'; done\n";
        fs::permissions(recorder, fs::perms::owner_all);
        std::ofstream(root / "data/applications/tessellar-test-viewer.desktop")
            << "[Desktop Entry]\nType=Application\nName=Test Viewer\nExec=" << recorder.string()
            << " %U\nMimeType=text/plain;inode/directory;x-scheme-handler/https;\n";
        std::ofstream(root / "config/mimeapps.list")
            << "[Default Applications]\ntext/plain=tessellar-test-viewer.desktop\n"
               "inode/directory=tessellar-test-viewer.desktop\n"
               "x-scheme-handler/https=tessellar-test-viewer.desktop\n";
        ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (root / "config").c_str(), 1);

        FILE* daemon = ::popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
        ASSERT_NE(daemon, nullptr);
        char line[512] = {};
        ASSERT_NE(std::fgets(line, sizeof line, daemon), nullptr) << "dbus-daemon did not start";
        busAddress = std::string(line);
        busAddress.erase(busAddress.find_last_not_of('\n') + 1);
        if (std::fgets(line, sizeof line, daemon))
            busPid = std::stoi(line);
        ::pclose(daemon);
        ::setenv("DBUS_SESSION_BUS_ADDRESS", busAddress.c_str(), 1);
    }

    void TearDown() override {
        if (busPid > 0)
            ::kill(busPid, SIGTERM);
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    static inline fs::path root;
    static inline fs::path launched;
    static inline std::string busAddress;
    static inline pid_t busPid = 0;
};

const auto* const desktop = ::testing::AddGlobalTestEnvironment(new PrivateDesktop);

// A stand-in file manager on the private bus, served from a thread of its own. It records the
// items it was asked to show, or never answers when told to stall.
class FakeFileManager {
public:
    explicit FakeFileManager(bool stalls) : stalls_(stalls), thread_([this] { serve(); }) {
        owned = owned_.get_future().get();
    }
    ~FakeFileManager() {
        g_main_loop_quit(loop_);
        thread_.join();
    }
    std::vector<std::string> shown() {
        const std::lock_guard lock(mutex_);
        return shown_;
    }

    bool owned = false;

private:
    // GDBus answers calls of methods the interface does not declare itself.
    static void call(GDBusConnection*, const char*, const char*, const char*, const char*,
                     GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
        auto* manager = static_cast<FakeFileManager*>(self);
        {
            const std::lock_guard lock(manager->mutex_);
            GVariantIter* uris = nullptr;
            const char* uri = nullptr;
            g_variant_get(parameters, "(as&s)", &uris, nullptr);
            while (g_variant_iter_next(uris, "&s", &uri))
                manager->shown_.emplace_back(uri);
            g_variant_iter_free(uris);
        }
        if (manager->stalls_)
            manager->stalled_.push_back(invocation);
        else
            g_dbus_method_invocation_return_value(invocation, nullptr);
    }

    void serve() {
        GMainContext* context = g_main_context_new();
        g_main_context_push_thread_default(context);
        loop_ = g_main_loop_new(context, FALSE);
        const glib::Object<GDBusConnection> connection(g_dbus_connection_new_for_address_sync(
            PrivateDesktop::busAddress.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr));
        GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(
            "<node><interface name='org.freedesktop.FileManager1'><method name='ShowItems'>"
            "<arg type='as' name='uris' direction='in'/><arg type='s' name='startupId' direction='in'/>"
            "</method></interface></node>",
            nullptr);
        static const GDBusInterfaceVTable vtable{call, nullptr, nullptr, {}};
        bool owns = false;
        if (connection) {
            g_dbus_connection_register_object(connection.get(), "/org/freedesktop/FileManager1",
                                              node->interfaces[0], &vtable, this, nullptr, nullptr);
            owns =
                glib::Variant(g_dbus_connection_call_sync(
                    connection.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                    "RequestName", g_variant_new("(su)", "org.freedesktop.FileManager1", 4u),
                    G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr)) != nullptr;
        }
        owned_.set_value(owns);
        g_main_loop_run(loop_);
        for (auto* invocation : stalled_)
            g_dbus_method_invocation_return_dbus_error(invocation, "org.freedesktop.DBus.Error.Failed",
                                                       "stopped");
        if (connection)
            g_dbus_connection_close_sync(connection.get(), nullptr, nullptr);
        g_dbus_node_info_unref(node);
        g_main_loop_unref(loop_);
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
    }

    bool stalls_;
    std::mutex mutex_;
    std::promise<bool> owned_;
    std::vector<std::string> shown_;
    std::vector<GDBusMethodInvocation*> stalled_;
    GMainLoop* loop_ = nullptr;
    std::thread thread_;
};

class GioWorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::error_code ignored;
        fs::remove(PrivateDesktop::launched, ignored);
        file = dir.path() / "Invoice March.txt";
        std::ofstream(file) << "Invoice";
    }

    // What the recording application was launched with, once it has run (launching is asynchronous).
    std::vector<std::string> launchedWith(std::size_t expected) {
        const auto giveUp = std::chrono::steady_clock::now() + 20s;
        std::vector<std::string> lines;
        while (std::chrono::steady_clock::now() < giveUp) {
            lines.clear();
            std::ifstream log(PrivateDesktop::launched);
            for (std::string line; std::getline(log, line);)
                lines.push_back(line);
            if (lines.size() >= expected)
                break;
            std::this_thread::sleep_for(20ms);
        }
        return lines;
    }

    testing::TempDir dir;
    fs::path file;
};

TEST_F(GioWorkspaceTest, OpensLinksAndFilesWithTheirDefaultOrAGivenApplication) {
    GioWorkspace workspace;
    EXPECT_TRUE(workspace.open(*Url::parse("https://example.com/a?b=c")));
    EXPECT_EQ(launchedWith(1), std::vector<std::string>{"https://example.com/a?b=c"});
    std::filesystem::remove(PrivateDesktop::launched);

    // No application handles this scheme: a refusal, not a hang or a throw.
    EXPECT_FALSE(workspace.open(*Url::parse("tessellar-nothing-handles-this:x")));

    // Applications are found by their identifier and open files given to them.
    EXPECT_EQ(workspace.urlForApplication("org.example.NotInstalled"), std::nullopt);
    const auto viewer = workspace.urlForApplication("tessellar-test-viewer");
    ASSERT_TRUE(viewer);
    EXPECT_EQ(viewer->filePath(), PrivateDesktop::root / "data/applications/tessellar-test-viewer.desktop");

    const Url target = Url::fromFilePath(file);
    EXPECT_TRUE(workspace.open(target, *viewer));
    const auto lines = launchedWith(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0] == target.absoluteString() || lines[0] == file.string()) << lines[0];

    EXPECT_FALSE(workspace.open(target, Url::fromFilePath(dir.path() / "missing.desktop")));
}

TEST_F(GioWorkspaceTest, RevealsThroughTheFileManagerOnTheSessionBus) {
    FakeFileManager fileManager(false);
    ASSERT_TRUE(fileManager.owned);
    GioWorkspace workspace;
    const Url target = Url::fromFilePath(file);
    EXPECT_TRUE(workspace.activateFileViewerSelecting(target));
    EXPECT_EQ(fileManager.shown(), std::vector<std::string>{target.absoluteString()});
    std::this_thread::sleep_for(200ms);
    EXPECT_FALSE(fs::exists(PrivateDesktop::launched)) << "the folder was opened as well";
}

TEST_F(GioWorkspaceTest, OpensTheFolderWhenNoFileManagerAnswers) {
    const Url target = Url::fromFilePath(file);
    const std::string folder = Url::fromFilePath(dir.path()).absoluteString();
    const auto isFolder = [&](const std::string& line) {
        return line == folder || line == dir.path().string();
    };
    {
        // Nobody owns the name.
        GioWorkspace workspace;
        EXPECT_TRUE(workspace.activateFileViewerSelecting(target));
        const auto lines = launchedWith(1);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_PRED1(isFolder, lines[0]);
    }
    {
        // A file manager that never answers is given up on after the timeout.
        FakeFileManager stalled(true);
        ASSERT_TRUE(stalled.owned);
        GioWorkspace workspace(300ms);
        EXPECT_TRUE(workspace.activateFileViewerSelecting(target));
        EXPECT_EQ(stalled.shown(), std::vector<std::string>{target.absoluteString()});
        const auto lines = launchedWith(2);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_PRED1(isFolder, lines[1]);
    }
}

} // namespace
} // namespace tessellar

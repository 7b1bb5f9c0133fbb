#include "app/AutostartEntry.h"

#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tessellar::app {
namespace {

using Status = AutostartEntry::Status;

std::string read(const std::filesystem::path& file) {
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(AutostartEntry, WritesAndRemovesTheEntryAndReadsTheStateBack) {
    testing::TempDir config;
    const auto program = config / "bin" / "tessellar";
    std::filesystem::create_directories(program.parent_path());
    std::ofstream(program) << "#!/bin/sh\n";

    AutostartEntry entry(config.path(), program);
    EXPECT_EQ(entry.file(), config / "autostart" / "org.tessellar.Tessellar.desktop");
    EXPECT_EQ(entry.status(), Status::notRegistered);
    entry.disable(); // nothing to remove is fine
    entry.enable();  // creates the autostart folder
    EXPECT_EQ(entry.status(), Status::enabled);
    const auto text = read(entry.file());
    EXPECT_TRUE(text.starts_with("[Desktop Entry]\nType=Application\n"));
    EXPECT_NE(text.find("\nExec=" + program.string() + "\n"), std::string::npos);
    entry.enable(); // twice leaves one well-formed entry
    EXPECT_EQ(read(entry.file()), text);
    EXPECT_FALSE(std::filesystem::exists(entry.file().string() + ".new"));

    // A second instance sees the first one's change: the state lives in the file only.
    AutostartEntry other(config.path(), program);
    EXPECT_TRUE(other.isEnabled());
    other.disable();
    EXPECT_EQ(entry.status(), Status::notRegistered);
}

TEST(AutostartEntry, EntriesSwitchedOffOrPointingNowhere) {
    testing::TempDir config;
    AutostartEntry entry(config.path(), "/usr/bin/true");
    std::filesystem::create_directories(entry.file().parent_path());
    const auto write = [&](const std::string& text) { std::ofstream(entry.file()) << text; };

    write("[Desktop Entry]\nType=Application\nExec=/usr/bin/true\nHidden=true\n");
    EXPECT_EQ(entry.status(), Status::notRegistered);
    write("[Desktop Entry]\nExec=/usr/bin/true --x\nX-GNOME-Autostart-enabled=false\n");
    EXPECT_EQ(entry.status(), Status::notRegistered);
    write("[Desktop Entry]\nExec=/nowhere/tessellar\n");
    EXPECT_EQ(entry.status(), Status::notFound) << "a moved build";
    write("[Desktop Entry]\nName=Tessellar\n");
    EXPECT_EQ(entry.status(), Status::notFound) << "nothing to start";
    write("[Other]\nExec=/nowhere\n[Desktop Entry]\nExec=tessellar\n");
    EXPECT_EQ(entry.status(), Status::enabled) << "a bare name is found on PATH at login";
    write("[Desktop Entry]\nExec=\"/usr/bin/true\" --hidden\n");
    EXPECT_EQ(entry.status(), Status::enabled);
}

TEST(AutostartEntry, QuotesProgramPathsThatNeedIt) {
    EXPECT_EQ(AutostartEntry::quotedForExec("/opt/tessellar/bin/tessellar"), "/opt/tessellar/bin/tessellar");
    EXPECT_EQ(AutostartEntry::quotedForExec("/home/a b/$x\"y"), "\"/home/a b/\\$x\\\"y\"");

    testing::TempDir config;
    const auto program = config / "My Apps" / "tessellar";
    std::filesystem::create_directories(program.parent_path());
    std::ofstream(program) << "";
    AutostartEntry entry(config.path(), program);
    entry.enable();
    EXPECT_EQ(entry.status(), Status::enabled) << "the quoted path is read back";
}

TEST(AutostartEntry, FailuresCarryTheSystemsReasonAndTheConfigHomeIsXdg) {
    testing::TempDir config;
    std::ofstream(config / "autostart") << "a file where the folder should be";
    AutostartEntry blocked(config.path(), "/usr/bin/true");
    EXPECT_THROW(blocked.enable(), std::filesystem::filesystem_error);
    EXPECT_EQ(blocked.status(), Status::notRegistered);

    {
        testing::ScopedEnvironment xdg("XDG_CONFIG_HOME", "/tmp/cfg");
        EXPECT_EQ(AutostartEntry::defaultConfigHome(), "/tmp/cfg");
    }
    testing::ScopedEnvironment relative("XDG_CONFIG_HOME", "relative/cfg");
    testing::ScopedEnvironment home("HOME", "/home/someone");
    EXPECT_EQ(AutostartEntry::defaultConfigHome(), "/home/someone/.config");
}

} // namespace
} // namespace tessellar::app

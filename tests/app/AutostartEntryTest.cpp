#include "app/AutostartEntry.h"

#include "AppHarness.h"
#include "support/ScopedEnvironment.h"

#include <map>

namespace tessellar::app {
namespace {

using Status = AutostartEntry::Status;
using testing::readFile;

TEST(AutostartEntry, WritesAndRemovesTheEntryAndReadsTheStateBack) {
    EXPECT_EQ(AutostartEntry::quotedForExec("/opt/tessellar/bin/tessellar"), "/opt/tessellar/bin/tessellar");
    EXPECT_EQ(AutostartEntry::quotedForExec("/home/a b/$x\"y"), "\"/home/a b/\\$x\\\"y\"");

    testing::TempDir config;
    const auto program = config / "My Apps" / "tessellar"; // a path that needs quoting
    std::filesystem::create_directories(program.parent_path());
    std::ofstream(program) << "#!/bin/sh\n";

    AutostartEntry entry(config.path(), program);
    EXPECT_EQ(entry.file(), config / "autostart" / "org.tessellar.Tessellar.desktop");
    EXPECT_EQ(entry.status(), Status::notRegistered);
    entry.disable(); // nothing to remove is fine
    entry.enable();  // creates the autostart folder
    EXPECT_EQ(entry.status(), Status::enabled) << "the quoted path is read back";
    const auto text = readFile(entry.file());
    EXPECT_TRUE(text.starts_with("[Desktop Entry]\nType=Application\n"));
    EXPECT_NE(text.find("\nExec=\"" + program.string() + "\"\n"), std::string::npos) << text;
    entry.enable(); // twice leaves one well-formed entry
    EXPECT_EQ(readFile(entry.file()), text);
    EXPECT_FALSE(std::filesystem::exists(entry.file().string() + ".new"));

    // A second instance sees the first one's change: the state lives in the file only.
    AutostartEntry other(config.path(), program);
    EXPECT_TRUE(other.isEnabled());
    other.disable();
    EXPECT_EQ(entry.status(), Status::notRegistered);
}

TEST(AutostartEntry, EntriesSwitchedOffPointingNowhereOrBlockedAndTheConfigHomeIsXdg) {
    testing::TempDir config;
    AutostartEntry entry(config.path(), "/usr/bin/true");
    std::filesystem::create_directories(entry.file().parent_path());

    const std::map<std::string, Status> statuses{{"notRegistered", Status::notRegistered},
                                                 {"enabled", Status::enabled},
                                                 {"notFound", Status::notFound}};
    for (const auto& entryCase : testing::jsonFixture("app-autostart-entries.json")) {
        std::ofstream(entry.file()) << entryCase[0].get<std::string>();
        EXPECT_EQ(entry.status(), statuses.at(entryCase[1])) << entryCase[2];
    }

    // A file where the folder should be: the system's reason comes through.
    std::filesystem::remove_all(config / "autostart");
    std::ofstream(config / "autostart") << "a file where the folder should be";
    EXPECT_THROW(entry.enable(), std::filesystem::filesystem_error);
    EXPECT_EQ(entry.status(), Status::notRegistered);

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

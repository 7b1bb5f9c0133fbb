#pragma once

#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tessellar::testing {

// Runs the real tessellar-cli with its home, settings and data in the test's own folder, no display
// and no reachable keyring, so nothing of the user's is read or written; `environment`
// ("NAME=value …") comes last and wins.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(std::filesystem::exists(cliPath())) << "build tessellar-cli first"; }

    CliOutcome run(const std::vector<std::string>& arguments, const std::string& input = "",
                   const std::string& environment = "") {
        std::ofstream(dir / "stdin", std::ios::binary) << input;
        return runFrom(dir / "stdin", arguments, environment);
    }
    CliOutcome runFrom(const std::filesystem::path& input, const std::vector<std::string>& arguments,
                       const std::string& environment = "") {
        return runCli(arguments, input, dir.path(),
                      "env -u WAYLAND_DISPLAY -u DISPLAY HOME=" + shellQuoted(dir.path().string()) +
                          " XDG_CONFIG_HOME=" + shellQuoted((dir / "config").string()) +
                          " XDG_DATA_HOME=" + shellQuoted(data.string()) +
                          " DBUS_SESSION_BUS_ADDRESS=unix:path=" + shellQuoted((dir / "no-bus").string()) +
                          " " + environment);
    }

    TempDir dir;
    std::filesystem::path data = dir / "data";
};

} // namespace tessellar::testing

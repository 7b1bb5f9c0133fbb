#include "desktop/IniKeyValueStore.h"

#include "kit/storage/SettingsFileFormat.h"
#include "support/CliRunner.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tessellar {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

TEST(IniKeyValueStore, ValuesRoundTripThroughTheFile) {
    TempDir dir;
    const fs::path file = dir / "config" / "tessellar.conf";
    {
        IniKeyValueStore store(file);
        store.setBoolean("general.launchAtLogin", true);
        store.setInteger("general.retentionDays", -7);
        store.setString("ai.model", " two\nlines \\ and = signs ");
        store.setData("general.shortcut", {'{', '}'});
        store.setString("gone", "x");
        store.remove("gone");
        store.setString("bad=key", "refused");
    }
    const IniKeyValueStore reopened(file);
    EXPECT_EQ(reopened.boolean("general.launchAtLogin"), true);
    EXPECT_EQ(reopened.integer("general.retentionDays"), -7);
    EXPECT_EQ(reopened.string("ai.model"), " two\nlines \\ and = signs ");
    EXPECT_EQ(reopened.data("general.shortcut"), (std::vector<std::uint8_t>{'{', '}'}));
    EXPECT_EQ(reopened.string("gone"), std::nullopt);
    EXPECT_EQ(reopened.string("bad"), std::nullopt);
    // Only the finished file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()), 1);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::others_read, fs::perms::none);
}

// The fixture holds unreadable values, a section header, a comment, lines without a key or an
// equals sign, a CRLF line, a repeated key and no final newline.
TEST(IniKeyValueStore, AHandEditedFileFallsBackKeyByKey) {
    TempDir dir;
    const fs::path file = dir / "tessellar.conf";
    fs::copy_file(fs::path(TESSELLAR_FIXTURES_DIR) / "desktop-hand-edited.conf", file);
    IniKeyValueStore store(file);
    EXPECT_EQ(store.integer("general.retentionDays"), std::nullopt);
    EXPECT_EQ(store.string("general.retentionDays"), "thirty");
    EXPECT_EQ(store.boolean("general.launchAtLogin"), std::nullopt);
    EXPECT_EQ(store.boolean("general.completedWelcome"), std::nullopt);
    EXPECT_EQ(store.string("ai.model"), "mistral");
    EXPECT_EQ(store.boolean("privacy.aiConsent"), true);
    EXPECT_EQ(store.integer("privacy.aiConsent"), std::nullopt);

    // Writing one key keeps every other, readable or not.
    store.setInteger("general.retentionDays", 90);
    const IniKeyValueStore reopened(file);
    EXPECT_EQ(reopened.integer("general.retentionDays"), 90);
    EXPECT_EQ(reopened.string("general.launchAtLogin"), "yes");
    EXPECT_EQ(reopened.boolean("privacy.aiConsent"), true);
    EXPECT_EQ(testing::readFile(file).find("garbage"), std::string::npos);
}

TEST(IniKeyValueStore, FollowsTheConfigHomeAndSurvivesAnUnwritableFolder) {
    {
        testing::ScopedEnvironment config("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(IniKeyValueStore::defaultPath(), fs::path("/cfg/tessellar/tessellar.conf"));
    }
    {
        testing::ScopedEnvironment config("XDG_CONFIG_HOME", "relative");
        testing::ScopedEnvironment home("HOME", "/home/ann");
        EXPECT_EQ(IniKeyValueStore::defaultPath(), fs::path("/home/ann/.config/tessellar/tessellar.conf"));
    }
    TempDir dir;
    std::ofstream(dir / "blocker") << "a file where the folder should be";
    IniKeyValueStore store(dir / "blocker" / "tessellar.conf");
    store.setBoolean("general.launchAtLogin", true); // logged, not thrown
    EXPECT_EQ(store.boolean("general.launchAtLogin"), true);
}

TEST(SettingsFileFormat, SkipsWhatIsNotASettingAndEscapesValues) {
    const auto values = settings_file::parse(
        "a=1\n\n ; note\n[x]\n b = two \nc\\=d\n\xff=\xfe\nlong=" + std::string(10, 'v') + "\\");
    EXPECT_EQ(values.at("a"), "1");
    EXPECT_EQ(values.at("b"), "two");
    EXPECT_EQ(values.at("c\\"), "d");
    EXPECT_EQ(values.at("\xff"), "\xfe");
    EXPECT_EQ(values.at("long"), std::string(10, 'v') + "\\");
    const std::map<std::string, std::string> tricky{{"k", "\tx\r\n\\ "}, {"bad\nkey", "v"}};
    const auto text = settings_file::serialize(tricky);
    EXPECT_EQ(text.find("bad"), std::string::npos);
    EXPECT_EQ(settings_file::parse(text), (std::map<std::string, std::string>{{"k", "\tx\r\n\\ "}}));
}

} // namespace
} // namespace tessellar

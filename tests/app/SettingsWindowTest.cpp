#include "app/SettingsWindow.h"

#include "AppHarness.h"
#include "app/FoldersSettingsTab.h"
#include "app/GeneralSettingsTab.h"
#include "app/IntelligenceSettingsTab.h"
#include "app/PrivacySettingsTab.h"
#include "app/ShortcutBinder.h"
#include "app/ShortcutRecorder.h"
#include "desktop/IniKeyValueStore.h"
#include "kit/base/Clock.h"
#include "kit/model/TessellarError.h"
#include "kit/storage/SQLiteHistoryStore.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace tessellar::app {
namespace {

using Shortcut = Preferences::Shortcut;

// The longer user-facing texts, exact, from a fixture.
QString text(const std::string& key) {
    static const auto texts = testing::jsonFixture("app-settings-texts.json");
    return QString::fromStdString(texts.at(key).get<std::string>());
}

// Real preferences over a settings file and an in-memory secret store, in a temporary home.
class SettingsTest : public ::testing::Test {
protected:
    testing::TempDir home;
    std::filesystem::path settingsFile = home / "tessellar.conf";
    std::shared_ptr<testing::InMemorySecretStore> secrets = std::make_shared<testing::InMemorySecretStore>();
    std::unique_ptr<Preferences> preferences;
    SettingsServices services;
    std::vector<Shortcut> registered;
    RegistrationResult nextResult = RegistrationResult::registered();

    void open() {
        preferences = std::make_unique<Preferences>(std::make_shared<IniKeyValueStore>(settingsFile),
                                                    SecureStore(secrets), home.path());
        services.preferences = preferences.get();
        services.images = ImageStore(home / "Images");
        services.autostart = AutostartEntry(home / "config", "/usr/bin/true");
    }
    void SetUp() override { open(); }
};

TEST_F(SettingsTest, AHandEditedSettingsFileShowsDefaultsAndForeverStoresZero) {
    std::ofstream(settingsFile) << "general.retentionDays=banana\ngeneral.shortcut={\"keyCode\":\"x\"}\n"
                                   "ai.providerKind=cloud\nai.baseURL=::nonsense::\nai.model=llama3\n"
                                   "some.otherTool=kept\n";
    open();
    SettingsWindow window(services);
    window.show();
    EXPECT_EQ(window.windowTitle(), "Tessellar Settings");
    QStringList tabs;
    for (int i = 0; i < window.tabs().count(); ++i)
        tabs << window.tabs().tabText(i);
    EXPECT_EQ(tabs, (QStringList{"General", "AI", "Privacy", "Folders"}));
    EXPECT_EQ(window.general().retention().currentText(), "30 days");
    EXPECT_EQ(window.general().recorder().displayText(), "\u2325Space");
    EXPECT_EQ(window.intelligence().provider().currentText(), "On this Mac only");
    EXPECT_EQ(window.intelligence().note(), text("onDeviceNote"));
    EXPECT_EQ(window.intelligence().model().text(), "llama3");
    EXPECT_EQ(window.intelligence().baseURL().text().toStdString(),
              preferences->providerBaseURL().absoluteString());

    // Choosing "Forever" stores 0 (the settings file keeps its other lines: IniKeyValueStore's rule).
    window.general().retention().setCurrentIndex(3);
    emit window.general().retention().activated(3);
    EXPECT_EQ(preferences->retentionDays(), 0);
}

TEST_F(SettingsTest, TheRecorderStoresMacKeyCodesAndReportsAClash) {
    ShortcutBinder binder(*preferences, [this](const Shortcut& shortcut) {
        registered.push_back(shortcut);
        return std::exchange(nextResult, RegistrationResult::registered());
    });
    services.binder = &binder;
    SettingsWindow window(services);
    window.show();
    auto& general = window.general();
    auto& recorder = general.recorder();

    QTest::mouseClick(&recorder, Qt::LeftButton);
    EXPECT_EQ(recorder.displayText(), "Press a key\u2026");
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier | Qt::AltModifier);
    QApplication::sendEvent(&recorder, &held);
    EXPECT_EQ(recorder.displayText(), "\u2303\u2325\u2026");
    QKeyEvent released(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier | Qt::AltModifier);
    QApplication::sendEvent(&recorder, &released);
    EXPECT_EQ(recorder.displayText(), "\u2325\u2026");
    QApplication::sendEvent(&recorder, &held);
    QTest::keyClick(&recorder, Qt::Key_K, Qt::ControlModifier | Qt::MetaModifier);
    EXPECT_FALSE(recorder.isRecording());
    EXPECT_EQ(preferences->shortcut(), (Shortcut{40, 0x1100}));
    EXPECT_EQ(recorder.displayText(), "\u2303\u2318K");
    EXPECT_EQ(general.shortcutError(), "");

    // Owned by another app: the previous one is registered again and stays stored.
    nextResult = RegistrationResult::alreadyInUse();
    recorder.startRecording();
    QTest::keyClick(&recorder, Qt::Key_F5, Qt::AltModifier);
    EXPECT_EQ(registered.back(), (Shortcut{40, 0x1100}));
    EXPECT_EQ(registered[registered.size() - 2], (Shortcut{96, 0x800}));
    EXPECT_EQ(preferences->shortcut(), (Shortcut{40, 0x1100}));
    EXPECT_EQ(general.shortcutError(), text("shortcutInUse"));
    nextResult = RegistrationResult::failed(-3);
    recorder.startRecording();
    QTest::keyClick(&recorder, Qt::Key_Space, Qt::MetaModifier);
    EXPECT_EQ(general.shortcutError(), text("shortcutRefused"));

    // Shift alone is no modifier for a global shortcut; nothing is registered.
    const auto attempts = registered.size();
    recorder.startRecording();
    QTest::keyClick(&recorder, Qt::Key_Exclam, Qt::ShiftModifier);
    EXPECT_EQ(registered.size(), attempts);
    EXPECT_EQ(general.shortcutError(), text("shortcutNeedsModifier"));

    recorder.startRecording();
    QTest::keyClick(&recorder, Qt::Key_Escape);
    EXPECT_FALSE(recorder.isRecording());
    EXPECT_EQ(registered.size(), attempts);
    recorder.startRecording();
    QTest::keyClick(&recorder, Qt::Key_Backspace);
    EXPECT_EQ(preferences->shortcut(), Shortcut::optionSpace());
    EXPECT_EQ(general.shortcutError(), "");

    services.binder = nullptr;
    recorder.startRecording();
    QTest::keyClick(&recorder, Qt::Key_Delete);
    EXPECT_EQ(general.shortcutError(), text("shortcutUnreachable"));
}

TEST(ShortcutRecorder, KeyTranslationCoversShiftedSymbolsAndFunctionKeys) {
    // Shift-2 is the 2 key; keys with no Mac key code are not recorded.
    const std::pair<int, std::optional<std::uint32_t>> keys[] = {
        {Qt::Key_A, 0},          {Qt::Key_At, 19},      {Qt::Key_F1, 122}, {Qt::Key_F16, 106},
        {Qt::Key_Backspace, 51}, {Qt::Key_Delete, 117}, {Qt::Key_F17, {}}, {Qt::Key_Eacute, {}}};
    for (const auto& [key, code] : keys)
        EXPECT_EQ(ShortcutRecorder::macKeyCode(key), code) << key;
    EXPECT_EQ(ShortcutRecorder::carbonModifiers(Qt::MetaModifier | Qt::ShiftModifier | Qt::KeypadModifier),
              0x300u);
}

TEST_F(SettingsTest, LaunchAtLoginFollowsTheAutostartFileAndUpdatesFollowTheFeed) {
    SettingsWindow window(services);
    window.show();
    auto& general = window.general();
    EXPECT_FALSE(general.launchAtLogin().isChecked());
    general.launchAtLogin().click();
    EXPECT_TRUE(std::filesystem::exists(services.autostart.file()));
    EXPECT_TRUE(preferences->launchAtLogin());
    EXPECT_EQ(general.loginItemMessage(), "");
    general.launchAtLogin().click();
    EXPECT_FALSE(std::filesystem::exists(services.autostart.file()));
    EXPECT_FALSE(preferences->launchAtLogin());

    // An entry pointing at a program that is gone.
    std::ofstream(services.autostart.file()) << "[Desktop Entry]\nExec=/gone/tessellar\n";
    general.refresh();
    EXPECT_EQ(general.loginItemMessage(), text("loginItemNotFound"));
    std::filesystem::remove(services.autostart.file());
    std::filesystem::remove_all(home / "config" / "autostart");
    std::ofstream(home / "config" / "autostart") << "a file, not a folder";
    general.refresh();
    general.launchAtLogin().click();
    EXPECT_FALSE(general.launchAtLogin().isChecked());
    EXPECT_EQ(general.loginItemMessage(), text("loginItemFailed"));

    // The updates section depends on the feed: no check for a build without an update address.
    services.version = "1.0.0";
    services.feedAddress = "https://updates.tessellar.invalid/updates/latest.json";
    SettingsWindow unconfigured(services);
    EXPECT_EQ(unconfigured.general().checkForUpdates(), nullptr);
    const auto labels = unconfigured.general().findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                            [](QLabel* label) { return label->text() == text("noUpdateAddress"); }));
    services.feedAddress = "https://example.org/updates/latest.json";
    SettingsWindow configured(services);
    ASSERT_NE(configured.general().checkForUpdates(), nullptr);
    EXPECT_EQ(configured.general().checkForUpdates()->text(), "Check for Updates\u2026");
}

TEST_F(SettingsTest, ProviderFieldsKeyAndConnectionTest) {
    int syncs = 0;
    std::atomic<bool> release = false;
    services.syncIntelligence = [&] { ++syncs; };
    services.testConnection = [&] {
        while (!release)
            std::this_thread::yield();
        throw TessellarError("The AI provider rejected the API key.");
    };
    SettingsWindow window(services);
    window.show();
    auto& tab = window.intelligence();
    tab.provider().setCurrentIndex(1);
    emit tab.provider().activated(1);
    EXPECT_EQ(preferences->providerKind(), IntelligenceGateway::ProviderKind::openAICompatible);
    EXPECT_EQ(tab.note(), text("keychainNote"));

    tab.apiKey().setText("  sk-secret  ");
    emit tab.apiKey().editingFinished();
    EXPECT_EQ(SecureStore(secrets).readAPIKey(), "sk-secret");
    tab.baseURL().setText("not a url");
    emit tab.baseURL().editingFinished();
    EXPECT_EQ(tab.baseURL().text().toStdString(), preferences->providerBaseURL().absoluteString());
    tab.baseURL().setText("http://127.0.0.1:8080/v1");
    emit tab.baseURL().editingFinished();
    EXPECT_EQ(preferences->providerBaseURL().absoluteString(), "http://127.0.0.1:8080/v1");

    // The test runs off the GUI thread: the window answers while it is in flight.
    QSignalSpy finished(&tab, &IntelligenceSettingsTab::testFinished);
    tab.testButton().click();
    EXPECT_EQ(syncs, 1);
    EXPECT_EQ(tab.testState(), IntelligenceSettingsTab::TestState::testing);
    EXPECT_FALSE(tab.testButton().isEnabled());
    tab.testButton().click(); // ignored while testing
    QCoreApplication::processEvents();
    release = true;
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(syncs, 1);
    EXPECT_EQ(tab.testState(), IntelligenceSettingsTab::TestState::failure);
    EXPECT_EQ(tab.testMessage(), "The AI provider rejected the API key.");
    EXPECT_TRUE(tab.testButton().isEnabled());

    services.testConnection = [] {};
    testing::awaitSignal(&tab, &IntelligenceSettingsTab::testFinished, [&] { tab.testButton().click(); });
    EXPECT_EQ(tab.testState(), IntelligenceSettingsTab::TestState::success);
    EXPECT_EQ(tab.testMessage(), "\u2713 Connected");
}

TEST_F(SettingsTest, PrivacyLinesConsentAndClearingHistory) {
    int syncs = 0;
    services.syncIntelligence = [&] { ++syncs; };
    services.providerName = [] { return std::string("api.example.org"); };
    SQLiteHistoryStore history((home / "history.sqlite").string());
    const auto item = testing::makeItem("kept until cleared", Clock::now());
    history.save(item);
    services.history = &history;
    services.images.store(std::vector<std::uint8_t>{1}, item.id);

    SettingsWindow window(services);
    auto& privacy = window.privacy();
    EXPECT_EQ(privacy.providerLine(), text("noProvider"));
    preferences->setProviderKind(IntelligenceGateway::ProviderKind::openAICompatible);
    preferences->setAPIKey("sk-1");
    EXPECT_EQ(privacy.providerLine(), text("providerLine"));

    preferences->setHasGrantedAIConsent(true);
    privacy.askAgain().click();
    EXPECT_FALSE(preferences->hasGrantedAIConsent());
    EXPECT_EQ(syncs, 1);

    EXPECT_EQ(privacy.clearHistory().text(), "Clear History\u2026");
    testing::awaitSignal(&privacy, &PrivacySettingsTab::cleared, [&] { privacy.clearHistory().click(); });
    EXPECT_TRUE(history.recent(10).empty());
    EXPECT_FALSE(std::filesystem::exists(services.images.directory()));
    EXPECT_EQ(privacy.clearHistory().text(), "Cleared");

    // A history that never opened: the images still go.
    services.history = nullptr;
    services.images.store(std::vector<std::uint8_t>{1}, item.id);
    SettingsWindow broken(services);
    testing::awaitSignal(&broken.privacy(), &PrivacySettingsTab::cleared,
                         [&] { broken.privacy().clearHistory().click(); });
    EXPECT_FALSE(std::filesystem::exists(services.images.directory()));
    EXPECT_TRUE(broken.privacy().didClear());
}

TEST_F(SettingsTest, FoldersAreAddedReplacedByIdAndRemoved) {
    std::vector<std::optional<std::string>> answers{"/data/Taxes 2026/", "/data/Invoices", std::nullopt};
    QStringList starts;
    services.chooseFolder = [&](const QString& start) {
        starts.append(start);
        auto answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    };
    preferences->setDestinations({});
    SettingsWindow window(services);
    auto& folders = window.folders();
    EXPECT_EQ(folders.list().count(), 0);

    folders.addFolder();
    ASSERT_EQ(preferences->destinations().size(), 1u);
    const auto id = preferences->destinations()[0].id;
    const auto bookmark = FoldersSettingsTab::bookmarkFor;
    EXPECT_EQ(preferences->destinations()[0],
              (FolderDestination{id, "Taxes 2026", "/data/Taxes 2026/", bookmark("/data/Taxes 2026/")}));
    EXPECT_EQ(folders.list().count(), 1);

    // The same id and name, a new folder.
    folders.chooseFolderForRow(0);
    EXPECT_EQ(starts.last(), "/data/Taxes 2026/") << "the chooser opens at the folder";
    EXPECT_EQ(preferences->destinations(), (std::vector{FolderDestination{id, "Taxes 2026", "/data/Invoices",
                                                                          bookmark("/data/Invoices")}}));

    folders.addFolder(); // cancelled
    EXPECT_EQ(preferences->destinations().size(), 1u);
    folders.removeRow(0);
    EXPECT_TRUE(preferences->destinations().empty());
    EXPECT_EQ(folders.list().count(), 0);
}

} // namespace
} // namespace tessellar::app

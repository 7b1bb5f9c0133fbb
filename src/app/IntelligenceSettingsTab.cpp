#include "app/IntelligenceSettingsTab.h"

#include "kit/model/TessellarError.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessellar::app {

using ProviderKind = IntelligenceGateway::ProviderKind;

IntelligenceSettingsTab::IntelligenceSettingsTab(SettingsServices& services, QWidget* parent)
    : QWidget(parent), services_(services) {
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    provider_ = new QComboBox(this);
    provider_->addItem(QStringLiteral("On this Mac only"), static_cast<int>(ProviderKind::onDevice));
    provider_->addItem(QStringLiteral("OpenAI-compatible API"),
                       static_cast<int>(ProviderKind::openAICompatible));
    connect(provider_, &QComboBox::activated, this, [this](int index) {
        services_.preferences->setProviderKind(static_cast<ProviderKind>(provider_->itemData(index).toInt()));
        showProvider();
    });
    form->addRow(QStringLiteral("Provider"), provider_);
    layout->addLayout(form);

    onDeviceNote_ =
        new QLabel(QStringLiteral("On-device mode classifies content and extracts text with no network "
                                  "access. It can\u2019t answer questions."),
                   this);
    onDeviceNote_->setWordWrap(true);
    layout->addWidget(onDeviceNote_);

    remote_ = new QWidget(this);
    auto* remoteForm = new QFormLayout(remote_);
    remoteForm->setContentsMargins(0, 0, 0, 0);
    baseURL_ = new QLineEdit(remote_);
    model_ = new QLineEdit(remote_);
    apiKey_ = new QLineEdit(remote_);
    apiKey_->setEchoMode(QLineEdit::Password);
    remoteForm->addRow(QStringLiteral("Base URL"), baseURL_);
    remoteForm->addRow(QStringLiteral("Model"), model_);
    remoteForm->addRow(QStringLiteral("API key"), apiKey_);
    keyNote_ = new QLabel(
        QStringLiteral("The key is stored in your macOS Keychain, never in a file and never in the "
                       "app\u2019s settings."),
        remote_);
    keyNote_->setWordWrap(true);
    remoteForm->addRow(keyNote_);
    layout->addWidget(remote_);

    // Text that is not an address is not stored; the field shows the stored one again.
    connect(baseURL_, &QLineEdit::editingFinished, this, [this] {
        if (const auto url = Url::parse(baseURL_->text().trimmed().toStdString()))
            services_.preferences->setProviderBaseURL(*url);
        baseURL_->setText(QString::fromStdString(services_.preferences->providerBaseURL().absoluteString()));
    });
    connect(model_, &QLineEdit::editingFinished, this,
            [this] { services_.preferences->setProviderModel(model_->text().toStdString()); });
    // The key goes to the secret store only (through the preferences, which keep no copy on disk).
    connect(apiKey_, &QLineEdit::editingFinished, this, [this] {
        if (apiKey_->text().toStdString() != services_.preferences->apiKey())
            services_.preferences->setAPIKey(apiKey_->text().toStdString());
    });

    auto* testRow = new QHBoxLayout;
    test_ = new QPushButton(QStringLiteral("Test Connection"), this);
    testResult_ = new QLabel(this);
    testResult_->setWordWrap(true);
    testRow->addWidget(test_);
    testRow->addWidget(testResult_, 1);
    layout->addLayout(testRow);
    layout->addStretch();
    connect(test_, &QPushButton::clicked, this, &IntelligenceSettingsTab::testConnection);
    refresh();
}

// Waits for a test still running; its answer is dropped with this tab.
IntelligenceSettingsTab::~IntelligenceSettingsTab() = default;

void IntelligenceSettingsTab::refresh() {
    const auto& preferences = *services_.preferences;
    provider_->setCurrentIndex(provider_->findData(static_cast<int>(preferences.providerKind())));
    baseURL_->setText(QString::fromStdString(preferences.providerBaseURL().absoluteString()));
    model_->setText(QString::fromStdString(preferences.providerModel()));
    apiKey_->setText(QString::fromStdString(preferences.apiKey()));
    showProvider();
}

void IntelligenceSettingsTab::showProvider() {
    const bool remote = services_.preferences->providerKind() == ProviderKind::openAICompatible;
    onDeviceNote_->setVisible(!remote);
    remote_->setVisible(remote);
}

QString IntelligenceSettingsTab::note() const {
    return services_.preferences->providerKind() == ProviderKind::openAICompatible ? keyNote_->text()
                                                                                   : onDeviceNote_->text();
}

QString IntelligenceSettingsTab::testMessage() const {
    return testResult_->text();
}

void IntelligenceSettingsTab::testConnection() {
    if (testState_ == TestState::testing)
        return;
    // Fields still being edited count: their values are committed first.
    emit baseURL_->editingFinished();
    emit model_->editingFinished();
    emit apiKey_->editingFinished();
    if (services_.syncIntelligence)
        services_.syncIntelligence();
    testState_ = TestState::testing;
    test_->setEnabled(false);
    testResult_->clear();
    QPointer<IntelligenceSettingsTab> tab(this);
    worker_ = std::jthread([tab, test = services_.testConnection] {
        TestState state = TestState::success;
        QString message;
        try {
            if (test)
                test();
        } catch (const TessellarError& error) {
            state = TestState::failure;
            message = QString::fromStdString(error.message());
        } catch (const std::exception& error) {
            state = TestState::failure;
            message = QString::fromUtf8(error.what());
        }
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [tab, state, message] {
                if (tab)
                    tab->finishTest(state, message);
            },
            Qt::QueuedConnection);
    });
}

void IntelligenceSettingsTab::finishTest(TestState state, const QString& message) {
    testState_ = state;
    test_->setEnabled(true);
    testResult_->setText(state == TestState::success ? QStringLiteral("\u2713 Connected") : message);
    emit testFinished();
}

} // namespace tessellar::app

#pragma once

#include "app/SettingsServices.h"

#include <QWidget>
#include <thread>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tessellar::app {

// The AI provider: on this machine only, or an OpenAI-compatible service with its key.
class IntelligenceSettingsTab : public QWidget {
    Q_OBJECT
public:
    enum class TestState { idle, testing, success, failure };

    explicit IntelligenceSettingsTab(SettingsServices& services, QWidget* parent = nullptr);
    ~IntelligenceSettingsTab() override;

    QComboBox& provider() { return *provider_; }
    QLineEdit& baseURL() { return *baseURL_; }
    QLineEdit& model() { return *model_; }
    QLineEdit& apiKey() { return *apiKey_; }
    QPushButton& testButton() { return *test_; }
    QString note() const;
    TestState testState() const { return testState_; }
    QString testMessage() const;

    void refresh();
    void testConnection();

signals:
    void testFinished();

private:
    void showProvider();
    void finishTest(TestState state, const QString& message);

    SettingsServices& services_;
    QComboBox* provider_;
    QWidget* remote_;
    QLabel* onDeviceNote_;
    QLabel* keyNote_;
    QLineEdit* baseURL_;
    QLineEdit* model_;
    QLineEdit* apiKey_;
    QPushButton* test_;
    QLabel* testResult_;
    TestState testState_ = TestState::idle;
    std::jthread worker_;
};

} // namespace tessellar::app

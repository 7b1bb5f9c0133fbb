#include "app/PrivacySettingsTab.h"

#include "kit/base/Log.h"
#include "kit/model/TessellarError.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessellar::app {
namespace {

QLabel* symbol(const QString& themeName, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(QIcon::fromTheme(themeName).pixmap(16, 16));
    return label;
}

} // namespace

PrivacySettingsTab::PrivacySettingsTab(SettingsServices& services, QWidget* parent)
    : QWidget(parent), services_(services) {
    auto* layout = new QVBoxLayout(this);
    auto* leaves = new QGroupBox(QStringLiteral("What leaves this Mac"), this);
    auto* lines = new QGridLayout(leaves);
    const QString fixed[] = {
        QStringLiteral("Text extraction, OCR, and content recognition run entirely on this Mac."),
        QStringLiteral("The clipboard is read only when you press Use Clipboard. Nothing is monitored in the "
                       "background."),
        QStringLiteral("Captured items and images are stored in a local database that only Tessellar reads."),
    };
    int row = 0;
    for (const auto& text : fixed) {
        auto* label = new QLabel(text, leaves);
        label->setWordWrap(true);
        lines->addWidget(symbol(QStringLiteral("security-high"), leaves), row, 0, Qt::AlignTop);
        lines->addWidget(label, row++, 1);
    }
    providerIcon_ = new QLabel(leaves);
    providerLine_ = new QLabel(leaves);
    providerLine_->setWordWrap(true);
    lines->addWidget(providerIcon_, row, 0, Qt::AlignTop);
    lines->addWidget(providerLine_, row, 1);
    lines->setColumnStretch(1, 1);
    layout->addWidget(leaves);

    askAgain_ = new QPushButton(QStringLiteral("Ask Again Before Sending to AI"), this);
    connect(askAgain_, &QPushButton::clicked, this, [this] {
        services_.preferences->setHasGrantedAIConsent(false);
        if (services_.syncIntelligence)
            services_.syncIntelligence();
    });
    clear_ = new QPushButton(QStringLiteral("Clear History\u2026"), this);
    connect(clear_, &QPushButton::clicked, this, &PrivacySettingsTab::clear);
    layout->addWidget(askAgain_, 0, Qt::AlignLeft);
    layout->addWidget(clear_, 0, Qt::AlignLeft);
    layout->addStretch();
    refresh();
}

PrivacySettingsTab::~PrivacySettingsTab() = default;

void PrivacySettingsTab::refresh() {
    const bool external = services_.preferences->usesExternalAI();
    providerIcon_->setPixmap(
        QIcon::fromTheme(external ? QStringLiteral("go-up") : QStringLiteral("changes-prevent"))
            .pixmap(16, 16));
    if (external) {
        const auto name = services_.providerName ? services_.providerName() : std::string("your AI provider");
        providerLine_->setText(QStringLiteral("Actions marked with \u2197 send that item\u2019s text to %1. "
                                              "You\u2019re asked before the first one.")
                                   .arg(QString::fromStdString(name)));
    } else {
        providerLine_->setText(
            QStringLiteral("No AI provider is configured, so nothing can leave this Mac."));
    }
}

QString PrivacySettingsTab::providerLine() const {
    return providerLine_->text();
}

// The images go even when the history never opened: they are the user's data too.
void PrivacySettingsTab::clear() {
    clear_->setEnabled(false);
    QPointer<PrivacySettingsTab> tab(this);
    worker_ = std::jthread([tab, history = services_.history, images = services_.images] {
        if (history) {
            try {
                history->deleteAll();
            } catch (const TessellarError& error) {
                Log::error(Log::Category::ui, "Clearing the history failed: " + error.message());
            }
        }
        images.removeAll();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [tab] {
                if (!tab)
                    return;
                tab->didClear_ = true;
                tab->clear_->setText(QStringLiteral("Cleared"));
                emit tab->cleared();
            },
            Qt::QueuedConnection);
    });
}

} // namespace tessellar::app

#include "app/PanelWindow.h"

#include "AppHarness.h"

namespace tessellar::app {
namespace {

// Sends the drag-enter and drop a real drag would deliver; the capture, when the drop was taken.
std::optional<CapturedContent> capturedBy(PanelWindow& panel, const QMimeData& mime) {
    std::optional<CapturedContent> captured;
    auto connection = QObject::connect(&panel, &PanelWindow::captureRequested,
                                       [&](const CapturedContent& content) { captured = content; });
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&panel, &enter);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    if (enter.isAccepted())
        QApplication::sendEvent(&panel, &event);
    QObject::disconnect(connection);
    EXPECT_EQ(enter.isAccepted() && event.isAccepted(), captured.has_value());
    return captured;
}

PanelActionRow row(std::string id, std::string title) {
    return {.id = std::move(id), .title = std::move(title), .subtitle = {}, .symbol = {}};
}

// Each expected text is on a visible label or button.
void expectShown(const PanelWindow& panel, const QStringList& expected) {
    QStringList texts;
    for (auto* label : panel.findChildren<QLabel*>())
        if (!label->isHidden())
            texts << label->text();
    for (auto* button : panel.findChildren<QPushButton*>())
        if (!button->isHidden() && (button->parentWidget() == &panel || !button->parentWidget()->isHidden()))
            texts << button->text();
    for (const auto& text : expected)
        EXPECT_TRUE(texts.contains(text)) << text.toStdString();
}

TEST(PanelWindow, DropsOfFilesLinksImagesAndTextBecomeCapturesAndUnusableOnesAreRefused) {
    PanelWindow panel;
    QMimeData files, link;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/Invoice 42.pdf"))});
    const auto file = capturedBy(panel, files);
    ASSERT_TRUE(file && file->fileURL);
    EXPECT_EQ(file->source, SourceType::drop);
    EXPECT_EQ(file->fileURL->filePath(), "/tmp/Invoice 42.pdf");
    link.setUrls({QUrl(QStringLiteral("https://example.com/page"))});
    const auto web = capturedBy(panel, link);
    ASSERT_TRUE(web && web->webURL);
    EXPECT_EQ(web->webURL->host(), "example.com");

    QMimeData text, html;
    text.setText(QStringLiteral("Dentist tomorrow at 3pm"));
    EXPECT_EQ(capturedBy(panel, text)->text, "Dentist tomorrow at 3pm");
    html.setHtml(QStringLiteral("<p>Call <b>Ann</b></p>"));
    EXPECT_EQ(capturedBy(panel, html)->text, "Call Ann");

    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QMimeData png, foreign, blank;
    png.setImageData(image);
    const auto picture = capturedBy(panel, png);
    ASSERT_TRUE(picture && picture->imageData);
    EXPECT_FALSE(picture->imageData->empty());

    foreign.setData(QStringLiteral("application/x-something"), "bytes");
    EXPECT_FALSE(capturedBy(panel, foreign));
    blank.setText(QStringLiteral("  \n\t "));
    EXPECT_FALSE(capturedBy(panel, blank));
}

TEST(PanelWindow, HugeDropsTakeTheirFirstItemAtOnce) {
    PanelWindow panel;
    // Which item of a drop wins is the ingestor's rule, checked with it.
    QList<QUrl> links;
    for (int i = 0; i < 10'000; ++i)
        links << QUrl(QStringLiteral("https://example.com/%1").arg(i));
    QMimeData manyLinks, longText;
    manyLinks.setUrls(links);
    const auto link = capturedBy(panel, manyLinks);
    ASSERT_TRUE(link && link->webURL);
    EXPECT_EQ(link->webURL->absoluteString(), "https://example.com/0");
    // 20 MB of text is handed on whole; the analysis, not the drop, does the work.
    longText.setText(QString(20 * 1024 * 1024, QLatin1Char('a')));
    const auto text = capturedBy(panel, longText);
    ASSERT_TRUE(text && text->text);
    EXPECT_EQ(text->text->size(), 20u * 1024 * 1024);
}

TEST(PanelWindow, KeyMapReportsIntentsByStage) {
    PanelWindow panel;
    auto* input = panel.findChild<QLineEdit*>();
    ASSERT_TRUE(input);
    QSignalSpy escape(&panel, &PanelWindow::escapeRequested),
        move(&panel, &PanelWindow::selectionMoveRequested),
        activate(&panel, &PanelWindow::activateSelectionRequested),
        typed(&panel, &PanelWindow::typedTextSubmitted),
        clipboard(&panel, &PanelWindow::useClipboardRequested),
        more(&panel, &PanelWindow::moreActionsToggled);

    QTest::keyClicks(input, QStringLiteral("Dentist tomorrow at 3pm"));
    QTest::keyClick(input, Qt::Key_Return);
    ASSERT_EQ(typed.count(), 1);
    EXPECT_EQ(typed.at(0).at(0).toString(), QStringLiteral("Dentist tomorrow at 3pm"));
    EXPECT_EQ(activate.count(), 0); // Return only runs an action when a result is shown

    PanelState result;
    result.stage = PanelState::Stage::result;
    result.actions = {row("createReminder", "Create reminder"), row("copy", "Copy")};
    panel.setState(result);
    QTest::keyClick(input, Qt::Key_Return);
    EXPECT_EQ(activate.count(), 1);
    EXPECT_EQ(typed.count(), 1);
    QTest::keyClick(input, Qt::Key_Down);
    QTest::keyClick(panel.findChild<QListWidget*>(), Qt::Key_Up);
    ASSERT_EQ(move.count(), 2);
    EXPECT_EQ(move.at(0).at(0).toInt(), 1);
    EXPECT_EQ(move.at(1).at(0).toInt(), -1);
    QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(input, Qt::Key_K, Qt::ControlModifier);
    QTest::keyClick(input, Qt::Key_Escape);
    EXPECT_EQ(clipboard.count(), 1);
    EXPECT_EQ(more.count(), 1);
    EXPECT_EQ(escape.count(), 1);
}

TEST(PanelWindow, ShowsTheFixedTexts) {
    PanelWindow panel;
    PanelState state;
    state.clipboardHint = "Invoice.pdf";
    panel.setState(state);
    expectShown(panel, {"Drop anything, or type here", "Files, screenshots, links, or text",
                        "Use Clipboard \u00B7 Invoice.pdf"});
    EXPECT_EQ(panel.findChild<QLineEdit*>()->accessibleName(), QStringLiteral("Content to analyze"));

    state.stage = PanelState::Stage::result;
    for (int i = 0; i < 10; ++i)
        state.actions.push_back(row("a" + std::to_string(i), "Action " + std::to_string(i)));
    state.actions[0].sendsData = true;
    state.actions[1].completed = true;
    state.hasMoreActions = true;
    state.error = TessellarError("Tessellar couldn\u2019t save the item.", {TessellarError::Recovery::retry});
    panel.setState(state);
    expectShown(
        panel, {"Suggested", "More actions\u2026", "\u26A0 Tessellar couldn\u2019t save the item.",
                QString::fromStdString(std::string(TessellarError::title(TessellarError::Recovery::retry)))});
    auto* list = panel.findChild<QListWidget*>();
    ASSERT_EQ(list->count(), 10);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("1  Action 0"));
    EXPECT_EQ(list->item(8)->text(), QStringLiteral("9  Action 8"));
    EXPECT_FALSE(list->item(9)->text().startsWith(QStringLiteral("10"))); // only nine rows are numbered
    EXPECT_EQ(list->item(0)->toolTip(), QStringLiteral("Sends this content to your AI provider"));
    EXPECT_EQ(list->item(0)->data(Qt::AccessibleTextRole).toString(),
              QStringLiteral("Action 0, sends content to your AI provider"));
    EXPECT_EQ(list->item(1)->data(Qt::AccessibleTextRole).toString(),
              QStringLiteral("Action 1, already run"));

    state.showsAllActions = true;
    state.stage = PanelState::Stage::consent;
    state.consentSummary = "the text of this item";
    state.consentProvider = "gpt-4o-mini";
    panel.setState(state);
    expectShown(panel, {"Leaving this Mac", "Tessellar will send the text of this item to gpt-4o-mini.",
                        "Not Now", "Send"});
}

} // namespace
} // namespace tessellar::app

#include "MainWindowSupport.h"

#include <QApplication>
#include <QMouseEvent>

#include "app/u3MainForm.h"
#include "base/Paths.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "support/TestSupport.h"
#include "textbox/uKYTbox.h"
#include "ui/app/HistoryBox.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {

void EnsureApplication() {
    if (QCoreApplication::instance()) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "orvo_ui_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: the pointing device that synthesised clicks make would outlive it.
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

void Click(QWidget* widget, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

std::string ViewText(const PageViewWidget& view) {
    const TKYTbox* box = view.Box();
    if (!box) return {};
    std::string text;
    for (const auto& p : box->AllParagraphs()) text += p->text + "\n";
    return text;
}

QPoint PointOf(const PageViewWidget& view, std::string_view words) {
    const TKYTbox* box = view.Box();
    for (std::int32_t i = 0; box && i < box->ParagraphCount(); ++i) {
        const std::size_t at = box->Paragraph(i).text.find(words);
        if (at == std::string::npos) continue;
        TKYTTextPos pos;
        pos.paraIndex = i;
        pos.charIndex = std::int32_t(at);
        pos = box->ResolvePosition(pos);
        return {pos.x + 1, pos.y + pos.height / 2};
    }
    ADD_FAILURE() << "not on the page: " << words;
    return {};
}

void MainWindowTest::SetUp() {
    EnsureApplication();
    first_ = Write("Esempio.kyt", 7);
    second_ = Write("Secondo.kyt", 3);
}

std::string MainWindowTest::Write(const std::string& name, int pages) {
    TKYTset scratch(environment_, scratchMessages_);
    SampleOptions options;
    options.pages = pages;
    options.fileName = name;
    MakeSampleHypertext(scratch, options);
    const std::string path = NameOfPath(TestDir() / name);
    EXPECT_TRUE(scratch.SaveToFile(path));
    return path;
}

std::unique_ptr<MainWindow> MainWindowTest::Open(const std::string& path,
                                                 MainWindowOptions options) {
    options.messages = &messages_;
    if (options.desktopDataHome.empty()) options.desktopDataHome = TestDir() / "desktop";
    auto window = std::make_unique<MainWindow>(environment_, settings_, shell_, options);
    CommandLine line;
    line.file = NativePath(path);
    window->Start(line);
    QApplication::processEvents();
    return window;
}

std::string MainWindowTest::ViewText(MainWindow& window) {
    return test::ViewText(window.PageView());
}

QPoint MainWindowTest::PointOf(MainWindow& window, std::string_view words) {
    return test::PointOf(window.PageView(), words);
}

std::string MainWindowTest::PageName(MainWindow& window, int page) {
    return window.Document().ObjectByKind(TOggettiHel::testoHtml, page)->Name();
}

void MainWindowTest::Preview(MainWindow& window) {
    QAction* button = window.findChild<QAction*>(QStringLiteral("EditButton"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->isChecked(), window.Rules().EditMode());
    if (window.Rules().EditMode()) button->trigger();
    ASSERT_FALSE(window.Rules().EditMode());
    EXPECT_FALSE(button->isChecked());
}

QStringList MainWindowTest::HistoryItems(MainWindow& window) {
    QStringList items;
    for (int i = 0; i < window.History().count(); ++i) items << window.History().itemText(i);
    return items;
}

QAction* MainWindowTest::ToolbarAction(MainWindow& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

}  // namespace orvo::test

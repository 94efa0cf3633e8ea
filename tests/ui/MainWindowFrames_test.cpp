// The frame set in the main window: a page split by its top bar while editing, another page in
// the new frame, typing and undo there (the tools follow the focused frame), the layout kept as the
// page's frame map across a change of page and a save (read back by orvo-cli frames), and a ".frm"
// file of the layout. Also the spelling command of the window's menu, which walks the shown page
// through the spelling dialog.
#include <stdlib.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextEdit>
#include <QTimer>

#include <fstream>
#include <iterator>

#include "MainWindowSupport.h"
#include "app/u3MainForm.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"
#include "textbox/FrameRecord.h"
#include "textbox/uKYTCornice.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTboxInput.h"
#include "ui/textbox/FrameSetWidget.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

void Mouse(QWidget& widget, QEvent::Type type, QPoint at) {
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

void Grab(QWidget& window, const char* name) {
    // Set by hand to look at the window.
    if (const char* folder = ::getenv("ORVO_FRAMES_GRAB"))
        window.grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
}

// The page "Che cos'è un ipertesto" of the sample.
constexpr int kTextPage = 3;

class MainWindowFramesTest : public MainWindowTest {};

TEST_F(MainWindowFramesTest, ASplitPageEditsInItsFramesAndKeepsItsLayout) {
    auto window = Open(first_);
    window->resize(960, 680);
    QApplication::processEvents();
    ASSERT_TRUE(window->Rules().EditMode());
    auto* widget = window->findChild<FrameSetWidget*>(QStringLiteral("FrameSet"));
    ASSERT_NE(widget, nullptr);
    TKYTframeSet& frames = widget->FrameSet();
    ASSERT_EQ(window->PageShown(), 0);
    EXPECT_EQ(widget->Views(), std::vector<PageViewWidget*>{&window->PageView()});

    // The top bar dragged down splits the page; the cover stays in the lower frame.
    Mouse(*widget, QEvent::MouseButtonPress, {300, 5});
    Mouse(*widget, QEvent::MouseMove, {300, 200});
    Mouse(*widget, QEvent::MouseButtonRelease, {300, 200});
    ASSERT_TRUE(frames.Split());
    TKYTFrame& upper = *frames.Leaves()[0];
    ASSERT_TRUE(frames.ShowPageInFrame(upper, kTextPage));
    const std::vector<PageViewWidget*> views = widget->Views();
    ASSERT_EQ(views.size(), 2u);
    PageViewWidget& top = *views[0];
    EXPECT_EQ(top.PageShown(), kTextPage);
    EXPECT_EQ(views[1]->PageShown(), 0);
    EXPECT_TRUE(top.Editable());

    // Typing in the upper frame: the tools and the Modifica menu act on its box.
    Click(top.Surface(), test::PointOf(top, "documento"));
    QApplication::processEvents();
    EXPECT_EQ(widget->FocusedView(), &top);
    Type(top.Surface(), QStringLiteral("ZQ"));
    EXPECT_THAT(test::ViewText(top), HasSubstr("ZQ"));
    EXPECT_THAT(test::ViewText(*views[1]), Not(HasSubstr("ZQ")));
    QApplication::processEvents();
    window->findChild<QAction*>(QStringLiteral("MIEditUndo"))->trigger();
    EXPECT_THAT(test::ViewText(top), Not(HasSubstr("ZQ")));
    // The undo leaves what it put back selected: a click outside it, then one where the
    // caret goes.
    Click(top.Surface(), test::PointOf(top, "ipertesto"));
    Click(top.Surface(), test::PointOf(top, "documento"));
    Type(top.Surface(), QStringLiteral("WK"));
    QApplication::processEvents();
    Grab(*window, "main-frames-split");

    // The layout: a .frm file, and the page's frame map once another page was shown.
    const std::string file = (TestDir() / "due.frm").string();
    ASSERT_TRUE(widget->SaveLayoutTo(file));
    std::ifstream in(file, std::ios::binary);
    Result<FrameNode> tree = ReadFrameLayout(std::string(std::istreambuf_iterator<char>(in), {}));
    ASSERT_TRUE(tree.ok());
    ASSERT_EQ(tree->children.size(), 2u);
    EXPECT_EQ(tree->children[0].record.Page(), kTextPage);
    EXPECT_EQ(tree->children[1].record.Page(), 0);

    window->Rules().GoToPage(1);
    EXPECT_FALSE(frames.Split());
    window->Rules().GoToPage(0);
    ASSERT_TRUE(frames.Split());
    ASSERT_EQ(widget->Views().size(), 2u);
    EXPECT_EQ(widget->Views()[0]->PageShown(), kTextPage);
    EXPECT_THAT(test::ViewText(*widget->Views()[0]),
                HasSubstr("un WKdocumento"));  // committed on leaving

    ASSERT_TRUE(window->Rules().FileSave());
    EXPECT_TRUE(window->close());
    window.reset();
    const ProgramRun map = RunOrvoCli({"frames", first_, "0"});
    ASSERT_EQ(map.status, 0) << map.err;
    EXPECT_THAT(map.out, HasSubstr("\"page\": 3"));
    const ProgramRun markup = RunOrvoCli({"markup", first_, "3"});
    ASSERT_EQ(markup.status, 0) << markup.err;
    EXPECT_THAT(markup.out, HasSubstr("un WKdocumento"));
    EXPECT_THAT(markup.out, Not(HasSubstr("ZQ")));
}

}  // namespace
}  // namespace orvo::test

namespace orvo::test {
namespace {

// "&Controllo ortografia pagina..." from the main window's menu: the spelling dialog comes up
// on the shown page with a word the Italian dictionary does not know.
TEST_F(MainWindowFramesTest, TheSpellPageCommandOpensTheDialogOnTheShownPage) {
    auto window = Open(first_);
    QAction* command = window->findChild<QAction*>(QStringLiteral("MIToolsSpellPage"));
    ASSERT_NE(command, nullptr);
    QString misspelt;
    bool shown = false;
    QTimer::singleShot(200, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        shown = modal && modal->objectName() == QStringLiteral("QzSpellerDialog");
        if (auto* word =
                modal ? modal->findChild<QTextEdit*>(QStringLiteral("Misspelling")) : nullptr)
            misspelt = word->toPlainText();
        if (modal) modal->close();
    });
    command->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(misspelt.isEmpty());
}

}  // namespace
}  // namespace orvo::test

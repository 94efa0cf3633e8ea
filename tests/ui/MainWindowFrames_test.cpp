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
#include "app/LinkWindowRules.h"
#include "app/u3MainForm.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "model/ObjectRecord.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
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

// The window at 960 x 680 with its page split by the top bar dragged down 195 pixels (the
// page shown stays in the lower frame); its frame-set widget.
FrameSetWidget* SplitByTheTopBar(MainWindow& window) {
    window.resize(960, 680);
    QApplication::processEvents();
    auto* widget = window.findChild<FrameSetWidget*>(QStringLiteral("FrameSet"));
    if (!widget) return nullptr;
    Mouse(*widget, QEvent::MouseButtonPress, {300, 5});
    Mouse(*widget, QEvent::MouseMove, {300, 200});
    Mouse(*widget, QEvent::MouseButtonRelease, {300, 200});
    return widget;
}

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

// A save while the split page is still shown stores its layout: the frame map is written
// with the pages the frames show, not only when the page is left.
TEST_F(MainWindowFramesTest, ASaveWithTheSplitPageShownStoresItsLayout) {
    auto window = Open(first_);
    FrameSetWidget* widget = SplitByTheTopBar(*window);
    ASSERT_NE(widget, nullptr);
    TKYTframeSet& frames = widget->FrameSet();
    ASSERT_TRUE(frames.Split());
    ASSERT_TRUE(frames.ShowPageInFrame(*frames.Leaves()[0], kTextPage));
    ASSERT_TRUE(window->Rules().FileSave());
    // Still split and showing the same pages after the save.
    ASSERT_TRUE(frames.Split());
    EXPECT_EQ(widget->Views()[0]->PageShown(), kTextPage);
    EXPECT_TRUE(window->close());
    window.reset();
    const ProgramRun map = RunOrvoCli({"frames", first_, "0"});
    ASSERT_EQ(map.status, 0) << map.err;
    EXPECT_THAT(map.out, HasSubstr("\"page\": 3"));
    EXPECT_THAT(map.out, HasSubstr("\"page\": 0"));
}

// The split page's layout saved to a ".frm" file and loaded into a page just added: the new
// page shows the two frames and keeps them as its frame map once saved.
TEST_F(MainWindowFramesTest, ALayoutFileLoadsIntoANewPage) {
    auto window = Open(first_);
    FrameSetWidget* widget = SplitByTheTopBar(*window);
    ASSERT_NE(widget, nullptr);
    TKYTframeSet& frames = widget->FrameSet();
    ASSERT_TRUE(frames.ShowPageInFrame(*frames.Leaves()[0], kTextPage));
    const std::string file = (TestDir() / "nuova.frm").string();
    ASSERT_TRUE(widget->SaveLayoutTo(file));

    const std::int32_t page = AddNewEmptyPage(window->Document());
    window->Rules().GoToPage(page);
    ASSERT_EQ(window->PageShown(), page);
    ASSERT_FALSE(frames.Split());
    ASSERT_TRUE(widget->LoadLayoutFrom(file, false));
    ASSERT_TRUE(frames.Split());
    ASSERT_EQ(widget->Views().size(), 2u);
    EXPECT_EQ(widget->Views()[0]->PageShown(), kTextPage);
    EXPECT_EQ(widget->Views()[1]->PageShown(), 0);
    EXPECT_EQ(frames.MainPageNumber(), page);
    Grab(*window, "main-frames-new-page");
    ASSERT_TRUE(window->Rules().FileSave());
    EXPECT_TRUE(window->close());
    window.reset();
    const ProgramRun map = RunOrvoCli({"frames", first_, std::to_string(page)});
    ASSERT_EQ(map.status, 0) << map.err;
    EXPECT_THAT(map.out, HasSubstr("\"page\": 3"));
    EXPECT_THAT(map.out, HasSubstr("\"page\": 0"));
    EXPECT_TRUE(messages_.Shown().empty());
}

std::int32_t AddSpecialLink(TKYTset& set, int action, std::string_view name,
                            std::int32_t targetPage) {
    auto link = NewObjectOfKind(TOggettiHel::speclink, &set);
    link->Clear();
    link->TakeIntoUse();
    RecordView record = link->View();
    record.SetU8(kRecSubtype, 1);
    record.SetI32(kSpecAnchor, -1);
    record.SetI32(kSpecTarget, MakeCode(TOggettiHel::testoHtml, targetPage));
    record.SetU8(kSpecFrame, 0);
    record.SetU8(kSpecAction, std::uint8_t(action));
    record.SetPStr(kSpecName, name);
    return MakeCode(TOggettiHel::speclink, set.Register(std::move(link), -1));
}

void AppendLink(TKYTset& set, int page, std::int32_t code, std::string_view words) {
    TKYToggetto* object = set.ObjectByKind(TOggettiHel::testoHtml, page);
    std::string text = *object->ContentBytes();
    if (!text.empty() && text.back() == '\0') text.pop_back();
    object->SetContent(text + "<Z S0 ><$" + Hex8(std::uint32_t(code)) + ">" + std::string(words) +
                       "<%> " + '\0');
}

// Browsing a split page: a link in any frame is followed. A special link to the frame it was
// clicked in shows its page there, one naming a frame shows it in that frame, and a page link
// shows its page in the window, as one in a page not split does.
TEST_F(MainWindowFramesTest, LinksInEveryFrameAreFollowedWhileBrowsing) {
    const std::string path = NameOfPath(TestDir() / "Riquadri.kyt");
    {
        TKYTset set(environment_, scratchMessages_);
        SampleOptions options;
        options.pages = 9;
        options.fileName = "Riquadri.kyt";
        MakeSampleHypertext(set, options);
        AppendLink(set, kTextPage, AddSpecialLink(set, 1, "basso", 6), "Nel riquadro");
        AppendLink(set, kTextPage, AddSpecialLink(set, 0, "", 5), "Vai qui");
        AppendLink(set, 6, MakeCode(TOggettiHel::testoHtml, 2), "Alla due");
        ASSERT_TRUE(set.SaveToFile(path));
    }
    auto window = Open(path);
    FrameSetWidget* widget = SplitByTheTopBar(*window);
    ASSERT_NE(widget, nullptr);
    TKYTframeSet& frames = widget->FrameSet();
    ASSERT_TRUE(frames.ShowPageInFrame(*frames.Leaves()[0], kTextPage));
    frames.Leaves()[1]->record.SetName("basso");
    Preview(*window);
    ASSERT_TRUE(frames.Split());
    const std::vector<PageViewWidget*> views = widget->Views();
    ASSERT_EQ(views.size(), 2u);
    ASSERT_EQ(views[0]->PageShown(), kTextPage);
    ASSERT_FALSE(views[0]->Editable());

    Click(views[0]->Surface(), test::PointOf(*views[0], "Nel riquadro"));
    QApplication::processEvents();
    EXPECT_EQ(views[0]->PageShown(), kTextPage);
    EXPECT_EQ(views[1]->PageShown(), 6);
    Click(views[0]->Surface(), test::PointOf(*views[0], "Vai qui"));
    QApplication::processEvents();
    EXPECT_EQ(views[0]->PageShown(), 5);
    EXPECT_EQ(views[1]->PageShown(), 6);
    EXPECT_EQ(window->PageShown(), 0);
    Grab(*window, "main-frames-links");

    Click(views[1]->Surface(), test::PointOf(*views[1], "Alla due"));
    QApplication::processEvents();
    EXPECT_EQ(window->PageShown(), 2);
    EXPECT_FALSE(frames.Split());
    EXPECT_TRUE(messages_.Shown().empty());
}

}  // namespace
}  // namespace orvo::test

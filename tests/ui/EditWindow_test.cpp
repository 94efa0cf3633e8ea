// Editing in the main window, offscreen: a person's path from the edit button to the saved
// file read back by orvo-cli markup, the caret kept across preview and edit, a page committed
// when another is shown, the undo drop-down, and the system clipboard with the program's own
// formats, plain text and RTF read back by pandoc.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QToolBar>

#include <fstream>

#include "MainWindowSupport.h"
#include "app/u3MainForm.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/IClipboard.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTbox.h"
#include "ui/QtConvert.h"
#include "ui/app/EditTools.h"
#include "ui/textbox/PageViewWidget.h"
#include "ui/textbox/QtClipboard.h"

namespace orvo::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

void Key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
         const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) Key(widget, c.toUpper().unicode(), Qt::NoModifier, QString(c));
}

void DoubleClick(QWidget* widget, QPoint at) {
    Click(widget, at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &twice);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

// The point just after `words` on the page shown.
QPoint After(const PageViewWidget& view, std::string_view words) {
    const TKYTbox* box = view.Box();
    for (std::int32_t i = 0; box && i < box->ParagraphCount(); ++i) {
        const std::size_t at = box->Paragraph(i).text.find(words);
        if (at == std::string::npos) continue;
        TKYTTextPos pos;
        pos.paraIndex = i;
        pos.charIndex = std::int32_t(at + words.size());
        pos = box->ResolvePosition(pos);
        return {pos.x, pos.y + pos.height / 2};
    }
    ADD_FAILURE() << "not on the page: " << words;
    return {};
}

std::pair<std::int32_t, std::int32_t> CaretOf(PageViewWidget& view) {
    const TKYTTextPos p = view.Input()->Caret().Pos();
    return {p.paraIndex, p.charIndex};
}

class EditWindowTest : public MainWindowTest {
protected:
    // The window on the sample, switched to edit mode with the edit button.
    std::unique_ptr<MainWindow> OpenForEditing() {
        auto window = Open(first_);
        Preview(*window);
        window->findChild<QAction*>(QStringLiteral("EditButton"))->trigger();
        QApplication::processEvents();
        EXPECT_TRUE(window->Rules().EditMode());
        EXPECT_TRUE(window->PageView().Editable());
        return window;
    }
};

TEST_F(EditWindowTest, APersonTypesBoldsUndoesAndSavesWithCtrlS) {
    auto window = OpenForEditing();
    PageViewWidget& view = window->PageView();
    QWidget* surface = view.Surface();
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(window->findChild<QToolBar*>(QStringLiteral("TBFormato"))->isVisible());
    EXPECT_TRUE(window->findChild<QToolBar*>(QStringLiteral("TBRighello"))->isVisible());

    // A click after a word, a sentence typed there.
    Click(surface, After(view, "Questa \xE8 una guida"));
    Type(surface, QStringLiteral(" rapida e perch\u00E9 chiara"));
    EXPECT_THAT(ViewText(*window), HasSubstr("una guida rapida e perch\xE9 chiara di esempio"));
    EXPECT_TRUE(view.Input()->Caret().BarVisible());

    // "rapida" made bold with the toolbar: the button shows the bold of the selection.
    DoubleClick(surface, After(view, "guida rap"));
    ASSERT_TRUE(view.Input()->SelectionPresent());
    QApplication::processEvents();  // the tools follow the box from the event loop
    QAction* bold = window->findChild<QAction*>(QStringLiteral("BGrassetto"));
    ASSERT_NE(bold, nullptr);
    EXPECT_FALSE(bold->isChecked());
    bold->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(bold->isChecked());

    // A word typed at the end of the sentence, then taken back with the undo button.
    Click(surface, After(view, "perch\xE9 chiara"));
    Type(surface, QStringLiteral(" sbagliata"));
    QApplication::processEvents();  // the tools follow the box from the event loop
    EXPECT_THAT(ViewText(*window), HasSubstr("chiara sbagliata di"));
    auto* undo = window->findChild<QWidget*>(QStringLiteral("BUndo"));
    ASSERT_NE(undo, nullptr);
    ASSERT_TRUE(undo->isEnabled());
    Click(undo, undo->rect().center());
    EXPECT_THAT(ViewText(*window), Not(HasSubstr("sbagliata")));
    EXPECT_THAT(ViewText(*window), HasSubstr("guida rapida e perch\xE9 chiara di"));
    EXPECT_TRUE(window->Rules().DocumentChanged());

    // Ctrl+S saves (the shortcut of "&Salva tutto"), then the window closes without asking.
    Key(surface, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(window->Rules().DocumentChanged());
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(messages_.Shown().empty()) << messages_.Shown()[0].text;
    window.reset();

    const ProgramRun markup = RunOrvoCli({"markup", first_, "0"});
    ASSERT_EQ(markup.status, 0) << markup.err;
    EXPECT_THAT(markup.out,
                HasSubstr("una guida <Y y1 >rapida <Y >e perch\xC3\xA9 chiara di esempio"));
    EXPECT_THAT(markup.out, Not(HasSubstr("sbagliata")));
}

TEST_F(EditWindowTest, PreviewAndEditKeepTheCaretAndAnotherPageCommitsTheEdits) {
    auto window = OpenForEditing();
    PageViewWidget& view = window->PageView();
    QWidget* surface = view.Surface();
    QAction* editButton = window->findChild<QAction*>(QStringLiteral("EditButton"));
    Click(surface, After(view, "Benvenuti"));
    Key(surface, Qt::Key_Right, Qt::ShiftModifier);
    Key(surface, Qt::Key_Right, Qt::ShiftModifier);
    const auto caret = CaretOf(view);
    const auto [selStart, selEnd] = view.Input()->SelectionRange();

    // Preview: the caret is hidden, keys type nothing, the toolbars go.
    editButton->trigger();
    EXPECT_FALSE(view.Editable());
    EXPECT_FALSE(window->findChild<QToolBar*>(QStringLiteral("TBFormato"))->isVisible());
    Type(surface, QStringLiteral("xyz"));
    EXPECT_THAT(ViewText(*window), Not(HasSubstr("xyz")));

    // Edit again: the same selection, and typing replaces it.
    editButton->trigger();
    ASSERT_TRUE(view.Editable());
    ASSERT_TRUE(view.Input()->SelectionPresent());
    const auto [againStart, againEnd] = view.Input()->SelectionRange();
    EXPECT_EQ(againStart.charIndex, selStart.charIndex);
    EXPECT_EQ(againEnd.charIndex, selEnd.charIndex);
    EXPECT_EQ(CaretOf(view), caret);
    Type(surface, QStringLiteral("XY"));
    EXPECT_THAT(ViewText(*window), HasSubstr("BenvenutiXYella guida"));

    // Another page shown: the edits went into the hypertext; back there, they are shown.
    window->Rules().GoToPage(3);
    EXPECT_EQ(window->PageShown(), 3);
    window->Rules().GoToPage(0);
    EXPECT_THAT(ViewText(*window), HasSubstr("BenvenutiXYella guida"));
    EXPECT_TRUE(window->Rules().DocumentChanged());
}

TEST_F(EditWindowTest, TheUndoListTakesAPrefixOfSteps) {
    // The list alone: the prefix follows the keys and stays within the list.
    EnsureApplication();
    TUndoBox list;
    list.SetLabels({"tre", "due", "uno"});
    EXPECT_EQ(list.Prefix(), 1);
    for (int key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Down}) Key(&list, key);
    EXPECT_EQ(list.Prefix(), 3);
    for (int key : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Up}) Key(&list, key);
    EXPECT_EQ(list.Prefix(), 1);
    Key(&list, Qt::Key_Down);
    EXPECT_EQ(list.selectedItems().size(), 2);

    // In the window: three bursts of typing, two taken back from the drop-down.
    auto window = OpenForEditing();
    PageViewWidget& view = window->PageView();
    QWidget* surface = view.Surface();
    for (const char* word : {"uno", "due", "tre"}) {
        Click(surface, After(view, "Benvenuti"));
        Type(surface, QString::fromLatin1(word));
    }
    EXPECT_THAT(ViewText(*window), HasSubstr("Benvenutitredueuno nella"));
    QApplication::processEvents();  // the undo button follows the list from the event loop
    auto* arrow = window->findChild<QWidget*>(QStringLiteral("BUndoList"));
    ASSERT_NE(arrow, nullptr);
    QTimer::singleShot(0, [] {
        auto* box = dynamic_cast<TUndoBox*>(QApplication::activePopupWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->count(), 3);
        Key(box, Qt::Key_Down);
        Key(box, Qt::Key_Return);
    });
    Click(arrow, arrow->rect().center());
    EXPECT_THAT(ViewText(*window), HasSubstr("Benvenutiuno nella"));
    ASSERT_EQ(view.Session()->Undo().Count(), 1u);

    // Escape takes nothing back.
    QTimer::singleShot(0, [] {
        if (QWidget* box = QApplication::activePopupWidget()) Key(box, Qt::Key_Escape);
    });
    Click(arrow, arrow->rect().center());
    EXPECT_EQ(view.Session()->Undo().Count(), 1u);
}

// Whether the character at `at` of the first paragraph holding `words` (at its start plus
// `at`) is bold.
bool BoldAt(const PageViewWidget& view, std::string_view words, std::size_t at) {
    const TKYTbox* box = view.Box();
    for (std::int32_t i = 0; box && i < box->ParagraphCount(); ++i) {
        const std::size_t found = box->Paragraph(i).text.find(words);
        if (found != std::string::npos)
            return box->Paragraph(i).FormatAt(std::int32_t(found + at)).styleBits & kStyleBold;
    }
    ADD_FAILURE() << "not on the page: " << words;
    return false;
}

TEST_F(EditWindowTest, TheSystemClipboardCarriesOwnFormatsTextAndRtf) {
    auto window = OpenForEditing();
    PageViewWidget& view = window->PageView();
    QWidget* surface = view.Surface();
    // " citt\u00E0" typed into a paragraph of plain text (the title above is bold by its
    // style, where the button would take the bold away), selected with the keyboard and made
    // bold from the toolbar.
    Click(surface, After(view, "Cominciate dal"));
    QAction* bold = window->findChild<QAction*>(QStringLiteral("BGrassetto"));
    Type(surface, QStringLiteral(" citt\u00E0"));
    for (int i = 0; i < 5; ++i) Key(surface, Qt::Key_Left, Qt::ShiftModifier);
    ASSERT_TRUE(view.Input()->SelectionPresent());
    QApplication::processEvents();  // the tools follow the box from the event loop
    EXPECT_FALSE(bold->isChecked());
    bold->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(bold->isChecked());
    EXPECT_TRUE(BoldAt(view, "dal citt\xE0", 4));
    EXPECT_FALSE(BoldAt(view, "dal citt\xE0", 3));
    window->findChild<QAction*>(QStringLiteral("MIEditCopy"))->trigger();

    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QStringLiteral("citt\u00E0"));
    EXPECT_TRUE(data->hasFormat(MimeTypeOf(kClipObjects)));
    const QByteArray rtf = data->data(MimeTypeOf(kClipRtf));
    ASSERT_FALSE(rtf.isEmpty());
    const std::filesystem::path rtfFile = TestDir() / "copia.rtf";
    std::ofstream(rtfFile, std::ios::binary).write(rtf.constData(), rtf.size());
    const ProgramRun pandoc =
        RunProgram({"/usr/bin/pandoc", "-f", "rtf", "-t", "markdown", rtfFile.string()});
    ASSERT_EQ(pandoc.status, 0) << pandoc.err;
    EXPECT_THAT(pandoc.out, HasSubstr("**citt\xC3\xA0**"));

    // Pasted on another page through the program's own format: bold, as copied, in a
    // paragraph that is not.
    window->Rules().GoToPage(3);
    Click(surface, After(view, "Un ipertesto"));
    window->findChild<QAction*>(QStringLiteral("MIEditPaste"))->trigger();
    EXPECT_THAT(ViewText(*window), HasSubstr("Un ipertestocitt\xE0 \xE8 un documento"));
    EXPECT_FALSE(BoldAt(view, "ipertestocitt\xE0", 7));
    for (std::size_t i = 9; i < 14; ++i) EXPECT_TRUE(BoldAt(view, "ipertestocitt\xE0", i)) << i;
    EXPECT_FALSE(BoldAt(view, "citt\xE0 \xE8 un", 5));
    QApplication::processEvents();
    EXPECT_TRUE(bold->isChecked());
    EXPECT_TRUE(view.Input()->SelectionPresent());  // what was pasted stays selected

    // Plain text from another program comes in as text, in place of the selection; a
    // malformed stream of our own format is refused with nothing changed.
    auto* plain = new QMimeData;
    plain->setText(QStringLiteral("fuori \u20AC"));
    QApplication::clipboard()->setMimeData(plain);
    window->findChild<QAction*>(QStringLiteral("MIEditPaste"))->trigger();
    EXPECT_THAT(ViewText(*window), HasSubstr("Un ipertestofuori \x80 \xE8 un documento"));
    const std::string before = ViewText(*window);
    auto* broken = new QMimeData;
    broken->setData(MimeTypeOf(kClipObjects), QByteArray("\x01\x00\x00\x00\xFF\xFF\xFF\x7F", 8));
    QApplication::clipboard()->setMimeData(broken);
    window->findChild<QAction*>(QStringLiteral("MIEditPaste"))->trigger();
    EXPECT_EQ(ViewText(*window), before);

    // Bold pressed with nothing selected: the next characters typed are bold, the text
    // after them is not.
    Click(surface, After(view, "un documento"));
    QApplication::processEvents();
    ASSERT_FALSE(bold->isChecked());
    bold->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(bold->isChecked());
    Type(surface, QStringLiteral("XY"));
    EXPECT_THAT(ViewText(*window), HasSubstr("un documentoXY fatto"));
    EXPECT_TRUE(BoldAt(view, "documentoXY fatto", 9));
    EXPECT_TRUE(BoldAt(view, "documentoXY fatto", 10));
    EXPECT_FALSE(BoldAt(view, "documentoXY fatto", 8));
    EXPECT_FALSE(BoldAt(view, "documentoXY fatto", 11));
}

}  // namespace
}  // namespace orvo::test

// Tables in the page widget being edited, offscreen: a click in a cell of the sample's table
// page, typing, Tab to the next cell, a row added by the table command and typed into, then
// Ctrl+Z until nothing is left to undo gives the stored page back byte for byte; the windows
// that ask for a new table and for rows or columns offer the limits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QRadioButton>
#include <QSpinBox>

#include "MainWindowSupport.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/TableCommands.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "support/TestSupport.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTbox.h"
#include "ui/table/TableDialogs.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

constexpr std::int32_t kTablePage = 10;

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

std::string CellText(PageViewWidget& view) {
    const TKYTbox* box = view.Session()->ActiveBox();
    return box && box->IsCellBox() ? box->Paragraph(0).text : "(not a cell)";
}

TEST(TableWindow, CellsTypedTabbedARowAddedAndEveryStepUndoneWithCtrlZ) {
    EnsureApplication();
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    MakeSampleHypertext(set);
    const std::string stored =
        *set.ObjectByKind(TOggettiHel::testoHtml, kTablePage)->ContentBytes();
    ManualScheduler scheduler;
    PageViewWidget view(set);
    view.resize(760, 520);
    view.EnableEditing(scheduler, messages);
    ASSERT_TRUE(view.ShowPage(kTablePage));
    view.SetEditable(true);
    view.show();
    QApplication::processEvents();
    QWidget* surface = view.Surface();
    surface->grab();  // painted once: the table takes its place

    // A click in the first cell of the table's paragraph (the third after the page's header).
    const TKYTparag& tableParagraph = view.Box()->Paragraph(view.Box()->FirstEditable() + 2);
    ASSERT_EQ(tableParagraph.objects.size(), 1u);
    Click(surface, {40, tableParagraph.top + 12});
    ASSERT_EQ(CellText(view), "Parte");
    EXPECT_TRUE(view.Session()->Tools().inTable);
    Key(surface, Qt::Key_End);
    Type(surface, QStringLiteral(" uno"));
    EXPECT_EQ(CellText(view), "Parte uno");
    Key(surface, Qt::Key_Tab);
    EXPECT_EQ(CellText(view), "Che cosa mostra");
    Type(surface, QStringLiteral("due "));
    Key(surface, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(CellText(view), "Parte uno");
    // "Aggiungi riga" after the header row: its first cell is edited.
    ASSERT_TRUE(view.TableCommandOnCell(int(TableCommand::AddRows), 1, true));
    EXPECT_EQ(CellText(view), "");
    Type(surface, QStringLiteral("tre"));
    EXPECT_EQ(CellText(view), "tre");
    const QImage shot = surface->grab().toImage();
    if (const char* folder = std::getenv("ORVO_WINDOWS_GRAB"))
        shot.save(QString::fromLocal8Bit(folder) + QStringLiteral("/tabella-modificata.png"));

    // Ctrl+Z until the list is empty: the stored page, byte for byte.
    for (int i = 0; i < 20 && view.Session()->Undo().CanUndo(); ++i)
        Key(surface, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(view.Session()->Undo().CanUndo());
    view.CommitPage();
    EXPECT_EQ(Escaped(*set.ObjectByKind(TOggettiHel::testoHtml, kTablePage)->ContentBytes()),
              Escaped(stored));
}

TEST(TableWindow, TheNewTableAndRowsColumnsWindowsOfferTheLimits) {
    EnsureApplication();
    NewTableDialog table;
    EXPECT_EQ(table.windowTitle(), QStringLiteral("Nuova tabella"));
    EXPECT_EQ(table.Rows()->value(), 3);
    EXPECT_EQ(table.Columns()->value(), 4);
    EXPECT_EQ(table.Rows()->maximum(), 200);
    EXPECT_EQ(table.Columns()->maximum(), 50);
    auto* style = table.findChild<QComboBox*>(QStringLiteral("stile"));
    ASSERT_NE(style, nullptr);
    ASSERT_EQ(style->count(), 12);
    EXPECT_EQ(style->itemText(11), QStringLiteral("Lista"));
    style->setCurrentIndex(11);
    const NewTableChoice choice = table.Choice();
    EXPECT_EQ(choice.rows, 3);
    EXPECT_EQ(choice.columns, 4);
    EXPECT_EQ(choice.style, 11);
    AddRowsColumnsDialog add;
    EXPECT_EQ(add.windowTitle(), QStringLiteral("Aggiungi righe/colonne"));
    EXPECT_FALSE(add.Columns());
    EXPECT_TRUE(add.After());
    add.ColumnsButton()->setChecked(true);
    add.CountBox()->setValue(3);
    EXPECT_TRUE(add.Columns());
    EXPECT_EQ(add.Count(), 3);
}

}  // namespace
}  // namespace orvo::test

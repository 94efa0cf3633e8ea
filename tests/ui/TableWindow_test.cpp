// Tables in the page widget being edited, offscreen: a click in a cell of the sample's table
// page, typing, Tab to the next cell, a row added by the table command and typed into, then
// Ctrl+Z until nothing is left to undo gives the stored page back byte for byte; the windows
// that ask for a new table and for rows or columns offer the limits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>

#include <optional>
#include <utility>

#include "MainWindowSupport.h"
#include "app/u3MainForm.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "objects/TableCommands.h"
#include "objects/TableRules.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "support/TestSupport.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTbox.h"
#include "ui/links/LinkCommands.h"
#include "ui/links/LinkWindow.h"
#include "ui/objects/PictureEditing.h"
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

void Mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

std::string TableState(const TKYToggetto& table) {
    const auto record = table.Record();
    return std::string(reinterpret_cast<const char*>(record.data()), record.size()) + "|" +
           table.Auxiliary().value_or("(none)");
}

// A column dragged wider by its header strip with the mouse, then the properties window
// answered (border, spacing, a row's background); Ctrl+Z takes both back to the stored bytes.
// A table made two and a half times as wide as the frame in the properties window gives the
// page a horizontal scroll bar; Ctrl+Z narrows the table back, and the page, measured again,
// loses the bar and its extra width.
TEST(TableWindow, UndoingAWidenedTableTakesThePagesHorizontalScrollBarAway) {
    EnsureApplication();
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    MakeSampleHypertext(set);
    ManualScheduler scheduler;
    PageViewWidget view(set);
    view.resize(760, 520);
    view.EnableEditing(scheduler, messages);
    ASSERT_TRUE(view.ShowPage(kTablePage));
    view.SetEditable(true);
    view.show();
    QApplication::processEvents();
    QWidget* surface = view.Surface();
    surface->grab();
    const int frame = view.viewport()->width();
    ASSERT_EQ(view.horizontalScrollBar()->maximum(), 0);
    ASSERT_EQ(surface->width(), frame);
    const TKYTparag& tableParagraph = view.Box()->Paragraph(view.Box()->FirstEditable() + 2);
    Click(surface, {40, tableParagraph.top + 12});
    ASSERT_TRUE(view.InTableCell());
    view.onTableWindow = [](TablePropertiesDialog& dialog) {
        dialog.PercentButton()->setChecked(true);
        dialog.Percent()->setValue(250);
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.accept(); });
    };
    view.TablePropertiesWindow();
    surface->grab();
    QApplication::processEvents();
    EXPECT_GT(surface->width(), 2 * frame);
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), surface->width() - view.viewport()->width());
    EXPECT_GT(view.horizontalScrollBar()->maximum(), frame);

    Key(surface, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(view.Session()->Undo().CanUndo());
    surface->grab();
    QApplication::processEvents();
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(surface->width(), view.viewport()->width());
}

TEST(TableWindow, HeaderStripDragAndPropertiesWindowUndoneWithCtrlZ) {
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
    surface->grab();
    const TKYTparag& tableParagraph = view.Box()->Paragraph(view.Box()->FirstEditable() + 2);
    ASSERT_EQ(tableParagraph.objects.size(), 1u);
    const TKYToggetto& object = *tableParagraph.objects[0];
    const std::string tableBefore = TableState(object);
    EXPECT_FALSE(view.InTableCell());
    Click(surface, {40, tableParagraph.top + 12});
    ASSERT_TRUE(view.InTableCell());

    // The strip is drawn above the table: its first section's right edge is found by the
    // pointer, which turns into the sizing shape over it.
    const TableRecord record(const_cast<TKYToggetto&>(object).View());
    const QImage before = surface->grab().toImage();
    int edge = -1, stripY = -1;
    for (int y = tableParagraph.top - kTableHeaderHeight - 4;
         y < tableParagraph.top + 8 && edge < 0; y += 2)
        for (int x = 20; x < 400 && edge < 0; ++x) {
            Mouse(surface, QEvent::MouseMove, {x, y}, Qt::NoButton);
            if (surface->cursor().shape() == Qt::SplitHCursor) {
                edge = x + TableHeaderDrag::kGrip;
                stripY = y;
            }
        }
    ASSERT_GT(edge, 0) << "no section edge under the pointer along the strip";
    const std::int32_t width0 = record.Width(0);
    Mouse(surface, QEvent::MouseButtonPress, {edge, stripY}, Qt::LeftButton);
    Mouse(surface, QEvent::MouseMove, {edge + 40, stripY}, Qt::LeftButton);
    const QImage dragging = surface->grab().toImage();
    Mouse(surface, QEvent::MouseButtonRelease, {edge + 40, stripY}, Qt::NoButton);
    EXPECT_NE(before, dragging);
    EXPECT_NE(record.Width(0), width0) << "the column's share took the drag";
    ASSERT_FALSE(view.Session()->Undo().Labels().empty());
    EXPECT_EQ(view.Session()->Undo().Labels().front(), "Dimensiona celle");

    // The properties window, answered: border 3, spacing 6, the cell's row in light green.
    view.onTableWindow = [](TablePropertiesDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Propriet\u00E0 tabella/caselle"));
        ASSERT_EQ(dialog.Scope()->count(), 8);
        EXPECT_EQ(dialog.Scope()->itemText(7), QStringLiteral("Colonna a righe alternate 1"));
        dialog.Border()->setValue(3);
        dialog.Spacing()->setValue(6);
        dialog.Scope()->setCurrentIndex(int(CellBackgroundScope::Row));
        dialog.CellBackgroundChooser()->SetColour(0x00C0FFC0);
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.accept(); });
    };
    view.TablePropertiesWindow();
    EXPECT_EQ(record.Border(), 3);
    EXPECT_EQ(record.Spacing(), 6);
    const std::vector<std::int32_t> backgrounds =
        ReadCellBackgrounds(object.Auxiliary(), record.Rows(), record.Columns());
    ASSERT_EQ(int(backgrounds.size()), record.Rows() * record.Columns());
    for (int c = 0; c < record.Columns(); ++c) EXPECT_EQ(backgrounds[std::size_t(c)], 0x00C0FFC0);
    EXPECT_EQ(view.Session()->Undo().Labels().front(), "Modifica tabella");
    const QImage shot = surface->grab().toImage();
    if (const char* folder = std::getenv("ORVO_WINDOWS_GRAB"))
        shot.save(QString::fromLocal8Bit(folder) + QStringLiteral("/tabella-proprieta.png"));

    for (int i = 0; i < 20 && view.Session()->Undo().CanUndo(); ++i)
        Key(surface, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(view.Session()->Undo().CanUndo());
    EXPECT_EQ(Escaped(TableState(object)), Escaped(tableBefore));
    view.CommitPage();
    EXPECT_EQ(Escaped(*set.ObjectByKind(TOggettiHel::testoHtml, kTablePage)->ContentBytes()),
              Escaped(stored));
}

class TableWindowPictures : public MainWindowTest {};

// The picture in a cell of the sample's table page, in the main window: selected by a click,
// resized by its corner handle, a zone added and linked to a page chosen in the link window;
// Ctrl+Z takes each back to the stored record.
TEST_F(TableWindowPictures, AnImageInACellIsResizedAndItsZoneLinkedThroughTheLinkWindow) {
    const std::string path = (TestDir() / "tabella-immagine.kyt").string();
    {
        TKYTset sample(environment_, scratchMessages_);
        MakeSampleHypertext(sample);
        ASSERT_TRUE(sample.SaveToFile(path));
    }
    auto window = Open(path);
    window->Rules().GoToPage(kTablePage);
    PageViewWidget& view = window->PageView();
    ASSERT_EQ(view.PageShown(), kTablePage);
    ASSERT_TRUE(view.Editable());
    QWidget* surface = view.Surface();
    surface->grab();
    PictureEditing& pictures = *view.Pictures();
    TMyyImage* image = nullptr;
    for (TMyyImage* shown : pictures.Editor().Images())
        if (shown->Placed()) image = shown;
    ASSERT_NE(image, nullptr) << "the picture of the cell";
    TKYToggetto* object = image->Object();
    ASSERT_NE(object, nullptr);
    const auto record = [&] {
        const auto r = object->Record();
        return std::string(reinterpret_cast<const char*>(r.data()), r.size());
    };
    const std::string stored = record();
    // Where the cell puts it on the page: found by selecting it, then clicked as a user does.
    pictures.Editor().Select(image);
    const Point origin = pictures.Editor().CurrentOrigin();
    EXPECT_GT(origin.y, 0) << "a cell's place, not the page's";
    pictures.Editor().Select(nullptr);
    const Rect b = image->Bounds().Offset(origin.x, origin.y);
    Click(surface, {(b.left + b.right) / 2, (b.top + b.bottom) / 2});
    ASSERT_EQ(pictures.Editor().Current(), image);
    EXPECT_TRUE(image->Selected());
    const QImage selected = surface->grab().toImage();
    EXPECT_EQ(selected.pixel(b.right - 2, b.bottom - 2), qRgb(255, 255, 255)) << "its handle";

    // The corner handle dragged 10 pixels out: the image grows in its cell.
    const int width = b.Width(), height = b.Height();
    Mouse(surface, QEvent::MouseButtonPress, {b.right, b.bottom}, Qt::LeftButton);
    Mouse(surface, QEvent::MouseMove, {b.right + 10, b.bottom + 10}, Qt::LeftButton);
    Mouse(surface, QEvent::MouseButtonRelease, {b.right + 10, b.bottom + 10}, Qt::NoButton);
    surface->grab();
    EXPECT_EQ(ImageRecord(*object).Width(), width + 10);
    EXPECT_EQ(ImageRecord(*object).Height(), height + 10);
    EXPECT_EQ(view.Session()->Undo().Labels().front(), "Dimensiona immagine");

    // A zone added and linked to the first page the link window lists.
    ASSERT_TRUE(pictures.Run(PictureCommand::AddZone));
    ASSERT_NE(pictures.Editor().CurrentZone(), nullptr);
    std::int32_t chosen = -1;
    window->Links().execDialog = [&](QDialog& dialog) {
        auto* links = dynamic_cast<LinkWindow*>(&dialog);
        EXPECT_NE(links, nullptr);
        if (!links || links->PageList()->count() == 0) return int(QDialog::Rejected);
        links->PageList()->setCurrentRow(0);
        chosen = links->PageList()->item(0)->data(Qt::UserRole).toInt();
        links->Accept(true);  // "Ok, e non cambiare pagina": the table page stays
        return links->result();
    };
    ASSERT_TRUE(pictures.Run(PictureCommand::LinkZone));
    ASSERT_GE(chosen, 0);
    const TKYToggetto* target = window->Document().ObjectByKind(TOggettiHel::testoHtml, chosen);
    ASSERT_NE(target, nullptr);
    bool linked = false;
    for (int slot = 0; slot < kZoneCount; ++slot)
        linked = linked || ImageRecord(*object).Zone(slot).link == target->Code();
    EXPECT_TRUE(linked);
    EXPECT_EQ(view.Session()->Undo().Labels().front(), "Modifica immagine");

    for (int i = 0; i < 10 && view.Session()->Undo().CanUndo(); ++i) {
        Key(surface, Qt::Key_Z, Qt::ControlModifier);
        surface->grab();
    }
    EXPECT_FALSE(view.Session()->Undo().CanUndo());
    EXPECT_EQ(Escaped(record()), Escaped(stored));
}

class TableInMainWindow : public MainWindowTest {
protected:
    // A click a few pixels inside the cell (row, column) of `table`.
    static void ClickCell(PageViewWidget& view, TMyyTable& table, int row, int column) {
        const Point o = table.CellBoxOrigin(*table.CellAt(row, column));
        Click(view.Surface(), {o.x + 6, o.y + 6});
    }
    // The right edge of the first section of the header strip above `table`, found by the
    // pointer's sizing shape.
    static std::optional<std::pair<int, int>> HeaderEdge(PageViewWidget& view, TMyyTable& table) {
        QWidget* surface = view.Surface();
        const Point o = table.OriginInPage();
        for (int y = o.y - kTableHeaderHeight; y < o.y; y += 2)
            for (int x = o.x; x < o.x + table.Bounds().Width(); ++x) {
                Mouse(surface, QEvent::MouseMove, {x, y}, Qt::NoButton);
                if (surface->cursor().shape() == Qt::SplitHCursor)
                    return std::pair{x + TableHeaderDrag::kGrip, y};
            }
        return std::nullopt;
    }
    static std::string WriteCellsOf(const TMyyTable& table) {
        return table.WriteCellContents(0, table.ColumnCount() - 1, 0, table.RowCount() - 1);
    }
    // The "Nuova tabella" window the next command opens, answered with rows x columns.
    static void AnswerNewTable(int rows, int columns) {
        QTimer::singleShot(0, [rows, columns] {
            auto* dialog = dynamic_cast<NewTableDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << "no \"Nuova tabella\" window";
            EXPECT_EQ(dialog->Rows()->value(), 3);
            EXPECT_EQ(dialog->Columns()->value(), 4);
            dialog->Rows()->setValue(rows);
            dialog->Columns()->setValue(columns);
            dialog->accept();
        });
    }
    static void Menu(MainWindow& window, const char* name) {
        QAction* action = window.findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        ASSERT_TRUE(action->isVisible()) << name;
        action->trigger();
        QApplication::processEvents();  // the posted deletions run
    }
    static std::string Front(PageViewWidget& view) {
        const auto labels = view.Session()->Undo().Labels();
        return labels.empty() ? "(none)" : labels.front();
    }
};

// "Inserisci > Tabella..." makes a 3 x 4 table at the caret; the keys walk and fill its cells;
// the "T&abella" menu of the menu bar adds and deletes a row and a column of the cell with the
// caret; a drag in the header strip widens a column. "Undo" takes back each step in turn, the
// table as it was before that step, and in the end the page reads as stored.
TEST_F(TableInMainWindow, ATableMadeFilledChangedFromTheMenusAndUndoneStepByStep) {
    auto window = Open(first_);
    PageViewWidget& view = window->PageView();
    ASSERT_TRUE(view.Editable());
    const std::int32_t page = view.PageShown();
    const auto stored = [&] {
        return *window->Document().ObjectByKind(TOggettiHel::testoHtml, page)->ContentBytes();
    };
    const std::string before = stored();
    QWidget* surface = view.Surface();
    surface->grab();
    const TKYTparag& start = view.Box()->Paragraph(view.Box()->FirstEditable());
    ASSERT_FALSE(start.text.empty());
    Click(surface, PointOf(*window, start.text.substr(0, 3)));
    Key(surface, Qt::Key_End);
    EXPECT_FALSE(view.InTableCell());

    AnswerNewTable(3, 4);
    Menu(*window, "MIInsertTable");
    ASSERT_TRUE(view.InTableCell()) << "the caret goes into the new table's first cell";
    TMyyTable* table = CellBeingEdited(*view.Session(), *view.ObjectViews()).table;
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->RowCount(), 3);
    EXPECT_EQ(table->ColumnCount(), 4);
    EXPECT_EQ(Front(view), "Inserimento oggetti");
    const auto at = [&] {
        const EditedCell cell = CellBeingEdited(*view.Session(), *view.ObjectViews());
        return std::to_string(cell.row) + "," + std::to_string(cell.column);
    };
    const auto text = [&](int r, int c) { return table->CellAt(r, c)->Paragraph(0).text; };

    // Tab, Shift+Tab and the arrows move between the cells; what is typed goes into each.
    Type(surface, QStringLiteral("a1"));
    Key(surface, Qt::Key_Tab);
    EXPECT_EQ(at(), "0,1");
    Type(surface, QStringLiteral("b1"));
    Key(surface, Qt::Key_Down);
    EXPECT_EQ(at(), "1,1");
    Type(surface, QStringLiteral("b2"));
    Key(surface, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(at(), "1,0");
    Type(surface, QStringLiteral("a2"));
    Key(surface, Qt::Key_Up);
    EXPECT_EQ(at(), "0,0");
    EXPECT_EQ(text(0, 0), "a1");
    EXPECT_EQ(text(0, 1), "b1");
    EXPECT_EQ(text(1, 0), "a2");
    EXPECT_EQ(text(1, 1), "b2");
    // Back to the cell "b2": the row and column commands act on it.
    Key(surface, Qt::Key_Down);
    Key(surface, Qt::Key_Tab);
    ASSERT_EQ(at(), "1,1");
    const std::size_t typed = view.Session()->Undo().Count();

    // "Aggiungi riga" and "Aggiungi colonna" open them before the cell's row and column, and
    // the first new cell takes the caret.
    Menu(*window, "MITableAddRow");
    EXPECT_EQ(table->RowCount(), 4);
    EXPECT_EQ(at(), "1,0");
    EXPECT_EQ(text(2, 1), "b2");
    EXPECT_EQ(Front(view), "Aggiunta righe");
    Key(surface, Qt::Key_Tab);
    Menu(*window, "MITableAddColumn");
    EXPECT_EQ(table->ColumnCount(), 5);
    EXPECT_EQ(at(), "0,1");
    EXPECT_EQ(text(0, 2), "b1");
    EXPECT_EQ(Front(view), "Aggiunta colonne");
    // "Elimina riga" on the cell (2, 2), "b2": the row below moves up and its cell in the same
    // column takes the caret, where "Elimina colonna" then acts.
    ASSERT_TRUE(view.Session()->FocusCell(*table->CellAt(2, 2)));
    Menu(*window, "MITableDeleteRow");
    EXPECT_EQ(table->RowCount(), 3);
    EXPECT_EQ(text(1, 0), "");
    EXPECT_EQ(Front(view), "Cancellazione righe");
    EXPECT_EQ(at(), "2,2");
    Menu(*window, "MITableDeleteColumn");
    EXPECT_EQ(table->ColumnCount(), 4);
    EXPECT_EQ(text(0, 0), "a1");
    EXPECT_EQ(text(0, 2), "") << "\"b1\" went with its column";
    EXPECT_EQ(Front(view), "Cancellazione colonne");
    EXPECT_EQ(at(), "2,2");
    const std::string grid = WriteCellsOf(*table);

    // The first column's right edge in the header strip, dragged 30 pixels to the right.
    ClickCell(view, *table, 0, 1);
    ASSERT_EQ(at(), "0,1");
    const TableRecord record(const_cast<TKYToggetto&>(*table->Object()).View());
    const std::int32_t width0 = record.Width(0), width1 = record.Width(1);
    const std::optional<std::pair<int, int>> edge = HeaderEdge(view, *table);
    ASSERT_TRUE(edge) << "no section edge under the pointer along the strip";
    Mouse(surface, QEvent::MouseButtonPress, {edge->first, edge->second}, Qt::LeftButton);
    Mouse(surface, QEvent::MouseMove, {edge->first + 30, edge->second}, Qt::LeftButton);
    Mouse(surface, QEvent::MouseButtonRelease, {edge->first + 30, edge->second}, Qt::NoButton);
    EXPECT_GT(record.Width(0), width0) << "the first column takes the drag";
    EXPECT_EQ(record.Width(1), width1);
    EXPECT_EQ(Front(view), "Dimensiona celle");
    const QImage shot = surface->grab().toImage();
    if (const char* folder = std::getenv("ORVO_WINDOWS_GRAB"))
        shot.save(QString::fromLocal8Bit(folder) + QStringLiteral("/tabella-menu.png"));

    // "Undo", one step at a time: each takes the table back to what it was before the step.
    struct Back {
        const char* step;
        int rows, columns;
    };
    const Back steps[] = {{"Dimensiona celle", 3, 4},
                          {"Cancellazione colonne", 3, 5},
                          {"Cancellazione righe", 4, 5},
                          {"Aggiunta colonne", 4, 4},
                          {"Aggiunta righe", 3, 4}};
    for (const Back& back : steps) {
        ASSERT_EQ(Front(view), back.step);
        Menu(*window, "MIEditUndo");
        EXPECT_EQ(table->RowCount(), back.rows) << back.step;
        EXPECT_EQ(table->ColumnCount(), back.columns) << back.step;
        if (std::string_view(back.step) == "Dimensiona celle") {
            EXPECT_EQ(record.Width(0), width0);
            EXPECT_EQ(WriteCellsOf(*table), grid);
        }
    }
    EXPECT_EQ(text(1, 1), "b2");
    EXPECT_EQ(text(0, 1), "b1");
    EXPECT_EQ(view.Session()->Undo().Count(), typed);
    // The typing and the table itself.
    while (view.Session()->Undo().CanUndo()) Menu(*window, "MIEditUndo");
    EXPECT_FALSE(view.InTableCell());
    view.CommitPage();
    EXPECT_EQ(Escaped(stored()), Escaped(before));
}

// The commands stop at 50 columns and 255 rows: one more is refused with its message and no
// undo step; up to the limit they run.
TEST_F(TableInMainWindow, FiftyColumnsAndTwoHundredFiftyFiveRowsAreTheMostTheCommandsMake) {
    auto window = Open(first_);
    PageViewWidget& view = window->PageView();
    QWidget* surface = view.Surface();
    surface->grab();
    const TKYTparag& start = view.Box()->Paragraph(view.Box()->FirstEditable());
    Click(surface, PointOf(*window, start.text.substr(0, 3)));
    AnswerNewTable(200, 50);
    Menu(*window, "MIInsertTable");
    TMyyTable* table = CellBeingEdited(*view.Session(), *view.ObjectViews()).table;
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->RowCount(), 200);
    ASSERT_EQ(table->ColumnCount(), 50);
    const std::size_t steps = view.Session()->Undo().Count();
    messages_.Clear();
    Menu(*window, "MITableAddColumn");
    EXPECT_EQ(table->ColumnCount(), 50);
    EXPECT_FALSE(view.TableCommandOnCell(int(TableCommand::AddRows), 56, true));
    EXPECT_EQ(table->RowCount(), 200);
    ASSERT_EQ(messages_.Shown().size(), 2u);
    EXPECT_EQ(messages_.Shown()[0].text, kTooManyColumns);
    EXPECT_EQ(messages_.Shown()[1].text, kTooManyRows);
    EXPECT_EQ(view.Session()->Undo().Count(), steps);
    ASSERT_TRUE(view.TableCommandOnCell(int(TableCommand::AddRows), 55, true));
    EXPECT_EQ(table->RowCount(), 255);
    Menu(*window, "MITableAddRow");
    EXPECT_EQ(table->RowCount(), 255);
    EXPECT_EQ(messages_.Shown().back().text, kTooManyRows);
    EXPECT_EQ(view.Session()->Undo().Count(), steps + 1);
    const TableRecord record(const_cast<TKYToggetto&>(*table->Object()).View());
    EXPECT_EQ(record.Rows(), 255);
    EXPECT_EQ(record.Columns(), 50);
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
    EXPECT_EQ(choice.first, kNewTableFirstColour);
    EXPECT_EQ(choice.second, kNewTableSecondColour);
    table.First()->SetColour(0x00102030);
    table.Second()->Transparent()->setChecked(true);
    EXPECT_EQ(table.Choice().first, 0x00102030);
    EXPECT_EQ(table.Choice().second, -1);
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

// Editing a page's table cells through the page's editing session, as the window does: a
// click puts the caret in a cell, Tab and the arrows walk the cells, typing records its steps
// in the hypertext's list next to the table commands', and undoing them all gives the page's
// text back byte for byte.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "model/KytFixture.h"
#include "model/TextForms.h"
#include "objects/PageCells.h"
#include "objects/TableCommands.h"
#include "objects/TableRules.h"
#include "platform/FixedMetrics.h"
#include "platform/IClipboard.h"
#include "platform/RecordingCanvas.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTbox.h"

namespace orvo {
namespace {

using ::testing::ElementsAre;

class TableEditing : public test::KytTest {
protected:
    // A page whose text holds a 2 x 3 table between two paragraphs; cell (r, c) reads "rc".
    void SetUp() override {
        TKYToggetto& table = Add(TOggettiHel::tabellaHtml);
        ApplyNewTable(TableRecord(table.View()), {2, 3, 0, -1, -1, true});
        char code[16];
        std::snprintf(code, sizeof code, "<$08%06x>", unsigned(table.Identifier()));
        std::string markup = "<Z S0 >prima<Z S0 >" + std::string(code);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c)
                markup += "<Z S1 >" + std::to_string(r) + std::to_string(c) + "<T>";
        page_ = &AddPage("Tabella", markup + "<Z S0 >dopo" + '\0');
        text_ = OpenText(set_, *page_, false);
        host_ = std::make_unique<TextMarkupHost>(set_, *text_, metrics_);
        session_ =
            std::make_unique<PageEditSession>(set_, messages_, scheduler_, clipboard_, inputHost_);
        views_ = std::make_unique<ObjectViewHost>(surface_, set_, messages_, scheduler_);
        views_->SetUndo(&session_->Undo(), &session_->Controls());
        host_->tables = [this](const TKYToggetto& o) -> ITableCells* {
            IInlineObject* view = views_->ViewOf(o);
            return view ? view->TableCellsFor(*host_) : nullptr;
        };
        box_ = std::make_unique<TKYTbox>(*host_, *views_);
        views_->SetBox(box_.get());
        box_->LoadText(std::nullopt, *text_->ContentBytes(), std::nullopt);
        cells_ = std::make_unique<PageCells>(*views_);
        session_->SetCells(cells_.get());
        session_->SetEditable(true);
        views_->SetUndoPage(page_->Identifier(), session_->FrameId());
        session_->Attach(*box_, *text_, page_->Identifier());
        table_ = views_->Tables().at(0);
        // Painted once, as a window shows it: the table takes its place on the page.
        box_->drawObjectsOnCanvas = true;
        RecordingCanvas canvas(metrics_);
        box_->Paint(canvas, {0, 0, 600, 400});
        session_->Undo().SetDepth(50);
    }
    void TearDown() override {
        session_->Detach();
        views_->Clear();
    }
    std::string Markup() { return WriteText(box_->AllParagraphs(), *host_); }
    void Type(std::string_view characters) {
        for (char c : characters) session_->Char(static_cast<std::uint8_t>(c));
    }
    // A click a few pixels inside a cell.
    void Click(int row, int column) {
        const Point o = cells_->CellOrigin(*table_->CellAt(row, column));
        session_->MouseDown(MouseButton::Left, o.x + 6, o.y + 6, 0);
        session_->MouseUp(MouseButton::Left, o.x + 6, o.y + 6, 0);
    }
    std::string Cell(int row, int column) { return table_->CellAt(row, column)->Paragraph(0).text; }

    FixedMetrics metrics_;
    RecordingBoxHost surface_{600, 400};
    ManualScheduler scheduler_;
    MemoryClipboard clipboard_;
    IBoxInputHost inputHost_;
    TKYToggetto* page_ = nullptr;
    std::unique_ptr<TKYTtesto> text_;
    std::unique_ptr<TextMarkupHost> host_;
    std::unique_ptr<PageEditSession> session_;
    std::unique_ptr<ObjectViewHost> views_;
    std::unique_ptr<TKYTbox> box_;
    std::unique_ptr<PageCells> cells_;
    TMyyTable* table_ = nullptr;
};

TEST_F(TableEditing, ClicksTabArrowsTypingAndCommandsUndoneBackToTheSameText) {
    const std::string original = Markup();
    Click(0, 0);
    ASSERT_EQ(session_->ActiveBox(), table_->CellAt(0, 0));
    EXPECT_TRUE(session_->Tools().inTable);
    session_->Key(BoxKey::End, 0);
    Type("x");
    // Tab: the next cell, the caret at its start; Shift+Tab comes back.
    ASSERT_TRUE(session_->NextCell(false));
    EXPECT_EQ(session_->ActiveBox(), table_->CellAt(0, 1));
    Type("y");
    // The arrow down leaves the cell's last line for the cell below.
    session_->Key(BoxKey::Down, 0);
    EXPECT_EQ(session_->ActiveBox(), table_->CellAt(1, 1));
    Type("z");
    // Right at the end of the row's last cell goes on to the paragraph after the table.
    Click(1, 2);
    session_->Key(BoxKey::End, 0);
    session_->Key(BoxKey::Right, 0);
    EXPECT_EQ(session_->ActiveBox(), box_.get());
    EXPECT_EQ(Cell(0, 0), "00x");
    EXPECT_EQ(Cell(0, 1), "y01");
    EXPECT_EQ(Cell(1, 1), "z11");
    // A row added by the table command, and text typed in its new cell.
    ASSERT_TRUE(session_->FocusCell(*table_->CellAt(1, 0)));
    ASSERT_TRUE(table_->AddRows(2, 1));
    ASSERT_TRUE(session_->FocusCell(*table_->CellAt(2, 2)));
    Type("w");
    EXPECT_FALSE(session_->NextCell(false)) << "the last cell has no next one";
    EXPECT_THAT(session_->Undo().Labels(),
                ElementsAre("Inserimento caratteri", "Aggiunta righe", "Inserimento caratteri",
                            "Inserimento caratteri", "Inserimento caratteri"));
    EXPECT_NE(Markup().find("<Z S1 >00x<T><Z S1 >y01<T><Z S1 >02<T><Z S1 >10<T><Z S1 >z11<T>"),
              std::string::npos)
        << Markup();
    // Undone one by one, newest first: the row goes, every cell reads as before.
    while (session_->Undo().CanUndo()) ASSERT_TRUE(session_->UndoSteps(1));
    EXPECT_EQ(table_->RowCount(), 2);
    EXPECT_EQ(Markup(), original);
}

TEST_F(TableEditing, ANewTableItsRowsAndColumnsWithinTheLimitsAndTheirUndo) {
    const std::string original = Markup();
    // Outside a cell the row and column commands do nothing.
    EXPECT_FALSE(RunTableCommand(*session_, *views_, TableCommand::AddRows));
    // "T&abella": a 3 x 4 table at the end of the first paragraph, the caret in its first cell.
    session_->Key(BoxKey::End, 0);
    NewTableChoice choice;
    choice.rows = 3;
    choice.columns = 4;
    choice.style = 1;
    choice.first = 0x00C0FFC0;
    ASSERT_TRUE(InsertNewTable(*session_, *views_, set_, choice));
    TKYTbox* first = session_->ActiveBox();
    ASSERT_TRUE(first && first->IsCellBox());
    TMyyTable* made = views_->TableOfCell(*first);
    ASSERT_NE(made, table_);
    EXPECT_EQ(made->RowCount(), 3);
    EXPECT_EQ(made->ColumnCount(), 4);
    Type("a");
    session_->NextCell(false);
    Type("b");
    // Rows and columns around the cell (0, 1): one row after it, two columns before it.
    ASSERT_TRUE(RunTableCommand(*session_, *views_, TableCommand::AddRows, 1, true));
    EXPECT_EQ(session_->ActiveBox(), made->CellAt(1, 0)) << "the first new cell is edited";
    ASSERT_TRUE(session_->FocusCell(*made->CellAt(0, 1)));
    ASSERT_TRUE(RunTableCommand(*session_, *views_, TableCommand::AddColumns, 2, false));
    EXPECT_EQ(made->ColumnCount(), 6);
    EXPECT_EQ(made->CellAt(0, 3)->Paragraph(0).text, "b");
    // 45 more columns pass 50: refused with its message, no step.
    const std::size_t steps = session_->Undo().Count();
    EXPECT_FALSE(RunTableCommand(*session_, *views_, TableCommand::AddColumns, 45));
    EXPECT_EQ(session_->Undo().Count(), steps);
    EXPECT_EQ(messages_.Shown().back().text, kTooManyColumns);
    // The row and the column of a cell deleted when the posted work runs.
    ASSERT_TRUE(session_->FocusCell(*made->CellAt(2, 2)));
    ASSERT_TRUE(RunTableCommand(*session_, *views_, TableCommand::DeleteRow));
    scheduler_.RunPending();
    EXPECT_EQ(made->RowCount(), 3);
    ASSERT_TRUE(session_->FocusCell(*made->CellAt(0, 0)));
    ASSERT_TRUE(RunTableCommand(*session_, *views_, TableCommand::DeleteColumn));
    scheduler_.RunPending();
    EXPECT_EQ(made->ColumnCount(), 5);
    EXPECT_EQ(made->CellAt(0, 0)->Paragraph(0).text, "");
    EXPECT_THAT(session_->Undo().Labels(),
                ElementsAre("Cancellazione colonne", "Cancellazione righe", "Aggiunta colonne",
                            "Aggiunta righe", "Inserimento caratteri", "Inserimento caratteri",
                            "Inserimento oggetti"));
    while (session_->Undo().CanUndo()) ASSERT_TRUE(session_->UndoSteps(1));
    EXPECT_EQ(Markup(), original);
}

// What typing in a cell lays out again: a character that changes neither the cell's width nor
// its height lays out that cell alone; a line more grows its row and moves the rows below, and
// no other cell is laid out again.
TEST_F(TableEditing, TypingInACellLaysOutThatCellAndMovesTheRowsBelow) {
    const auto slots = [&] {
        std::vector<TableCellSlot> out;
        for (int r = 0; r < table_->RowCount(); ++r)
            for (int c = 0; c < table_->ColumnCount(); ++c) out.push_back(*table_->SlotOf(r, c));
        return out;
    };
    const auto same = [](const TableCellSlot& a, const TableCellSlot& b) {
        return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
    };
    Click(0, 1);
    session_->Key(BoxKey::End, 0);
    const int full = table_->FullLayouts();
    const std::vector<TableCellSlot> before = slots();
    Type("x");
    EXPECT_EQ(Cell(0, 1), "01x");
    EXPECT_EQ(table_->FullLayouts(), full);
    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_TRUE(same(slots()[i], before[i])) << i;

    // Words that wrap to a second line: row 0 grows, row 1 moves down by as much.
    const std::int32_t width = table_->SlotOf(0, 1)->width;
    std::string words;
    while (std::int32_t(words.size()) * 5 < 2 * width) words += "ab ";
    Type(words);
    EXPECT_EQ(table_->FullLayouts(), full) << "no column placed again";
    const std::vector<TableCellSlot> taller = slots();
    const std::int32_t grown = taller[0].height - before[0].height;
    EXPECT_GT(grown, 0);
    for (int c = 0; c < 3; ++c) {
        const TableCellSlot& top = taller[std::size_t(c)];
        const TableCellSlot& below = taller[std::size_t(3 + c)];
        EXPECT_EQ(top.width, before[std::size_t(c)].width);
        EXPECT_EQ(top.height, before[std::size_t(c)].height + grown);
        EXPECT_EQ(below.y, before[std::size_t(3 + c)].y + grown);
        EXPECT_EQ(below.height, before[std::size_t(3 + c)].height);
    }
}

// Typing in two cells, the row of one and the column of the other deleted, then everything
// undone one step at a time: the row and the column come back with their cells' ids, so the
// typing steps find their cells again and take the letters back.
TEST_F(TableEditing, TypingInARowThatWasDeletedAndBroughtBackIsUndoneToo) {
    const std::string original = Markup();
    Click(1, 1);
    session_->Key(BoxKey::End, 0);
    Type("x");
    Click(0, 0);
    Type("y");
    ASSERT_TRUE(session_->FocusCell(*table_->CellAt(1, 0)));
    ASSERT_TRUE(RunTableCommand(*session_, *views_, TableCommand::DeleteRow));
    scheduler_.RunPending();
    ASSERT_EQ(table_->RowCount(), 1);
    ASSERT_TRUE(RunTableCommand(*session_, *views_, TableCommand::DeleteColumn));
    scheduler_.RunPending();
    ASSERT_EQ(table_->ColumnCount(), 2);
    EXPECT_THAT(session_->Undo().Labels(),
                ElementsAre("Cancellazione colonne", "Cancellazione righe", "Inserimento caratteri",
                            "Inserimento caratteri"));
    ASSERT_TRUE(session_->UndoSteps(1));
    ASSERT_TRUE(session_->UndoSteps(1));
    ASSERT_EQ(table_->RowCount(), 2);
    EXPECT_EQ(Cell(1, 1), "11x");
    EXPECT_EQ(Cell(0, 0), "y00");
    ASSERT_TRUE(session_->UndoSteps(1));
    EXPECT_EQ(Cell(0, 0), "00");
    ASSERT_TRUE(session_->UndoSteps(1));
    EXPECT_EQ(Cell(1, 1), "11");
    EXPECT_EQ(Markup(), original);
}

// Edits undone in one choice from the undo list, however many steps it takes back: a table
// step brings back cells made anew, and the typing steps older than it, in the same choice,
// must still find them. Every split of the list into two choices gives the page back byte for
// byte.
TEST_F(TableEditing, SeveralStepsChosenAtOnceTakeBackTypingInCellsATableStepRestored) {
    const std::string original = Markup();
    const auto edit = [this] {
        Click(1, 1);
        session_->Key(BoxKey::End, 0);
        Type("x");
        Click(0, 0);
        Type("y");
        ASSERT_TRUE(session_->FocusCell(*table_->CellAt(1, 0)));
        ASSERT_TRUE(RunTableCommand(*session_, *views_, TableCommand::AddRows, 1, true));
        ASSERT_TRUE(session_->FocusCell(*table_->CellAt(2, 1)));
        Type("w");
        ASSERT_TRUE(session_->FocusCell(*table_->CellAt(1, 2)));
        ASSERT_TRUE(RunTableCommand(*session_, *views_, TableCommand::DeleteRow));
        scheduler_.RunPending();
        ASSERT_TRUE(session_->FocusCell(*table_->CellAt(0, 0)));
        ASSERT_TRUE(RunTableCommand(*session_, *views_, TableCommand::DeleteColumn));
        scheduler_.RunPending();
        ASSERT_EQ(table_->RowCount(), 2);
        ASSERT_EQ(table_->ColumnCount(), 2);
        ASSERT_THAT(
            session_->Undo().Labels(),
            ElementsAre("Cancellazione colonne", "Cancellazione righe", "Inserimento caratteri",
                        "Aggiunta righe", "Inserimento caratteri", "Inserimento caratteri"));
    };
    for (int first = 6; first >= 1; --first) {
        SCOPED_TRACE("first choice: " + std::to_string(first) + " steps");
        edit();
        ASSERT_TRUE(session_->UndoSteps(first));
        if (first < 6) {
            ASSERT_TRUE(session_->UndoSteps(6 - first));
        }
        EXPECT_FALSE(session_->Undo().CanUndo());
        EXPECT_EQ(Markup(), original);
        EXPECT_EQ(table_->RowCount(), 2);
        EXPECT_EQ(table_->ColumnCount(), 3);
    }
}

// A table made wider than the frame gives the page a horizontal scroll range; once the change
// is undone nothing is wider than the frame, and the range goes with the page's extra width.
TEST_F(TableEditing, UndoingWhatWidenedTheTableTakesTheHorizontalScrollAway) {
    const struct {
        const char* what;
        std::function<void(TableProperties&)> widen;
    } cases[] = {
        {"twice the frame's width", [](TableProperties& p) { p.percent = 200; }},
        {"a fixed width of 1000 pixels",
         [](TableProperties& p) {
             p.widthInPercent = false;
             p.fixedWidth = 1000;
         }},
        {"a column 900 pixels wide",
         [](TableProperties& p) {
             p.columnKind = kColumnFixed;
             p.columnWidth = 900;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(surface_.HorizontalRange(), 0);
        const std::string original = Markup();
        // Painted as the window does after each change: the table is placed again.
        RecordingCanvas canvas(metrics_);
        box_->Paint(canvas, {0, 0, 600, 400});
        Click(1, 1);
        std::optional<TableProperties> p = PropertiesOfEditedCell(*session_, *views_);
        ASSERT_TRUE(p);
        c.widen(*p);
        ASSERT_TRUE(ApplyPropertiesToEditedCell(*session_, *views_, *p));
        box_->Paint(canvas, {0, 0, 600, 400});
        ASSERT_GT(box_->UsedWidth(), 600);
        EXPECT_EQ(surface_.HorizontalRange(), box_->UsedWidth());
        EXPECT_EQ(surface_.BoxWidth(), box_->UsedWidth());
        ASSERT_TRUE(session_->UndoSteps(int(session_->Undo().Count())));
        EXPECT_EQ(Markup(), original);
        EXPECT_EQ(surface_.HorizontalRange(), 0);
        EXPECT_EQ(box_->UsedWidth(), 600);
        EXPECT_EQ(surface_.BoxWidth(), 600);
    }
}

// The table's record and cell background list, as bytes.
std::string RecordState(const TKYToggetto& table) {
    const auto record = table.Record();
    return std::string(reinterpret_cast<const char*>(record.data()), record.size()) + "|" +
           table.Auxiliary().value_or("(none)");
}

TEST_F(TableEditing, PropertiesAndHeaderDragsChangeTheTableAndUndoToTheSameBytes) {
    const std::string original = Markup();
    TKYToggetto& object = *table_->Object();
    const std::string before = RecordState(object);
    // The header strip shows above the table whose cell has the caret, and only then.
    EXPECT_EQ(ShowHeaderOfEditedTable(*session_, *views_), nullptr);
    EXPECT_FALSE(table_->HeaderShown());
    EXPECT_FALSE(PropertiesOfEditedCell(*session_, *views_));
    Click(1, 1);
    EXPECT_EQ(ShowHeaderOfEditedTable(*session_, *views_), table_);
    EXPECT_TRUE(table_->HeaderShown());

    // "Proprietà tabella/caselle..." on cell (1, 1): the table's fields, column 1 fixed at 90
    // pixels, the odd columns of row 1 coloured.
    std::optional<TableProperties> p = PropertiesOfEditedCell(*session_, *views_);
    ASSERT_TRUE(p);
    EXPECT_EQ(*p, ReadTableProperties(TableRecord(object.View()), 1, -1));
    p->spacing = 4;
    p->padding = 3;
    p->border = 2;
    p->background = 0x00112233;
    p->columnKind = kColumnFixed;
    p->columnWidth = 90;
    p->scope = CellBackgroundScope::RowOddColumns;
    p->cellBackground = 0x00445566;
    ASSERT_TRUE(ApplyPropertiesToEditedCell(*session_, *views_, *p));
    const TableRecord record(object.View());
    EXPECT_EQ(record.Spacing(), 4);
    EXPECT_EQ(record.Padding(), 3);
    EXPECT_EQ(record.Border(), 2);
    EXPECT_EQ(record.Background(), 0x00112233);
    EXPECT_EQ(record.Kind(1), kColumnFixed);
    EXPECT_EQ(record.Width(1), 90);
    EXPECT_EQ(ReadCellBackgrounds(object.Auxiliary(), 2, 3),
              (std::vector<std::int32_t>{-1, -1, -1, -1, 0x00445566, -1}));
    EXPECT_EQ(table_->SlotOf(0, 1)->width, 90);
    EXPECT_EQ(table_->SlotOf(1, 0)->x, 4) << "the new spacing places the cells";
    EXPECT_EQ(table_->CellAt(1, 1)->padding, 3 + 2) << "padding and border";

    // Painted as the window does after a change: the table is placed again.
    RecordingCanvas canvas(metrics_);
    box_->Paint(canvas, {0, 0, 600, 400});
    // The right edge of column 0's section, dragged 25 pixels right.
    TableHeaderDrag drag(*views_);
    const Point origin = table_->OriginInPage();
    const std::int32_t edge = origin.x + 4 + table_->HeaderSections()[0].width;
    const std::int32_t oldWidth = table_->SlotOf(0, 0)->width;
    const std::int32_t y = origin.y - kTableHeaderHeight / 2;
    EXPECT_FALSE(drag.Press({edge + 8, y})) << "away from every edge";
    EXPECT_FALSE(drag.Press({edge, origin.y + 2})) << "below the strip";
    EXPECT_FALSE(drag.Release({edge, y})) << "no drag runs";
    ASSERT_TRUE(drag.Press({edge + 2, y}));
    ASSERT_TRUE(drag.Move({edge - 500, y}));
    EXPECT_EQ(drag.LineX(), edge - table_->HeaderSections()[0].width + 10)
        << "a section is never narrower than 10 pixels";
    ASSERT_TRUE(drag.Move({edge + 25, y}));
    EXPECT_EQ(drag.LineX(), edge + 25);
    ASSERT_TRUE(drag.Release({edge + 25, y}));
    EXPECT_FALSE(drag.Dragging());
    EXPECT_GT(table_->SlotOf(0, 0)->width, oldWidth + 15);
    EXPECT_EQ(table_->SlotOf(1, 1)->width, 90) << "the fixed column keeps its width";
    // A drag whose table's strip went meanwhile does nothing.
    box_->Paint(canvas, {0, 0, 600, 400});
    ASSERT_TRUE(drag.Press({table_->OriginInPage().x + 4 + table_->HeaderSections()[0].width, y}));
    table_->ShowHeader(false);
    EXPECT_FALSE(drag.Move({edge + 60, y}));
    EXPECT_FALSE(drag.Release({edge + 60, y}));

    EXPECT_THAT(session_->Undo().Labels(), ElementsAre("Dimensiona celle", "Modifica tabella"));
    while (session_->Undo().CanUndo()) ASSERT_TRUE(session_->UndoSteps(1));
    EXPECT_EQ(RecordState(object), before);
    EXPECT_EQ(Markup(), original);
    EXPECT_EQ(table_->CellAt(1, 1)->padding,
              TableRecord(object.View()).Padding() + TableRecord(object.View()).Border());
}

// The scopes of a cell background on a 3 x 4 grid from cell (1, 2): which cells take it.
TEST(TableProperties, BackgroundScopesReachTheirCells) {
    const std::vector<std::pair<CellBackgroundScope, std::string>> cases{
        {CellBackgroundScope::None, "....|....|...."},
        {CellBackgroundScope::Cell, "....|..X.|...."},
        {CellBackgroundScope::Row, "....|XXXX|...."},
        {CellBackgroundScope::Column, "..X.|..X.|..X."},
        {CellBackgroundScope::RowEvenColumns, "....|X.X.|...."},
        {CellBackgroundScope::ColumnEvenRows, "..X.|....|..X."},
        {CellBackgroundScope::RowOddColumns, "....|.X.X|...."},
        {CellBackgroundScope::ColumnOddRows, "....|..X.|...."},
    };
    ASSERT_EQ(kCellBackgroundScopeNames.size(), cases.size());
    EXPECT_EQ(kCellBackgroundScopeNames[5], "Colonna a righe alternate");
    for (const auto& [scope, expected] : cases) {
        std::vector<std::int32_t> values(12, -1);
        ApplyCellBackgroundScope(values, 3, 4, 1, 2, scope, 7);
        std::string grid;
        for (int i = 0; i < 12; ++i) {
            if (i > 0 && i % 4 == 0) grid += '|';
            grid += values[std::size_t(i)] == 7 ? 'X' : '.';
        }
        EXPECT_EQ(grid, expected) << int(scope);
    }
    // A short list grows to the grid; a cell outside the grid changes nothing.
    std::vector<std::int32_t> shortList;
    ApplyCellBackgroundScope(shortList, 2, 2, 1, 1, CellBackgroundScope::Cell, 5);
    EXPECT_EQ(shortList, (std::vector<std::int32_t>{-1, -1, -1, 5}));
    ApplyCellBackgroundScope(shortList, 2, 2, 2, 0, CellBackgroundScope::Row, 9);
    EXPECT_EQ(shortList, (std::vector<std::int32_t>{-1, -1, -1, 5}));
    // Values the record cannot hold are kept within it; a percent table in a cell stops at 100.
    std::vector<std::uint8_t> bytes(668, 255);
    TableProperties p;
    p.percent = 400;
    p.padding = -3;
    p.spacing = 999;
    p.columnWidth = 70000;
    WriteTableProperties(TableRecord(RecordView(std::span<std::uint8_t>(bytes))), 0, p, true);
    const TableRecord record{RecordView(std::span<std::uint8_t>(bytes))};
    EXPECT_EQ(record.Percent(), 100);
    EXPECT_EQ(record.Padding(), 0);
    EXPECT_EQ(record.Spacing(), 255);
    EXPECT_EQ(record.Width(0), 32767);
}

}  // namespace
}  // namespace orvo

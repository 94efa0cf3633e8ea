// Tables: the placement of cells by the column rules, new-table styles, navigation, header
// texts and column drags, and the table view over real cell boxes: reading and writing its
// cells, adding and deleting rows and columns within the limits, and undoing each change back
// to the same markup.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "model/KytFixture.h"
#include "model/TextForms.h"
#include "objects/ObjectViews.h"
#include "objects/TableRules.h"
#include "objects/TableUndo.h"
#include "objects/uKYTtable.h"
#include "platform/FixedMetrics.h"
#include "platform/RecordingCanvas.h"
#include "textbox/uKYTbox.h"

namespace orvo {
namespace {

using ::testing::ElementsAre;

// A grid of cells that cannot be narrower than their content.
class FakeGrid final : public ITableGrid {
public:
    FakeGrid(int rows, int columns, std::int32_t minimum = 1)
        : rows_(rows),
          columns_(columns),
          slots_(std::size_t(rows * columns)),
          minimum_(std::size_t(rows * columns), minimum) {}
    int GridRows() const override { return rows_; }
    int GridColumns() const override { return columns_; }
    TableCellSlot& Slot(int r, int c) override { return slots_[std::size_t(r * columns_ + c)]; }
    void Measure(int r, int c, std::int32_t width) override {
        ++measures;
        TableCellSlot& s = Slot(r, c);
        s.width = std::max(width, minimum_[std::size_t(r * columns_ + c)]);
        s.contentHeight = 10 + r;
        s.request = width;
    }
    void SetMinimum(int r, int c, std::int32_t w) { minimum_[std::size_t(r * columns_ + c)] = w; }
    std::vector<std::int32_t> RowWidths(int r) {
        std::vector<std::int32_t> out;
        for (int c = 0; c < columns_; ++c) out.push_back(Slot(r, c).width);
        return out;
    }
    int measures = 0;

private:
    int rows_, columns_;
    std::vector<TableCellSlot> slots_;
    std::vector<std::int32_t> minimum_;
};

struct RecordBytes {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(668, 255);
    TableRecord Record() { return TableRecord(RecordView(std::span<std::uint8_t>(bytes))); }
};

// A record with the given column kinds and widths, spacing S, one row per `rows`.
TableRecord Columns(RecordBytes& b, std::vector<std::pair<int, int>> columns, int spacing,
                    int rows = 1) {
    TableRecord r = b.Record();
    r.SetRows(rows);
    r.SetColumns(int(columns.size()));
    r.SetSpacing(spacing);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        r.SetKind(int(c), columns[c].first);
        r.SetWidth(int(c), columns[c].second);
    }
    return r;
}

TEST(TableRules, ColumnRulesPlaceTheCells) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, int>> columns;
        int spacing;
        std::int32_t width;
        std::vector<std::int32_t> minimum;  // per column, row 0
        std::vector<std::int32_t> widths;   // row 0 after placement
        std::vector<std::int32_t> stored;   // the record's widths after
    };
    const std::vector<Case> cases{
        {"shares 1 and 2 of 100: the remainder never exceeds 3",
         {{0, 1}, {0, 2}},
         0,
         100,
         {1, 1},
         {33, 66},
         {1, 2}},
        {"200 wide, spacing 2, 3 columns: 192 shared",
         {{0, 1}, {0, 1}, {0, 1}},
         2,
         200,
         {1, 1, 1},
         {64, 64, 64},
         {1, 1, 1}},
        {"spacing beyond the width: the columns share 10",
         {{0, 1}, {0, 1}},
         200,
         100,
         {1, 1},
         {5, 5},
         {1, 1}},
        {"a free column next to a percent one keeps its measure",
         {{0, 1}, {2, 0}},
         0,
         300,
         {1, 40},
         {260, 40},
         {1, 40}},
        {"a free column among fixed ones takes the rest",
         {{1, 50}, {2, 0}},
         0,
         300,
         {1, 1},
         {50, 250},
         {50, 30}},
        {"a fixed column forced wider keeps its stored width",
         {{1, 20}, {1, 30}},
         0,
         300,
         {45, 1},
         {45, 30},
         {20, 30}},
        {"shares adding up to nothing divide nothing",
         {{0, 0}, {0, 0}},
         0,
         100,
         {1, 1},
         {1, 1},
         {0, 0}},
    };
    for (const Case& k : cases) {
        RecordBytes b;
        TableRecord r = Columns(b, k.columns, k.spacing);
        FakeGrid grid(1, int(k.columns.size()));
        for (std::size_t c = 0; c < k.minimum.size(); ++c) grid.SetMinimum(0, int(c), k.minimum[c]);
        const TableSize size = PlaceTableCells(r, grid, k.width);
        EXPECT_EQ(grid.RowWidths(0), k.widths) << k.what;
        std::vector<std::int32_t> stored;
        for (int c = 0; c < int(k.columns.size()); ++c) stored.push_back(r.Width(c));
        EXPECT_EQ(stored, k.stored) << k.what;
        std::int32_t right = k.spacing;
        for (std::int32_t w : k.widths) right += w + k.spacing;
        EXPECT_EQ(size.width, right) << k.what;
        EXPECT_EQ(size.height, 10 + 2 * k.spacing) << k.what;
    }
}

TEST(TableRules, RowsTakeTheirTallestCellAndUnchangedCellsAreOnlyMoved) {
    RecordBytes b;
    TableRecord r = Columns(b, {{0, 50}, {0, 50}}, 2, 3);
    FakeGrid grid(3, 2);
    PlaceTableCells(r, grid, 206);
    EXPECT_EQ(grid.Slot(2, 1).y, 2 + 10 + 2 + 11 + 2);
    EXPECT_EQ(grid.Slot(2, 1).height, 12);
    EXPECT_EQ(grid.Slot(1, 1).x, 2 + 100 + 2);
    const int before = grid.measures;
    PlaceTableCells(r, grid, 206);
    EXPECT_EQ(grid.measures, before) << "the same width lays out no cell again";
}

TEST(TableRules, NewTableStylesNavigationAndBackgrounds) {
    RecordBytes b;
    NewTableChoice choice{3, 3, 11, 0x0000FF, 0x00FF00, true};
    const std::optional<std::string> list = ApplyNewTable(b.Record(), choice);
    ASSERT_TRUE(list);
    const std::vector<std::int32_t> v = ReadCellBackgrounds(list, 3, 3);
    EXPECT_THAT(v, ElementsAre(0xFF, 0xFF, 0xFF00, -1, -1, 0xFF00, 0xFF, 0xFF, 0xFF00));
    EXPECT_EQ(b.Record().Spacing(), 0);
    EXPECT_EQ(b.Record().Border(), 1);

    RecordBytes c;
    EXPECT_FALSE(ApplyNewTable(c.Record(), {2, 3, 3, 7, 8, false}) == std::nullopt);
    EXPECT_EQ(c.Record().Width(0), 33);
    EXPECT_EQ(c.Record().Kind(2), kColumnPercent);
    EXPECT_EQ(c.Record().Percent(), 99);
    EXPECT_EQ(kNewTableStyleNames.at(11), "Lista");

    // A list cut short reads transparent where it ends; pictures and colours encode back.
    EXPECT_THAT(ReadCellBackgrounds(std::string("\x05\x00\x00\x03\x01", 5), 1, 2),
                ElementsAre(0x03000005, -1));
    EXPECT_EQ(TableBackground::Decode(0x03000005).kind, TableBackground::Kind::Picture);
    EXPECT_EQ(TableBackground::Decode(0x03000005).Encode(), 0x03000005);
    EXPECT_EQ(TableBackground::Decode(-1).kind, TableBackground::Kind::Transparent);
    EXPECT_EQ(TableBackground::Decode(0x02000000).kind, TableBackground::Kind::Transparent);

    using M = CellMove;
    const std::vector<std::tuple<CellIndex, M, CellIndex>> moves{
        {{0, 2}, M::Next, {1, 0}},     {{1, 0}, M::Previous, {0, 2}},
        {{0, 0}, M::Previous, {0, 0}}, {{2, 2}, M::Next, {2, 2}},
        {{0, 1}, M::Up, {0, 1}},       {{1, 1}, M::Down, {2, 1}},
        {{2, 1}, M::Down, {2, 1}},     {{0, 0}, M::Last, {2, 2}},
        {{2, 2}, M::First, {0, 0}},    {{0, 2}, M::LastRowStart, {2, 0}},
    };
    for (const auto& [from, move, to] : moves) EXPECT_EQ(NeighbourCellIndex(3, 3, from, move), to);
    EXPECT_EQ(NeighbourCellIndex(0, 0, {0, 0}, M::Last), (CellIndex{0, 0}));
}

TEST(TableRules, HeaderTextsAndColumnDrags) {
    RecordBytes b;
    TableRecord r = Columns(b, {{0, 40}, {1, 80}, {2, 0}}, 2);
    EXPECT_THAT(
        RebuildHeaderSections(r),
        ElementsAre(HeaderSection{40, "40%"}, HeaderSection{80, "80"}, HeaderSection{10, "*"}));
    EXPECT_THAT(UpdateHeaderSections(r, {100, 80, 57}),
                ElementsAre(HeaderSection{102, "40%"}, HeaderSection{82, "80"},
                            HeaderSection{59, "* (57)"}));

    // A fixed column takes the change; a free one becomes fixed.
    EXPECT_EQ(DragColumn(r, 1, 300, 82, 102, false), 320);
    EXPECT_EQ(r.Width(1), 100);
    EXPECT_EQ(DragColumn(r, 2, 300, 59, 70, false), 311);
    EXPECT_EQ(r.Kind(2), kColumnFixed);
    EXPECT_EQ(r.Width(2), 68);
    // Narrower than 10 pixels: refused, nothing changed.
    EXPECT_EQ(DragColumn(r, 0, 50, 45, 2, false), std::nullopt);
    EXPECT_EQ(r.Width(0), 40);
    // A percent table in a cell stays at or below 100; outside it may pass 100 up to 255.
    r.SetWidthInPercent(true);
    r.SetPercent(90);
    DragColumn(r, 1, 200, 82, 182, true);
    EXPECT_EQ(r.Percent(), 100);
    r.SetPercent(200);
    DragColumn(r, 1, 200, 82, 282, false);
    EXPECT_EQ(r.Percent(), 255);
    EXPECT_EQ(PercentAfterResize(900, 300, true), 100);
    EXPECT_EQ(PercentAfterResize(900, 300, false), 255);
    EXPECT_EQ(PercentAfterResize(150, 300, false), 50);
}

// ---------------------------------------------------------------------------------------------
// The table view over real cell boxes.

class TableViewTest : public test::KytTest {
protected:
    // A page whose text holds a rows x columns table between two paragraphs; the cell
    // (r, c) reads "rc".
    void Open(int rows, int columns) {
        TKYToggetto& table = Add(TOggettiHel::tabellaHtml);
        TableRecord record(table.View());
        ApplyNewTable(record, {rows, columns, 0, -1, -1, false});
        char code[16];
        std::snprintf(code, sizeof code, "<$08%06x>", unsigned(table.Identifier()));
        std::string markup = "<Z S0 >prima<Z S0 >" + std::string(code);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                markup += "<Z S1 >" + std::to_string(r) + std::to_string(c) + "<T>";
        markup += "<Z S0 >dopo";
        page_ = &AddPage("Tabella", markup + '\0');
        text_ = OpenText(set_, *page_, false);
        host_ = std::make_unique<TextMarkupHost>(set_, *text_, metrics_);
        views_ = std::make_unique<ObjectViewHost>(surface_, set_, messages_, scheduler_);
        if (useList_) {
            // As the page view wires it: the views number themselves in the page's control
            // index, the tables' steps join the hypertext's list.
            TKYTundoList& list = UndoListOf(set_);
            list.Frames().SetFrame(kFrame, page_->Identifier(), &controls_);
            views_->SetUndo(&list, &controls_);
            views_->SetUndoPage(page_->Identifier(), kFrame);
        }
        host_->tables = [this](const TKYToggetto& o) -> ITableCells* {
            IInlineObject* view = views_->ViewOf(o);
            return view ? view->TableCellsFor(*host_) : nullptr;
        };
        box_ = std::make_unique<TKYTbox>(*host_, *views_);
        views_->SetBox(box_.get());
        box_->LoadText(std::nullopt, *text_->ContentBytes(), std::nullopt);
        table_ = dynamic_cast<TMyyTable*>(views_->Find(*box_->Paragraph(1).objects.at(0)));
        ASSERT_NE(table_, nullptr);
    }
    std::string Markup() { return WriteText(box_->AllParagraphs(), *host_); }
    std::string CellText(int r, int c) {
        TKYTbox* cell = table_->CellAt(r, c);
        return cell && cell->ParagraphCount() ? cell->Paragraph(0).text : "(none)";
    }
    std::vector<std::string> Captions() {
        std::vector<std::string> out;
        for (const TableUndoStep& s : views_->TableUndoSteps()) out.push_back(s.caption);
        return out;
    }

    static constexpr std::int32_t kFrame = 3;
    bool useList_ = false;
    TKYTundoIndiciList controls_;
    FixedMetrics metrics_;
    RecordingBoxHost surface_{600, 400};
    ManualScheduler scheduler_;
    TKYToggetto* page_ = nullptr;
    std::unique_ptr<TKYTtesto> text_;
    std::unique_ptr<TextMarkupHost> host_;
    std::unique_ptr<ObjectViewHost> views_;
    std::unique_ptr<TKYTbox> box_;
    TMyyTable* table_ = nullptr;
};

TEST_F(TableViewTest, CellsReadWriteAndLayOutInTheirParagraph) {
    Open(2, 3);
    EXPECT_EQ(table_->RowCount(), 2);
    EXPECT_EQ(table_->ColumnCount(), 3);
    EXPECT_EQ(CellText(1, 2), "12");
    const std::string written = Markup();
    EXPECT_NE(written.find("<Z S1 >00<T><Z S1 >01<T><Z S1 >02<T><Z S1 >10<T>"), std::string::npos)
        << written;
    // Style 0: percent columns of 33 in a table 99 % of the line's width.
    const ObjectSize size = table_->Size();
    const std::int32_t line = table_->LastAvail();
    EXPECT_GT(line, 500);
    EXPECT_LE(line, 600);
    EXPECT_EQ(table_->LastWidth(), line * 99 / 100);
    EXPECT_GE(size.width, table_->LastWidth() - 2) << "the columns share the whole width";
    EXPECT_LE(size.width, table_->LastWidth());
    EXPECT_GT(size.height, 2 * metrics_.Metrics(TMyFont{"Times New Roman", 0, 0, 12, 0}).height);
    EXPECT_EQ(box_->Paragraph(2).top,
              box_->Paragraph(1).bottom + 1 + box_->Paragraph(2).style.SpaceBefore())
        << "the paragraph after the table starts below it";

    // Drawing: every cell's text where the table was placed.
    RecordingCanvas canvas(metrics_);
    box_->drawObjectsOnCanvas = true;
    box_->Paint(canvas, {0, 0, 600, 400});
    int cells = 0;
    for (const std::string& text : canvas.Texts())
        if (text.size() == 2 && text[0] >= '0' && text[0] <= '1') ++cells;
    EXPECT_EQ(cells, 6);
}

TEST_F(TableViewTest, AddAndDeleteWithinTheLimitsAndUndoBackToTheSameText) {
    Open(3, 48);
    const std::string original = Markup();
    // 48 + 3 columns: the message, nothing changed, no undo step.
    EXPECT_FALSE(table_->AddColumns(0, 3));
    ASSERT_EQ(messages_.Shown().size(), 1u);
    EXPECT_EQ(messages_.Shown()[0].text, kTooManyColumns);
    EXPECT_TRUE(Captions().empty());
    EXPECT_EQ(Markup(), original);
    // + 2: 50 columns, the new ones percent columns of share 10, the first new cell current.
    ASSERT_TRUE(table_->AddColumns(5, 2));
    EXPECT_EQ(table_->ColumnCount(), 50);
    const TableRecord record(table_->Object()->ReadView());
    EXPECT_EQ(record.Columns(), 50);
    EXPECT_EQ(record.Kind(6), kColumnPercent);
    EXPECT_EQ(record.Width(6), 10);
    EXPECT_EQ(record.Width(7), 100 / 48);
    EXPECT_EQ(table_->CurrentCell(), table_->CellAt(0, 5));
    EXPECT_EQ(CellText(2, 7), "25");
    // Deleting every column or row, or a range outside the table, is ignored.
    EXPECT_FALSE(table_->RequestDeleteColumns(0, 49));
    EXPECT_FALSE(table_->RequestDeleteRows(0, 2));
    EXPECT_FALSE(table_->RequestDeleteRows(2, 3));
    EXPECT_THAT(Captions(), ElementsAre(std::string(kUndoAddColumns)));
    // Deleting the last column runs when its message comes and moves the focus left.
    table_->SetCurrentCell(table_->CellAt(1, 49));
    ASSERT_TRUE(table_->RequestDeleteColumns(49, 49));
    EXPECT_EQ(table_->ColumnCount(), 50) << "posted, not yet run";
    scheduler_.RunPending();
    EXPECT_EQ(table_->ColumnCount(), 49);
    EXPECT_EQ(table_->CurrentCell(), table_->CellAt(1, 48));
    ASSERT_TRUE(table_->AddRows(1, 1));
    ASSERT_TRUE(table_->RequestDeleteRows(0, 0));
    scheduler_.RunPending();
    EXPECT_EQ(CellText(0, 0), "");
    EXPECT_EQ(CellText(1, 0), "10");
    EXPECT_THAT(Captions(),
                ElementsAre(std::string(kUndoAddColumns), std::string(kUndoDeleteColumns),
                            std::string(kUndoAddRows), std::string(kUndoDeleteRows)));
    // Each step taken back, last first: the text as it was, byte for byte.
    auto& steps = views_->TableUndoSteps();
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) table_->Undo(*it);
    EXPECT_EQ(Markup(), original);
}

TEST_F(TableViewTest, RandomEditsUndoneRestoreTheText) {
    Open(3, 4);
    const std::string original = Markup();
    std::mt19937 random(22);
    for (int round = 0; round < 60; ++round) {
        const int R = table_->RowCount(), C = table_->ColumnCount();
        const int what = int(random() % 4);
        const int at = int(random() % 5);
        const int n = 1 + int(random() % 3);
        if (what == 0) table_->AddRows(std::min(at, R), n);
        if (what == 1) table_->AddColumns(std::min(at, C), n);
        if (what == 2) table_->RequestDeleteRows(std::min(at, R - 1), std::min(at + n, R - 1));
        if (what == 3) table_->RequestDeleteColumns(std::min(at, C - 1), std::min(at + n, C - 1));
        scheduler_.RunPending();
        ASSERT_EQ(TableRecord(table_->Object()->ReadView()).Rows(), table_->RowCount());
        ASSERT_EQ(TableRecord(table_->Object()->ReadView()).Columns(), table_->ColumnCount());
    }
    auto& steps = views_->TableUndoSteps();
    ASSERT_FALSE(steps.empty());
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) table_->Undo(*it);
    EXPECT_EQ(Markup(), original);
}

// The table as the file keeps it: its paragraphs' markup with the cells, the object's record
// and its cell background list.
std::string TableState(TMyyTable& table, std::string markup) {
    const auto record = table.Object()->Record();
    markup.append(reinterpret_cast<const char*>(record.data()), record.size());
    return markup + table.Object()->Auxiliary().value_or("(none)");
}

TEST_F(TableViewTest, StepsInTheHypertextsListUndoEachCommandByteForByte) {
    useList_ = true;
    Open(3, 48);
    TKYTundoList& list = UndoListOf(set_);
    list.SetDepth(100);
    const auto state = [this] { return TableState(*table_, Markup()); };
    // A refused change records nothing (51 columns; 256 rows).
    EXPECT_FALSE(table_->AddColumns(0, 3));
    EXPECT_FALSE(table_->AddRows(0, 253));
    EXPECT_FALSE(list.CanUndo());
    // Random commands; before each one that is taken, the state it must come back to.
    std::vector<std::string> before;
    std::mt19937 random(19);
    table_->SetCellBackground(1, 2, 0x00FF00);
    for (int round = 0; round < 40; ++round) {
        const int R = table_->RowCount(), C = table_->ColumnCount();
        const int at = int(random() % 6), n = 1 + int(random() % 3);
        const std::string now = state();
        const std::size_t steps = list.Count();
        switch (random() % 6) {
            case 0:
                table_->AddRows(std::min(at, R), n);
                break;
            case 1:
                table_->AddColumns(std::min(at, C), n);
                break;
            case 2:
                table_->RequestDeleteRows(std::min(at, R - 1), std::min(at + n, R - 1));
                break;
            case 3:
                table_->RequestDeleteColumns(std::min(at, C - 1), std::min(at + n, C - 1));
                break;
            case 4:
                table_->SetSelected(true);
                table_->DragHeaderSection(std::min(at, C - 1), 40 + 7 * n);
                break;
            default:
                table_->ResizeTo(200 + 50 * n, 560);
                break;
        }
        scheduler_.RunPending();
        if (list.Count() > steps) before.push_back(now);
        ASSERT_EQ(list.Count(), before.size()) << "one step for each command taken";
    }
    ASSERT_GT(before.size(), 20u);
    EXPECT_THAT(list.Labels()[0],
                ::testing::AnyOf(std::string(kUndoAddRows), std::string(kUndoAddColumns),
                                 std::string(kUndoDeleteRows), std::string(kUndoDeleteColumns),
                                 std::string(kUndoSizeCells), std::string(kUndoSizeTable)));
    while (!before.empty()) {
        const std::string label = list.Labels().front();
        ASSERT_NE(list.UndoOne(), nullptr) << label;
        ASSERT_EQ(state(), before.back()) << "after undoing " << label;
        before.pop_back();
    }
    // A step whose table went with its page's views does nothing.
    ASSERT_TRUE(table_->AddRows(0, 1));
    views_->Clear();
    table_ = nullptr;
    EXPECT_EQ(list.UndoOne(), nullptr);
    EXPECT_FALSE(list.CanUndo());
    for (const auto& shown : messages_.Shown())
        EXPECT_THAT(shown.text,
                    ::testing::AnyOf(std::string(kTooManyColumns), std::string(kTooManyRows)));
}

TEST_F(TableViewTest, CellStreamsRejectWhatDoesNotFit) {
    Open(2, 2);
    const std::string contents = table_->WriteCellContents(0, 1, 1, 1);
    const std::string ids = table_->WriteCellIds();
    EXPECT_EQ(ids.size(), 4u + 16u);
    EXPECT_EQ(ids[0], 16);
    // Wrong first value, a cell's bytes cut short, an id count that does not match: refused.
    std::string wrong = contents;
    wrong[0] = 5;
    EXPECT_FALSE(table_->ReadCellContents(wrong, 0, 1, 1, 1));
    EXPECT_FALSE(table_->ReadCellContents(contents.substr(0, 12), 0, 1, 1, 1));
    EXPECT_FALSE(table_->ReadCellIds(std::string("\x08\0\0\0\1\0\0\0\2\0\0\0", 12)));
    EXPECT_TRUE(table_->ReadCellContents(contents, 0, 1, 0, 0));
    EXPECT_EQ(CellText(0, 0), "10");
    EXPECT_EQ(CellText(0, 1), "11");
}

}  // namespace
}  // namespace orvo

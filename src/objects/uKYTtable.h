// TMyyTable: the view of a table object, a grid of cell text boxes placed by the table's column
// rules. Each cell is a complete rich-text box; a cell can hold another table. The cells read
// and write their paragraphs through the table's markup (ITableCells), are drawn where the
// holding box places the table, and are added, deleted and resized by the table commands, each
// change after its undo step.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "objects/TableRules.h"
#include "objects/uKYTvisu.h"
#include "textbox/IBoxHost.h"
#include "textbox/uKYTbox.h"

namespace orvo {

class TMyyTable;

/// A table undo step: enough to take back one table command. Steps of adds name the range that
/// was opened; steps of deletions, sizes and property changes keep the record, the cell
/// background list and, for deletions, the contents and registry ids of the deleted cells.
struct TableUndoStep {
    enum class Kind : std::uint8_t { AddColumns, AddRows, DeleteColumns, DeleteRows, Record };
    Kind kind = Kind::Record;
    std::string caption;
    std::int32_t tableRegistryId = -1;
    int first = 0;
    int count = 0;
    std::string record;                      // the 668 bytes before the change
    std::optional<std::string> backgrounds;  // the cell background list before the change
    std::string contents;                    // WriteCellContents of the deleted cells
    std::string ids;                         // their registry ids
};

/// One cell: its text box, where the table placed it, and its registry id.
class TableCell final : private IBoxHost {
public:
    TableCell(TMyyTable& table, IMarkupHost& markup);
    TKYTbox& Box() { return box_; }
    const TKYTbox& Box() const { return box_; }
    TableCellSlot slot;
    std::int32_t registryId = -1;
    std::int32_t background = -1;  // as the cell background list keeps it

private:
    // IBoxHost: the cell box lives on the table's page, at the cell's place.
    IBoxHost& Outer() const;
    std::int32_t ClientWidth() const override { return Outer().ClientWidth(); }
    std::int32_t ClientHeight() const override { return Outer().ClientHeight(); }
    std::int32_t HorizontalRange() const override { return Outer().HorizontalRange(); }
    std::int32_t HorizontalPosition() const override { return Outer().HorizontalPosition(); }
    std::int32_t VerticalRange() const override { return Outer().VerticalRange(); }
    std::int32_t VerticalPosition() const override { return Outer().VerticalPosition(); }
    void SetHorizontalScroll(std::int32_t, std::int32_t) override {}
    void SetVerticalScroll(std::int32_t, std::int32_t) override {}
    Point BoxOriginInPage() const override;
    void BoxResized(std::int32_t, std::int32_t) override {}
    void Invalidate(const Rect& area) override;
    void StopSpellCheck() override {}
    void RearmSpellCheck() override {}
    bool ShowBoundaries() const override { return Outer().ShowBoundaries(); }
    bool ReadOnly() const override { return Outer().ReadOnly(); }
    void RefreshTools() override {}
    IInlineObject* ViewOf(const TKYToggetto& object) override { return Outer().ViewOf(object); }

    TMyyTable& table_;
    TKYTbox box_;
};

class TMyyTable final : public TMyyVisual,
                        public ITableCells,
                        public ITableHost,
                        private ITableGrid {
public:
    explicit TMyyTable(IMessages& messages);
    ~TMyyTable() override;

    /// Makes the cells of the table object (rows x columns boxes reading and writing through
    /// `markup`), then applies the backgrounds. Nothing when the cells exist already.
    void SetTableObject(IMarkupHost& markup);
    /// A table the editor inserts: every cell gets the empty-cell markup.
    void AttachNew();
    /// Places the cells for a table `width` pixels wide and takes the resulting size.
    void LayoutCells(std::int32_t width, bool updateHeader);
    /// The holding paragraph lays the table out for the available width `a`.
    void ApplyAvailableWidth(std::int32_t a);
    /// The holding box lays the table's paragraph out again.
    void RelayoutInHolder();
    /// Every cell reads its text again (a style changed), then the table is placed again.
    void ReformatCells();

    TKYTbox* CellAt(int row, int column);
    /// The row and column of a cell box of this table; false (outputs unchanged) otherwise.
    bool FindCell(const TKYTbox& box, int& row, int& column) const;
    /// The registry id of a cell box of this table (-1 for none), and the cell with an id.
    std::int32_t CellId(const TKYTbox& box) const;
    TKYTbox* CellWithId(std::int32_t id);
    TKYTbox* NeighbourCell(int row, int column, CellMove move);
    int RowCount() const;
    int ColumnCount() const;

    /// Inserts `count` columns (rows) before `position`, after the undo step; false when the
    /// count is below 1, the position is outside 0..count, or the table would pass 50 columns
    /// (255 rows): then the message is shown and no undo step is recorded.
    bool AddColumns(int position, int count);
    bool AddRows(int position, int count);
    /// Checks a deletion, records its undo step and posts it (the deletion runs after the
    /// command that asked for it); false for a range that is not valid or covers every row or
    /// column.
    bool RequestDeleteColumns(int first, int last);
    bool RequestDeleteRows(int first, int last);
    /// Deletes columns (rows) first..last; with `full` the record follows and the table is
    /// placed again. Returns the cell to make current, or none.
    TKYTbox* DeleteColumns(int first, int last, bool full);
    TKYTbox* DeleteRows(int first, int last, bool full);
    /// Called with the cell to make current once a posted deletion has run (the editor puts
    /// the caret there).
    std::function<void(TKYTbox&)> afterDeletion;

    /// The cells' backgrounds into the cell background list, and from it back to the cells.
    void StoreBackgrounds();
    void ApplyBackgrounds();
    /// Sets one cell's background (a stored value) and keeps it in the list.
    void SetCellBackground(int row, int column, std::int32_t value);

    /// The header strip's sections, shown while the table is selected.
    void RebuildHeader();
    void UpdateHeader();
    const std::vector<HeaderSection>& HeaderSections() const { return header_; }
    bool HeaderShown() const { return headerShown_; }
    /// A header section's edge dragged from its width to `newWidth`: after the undo step the
    /// column takes the change, the table is placed again. False when nothing changed or the
    /// table would be narrower than 10 pixels.
    bool DragHeaderSection(int column, std::int32_t newWidth);
    /// The table's handles resized it to `width` in a paragraph `paragraphWidth` wide.
    void ResizeTo(std::int32_t width, std::int32_t paragraphWidth);

    /// The values "Proprietà tabella/caselle..." starts from for the cell (row, column).
    TableProperties Properties(int row, int column) const;
    /// After the undo step "Modifica tabella" the record takes the properties and the cells of
    /// their scope the cell background; the table is laid out again for its available width
    /// and its paragraph in the holder. False (nothing recorded) without a cell (row, column).
    bool ApplyProperties(const TableProperties& properties, int row, int column);

    /// The cells' registry ids: a 32-bit byte count, then the ids row after row.
    std::string WriteCellIds() const;
    /// Gives the ids back; false (nothing changed) when the count does not match the grid.
    bool ReadCellIds(std::string_view bytes);
    /// The contents of the cells of columns c1..c2 and rows r1..r2: the value 4, each cell's
    /// markup (its byte count, then the bytes), then the value 0.
    std::string WriteCellContents(int c1, int c2, int r1, int r2) const;
    /// Replaces those cells' contents; false when the stream does not start with 4 or ends
    /// before a cell's markup.
    bool ReadCellContents(std::string_view bytes, int c1, int c2, int r1, int r2);

    /// Takes a table command back (the step recorded before it).
    void Undo(const TableUndoStep& step);

    /// The cell being edited (the frame set's current control when it is a cell), or none.
    TKYTbox* CurrentCell() const { return current_; }
    void SetCurrentCell(TKYTbox* cell) { current_ = cell; }
    /// The table lies inside a table cell.
    bool InCell() const { return inCell_; }
    void SetInCell(bool on) { inCell_ = on; }
    std::int32_t LastWidth() const { return lastWidth_; }
    std::int32_t LastAvail() const { return lastAvail_; }
    /// The cell whose text changed last arranged the rows (counted for tests and benchmarks).
    int FullLayouts() const { return fullLayouts_; }

    // TMyyVisual
    void SetSelected(bool on) override;
    void SetReadOnly(bool on) override;
    void Setup() override {}

    // IInlineObject
    bool IsTable() const override { return true; }
    void UpdateSize(std::int32_t fullWidth) override { ApplyAvailableWidth(fullWidth); }
    int VerticalAlignment() const override { return 0; }
    void Reformat() override { ReformatCells(); }
    ITableCells* TableCellsFor(IMarkupHost& markup) override;

    // ITableCells
    int Rows() const override { return RowCount(); }
    int Columns() const override { return ColumnCount(); }
    const Paragraphs& CellParagraphs(int row, int column) const override;
    void SetCellParagraphs(int row, int column, Paragraphs paragraphs) override;

    // ITableHost
    void ArrangeCells() override;
    void RelayoutTableParagraph() override;

    IBoxHost& OuterHost() const;
    /// Where the table's top left corner lies on the page (inside the cell of an outer table
    /// too).
    Point OriginInPage() const;
    /// The header strip shown or hidden without selecting the table (the caret is in one of
    /// its cells); never shown while the table is read-only.
    void ShowHeader(bool on);
    Point CellOrigin(const TableCell& cell) const;
    /// Where a cell box of this table lies on the page ((0, 0) for a box that is none of its
    /// cells), and where the table placed the cell.
    Point CellBoxOrigin(const TKYTbox& box) const;
    const TableCellSlot* SlotOf(int row, int column) const;

protected:
    void PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) override;

private:
    int GridRows() const override { return RowCount(); }
    int GridColumns() const override { return ColumnCount(); }
    TableCellSlot& Slot(int row, int column) override;
    void Measure(int row, int column, std::int32_t width) override;

    std::unique_ptr<TableCell> NewCell(bool empty);
    void FillEmpty(TableCell& cell);
    void PrepareCell(TableCell& cell);
    void Record(TableUndoStep step);
    TableUndoStep RecordStep(TableUndoStep::Kind kind, std::string_view caption, int first,
                             int count) const;
    void RestoreRecord(const TableUndoStep& step);
    void FocusCell(TKYTbox* cell);
    void Relayout() override;
    /// The width the record asks for in the available width last applied.
    std::int32_t WidthForAvailable() const;

    IMarkupHost* markup_ = nullptr;
    std::vector<std::vector<std::unique_ptr<TableCell>>> rows_;
    std::vector<HeaderSection> header_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    RecordingBoxHost fallbackHost_;
    TKYTbox* current_ = nullptr;
    std::int32_t lastWidth_ = 0;
    std::int32_t lastAvail_ = -1;
    int fullLayouts_ = 0;
    bool updating_ = false;
    bool placing_ = false;
    bool headerShown_ = false;
    bool inCell_ = false;
    Paragraphs none_;
};

}  // namespace orvo

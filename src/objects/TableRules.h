// The rules of tables that need no window: the table record's fields, the placement of the
// cells by the column rules, the styles of a new table, moving between cells, the header strip's
// texts, resizing a column by its header, and the list of cell backgrounds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ObjectRecord.h"

namespace orvo {

class TKYToggetto;

inline constexpr int kColumnPercent = 0;
inline constexpr int kColumnFixed = 1;
inline constexpr int kColumnFree = 2;
/// Row counts are kept in one byte of the record.
inline constexpr int kTableMaxRows = 255;
/// What the new-table dialog offers.
inline constexpr int kNewTableMaxRows = 200;
/// The header strip's height above a selected table.
inline constexpr std::int32_t kTableHeaderHeight = 12;

inline constexpr std::string_view kTooManyColumns = "Il numero massimo di colonne \xE8 limitato.";
inline constexpr std::string_view kTooManyRows = "Il numero massimo di righe \xE8 limitato.";

/// Undo captions of the table commands.
inline constexpr std::string_view kUndoAddColumns = "Aggiunta colonne";
inline constexpr std::string_view kUndoAddRows = "Aggiunta righe";
inline constexpr std::string_view kUndoDeleteColumns = "Cancellazione colonne";
inline constexpr std::string_view kUndoDeleteRows = "Cancellazione righe";
inline constexpr std::string_view kUndoSizeCells = "Dimensiona celle";
inline constexpr std::string_view kUndoSizeTable = "Dimensiona tabella";
inline constexpr std::string_view kUndoEditTable = "Modifica tabella";

/// The markup of a new, empty cell: one empty paragraph of style 1, then the cell's end.
inline constexpr std::string_view kEmptyCellMarkup = "<Z S1 ><T>";

/// The names of the new-table styles, in the order of their numbers.
extern const std::vector<std::string_view> kNewTableStyleNames;

/// A background of a table or a cell, as the record and the cell list keep it.
struct TableBackground {
    enum class Kind : std::uint8_t { Transparent, Colour, Picture };
    Kind kind = Kind::Transparent;
    std::int32_t value = 0;  // the colour (0x00BBGGRR) or the picture's identifier

    /// Decodes a stored value: 0 up to 0x01FFFFFF a colour (its low three bytes), 0x03000000 to
    /// 0x03FFFFFF a picture by the identifier in its low three bytes, any other transparent.
    static TableBackground Decode(std::int32_t stored);
    std::int32_t Encode() const;
    bool operator==(const TableBackground&) const = default;
};

/// The fields of a table record (the object's 668-byte block).
class TableRecord {
public:
    explicit TableRecord(RecordView view) : view_(view) {}

    int Rows() const { return view_.U8(kTableRows); }
    int Columns() const { return std::min<int>(view_.U8(kTableColumns), kTableMaxColumns); }
    void SetRows(int rows) { view_.SetU8(kTableRows, std::uint8_t(rows)); }
    void SetColumns(int columns) { view_.SetU8(kTableColumns, std::uint8_t(columns)); }
    int Kind(int column) const;
    std::int32_t Width(int column) const;
    void SetKind(int column, int kind);
    void SetWidth(int column, std::int32_t width);
    bool WidthInPercent() const { return view_.U8(kTablePercentFlag) != 0; }
    void SetWidthInPercent(bool on) { view_.SetU8(kTablePercentFlag, on ? 1 : 0); }
    int Percent() const { return view_.U8(kTablePercent); }
    void SetPercent(int percent) { view_.SetU8(kTablePercent, std::uint8_t(percent)); }
    std::int32_t FixedWidth() const { return view_.I16(kTableFixedWidth); }
    void SetFixedWidth(std::int32_t w) { view_.SetI16(kTableFixedWidth, std::int16_t(w)); }
    int Padding() const { return view_.U8(kTablePadding); }
    int Spacing() const { return view_.U8(kTableSpacing); }
    int Border() const { return view_.U8(kTableBorder); }
    void SetPadding(int v) { view_.SetU8(kTablePadding, std::uint8_t(v)); }
    void SetSpacing(int v) { view_.SetU8(kTableSpacing, std::uint8_t(v)); }
    void SetBorder(int v) { view_.SetU8(kTableBorder, std::uint8_t(v)); }
    std::int32_t Background() const { return view_.I32(kTableBackground); }
    void SetBackground(std::int32_t v) { view_.SetI32(kTableBackground, v); }

    /// Moves the kinds and widths of columns `from`..49 right by `count` (the last ones drop
    /// off); the opened columns get `kind` and `width`.
    void ShiftColumnsRight(int from, int count, int kind, std::int32_t width);
    /// Moves the kinds and widths of the columns after `last` left over first..last.
    void ShiftColumnsLeft(int first, int last);

    RecordView& View() { return view_; }

private:
    RecordView view_;
};

/// The cell backgrounds of a table: rows x columns values, row after row. A list shorter than
/// the grid reads as transparent where it ends.
std::vector<std::int32_t> ReadCellBackgrounds(const std::optional<std::string>& auxiliary, int rows,
                                              int columns);
std::string WriteCellBackgrounds(const std::vector<std::int32_t>& values);
/// What a new table is made of (the new-table dialog's fields).
struct NewTableChoice {
    int rows = 1;
    int columns = 1;
    std::optional<int> style;  // 0..11, none keeps the record's defaults
    std::int32_t first = -1;   // a stored background value (colour or picture)
    std::int32_t second = -1;  // a colour
    bool border = false;
};

/// Fills a new table's record and returns its cell background list (none when the style
/// keeps no list). Rows are clamped to 1..255 and columns to 1..50.
std::optional<std::string> ApplyNewTable(TableRecord record, const NewTableChoice& choice);

/// Where the cells of a table are and how wide they came out. `request` is the width the
/// cell's text was last laid out for (-1: never), `contentHeight` the height its text takes.
struct TableCellSlot {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    std::int32_t contentHeight = 0;
    std::int32_t request = -1;
};

/// The grid the placement works on: lays a cell's text out for a width (the cell may come out
/// wider when its content cannot be narrower) and sets the slot's width, contentHeight and
/// request.
class ITableGrid {
public:
    virtual ~ITableGrid() = default;
    virtual int GridRows() const = 0;
    virtual int GridColumns() const = 0;
    virtual TableCellSlot& Slot(int row, int column) = 0;
    virtual void Measure(int row, int column, std::int32_t width) = 0;
};

/// Places the cells for a table `width` pixels wide by the record's column rules; the stored
/// widths of fixed columns stay, a free column's becomes its measured width. Returns the
/// table's size. A cell is laid out again only when the width asked of it changes.
struct TableSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};
TableSize PlaceTableCells(TableRecord record, ITableGrid& grid, std::int32_t width);
/// Only the final placement: row heights and positions from the cells' current sizes (after a
/// cell's text changed height but not width).
TableSize ArrangeTableRows(TableRecord record, ITableGrid& grid);

/// Directions of cell navigation.
enum class CellMove : std::uint8_t { Previous, Next, Up, Down, Last, First, LastRowStart };
struct CellIndex {
    int row = 0;
    int column = 0;
    bool operator==(const CellIndex&) const = default;
};
/// The neighbour of (row, column) in a rows x columns grid; the cell itself when there is none.
CellIndex NeighbourCellIndex(int rows, int columns, CellIndex from, CellMove move);

/// A section of the header strip.
struct HeaderSection {
    std::int32_t width = 0;
    std::string text;
    bool operator==(const HeaderSection&) const = default;
};
/// The sections as a rebuild makes them: w followed by "%", w, or "*"; width at least 10.
std::vector<HeaderSection> RebuildHeaderSections(TableRecord record);
/// The sections after a layout: the width of the row-0 cell + spacing; the share followed by
/// "%", the cell's width, or "* (" width ")".
std::vector<HeaderSection> UpdateHeaderSections(TableRecord record,
                                                const std::vector<std::int32_t>& rowZeroWidths);

/// A header section dragged from oldWidth to newWidth: the record's new column width, kind and
/// table percent; returns the table width to lay out, or none when the table would be
/// narrower than 10 pixels (the record is then unchanged). `inCell`: the table sits in a
/// table cell (its percent never exceeds 100).
std::optional<std::int32_t> DragColumn(TableRecord record, int column, std::int32_t tableWidth,
                                       std::int32_t oldWidth, std::int32_t newWidth, bool inCell);

/// The backgrounds a new table's styles use unless the author picks others: a light blue and
/// a light grey (0x00BBGGRR).
inline constexpr std::int32_t kNewTableFirstColour = 0x00F0E0C0;
inline constexpr std::int32_t kNewTableSecondColour = 0x00E0E0E0;

/// Which cells the properties window gives the chosen background: none, the current cell, its
/// row, its column, the even (then the odd) columns of its row or rows of its column.
enum class CellBackgroundScope : std::uint8_t {
    None,
    Cell,
    Row,
    Column,
    RowEvenColumns,
    ColumnEvenRows,
    RowOddColumns,
    ColumnOddRows,
};
/// The window's names of the scopes, in the order above.
extern const std::vector<std::string_view> kCellBackgroundScopeNames;

/// What the table and cell properties window edits: the table's width (percent or pixels),
/// padding, spacing, border and background, the current cell's column (kind and width) and a
/// background for the cells of a scope.
struct TableProperties {
    bool widthInPercent = true;
    int percent = 100;
    std::int32_t fixedWidth = 0;
    int padding = 0;
    int spacing = 0;
    int border = 0;
    std::int32_t background = -1;
    int columnKind = kColumnPercent;
    std::int32_t columnWidth = 0;
    CellBackgroundScope scope = CellBackgroundScope::None;
    std::int32_t cellBackground = -1;
    bool operator==(const TableProperties&) const = default;
};

/// The values the window starts from, for the cell in `column` (its background `cellBackground`).
TableProperties ReadTableProperties(const TableRecord& record, int column,
                                    std::int32_t cellBackground);
/// Writes the table's fields and the column's kind and width into the record, each kept within
/// what the record holds: percent 1 to 255 (100 at most for a table in a cell), fixed width 10
/// to 32767, padding, spacing and border 0 to 255, a column width 0 to 32767.
void WriteTableProperties(TableRecord record, int column, const TableProperties& properties,
                          bool inCell);
/// Gives the scope's cells of a rows x columns list (row after row) the properties' cell
/// background; (row, column) is the current cell.
void ApplyCellBackgroundScope(std::vector<std::int32_t>& backgrounds, int rows, int columns,
                              int row, int column, CellBackgroundScope scope, std::int32_t value);

/// The percent a table takes after its handles resized it to `tableWidth` in a paragraph
/// `paragraphWidth` wide: at least 1, at most 255 (100 inside a cell).
int PercentAfterResize(std::int32_t tableWidth, std::int32_t paragraphWidth, bool inCell);

}  // namespace orvo

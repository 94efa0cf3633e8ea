// Table rules without a window.
#include "objects/TableRules.h"

#include <algorithm>

namespace orvo {

namespace {

// What a free column asks before its width is known.
constexpr std::int32_t kFreeColumnStart = 30;

std::int32_t ClampI16(std::int64_t v) {
    return std::int32_t(std::clamp<std::int64_t>(v, INT16_MIN, INT16_MAX));
}

}  // namespace

const std::vector<std::string_view> kNewTableStyleNames{
    "Semplice",
    "Righe alternate",
    "Righe colorate alternate",
    "Colonne alternate",
    "Colonne colorate alternate",
    "Prima colonna",
    "Ultima colonna",
    "Prima riga e colonna",
    "Prima riga e ultima colonna",
    "Ultima riga e colonna",
    "Ultima riga e prima colonna",
    "Lista",
};

TableBackground TableBackground::Decode(std::int32_t stored) {
    const std::uint32_t u = std::uint32_t(stored);
    if (u < 0x02000000u) return {Kind::Colour, std::int32_t(u & 0xFFFFFFu)};
    if (u >= 0x03000000u && u <= 0x03FFFFFFu) return {Kind::Picture, std::int32_t(u & 0xFFFFFFu)};
    return {};
}

std::int32_t TableBackground::Encode() const {
    switch (kind) {
        case Kind::Colour:
            return value & 0xFFFFFF;
        case Kind::Picture:
            return std::int32_t(0x03000000u + (std::uint32_t(value) & 0xFFFFFFu));
        default:
            return -1;
    }
}

int TableRecord::Kind(int column) const {
    if (column < 0 || column >= kTableMaxColumns) return kColumnFixed;
    return view_.U8At(std::size_t(kTableColumnKinds + column));
}

std::int32_t TableRecord::Width(int column) const {
    if (column < 0 || column >= kTableMaxColumns) return 0;
    return view_.I16At(std::size_t(kTableColumnWidths + 2 * column));
}

void TableRecord::SetKind(int column, int kind) {
    if (column < 0 || column >= kTableMaxColumns) return;
    view_.SetU8At(std::size_t(kTableColumnKinds + column), std::uint8_t(kind));
}

void TableRecord::SetWidth(int column, std::int32_t width) {
    if (column < 0 || column >= kTableMaxColumns) return;
    view_.SetI16At(std::size_t(kTableColumnWidths + 2 * column), std::int16_t(ClampI16(width)));
}

void TableRecord::ShiftColumnsRight(int from, int count, int kind, std::int32_t width) {
    if (count <= 0 || from < 0 || from >= kTableMaxColumns) return;
    for (int c = kTableMaxColumns - 1; c >= from + count; --c) {
        SetKind(c, Kind(c - count));
        SetWidth(c, Width(c - count));
    }
    for (int c = from; c < std::min(from + count, kTableMaxColumns); ++c) {
        SetKind(c, kind);
        SetWidth(c, width);
    }
}

void TableRecord::ShiftColumnsLeft(int first, int last) {
    const int count = last - first + 1;
    if (first < 0 || count <= 0) return;
    for (int c = first; c < kTableMaxColumns; ++c) {
        const int from = c + count;
        SetKind(c, from < kTableMaxColumns ? Kind(from) : kColumnFixed);
        SetWidth(c, from < kTableMaxColumns ? Width(from) : 0);
    }
}

// ---------------------------------------------------------------------------------------------
// Backgrounds

std::vector<std::int32_t> ReadCellBackgrounds(const std::optional<std::string>& auxiliary, int rows,
                                              int columns) {
    const std::size_t count = std::size_t(std::max(rows, 0)) * std::size_t(std::max(columns, 0));
    std::vector<std::int32_t> values(count, -1);
    if (!auxiliary) return values;
    const std::string& bytes = *auxiliary;
    for (std::size_t i = 0; i < count && 4 * i + 4 <= bytes.size(); ++i) {
        std::uint32_t v = 0;
        for (int b = 3; b >= 0; --b) v = (v << 8) | std::uint8_t(bytes[4 * i + std::size_t(b)]);
        values[i] = std::int32_t(v);
    }
    return values;
}

std::string WriteCellBackgrounds(const std::vector<std::int32_t>& values) {
    std::string out;
    out.reserve(values.size() * 4);
    for (std::int32_t v : values)
        for (int b = 0; b < 4; ++b) out += char((std::uint32_t(v) >> (8 * b)) & 0xFF);
    return out;
}

// ---------------------------------------------------------------------------------------------
// New tables

std::optional<std::string> ApplyNewTable(TableRecord record, const NewTableChoice& choice) {
    const int R = std::clamp(choice.rows, 1, kTableMaxRows);
    const int C = std::clamp(choice.columns, 1, kTableMaxColumns);
    record.SetRows(R);
    record.SetColumns(C);
    record.SetBorder(choice.border ? 1 : 0);
    if (!choice.style || *choice.style < 0 || *choice.style > 11) return std::nullopt;
    const int style = *choice.style;
    record.View().SetU8(kTableStyle, std::uint8_t(style));
    const std::int32_t share = 100 / C;
    for (int c = 0; c < C; ++c) {
        record.SetKind(c, kColumnPercent);
        record.SetWidth(c, share);
    }
    record.SetPercent(int(share * C));
    record.SetWidthInPercent(true);
    if (style == 0) return std::nullopt;
    record.SetSpacing(0);
    const std::int32_t first = choice.first, second = choice.second, none = -1;
    std::vector<std::int32_t> values;
    values.reserve(std::size_t(R) * std::size_t(C));
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < C; ++c) {
            const bool oddR = r % 2 == 1, oddC = c % 2 == 1;
            const bool lastR = r == R - 1, lastC = c == C - 1;
            std::int32_t v = none;
            switch (style) {
                case 1:
                    v = oddR ? none : first;
                    break;
                case 2:
                    v = oddR ? second : first;
                    break;
                case 3:
                    v = oddC ? none : first;
                    break;
                case 4:
                    v = oddC ? second : first;
                    break;
                case 5:
                    v = c == 0 ? first : none;
                    break;
                case 6:
                    v = lastC ? first : none;
                    break;
                case 7:
                    v = (r == 0 || c == 0) ? first : none;
                    break;
                case 8:
                    v = (r == 0 || lastC) ? first : none;
                    break;
                case 9:
                    v = (lastR || lastC) ? first : none;
                    break;
                case 10:
                    v = (lastR || c == 0) ? first : none;
                    break;
                case 11:
                    v = lastC ? second : (oddR ? none : first);
                    break;
                default:
                    break;
            }
            values.push_back(v);
        }
    record.View().SetU8(kTableBackgroundFormat, 2);
    return WriteCellBackgrounds(values);
}

// ---------------------------------------------------------------------------------------------
// Placement

namespace {

struct Placement {
    TableRecord& record;
    ITableGrid& grid;
    int R, C;
    std::int32_t S;

    void Ask(int r, int c, std::int32_t width) {
        TableCellSlot& slot = grid.Slot(r, c);
        if (slot.request != width) grid.Measure(r, c, width);
    }

    TableSize Final() {
        std::int32_t y = S, lastX = S;
        for (int r = 0; r < R; ++r) {
            std::int32_t rowHeight = 0;
            for (int c = 0; c < C; ++c)
                rowHeight = std::max(rowHeight, grid.Slot(r, c).contentHeight);
            std::int32_t x = S;
            for (int c = 0; c < C; ++c) {
                TableCellSlot& slot = grid.Slot(r, c);
                slot.x = x;
                slot.y = y;
                slot.height = rowHeight;
                x += slot.width + S;
            }
            lastX = x;
            y += rowHeight + S;
        }
        return {lastX, y};
    }
};

}  // namespace

TableSize PlaceTableCells(TableRecord record, ITableGrid& grid, std::int32_t width) {
    const int R = std::min(grid.GridRows(), kTableMaxRows);
    const int C = std::min(grid.GridColumns(), kTableMaxColumns);
    Placement p{record, grid, R, C, record.Spacing()};
    const std::int32_t S = p.S;
    std::int64_t avail = std::int64_t(width) - std::int64_t(C + 1) * S;
    if (avail < 0) avail = 10;

    // Measuring: fixed and free columns take what their widest cell needs.
    std::vector<std::int32_t> kept(std::size_t(C), 0);
    std::vector<std::int32_t> w(std::size_t(C), 0);
    for (int c = 0; c < C; ++c) {
        const int kind = record.Kind(c);
        w[std::size_t(c)] = record.Width(c);
        if (kind != kColumnFixed && kind != kColumnFree) continue;
        if (kind == kColumnFixed) kept[std::size_t(c)] = record.Width(c);
        std::int32_t m = kind == kColumnFixed ? std::max(record.Width(c), 1) : kFreeColumnStart;
        for (int r = 0; r < R; ++r) {
            p.Ask(r, c, m);
            m = std::max(m, grid.Slot(r, c).width);
        }
        w[std::size_t(c)] = m;
        record.SetWidth(c, m);
    }

    // First placement: percent columns share what the others leave.
    std::int64_t P = 0, rest = avail;
    int freeColumn = -1;
    bool anyPercent = false;
    for (int c = 0; c < C; ++c) {
        const int kind = record.Kind(c);
        if (kind == kColumnPercent) {
            P += std::max(w[std::size_t(c)], 0);
            anyPercent = true;
        } else {
            rest -= w[std::size_t(c)];
            if (kind == kColumnFree) freeColumn = c;
        }
    }
    std::int32_t y = S;
    for (int r = 0; r < R; ++r) {
        std::int64_t carried = 0;
        std::int32_t x = S, rowHeight = 0;
        for (int c = 0; c < C; ++c) {
            std::int64_t ask = w[std::size_t(c)];
            if (record.Kind(c) == kColumnPercent) {
                // Shares that add up to nothing give nothing (no division by zero).
                const std::int64_t share = std::max(w[std::size_t(c)], 0);
                if (P > 0) {
                    ask = share * rest / P;
                    carried += share * rest % P;
                    if (carried > P) {
                        ++ask;
                        carried -= P;
                    }
                } else {
                    ask = 0;
                }
            }
            p.Ask(r, c, std::int32_t(std::clamp<std::int64_t>(ask, 1, 1 << 20)));
            TableCellSlot& slot = grid.Slot(r, c);
            slot.x = x;
            slot.y = y;
            x += slot.width + S;
            rowHeight = std::max(rowHeight, slot.contentHeight);
        }
        y += rowHeight + S;
    }

    // Uniform columns: each as wide as its widest cell.
    if (anyPercent) freeColumn = -1;
    std::int64_t left = avail;
    for (int c = 0; c < C; ++c) {
        if (c == freeColumn) continue;
        std::int32_t columnWidth = 0;
        for (int r = 0; r < R; ++r) columnWidth = std::max(columnWidth, grid.Slot(r, c).width);
        for (int r = 0; r < R; ++r) p.Ask(r, c, columnWidth);
        left -= columnWidth;
    }
    for (int c = 0; c < C; ++c)
        if (record.Kind(c) == kColumnFixed) record.SetWidth(c, kept[std::size_t(c)]);

    // A free column among fixed ones takes the rest.
    if (freeColumn >= 0 && w[std::size_t(freeColumn)] < left)
        for (int r = 0; r < R; ++r)
            p.Ask(r, freeColumn, std::int32_t(std::min<std::int64_t>(left, 1 << 20)));

    return p.Final();
}

TableSize ArrangeTableRows(TableRecord record, ITableGrid& grid) {
    Placement p{record, grid, std::min(grid.GridRows(), kTableMaxRows),
                std::min(grid.GridColumns(), kTableMaxColumns), record.Spacing()};
    return p.Final();
}

// ---------------------------------------------------------------------------------------------
// Navigation and the header

CellIndex NeighbourCellIndex(int rows, int columns, CellIndex from, CellMove move) {
    if (rows <= 0 || columns <= 0) return from;
    const int r = from.row, c = from.column;
    switch (move) {
        case CellMove::Previous:
            if (c > 0) return {r, c - 1};
            if (r > 0) return {r - 1, columns - 1};
            return from;
        case CellMove::Next:
            if (c + 1 < columns) return {r, c + 1};
            if (r + 1 < rows) return {r + 1, 0};
            return from;
        case CellMove::Up:
            return r > 0 ? CellIndex{r - 1, c} : from;
        case CellMove::Down:
            return r + 1 < rows ? CellIndex{r + 1, c} : from;
        case CellMove::Last:
            return {rows - 1, columns - 1};
        case CellMove::First:
            return {0, 0};
        case CellMove::LastRowStart:
            return {rows - 1, 0};
    }
    return from;
}

std::vector<HeaderSection> RebuildHeaderSections(TableRecord record) {
    std::vector<HeaderSection> out;
    for (int c = 0; c < record.Columns(); ++c) {
        const std::string w = std::to_string(record.Width(c));
        const int kind = record.Kind(c);
        out.push_back({std::max(record.Width(c), 10), kind == kColumnPercent ? w + "%"
                                                      : kind == kColumnFree  ? "*"
                                                                             : w});
    }
    return out;
}

std::vector<HeaderSection> UpdateHeaderSections(TableRecord record,
                                                const std::vector<std::int32_t>& rowZeroWidths) {
    std::vector<HeaderSection> out;
    const std::int32_t S = record.Spacing();
    for (int c = 0; c < record.Columns() && std::size_t(c) < rowZeroWidths.size(); ++c) {
        const std::int32_t cell = rowZeroWidths[std::size_t(c)];
        const int kind = record.Kind(c);
        std::string text = kind == kColumnPercent ? std::to_string(record.Width(c)) + "%"
                           : kind == kColumnFree  ? "* (" + std::to_string(cell) + ")"
                                                  : std::to_string(cell);
        out.push_back({cell + S, std::move(text)});
    }
    return out;
}

std::optional<std::int32_t> DragColumn(TableRecord record, int column, std::int32_t tableWidth,
                                       std::int32_t oldWidth, std::int32_t newWidth, bool inCell) {
    if (column < 0 || column >= record.Columns() || tableWidth <= 0) return std::nullopt;
    const std::int64_t T2 = std::int64_t(tableWidth) + newWidth - oldWidth;
    if (T2 < 10) return std::nullopt;
    if (record.WidthInPercent()) {
        const std::int64_t percent = std::int64_t(record.Percent()) * T2 / tableWidth;
        record.SetPercent(int(std::clamp<std::int64_t>(percent, 1, inCell ? 100 : 255)));
    }
    switch (record.Kind(column)) {
        case kColumnPercent: {
            std::int64_t Q = 0;
            for (int c = 0; c < record.Columns(); ++c)
                if (record.Kind(c) == kColumnPercent) Q += record.Width(c);
            const std::int64_t value = Q * T2 / tableWidth + record.Width(column) - Q;
            if (value > 0) record.SetWidth(column, std::int32_t(value));
            break;
        }
        case kColumnFixed:
            record.SetWidth(column, record.Width(column) + newWidth - oldWidth);
            break;
        default:
            record.SetKind(column, kColumnFixed);
            record.SetWidth(column, newWidth - record.Spacing());
            break;
    }
    return std::int32_t(T2);
}

int PercentAfterResize(std::int32_t tableWidth, std::int32_t paragraphWidth, bool inCell) {
    if (paragraphWidth <= 0) return 100;
    const std::int64_t percent = std::int64_t(tableWidth) * 100 / paragraphWidth;
    return int(std::clamp<std::int64_t>(percent, 1, inCell ? 100 : 255));
}

const std::vector<std::string_view> kCellBackgroundScopeNames{
    "Non applicare",
    "Casella",
    "Riga",
    "Colonna",
    "Riga a colonne alternate",
    "Colonna a righe alternate",
    "Riga a colonne alternate 1",
    "Colonna a righe alternate 1",
};

TableProperties ReadTableProperties(const TableRecord& record, int column,
                                    std::int32_t cellBackground) {
    TableProperties p;
    p.widthInPercent = record.WidthInPercent();
    p.percent = record.Percent();
    p.fixedWidth = record.FixedWidth();
    p.padding = record.Padding();
    p.spacing = record.Spacing();
    p.border = record.Border();
    p.background = record.Background();
    p.columnKind = std::clamp(record.Kind(column), kColumnPercent, kColumnFree);
    p.columnWidth = record.Width(column);
    p.cellBackground = cellBackground;
    return p;
}

void WriteTableProperties(TableRecord record, int column, const TableProperties& p, bool inCell) {
    record.SetWidthInPercent(p.widthInPercent);
    record.SetPercent(std::clamp(p.percent, 1, inCell ? 100 : 255));
    // The fixed width stays as it was while the table is measured in percent and never set.
    if (!p.widthInPercent || p.fixedWidth >= 10)
        record.SetFixedWidth(std::clamp<std::int32_t>(p.fixedWidth, 10, INT16_MAX));
    record.SetPadding(std::clamp(p.padding, 0, 255));
    record.SetSpacing(std::clamp(p.spacing, 0, 255));
    record.SetBorder(std::clamp(p.border, 0, 255));
    record.SetBackground(p.background);
    if (column >= 0 && column < record.Columns()) {
        record.SetKind(column, std::clamp(p.columnKind, kColumnPercent, kColumnFree));
        record.SetWidth(column, std::clamp<std::int32_t>(p.columnWidth, 0, INT16_MAX));
    }
}

void ApplyCellBackgroundScope(std::vector<std::int32_t>& backgrounds, int rows, int columns,
                              int row, int column, CellBackgroundScope scope, std::int32_t value) {
    if (rows < 1 || columns < 1 || row < 0 || row >= rows || column < 0 || column >= columns)
        return;
    backgrounds.resize(std::size_t(rows) * std::size_t(columns), -1);
    const auto set = [&](int r, int c) {
        backgrounds[std::size_t(r) * std::size_t(columns) + std::size_t(c)] = value;
    };
    switch (scope) {
        case CellBackgroundScope::None:
            break;
        case CellBackgroundScope::Cell:
            set(row, column);
            break;
        case CellBackgroundScope::Row:
        case CellBackgroundScope::RowEvenColumns:
        case CellBackgroundScope::RowOddColumns:
            for (int c = 0; c < columns; ++c)
                if (scope == CellBackgroundScope::Row ||
                    (c % 2 == 1) == (scope == CellBackgroundScope::RowOddColumns))
                    set(row, c);
            break;
        case CellBackgroundScope::Column:
        case CellBackgroundScope::ColumnEvenRows:
        case CellBackgroundScope::ColumnOddRows:
            for (int r = 0; r < rows; ++r)
                if (scope == CellBackgroundScope::Column ||
                    (r % 2 == 1) == (scope == CellBackgroundScope::ColumnOddRows))
                    set(r, column);
            break;
    }
}

}  // namespace orvo

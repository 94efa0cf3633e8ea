// Printing tables: the grid of cell boxes, their widths by the column rules, and the cells
// that meet a sheet.
#include <algorithm>
#include <cstring>
#include <limits>

#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "textbox/uKYTprint.h"

namespace orvo {

namespace {

constexpr int kColumnPercent = 0;
constexpr int kColumnFixed = 1;
constexpr int kColumnFree = 2;
// What a free column asks before the rest of the row is known, in screen pixels.
constexpr std::int32_t kFreeColumnRequest = 30;

}  // namespace

TMyyTableP::TMyyTableP(TKYTpageP& page) : TKYTboxP(page) {}

TMyyTableP::~TMyyTableP() = default;

void TMyyTableP::SetTable(const TKYToggetto& table) {
    if (&table == table_) return;
    table_ = &table;
    const RecordView record = table.ReadView();
    const int rows = std::min<int>(record.U8(kTableRows), 255);
    columns_ = std::min<int>(record.U8(kTableColumns), kTableMaxColumns);
    const std::string* backgrounds = table.Auxiliary() ? &*table.Auxiliary() : nullptr;
    const std::int32_t cellPadding = page_.AcrossFromScreen(record.U8(kTablePadding));
    rows_.clear();
    rows_.resize(std::size_t(rows));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns_; ++c) {
            auto cell = std::make_unique<TKYTboxP>(page_, &table);
            cell->parent = this;
            cell->padding = cellPadding;
            cell->borderWidth = record.U8(kTableBorder);
            cell->transparent = true;
            const std::size_t at = (std::size_t(r) * std::size_t(columns_) + std::size_t(c)) * 4;
            if (backgrounds && at + 4 <= backgrounds->size()) {
                std::uint32_t value = 0;
                for (int b = 3; b >= 0; --b)
                    value = (value << 8) | std::uint8_t((*backgrounds)[at + std::size_t(b)]);
                if (value < 0x02000000u) {
                    cell->transparent = false;
                    cell->backColour = std::int32_t(value);
                } else if (value >= 0x03000000u && value <= 0x03FFFFFFu) {
                    cell->transparent = false;
                    cell->backPicture = std::int32_t(value & 0xFFFFFF);
                }
            }
            rows_[std::size_t(r)].push_back(std::move(cell));
        }
    }
    padding = 0;
}

TKYTboxP* TMyyTableP::Cell(int row, int column) const {
    if (row < 0 || row >= Rows() || column < 0 || column >= columns_) return nullptr;
    return rows_[std::size_t(row)][std::size_t(column)].get();
}

const Paragraphs& TMyyTableP::CellParagraphs(int row, int column) const {
    const TKYTboxP* cell = Cell(row, column);
    return cell ? cell->AllParagraphs() : none_;
}

void TMyyTableP::SetCellParagraphs(int row, int column, Paragraphs paragraphs) {
    TKYTboxP* cell = Cell(row, column);
    if (!cell) return;
    if (lastAvail == -1) {
        lastAvail = 30000;
        width = page_.printWidth;
    }
    cell->width = 3000;
    cell->parent = this;
    cell->TakeParagraphs(std::move(paragraphs));
}

void TMyyTableP::ApplyPrintWidth(std::int32_t available) {
    // A table named inside its own cells does not lay itself out again from there.
    if (available == lastAvail || updating) return;
    if (lastAvail != -1 && table_) {
        updating = true;
        const RecordView record = table_->ReadView();
        const std::int32_t tableWidth =
            record.U8(kTablePercentFlag) != 0
                ? std::int32_t(std::int64_t(available) * record.U8(kTablePercent) / 100)
                : page_.AcrossFromScreen(record.I16(kTableFixedWidth));
        LayoutTable(tableWidth);
        updating = false;
    }
    lastAvail = available;
}

void TMyyTableP::LayoutTable(std::int32_t tableWidth) {
    if (!table_) return;
    lastWidth = tableWidth;
    const RecordView record = table_->ReadView();
    const std::int32_t S = page_.AcrossFromScreen(record.U8(kTableSpacing));
    const std::int32_t Sy = page_.DownFromScreen(record.U8(kTableSpacing));
    const std::int32_t freeAsk = page_.AcrossFromScreen(kFreeColumnRequest);
    const int C = columns_;
    std::int64_t A = std::int64_t(tableWidth) - std::int64_t(S) * (C + 1);
    if (A < 0) A = 10;

    std::int32_t yAt = Sy;
    std::vector<std::int64_t> requests(std::size_t(C), 0);
    for (auto& row : rows_) {
        std::int64_t rest = tableWidth, remainder = 0;
        int freeCell = -1;
        for (int c = 0; c < C; ++c) {
            const int kind = record.U8At(std::size_t(kTableColumnKinds + c));
            const std::int32_t w = record.I16At(std::size_t(kTableColumnWidths + 2 * c));
            std::int64_t ask = 0;
            if (kind == kColumnFixed) {
                ask = page_.AcrossFromScreen(w);
            } else if (kind == kColumnFree) {
                ask = freeAsk;
                freeCell = c;
            } else if (kind == kColumnPercent) {
                ask = A * w / 100;
                remainder += A * w % 100;
                if (remainder > 100) {
                    ++ask;
                    remainder -= 100;
                }
            }
            rest -= ask;
            requests[std::size_t(c)] = ask;
        }
        if (freeCell >= 0 && rest + freeAsk > 0) requests[std::size_t(freeCell)] = rest + freeAsk;
        std::int32_t xAt = S, rowHeight = 0;
        for (int c = 0; c < C; ++c) {
            TKYTboxP& cell = *row[std::size_t(c)];
            cell.layoutWidth =
                std::int32_t(std::clamp<std::int64_t>(requests[std::size_t(c)], 1, 1 << 24));
            cell.LayoutCell(xAt, yAt);
            xAt += cell.width + S;
            rowHeight = std::max(rowHeight, cell.height);
        }
        yAt += rowHeight + Sy;
    }
    // Columns as wide as their widest cell.
    std::int32_t xAt = S;
    for (int c = 0; c < C; ++c) {
        std::int32_t columnWidth = 0;
        for (auto& row : rows_) columnWidth = std::max(columnWidth, row[std::size_t(c)]->width);
        for (auto& row : rows_) {
            TKYTboxP& cell = *row[std::size_t(c)];
            cell.layoutWidth = std::max(columnWidth, 1);
            cell.LayoutCell(xAt, cell.y);
        }
        xAt += columnWidth + S;
    }
    // Rows as high as their tallest cell.
    yAt = Sy;
    reachAbove = 0;
    for (auto& row : rows_) {
        std::int32_t rowHeight = 0;
        for (auto& cell : row) rowHeight = std::max(rowHeight, cell->height);
        for (auto& cell : row) {
            cell->SetBounds(cell->x, yAt, rowHeight, cell->width);
            reachAbove = std::min(reachAbove, yAt + cell->reachAbove);
        }
        yAt += rowHeight + Sy;
    }
    SetBounds(x, y, yAt, xAt);
}

void TMyyTableP::PlaceAt(std::int32_t left, std::int32_t top) {
    x = left;
    y = top;
    placing_ = false;
}

std::int32_t TMyyTableP::RowBreak(std::int32_t tableTop, std::int32_t bandTop,
                                  std::int32_t bandBottom) const {
    for (const auto& row : rows_) {
        if (row.empty()) continue;
        const std::int32_t rowTop = tableTop + row.front()->y;
        const std::int32_t rowBottom = rowTop + row.front()->height;
        if (rowTop > bandTop && rowTop < bandBottom && rowBottom > bandBottom) return rowTop;
    }
    return -1;
}

std::int32_t TMyyTableP::NextCellContent(std::int32_t tableTop, std::int32_t from) const {
    if (searching_) return -1;
    searching_ = true;
    std::int32_t best = -1;
    for (const auto& row : rows_)
        for (const auto& cell : row) {
            // A cell whose background prints draws wherever it meets the sheet.
            const bool filled = page_.printTableBackground && !cell->transparent &&
                                cell->width > 0 && cell->height > 0;
            for (const auto& p : cell->AllParagraphs()) {
                const std::int32_t contentTop =
                    tableTop + cell->y + p->style.SpaceBefore() + p->top;
                for (const TKYTline& line : p->lines) {
                    const std::int32_t lineTop = contentTop + line.top;
                    const std::int32_t top = filled ? (lineTop >= from ? lineTop : -1)
                                                    : cell->DrawnTop(*p, line, lineTop, from);
                    if (top >= 0 && (best < 0 || top < best)) best = top;
                }
            }
        }
    searching_ = false;
    return best;
}

bool TMyyTableP::Draws() {
    return NextCellContent(0, std::numeric_limits<std::int32_t>::min()) >= 0;
}

void TMyyTableP::Print() {
    if (printing_) return;
    printing_ = true;
    const Rect band = page_.band;
    for (auto& row : rows_)
        for (auto& cell : row) {
            const Point abs = cell->Absolute();
            // A cell's text may reach above its top.
            const Rect area{abs.x, abs.y + cell->reachAbove, abs.x + cell->width,
                            abs.y + cell->height};
            if (area.top < band.bottom && band.top < area.bottom) cell->Print();
        }
    printing_ = false;
}

}  // namespace orvo

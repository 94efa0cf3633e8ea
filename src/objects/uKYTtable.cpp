// TMyyTable: cells, placement, drawing, the row and column commands and their undo.
#include "objects/uKYTtable.h"

#include <algorithm>

#include "base/ByteStream.h"
#include "model/uKYTogge.h"
#include "objects/OffsetCanvas.h"
#include "textbox/UpdateLock.h"

namespace orvo {

namespace {

// A raised (or sunken) frame `width` pixels wide around `area`.
void Frame(ICanvas& canvas, const Rect& area, int width, bool raised) {
    const std::int32_t light = SystemColour(kColourButtonHighlight);
    const std::int32_t dark = SystemColour(kColourButtonShadow);
    const std::int32_t topLeft = raised ? light : dark, bottomRight = raised ? dark : light;
    for (int i = 0; i < width; ++i) {
        const Rect r{area.left + i, area.top + i, area.right - i, area.bottom - i};
        if (r.Empty()) break;
        canvas.FillRect({r.left, r.top, r.right, r.top + 1}, topLeft);
        canvas.FillRect({r.left, r.top, r.left + 1, r.bottom}, topLeft);
        canvas.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
        canvas.FillRect({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    }
}

void PutI32(std::string& out, std::int32_t v) {
    for (int b = 0; b < 4; ++b) out += char((std::uint32_t(v) >> (8 * b)) & 0xFF);
}

bool GetI32(std::string_view bytes, std::size_t& at, std::int32_t& v) {
    if (bytes.size() < 4 || at > bytes.size() - 4) return false;
    std::uint32_t u = 0;
    for (int b = 3; b >= 0; --b) u = (u << 8) | std::uint8_t(bytes[at + std::size_t(b)]);
    v = std::int32_t(u);
    at += 4;
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TableCell

TableCell::TableCell(TMyyTable& table, IMarkupHost& markup)
    : table_(table), box_(markup, *this, &table) {
    box_.transparent = true;
    box_.drawObjectsOnCanvas = true;
}

IBoxHost& TableCell::Outer() const {
    return table_.OuterHost();
}

Point TableCell::BoxOriginInPage() const {
    return table_.CellOrigin(*this);
}

void TableCell::Invalidate(const Rect& area) {
    const Point origin = table_.CellOrigin(*this);
    const Point outer = Outer().BoxOriginInPage();
    Outer().Invalidate(area.Offset(origin.x - outer.x, origin.y - outer.y));
}

// ---------------------------------------------------------------------------------------------
// TMyyTable: cells

TMyyTable::TMyyTable(IMessages& messages) : TMyyVisual(messages) {
    undoCaption_ = std::string(kUndoEditTable);
}

TMyyTable::~TMyyTable() {
    *alive_ = false;
}

IBoxHost& TMyyTable::OuterHost() const {
    IBoxHost* host = site_ ? site_->BoxHost() : nullptr;
    return host ? *host : const_cast<RecordingBoxHost&>(fallbackHost_);
}

Point TMyyTable::CellOrigin(const TableCell& cell) const {
    const Point outer = OuterHost().BoxOriginInPage();
    return {outer.x + Bounds().left + cell.slot.x, outer.y + Bounds().top + cell.slot.y};
}

Point TMyyTable::OriginInPage() const {
    const Point outer = OuterHost().BoxOriginInPage();
    return {outer.x + Bounds().left, outer.y + Bounds().top};
}

Point TMyyTable::CellBoxOrigin(const TKYTbox& box) const {
    for (const auto& row : rows_)
        for (const auto& cell : row)
            if (&cell->Box() == &box) return CellOrigin(*cell);
    return {0, 0};
}

const TableCellSlot* TMyyTable::SlotOf(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 ||
        std::size_t(column) >= rows_[std::size_t(row)].size())
        return nullptr;
    return &rows_[std::size_t(row)][std::size_t(column)]->slot;
}

int TMyyTable::RowCount() const {
    return int(rows_.size());
}

int TMyyTable::ColumnCount() const {
    return rows_.empty() ? (obj_ ? TableRecord(obj_->ReadView()).Columns() : 0)
                         : int(rows_.front().size());
}

ITableCells* TMyyTable::TableCellsFor(IMarkupHost& markup) {
    SetTableObject(markup);
    return this;
}

void TMyyTable::SetTableObject(IMarkupHost& markup) {
    if (!obj_ || markup_) return;
    markup_ = &markup;
    const TableRecord record(obj_->ReadView());
    const int R = std::min(record.Rows(), kTableMaxRows), C = record.Columns();
    rows_.resize(std::size_t(R));
    for (auto& row : rows_)
        for (int c = 0; c < C; ++c) row.push_back(NewCell(false));
    ApplyBackgrounds();
}

std::unique_ptr<TableCell> TMyyTable::NewCell(bool empty) {
    auto cell = std::make_unique<TableCell>(*this, *markup_);
    // Unique among every table's cells; a deleted cell brought back by undo takes its id again.
    static std::int32_t lastId = 0;
    cell->registryId = lastId = lastId == INT32_MAX ? 1 : lastId + 1;
    cell->Box().runMode = readOnly_;
    cell->Box().inactive = inactive_;
    PrepareCell(*cell);
    if (empty) FillEmpty(*cell);
    return cell;
}

void TMyyTable::PrepareCell(TableCell& cell) {
    const TableRecord record(obj_->ReadView());
    cell.Box().padding = record.Padding() + record.Border();
    cell.slot.request = -1;
}

void TMyyTable::FillEmpty(TableCell& cell) {
    static constexpr std::string_view kEmptyParagraph{"<Z S1 >\0", 8};
    cell.Box().MutableParagraphs() = ReadText(kEmptyParagraph, *markup_, 0);
    cell.slot.request = -1;
}

void TMyyTable::AttachNew() {
    lastAvail_ = 30000;
    for (auto& row : rows_)
        for (auto& cell : row) FillEmpty(*cell);
}

const Paragraphs& TMyyTable::CellParagraphs(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 ||
        std::size_t(column) >= rows_[std::size_t(row)].size())
        return none_;
    return rows_[std::size_t(row)][std::size_t(column)]->Box().AllParagraphs();
}

void TMyyTable::SetCellParagraphs(int row, int column, Paragraphs paragraphs) {
    if (row < 0 || row >= RowCount() || column < 0 ||
        std::size_t(column) >= rows_[std::size_t(row)].size())
        return;
    // The reader fills the cells of a table it meets in the markup: the table is attached.
    if (lastAvail_ == -1) lastAvail_ = 30000;
    TableCell& cell = *rows_[std::size_t(row)][std::size_t(column)];
    for (auto& p : paragraphs) p->kind = kBodyParagraph;
    cell.Box().MutableParagraphs() = std::move(paragraphs);
    cell.slot.request = -1;
}

TKYTbox* TMyyTable::CellAt(int row, int column) {
    if (row < 0 || row >= RowCount() || column < 0 ||
        std::size_t(column) >= rows_[std::size_t(row)].size())
        return nullptr;
    return &rows_[std::size_t(row)][std::size_t(column)]->Box();
}

bool TMyyTable::FindCell(const TKYTbox& box, int& row, int& column) const {
    for (std::size_t r = 0; r < rows_.size(); ++r)
        for (std::size_t c = 0; c < rows_[r].size(); ++c)
            if (&rows_[r][c]->Box() == &box) {
                row = int(r);
                column = int(c);
                return true;
            }
    return false;
}

std::int32_t TMyyTable::CellId(const TKYTbox& box) const {
    int row = 0, column = 0;
    return FindCell(box, row, column) ? rows_[std::size_t(row)][std::size_t(column)]->registryId
                                      : -1;
}

TKYTbox* TMyyTable::CellWithId(std::int32_t id) {
    for (auto& row : rows_)
        for (auto& cell : row)
            if (cell->registryId == id) return &cell->Box();
    return nullptr;
}

TKYTbox* TMyyTable::NeighbourCell(int row, int column, CellMove move) {
    const CellIndex to = NeighbourCellIndex(RowCount(), ColumnCount(), {row, column}, move);
    return CellAt(to.row, to.column);
}

TableCellSlot& TMyyTable::Slot(int row, int column) {
    return rows_[std::size_t(row)][std::size_t(column)]->slot;
}

void TMyyTable::Measure(int row, int column, std::int32_t width) {
    TableCell& cell = *rows_[std::size_t(row)][std::size_t(column)];
    TKYTbox& box = cell.Box();
    if (box.ParagraphCount() > 0) {
        TKYTparag& first = box.Paragraph(0);
        first.top = first.style.SpaceBefore() + box.padding;
    }
    if (box.LayoutWidth() == width)
        box.RelayoutAll();
    else
        box.Resize(width, 0);
    cell.slot.width = std::max(box.Width(), width);
    cell.slot.contentHeight = box.ParagraphCount() > 0 ? box.Height() : 2 * box.padding + 1;
    cell.slot.request = width;
}

// ---------------------------------------------------------------------------------------------
// Placement

void TMyyTable::LayoutCells(std::int32_t width, bool updateHeader) {
    if (!obj_ || !markup_) return;
    lastWidth_ = width;
    placing_ = true;
    ++fullLayouts_;
    const TableSize size = PlaceTableCells(TableRecord(obj_->View()), *this, width);
    placing_ = false;
    if (updateHeader) UpdateHeader();
    SetSize(size.width, size.height);
    Invalidate();
}

void TMyyTable::ApplyAvailableWidth(std::int32_t a) {
    if (!obj_ || !markup_) return;
    const bool current = current_ != nullptr;
    if (a == lastAvail_ && !Selected() && !current) return;
    updating_ = true;
    if (lastAvail_ != -1) {
        const TableRecord record(obj_->ReadView());
        std::int32_t width;
        if (record.WidthInPercent()) {
            const int percent = record.Percent();
            width = inCell_ && percent > 100 ? a : std::int32_t(std::int64_t(a) * percent / 100);
        } else {
            width = lastWidth_ >= 30 ? lastWidth_ : record.FixedWidth();
        }
        LayoutCells(width, true);
    }
    lastAvail_ = a;
    updating_ = false;
}

void TMyyTable::RelayoutInHolder() {
    if (updating_ || !site_ || !obj_) return;
    site_->RelayoutObject(*obj_);
}

void TMyyTable::Relayout() {
    LayoutCells(lastWidth_, true);
    RelayoutInHolder();
}

void TMyyTable::ReformatCells() {
    if (!markup_) return;
    for (auto& row : rows_)
        for (auto& cell : row) {
            cell->Box().ReplaceParagraphs(0, cell->Box().ParagraphCount() - 1);
            cell->slot.request = -1;
        }
    LayoutCells(lastWidth_, true);
}

void TMyyTable::ArrangeCells() {
    if (placing_ || !obj_) return;
    // A cell's text came out wider or narrower: the columns are worked out again.
    LayoutCells(lastWidth_, true);
    RelayoutInHolder();
}

void TMyyTable::RelayoutTableParagraph() {
    if (placing_ || !obj_) return;
    // A cell's text changed height only: its row grows or shrinks, the rows below move.
    for (auto& row : rows_)
        for (auto& cell : row) cell->slot.contentHeight = std::max(cell->Box().Height(), 1);
    const std::int32_t oldHeight = Bounds().Height();
    const TableSize size = ArrangeTableRows(TableRecord(obj_->View()), *this);
    SetSize(size.width, size.height);
    Invalidate();
    if (size.height != oldHeight) RelayoutInHolder();
}

// ---------------------------------------------------------------------------------------------
// Backgrounds and the header

void TMyyTable::StoreBackgrounds() {
    if (!obj_) return;
    std::vector<std::int32_t> values;
    for (auto& row : rows_)
        for (auto& cell : row) values.push_back(cell->background);
    obj_->View().SetU8(kTableBackgroundFormat, 2);
    obj_->SetAuxiliary(WriteCellBackgrounds(values));
}

void TMyyTable::ApplyBackgrounds() {
    if (!obj_) return;
    const std::vector<std::int32_t> values =
        ReadCellBackgrounds(obj_->Auxiliary(), RowCount(), ColumnCount());
    std::size_t i = 0;
    for (auto& row : rows_)
        for (auto& cell : row) {
            cell->background = i < values.size() ? values[i] : -1;
            ++i;
            PrepareCell(*cell);
        }
}

void TMyyTable::SetCellBackground(int row, int column, std::int32_t value) {
    if (!CellAt(row, column)) return;
    rows_[std::size_t(row)][std::size_t(column)]->background = value;
    StoreBackgrounds();
    Invalidate();
}

void TMyyTable::RebuildHeader() {
    if (obj_) header_ = RebuildHeaderSections(TableRecord(obj_->ReadView()));
}

void TMyyTable::UpdateHeader() {
    if (!obj_) return;
    std::vector<std::int32_t> widths;
    if (!rows_.empty())
        for (auto& cell : rows_.front()) widths.push_back(cell->slot.width);
    header_ = UpdateHeaderSections(TableRecord(obj_->ReadView()), widths);
}

void TMyyTable::SetSelected(bool on) {
    headerShown_ = on && !readOnly_;
    if (on) UpdateHeader();
    TMyyVisual::SetSelected(on);
}

void TMyyTable::ShowHeader(bool on) {
    on = on && !readOnly_;
    if (on == headerShown_) return;
    headerShown_ = on;
    if (on) UpdateHeader();
    Invalidate();
}

void TMyyTable::SetReadOnly(bool on) {
    TMyyVisual::SetReadOnly(on);
    for (auto& row : rows_)
        for (auto& cell : row) cell->Box().runMode = on;
    if (on) headerShown_ = false;
}

// ---------------------------------------------------------------------------------------------
// Undo steps

TableUndoStep TMyyTable::RecordStep(TableUndoStep::Kind kind, std::string_view caption, int first,
                                    int count) const {
    TableUndoStep step;
    step.kind = kind;
    step.caption = std::string(caption);
    step.tableRegistryId = registryId_;
    step.first = first;
    step.count = count;
    const auto record = obj_->Record();
    step.record.assign(reinterpret_cast<const char*>(record.data()), record.size());
    step.backgrounds = obj_->Auxiliary();
    return step;
}

void TMyyTable::Record(TableUndoStep step) {
    if (site_) site_->RecordTableUndo(step);
}

void TMyyTable::RestoreRecord(const TableUndoStep& step) {
    auto record = obj_->Record();
    if (step.record.size() == record.size())
        std::copy(step.record.begin(), step.record.end(), reinterpret_cast<char*>(record.data()));
    obj_->SetAuxiliary(step.backgrounds);
}

void TMyyTable::FocusCell(TKYTbox* cell) {
    current_ = cell;
}

// ---------------------------------------------------------------------------------------------
// Rows and columns

bool TMyyTable::AddColumns(int position, int count) {
    if (!obj_ || !markup_ || count < 1 || position < 0 || position > ColumnCount()) return false;
    if (ColumnCount() + count > kTableMaxColumns) {
        messages_.Error(std::string(kTooManyColumns));
        return false;
    }
    Record(RecordStep(TableUndoStep::Kind::AddColumns, kUndoAddColumns, position, count));
    TKYTbox* focus = nullptr;
    for (auto& row : rows_)
        for (int k = 0; k < count; ++k) {
            auto cell = NewCell(true);
            if (!focus && k == 0) focus = &cell->Box();
            row.insert(row.begin() + position + k, std::move(cell));
        }
    TableRecord record(obj_->View());
    record.SetColumns(ColumnCount());
    StoreBackgrounds();
    record.ShiftColumnsRight(position, count, kColumnPercent, 10);
    RebuildHeader();
    Relayout();
    FocusCell(focus);
    return true;
}

bool TMyyTable::AddRows(int position, int count) {
    if (!obj_ || !markup_ || count < 1 || position < 0 || position > RowCount()) return false;
    if (RowCount() + count > kTableMaxRows) {
        messages_.Error(std::string(kTooManyRows));
        return false;
    }
    Record(RecordStep(TableUndoStep::Kind::AddRows, kUndoAddRows, position, count));
    const int C = ColumnCount();
    for (int k = 0; k < count; ++k) {
        std::vector<std::unique_ptr<TableCell>> row;
        for (int c = 0; c < C; ++c) row.push_back(NewCell(true));
        rows_.insert(rows_.begin() + position + k, std::move(row));
    }
    TableRecord(obj_->View()).SetRows(RowCount());
    StoreBackgrounds();
    Relayout();
    FocusCell(CellAt(position, 0));
    return true;
}

bool TMyyTable::RequestDeleteColumns(int first, int last) {
    const int C = ColumnCount();
    if (!obj_ || first < 0 || last >= C || first > last || (first == 0 && last == C - 1))
        return false;
    TableUndoStep step =
        RecordStep(TableUndoStep::Kind::DeleteColumns, kUndoDeleteColumns, first, last - first + 1);
    step.contents = WriteCellContents(first, last, 0, RowCount() - 1);
    step.ids = WriteCellIds();
    Record(std::move(step));
    auto run = [this, first, last, alive = std::weak_ptr<bool>(alive_)] {
        if (!alive.lock()) return;
        DeleteColumns(first, last, true);
        if (current_ && afterDeletion) afterDeletion(*current_);
    };
    if (site_)
        site_->Scheduler().Post(run);
    else
        run();
    return true;
}

bool TMyyTable::RequestDeleteRows(int first, int last) {
    const int R = RowCount();
    if (!obj_ || first < 0 || last >= R || first > last || (first == 0 && last == R - 1))
        return false;
    TableUndoStep step =
        RecordStep(TableUndoStep::Kind::DeleteRows, kUndoDeleteRows, first, last - first + 1);
    step.contents = WriteCellContents(0, ColumnCount() - 1, first, last);
    step.ids = WriteCellIds();
    Record(std::move(step));
    auto run = [this, first, last, alive = std::weak_ptr<bool>(alive_)] {
        if (!alive.lock()) return;
        DeleteRows(first, last, true);
        if (current_ && afterDeletion) afterDeletion(*current_);
    };
    if (site_)
        site_->Scheduler().Post(run);
    else
        run();
    return true;
}

TKYTbox* TMyyTable::DeleteColumns(int first, int last, bool full) {
    const int C = ColumnCount();
    first = std::max(first, 0);
    last = std::min(last, C - 1);
    if (first > last) return current_;
    TKYTbox* focus = current_;
    for (auto& row : rows_) {
        for (int c = first; c <= last; ++c)
            if (&row[std::size_t(c)]->Box() == focus) {
                if (last + 1 < C)
                    focus = &row[std::size_t(last + 1)]->Box();
                else
                    focus = first > 0 ? &row[std::size_t(first - 1)]->Box() : nullptr;
            }
        row.erase(row.begin() + first, row.begin() + last + 1);
    }
    if (!focus) focus = CellAt(0, first);
    current_ = focus;
    if (full) {
        TableRecord record(obj_->View());
        record.ShiftColumnsLeft(first, last);
        record.SetColumns(C - (last - first + 1));
        StoreBackgrounds();
        RebuildHeader();
        Relayout();
    }
    return focus;
}

TKYTbox* TMyyTable::DeleteRows(int first, int last, bool full) {
    const int R = RowCount();
    first = std::max(first, 0);
    last = std::min(last, R - 1);
    if (first > last) return current_;
    TKYTbox* focus = current_;
    for (int r = first; r <= last; ++r)
        for (std::size_t c = 0; c < rows_[std::size_t(r)].size(); ++c)
            if (&rows_[std::size_t(r)][c]->Box() == focus) {
                const int to = last + 1 < R ? last + 1 : first - 1;
                focus = to >= 0 ? &rows_[std::size_t(to)][c]->Box() : nullptr;
            }
    rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
    if (!focus) focus = CellAt(first, 0);
    current_ = focus;
    if (full) {
        TableRecord(obj_->View()).SetRows(RowCount());
        StoreBackgrounds();
        Relayout();
    }
    return focus;
}

// ---------------------------------------------------------------------------------------------
// Header dragging and resizing

bool TMyyTable::DragHeaderSection(int column, std::int32_t newWidth) {
    if (!obj_ || column < 0 || std::size_t(column) >= header_.size()) return false;
    const std::int32_t oldWidth = header_[std::size_t(column)].width;
    if (newWidth == oldWidth) return false;
    const TableRecord before(obj_->ReadView());
    const std::int32_t T = Bounds().Width();
    if (std::int64_t(T) + newWidth - oldWidth < 10) return false;  // refused: no undo step
    Record(RecordStep(TableUndoStep::Kind::Record, kUndoSizeCells, column, 1));
    const std::optional<std::int32_t> width =
        DragColumn(TableRecord(obj_->View()), column, T, oldWidth, newWidth, inCell_);
    if (!width) return false;
    for (auto& row : rows_)
        for (auto& cell : row) cell->slot.request = -1;
    LayoutCells(*width, false);
    UpdateHeader();
    RelayoutInHolder();
    return true;
}

void TMyyTable::ResizeTo(std::int32_t width, std::int32_t paragraphWidth) {
    if (!obj_ || width < 10) return;
    Record(RecordStep(TableUndoStep::Kind::Record, kUndoSizeTable, 0, 0));
    TableRecord record(obj_->View());
    if (record.WidthInPercent()) {
        const int percent = PercentAfterResize(width, paragraphWidth, inCell_);
        record.SetPercent(percent);
        LayoutCells(std::int32_t(std::int64_t(paragraphWidth) * percent / 100), true);
    } else {
        LayoutCells(width, true);
    }
    RelayoutInHolder();
}

// ---------------------------------------------------------------------------------------------
// Saving and restoring cells for undo

std::string TMyyTable::WriteCellIds() const {
    std::string out;
    PutI32(out, std::int32_t(RowCount() * ColumnCount() * 4));
    for (auto& row : rows_)
        for (auto& cell : row) PutI32(out, cell->registryId);
    return out;
}

bool TMyyTable::ReadCellIds(std::string_view bytes) {
    std::size_t at = 0;
    std::int32_t count = 0;
    if (!GetI32(bytes, at, count)) return false;
    if (count != RowCount() * ColumnCount() * 4 || bytes.size() - at < std::size_t(count))
        return false;
    for (auto& row : rows_)
        for (auto& cell : row) GetI32(bytes, at, cell->registryId);
    return true;
}

std::string TMyyTable::WriteCellContents(int c1, int c2, int r1, int r2) const {
    std::string out;
    PutI32(out, 4);
    if (markup_)
        for (int r = std::max(r1, 0); r <= r2 && r < RowCount(); ++r)
            for (int c = std::max(c1, 0); c <= c2 && c < ColumnCount(); ++c) {
                const std::string markup = WriteText(
                    rows_[std::size_t(r)][std::size_t(c)]->Box().AllParagraphs(), *markup_);
                PutI32(out, std::int32_t(markup.size()));
                out += markup;
            }
    PutI32(out, 0);
    return out;
}

bool TMyyTable::ReadCellContents(std::string_view bytes, int c1, int c2, int r1, int r2) {
    std::size_t at = 0;
    std::int32_t first = 0;
    if (!markup_ || !GetI32(bytes, at, first) || first != 4) return false;
    for (int r = std::max(r1, 0); r <= r2 && r < RowCount(); ++r)
        for (int c = std::max(c1, 0); c <= c2 && c < ColumnCount(); ++c) {
            std::int32_t size = 0;
            if (!GetI32(bytes, at, size) || size < 0 || std::size_t(size) > bytes.size() - at)
                return false;
            TableCell& cell = *rows_[std::size_t(r)][std::size_t(c)];
            Paragraphs read = ReadText(bytes.substr(at, std::size_t(size)), *markup_, 0);
            for (auto& p : read) p->kind = kBodyParagraph;
            cell.Box().MutableParagraphs() = std::move(read);
            cell.slot.request = -1;
            at += std::size_t(size);
        }
    std::int32_t end = 0;
    return GetI32(bytes, at, end) && end == 0;
}

void TMyyTable::Undo(const TableUndoStep& step) {
    if (!obj_ || !markup_) return;
    const int n = step.count;
    switch (step.kind) {
        case TableUndoStep::Kind::AddColumns:
            DeleteColumns(step.first, step.first + n - 1, false);
            break;
        case TableUndoStep::Kind::AddRows:
            DeleteRows(step.first, step.first + n - 1, false);
            break;
        case TableUndoStep::Kind::DeleteColumns:
            if (ColumnCount() + n > kTableMaxColumns) return;
            for (auto& row : rows_)
                for (int k = 0; k < n; ++k) row.insert(row.begin() + step.first + k, NewCell(true));
            ReadCellContents(step.contents, step.first, step.first + n - 1, 0, RowCount() - 1);
            ReadCellIds(step.ids);
            break;
        case TableUndoStep::Kind::DeleteRows:
            if (RowCount() + n > kTableMaxRows) return;
            for (int k = 0; k < n; ++k) {
                std::vector<std::unique_ptr<TableCell>> row;
                for (int c = 0; c < ColumnCount(); ++c) row.push_back(NewCell(true));
                rows_.insert(rows_.begin() + step.first + k, std::move(row));
            }
            ReadCellContents(step.contents, 0, ColumnCount() - 1, step.first, step.first + n - 1);
            ReadCellIds(step.ids);
            break;
        case TableUndoStep::Kind::Record:
            break;
    }
    RestoreRecord(step);
    ApplyBackgrounds();
    RebuildHeader();
    for (auto& row : rows_)
        for (auto& cell : row) cell->slot.request = -1;
    LayoutCells(WidthForAvailable(), true);
    RelayoutInHolder();
    if (current_) {
        int r = 0, c = 0;
        if (!FindCell(*current_, r, c)) current_ = CellAt(0, 0);
    }
}

std::int32_t TMyyTable::WidthForAvailable() const {
    const TableRecord record(obj_->ReadView());
    if (lastAvail_ <= 0 || lastAvail_ == 30000) return lastWidth_;
    if (record.WidthInPercent()) {
        const int percent = record.Percent();
        return inCell_ && percent > 100 ? lastAvail_
                                        : std::int32_t(std::int64_t(lastAvail_) * percent / 100);
    }
    return record.FixedWidth() >= 30 ? record.FixedWidth() : lastWidth_;
}

// ---------------------------------------------------------------------------------------------
// Properties

TableProperties TMyyTable::Properties(int row, int column) const {
    std::int32_t background = -1;
    if (row >= 0 && row < RowCount() && column >= 0 && column < ColumnCount())
        background = rows_[std::size_t(row)][std::size_t(column)]->background;
    return ReadTableProperties(TableRecord(obj_->ReadView()), column, background);
}

bool TMyyTable::ApplyProperties(const TableProperties& properties, int row, int column) {
    if (!obj_ || !markup_ || row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount())
        return false;
    Record(RecordStep(TableUndoStep::Kind::Record, kUndoEditTable, 0, 0));
    WriteTableProperties(TableRecord(obj_->View()), column, properties, inCell_);
    std::vector<std::int32_t> values;
    for (auto& r : rows_)
        for (auto& cell : r) values.push_back(cell->background);
    ApplyCellBackgroundScope(values, RowCount(), ColumnCount(), row, column, properties.scope,
                             properties.cellBackground);
    obj_->View().SetU8(kTableBackgroundFormat, 2);
    obj_->SetAuxiliary(WriteCellBackgrounds(values));
    ApplyBackgrounds();
    for (auto& r : rows_)
        for (auto& cell : r) cell->slot.request = -1;
    RebuildHeader();
    LayoutCells(WidthForAvailable(), true);
    RelayoutInHolder();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TMyyTable::PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) {
    if (!obj_) return;
    const TableRecord record(obj_->ReadView());
    const Rect area{left, top, left + Bounds().Width(), top + Bounds().Height()};
    const TableBackground back = TableBackground::Decode(record.Background());
    if (back.kind == TableBackground::Kind::Colour) canvas.FillRect(area, back.value);
    const int border = record.Border();
    if (border > 0) Frame(canvas, area, border, true);
    const bool boundaries = border == 0 && !readOnly_ && OuterHost().ShowBoundaries();
    for (auto& row : rows_)
        for (auto& cell : row) {
            const TableCellSlot& s = cell->slot;
            const Rect at{left + s.x, top + s.y, left + s.x + s.width, top + s.y + s.height};
            const TableBackground b = TableBackground::Decode(cell->background);
            if (b.kind == TableBackground::Kind::Colour) canvas.FillRect(at, b.value);
            if (border > 0) Frame(canvas, at, 1, false);
            if (boundaries)
                canvas.Line({at.left, at.top}, {at.right, at.top},
                            Pen{SystemColour(kColourButtonShadow), LineStyle::Dotted, {}});
            OffsetCanvas offset(canvas, at.left, at.top);
            cell->Box().Paint(offset, {0, 0, s.width, s.height});
        }
    if (headerShown_ && !header_.empty()) {
        const Rect strip{left, top - kTableHeaderHeight, area.right, top};
        canvas.FillRect(strip, SystemColour(kColourButtonFace));
        TMyFont font;
        font.name = "Arial";
        font.size = 6;
        canvas.SetFont(font);
        canvas.SetTextBackground(std::nullopt);
        std::int32_t x = left + record.Spacing();
        for (const HeaderSection& section : header_) {
            canvas.TextOut(x + 2, strip.top, section.text);
            x += section.width;
            canvas.FillRect({x - 1, strip.top, x, strip.bottom}, SystemColour(kColourButtonShadow));
        }
    }
}

}  // namespace orvo

// The cells of a page's tables.
#include "objects/PageCells.h"

#include "model/uKYTogge.h"
#include "textbox/uKYTboxInput.h"

namespace orvo {

namespace {

// The table view of the first table object of a paragraph, if any.
TMyyTable* TableOf(ObjectViewHost& views, const TKYTparag& paragraph) {
    for (const TKYToggetto* object : paragraph.objects)
        if (object)
            if (auto* table = dynamic_cast<TMyyTable*>(views.Find(*object))) return table;
    return nullptr;
}

// The index of the paragraph of `box` that holds `object`, or -1.
std::int32_t ParagraphHolding(TKYTbox& box, const TKYToggetto& object) {
    for (std::int32_t i = 0; i < box.ParagraphCount(); ++i)
        for (const TKYToggetto* o : box.Paragraph(i).objects)
            if (o == &object) return i;
    return -1;
}

}  // namespace

TKYTbox* PageCells::CellAt(Point p) {
    // The innermost cell wins: a table in a cell lies inside that cell's rectangle.
    TKYTbox* found = nullptr;
    std::int64_t area = -1;
    for (TMyyTable* table : views_.Tables())
        for (int r = 0; r < table->RowCount(); ++r)
            for (int c = 0; c < table->ColumnCount(); ++c) {
                TKYTbox* cell = table->CellAt(r, c);
                const TableCellSlot* slot = table->SlotOf(r, c);
                if (!cell || !slot || !table->Placed()) continue;
                const Point o = CellOrigin(*cell);
                if (p.x < o.x || p.y < o.y || p.x >= o.x + slot->width || p.y >= o.y + slot->height)
                    continue;
                const std::int64_t size = std::int64_t(slot->width) * slot->height;
                if (area < 0 || size < area) {
                    found = cell;
                    area = size;
                }
            }
    return found;
}

Point PageCells::CellOrigin(const TKYTbox& cell) {
    TMyyTable* table = views_.TableOfCell(cell);
    return table ? table->CellBoxOrigin(cell) : Point{0, 0};
}

TKYTbox* PageCells::EntryCell(const TKYTparag& tableParagraph, int code) {
    TMyyTable* table = TableOf(views_, tableParagraph);
    if (!table || table->RowCount() == 0 || table->ColumnCount() == 0) return nullptr;
    const int R = table->RowCount(), C = table->ColumnCount();
    switch (code) {
        case kExitIntoTableBackward:
            return table->CellAt(R - 1, C - 1);
        case kExitIntoTableUp:
            return table->CellAt(R - 1, 0);
        default:
            return table->CellAt(0, 0);
    }
}

TKYTbox* PageCells::Neighbour(TKYTbox& cell, int code) {
    TMyyTable* table = views_.TableOfCell(cell);
    int r = 0, c = 0;
    if (!table || !table->FindCell(cell, r, c)) return nullptr;
    CellMove move = CellMove::Next;
    switch (code) {
        case kExitBackward:
            move = CellMove::Previous;
            break;
        case kExitUp:
            move = CellMove::Up;
            break;
        case kExitDown:
            move = CellMove::Down;
            break;
        default:
            break;
    }
    TKYTbox* next = table->NeighbourCell(r, c, move);
    // The cell itself: the caret stands at the table's edge.
    return next == &cell ? nullptr : next;
}

bool PageCells::IsCell(const TKYTbox& box) {
    // The view of a table taken out of the text (its insertion undone) lives on until the page
    // is shown again; its cells are no longer the page's.
    TKYTbox* holder = Container(const_cast<TKYTbox&>(box)).first;
    return holder && (holder == views_.Box() || IsCell(*holder));
}

std::int32_t PageCells::CellId(const TKYTbox& box) {
    TMyyTable* table = views_.TableOfCell(box);
    return table ? table->CellId(box) : -1;
}

TKYTbox* PageCells::CellWithId(std::int32_t id) {
    if (id < 0) return nullptr;
    for (TMyyTable* table : views_.Tables())
        if (TKYTbox* cell = table->CellWithId(id); cell && IsCell(*cell)) return cell;
    return nullptr;
}

std::pair<TKYTbox*, std::int32_t> PageCells::Container(TKYTbox& cell) {
    TMyyTable* table = views_.TableOfCell(cell);
    if (!table || !table->Object()) return {nullptr, -1};
    const TKYToggetto& object = *table->Object();
    if (TKYTbox* page = views_.Box()) {
        const std::int32_t at = ParagraphHolding(*page, object);
        if (at >= 0) return {page, at};
    }
    // A table inside a cell: that cell holds it.
    for (TMyyTable* outer : views_.Tables())
        for (int r = 0; r < outer->RowCount(); ++r)
            for (int c = 0; c < outer->ColumnCount(); ++c)
                if (TKYTbox* box = outer->CellAt(r, c)) {
                    const std::int32_t at = ParagraphHolding(*box, object);
                    if (at >= 0) return {box, at};
                }
    return {nullptr, -1};
}

}  // namespace orvo

// Find and replace in the table cells of a page being edited.
#include "search/CellSearch.h"

#include <algorithm>

#include "model/TKYTparag.h"
#include "model/uKYTogge.h"
#include "objects/uKYTtable.h"
#include "search/u3trovaF.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTbox.h"

namespace orvo {

namespace {

TableCellHit FindIn(TKYTbox& box, const TKYTparag& paragraph, IMarkupHost& host, int depth) {
    if (depth > 8) return {};
    for (std::int32_t i = 0; i < box.ParagraphCount(); ++i)
        for (const TKYToggetto* object : box.Paragraph(i).objects) {
            if (!object || object->Kind() != TOggettiHel::tabellaHtml) continue;
            auto* table = dynamic_cast<TMyyTable*>(host.TableCells(*object));
            if (!table) continue;
            for (int row = 0; row < table->RowCount(); ++row)
                for (int column = 0; column < table->ColumnCount(); ++column) {
                    TKYTbox* cell = table->CellAt(row, column);
                    if (!cell) continue;
                    for (std::int32_t k = 0; k < cell->ParagraphCount(); ++k)
                        if (&cell->Paragraph(k) == &paragraph) return {table, cell, k};
                    if (TableCellHit inner = FindIn(*cell, paragraph, host, depth + 1); inner.box)
                        return inner;
                }
        }
    return {};
}

}  // namespace

TableCellHit CellHoldingParagraph(TKYTbox& box, const TKYTparag& paragraph, IMarkupHost& host) {
    return FindIn(box, paragraph, host, 0);
}

std::unique_ptr<TPageSearch> SessionPageSearch(PageEditSession& session, TKYTbox& pageBox) {
    if (!session.Attached()) return nullptr;
    // Where the caret of a cell being edited stands: the search goes on from there.
    TKYTparag* cellParagraph = nullptr;
    std::size_t cellAt = 0;
    TKYTbox* active = session.ActiveBox();
    if (active && active != &pageBox) {
        if (BoxEditing* editing = session.Editing()) {
            const EditPos end = editing->Text().Selection().second;
            if (end.para >= 0 && end.para < active->ParagraphCount()) {
                cellParagraph = &active->Paragraph(end.para);
                cellAt = std::size_t(std::max(end.ch, 0));
            }
        }
    }
    session.ReleaseCells();
    BoxEditing* editing = session.Editing();
    if (!editing || &editing->Text().Box() != &pageBox) return nullptr;
    auto search = std::make_unique<TPageSearch>(editing->Text(), pageBox.MarkupHost());
    if (cellParagraph) search->ContinueFrom(*cellParagraph, cellAt);
    PageEditSession* s = &session;
    TKYTbox* box = &pageBox;
    search->selectInCell = [s, box](TKYTparag& paragraph, std::size_t at, std::size_t length) {
        const TableCellHit cell = CellHoldingParagraph(*box, paragraph, box->MarkupHost());
        if (!cell.box || !s->FocusCell(*cell.box)) return false;
        BoxEditing* inCell = s->Editing();
        if (!inCell || &inCell->Text().Box() != cell.box) return false;
        inCell->Text().Select({cell.index, std::int32_t(at)},
                              {cell.index, std::int32_t(at + length)});
        return true;
    };
    search->replaceInCell = [s, box](std::string_view with) -> TKYTparag* {
        BoxEditing* inCell = s->Editing();
        TKYTbox* cell = s->ActiveBox();
        if (!inCell || !cell || cell == box || !inCell->Text().HasSelection()) return nullptr;
        const std::int32_t index = inCell->Text().Selection().first.para;
        inCell->Text().ReplaceSelection(with);
        s->NoteEdit();
        if (index < 0 || index >= cell->ParagraphCount()) return nullptr;
        return &cell->Paragraph(index);
    };
    search->leaveCell = [s] { s->ReleaseCells(); };
    return search;
}

}  // namespace orvo

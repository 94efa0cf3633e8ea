// The editor's table commands.
#include "objects/TableCommands.h"

#include <cstdlib>

#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTbox.h"

namespace orvo {

EditedCell CellBeingEdited(PageEditSession& session, ObjectViewHost& views) {
    EditedCell out;
    // Found by its address, never read first: a table step being undone may just have freed
    // the cell the session still names (its input goes once the step is applied).
    TKYTbox* box = session.ActiveBox();
    if (!box) return out;
    TMyyTable* table = views.TableOfCell(*box);
    if (!table || !table->FindCell(*box, out.row, out.column)) return out;
    out.table = table;
    return out;
}

bool InsertNewTable(PageEditSession& session, ObjectViewHost& views, TKYTset& set,
                    const NewTableChoice& choice) {
    BoxEditing* editing = session.Editing();
    TKYTbox* box = session.ActiveBox();
    if (!editing || !box || !session.Editable()) return false;
    auto table = NewObjectOfKind(TOggettiHel::tabellaHtml, &set);
    table->Clear();
    table->TakeIntoUse();
    if (std::optional<std::string> backgrounds = ApplyNewTable(TableRecord(table->View()), choice))
        table->SetAuxiliary(std::move(*backgrounds));
    const TKYToggetto* placed = table.get();
    if (!editing->Text().InsertObject(std::move(table), false)) return false;
    auto* view = dynamic_cast<TMyyTable*>(views.ViewOf(*placed));
    if (!view) return false;
    view->AttachNew();
    view->ApplyBackgrounds();
    RelayoutObjectParagraph(*box, *placed);
    session.NoteEdit();
    if (TKYTbox* first = view->CellAt(0, 0)) session.FocusCell(*first);
    return true;
}

bool RunTableCommand(PageEditSession& session, ObjectViewHost& views, TableCommand command,
                     int count, bool after) {
    const EditedCell cell = CellBeingEdited(session, views);
    if (!cell.table || !session.Editable()) return false;
    TMyyTable& table = *cell.table;
    table.SetCurrentCell(table.CellAt(cell.row, cell.column));
    bool done = false;
    switch (command) {
        case TableCommand::AddRows:
            done = table.AddRows(cell.row + (after ? 1 : 0), count);
            break;
        case TableCommand::AddColumns:
            done = table.AddColumns(cell.column + (after ? 1 : 0), count);
            break;
        case TableCommand::DeleteRow:
        case TableCommand::DeleteColumn:
            // The cells' inputs go before the deletion frees cells; the caret goes back to
            // the page's box.
            session.ReleaseCells();
            // Once the deletion has run, the caret goes into the cell the table makes current.
            table.afterDeletion = [&session](TKYTbox& next) {
                if (session.Editable()) session.FocusCell(next);
            };
            done = command == TableCommand::DeleteRow
                       ? table.RequestDeleteRows(cell.row, cell.row)
                       : table.RequestDeleteColumns(cell.column, cell.column);
            if (done) session.NoteEdit();
            return done;
    }
    if (!done) return false;
    session.NoteEdit();
    if (TKYTbox* focus = table.CurrentCell()) session.FocusCell(*focus);
    return true;
}

TMyyTable* ShowHeaderOfEditedTable(PageEditSession& session, ObjectViewHost& views) {
    TMyyTable* edited = session.Editable() ? CellBeingEdited(session, views).table : nullptr;
    for (TMyyTable* table : views.Tables())
        if (table != edited) table->ShowHeader(false);
    if (edited) edited->ShowHeader(true);
    return edited;
}

std::optional<TableProperties> PropertiesOfEditedCell(PageEditSession& session,
                                                      ObjectViewHost& views) {
    const EditedCell cell = CellBeingEdited(session, views);
    if (!cell.table) return std::nullopt;
    return cell.table->Properties(cell.row, cell.column);
}

bool ApplyPropertiesToEditedCell(PageEditSession& session, ObjectViewHost& views,
                                 const TableProperties& properties) {
    const EditedCell cell = CellBeingEdited(session, views);
    if (!cell.table || !session.Editable()) return false;
    if (!cell.table->ApplyProperties(properties, cell.row, cell.column)) return false;
    session.NoteEdit();
    return true;
}

std::optional<TableHeaderDrag::Edge> TableHeaderDrag::EdgeAt(Point p) const {
    for (TMyyTable* table : views_.Tables()) {
        if (!table->HeaderShown() || !table->Placed() || !table->Object()) continue;
        const Point origin = table->OriginInPage();
        if (p.y < origin.y - kTableHeaderHeight || p.y >= origin.y) continue;
        std::int32_t x = origin.x + TableRecord(table->Object()->ReadView()).Spacing();
        const std::vector<HeaderSection>& sections = table->HeaderSections();
        for (std::size_t c = 0; c < sections.size(); ++c) {
            x += sections[c].width;
            if (std::abs(p.x - x) <= kGrip) return Edge{table, int(c), x};
        }
    }
    return std::nullopt;
}

bool TableHeaderDrag::StillShown(const TMyyTable* table) const {
    for (TMyyTable* shown : views_.Tables())
        if (shown == table) return table->HeaderShown();
    return false;
}

bool TableHeaderDrag::Press(Point p) {
    const std::optional<Edge> edge = EdgeAt(p);
    if (!edge) return false;
    edge_ = *edge;
    sectionLeft_ = edge->x - edge->table->HeaderSections()[std::size_t(edge->column)].width;
    lineX_ = edge->x;
    return true;
}

std::int32_t TableHeaderDrag::Clamped(std::int32_t x) const {
    return std::max(x, sectionLeft_ + 10);
}

bool TableHeaderDrag::Move(Point p) {
    if (!Dragging()) return false;
    if (!StillShown(edge_.table)) {
        Forget();
        return false;
    }
    lineX_ = Clamped(p.x);
    return true;
}

bool TableHeaderDrag::Release(Point p) {
    if (!Dragging()) return false;
    const Edge edge = edge_;
    Forget();
    if (!StillShown(edge.table)) return true;
    const std::int32_t width = Clamped(p.x) - sectionLeft_;
    edge.table->DragHeaderSection(edge.column, width);
    return true;
}

std::optional<std::int32_t> TableHeaderDrag::LineX() const {
    if (!Dragging()) return std::nullopt;
    return lineX_;
}

}  // namespace orvo

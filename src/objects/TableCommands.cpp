// The editor's table commands.
#include "objects/TableCommands.h"

#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTbox.h"

namespace orvo {

EditedCell CellBeingEdited(PageEditSession& session, ObjectViewHost& views) {
    EditedCell out;
    TKYTbox* box = session.ActiveBox();
    if (!box || !box->IsCellBox()) return out;
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

}  // namespace orvo

// The table commands of the editor, on the table of the cell being edited in a page's editing
// session: a new table at the caret, rows and columns added and deleted. The windows ask the
// numbers; these do the work, each change after its undo step.
#pragma once

#include "objects/ObjectViews.h"
#include "objects/TableRules.h"
#include "textbox/PageEditSession.h"

namespace orvo {

class TKYTset;

enum class TableCommand : std::uint8_t { AddRows, AddColumns, DeleteRow, DeleteColumn };

/// The table of the cell being edited and the cell's row and column; none outside a cell.
struct EditedCell {
    TMyyTable* table = nullptr;
    int row = -1;
    int column = -1;
};
EditedCell CellBeingEdited(PageEditSession& session, ObjectViewHost& views);

/// A new table of `choice` at the caret of the box being edited (a cell too): its cells
/// empty, the caret in its first cell. False when nothing is edited or the insertion failed.
bool InsertNewTable(PageEditSession& session, ObjectViewHost& views, TKYTset& set,
                    const NewTableChoice& choice);

/// Adds `count` rows or columns before the cell's (`after`: after it), or deletes its row or
/// column (the deletion runs when the scheduler's posted work runs). False outside a cell or
/// when the table refuses (the limits, every row or column).
bool RunTableCommand(PageEditSession& session, ObjectViewHost& views, TableCommand command,
                     int count = 1, bool after = false);

}  // namespace orvo

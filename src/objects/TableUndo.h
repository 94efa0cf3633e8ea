// The table step of the hypertext's undo list: what a table command recorded before it changed
// the table (its record, cell background list and, for deletions, the deleted cells), named by
// the table's number in its page's control index, the page's id and the frame's id.
#pragma once

#include <cstdint>

#include "objects/uKYTtable.h"
#include "textbox/uKYTundo.h"

namespace orvo {

/// Applying takes the table command back on the table the control shows now: added rows or
/// columns go, deleted ones come back with their contents and numbers, the record and the
/// backgrounds are written back and the table placed again. A control that is gone, or shows
/// something that is not a table, makes the step do nothing.
class TtaBackup final : public TKYTbackup {
public:
    TtaBackup(TableUndoStep step, std::int32_t pageId, std::int32_t frameId);
    IUndoControl* Apply(TKYTundoList& list) override;
    std::size_t MemorySize() const override;
    const TableUndoStep& Step() const { return step_; }

private:
    TableUndoStep step_;
};

/// What a frame set's IVisualSite::RecordTableUndo does: the step joins the hypertext's list.
void RecordTableUndo(TKYTundoList& list, const TableUndoStep& step, std::int32_t pageId,
                     std::int32_t frameId);

}  // namespace orvo

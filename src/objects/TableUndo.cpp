// The table step of the undo list.
#include "objects/TableUndo.h"

#include "objects/VisualUndo.h"

namespace orvo {

TtaBackup::TtaBackup(TableUndoStep step, std::int32_t pageId, std::int32_t frameId)
    : TKYTbackup(step.caption, {step.tableRegistryId, pageId, frameId}), step_(std::move(step)) {
    step_.record.shrink_to_fit();
    step_.contents.shrink_to_fit();
    step_.ids.shrink_to_fit();
}

std::size_t TtaBackup::MemorySize() const {
    return TKYTbackup::MemorySize() + step_.caption.capacity() + step_.record.capacity() +
           (step_.backgrounds ? step_.backgrounds->capacity() : 0) + step_.contents.capacity() +
           step_.ids.capacity();
}

IUndoControl* TtaBackup::Apply(TKYTundoList& list) {
    auto* control = dynamic_cast<VisualUndoControl*>(Resolve(list));
    if (!control) return nullptr;
    auto* table = dynamic_cast<TMyyTable*>(&control->Visual());
    if (!table || !table->Object()) return nullptr;
    table->Undo(step_);
    return control;
}

void RecordTableUndo(TKYTundoList& list, const TableUndoStep& step, std::int32_t pageId,
                     std::int32_t frameId) {
    list.AddUndo(std::make_unique<TtaBackup>(step, pageId, frameId));
}

}  // namespace orvo

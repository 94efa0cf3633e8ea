// Undo steps of the visual objects.
#include "objects/VisualUndo.h"

#include <algorithm>

#include "model/uKYTogge.h"
#include "objects/uKYTvisu.h"

namespace orvo {

VisualUndoControl::VisualUndoControl(TMyyVisual& visual, TKYTundoIndiciList& controls,
                                     std::int32_t number)
    : visual_(visual), controls_(controls), number_(number) {
    if (number_ < 0)
        number_ = controls_.Register(this);
    else
        controls_.Put(this, number_);
    visual_.SetRegistryId(number_);
}

VisualUndoControl::~VisualUndoControl() {
    if (controls_.Lookup(number_) == this) controls_.Put(nullptr, number_);
}

TimBackup::TimBackup(const VisualUndoStep& step, const TMyyVisual& visual, std::int32_t pageId,
                     std::int32_t frameId)
    : TKYTbackup(step.caption, {step.registryId, pageId, frameId}), record_(step.record) {
    if (const TKYToggetto* object = visual.Object()) {
        kind_ = KindIndex(object->Kind());
        if (const std::string* bytes = object->Content().Memory()) content_ = *bytes;
        auxiliary_ = object->Auxiliary();
    }
    record_.shrink_to_fit();
}

std::size_t TimBackup::MemorySize() const {
    return TKYTbackup::MemorySize() + record_.capacity() + content_.capacity() +
           (auxiliary_ ? auxiliary_->capacity() : 0);
}

IUndoControl* TimBackup::Apply(TKYTundoList& list) {
    auto* control = dynamic_cast<VisualUndoControl*>(Resolve(list));
    if (!control) return nullptr;
    TMyyVisual& visual = control->Visual();
    TKYToggetto* object = visual.Object();
    // The control now shows another object (or none): nothing of this step fits it.
    if (!object || KindIndex(object->Kind()) != kind_) return nullptr;
    auto record = object->Record();
    if (record_.size() != record.size()) return nullptr;
    std::copy(record_.begin(), record_.end(), reinterpret_cast<char*>(record.data()));
    if (!content_.empty()) object->SetContent(content_);
    object->SetAuxiliary(auxiliary_);
    visual.Setup();
    visual.Relayout();
    return control;
}

void RecordVisualUndo(TKYTundoList& list, const VisualUndoStep& step, const TMyyVisual& visual,
                      std::int32_t pageId, std::int32_t frameId) {
    list.AddUndo(std::make_unique<TimBackup>(step, visual, pageId, frameId));
}

}  // namespace orvo

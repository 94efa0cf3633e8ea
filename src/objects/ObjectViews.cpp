// The views of a shown page's objects.
#include "objects/ObjectViews.h"

#include "model/uKYTogge.h"
#include "objects/TableUndo.h"
#include "textbox/uKYTbox.h"

namespace orvo {

ObjectViewHost::~ObjectViewHost() {
    Clear();
    if (undoList_) undoList_->OnDestroyed(this, nullptr);
}

void ObjectViewHost::SetAnimated(bool on) {
    animated_ = on;
    for (auto& [object, entry] : views_)
        if (entry.view) entry.view->SetAnimated(on);
}

void ObjectViewHost::Clear() {
    views_.clear();
    links_.clear();
    tableUndo_.clear();
}

void ObjectViewHost::SetUndo(TKYTundoList* list, TKYTundoIndiciList* controls) {
    if (undoList_) undoList_->OnDestroyed(this, nullptr);
    undoList_ = list;
    controls_ = controls;
    // The list goes with its hypertext, which a window may destroy first.
    if (list) list->OnDestroyed(this, [this] { undoList_ = nullptr; });
}

void ObjectViewHost::RecordTableUndo(const TableUndoStep& step) {
    if (undoList_)
        orvo::RecordTableUndo(*undoList_, step, undoPage_, undoFrame_);
    else
        tableUndo_.push_back(step);
}

std::vector<TMyyTable*> ObjectViewHost::Tables() const {
    std::vector<TMyyTable*> out;
    for (const auto& [object, entry] : views_)
        if (auto* table = dynamic_cast<TMyyTable*>(entry.view.get())) out.push_back(table);
    return out;
}

TMyyTable* ObjectViewHost::TableOfCell(const TKYTbox& box) const {
    for (const auto& [object, entry] : views_)
        if (auto* table = dynamic_cast<TMyyTable*>(entry.view.get())) {
            int row = 0, column = 0;
            if (table->FindCell(box, row, column)) return table;
        }
    return nullptr;
}

bool RelayoutObjectParagraph(TKYTbox& box, const TKYToggetto& object) {
    for (std::int32_t i = 0; i < box.ParagraphCount(); ++i) {
        TKYTparag& p = box.Paragraph(i);
        for (const TKYToggetto* o : p.objects)
            if (o == &object) {
                box.RelayoutRange(i, i, false, p.bottom, p.top);
                return true;
            }
    }
    return false;
}

void ObjectViewHost::RelayoutObject(const TKYToggetto& object) {
    if (box_ && RelayoutObjectParagraph(*box_, object)) return;
    // A table inside a table cell: the cell that holds it.
    for (const auto& [o, entry] : views_)
        if (auto* table = dynamic_cast<TMyyTable*>(entry.view.get()))
            for (int r = 0; r < table->RowCount(); ++r)
                for (int c = 0; c < table->ColumnCount(); ++c)
                    if (TKYTbox* cell = table->CellAt(r, c))
                        if (RelayoutObjectParagraph(*cell, object)) return;
}

std::vector<TMyyVisual*> ObjectViewHost::Views() const {
    std::vector<TMyyVisual*> out;
    for (const auto& [object, entry] : views_)
        if (entry.view) out.push_back(entry.view.get());
    return out;
}

void ObjectViewHost::RecordUndo(VisualUndoStep step) {
    // A view without a number cannot be found by its step again: it stays here.
    TMyyVisual* view = nullptr;
    if (undoList_ && controls_ && step.registryId >= 0)
        if (auto* control = dynamic_cast<VisualUndoControl*>(controls_->Lookup(step.registryId)))
            view = &control->Visual();
    if (view)
        RecordVisualUndo(*undoList_, step, *view, undoPage_, undoFrame_);
    else
        undo_.push_back(std::move(step));
}

ITextMeasurer* ObjectViewHost::Measurer() {
    if (measurer_) return measurer_;
    return box_ ? &box_->MarkupHost().Measurer() : nullptr;
}

TMyyVisual* ObjectViewHost::Find(const TKYToggetto& object) const {
    auto it = views_.find(&object);
    return it == views_.end() ? nullptr : it->second.view.get();
}

IInlineObject* ObjectViewHost::ViewOf(const TKYToggetto& object) {
    const int kind = KindIndex(object.Kind());
    auto it = views_.find(&object);
    if (it != views_.end() && it->second.kind == kind &&
        it->second.identifier == object.Identifier())
        return it->second.view.get();
    // The view shows and edits the page's working copy of the object, which the text owns.
    Entry entry;
    entry.view = CreateVisual(*this, const_cast<TKYToggetto&>(object), readOnly_, animated_);
    entry.kind = kind;
    entry.identifier = object.Identifier();
    TMyyVisual* raw = entry.view.get();
    // The view's number in the page's control index, which its undo steps name.
    if (raw && controls_) entry.control = std::make_unique<VisualUndoControl>(*raw, *controls_);
    views_[&object] = std::move(entry);
    return raw;
}

}  // namespace orvo

// The views of a shown page's objects.
#include "objects/ObjectViews.h"

#include "model/uKYTogge.h"

namespace orvo {

ObjectViewHost::~ObjectViewHost() {
    Clear();
}

void ObjectViewHost::SetAnimated(bool on) {
    animated_ = on;
    for (auto& [object, entry] : views_)
        if (entry.view) entry.view->SetAnimated(on);
}

void ObjectViewHost::Clear() {
    views_.clear();
    links_.clear();
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
    Entry entry{CreateVisual(*this, const_cast<TKYToggetto&>(object), readOnly_, animated_), kind,
                object.Identifier()};
    TMyyVisual* raw = entry.view.get();
    views_[&object] = std::move(entry);
    return raw;
}

}  // namespace orvo

// The list of one kind of a hypertext's objects.
#include "model/TKYTListView.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "model/StyleRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"

namespace orvo {

namespace {

constexpr std::size_t kDblocListedOffset = 46;
constexpr std::uint8_t kDblocListed = 11;

bool ListedByDefault(const TKYToggetto& object) {
    switch (object.Kind()) {
        case TOggettiHel::internetLink: {
            const std::string address = object.Name();
            return !SameText1252(std::string_view(address).substr(0, 5), "orvo:");
        }
        case TOggettiHel::dbloc:
            return object.Record()[kDblocListedOffset] == kDblocListed;
        default:
            return true;
    }
}

}  // namespace

TKYTListView::TKYTListView(TKYTset* set, TOggettiHel objects)
    : Objects(objects), LinkedKYTset(set) {}

ListItem TKYTListView::ItemOf(const TKYToggetto& object) const {
    ListItem item;
    item.caption = object.Name();
    item.size = std::to_string(object.Content().Size());
    item.fileName = object.FileName();
    if (object.Kind() == TOggettiHel::testoHtml)
        item.identifier = std::to_string(object.Identifier());
    item.code = object.Code();
    return item;
}

void TKYTListView::Reload() {
    items_.clear();
    if (LinkedKYTset) {
        for (const auto& object : LinkedKYTset->KindList(Objects)) {
            if (object->IsFree()) continue;
            bool listed = ListedByDefault(*object);
            if (OnFilter) listed = OnFilter(*object, listed);
            if (listed) items_.push_back(ItemOf(*object));
        }
        std::stable_sort(items_.begin(), items_.end(), [](const ListItem& a, const ListItem& b) {
            return CompareText1252(a.caption, b.caption) < 0;
        });
    }
    if (OnReload) OnReload();
}

int TKYTListView::IndexOf(std::int32_t code) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].code == code) return int(i);
    return -1;
}

std::string TKYTListView::Rename(int index, std::string_view text) {
    if (index < 0 || std::size_t(index) >= items_.size() || !LinkedKYTset) return {};
    ListItem& item = items_[std::size_t(index)];
    TKYToggetto* object = LinkedKYTset->ObjectByCode(item.code);
    if (!object) return item.caption;
    if (OnEditStart) OnEditStart(item.code);
    bool take = true;
    if (object->Kind() == TOggettiHel::stileParagrafo) {
        // Compared as it would be stored: two names that differ only past the field's end
        // would otherwise become equal once cut.
        const std::string_view stored = text.substr(0, kStyleName.width - 1);
        for (const auto& other : LinkedKYTset->KindList(TOggettiHel::stileParagrafo))
            if (other.get() != object && SameText1252(other->Name(), stored)) take = false;
    }
    if (take) object->SetName(text);
    item.caption = object->Name();
    if (OnEditStop) OnEditStop(item.code);
    return item.caption;
}

}  // namespace orvo

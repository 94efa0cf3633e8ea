// TKYTListView: the flat list of one kind of a hypertext's objects (pages, pictures, files,
// links, prototypes) as the model behind the list view: filling it and renaming in place.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ObjectRecord.h"

namespace orvo {

class TKYToggetto;
class TKYTset;

/// One row: "Titolo", "Dimensione", "Nome file", and the page's identifier in the column
/// without caption. The item's data is the object's code.
struct ListItem {
    std::string caption;
    std::string size;
    std::string fileName;
    std::string identifier;
    std::int32_t code = 0;
    bool operator==(const ListItem&) const = default;
};

class TKYTListView {
public:
    explicit TKYTListView(TKYTset* set = nullptr, TOggettiHel objects = TOggettiHel::testoHtml);

    TOggettiHel Objects = TOggettiHel::testoHtml;
    TKYTset* LinkedKYTset = nullptr;
    /// A right click selects the item and acts as a click.
    bool RightMouseSelect = true;
    /// Asked for every object with the list's own decision; returns whether to list it.
    std::function<bool(const TKYToggetto& object, bool listed)> OnFilter;
    std::function<void()> OnReload;
    std::function<void(std::int32_t code)> OnEditStart;
    std::function<void(std::int32_t code)> OnEditStop;
    std::function<void(std::int32_t code)> OnDel;

    /// Refills the list with the live objects of the kind, sorted by caption (ignoring case;
    /// equal captions stay in identifier order). Links to other hypertexts ("orvo:") are left
    /// out, and local databases unless their byte 46 is 11.
    void Reload();
    const std::vector<ListItem>& Items() const { return items_; }
    /// The index of the first item of that object, or -1.
    int IndexOf(std::int32_t code) const;

    /// Renames the object of item `index`; returns the caption the item shows afterwards. A
    /// style keeps its old name when another style already has the new one (as stored, cut to
    /// 32 characters, ignoring case).
    std::string Rename(int index, std::string_view text);

private:
    ListItem ItemOf(const TKYToggetto& object) const;
    std::vector<ListItem> items_;
};

}  // namespace orvo

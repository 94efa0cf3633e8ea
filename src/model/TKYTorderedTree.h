// TKYTorderedTree: the page tree (pages in chapters) or the prototype tree of a hypertext, as
// the model behind the tree view: loading it from its store object, the author's edits, saving.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ObjectRecord.h"
#include "model/PageTree.h"

namespace orvo {

class TKYToggetto;
class TKYTset;

/// The header field that holds the code of a tree's store: the page tree's for pages, the
/// prototype tree's for prototypes; nullptr for any other kind (such a tree is not stored).
const FieldSpec* TreeStoreField(TOggettiHel objects);

/// The icon a tree or list view shows for a node or an object: the desktop's icon for files
/// of an extension, one of the desktop's own images, or none.
struct ViewIcon {
    std::string extension;  // ".kyt", ".txt", ... (lower case); empty with systemImage
    int systemImage = -1;   // the desktop's image number, -1 when an extension is used
    bool none = false;      // no icon at all
    bool operator==(const ViewIcon&) const = default;
};

/// The icon of an object: a page ".txt", a prototype ".ini", a local database ".dsn", a file
/// or a picture the extension of its file name, a web link by the first letter of its address
/// ("H" ".htm", "M" ".msg", "F" image 3) or an address ending in ".htm...", a keyword none;
/// anything else image 3.
ViewIcon IconOf(const TKYToggetto& object);
/// The icon of a tree node: the root ".kyt", a chapter ".hlp", an object its own icon (image
/// 3 when it no longer exists).
ViewIcon IconOf(const TreeNode& node, const TKYTset* set);

/// The tree a hypertext keeps of one kind of its objects. Nodes name objects by code and the
/// store by the code in the header, so the tree stays right across a save, which recreates
/// every object of the hypertext.
class TKYTorderedTree {
public:
    explicit TKYTorderedTree(TKYTset* set = nullptr, TOggettiHel objects = TOggettiHel::testoHtml);

    /// The kind the tree orders: testoHtml (the page tree) or custom (the prototype tree).
    TOggettiHel Objects = TOggettiHel::testoHtml;
    /// Whether nodes may be dragged.
    bool Editable = true;
    TKYTset* LinkedKYTset = nullptr;
    bool LeftMouseSelect = false;
    /// Asked before a node of the prototype tree is deleted; without it nothing is deleted.
    std::function<bool(const TreeNode& node)> OnDel;
    /// Told that the author renamed a node in place (after its text changed).
    std::function<void(TreeNode& node)> OnRenameItem;
    /// Told that a new chapter's caption is to be edited in place.
    std::function<void(TreeNode& node)> OnStartEdit;

    /// Reads the tree from its store, making the store when there is none; an empty store
    /// gets the default tree, which is saved at once. Lines that cannot be read are reported
    /// in error boxes and skipped.
    void LoadTree();
    /// Writes the tree text into the store's content.
    void SaveTree();

    /// A child chapter of the selected chapter or root, selected; false when the selection
    /// holds no children.
    bool AddChapter(std::string_view title);
    /// A child node for a live object of the tree's kind under the selected chapter or root,
    /// selected.
    bool AddObject(std::int32_t code);
    bool MoveUp();
    bool MoveDown();
    /// Deletes the selected node with its subtree (the Del key): never the root; in the
    /// prototype tree only when OnDel allows it.
    bool DeleteSelected();
    /// Drag and drop: `node` may go under a chapter or the root, not under itself or its own
    /// subtree, and the root never moves. It becomes the target's last child.
    bool CanDrop(const TreeNode& node, const TreeNode& target) const;
    bool Drop(TreeNode& node, TreeNode& target);
    /// An in-place rename: a chapter takes the text; an object node is told to OnRenameItem
    /// and shows the object's name afterwards.
    void Rename(TreeNode& node, std::string_view text);

    bool SelectObject(std::int32_t code);
    void Select(TreeNode* node) { selected_ = node; }
    TreeNode* Selected() const { return selected_; }
    /// The selected chapter's title; empty unless a chapter is selected.
    std::string SelectedChapterTitle() const;
    /// The live object of the selected node, or nullptr.
    TKYToggetto* SelectedObject() const;

    /// Appends the live objects of the bound nodes in tree order (pre-order).
    void CollectObjects(std::vector<TKYToggetto*>& list) const;
    /// The same, as codes.
    void CollectCodes(std::vector<std::int32_t>& codes) const;

    const PageTree& Nodes() const { return tree_; }
    /// The stored text of the tree as it is now.
    std::string Text() const { return WriteTreeText(tree_); }

private:
    TKYToggetto* Store(bool create);
    TKYToggetto* LiveObject(std::int32_t code) const;
    void BuildDefaultTree();

    PageTree tree_;
    TreeNode* selected_ = nullptr;
};

}  // namespace orvo

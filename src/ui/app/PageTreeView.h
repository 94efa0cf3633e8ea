// The page tree of the open hypertext: chapters and pages as the author ordered them. A page
// picked (clicked or chosen with the keyboard) is reported by its identifier. The author
// reorganises it in place: new chapters, moving a node up or down or dragging it under a
// chapter, renaming, taking a node out (Del); every change is stored in the hypertext's tree.
#pragma once

#include <QTreeWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;

namespace orvo {

class TKYTset;
class TKYTorderedTree;
class TreeNode;

class PageTreeView final : public QTreeWidget {
public:
    explicit PageTreeView(TKYTset& set, QWidget* parent = nullptr);
    ~PageTreeView() override;

    /// Reads the tree of the open hypertext again and shows it, every chapter expanded.
    void Reload();
    /// Selects the node of that page (without reporting it); false when the tree has none.
    bool SelectPage(std::int32_t pageIdentifier);
    /// The item of that page, or nullptr.
    QTreeWidgetItem* ItemOfPage(std::int32_t pageIdentifier) const;
    const TKYTorderedTree& Tree() const { return *tree_; }

    /// Whether the author may change the tree (off: it only shows it).
    void SetEditable(bool on);
    bool Editable() const;

    /// The author's changes, on the current item; each is stored at once. False when the
    /// tree refuses it (nothing changes).
    bool AddChapter(const std::string& title);
    bool MoveUp();
    bool MoveDown();
    bool DeleteCurrent();
    /// Drops `item` under `target` (a chapter or the root): it becomes its last child.
    bool DropOn(QTreeWidgetItem* item, QTreeWidgetItem* target);

    std::function<void(std::int32_t pageIdentifier)> onPagePicked;
    /// The tree was changed and stored.
    std::function<void()> onChanged;

    /// The item's page identifier; -1 for a chapter or the root.
    static std::int32_t PageOf(const QTreeWidgetItem& item);

protected:
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void AddNode(QTreeWidgetItem* parent, TreeNode* node);
    TreeNode* NodeOf(const QTreeWidgetItem* item) const;
    /// Stores the tree, shows it again with `node`'s item current.
    void Changed(const TreeNode* node, bool edit = false);
    void Store(const std::vector<std::size_t>& path, bool edit);
    /// The node's place: its index among its siblings at each level from the top.
    std::vector<std::size_t> PathOf(const TreeNode* node) const;

    TKYTset& set_;
    std::unique_ptr<TKYTorderedTree> tree_;
    std::vector<TreeNode*> nodes_;  // by item index (the item's data), until the next Reload
    bool filling_ = false;
};

}  // namespace orvo

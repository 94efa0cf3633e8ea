// The page tree of the open hypertext: chapters and pages as the author ordered them. A page
// picked (clicked or chosen with the keyboard) is reported by its identifier.
#pragma once

#include <QTreeWidget>

#include <cstdint>
#include <functional>
#include <memory>

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

    std::function<void(std::int32_t pageIdentifier)> onPagePicked;

    /// The item's page identifier; -1 for a chapter or the root.
    static std::int32_t PageOf(const QTreeWidgetItem& item);

private:
    void AddNode(QTreeWidgetItem* parent, const TreeNode& node);
    TKYTset& set_;
    std::unique_ptr<TKYTorderedTree> tree_;
    bool filling_ = false;
};

}  // namespace orvo

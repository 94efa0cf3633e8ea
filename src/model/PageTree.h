// The nodes of a user-ordered tree of a hypertext's objects (pages in chapters, prototypes) and
// the text the tree is stored as: one "a<level>,<number>,<text>" line per node, in pre-order.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

/// What a node stands for. Object nodes name their object by code only: the objects of a
/// hypertext are recreated by every save, so a tree never holds on to one.
enum class TreeNodeKind { None, Root, Chapter, Object };

/// The numbers a tree line carries in place of an object code.
inline constexpr std::int32_t kTreeLineNone = -1;
inline constexpr std::int32_t kTreeLineRoot = -2;
inline constexpr std::int32_t kTreeLineChapter = -3;

class TreeNode {
public:
    TreeNode(TreeNodeKind kind, std::string text, std::int32_t code)
        : kind_(kind), text_(std::move(text)), code_(code) {}

    TreeNodeKind Kind() const { return kind_; }
    /// The node's caption (Windows-1252): a chapter's title, the root's file name, an object's
    /// name as last read.
    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    /// The object's code for an object node, -1 otherwise.
    std::int32_t Code() const { return code_; }

    /// The parent node, or nullptr for a top-level node.
    TreeNode* Parent() const { return parent_ && parent_->parent_ ? parent_ : nullptr; }
    const std::vector<std::unique_ptr<TreeNode>>& Children() const { return children_; }
    /// 0 for a top-level node, one more per generation.
    int Level() const;
    /// The position among its siblings.
    std::size_t Index() const;
    /// True when this node is `other` or lies below it.
    bool IsWithin(const TreeNode& other) const;
    /// A chapter or the root: nodes that may hold children added by the author.
    bool HoldsChildren() const {
        return kind_ == TreeNodeKind::Chapter || kind_ == TreeNodeKind::Root;
    }

private:
    friend class PageTree;
    TreeNodeKind kind_;
    std::string text_;
    std::int32_t code_;
    TreeNode* parent_ = nullptr;  // the tree's hidden top node for top-level nodes
    std::vector<std::unique_ptr<TreeNode>> children_;
};

/// A forest of nodes with the edits the tree views need. Every edit keeps the structure sound:
/// nodes are only ever moved below nodes outside their own subtree.
class PageTree {
public:
    PageTree();
    PageTree(PageTree&&) noexcept;
    PageTree& operator=(PageTree&&) noexcept;
    ~PageTree();

    const std::vector<std::unique_ptr<TreeNode>>& TopLevel() const { return top_->children_; }
    bool Empty() const { return top_->children_.empty(); }
    /// Appends a node as the last child of `parent` (nullptr: a top-level node).
    TreeNode* Append(TreeNode* parent, TreeNodeKind kind, std::string text, std::int32_t code = -1);
    /// Removes `node` with its subtree.
    void Remove(TreeNode* node);
    /// Moves `node` one place up or down among its siblings; false when it is at the end.
    bool MoveUp(TreeNode* node);
    bool MoveDown(TreeNode* node);
    /// Makes `node` the last child of `parent`; refused (false) when `parent` lies within
    /// `node`'s subtree.
    bool MoveUnder(TreeNode* node, TreeNode* parent);
    /// Puts the children of `node` in its place, in order, and removes it.
    void Dissolve(TreeNode* node);
    void Clear();

    /// Every node in pre-order (a node, its subtree, then its next sibling).
    void ForEach(const std::function<void(TreeNode&)>& visit) const;
    /// The first node in pre-order bound to `code`, or nullptr.
    TreeNode* FindObject(std::int32_t code) const;
    std::size_t NodeCount() const;

private:
    std::unique_ptr<TreeNode> top_;  // hidden: its children are the top-level nodes
};

/// The stored text of a tree: one line per node in pre-order, each ended by "\r\n". Object
/// nodes are "a<level>,<code in decimal>,x"; the root "a<level>,-2,<text>"; a chapter
/// "a<level>,-3,<text>"; any other node "a<level>,-1,<text>". Line breaks in a text are written
/// as blanks, so a caption can never split its line.
std::string WriteTreeText(const PageTree& tree);

/// What a reader learns about an object code of a tree line: the current name of a live object
/// of the tree's kind, or nothing when the code names no live object of that kind.
using TreeObjectName = std::function<std::optional<std::string>(std::int32_t code)>;

struct TreeTextReading {
    PageTree tree;
    /// The error boxes to show, in order: "error decoding nodes" for a line that does not begin
    /// with "a", "error loading nodes" for a level that does not fit the previous node.
    std::vector<std::string> errors;
};

inline constexpr std::string_view kTreeDecodingError = "error decoding nodes";
/// Deeper lines are refused like any level that does not fit: no author nests chapters this
/// far, and a hostile store must not make the reader recurse without end.
inline constexpr std::size_t kMaxTreeDepth = 256;
inline constexpr std::string_view kTreeLoadingError = "error loading nodes";

/// Reads a stored tree. `treeKind` is the kind of object the tree orders (the top byte of the
/// codes it binds); a code of another kind gives a node without data that keeps its stored
/// text. A code of the tree's kind that names no live object (a deleted page) gives no node:
/// its children take its place. A refused line is skipped entirely.
TreeTextReading ReadTreeText(std::string_view text, int treeKind, const TreeObjectName& nameOf);

}  // namespace orvo

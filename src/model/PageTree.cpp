// The nodes of an ordered tree and its stored text.
#include "model/PageTree.h"

#include <algorithm>
#include <cassert>
#include <charconv>

namespace orvo {

namespace {

// A caption never carries a line break into the stored text.
std::string OneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }, ' ');
    return text;
}

// The number of a line field: an optionally signed decimal filling the field (leading blanks
// allowed); anything else, an overflow included, counts as 1.
std::int32_t FieldNumber(std::string_view field) {
    while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
    if (!field.empty() && field.front() == '+') field.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || error != std::errc() || end != field.data() + field.size()) return 1;
    return value;
}

// The lines of a text as a string list takes them: CR, LF or CR LF end a line; a last line
// without an ending counts; the text ends at a NUL byte.
std::vector<std::string_view> SplitLines(std::string_view text) {
    if (const auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        lines.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r') ++end;
        if (end < text.size() && text[end] == '\n') ++end;
        start = end;
    }
    return lines;
}

}  // namespace

void TreeNode::SetText(std::string text) {
    text_ = OneLine(std::move(text));
}

int TreeNode::Level() const {
    int level = 0;
    for (const TreeNode* p = Parent(); p; p = p->Parent()) ++level;
    return level;
}

std::size_t TreeNode::Index() const {
    const auto& siblings = parent_->children_;
    for (std::size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == this) return i;
    assert(false && "a node missing from its parent's children");
    return 0;
}

bool TreeNode::IsWithin(const TreeNode& other) const {
    for (const TreeNode* p = this; p; p = p->parent_)
        if (p == &other) return true;
    return false;
}

PageTree::PageTree() : top_(std::make_unique<TreeNode>(TreeNodeKind::None, "", -1)) {}
PageTree::PageTree(PageTree&&) noexcept = default;
PageTree& PageTree::operator=(PageTree&&) noexcept = default;
PageTree::~PageTree() = default;

TreeNode* PageTree::Append(TreeNode* parent, TreeNodeKind kind, std::string text,
                           std::int32_t code) {
    TreeNode* owner = parent ? parent : top_.get();
    auto node = std::make_unique<TreeNode>(kind, OneLine(std::move(text)),
                                           kind == TreeNodeKind::Object ? code : -1);
    node->parent_ = owner;
    owner->children_.push_back(std::move(node));
    return owner->children_.back().get();
}

void PageTree::Remove(TreeNode* node) {
    auto& siblings = node->parent_->children_;
    siblings.erase(siblings.begin() + std::ptrdiff_t(node->Index()));
}

bool PageTree::MoveUp(TreeNode* node) {
    auto& siblings = node->parent_->children_;
    const std::size_t i = node->Index();
    if (i == 0) return false;
    std::swap(siblings[i], siblings[i - 1]);
    return true;
}

bool PageTree::MoveDown(TreeNode* node) {
    auto& siblings = node->parent_->children_;
    const std::size_t i = node->Index();
    if (i + 1 >= siblings.size()) return false;
    std::swap(siblings[i], siblings[i + 1]);
    return true;
}

bool PageTree::MoveUnder(TreeNode* node, TreeNode* parent) {
    TreeNode* owner = parent ? parent : top_.get();
    if (owner->IsWithin(*node)) return false;
    auto& siblings = node->parent_->children_;
    const auto at = siblings.begin() + std::ptrdiff_t(node->Index());
    std::unique_ptr<TreeNode> moved = std::move(*at);
    siblings.erase(at);
    moved->parent_ = owner;
    owner->children_.push_back(std::move(moved));
    return true;
}

void PageTree::Dissolve(TreeNode* node) {
    TreeNode* owner = node->parent_;
    auto& siblings = owner->children_;
    const std::size_t i = node->Index();
    std::vector<std::unique_ptr<TreeNode>> children = std::move(node->children_);
    for (auto& child : children) child->parent_ = owner;
    siblings.erase(siblings.begin() + std::ptrdiff_t(i));
    siblings.insert(siblings.begin() + std::ptrdiff_t(i), std::make_move_iterator(children.begin()),
                    std::make_move_iterator(children.end()));
}

void PageTree::Clear() {
    top_->children_.clear();
}

namespace {
void Visit(const TreeNode& node, const std::function<void(TreeNode&)>& visit) {
    for (const auto& child : node.Children()) {
        visit(*child);
        Visit(*child, visit);
    }
}
}  // namespace

void PageTree::ForEach(const std::function<void(TreeNode&)>& visit) const {
    Visit(*top_, visit);
}

TreeNode* PageTree::FindObject(std::int32_t code) const {
    TreeNode* found = nullptr;
    ForEach([&](TreeNode& node) {
        if (!found && node.Kind() == TreeNodeKind::Object && node.Code() == code) found = &node;
    });
    return found;
}

std::size_t PageTree::NodeCount() const {
    std::size_t n = 0;
    ForEach([&](TreeNode&) { ++n; });
    return n;
}

namespace {

void WriteNode(const TreeNode& node, int level, std::string& text) {
    text += 'a';
    text += std::to_string(level);
    text += ',';
    switch (node.Kind()) {
        case TreeNodeKind::Object:
            text += std::to_string(node.Code());
            text += ",x";
            break;
        case TreeNodeKind::Root:
            text += "-2,";
            text += node.Text();
            break;
        case TreeNodeKind::Chapter:
            text += "-3,";
            text += node.Text();
            break;
        case TreeNodeKind::None:
            text += "-1,";
            text += node.Text();
            break;
    }
    text += "\r\n";
    for (const auto& child : node.Children()) WriteNode(*child, level + 1, text);
}

}  // namespace

std::string WriteTreeText(const PageTree& tree) {
    std::string text;
    for (const auto& node : tree.TopLevel()) WriteNode(*node, 0, text);
    return text;
}

TreeTextReading ReadTreeText(std::string_view text, int treeKind, const TreeObjectName& nameOf) {
    TreeTextReading reading;
    PageTree& tree = reading.tree;
    // The previous node and its ancestors: path[i] is the one at level i.
    std::vector<TreeNode*> path;
    // Lines naming an object that is no longer there are kept as placeholders while reading, so
    // the levels of the lines after them still fit, and dissolved at the end.
    std::vector<TreeNode*> dead;
    for (const std::string_view line : SplitLines(text)) {
        if (line.empty() || line.front() != 'a') {
            reading.errors.emplace_back(kTreeDecodingError);
            continue;
        }
        const std::string_view rest = line.substr(1);
        const std::size_t comma1 = rest.find(',');
        const std::string_view levelField = rest.substr(0, comma1);
        std::string_view numberField, nodeText;
        if (comma1 != std::string_view::npos) {
            const std::string_view afterLevel = rest.substr(comma1 + 1);
            const std::size_t comma2 = afterLevel.find(',');
            numberField = afterLevel.substr(0, comma2);
            if (comma2 != std::string_view::npos) nodeText = afterLevel.substr(comma2 + 1);
        }
        const std::int32_t level = FieldNumber(levelField);
        const std::int32_t number = FieldNumber(numberField);

        // The first line makes a top-level node whatever its level says.
        std::size_t newLevel = 0;
        if (!path.empty()) {
            const std::int64_t previousLevel = std::int64_t(path.size()) - 1;
            if (level == previousLevel + 1 && path.size() < kMaxTreeDepth) {
                newLevel = path.size();
            } else if (level >= 0 && level <= previousLevel) {
                newLevel = std::size_t(level);
            } else {
                reading.errors.emplace_back(kTreeLoadingError);
                continue;
            }
        }
        TreeNode* parent = newLevel == 0 ? nullptr : path[newLevel - 1];

        TreeNodeKind kind = TreeNodeKind::None;
        std::string caption(nodeText);
        bool lost = false;
        if (number == kTreeLineChapter) {
            kind = TreeNodeKind::Chapter;
        } else if (number == kTreeLineRoot) {
            kind = TreeNodeKind::Root;
        } else if (number != kTreeLineNone && int(std::uint32_t(number) >> 24) == treeKind) {
            if (auto name = nameOf(number)) {
                kind = TreeNodeKind::Object;
                caption = std::move(*name);
            } else {
                lost = true;
            }
        }
        TreeNode* node = tree.Append(parent, kind, std::move(caption), number);
        path.resize(newLevel);
        path.push_back(node);
        if (lost) dead.push_back(node);
    }
    for (TreeNode* node : dead) tree.Dissolve(node);
    return reading;
}

}  // namespace orvo

#include "ui/app/PageTreeView.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaObject>

#include "model/TKYTorderedTree.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "ui/QtConvert.h"
#include "ui/app/ViewIcons.h"

namespace orvo {
namespace {

constexpr int kPageRole = Qt::UserRole + 1;
constexpr int kNodeRole = Qt::UserRole + 2;

// The commands of the tree's menu.
constexpr const char* kNewChapter = "Nuovo capitolo";
constexpr const char* kMoveUp = "Sposta su";
constexpr const char* kMoveDown = "Sposta gi\xF9";
constexpr const char* kRename = "Rinomina";
constexpr const char* kRemove = "Togli dall'indice";

}  // namespace

PageTreeView::PageTreeView(TKYTset& set, QWidget* parent)
    : QTreeWidget(parent),
      set_(set),
      tree_(std::make_unique<TKYTorderedTree>(&set, TOggettiHel::testoHtml)) {
    setObjectName(QStringLiteral("PageTree"));
    setHeaderHidden(true);
    setColumnCount(1);
    SetEditable(true);
    // The tree's own rules move nodes: a drop is handed to them, never done by the widget.
    setDragDropMode(QAbstractItemView::InternalMove);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    tree_->OnRenameItem = [this](TreeNode& node) {
        if (TKYToggetto* object = set_.ObjectByCode(node.Code())) object->SetName(node.Text());
    };
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
                if (filling_ || !current || !onPagePicked) return;
                const std::int32_t page = PageOf(*current);
                if (page >= 0) onPagePicked(page);
            });
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        TreeNode* node = NodeOf(item);
        if (filling_ || !node) return;
        const std::string text = ToCp1252(item->text(0));
        if (text == node->Text()) return;
        tree_->Rename(*node, text);
        // The item is still being edited: the tree is shown again once the edit is over.
        QMetaObject::invokeMethod(
            this, [this, path = PathOf(node)] { Store(path, false); }, Qt::QueuedConnection);
    });
}

PageTreeView::~PageTreeView() = default;

std::int32_t PageTreeView::PageOf(const QTreeWidgetItem& item) {
    const QVariant data = item.data(0, kPageRole);
    return data.isValid() ? data.toInt() : -1;
}

void PageTreeView::SetEditable(bool on) {
    tree_->Editable = on;
    setDragEnabled(on);
    setAcceptDrops(on);
}

bool PageTreeView::Editable() const {
    return tree_->Editable;
}

TreeNode* PageTreeView::NodeOf(const QTreeWidgetItem* item) const {
    if (!item) return nullptr;
    const QVariant data = item->data(0, kNodeRole);
    const int index = data.isValid() ? data.toInt() : -1;
    return index >= 0 && std::size_t(index) < nodes_.size() ? nodes_[std::size_t(index)] : nullptr;
}

void PageTreeView::AddNode(QTreeWidgetItem* parent, TreeNode* node) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    std::string caption = node->Text();
    if (node->Kind() == TreeNodeKind::Object) {
        const TKYToggetto* object = set_.ObjectByCode(node->Code());
        if (object) {
            caption = object->Name();
            item->setData(0, kPageRole, int(object->Identifier()));
        }
    }
    item->setData(0, kNodeRole, int(nodes_.size()));
    nodes_.push_back(node);
    item->setText(0, ToQString(caption));
    item->setIcon(0, IconFor(IconOf(*node, &set_)));
    // The root is neither renamed nor dragged; a page takes no children.
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (node->Kind() != TreeNodeKind::Root) flags |= Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
    if (node->HoldsChildren()) flags |= Qt::ItemIsDropEnabled;
    item->setFlags(flags);
    for (const auto& child : node->Children()) AddNode(item, child.get());
}

void PageTreeView::Reload() {
    filling_ = true;
    clear();
    nodes_.clear();
    tree_->LoadTree();
    for (const auto& node : tree_->Nodes().TopLevel()) AddNode(nullptr, node.get());
    expandAll();
    filling_ = false;
}

QTreeWidgetItem* PageTreeView::ItemOfPage(std::int32_t pageIdentifier) const {
    for (QTreeWidgetItemIterator it(const_cast<PageTreeView*>(this)); *it; ++it) {
        if (PageOf(**it) == pageIdentifier) return *it;
    }
    return nullptr;
}

bool PageTreeView::SelectPage(std::int32_t pageIdentifier) {
    QTreeWidgetItem* item = ItemOfPage(pageIdentifier);
    filling_ = true;
    if (item) {
        setCurrentItem(item);
        scrollToItem(item);
    } else {
        clearSelection();
    }
    filling_ = false;
    return item != nullptr;
}

std::vector<std::size_t> PageTreeView::PathOf(const TreeNode* node) const {
    std::vector<std::size_t> path;
    for (; node; node = node->Parent()) path.insert(path.begin(), node->Index());
    return path;
}

void PageTreeView::Changed(const TreeNode* node, bool edit) {
    Store(PathOf(node), edit);
}

void PageTreeView::Store(const std::vector<std::size_t>& path, bool edit) {
    tree_->SaveTree();
    set_.SetModified(true);
    Reload();
    QTreeWidgetItem* item = nullptr;
    for (std::size_t index : path) {
        const int i = int(index);
        item = !item ? (i < topLevelItemCount() ? topLevelItem(i) : nullptr)
                     : (i < item->childCount() ? item->child(i) : nullptr);
        if (!item) break;
    }
    if (item) {
        filling_ = true;
        setCurrentItem(item);
        filling_ = false;
        if (edit) editItem(item, 0);
    }
    if (onChanged) onChanged();
}

bool PageTreeView::AddChapter(const std::string& title) {
    if (!tree_->Editable) return false;
    tree_->Select(NodeOf(currentItem()));
    if (!tree_->AddChapter(title)) return false;
    Changed(tree_->Selected(), true);
    return true;
}

bool PageTreeView::MoveUp() {
    TreeNode* node = NodeOf(currentItem());
    tree_->Select(node);
    if (!tree_->Editable || !node || !tree_->MoveUp()) return false;
    Changed(node);
    return true;
}

bool PageTreeView::MoveDown() {
    TreeNode* node = NodeOf(currentItem());
    tree_->Select(node);
    if (!tree_->Editable || !node || !tree_->MoveDown()) return false;
    Changed(node);
    return true;
}

bool PageTreeView::DeleteCurrent() {
    TreeNode* node = NodeOf(currentItem());
    tree_->Select(node);
    if (!tree_->Editable || !node) return false;
    const TreeNode* parent = node->Parent();
    if (!tree_->DeleteSelected()) return false;
    Changed(parent);
    return true;
}

bool PageTreeView::DropOn(QTreeWidgetItem* item, QTreeWidgetItem* target) {
    TreeNode* node = NodeOf(item);
    TreeNode* under = NodeOf(target);
    if (!node || !under || !tree_->Drop(*node, *under)) return false;
    Changed(node);
    return true;
}

void PageTreeView::dropEvent(QDropEvent* event) {
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    // Whatever the drop, the widget does not move items itself.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    DropOn(currentItem(), target);
}

void PageTreeView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier &&
        state() != QAbstractItemView::EditingState) {
        DeleteCurrent();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void PageTreeView::contextMenuEvent(QContextMenuEvent* event) {
    if (!tree_->Editable) return;
    if (QTreeWidgetItem* item = itemAt(event->pos())) setCurrentItem(item);
    QMenu menu(this);
    QTreeWidgetItem* item = currentItem();
    const TreeNode* node = NodeOf(item);
    QAction* chapter = menu.addAction(ToQString(kNewChapter));
    chapter->setEnabled(node && node->HoldsChildren());
    QAction* up = menu.addAction(ToQString(kMoveUp));
    QAction* down = menu.addAction(ToQString(kMoveDown));
    QAction* rename = menu.addAction(ToQString(kRename));
    QAction* remove = menu.addAction(ToQString(kRemove));
    const bool movable = node && node->Kind() != TreeNodeKind::Root;
    for (QAction* action : {up, down, rename, remove}) action->setEnabled(movable);
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == chapter) AddChapter(kNewChapter);
    if (chosen == up) MoveUp();
    if (chosen == down) MoveDown();
    if (chosen == rename && item) editItem(item, 0);
    if (chosen == remove) DeleteCurrent();
}

}  // namespace orvo

#include "ui/app/PageTreeView.h"

#include <QHeaderView>

#include "model/TKYTorderedTree.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "ui/QtConvert.h"
#include "ui/app/ViewIcons.h"

namespace orvo {
namespace {

constexpr int kPageRole = Qt::UserRole + 1;

}  // namespace

PageTreeView::PageTreeView(TKYTset& set, QWidget* parent)
    : QTreeWidget(parent),
      set_(set),
      tree_(std::make_unique<TKYTorderedTree>(&set, TOggettiHel::testoHtml)) {
    setObjectName(QStringLiteral("PageTree"));
    setHeaderHidden(true);
    setColumnCount(1);
    tree_->Editable = false;
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
                if (filling_ || !current || !onPagePicked) return;
                const std::int32_t page = PageOf(*current);
                if (page >= 0) onPagePicked(page);
            });
}

PageTreeView::~PageTreeView() = default;

std::int32_t PageTreeView::PageOf(const QTreeWidgetItem& item) {
    const QVariant data = item.data(0, kPageRole);
    return data.isValid() ? data.toInt() : -1;
}

void PageTreeView::AddNode(QTreeWidgetItem* parent, const TreeNode& node) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    std::string caption = node.Text();
    if (node.Kind() == TreeNodeKind::Object) {
        const TKYToggetto* object = set_.ObjectByCode(node.Code());
        if (object) {
            caption = object->Name();
            item->setData(0, kPageRole, int(object->Identifier()));
        }
    }
    item->setText(0, ToQString(caption));
    item->setIcon(0, IconFor(IconOf(node, &set_)));
    for (const auto& child : node.Children()) AddNode(item, *child);
}

void PageTreeView::Reload() {
    filling_ = true;
    clear();
    tree_->LoadTree();
    for (const auto& node : tree_->Nodes().TopLevel()) AddNode(nullptr, *node);
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

}  // namespace orvo

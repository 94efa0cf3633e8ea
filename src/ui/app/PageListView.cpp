#include "ui/app/PageListView.h"

#include <QHeaderView>

#include "model/TKYTListView.h"
#include "model/TKYTorderedTree.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "ui/QtConvert.h"
#include "ui/app/ViewIcons.h"

namespace orvo {
namespace {

constexpr int kPageRole = Qt::UserRole + 1;
constexpr int kIdentifierColumn = 3;

}  // namespace

PageListView::PageListView(TKYTset& set, QWidget* parent)
    : QTreeWidget(parent),
      set_(set),
      list_(std::make_unique<TKYTListView>(&set, TOggettiHel::testoHtml)) {
    setObjectName(QStringLiteral("LVPages"));
    setColumnCount(4);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
                if (filling_ || !current || !onPagePicked) return;
                const std::int32_t page = PageOf(*current);
                if (page >= 0) onPagePicked(page);
            });
}

PageListView::~PageListView() = default;

std::int32_t PageListView::PageOf(const QTreeWidgetItem& item) {
    const QVariant data = item.data(0, kPageRole);
    return data.isValid() ? data.toInt() : -1;
}

void PageListView::Reload() {
    filling_ = true;
    clear();
    list_->Reload();
    QList<QTreeWidgetItem*> rows;
    for (const ListItem& entry : list_->Items()) {
        auto* row = new QTreeWidgetItem;
        row->setText(0, ToQString(entry.caption));
        row->setText(1, ToQString(entry.size));
        row->setText(2, ToQString(entry.fileName));
        row->setText(3, ToQString(entry.identifier));
        for (int column = 0; column < 4; ++column) {
            row->setTextAlignment(column, Qt::Alignment(headerItem()->textAlignment(column)));
        }
        if (const TKYToggetto* page = set_.ObjectByCode(entry.code)) {
            row->setData(0, kPageRole, int(page->Identifier()));
            row->setIcon(0, IconFor(IconOf(*page)));
        }
        rows.push_back(row);
    }
    addTopLevelItems(rows);
    // A column no row fills (pages have no file names) leaves its room to the titles; the
    // page's identifier, in the column without a caption, is the row's data, not shown.
    for (int column = 1; column < 4; ++column) {
        bool empty = true;
        for (const QTreeWidgetItem* row : rows) empty = empty && row->text(column).isEmpty();
        if (column == kIdentifierColumn) empty = true;
        setColumnHidden(column, empty);
        if (!empty) resizeColumnToContents(column);
    }
    filling_ = false;
}

QTreeWidgetItem* PageListView::ItemOfPage(std::int32_t pageIdentifier) const {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (PageOf(*topLevelItem(i)) == pageIdentifier) return topLevelItem(i);
    }
    return nullptr;
}

bool PageListView::SelectPage(std::int32_t pageIdentifier) {
    QTreeWidgetItem* item = ItemOfPage(pageIdentifier);
    filling_ = true;
    if (item) {
        setCurrentItem(item);
        scrollToItem(item);
    } else {
        setCurrentItem(nullptr);
        clearSelection();
    }
    filling_ = false;
    return item != nullptr;
}

}  // namespace orvo

// The list of pages beside the tree: its rows, a row clicked shows the page, the row follows
// the page shown, a second document lists its own pages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QTabWidget>

#include "MainWindowSupport.h"
#include "model/TKYTListView.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "support/TestSupport.h"
#include "ui/QtConvert.h"
#include "ui/app/HistoryBox.h"
#include "ui/app/PageListView.h"
#include "ui/app/PageTreeView.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

using ::testing::HasSubstr;

int LivePages(const TKYTset& set) {
    int live = 0;
    for (int i = 0; i < set.KindCount(TOggettiHel::testoHtml); ++i) {
        const TKYToggetto* page = set.ObjectByKind(TOggettiHel::testoHtml, i);
        if (page && !page->IsFree()) ++live;
    }
    return live;
}

TEST_F(MainWindowTest, ThePageListShowsEveryPageAndAClickedRowShowsItsPage) {
    auto window = Open(first_);
    PageListView& list = window->PageList();
    auto* panel = window->findChild<QTabWidget*>(QStringLiteral("PCPagine"));
    ASSERT_NE(panel, nullptr);
    panel->setCurrentIndex(1);
    QApplication::processEvents();
    ASSERT_TRUE(list.isVisible());

    // One row per page, sorted by title, with the page's text size and number.
    // The sample's header and footer pages are pages too, though the tree leaves them out.
    ASSERT_EQ(list.topLevelItemCount(), LivePages(window->Document()));
    ASSERT_EQ(list.topLevelItemCount(), 12);  // with the map, table and form pages
    QStringList titles;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        const QTreeWidgetItem& row = *list.topLevelItem(i);
        titles << row.text(0);
        const int page = PageListView::PageOf(row);
        ASSERT_GE(page, 0);
        const TKYToggetto* object = window->Document().ObjectByKind(TOggettiHel::testoHtml, page);
        EXPECT_EQ(row.text(0), ToQString(object->Name()));
        EXPECT_EQ(row.text(3), QString::number(page));
        EXPECT_EQ(row.text(1).toLongLong(), object->Content().Size()) << row.text(0).toStdString();
    }
    QStringList sorted = titles;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    EXPECT_EQ(titles, sorted);
    // The current page's row is selected.
    ASSERT_NE(list.currentItem(), nullptr);
    EXPECT_EQ(PageListView::PageOf(*list.currentItem()), 0);

    // A row clicked shows its page, and the tree follows.
    QTreeWidgetItem* row = list.ItemOfPage(5);
    ASSERT_NE(row, nullptr);
    Click(list.viewport(), list.visualItemRect(row).center());
    EXPECT_EQ(window->PageShown(), 5);
    EXPECT_THAT(ViewText(*window), HasSubstr(PageName(*window, 5)));
    EXPECT_EQ(PageTreeView::PageOf(*window->Tree().currentItem()), 5);
    EXPECT_EQ(window->History().count(), 2);

    // Back: the list selects the cover's row again, without going anywhere itself.
    ToolbarAction(*window, "BPrecedente")->trigger();
    EXPECT_EQ(window->PageShown(), 0);
    EXPECT_EQ(PageListView::PageOf(*list.currentItem()), 0);
    EXPECT_EQ(window->History().count(), 2);
}

bool SameImage(const QIcon& a, const QIcon& b) {
    return !a.isNull() && !b.isNull() &&
           a.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32) ==
               b.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST_F(MainWindowTest, TreeAndListShowTheIconsOfTheirNodes) {
    auto window = Open(first_);
    PageTreeView& tree = window->Tree();
    ASSERT_GT(tree.topLevelItemCount(), 0);
    QTreeWidgetItem* root = tree.topLevelItem(0);
    EXPECT_EQ(PageTreeView::PageOf(*root), -1);
    EXPECT_TRUE(SameImage(root->icon(0), ProgramIcon()));  // the hypertext: its own icon
    QTreeWidgetItem* chapter = nullptr;
    for (int i = 0; i < root->childCount() && !chapter; ++i)
        if (PageTreeView::PageOf(*root->child(i)) < 0) chapter = root->child(i);
    ASSERT_NE(chapter, nullptr);
    QTreeWidgetItem* page = tree.ItemOfPage(3);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(chapter->icon(0).isNull());
    EXPECT_FALSE(page->icon(0).isNull());
    EXPECT_FALSE(SameImage(chapter->icon(0), page->icon(0)));
    EXPECT_FALSE(SameImage(page->icon(0), ProgramIcon()));
    // Every page of the list has the tree's page icon.
    PageListView& list = window->PageList();
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        EXPECT_TRUE(SameImage(list.topLevelItem(i)->icon(0), page->icon(0))) << i;
}

TEST_F(MainWindowTest, ASecondDocumentListsItsOwnPages) {
    auto window = Open(first_);
    ASSERT_EQ(window->PageList().topLevelItemCount(), 12);
    window->OpenFile(second_);
    PageListView& list = window->PageList();
    const int pages = LivePages(window->Document());
    ASSERT_EQ(list.topLevelItemCount(), pages);
    ASSERT_LT(pages, 10);
    for (int i = 0; i < pages; ++i) {
        const int page = PageListView::PageOf(*list.topLevelItem(i));
        EXPECT_EQ(list.topLevelItem(i)->text(0), ToQString(PageName(*window, page)));
    }
    EXPECT_EQ(list.List().Items().size(), std::size_t(pages));
}

}  // namespace
}  // namespace orvo::test

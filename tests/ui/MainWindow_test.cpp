// The main window offscreen on the sample hypertext: the tree, the page view, links, history,
// a second document, drops, placement; and the Qt scheduler and message boxes it runs on.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "MainWindowSupport.h"
#include "app/PageHistory.h"
#include "app/u3MainForm.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/ISettings.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"
#include "textbox/uKYTbox.h"
#include "ui/QtConvert.h"
#include "ui/app/HistoryBox.h"
#include "ui/app/MainWindow.h"
#include "ui/app/PageTreeView.h"
#include "ui/app/QtMessages.h"
#include "ui/app/QtScheduler.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

using namespace orvo::literals;
using ::testing::HasSubstr;

TEST_F(MainWindowTest, BrowsesTheSampleThroughTreeLinksAndHistory) {
    auto window = Open(first_);
    // The cover, its node current in the tree, the document in the caption.
    EXPECT_EQ(window->PageShown(), 0);
    EXPECT_THAT(ViewText(*window), HasSubstr("Benvenuti nella guida di Orvo"));
    ASSERT_NE(window->Tree().currentItem(), nullptr);
    EXPECT_EQ(PageTreeView::PageOf(*window->Tree().currentItem()), 0);
    EXPECT_THAT(window->windowTitle().toStdString(), HasSubstr("Esempio.kyt"));
    EXPECT_EQ(window->statusBar()->currentMessage(), ToQString(PageName(*window, 0)));
    EXPECT_FALSE(ToolbarAction(*window, "BPrecedente")->isEnabled());

    // A page clicked in the tree.
    QTreeWidgetItem* item = window->Tree().ItemOfPage(5);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(0), ToQString(PageName(*window, 5)));
    QWidget* treeViewport = window->Tree().viewport();
    Click(treeViewport, window->Tree().visualItemRect(item).center());
    EXPECT_EQ(window->PageShown(), 5);
    EXPECT_THAT(ViewText(*window), HasSubstr(PageName(*window, 5)));
    EXPECT_THAT(ViewText(*window), Not(HasSubstr("Benvenuti")));
    EXPECT_EQ(window->Tree().currentItem(), item);
    EXPECT_TRUE(ToolbarAction(*window, "BPrecedente")->isEnabled());

    // Back to the cover, then its link to the first chapter.
    ToolbarAction(*window, "BPrecedente")->trigger();
    EXPECT_EQ(window->PageShown(), 0);
    EXPECT_TRUE(ToolbarAction(*window, "Bseguente")->isEnabled());
    const QPoint link = PointOf(*window, "primo capitolo");
    EXPECT_GE(window->LinkAt(link.x(), link.y()), 0);
    // A click follows a page link while browsing; while editing it opens the link's menu.
    window->findChild<QAction*>(QStringLiteral("EditButton"))->trigger();
    ASSERT_FALSE(window->PageView().Editable());
    Click(window->PageView().Surface(), link);
    EXPECT_EQ(window->PageShown(), 3);
    EXPECT_THAT(ViewText(*window), HasSubstr(PageName(*window, 3)));
    EXPECT_EQ(PageTreeView::PageOf(*window->Tree().currentItem()), 3);
    EXPECT_EQ(window->statusBar()->currentMessage(), ToQString(PageName(*window, 3)));

    // The link went in after the current entry: page 5 stays after it.
    const std::string doc = first_;
    EXPECT_EQ(HistoryItems(*window), (QStringList{ToQString(PageHistory::EntryFor(doc, 0)),
                                                  ToQString(PageHistory::EntryFor(doc, 3)),
                                                  ToQString(PageHistory::EntryFor(doc, 5))}));
    EXPECT_EQ(window->History().currentIndex(), 1);

    ToolbarAction(*window, "BPrecedente")->trigger();
    EXPECT_EQ(window->PageShown(), 0);
    EXPECT_THAT(ViewText(*window), HasSubstr("Benvenuti nella guida di Orvo"));
    EXPECT_EQ(window->History().currentIndex(), 0);
    // The history box picks an entry as well.
    window->History().onPick(2);
    EXPECT_EQ(window->PageShown(), 5);
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(MainWindowTest, AWebLinkOfThePagesOwnTextOpensItsAddressInPreview) {
    auto window = Open(first_);
    Preview(*window);
    // The page's text holds the web link under a code of its own, resolved through the text.
    const QPoint link = PointOf(*window, "sito di Orvo");
    const std::int32_t code = window->LinkAt(link.x(), link.y());
    EXPECT_EQ(std::uint32_t(code) >> 24, 0x6Fu);
    ASSERT_NE(window->PageView().LinkObject(code), nullptr);
    EXPECT_EQ(window->PageView().LinkObject(code)->Kind(), TOggettiHel::internetLink);
    EXPECT_EQ(window->PageView().LinkObject(std::int32_t(0x6F0000FF)), nullptr);
    Click(window->PageView().Surface(), link);
    ASSERT_EQ(shell_.Opened().size(), 1u);
    EXPECT_EQ(shell_.Opened().front(), std::filesystem::path("http://www.esempio.it/orvo/"));
    EXPECT_EQ(window->PageShown(), 0);
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(MainWindowTest, ClicksBesideLinksOrOnOtherTextFollowNothing) {
    auto window = Open(first_);
    const QPoint link = PointOf(*window, "primo capitolo");
    // Far right of the line, below the text, on ordinary words.
    for (QPoint p : {QPoint(window->PageView().Surface()->width() - 2, link.y()),
                     QPoint(link.x(), window->PageView().Box()->Height() + 40),
                     PointOf(*window, "Benvenuti")}) {
        EXPECT_EQ(window->LinkAt(p.x(), p.y()), -1) << p.x() << "," << p.y();
        Click(window->PageView().Surface(), p);
        EXPECT_EQ(window->PageShown(), 0);
    }
    EXPECT_EQ(window->History().count(), 1);
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(MainWindowTest, ASecondDocumentReplacesTreeAndPageAndIsTimedToItsFirstPaint) {
    auto window = Open(first_);
    const int firstNodes = window->Tree().topLevelItemCount();
    ASSERT_GT(firstNodes, 0);
    window->OpenFile(second_);
    EXPECT_THAT(window->windowTitle().toStdString(), HasSubstr("Secondo.kyt"));
    EXPECT_EQ(window->PageShown(), 0);
    EXPECT_EQ(window->Document().KYTFileName(), second_);
    // Every page node of the tree is one of the second document's pages.
    int pages = 0;
    for (QTreeWidgetItemIterator it(&window->Tree()); *it; ++it) {
        const int page = PageTreeView::PageOf(**it);
        if (page < 0) continue;
        ++pages;
        EXPECT_EQ((*it)->text(0), ToQString(PageName(*window, page)));
    }
    EXPECT_EQ(pages, 6);  // three pages, the map, table and form pages
    window->PageView().Surface()->repaint();
    const qint64 first = window->OpenToPaintNanoseconds();
    EXPECT_GT(first, 0);
    window->PageView().Surface()->repaint();  // only the first paint after an open counts
    EXPECT_EQ(window->OpenToPaintNanoseconds(), first);
    // The first document is now a recent file, listed at the end of the File menu.
    bool listed = false;
    for (QAction* menu : window->menuBar()->actions()) {
        if (!menu->menu()) continue;
        for (QAction* action : menu->menu()->actions()) {
            if (action->text().contains(QStringLiteral("Esempio.kyt"))) listed = true;
        }
    }
    EXPECT_TRUE(listed);
    // History names both documents; back returns to the first one's cover.
    window->findChild<QAction*>(QStringLiteral("BPrecedente"))->trigger();
    EXPECT_EQ(window->Document().KYTFileName(), first_);
    EXPECT_THAT(ViewText(*window), HasSubstr("Benvenuti nella guida di Orvo"));
}

TEST_F(MainWindowTest, ADroppedDocumentOpensAndAnUnreadableOneIsReported) {
    auto window = Open(first_);
    auto drop = [&](const std::string& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(NativePath(path).string()))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &event);
    };
    drop(second_);
    EXPECT_EQ(window->Document().KYTFileName(), second_);
    EXPECT_EQ(window->PageShown(), 0);
    WriteFile(TestDir() / "Rotto.kyt", "non un ipertesto");
    drop(NameOfPath(TestDir() / "Rotto.kyt"));
    EXPECT_FALSE(messages_.Shown().empty());
}

TEST_F(MainWindowTest, PlacementAndToolbarLayoutOutliveTheWindow) {
    settings_.Write("Options", "NotSaveTool", "0");  // the layout is kept
    {
        auto window = Open(first_);
        window->resize(701, 503);
        window->findChild<QToolBar*>(QStringLiteral("ToolBarMain"))->hide();
        window->show();
        window->findChild<QAction*>(QStringLiteral("MIFileExit"))->trigger();  // "Esci"
        EXPECT_FALSE(window->isVisible());
    }
    EXPECT_TRUE(settings_.Read("forms\\MainForm", "geometry").has_value());
    EXPECT_TRUE(settings_.Read("toolbar", "layout").has_value());
    auto again = Open(first_);
    EXPECT_EQ(again->size(), QSize(701, 503));
    EXPECT_TRUE(again->findChild<QToolBar*>(QStringLiteral("ToolBarMain"))->isHidden());
}

TEST(QtSchedulerTest, PostedTasksAndTimersRunInTheEventLoop) {
    EnsureApplication();
    QtScheduler scheduler;
    std::vector<std::string> ran;
    scheduler.Post([&] { ran.push_back("posted"); });
    EXPECT_TRUE(ran.empty());  // never inside Post
    const auto once =
        scheduler.StartTimer(std::chrono::milliseconds(5), false, [&] { ran.push_back("once"); });
    int repeats = 0;
    IScheduler::TimerId repeating = 0;
    repeating = scheduler.StartTimer(std::chrono::milliseconds(5), true, [&] {
        if (++repeats == 3) scheduler.StopTimer(repeating);
    });
    QElapsedTimer clock;
    clock.start();
    while ((repeats < 3 || ran.size() < 2) && clock.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_EQ(ran, (std::vector<std::string>{"posted", "once"}));
    EXPECT_FALSE(scheduler.TimerActive(once));
    EXPECT_FALSE(scheduler.TimerActive(repeating));
    const int stoppedAt = repeats;
    clock.restart();
    while (clock.elapsed() < 60) QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(repeats, stoppedAt);
    EXPECT_EQ(stoppedAt, 3);
}

TEST(QtMessagesTest, BoxesCarryTheProgramsCaptionsAndLineBreaks) {
    EnsureApplication();
    QtMessages messages;
    struct Seen {
        QString title, text;
    };
    std::vector<Seen> seen;
    // Answers the box that is open with `button`, after noting what it shows.
    auto answer = [&](QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [&seen, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            seen.push_back({box->windowTitle(), box->text()});
            box->button(button)->click();
        });
    };
    answer(QMessageBox::Ok);
    messages.Error("Errore nell'apertura file:\rEsempio è.kyt"_cp);
    answer(QMessageBox::Ok);
    messages.Warn("Attenzione");
    answer(QMessageBox::No);
    EXPECT_FALSE(messages.Ask("Salvare?"));
    answer(QMessageBox::Cancel);
    EXPECT_EQ(messages.AskYesNoCancel("Salvare le modifiche?"), Answer::Cancel);
    answer(QMessageBox::Yes);
    EXPECT_EQ(messages.AskYesNoCancel("Salvare le modifiche?"), Answer::Yes);
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].title, QStringLiteral("Errore!"));
    EXPECT_EQ(seen[0].text, QString::fromUtf8("Errore nell'apertura file:\nEsempio è.kyt"));
    EXPECT_EQ(seen[1].title, QStringLiteral("Attenzione!"));
    EXPECT_EQ(seen[2].title, QStringLiteral("Orvo"));
}

}  // namespace
}  // namespace orvo::test

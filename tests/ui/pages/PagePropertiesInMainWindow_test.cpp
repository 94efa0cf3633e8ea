// "&Proprietà pagina..." in the main window: the window opens on the page the editor shows,
// its Ok stores the title, a colour and a head code in the page, which the page shown takes at
// once and the saved document keeps.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <filesystem>

#include "MainWindowSupport.h"
#include "app/CustomCodePanel.h"
#include "app/u3MainForm.h"
#include "base/Format.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "support/TestSupport.h"
#include "ui/links/LinkWindow.h"
#include "ui/pages/CodePanelWidget.h"
#include "ui/pages/PagePropertiesWindow.h"
#include "ui/pictures/PictureWindow.h"

namespace orvo::test {
namespace {

class PagePropertiesInMainWindow : public MainWindowTest {};

TEST_F(PagePropertiesInMainWindow, TheCommandEditsThePageShownAndTheFileKeepsIt) {
    const std::string path = Write("Pagine.kyt", 3);
    {
        auto window = Open(path);
        QAction* action = window->findChild<QAction*>(QStringLiteral("MIPageProperties"));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), QString::fromUtf8("&Propriet\xC3\xA0 pagina..."));
        QString seen, title;
        QTimer::singleShot(0, [&] {
            auto* dialog = dynamic_cast<PagePropertiesWindow*>(QApplication::activeModalWidget());
            if (!dialog) return;
            seen = dialog->windowTitle();
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("Etitolo"));
            title = edit->text();
            edit->setText(QStringLiteral("Titolo nuovo"));
            dialog->chooseColour = [](std::int32_t) { return std::optional<std::int32_t>(0xFF); };
            dialog->findChild<QPushButton*>(QStringLiteral("BShText"))->click();
            dialog->Rules().Code().LoadCode(std::string(4, '\0') + "<meta x>");
            dialog->Rules().Code().Editor().NoteEdit();
            dialog->Confirm();
        });
        action->trigger();
        EXPECT_EQ(seen, QString::fromUtf8("Propriet\xC3\xA0 pagina"));
        EXPECT_FALSE(title.isEmpty());
        ASSERT_TRUE(window->Rules().FileSave());
    }
    TKYTset saved(environment_, scratchMessages_);
    ASSERT_TRUE(saved.LoadFromFile(path));
    const TKYToggetto* page = saved.ObjectByKind(TOggettiHel::testoHtml, 0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(PageRecord::Read(*page).Title(), "Titolo nuovo");
    EXPECT_EQ(PageRecord::Read(*page).TextColour(), 0xFF);
    ASSERT_TRUE(page->Auxiliary());
    EXPECT_EQ(*page->Auxiliary(), std::string(4, '\0') + "<meta x>");
}

// "Immagine di sfondo" opens the picture window on one picture from any source: a GIF file
// from disk is a new picture, which Ok registers (once) and stores as the page's background;
// the window opened again shows the page's picture selected in the album.
TEST_F(PagePropertiesInMainWindow, TheBackgroundPictureComesFromThePictureWindow) {
    const std::string path = Write("Sfondo.kyt", 3);
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    // A 2x2 GIF of two colours.
    const std::string gif(
        "\x47\x49\x46\x38\x37\x61\x02\x00\x02\x00\x81\x00\x00\xff\x00\x00\x00\x00\xff"
        "\x00\x00\x00\x00\x00\x00\x2c\x00\x00\x00\x00\x02\x00\x02\x00\x00\x08\x07\x00"
        "\x01\x04\x08\x00\x20\x20\x00\x3b",
        46);
    WriteFile(folder / "sfondo.gif", gif);
    auto window = Open(path);
    TKYTset& set = window->Document();
    const auto pictures = [&set] {
        int n = 0;
        for (const auto& p : set.KindList(TOggettiHel::immagine)) n += p && !p->IsFree();
        return n;
    };
    const int before = pictures();
    QAction* action = window->findChild<QAction*>(QStringLiteral("MIPageProperties"));
    ASSERT_NE(action, nullptr);
    int asked = 0;
    PictureWindowMode mode = PictureWindowMode::Several;
    QString selected;
    const auto answerPictureWindow = [&](bool fromDisk) {
        auto* w = dynamic_cast<PictureWindow*>(QApplication::activeModalWidget());
        if (!w) return;
        ++asked;
        mode = w->Mode();
        if (fromDisk) {
            w->Tabs()->setCurrentIndex(int(PictureTab::Disk));
            const auto found =
                w->DiskFiles()->findItems(QStringLiteral("sfondo.gif"), Qt::MatchExactly);
            if (found.size() == 1) w->DiskFiles()->setCurrentItem(found.front());
            w->OkButton()->click();
        } else {
            const auto chosen = w->AlbumList()->selectedItems();
            if (chosen.size() == 1) selected = chosen.front()->text();
            w->reject();
        }
    };
    const auto runWindow = [&](bool fromDisk, bool confirm) {
        QTimer::singleShot(0, [&, fromDisk, confirm] {
            auto* dialog = dynamic_cast<PagePropertiesWindow*>(QApplication::activeModalWidget());
            if (!dialog) return;
            QTimer::singleShot(0, [&, fromDisk] { answerPictureWindow(fromDisk); });
            dialog->findChild<QPushButton*>(QStringLiteral("Bimmagine"))->click();
            EXPECT_TRUE(dialog->findChild<QCheckBox*>(QStringLiteral("CBsfondo"))->isChecked());
            if (confirm)
                dialog->Confirm();
            else
                dialog->reject();
        });
        action->trigger();
    };

    // Cancelled: the new picture goes with the window.
    runWindow(true, false);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(mode, PictureWindowMode::Single);
    EXPECT_EQ(pictures(), before);
    // Confirmed: registered once, and the page's background.
    runWindow(true, true);
    EXPECT_EQ(pictures(), before + 1);
    const TKYToggetto* page = set.ObjectByKind(TOggettiHel::testoHtml, 0);
    const std::int32_t background = PageRecord::Read(*page).BackgroundPicture();
    const TKYToggetto* picture = set.ObjectByKind(TOggettiHel::immagine, background);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Name(), "sfondo");
    EXPECT_EQ(*picture->ContentBytes(), gif);
    // Opened again, the picture window shows the background selected in the album.
    runWindow(false, false);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(selected, QStringLiteral("sfondo"));
    EXPECT_EQ(PageRecord::Read(*page).BackgroundPicture(), background);
}

// The references of the head code are chosen in the windows that choose pictures and link
// targets: a picture in the picture window from the internal album only, a page or file in
// the link window (a page, an address or an embedded file).
TEST_F(PagePropertiesInMainWindow, TheHeadCodesReferencesComeFromThePictureAndLinkWindows) {
    auto window = Open(Write("Riferimenti.kyt", 3));
    TKYTset& set = window->Document();
    QAction* action = window->findChild<QAction*>(QStringLiteral("MIPageProperties"));
    ASSERT_NE(action, nullptr);
    PictureWindowMode pictureMode = PictureWindowMode::Several;
    bool diskTab = true;
    QString picture;
    int linkTabs = -1;
    std::int32_t page = -1;
    // Another chooser is closed, so that the test fails instead of waiting.
    const auto closeOther = [] {
        if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            other->reject();
    };
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<PagePropertiesWindow*>(QApplication::activeModalWidget());
        if (!dialog) return;
        QTimer::singleShot(0, [&] {
            auto* w = dynamic_cast<PictureWindow*>(QApplication::activeModalWidget());
            if (!w) return closeOther();
            pictureMode = w->Mode();
            diskTab = w->Tabs()->isTabVisible(int(PictureTab::Disk));
            if (w->AlbumList()->count() > 1) {
                w->AlbumList()->setCurrentRow(1);
                picture = w->AlbumList()->currentItem()->text();
            }
            w->OkButton()->click();
        });
        CodePanelWidget& code = dialog->CodePanel();
        code.findChild<QPushButton*>(QStringLiteral("BRifImmagine"))->click();
        QTimer::singleShot(0, [&] {
            auto* w = dynamic_cast<LinkWindow*>(QApplication::activeModalWidget());
            if (!w) return closeOther();
            linkTabs = 0;
            for (int i = 0; i < w->Tabs()->count(); ++i) linkTabs += w->Tabs()->isTabVisible(i);
            w->PageList()->setCurrentRow(2);
            page = w->PageList()->currentItem()->text().section(QLatin1Char(' '), 0, 0).toInt();
            w->OkButton()->click();
        });
        code.findChild<QPushButton*>(QStringLiteral("BRifPagina"))->click();
        dialog->Confirm();
    });
    action->trigger();
    EXPECT_EQ(pictureMode, PictureWindowMode::AlbumOnly);
    EXPECT_FALSE(diskTab);
    EXPECT_EQ(linkTabs, 3);  // the hypertext's pages, addresses and embedded files
    ASSERT_FALSE(picture.isEmpty());
    ASSERT_GT(page, 0);
    std::int32_t pictureCode = -1;
    for (const auto& p : set.KindList(TOggettiHel::immagine))
        if (p && !p->IsFree() && QString::fromLatin1(p->Name().c_str()) == picture)
            pictureCode = p->Code();
    ASSERT_GE(pictureCode, 0);
    const TKYToggetto* shown = set.ObjectByKind(TOggettiHel::testoHtml, 0);
    ASSERT_TRUE(shown->Auxiliary());
    EXPECT_EQ(*shown->Auxiliary(),
              std::string(4, '\0') + "!RefI:" + Hex8(std::uint32_t(pictureCode)) +
                  "!RefL:" + Hex8(std::uint32_t(MakeCode(TOggettiHel::testoHtml, page))));
    EXPECT_TRUE(messages_.Shown().empty());
}

}  // namespace
}  // namespace orvo::test

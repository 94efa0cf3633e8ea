// "&Proprietà pagina..." in the main window: the window opens on the page the editor shows,
// its Ok stores the title, a colour and a head code in the page, which the page shown takes at
// once and the saved document keeps.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "MainWindowSupport.h"
#include "app/CustomCodePanel.h"
#include "app/u3MainForm.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "ui/pages/CodePanelWidget.h"
#include "ui/pages/PagePropertiesWindow.h"

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

}  // namespace
}  // namespace orvo::test

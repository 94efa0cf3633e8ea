// The main window's commands open the album on its tabs and the hypertext options; a read-only
// lock set in the options is saved and the document opens again in preview, as its password
// asks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTimer>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "MainWindowSupport.h"
#include "app/MainFormPorts.h"
#include "app/u3MainForm.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "ui/album/AlbumWindow.h"
#include "ui/album/OptionsWindow.h"
#include "ui/app/PageListView.h"
#include "ui/links/LinkCommands.h"
#include "ui/links/LinkWindow.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

class AlbumInMainWindow : public MainWindowTest {};

// Answers the input boxes with the passwords given, in turn; records what each asked.
class PasswordPrompter final : public IPrompter {
public:
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> asked;
    std::optional<std::string> InputBox(std::string_view caption,
                                        std::string_view prompt) override {
        asked.push_back(std::string(caption) + "|" + std::string(prompt));
        if (answers.empty()) return std::nullopt;
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<FileChoice> OpenDialog(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<FileChoice> SaveDialog(const FileDialogRequest&) override { return std::nullopt; }
    void ShowErrorList(std::string_view, const std::vector<std::string>&) override {}
};

TEST_F(AlbumInMainWindow, MenuCommandsOpenTheAlbumOnItsTabsAndTheOptions) {
    const std::string path = Write("Libro.kyt", 12);
    {
        auto window = Open(path);
        struct Case {
            const char* action;
            const char* title;
            int tab;  // -1: not the album
        };
        for (const Case& c : {Case{"MIHypertextAlbum", "Album immagini e files", 0},
                              Case{"MIFilePageList", "Album immagini e files", 3},
                              Case{"MIHypertextDeletePages", "Album immagini e files", 3},
                              Case{"MIHypertextProperties", "Opzioni dell'ipertesto", -1}}) {
            QString seen;
            int tab = -2, items = 0;
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                if (!dialog) return;
                seen = dialog->windowTitle();
                if (auto* tabs = dialog->findChild<QTabWidget*>(QStringLiteral("PageControl1")))
                    tab = tabs->currentIndex();
                if (auto* list = dialog->findChild<QListWidget*>(QStringLiteral("ZIDListViewImg")))
                    items = list->count();
                if (auto* options = dynamic_cast<HypertextOptionsWindow*>(dialog)) {
                    // The lock and its password, stored on Ok.
                    dialog->findChild<QCheckBox*>(QStringLiteral("CBreadOnly"))->setChecked(true);
                    dialog->findChild<QLineEdit*>(QStringLiteral("Epass"))
                        ->setText(QStringLiteral("segreta"));
                    options->Confirm();
                    return;
                }
                dialog->reject();
            });
            QAction* action = window->findChild<QAction*>(QString::fromLatin1(c.action));
            ASSERT_NE(action, nullptr) << c.action;
            ASSERT_TRUE(action->isEnabled()) << c.action;
            action->trigger();
            EXPECT_EQ(seen, QString::fromUtf8(c.title)) << c.action;
            if (c.tab >= 0) {
                EXPECT_EQ(tab, c.tab) << c.action;
                EXPECT_GT(items, 0) << c.action;
            }
        }
        ASSERT_TRUE(window->Rules().FileSave());
    }
    TKYTset saved(environment_, scratchMessages_);
    ASSERT_TRUE(saved.LoadFromFile(path));
    EXPECT_EQ(saved.ReadOnlyPassword(), "segreta");
    PasswordPrompter prompter;
    MainWindowOptions options;
    options.prompter = &prompter;
    auto again = Open(path, options);
    EXPECT_FALSE(again->Rules().EditMode()) << "a locked document opens in preview";
    // Edit mode asks the password the options stored: a wrong one is refused, then it opens.
    prompter.answers = {std::string("sbagliata"), std::string("segreta")};
    QAction* edit = again->findChild<QAction*>(QStringLiteral("EditButton"));
    ASSERT_NE(edit, nullptr);
    messages_.Clear();
    edit->trigger();
    EXPECT_FALSE(again->Rules().EditMode());
    ASSERT_EQ(messages_.Shown().size(), 1u);
    EXPECT_EQ(messages_.Shown()[0].text, "Password errata!");
    edit->trigger();
    EXPECT_TRUE(again->Rules().EditMode());
    EXPECT_EQ(prompter.asked,
              std::vector<std::string>(2, "Modo editor|Introduci la password per l'edit"));
}

TEST_F(AlbumInMainWindow, PagesArePreviewedAndAddedThroughTheLinkWindow) {
    auto window = Open(first_);
    TKYTset& set = window->Document();
    const int pages = set.KindCount(TOggettiHel::testoHtml);
    int linkMode = -1;
    window->Links().execDialog = [&](QDialog& d) {
        auto& w = dynamic_cast<LinkWindow&>(d);
        linkMode = w.Chooser().mode;
        EXPECT_EQ(w.CurrentTab(), LinkTab::Empty);
        w.Accept(false);
        return w.result();
    };
    std::int32_t previewed = -2, afterUntick = -2, selected = 0;
    bool renaming = false;
    QTimer::singleShot(0, [&] {
        auto* album = dynamic_cast<AlbumWindow*>(QApplication::activeModalWidget());
        if (!album) return;
        // "anteprima" shows the focused page; without it nothing is shown.
        album->PagePreviewBox()->setChecked(true);
        album->SelectObject(MakeCode(TOggettiHel::testoHtml, 4));
        previewed = album->PagePreview()->PageShown();
        album->PagePreviewBox()->setChecked(false);
        afterUntick = album->PagePreview()->PageShown();
        // "&Aggiungi...": the link window makes the page, which is selected to be named.
        album->Add();
        if (QListWidgetItem* item = album->List()->currentItem()) {
            selected = item->data(Qt::UserRole).toInt();
            renaming = album->List()->viewport()->findChild<QLineEdit*>() != nullptr;
            album->List()->closePersistentEditor(item);
            item->setText(QStringLiteral("Pagina nuova"));  // the name the author types
        }
        static_cast<QDialog*>(album)->reject();
    });
    window->findChild<QAction*>(QStringLiteral("MIFilePageList"))->trigger();
    EXPECT_EQ(previewed, 4);
    EXPECT_EQ(afterUntick, -1);
    EXPECT_EQ(linkMode, 9);
    EXPECT_EQ(selected, MakeCode(TOggettiHel::testoHtml, pages));
    EXPECT_TRUE(renaming);
    EXPECT_EQ(set.KindCount(TOggettiHel::testoHtml), pages + 1);
    EXPECT_EQ(window->PageShown(), pages);
    // The main window's page list shows the name given in the album once it closes.
    QTreeWidgetItem* row = window->PageList().ItemOfPage(pages);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->text(0), QStringLiteral("Pagina nuova"));
    // The name given in the album outlives the editor's commit of the new page.
    window->Rules().GoToPage(0);
    EXPECT_EQ(set.ObjectByKind(TOggettiHel::testoHtml, pages)->Name(), "Pagina nuova");
}

}  // namespace
}  // namespace orvo::test

// Spelling in the main window, over the real Italian Hunspell dictionary: a misspelt word typed
// on a page is underlined after the page's delay, its spelling menu offers suggestions and
// replaces the word, "&Aggiungi" puts it in the user dictionary that a new checker reads
// again.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <string>
#include <vector>

#include "MainWindowSupport.h"
#include "app/u3MainForm.h"
#include "model/uKYTset.h"
#include "spell/QzSpellers.h"
#include "spell/SpellMarks.h"
#include "spell/TQzSpellerDialog.h"
#include "textbox/uKYTbox.h"
#include "ui/spell/DesktopSpelling.h"
#include "ui/spell/QtSpellerDialog.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

// The page "Che cos'è un ipertesto" of the sample.
constexpr int kTextPage = 3;

void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

void RightClick(QWidget* widget, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), widget->mapToGlobal(QPointF(at)),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), widget->mapToGlobal(QPointF(at)),
                        Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

// The words the page's spelling flags mark.
std::vector<std::string> Marked(const PageViewWidget& view) {
    std::vector<std::string> words;
    if (!view.Box()) return words;
    for (const auto& p : view.Box()->AllParagraphs())
        for (const SpellStretch& s : SpellStretches(p->spellFlags))
            words.push_back(p->text.substr(s.first, s.last - s.first + 1));
    return words;
}

bool Holds(const std::vector<std::string>& words, const std::string& word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

// Runs the event loop until `done` or 10 s; the milliseconds it took.
template <class F>
qint64 WaitFor(F done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return clock.elapsed();
}

// With ORVO_SHOT_DIR set (by hand) the widget is saved as a picture.
void Shot(QWidget& widget, const std::string& name) {
    const char* dir = getenv("ORVO_SHOT_DIR");
    if (!dir) return;
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    widget.grab().save(QString::fromLocal8Bit(dir) + "/" + QString::fromStdString(name) + ".png");
}

// Right-clicks the word and picks the menu item whose text `pick` chooses (by its index);
// returns the items shown.
QStringList PickFromSpellMenu(PageViewWidget& view, const std::string& word,
                              std::function<int(const QStringList&)> pick) {
    QStringList shown;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        Shot(*menu, "spelling-menu-" + word);
        QList<QAction*> items;
        for (QAction* a : menu->actions())
            if (!a->isSeparator()) {
                items << a;
                shown << a->text();
            }
        const int chosen = pick(shown);
        if (chosen < 0 || chosen >= items.size()) {
            menu->close();
            return;
        }
        menu->setActiveAction(items[chosen]);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &enter);
    });
    RightClick(view.Surface(), test::PointOf(view, word));
    QApplication::processEvents();
    return shown;
}

class SpellingInWindow : public MainWindowTest {};

TEST_F(SpellingInWindow, ATypedWordIsMarkedItsMenuReplacesAndAddsToTheUserDictionary) {
    auto window = Open(first_);
    window->Rules().GoToPage(kTextPage);
    PageViewWidget& view = window->PageView();
    ASSERT_TRUE(view.Editable());
    Click(view.Surface(), test::PointOf(view, "documento"));
    Type(view.Surface(), QStringLiteral("sbagliatta "));
    // Marked after the page's delay (2 s from the last change, then the paced check).
    const qint64 took = WaitFor([&] { return Holds(Marked(view), "sbagliatta"); });
    ASSERT_TRUE(Holds(Marked(view), "sbagliatta")) << ViewText(*window);
    if (getenv("ORVO_SHOT_DIR")) {
        window->show();
        Shot(*window, "spelling-underline");
    }
    EXPECT_GE(took, 2000);

    const QStringList items = PickFromSpellMenu(view, "sbagliatta", [](const QStringList&) {
        return 0;  // the first suggestion
    });
    ASSERT_GE(items.size(), 4);
    const QString suggestion = items[0];
    EXPECT_TRUE(items.contains(QStringLiteral("&Ignora tutti")));
    EXPECT_TRUE(items.contains(QStringLiteral("&Aggiungi")));
    EXPECT_EQ(items.last(), QStringLiteral("&Controllo ortografia"));
    EXPECT_NE(ViewText(*window).find(suggestion.toStdString() + " documento"), std::string::npos)
        << ViewText(*window);
    EXPECT_EQ(ViewText(*window).find("sbagliatta"), std::string::npos);
    // The replacement is one step of the undo list.
    window->findChild<QAction*>(QStringLiteral("MIEditUndo"))->trigger();
    EXPECT_NE(ViewText(*window).find("sbagliatta documento"), std::string::npos);

    // "&Aggiungi": the marks go at once, and the user dictionary keeps the word.
    Type(view.Surface(), QStringLiteral(" zorblatico"));
    WaitFor([&] { return Holds(Marked(view), "zorblatico"); });
    ASSERT_TRUE(Holds(Marked(view), "zorblatico"));
    // F7, the shortcut the menu shows, opens the dialog on the page: it asks about the word;
    // the page is marked again after it.
    std::string askedByF7;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* dialog = dynamic_cast<QtSpellerDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->Rules() || !dialog->Rules()->Waiting()) return;
        const TQzSpellerDialog& rules = *dialog->Rules();
        askedByF7 = rules.contextLine.substr(rules.contextError, rules.contextErrorLength);
        dialog->Button("CancelButton")->click();
    });
    closer.start(20);
    QKeyEvent f7(QEvent::KeyPress, Qt::Key_F7, Qt::NoModifier);
    QApplication::sendEvent(view.Surface(), &f7);
    WaitFor([&] { return !window->Spelling().Running(); });
    closer.stop();
    EXPECT_EQ(askedByF7, "zorblatico");
    ASSERT_FALSE(window->Spelling().Running());
    WaitFor([&] { return Holds(Marked(view), "zorblatico"); });
    PickFromSpellMenu(view, "zorblatico",
                      [](const QStringList& shown) { return int(shown.indexOf("&Aggiungi")); });
    const qint64 cleared = WaitFor([&] { return !Holds(Marked(view), "zorblatico"); });
    EXPECT_LT(cleared, 2000);  // before the page's delay would have passed
    window.reset();

    // A new checker over the same user folder, as after a restart, knows it.
    RecordingMessages messages;
    TQzSpellChecker again(environment_, messages);
    again.SetLanguage(1040);
    ASSERT_TRUE(again.Open());
    EXPECT_TRUE(again.WordPasses("zorblatico"));
    EXPECT_FALSE(again.WordPasses("sbagliatta"));
}

// "Controllo ortografia &ipertesto..." walks every page through the dialog. The answers come
// from a timer that runs inside the dialog's own event loop, so nothing waits on the modal
// window: "Orvo" is skipped everywhere, the word typed on two pages is changed on the first
// and, by "change all", on the second without asking again.
TEST_F(SpellingInWindow, TheDialogWalksEveryPageAndChangeAllReplacesEverywhere) {
    auto window = Open(first_);
    PageViewWidget& view = window->PageView();
    constexpr int kStylesPage = 5;
    const std::pair<int, const char*> typed[] = {{kTextPage, "documento"},
                                                 {kStylesPage, "carattere"}};
    for (const auto& [page, before] : typed) {
        window->Rules().GoToPage(page);
        Click(view.Surface(), test::PointOf(view, before));
        Type(view.Surface(), QStringLiteral("ipertessto "));
    }
    std::vector<std::string> asked;
    std::vector<int> pagesShown;
    int answers = 0;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* dialog = dynamic_cast<QtSpellerDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->Rules() || !dialog->Rules()->Waiting()) return;
        const TQzSpellerDialog& rules = *dialog->Rules();
        const std::string word =
            rules.contextLine.substr(rules.contextError, rules.contextErrorLength);
        asked.push_back(word);
        pagesShown.push_back(window->PageShown());
        if (++answers > 50) {  // a walk that does not end fails here instead of hanging
            dialog->Button("CancelButton")->click();
            return;
        }
        if (word == "ipertessto") {
            const auto& variants = rules.variants;
            const auto at = std::find(variants.begin(), variants.end(), "ipertesto");
            ASSERT_NE(at, variants.end());
            dialog->Variants()->setCurrentRow(int(at - variants.begin()));
            Shot(*dialog, "spelling-dialog-change-all");
            dialog->Button("ChangeAllButton")->click();
        } else {
            dialog->Button("SkipAllButton")->click();
        }
    });
    answerer.start(20);
    window->findChild<QAction*>(QStringLiteral("MIToolsSpellHypertext"))->trigger();
    WaitFor([&] { return !window->Spelling().Running(); });
    answerer.stop();
    EXPECT_FALSE(window->Spelling().Running());
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "ipertessto"), 1);
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "Orvo"), 1);
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(pagesShown, (std::vector<int>{0, kTextPage}));
    for (const auto& [page, before] : typed) {
        window->Rules().GoToPage(page);
        const std::string text = ViewText(*window);
        EXPECT_NE(text.find(std::string("ipertesto ") + before), std::string::npos) << page;
        EXPECT_EQ(text.find("ipertessto"), std::string::npos) << page;
    }
    EXPECT_TRUE(window->Document().Modified());
}

}  // namespace
}  // namespace orvo::test

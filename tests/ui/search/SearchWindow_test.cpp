// The search window in the main window, offscreen: F3 finding and continuing in the page, F4
// moving from page to page, replace-all asking Yes, No and Cancel with every replacement undone
// back to the page's stored bytes, and the keyword tab opening the pages of a keyword. With
// ORVO_SEARCH_SHOTS=DIR (under an X server) the screen is saved there at each stage.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>
#include <cstdlib>

#include "MainWindowSupport.h"
#include "app/MenuCatalogue.h"
#include "app/WindowBlocks.h"
#include "app/u3MainForm.h"
#include "base/Cp1252.h"
#include "convert/TextExport.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "support/ProgramRun.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTbox.h"
#include "ui/QtConvert.h"
#include "ui/search/SearchWindow.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

void Key(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
    QApplication::processEvents();
}

void Button(SearchWindow& window, const char* caption) {
    for (QPushButton* button : window.findChildren<QPushButton*>())
        if (button->text() == QString::fromUtf8(caption)) {
            button->click();
            QApplication::processEvents();
            return;
        }
    ADD_FAILURE() << "no button " << caption;
}

// The selected text of the page shown, and where it starts.
struct Selection {
    std::string text;
    int para = -1, ch = -1;
};
Selection Selected(PageViewWidget& view) {
    const TKYTbox* box = view.Box();
    if (!box || !box->SelectionShown()) return {};
    auto [a, b] = box->SelectionRange();
    if (a.paraIndex != b.paraIndex) return {"(across paragraphs)", a.paraIndex, a.charIndex};
    return {box->Paragraph(a.paraIndex)
                .text.substr(std::size_t(a.charIndex), std::size_t(b.charIndex - a.charIndex)),
            a.paraIndex, a.charIndex};
}

// The body paragraphs of the page shown (its header and footer left out), one a line.
std::string BodyText(PageViewWidget& view) {
    std::string text;
    const TKYTbox* box = view.Box();
    for (std::int32_t i = box->FirstEditable(); i <= box->LastEditable(); ++i)
        text += box->Paragraph(i).text + "\n";
    return text;
}

std::string Stored(MainWindow& window, int page) {
    return *LivePage(window.Document(), page)->ContentBytes();
}

class SearchWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        // Screenshots need the X server's screen: the application is made on it first.
        const char* dir = std::getenv("ORVO_SEARCH_SHOTS");
        if (dir) shots_ = dir;
        if (dir && !QCoreApplication::instance()) {
            ::setenv("QT_QPA_PLATFORM", "xcb", 1);
            static int argc = 1;
            static char name[] = "orvo_ui_search_tests";
            static char* argv[] = {name, nullptr};
            new QApplication(argc, argv);
        }
        MainWindowTest::SetUp();
    }
    void Shot(const std::string& name) {
        if (shots_.empty()) return;
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
        RunProgram({"/usr/bin/import", "-window", "root", shots_ + "/" + name + ".png"});
    }
    SearchWindow& Search(MainWindow& window, CommandId command) {
        window.Rules().Execute(command);
        QApplication::processEvents();
        auto* search = window.findChild<SearchWindow*>();
        EXPECT_TRUE(search && search->isVisible());
        // Beside the main window, as much of it as the screen leaves room for.
        if (search && !shots_.empty()) {
            const int right = QGuiApplication::primaryScreen()->availableGeometry().right();
            search->move(std::min(window.geometry().right() + 8, right - search->width()), 40);
        }
        return *search;
    }
    std::string shots_;
};

TEST_F(SearchWindowTest, F3FindsAndContinuesInThePageAndF4MovesFromPageToPage) {
    auto window = Open(Write("Cerca.kyt", 12));
    window->resize(900, 650);
    window->show();
    SearchWindow& search = Search(*window, CommandId::SearchFind);
    EXPECT_EQ(search.windowTitle(), "Cerca:");
    EXPECT_EQ(search.CurrentTab(), SearchWindow::WordTab);
    PageViewWidget& view = window->PageView();
    window->Rules().GoToPage(4);  // "Pagine e capitoli", where the word stands four times
    QApplication::processEvents();
    ASSERT_EQ(view.PageShown(), 4);
    search.Term(0)->setCurrentText("Pagine");
    QLineEdit* field = search.Term(0)->lineEdit();

    // F3: each hit after the last one, case ignored, until the page has no more.
    std::vector<Selection> hits;
    for (int i = 0; i < 20; ++i) {
        Key(field, Qt::Key_F3);
        if (search.PageButton()->text() == ToQString(kPageSearchEnded)) break;
        hits.push_back(Selected(view));
        EXPECT_EQ(Lower1252(hits.back().text), "pagine");
        EXPECT_EQ(search.PageButton()->text(), "&Continua nella pagina  F3");
        if (hits.size() == 1) Shot("1-find-in-page");
    }
    ASSERT_EQ(hits.size(), 4u);
    for (std::size_t i = 1; i < hits.size(); ++i)
        EXPECT_TRUE(std::tie(hits[i].para, hits[i].ch) >
                    std::tie(hits[i - 1].para, hits[i - 1].ch));
    EXPECT_FALSE(search.PageButton()->isEnabled());
    EXPECT_EQ(window->statusBar()->currentMessage(), "Ricerca nella pagina terminata");
    EXPECT_EQ(Selected(view).text, "");
    EXPECT_EQ(search.Term(0)->count(), 1);  // the word remembered once
    // Changing the word gives the button back.
    search.Term(0)->setCurrentText("pagina");
    EXPECT_TRUE(search.PageButton()->isEnabled());
    EXPECT_EQ(search.PageButton()->text(), "Cerca nella &pagina...");

    // F4: the next page that holds the word, its first hit selected; then the one after.
    search.WholeWord()->setChecked(true);
    std::vector<int> pages;
    for (int i = 0; i < 30; ++i) {
        const int before = view.PageShown();
        Key(field, Qt::Key_F4);
        if (view.PageShown() == before) break;
        pages.push_back(view.PageShown());
        EXPECT_EQ(Lower1252(Selected(view).text), "pagina") << view.PageShown();
        if (pages.size() == 2) Shot("2-find-in-hypertext");
    }
    ASSERT_GE(pages.size(), 3u);
    EXPECT_TRUE(std::is_sorted(pages.begin(), pages.end()));
    EXPECT_EQ(window->statusBar()->currentMessage(), "Ricerca nell'ipertesto terminata");

    // The pages that match, listed; a click shows one with the word selected.
    search.Term(2)->setCurrentText("capitoli");
    Button(search, "Tutte le pagine che rispondono al criterio");
    ASSERT_GE(search.Pages()->count(), int(pages.size()));
    search.Pages()->item(1)->setSelected(true);
    emit search.Pages()->itemClicked(search.Pages()->item(1));
    QApplication::processEvents();
    EXPECT_FALSE(Selected(view).text.empty());
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(SearchWindowTest, ReplaceAllAsksYesNoCancelAndUndoBringsEachPageBack) {
    auto window = Open(Write("Sostituisci.kyt", 9));
    window->resize(900, 650);
    window->show();
    ASSERT_TRUE(window->Rules().EditMode());
    SearchWindow& search = Search(*window, CommandId::SearchReplace);
    EXPECT_EQ(search.CurrentTab(), SearchWindow::ReplaceTab);
    PageViewWidget& view = window->PageView();
    search.ReplaceWord()->setCurrentText("pagina");
    search.Replacement()->setCurrentText("FOGLIO");
    search.ConfirmAll()->setChecked(true);
    search.WholeWord()->setChecked(false);

    // Every page that holds the word: all replaced in it (the first page asks Yes, No,
    // Cancel), then every step undone: the page stores the bytes it had.
    TKYTset& set = window->Document();
    int checked = 0;
    bool asked = false;
    for (int page = 0; page < set.KindCount(TOggettiHel::testoHtml); ++page) {
        if (!LivePage(set, page) || PageRecord::Read(*LivePage(set, page)).Title().empty())
            continue;
        window->Rules().GoToPage(page);
        QApplication::processEvents();
        if (view.PageShown() != page) continue;
        const std::string before = Stored(*window, page);
        const std::string shown = ViewText(*window);
        if (Lower1252(BodyText(view)).find("pagina") == std::string::npos) continue;
        messages_.Clear();
        std::size_t times = 0;
        for (std::size_t at = 0;
             (at = Lower1252(BodyText(view)).find("pagina", at)) != std::string::npos; ++at)
            ++times;
        const bool first = !asked && times >= 3;
        asked = asked || first;
        if (first)
            messages_.ScriptAnswers({Answer::Yes, Answer::No, Answer::Cancel});
        else
            messages_.SetDefaultAnswer(Answer::Yes);
        Button(search, "Sostituisci &tutte nella pagina");
        const std::string after = ViewText(*window);
        EXPECT_EQ(Lower1252(BodyText(view)).find("pagina") == std::string::npos, !first) << page;
        if (first) {
            ASSERT_EQ(messages_.Questions(),
                      (std::vector<std::string>{"Sostituisco pagina?", "Sostituisco pagina?",
                                                "Sostituisco pagina?"}));
            EXPECT_EQ(after.find("FOGLIO"), Lower1252(shown).find("pagina"));
            // Cancel ends without the closing message.
            EXPECT_NE(window->statusBar()->currentMessage(), "Sostituzione nella pagina terminata");
            Shot("3-replace-all-asked");
        } else {
            EXPECT_EQ(window->statusBar()->currentMessage(), "Sostituzione nella pagina terminata");
        }
        EXPECT_NE(after, shown);
        // The undo button of the window, once a step.
        auto* undo = window->findChild<QWidget*>(QStringLiteral("BUndo"));
        ASSERT_NE(undo, nullptr);
        for (int i = 0; i < 40 && ViewText(*window) != shown; ++i) {
            QApplication::processEvents();
            ASSERT_TRUE(undo->isEnabled()) << page;
            Click(undo, undo->rect().center());
        }
        EXPECT_EQ(ViewText(*window), shown) << page;
        ASSERT_TRUE(view.CommitPage() || Stored(*window, page) == before);
        EXPECT_EQ(Stored(*window, page), before) << "page " << page;
        ++checked;
    }
    EXPECT_GE(checked, 3);
    EXPECT_TRUE(asked);
    messages_.SetDefaultAnswer(Answer::No);

    // Without the question, "Tutte nell' ipertesto" from the first page leaves no "pagina".
    search.ConfirmAll()->setChecked(false);
    search.StartFromFirst()->setChecked(true);
    Button(search, "Tutte nell' &ipertesto");
    EXPECT_EQ(window->statusBar()->currentMessage(), "Sostituzione nell'ipertesto terminata");
    view.CommitPage();
    TPagesText texts(set);
    for (std::int32_t left : PagesMatching(texts, {"pagina", "", "", ""}, 0))
        ADD_FAILURE() << "left in page " << left << ": " << PageText(set, left);
    EXPECT_GE(PagesMatching(texts, {"FOGLIO", "", "", ""}, stMatchCase).size(), 3u);
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(SearchWindowTest, TheKeywordTabListsTheKeywordsAndOpensTheirPages) {
    auto window = Open(Write("Chiavi.kyt", 9));
    window->resize(900, 650);
    window->show();
    // "Cerca per parola c&hiave..." opens the window on its third tab.
    SearchWindow* search = &Search(*window, CommandId::SearchKeyword);
    EXPECT_EQ(search->CurrentTab(), SearchWindow::KeywordTab);
    if (!shots_.empty()) search->move(window->geometry().right() + 8, 40);
    QApplication::processEvents();
    QStringList words;
    for (int i = 0; i < search->Keywords()->count(); ++i)
        words << search->Keywords()->item(i)->text();
    EXPECT_EQ(words, (QStringList{"ipertesto", "stile", "collegamento", "sequenza"}));
    search->KeywordField()->setText("COL");
    Button(*search, "Cerca");
    EXPECT_EQ(search->Keywords()->currentRow(), 2);
    EXPECT_EQ(search->KeywordHeading()->text(), "Pagine che contengono \"collegamento\"");
    ASSERT_GE(search->KeywordPages()->count(), 1);
    const std::vector<std::int32_t> expected =
        PagesWithKeyword(window->Document(), KeywordList(window->Document())[2].identifier);
    ASSERT_EQ(search->KeywordPages()->count(), int(expected.size()));
    QListWidgetItem* last = search->KeywordPages()->item(search->KeywordPages()->count() - 1);
    emit search->KeywordPages()->itemClicked(last);
    QApplication::processEvents();
    EXPECT_EQ(window->PageView().PageShown(), expected.back());
    Shot("4-keywords");
    // Closing hides the window and keeps the options in "finds".
    search->WholeWord()->setChecked(true);
    search->close();
    EXPECT_FALSE(search->isVisible());
    EXPECT_EQ(settings_.ReadString("finds", "wholeword"), "1");
    EXPECT_EQ(window->findChild<SearchWindow*>(), search);
}

// The selected text of a box (the page's own or a table cell's).
std::string SelectedIn(const TKYTbox* box) {
    if (!box || !box->SelectionShown()) return {};
    auto [a, b] = box->SelectionRange();
    if (a.paraIndex != b.paraIndex) return "(across paragraphs)";
    return box->Paragraph(a.paraIndex)
        .text.substr(std::size_t(a.charIndex), std::size_t(b.charIndex - a.charIndex));
}

// The hits of a word over the page's paragraph walk, table cells included.
int HitsInPage(PageViewWidget& view, std::string_view word) {
    TKYTbox& box = *view.Box();
    int hits = 0;
    const TKYTparag* from = nullptr;
    std::size_t at = 0;
    while (auto hit = SearchParagraphs(box.AllParagraphs(), box.MarkupHost(), word, 0, from, at)) {
        ++hits;
        from = hit->paragraph;
        at = hit->at + word.size();
    }
    return hits;
}

// The sample's table page: "copertina" stands in two cells and in the paragraph after the
// table. F3 selects each in turn (the cell's box taking the caret, then the page's again);
// replace-all in the page replaces all three as undo steps, undone back to the stored bytes.
TEST_F(SearchWindowTest, FindAndReplaceInThePageReachTheTableCells) {
    constexpr int kTablePage = 10;
    auto window = Open(first_);
    window->resize(900, 650);
    window->show();
    ASSERT_TRUE(window->Rules().EditMode());
    window->Rules().GoToPage(kTablePage);
    QApplication::processEvents();
    PageViewWidget& view = window->PageView();
    ASSERT_EQ(view.PageShown(), kTablePage);
    const std::string before = Stored(*window, kTablePage);
    ASSERT_EQ(HitsInPage(view, "copertina"), 3);
    SearchWindow& search = Search(*window, CommandId::SearchFind);
    search.Term(0)->setCurrentText("copertina");
    QLineEdit* field = search.Term(0)->lineEdit();
    PageEditSession& session = *view.Session();

    std::vector<std::pair<bool, std::string>> hits;  // (in a cell, the text selected)
    for (int i = 0; i < 6; ++i) {
        Key(field, Qt::Key_F3);
        if (search.PageButton()->text() == ToQString(kPageSearchEnded)) break;
        const TKYTbox* active = session.ActiveBox();
        hits.emplace_back(active != view.Box(), SelectedIn(active));
        if (i == 0) Shot("5-find-in-cell");
    }
    EXPECT_EQ(hits, (std::vector<std::pair<bool, std::string>>{
                        {true, "Copertina"}, {true, "copertina"}, {false, "copertina"}}));
    EXPECT_EQ(window->statusBar()->currentMessage(), "Ricerca nella pagina terminata");

    // Replace all from the page's start, without questions.
    QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::ControlModifier);
    QApplication::sendEvent(view.Surface(), &home);
    search.Open(SearchWindow::ReplaceTab);
    search.ReplaceWord()->setCurrentText("copertina");
    search.Replacement()->setCurrentText("FRONTE");
    search.ConfirmAll()->setChecked(false);
    Button(search, "Sostituisci &tutte nella pagina");
    EXPECT_EQ(window->statusBar()->currentMessage(), "Sostituzione nella pagina terminata");
    EXPECT_EQ(HitsInPage(view, "copertina"), 0);
    EXPECT_EQ(HitsInPage(view, "FRONTE"), 3);

    // Three steps back, one a replacement.
    QAction* undo = window->findChild<QAction*>(QStringLiteral("MIEditUndo"));
    ASSERT_NE(undo, nullptr);
    for (int i = 0; i < 3; ++i) {
        undo->trigger();
        QApplication::processEvents();
        EXPECT_EQ(HitsInPage(view, "FRONTE"), 2 - i);
    }
    EXPECT_EQ(HitsInPage(view, "copertina"), 3);
    view.CommitPage();
    EXPECT_EQ(Stored(*window, kTablePage), before);
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(SearchWindowTest, EveryKeyOfItsBlockNamesOneOfItsComponents) {
    auto window = Open(Write("Blocco.kyt", 3));
    SearchWindow& search = Search(*window, CommandId::SearchFind);
    const std::string block(SearchWindowBlock());
    int keys = 0;
    for (std::size_t at = 0; (at = block.find("*_*", at)) != std::string::npos; ++keys) {
        const std::size_t end = block.find("_caption", at);
        const QString key = QString::fromLatin1(block.substr(at + 3, end - at - 3));
        at = end;
        bool named = search.objectName().toLower() == key;
        for (QWidget* child : search.findChildren<QWidget*>())
            named = named || child->objectName().toLower() == key;
        EXPECT_TRUE(named) << key.toStdString();
    }
    EXPECT_EQ(keys, 28);
    // The block's texts are on the window: the tab, the choice and the window's caption.
    EXPECT_EQ(search.windowTitle(), QStringLiteral("Cerca:"));
    EXPECT_EQ(search.findChild<QRadioButton*>(QStringLiteral("RBpagina0"))->text(),
              QStringLiteral("Pagina 0"));
    // The apostrophe, doubled in the block, read back single.
    EXPECT_EQ(search.findChild<QPushButton*>(QStringLiteral("BtutteNellIpertesto"))->text(),
              QStringLiteral("Tutte nell' &ipertesto"));
}

}  // namespace
}  // namespace orvo::test

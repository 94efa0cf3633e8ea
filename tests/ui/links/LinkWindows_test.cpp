// The link window and the special-link window offscreen, alone for every mode and tab, and
// from the main window's link commands on a selected word: the link made, followed, undone.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include <functional>

#include <gmock/gmock.h>

#include "MainWindowSupport.h"
#include "app/LinkWindowRules.h"
#include "app/SpecialLinkRules.h"
#include "app/WindowFeatures.h"
#include "app/u3MainForm.h"
#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "support/TestSupport.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTboxInput.h"
#include "textbox/uKYTundo.h"
#include "ui/QtConvert.h"
#include "ui/app/BrowseWindows.h"
#include "ui/app/MainWindow.h"
#include "ui/links/LinkCommands.h"
#include "ui/links/LinkWindow.h"
#include "ui/links/SpecialLinkWindow.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

using K = TOggettiHel;
namespace fs = std::filesystem;

void Grab(QWidget& window, const char* name) {
    if (const char* folder = ::getenv("ORVO_WINDOWS_GRAB"))
        window.grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
}

// An editor with no page shown: the windows alone.
class NoEditor final : public ILinkEditor {
public:
    void ShowPage(std::int32_t) override {}
    TKYTTextAttributes* CurrentText() override { return nullptr; }
    TKYToggetto* CurrentPage() override { return nullptr; }
};

TEST(LinkWindowsAlone, EveryModeShowsItsTabsAndEveryTabWritesTheRecordItShows) {
    EnsureApplication();
    FixedEnvironment environment;
    RecordingMessages messages_;
    TKYTset set(environment, messages_);
    MakeSampleHypertext(set);
    NoEditor links;

    for (int mode = 0; mode <= 11; ++mode) {
        LinkWindow w(set, links, messages_);
        w.Chooser().mode = mode;
        w.Prepare();
        const LinkWindowLayout layout = LinkLayoutOfMode(mode);
        EXPECT_EQ(ToCp1252(w.windowTitle()), layout.caption) << mode;
        for (int t = 0; t < kLinkTabCount; ++t) {
            EXPECT_EQ(w.Tabs()->isTabVisible(t), layout.shown[std::size_t(t)]) << mode << " " << t;
            EXPECT_EQ(ToCp1252(w.Tabs()->tabText(t)), layout.captions[std::size_t(t)]);
        }
        EXPECT_EQ(w.CurrentTab(), layout.start) << mode;
        EXPECT_EQ(w.OkStayButton()->isVisibleTo(&w), layout.okStayShown) << mode;
        EXPECT_EQ(w.Anchor()->isVisibleTo(&w), layout.anchorShown) << mode;
        if (mode == 0 || mode == 3 || mode == 9 || mode == 10) {
            w.PageList()->setCurrentRow(std::min(3, w.PageList()->count() - 1));
            Grab(w, ("link-mode-" + std::to_string(mode)).c_str());
        }
        // The embedded-file tab enables Ok only with a file or an album entry.
        w.SetCurrentTab(LinkTab::Embedded);
        EXPECT_EQ(w.CurrentTab() == LinkTab::Embedded, layout.Shows(LinkTab::Embedded)) << mode;
        if (layout.Shows(LinkTab::Embedded)) {
            w.FileTabs()->setCurrentIndex(0);
            w.DiskFile()->clear();
            EXPECT_FALSE(w.OkButton()->isEnabled()) << mode;
            w.DiskFile()->setText(QStringLiteral("/etc/hostname"));
            EXPECT_TRUE(w.OkButton()->isEnabled()) << mode;
        }
    }

    SpecialLinkWindow special(set);
    special.Open(0, nullptr, false);
    EXPECT_EQ(special.Tabs()->currentIndex(), int(SpecialTab::Anchor));
    EXPECT_TRUE(special.NoAnchors()->isVisibleTo(&special));
    EXPECT_EQ(ToCp1252(special.NoAnchors()->text()), kSpecNoAnchors);
    special.Open(3, nullptr, true);
    EXPECT_EQ(special.Tabs()->currentIndex(), int(SpecialTab::Window));
    Grab(special, "speclink-window");
    const std::pair<SpecialTab, int> choices[] = {
        {SpecialTab::Anchor, 0}, {SpecialTab::Normal, 0}, {SpecialTab::Normal, 1},
        {SpecialTab::Normal, 2}, {SpecialTab::Window, 0}, {SpecialTab::Window, 1},
        {SpecialTab::Frame, 0},  {SpecialTab::Close, 0},  {SpecialTab::Misc, 0},
        {SpecialTab::Misc, 1},   {SpecialTab::Misc, 2},   {SpecialTab::AutoImport, 0}};
    for (auto [tab, choice] : choices) {
        SpecialLinkChoice c;
        c.tab = tab;
        c.choice = choice;
        c.anchor = tab == SpecialTab::Anchor ? 3 : -1;
        c.targetFrame = 1;
        c.name = tab == SpecialTab::Frame || tab == SpecialTab::Close || tab == SpecialTab::Window
                     ? "volante"
                     : "";
        if (tab == SpecialTab::Window) c.features.width = 500;
        if (tab == SpecialTab::AutoImport) c.importPath = "pagina.htm";
        c.html = "title=\"x\"";
        auto link = NewSpecialLink(set);
        WriteSpecialLink(*link, c);
        special.Open(2, link.get(), true);  // an existing link selects its tab and choice
        SpecialLinkChoice back = special.Choice();
        if (tab != SpecialTab::Anchor) back.anchor = c.anchor;
        EXPECT_EQ(back, c) << kSpecialTabCaptions[int(tab)] << " " << choice;
        EXPECT_EQ(special.Tabs()->currentIndex(), int(tab));
    }
}

// The main window's link commands on a selected word of page 3.
void Trigger(MainWindow& window, const char* command) {
    QAction* action = window.findChild<QAction*>(QString::fromLatin1(command));
    ASSERT_NE(action, nullptr) << command << " is not in the menus";
    action->trigger();
}

// Selects `words` (Windows-1252) on the page the window shows.
void SelectWords(MainWindow& window, std::string_view words) {
    PageViewWidget& view = window.PageView();
    const TKYTbox* box = view.Box();
    ASSERT_TRUE(box && view.Input());
    for (std::int32_t i = 0; i < box->ParagraphCount(); ++i) {
        const std::size_t at = box->Paragraph(i).text.find(words);
        if (at == std::string::npos) continue;
        TKYTTextPos a, b;
        a.paraIndex = b.paraIndex = i;
        a.charIndex = std::int32_t(at);
        b.charIndex = std::int32_t(at + words.size());
        view.Input()->SetSelection(a, b);
        return;
    }
    ADD_FAILURE() << "not on the page: " << words;
}

// The link code of the selection's first character.
std::int32_t SelectionLink(MainWindow& window) {
    return window.PageView().Session()->Editing()->Text().CurrentLink();
}

int PageRow(const LinkWindow& w, int page) {
    for (int i = 0; i < w.PageList()->count(); ++i)
        if (w.PageList()->item(i)->data(Qt::UserRole).toInt() == page) return i;
    return -1;
}

class LinkWindows : public MainWindowTest {};

TEST_F(LinkWindows, ALinkToAPageChosenInTheListIsFollowedAndUndone) {
    auto window = Open(first_);
    window->Rules().GoToPage(3);
    ASSERT_EQ(window->PageShown(), 3);
    SelectWords(*window, "ipertesto \xE8 un");
    LinkCommands& links = window->Links();
    bool shown = false;
    links.execDialog = [&](QDialog& dialog) {
        auto* w = dynamic_cast<LinkWindow*>(&dialog);
        EXPECT_TRUE(w);
        if (!w) return int(QDialog::Rejected);
        EXPECT_EQ(w->CurrentTab(), LinkTab::Page);
        w->Search()->setText(QStringLiteral("stili"));  // the search narrows the list
        EXPECT_EQ(w->PageList()->count(), 1);
        w->Search()->clear();
        w->PageList()->setCurrentRow(PageRow(*w, 5));
        shown = w->Preview()->PageShown() == 5;
        Grab(*w, "link-page-chosen");
        w->Accept(false);
        return w->result();
    };
    Trigger(*window, "MIInsertLink");
    EXPECT_TRUE(shown);                 // the preview showed the page chosen
    EXPECT_EQ(window->PageShown(), 5);  // "&Ok" moves to it
    window->Rules().GoToPage(3);
    SelectWords(*window, "ipertesto \xE8 un");
    EXPECT_EQ(SelectionLink(*window), MakeCode(K::testoHtml, 5));
    // In preview the word is followed to the page.
    const QPoint at = PointOf(*window, "ipertesto \xE8 un");
    Preview(*window);
    ASSERT_TRUE(window->ClickAt(at.x(), at.y()));
    EXPECT_EQ(window->PageShown(), 5);
}

TEST_F(LinkWindows, WebAddressEmbeddedFileNewPagesAndSpecialLinksEachUndone) {
    auto window = Open(first_);
    window->Rules().GoToPage(3);
    TKYTset& set = window->Document();
    LinkCommands& links = window->Links();
    const std::string word = "ipertesto";
    const fs::path attachment = TestDir() / "allegato.bin";
    WriteFile(attachment, std::string("\x00\x01\x02 dati", 8));
    const fs::path webPage = TestDir() / "dal web.htm";
    WriteFile(webPage, "<html><body><p>Una pagina dal web</p></body></html>");
    const int pages = set.KindCount(K::testoHtml);
    const int files = set.KindCount(K::genLink);

    // Each case fills the dialogs it meets, then the word's link is checked and undone.
    struct Case {
        const char* name;
        std::function<void(QDialog&)> fill;
        std::function<void(std::int32_t code)> check;
        const char* command = "MIInsertLink";
        bool undoable = true;  // a new page is shown: leaving page 3 empties the undo list
    };
    const Case cases[] = {
        {"web",
         [](QDialog& d) {
             auto& w = dynamic_cast<LinkWindow&>(d);
             w.SetCurrentTab(LinkTab::Internet);
             w.Address()->setText(QStringLiteral("http://example.org/orvo"));
             w.Accept(true);
         },
         [&](std::int32_t code) {
             const TKYToggetto* link = window->PageView().LinkObject(code);
             ASSERT_TRUE(link);
             EXPECT_EQ(link->Name(), "http://example.org/orvo");
             EXPECT_EQ(link->Subtype(), 7);
         }},
        {"other",
         [&](QDialog& d) {
             auto& w = dynamic_cast<LinkWindow&>(d);
             w.SetCurrentTab(LinkTab::OtherPage);
             ASSERT_TRUE(w.LoadOtherFile(QString::fromStdString(second_)));
             w.OtherPages()->setCurrentRow(2);
             // The page chosen is previewed; the file read again replaces the preview.
             const QPointer<PageViewWidget> first = w.OtherPreview();
             ASSERT_TRUE(first);
             EXPECT_EQ(first->PageShown(), 2);
             ASSERT_TRUE(w.LoadOtherFile(QString::fromStdString(second_)));
             EXPECT_FALSE(first);
             w.OtherPages()->setCurrentRow(1);
             ASSERT_NE(w.OtherPreview(), nullptr);
             EXPECT_EQ(w.OtherPreview()->PageShown(), 1);
             w.Accept(true);
         },
         [&](std::int32_t code) {
             const TKYToggetto* link = window->PageView().LinkObject(code);
             ASSERT_TRUE(link);
             EXPECT_EQ(link->Name(), "orvo://Secondo.kyt|1");  // beside the document
             EXPECT_EQ(link->Subtype(), 6);
         }},
        {"file",
         [&](QDialog& d) {
             auto& w = dynamic_cast<LinkWindow&>(d);
             w.SetCurrentTab(LinkTab::Embedded);
             w.FileTabs()->setCurrentIndex(0);
             w.DiskFile()->setText(QString::fromStdString(attachment.string()));
             w.Accept(true);
         },
         [&](std::int32_t code) {
             ASSERT_EQ(CodeKind(code), KindIndex(K::genLink));
             const TKYToggetto* file = set.ObjectByCode(code);
             ASSERT_TRUE(file);
             EXPECT_EQ(*file->ContentBytes(), std::string("\x00\x01\x02 dati", 8));
             EXPECT_EQ(set.KindCount(K::genLink), files + 1);
         }},
        {"empty",
         [](QDialog& d) {
             auto& w = dynamic_cast<LinkWindow&>(d);
             w.SetCurrentTab(LinkTab::Empty);
             w.Accept(true);
         },
         [&](std::int32_t code) {
             EXPECT_EQ(code, MakeCode(K::testoHtml, pages));
             EXPECT_EQ(*set.ObjectByKind(K::testoHtml, pages)->ContentBytes(),
                       std::string("<Z S0 >\0", 8));
         },
         "MIInsertLink", false},
        {"copy",
         [&](QDialog& d) {
             auto& w = dynamic_cast<LinkWindow&>(d);
             w.SetCurrentTab(LinkTab::CopyPage);
             w.PageList()->setCurrentRow(PageRow(w, 4));
             w.Accept(false);  // the new page is shown, filled from page 4
         },
         [&](std::int32_t code) {
             EXPECT_EQ(code, MakeCode(K::testoHtml, pages + 1));
             const std::string copied = *set.ObjectByKind(K::testoHtml, pages + 1)->ContentBytes();
             EXPECT_NE(copied.find("Pagine e capitoli"), std::string::npos) << copied;
         },
         "MIInsertLink", false},
        {"html",
         [&](QDialog& d) {
             auto& w = dynamic_cast<LinkWindow&>(d);
             w.SetCurrentTab(LinkTab::Html);
             // A file that gives no page: no preview, and Ok keeps the window open.
             const fs::path missing = TestDir() / "manca.htm";
             w.HtmlFile()->setText(QString::fromStdString(missing.string()));
             EXPECT_FALSE(w.PreviewHtml());
             EXPECT_EQ(w.HtmlPreview(), nullptr);
             EXPECT_FALSE(w.Accept(false));
             ASSERT_FALSE(messages_.Shown().empty());
             EXPECT_EQ(messages_.Shown().back().text,
                       "Errore nell'apertura file: " + missing.string());
             // The file read shows its page; Ok copies that page without reading it again.
             w.HtmlFile()->setText(QString::fromStdString(webPage.string()));
             ASSERT_TRUE(w.PreviewHtml());
             const QPointer<PageViewWidget> shown = w.HtmlPreview();
             EXPECT_EQ(shown->PageShown(), 0);
             EXPECT_NE(test::ViewText(*shown).find("Una pagina dal web"), std::string::npos);
             Grab(w, "link-html-preview");
             w.Accept(false);
             EXPECT_TRUE(shown);
         },
         [&](std::int32_t code) {
             EXPECT_EQ(code, MakeCode(K::testoHtml, pages + 2));
             const std::string copied = *set.ObjectByKind(K::testoHtml, pages + 2)->ContentBytes();
             EXPECT_NE(copied.find("Una pagina dal web"), std::string::npos) << copied;
         },
         "MIInsertLink", false},
        {"popup",
         [&](QDialog& d) {
             if (auto* special = dynamic_cast<SpecialLinkWindow*>(&d)) {
                 SpecialLinkChoice c;
                 c.tab = SpecialTab::Window;
                 c.choice = 1;
                 c.features.width = 320;
                 c.features.height = 240;
                 special->SetChoice(c);
                 Grab(*special, "speclink-popup");
                 special->accept();
                 return;
             }
             auto& w = dynamic_cast<LinkWindow&>(d);
             EXPECT_EQ(w.Chooser().mode, 1);
             w.PageList()->setCurrentRow(PageRow(w, 0));  // page 0 is a target too
             w.Accept(false);
         },
         [&](std::int32_t code) {
             const TKYToggetto* link = window->PageView().LinkObject(code);
             ASSERT_TRUE(link);
             EXPECT_EQ(link->Kind(), K::speclink);
             EXPECT_EQ(link->ReadView().U8(kSpecAction), 4);
             EXPECT_EQ(link->ReadView().I32(kSpecTarget), MakeCode(K::testoHtml, 0));
             const WindowFeatures f = ReadWindowFeatures(*link->ContentBytes());
             EXPECT_EQ(f.width, 320);
             EXPECT_EQ(f.height, 240);
         },
         "MIInsertSpecialLink"},
        {"next",
         [&](QDialog& d) {
             auto& special = dynamic_cast<SpecialLinkWindow&>(d);
             SpecialLinkChoice c;
             c.tab = SpecialTab::Misc;
             c.choice = 2;
             special.SetChoice(c);
             special.accept();
         },
         [&](std::int32_t code) {
             const TKYToggetto* link = window->PageView().LinkObject(code);
             ASSERT_TRUE(link);
             EXPECT_EQ(link->Subtype(), 5);
             EXPECT_EQ(link->Describe(), "pagina successiva|Collegamento a: pagina successiva");
         },
         "MIInsertSpecialLink"},
    };
    for (const Case& c : cases) {
        SelectWords(*window, word);
        const std::string before = ViewText(*window);
        const std::size_t steps = UndoListOf(set).Count();
        links.execDialog = [&](QDialog& d) {
            c.fill(d);
            return d.result();
        };
        Trigger(*window, c.command);
        if (window->PageShown() != 3) window->Rules().GoToPage(3);
        SelectWords(*window, word);
        const std::int32_t code = SelectionLink(*window);
        ASSERT_NE(code, -1) << c.name;
        c.check(code);
        if (!c.undoable) {
            // Linked again to nothing, as the link button does on a linked selection.
            Trigger(*window, "MIInsertLink");
            SelectWords(*window, word);
            EXPECT_EQ(SelectionLink(*window), -1) << c.name;
            continue;
        }
        // Undone: the word has no link and the page reads as before.
        ASSERT_GT(UndoListOf(set).Count(), steps) << c.name;
        Trigger(*window, "MIEditUndo");
        SelectWords(*window, word);
        EXPECT_EQ(SelectionLink(*window), -1) << c.name;
        EXPECT_EQ(ViewText(*window), before) << c.name;
    }
}

// Presses `button` of the next "Collegamento a file" window as soon as it is open.
void PressInFileWindow(const char* button, bool& seen) {
    QTimer::singleShot(0, [button, &seen] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        seen = dialog && dialog->objectName() == QStringLiteral("TFFiles");
        if (!dialog) return;
        if (auto* b = dialog->findChild<QPushButton*>(QString::fromLatin1(button)); b && seen)
            b->click();
        else
            dialog->reject();
    });
}

TEST_F(LinkWindows, EveryKindOfLinkMadeOnAWordIsFollowedInPreviewAndKeptBySaving) {
    auto window = Open(first_);
    window->Rules().GoToPage(3);
    TKYTset& set = window->Document();
    LinkCommands& links = window->Links();
    const int pages = set.KindCount(K::testoHtml);
    const std::string bytes("\x00\xFF\r\n allegato", 13);
    const fs::path attachment = TestDir() / "allegato.dat";
    WriteFile(attachment, bytes);

    // One word of page 3 for each kind of link, made through the windows as an author would.
    struct Made {
        const char* words;
        const char* command;
        std::function<void(QDialog&)> fill;
    };
    const Made made[] = {
        {"documento", "MIInsertLink",
         [&](QDialog& d) {
             auto& w = dynamic_cast<LinkWindow&>(d);
             w.SetCurrentTab(LinkTab::OtherPage);
             ASSERT_TRUE(w.LoadOtherFile(QString::fromStdString(second_)));
             w.OtherPages()->setCurrentRow(2);
             w.Accept(true);
         }},
        {"pagine collegate", "MIInsertLink",
         [](QDialog& d) {
             auto& w = dynamic_cast<LinkWindow&>(d);
             w.SetCurrentTab(LinkTab::Internet);
             w.Address()->setText(QStringLiteral("http://example.org/guida"));
             w.Accept(true);
         }},
        {"sfogliare", "MIInsertLink",
         [&](QDialog& d) {
             auto& w = dynamic_cast<LinkWindow&>(d);
             w.SetCurrentTab(LinkTab::Embedded);
             w.FileTabs()->setCurrentIndex(0);
             w.DiskFile()->setText(QString::fromStdString(attachment.string()));
             w.Accept(true);
         }},
        {"argomento", "MIInsertLink",
         [](QDialog& d) {
             auto& w = dynamic_cast<LinkWindow&>(d);
             w.SetCurrentTab(LinkTab::Empty);
             w.Accept(true);
         }},
        {"Collegamenti fra", "MIInsertLink",
         [&](QDialog& d) {
             auto& w = dynamic_cast<LinkWindow&>(d);
             w.SetCurrentTab(LinkTab::CopyPage);
             w.PageList()->setCurrentRow(PageRow(w, 5));
             w.Accept(true);
         }},
        {"copertina da", "MIInsertSpecialLink",
         [&](QDialog& d) {
             if (auto* special = dynamic_cast<SpecialLinkWindow*>(&d)) {
                 SpecialLinkChoice c;
                 c.tab = SpecialTab::Window;
                 c.choice = 1;
                 c.features.width = 330;
                 c.features.height = 210;
                 special->SetChoice(c);
                 special->accept();
                 return;
             }
             auto& w = dynamic_cast<LinkWindow&>(d);
             w.PageList()->setCurrentRow(PageRow(w, 6));
             w.Accept(true);
         }},
        {"partire", "MIInsertSpecialLink",
         [](QDialog& d) {
             auto& special = dynamic_cast<SpecialLinkWindow&>(d);
             SpecialLinkChoice c;
             c.tab = SpecialTab::Misc;
             c.choice = 2;  // the next page of the sequence
             special.SetChoice(c);
             special.accept();
         }},
    };
    for (const Made& m : made) {
        SelectWords(*window, m.words);
        links.execDialog = [&](QDialog& d) {
            m.fill(d);
            return d.result();
        };
        Trigger(*window, m.command);
        // A new page is shown to be filled, whichever Ok made it; the others stay on page 3.
        if (window->PageShown() != 3) window->Rules().GoToPage(3);
        SelectWords(*window, m.words);
        EXPECT_NE(SelectionLink(*window), -1) << m.words;
    }
    ASSERT_EQ(set.KindCount(K::testoHtml), pages + 2);
    ASSERT_TRUE(window->Rules().FileSave());
    EXPECT_THAT(messages_.Shown(), ::testing::IsEmpty());

    // The saved file holds the embedded file's bytes and the two new pages.
    {
        TKYTset saved(environment_, scratchMessages_);
        ASSERT_TRUE(saved.LoadFromFile(first_));
        EXPECT_EQ(saved.KindCount(K::testoHtml), pages + 2);
        bool found = false;
        for (const auto& object : saved.KindList(K::genLink))
            found = found || (object->ContentBytes() && *object->ContentBytes() == bytes);
        EXPECT_TRUE(found);
        // Every word is a link in the stored page 3; the copy holds page 5's text.
        const std::string page3 = *saved.ObjectByKind(K::testoHtml, 3)->ContentBytes();
        for (const Made& m : made) {
            const std::size_t at = page3.find(">" + std::string(m.words) + "<%>");
            ASSERT_NE(at, std::string::npos) << m.words << " in " << page3;
            EXPECT_EQ(page3.substr(at - 10, 2), "<$") << m.words;  // "<$" and 8 hex digits
        }
        EXPECT_NE(saved.ObjectByKind(K::testoHtml, pages + 1)->ContentBytes()->find("Uno stile"),
                  std::string::npos);
    }

    // Each word followed in preview, where a click on a link follows it.
    Preview(*window);
    const auto click = [&](std::string_view words) {
        window->Rules().GoToPage(3);
        const QPoint at = PointOf(*window, words);
        ASSERT_TRUE(window->ClickAt(at.x(), at.y())) << words;
    };
    click("argomento");
    EXPECT_EQ(window->PageShown(), pages);
    click("Collegamenti fra");
    EXPECT_EQ(window->PageShown(), pages + 1);
    EXPECT_THAT(ViewText(*window), ::testing::HasSubstr("Gli stili di paragrafo"));
    click("partire");
    EXPECT_EQ(window->PageShown(), 4);
    click("pagine collegate");
    ASSERT_EQ(shell_.Opened().size(), 1u);
    EXPECT_EQ(shell_.Opened()[0], fs::path("http://example.org/guida"));
    bool fileWindow = false;
    PressInFileWindow("BEsegui", fileWindow);
    click("sfogliare");
    EXPECT_TRUE(fileWindow);
    ASSERT_EQ(shell_.Opened().size(), 2u);
    EXPECT_EQ(shell_.Opened()[1].filename(), "allegato.dat");
    EXPECT_EQ(ReadFile(shell_.Opened()[1]), bytes);
    click("copertina da");
    EXPECT_EQ(window->PageShown(), 3);
    ASSERT_EQ(window->Browse().Open().size(), 1u);
    BrowseWindow* popup = window->Browse().Open().front();
    EXPECT_TRUE(popup->IsPopup());
    EXPECT_EQ(popup->PageShown(), 6);
    EXPECT_EQ(popup->size(), QSize(330, 210));
    popup->close();
    // Last, the other hypertext: it is opened on the page chosen.
    click("documento");
    EXPECT_EQ(window->Document().KYTFileName(), second_);
    EXPECT_EQ(window->PageShown(), 2);
    EXPECT_THAT(messages_.Shown(), ::testing::IsEmpty());
}

TEST_F(LinkWindows, DefineOnScreenTakesTheAnchorClickedInThePreview) {
    // Page 3 gains anchor 7 at the start of a paragraph of its own.
    const std::string path = NameOfPath(TestDir() / "Ancore.kyt");
    {
        TKYTset scratch(environment_, scratchMessages_);
        MakeSampleHypertext(scratch, {.pages = 7});
        auto anchor = NewObjectOfKind(K::shortObj, &scratch);
        anchor->Clear();
        anchor->TakeIntoUse();
        anchor->Record()[4] = 14;
        anchor->View().SetI32(kShortReference, 7);
        const std::int32_t code = MakeCode(K::shortObj, scratch.Register(std::move(anchor), -1));
        TKYToggetto* page = scratch.ObjectByKind(K::testoHtml, 3);
        std::string text = *page->ContentBytes();
        text.pop_back();
        text += "<Z S0 ><$" + Hex8(std::uint32_t(code)) + ">Qui si arriva.";
        text += '\0';
        page->SetContent(text);
        ASSERT_TRUE(scratch.SaveToFile(path));
    }
    auto window = Open(path);
    window->Rules().GoToPage(3);
    SelectWords(*window, "ipertesto");
    LinkCommands& links = window->Links();
    int clicked = -2, kept = -2, linkWindows = 0;
    links.execDialog = [&](QDialog& d) {
        if (auto* special = dynamic_cast<SpecialLinkWindow*>(&d)) {
            EXPECT_FALSE(special->NoAnchors()->isVisibleTo(special));
            special->Tabs()->setCurrentIndex(int(SpecialTab::Anchor));
            EXPECT_TRUE(special->DefineOnScreenButton()->isEnabled());
            special->DefineOnScreenButton()->click();  // the link window below, then back
            EXPECT_EQ(special->Choice().anchor, 7);
            special->accept();
            return d.result();
        }
        auto& w = dynamic_cast<LinkWindow&>(d);
        ++linkWindows;
        EXPECT_EQ(w.Chooser().mode, 3);
        EXPECT_EQ(w.Preview()->PageShown(), 3);
        if (linkWindows == 1) {
            // A click beside the anchor changes nothing; one on it takes its number.
            QPoint at = test::PointOf(*w.Preview(), "Qui si arriva.");
            Click(w.Preview()->Surface(), at + QPoint(12, 0));
            kept = w.Anchor()->value();
            at.rx() -= 3;  // the anchor's mark just before the words
            Click(w.Preview()->Surface(), at);
            clicked = w.Anchor()->value();
            Grab(w, "link-define-anchor");
        }
        w.Accept(false);
        return w.result();
    };
    Trigger(*window, "MIInsertSpecialLink");
    EXPECT_EQ(kept, -1);
    EXPECT_EQ(clicked, 7);
    EXPECT_EQ(linkWindows, 2);  // "Definisci a video...", then the target of the jump
    SelectWords(*window, "ipertesto");
    const TKYToggetto* link = window->PageView().LinkObject(SelectionLink(*window));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->Kind(), K::speclink);
    EXPECT_EQ(link->ReadView().U8(kSpecAction), 6);
    EXPECT_EQ(link->ReadView().I32(kSpecAnchor), 7);
}

TEST_F(LinkWindows, ACancelledNamePromptOrWindowChangesNothing) {
    auto window = Open(first_);
    window->Rules().GoToPage(3);
    TKYTset& set = window->Document();
    LinkCommands& links = window->Links();
    SelectWords(*window, "ipertesto");
    const std::size_t steps = UndoListOf(set).Count();
    int asked = 0;
    links.askName = [&]() -> std::optional<std::string> {
        ++asked;
        if (asked == 1) return std::string();  // an empty name asks again
        return std::nullopt;
    };
    int dialogs = 0;
    links.execDialog = [&](QDialog& d) {
        ++dialogs;
        auto& special = dynamic_cast<SpecialLinkWindow&>(d);
        SpecialLinkChoice c;
        c.tab = SpecialTab::Window;  // a separate window without a name
        special.SetChoice(c);
        special.accept();
        return d.result();
    };
    Trigger(*window, "MIInsertSpecialLink");
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(dialogs, 1);  // the link window never opened
    EXPECT_EQ(UndoListOf(set).Count(), steps);
    EXPECT_EQ(SelectionLink(*window), -1);

    // The link window cancelled: nothing linked, no result.
    links.execDialog = [&](QDialog& d) {
        d.reject();
        return d.result();
    };
    Trigger(*window, "MIInsertLink");
    EXPECT_EQ(SelectionLink(*window), -1);
    EXPECT_EQ(UndoListOf(set).Count(), steps);

    // Without a selection: the message, and no window.
    window->PageView().Input()->PlaceCaret(window->PageView().Input()->Caret().Pos());
    messages_.Clear();
    Trigger(*window, "MIInsertLink");
    ASSERT_FALSE(messages_.Shown().empty());
    EXPECT_EQ(messages_.Shown().back().text, kSelectFirst);
}

}  // namespace
}  // namespace orvo::test

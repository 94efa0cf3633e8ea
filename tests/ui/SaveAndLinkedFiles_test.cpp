// The main window around a save (the page shown and a browse window keep painting what the
// saved document holds), links to embedded files and programs through the linked-file rules
// and their Qt windows, and what the menus and the page list show of the services built.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "MainWindowSupport.h"
#include "app/LinkedFiles.h"
#include "app/MainFormPorts.h"
#include "app/u3MainForm.h"
#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "model/FormFields.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/FormViews.h"
#include "objects/ObjectViews.h"
#include "platform/FixedMetrics.h"
#include "platform/RecordingCanvas.h"
#include "support/TestSupport.h"
#include "textbox/PageLinks.h"
#include "textbox/uKYTCornice.h"
#include "ui/QtConvert.h"
#include "ui/app/BrowseWindows.h"
#include "ui/app/LinkedFileWindows.h"
#include "ui/app/PageListView.h"
#include "ui/app/PageTreeView.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Paints the widget now, as a repaint of the screen does.
void Repaint(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    EXPECT_FALSE(image.isNull());
}

TEST_F(MainWindowTest, SavingWithAPageAndABrowseWindowShownKeepsBothPaintable) {
    auto window = Open(first_);
    ASSERT_TRUE(window->Rules().EditMode());  // "Salva tutto" shows while editing
    const std::string cover = ViewText(*window);
    ASSERT_THAT(cover, HasSubstr("Benvenuti nella guida di Orvo"));
    BrowseWindow& browse = window->Browse().New("altra");
    ASSERT_TRUE(browse.ShowPage(4));
    const std::string other = test::ViewText(browse.View());
    const std::int32_t saves = window->Document().SaveCounter();

    // Twice: the objects of the first save's read-back are replaced by the second.
    for (int round = 1; round <= 2; ++round) {
        window->Rules().Execute(CommandId::FileSave);
        ASSERT_EQ(window->Document().SaveCounter(), saves + round);
        // The boxes were made again over the objects read back: painting reads only live ones.
        Repaint(window->PageView().Surface());
        Repaint(browse.View().Surface());
        EXPECT_EQ(window->PageShown(), 0);
        EXPECT_EQ(ViewText(*window), cover);
        EXPECT_EQ(browse.PageShown(), 4);
        EXPECT_EQ(test::ViewText(browse.View()), other);
        // A link still leads where it did, through the page's objects read back.
        const QPoint link = PointOf(*window, "primo capitolo");
        EXPECT_GE(window->LinkAt(link.x(), link.y()), 0);
    }
    // The tree was read again after the save and still selects the page shown.
    ASSERT_NE(window->Tree().currentItem(), nullptr);
    // A click follows a page link while browsing.
    window->findChild<QAction*>(QStringLiteral("EditButton"))->trigger();
    ASSERT_FALSE(window->PageView().Editable());
    Click(window->PageView().Surface(), PointOf(*window, "primo capitolo"));
    EXPECT_EQ(window->PageShown(), 3);
    Repaint(window->PageView().Surface());
    EXPECT_THAT(messages_.Shown(), IsEmpty());
}

// The cover page opens with a floating frame of 320 x 90 pixels that shows a page of its own.
TEST_F(MainWindowTest, AFloatingFrameOnThePageKeepsShowingItsPageAcrossSaves) {
    using K = TOggettiHel;
    const std::string path = NameOfPath(TestDir() / "Cornice.kyt");
    {
        TKYTset scratch(environment_, scratchMessages_);
        SampleOptions options;
        options.pages = 5;
        options.fileName = "Cornice.kyt";
        MakeSampleHypertext(scratch, options);
        auto letter = NewObjectOfKind(K::testoHtml, &scratch);
        letter->Clear();
        letter->TakeIntoUse();
        letter->SetContent(std::string("<Z S0 >Lettera dal <$00000003>lago<%> di Como") + '\0');
        const std::int32_t shown = scratch.Register(std::move(letter));
        auto floating = NewObjectOfKind(K::inputStat, &scratch);
        floating->Clear();
        floating->TakeIntoUse();
        RecordView r = floating->View();
        r.SetU8(kRecSubtype, std::uint8_t(FormInputKind::Floating));
        r.SetI32(kFloatingPage, shown);
        r.SetI16(kFloatingWidth, 320);
        r.SetI16(kFloatingHeight, 90);
        r.SetU8(kFloatingAutoJump, 1);
        const std::int32_t code = MakeCode(K::inputStat, scratch.Register(std::move(floating)));
        TKYToggetto* cover = scratch.ObjectByKind(K::testoHtml, 0);
        ASSERT_NE(cover, nullptr);
        const std::string text = *cover->ContentBytes();
        cover->SetContent("<Z S0 ><$" + Hex8(std::uint32_t(code)) + ">" + text);
        ASSERT_TRUE(scratch.SaveToFile(path));
    }
    auto window = Open(path);
    ASSERT_TRUE(window->Rules().EditMode());
    const std::int32_t saves = window->Document().SaveCounter();
    for (int round = 0; round <= 2; ++round) {
        if (round > 0) {
            window->Rules().Execute(CommandId::FileSave);
            ASSERT_EQ(window->Document().SaveCounter(), saves + round);
        }
        // Painted over the objects read back: ASan reports a nested page that kept old ones.
        Repaint(window->PageView().Surface());
        TMyyFloating* view = nullptr;
        for (TMyyVisual* v : window->PageView().ObjectViews()->Views())
            if (auto* f = dynamic_cast<TMyyFloating*>(v)) view = f;
        ASSERT_NE(view, nullptr) << "round " << round;
        ASSERT_NE(view->Frames(), nullptr);
        EXPECT_NE(view->Frames()->FloatingPage(), nullptr);
        EXPECT_EQ(view->Size().width, 320);
        FixedMetrics metrics;
        RecordingCanvas canvas(metrics);
        view->PaintOn(canvas, 0, 0);
        EXPECT_THAT(canvas.AllText(), HasSubstr("Lettera dal lago di Como")) << "round " << round;
        EXPECT_THAT(ViewText(*window), HasSubstr("Benvenuti nella guida di Orvo"));
    }
    // Browsed, a click on the frame's link shows the linked page inside the frame.
    Preview(*window);
    Repaint(window->PageView().Surface());
    TMyyFloating* view = nullptr;
    for (TMyyVisual* v : window->PageView().ObjectViews()->Views())
        if (auto* f = dynamic_cast<TMyyFloating*>(v)) view = f;
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->Frames(), nullptr);
    TKYTFrame* leaf = view->Frames()->Leaves().front();
    ASSERT_NE(leaf->page->Box(), nullptr);
    std::optional<QPoint> link;
    for (int y = 0; y < 90 && !link; ++y)
        for (int x = 0; x < 320 && !link; ++x)
            if (LinkCodeAt(*leaf->page->Box(), x, y) == 3)
                link = QPoint(view->Bounds().left + leaf->ContentRect().left + x,
                              view->Bounds().top + leaf->ContentRect().top + y);
    ASSERT_TRUE(link);
    Click(window->PageView().Surface(), *link);
    QApplication::processEvents();
    EXPECT_EQ(view->Frames()->MainPageNumber(), 3);
    EXPECT_EQ(window->PageShown(), 0);
    EXPECT_THAT(messages_.Shown(), IsEmpty());
}

// Answers the next "Collegamento a file" window: notes its texts, then presses `button`.
struct FileLinkSeen {
    QString title;
    QStringList labels;
    QStringList buttons;
    QString defaultButton;
};

void Press(FileLinkSeen& seen, const char* button) {
    QTimer::singleShot(0, [&seen, button] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != QStringLiteral("TFFiles")) {
            ADD_FAILURE() << "no \"Collegamento a file\" window is open";
            if (dialog) dialog->reject();
            return;
        }
        seen.title = dialog->windowTitle();
        for (QLabel* label : dialog->findChildren<QLabel*>()) seen.labels << label->text();
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
            seen.buttons << b->text();
            if (b->isDefault()) seen.defaultButton = b->text();
        }
        auto* pressed = dialog->findChild<QPushButton*>(QString::fromLatin1(button));
        if (pressed)
            pressed->click();
        else
            dialog->reject();
    });
}

class LinkedFilesWindowTest : public MainWindowTest {
protected:
    TKYToggetto& Embed(MainWindow& window, std::string_view name, std::string content) {
        auto file = NewObjectOfKind(TOggettiHel::genLink, &window.Document());
        file->TakeIntoUse();
        file->SetFileName(name);
        file->SetContent(std::move(content));
        const std::int32_t id = window.Document().Register(std::move(file));
        return *window.Document().ObjectByKind(TOggettiHel::genLink, id);
    }
    void Follow(MainWindow& window, const TKYToggetto& object) {
        LinkSource source;
        source.page = window.PageShown();
        window.Rules().EditorDoLink(source, LinkedObjectOf(object, window.Document()));
    }
};

TEST_F(LinkedFilesWindowTest, AnEmbeddedFileAsksWhatToDoAndNeverRunsAProgram) {
    auto window = Open(first_);
    Preview(*window);
    // The window, its texts and its default button; Esegui opens the extracted file.
    FileLinkSeen seen;
    Press(seen, "BEsegui");
    Follow(*window, Embed(*window, "C:\\dati\\note.txt", "due righe\r\n"));
    EXPECT_EQ(seen.title, QStringLiteral("Collegamento a file"));
    EXPECT_EQ(seen.labels, (QStringList{QStringLiteral("Il collegamento seguito punta al file:"),
                                        QStringLiteral("note.txt"),
                                        QStringLiteral("Scegli l'azione da compiere:")}));
    EXPECT_EQ(seen.buttons,
              (QStringList{QStringLiteral("&Esegui"), QStringLiteral("&Salva..."),
                           QStringLiteral("A&vanzate..."), QStringLiteral("&Annulla")}));
    EXPECT_EQ(seen.defaultButton, QStringLiteral("&Salva..."));
    ASSERT_EQ(shell_.Opened().size(), 1u);
    EXPECT_EQ(ReadFile(shell_.Opened()[0]), "due righe\r\n");
    EXPECT_THAT(messages_.Shown(), IsEmpty());

    // A program file is refused, by name or by content; Annulla does nothing.
    Press(seen, "BEsegui");
    Follow(*window, Embed(*window, "avvia.sh", "echo ciao\n"));
    Press(seen, "BEsegui");
    Follow(*window, Embed(*window, "leggimi.txt", "#!/bin/sh\nrm -rf ~\n"));
    Press(seen, "BAnnulla");
    Follow(*window, Embed(*window, "altro.txt", "x"));
    EXPECT_EQ(shell_.Opened().size(), 1u);
    EXPECT_THAT(shell_.Starts(), IsEmpty());
    EXPECT_THAT(
        messages_.Shown(),
        ElementsAre(
            Message{Box::Warning,
                    std::string("Il file \"avvia.sh\" è un programma: non viene aperto."_cp)},
            Message{Box::Warning,
                    std::string("Il file \"leggimi.txt\" è un programma: non viene aperto."_cp)}));
    messages_.Clear();

    // Avanzate asks for the options window, which this program does not have yet.
    Press(seen, "BAvanzate");
    Follow(*window, Embed(*window, "foglio.csv", "a;b\r\n"));
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{Box::Information, std::string(kNotSupported)}));
    messages_.Clear();

    // A type whose behaviour is "run with the desktop's program" skips the window.
    settings_.Write("ext\\.CSV", "comp", "2");
    Follow(*window, Embed(*window, "conti.csv", "1;2\r\n"));
    ASSERT_EQ(shell_.Opened().size(), 2u);
    EXPECT_EQ(ReadFile(shell_.Opened()[1]), "1;2\r\n");
    EXPECT_THAT(messages_.Shown(), IsEmpty());
}

TEST_F(LinkedFilesWindowTest, AProgLinkAsksBeforeAnythingStartsAndRefusesProgramNames) {
    auto window = Open(first_);
    Preview(*window);
    auto web = NewObjectOfKind(TOggettiHel::internetLink, &window->Document());
    web->TakeIntoUse();
    web->View().SetPStr(kLinkAddress, "prog:appunti.txt");
    const std::int32_t id = window->Document().Register(std::move(web));
    const TKYToggetto& link = *window->Document().ObjectByKind(TOggettiHel::internetLink, id);

    messages_.ScriptAnswers({Answer::No});
    Follow(*window, link);
    EXPECT_THAT(messages_.Questions(),
                ElementsAre("Il collegamento avvia il programma \"appunti.txt\". Vuoi avviarlo?"));
    EXPECT_THAT(shell_.Opened(), IsEmpty());
    messages_.ScriptAnswers({Answer::Yes});
    Follow(*window, link);
    ASSERT_EQ(shell_.Opened().size(), 1u);
    EXPECT_EQ(shell_.Opened()[0].filename(), "params.txt");
    EXPECT_EQ(shell_.Opened()[0].parent_path(), window->Document().WorkingDirectory());

    window->Document()
        .ObjectByKind(TOggettiHel::internetLink, id)
        ->View()
        .SetPStr(kLinkAddress, "prog:x.sh");
    Follow(*window, link);
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{
                    Box::Warning,
                    std::string("Il file \"params.sh\" è un programma: non viene aperto."_cp)}));
    EXPECT_EQ(shell_.Opened().size(), 1u);
}

TEST_F(MainWindowTest, MenusShowTheCommandsWhoseServiceIsBuiltAndTheListNoCaptionlessColumn) {
    auto window = Open(first_);
    ASSERT_TRUE(window->Rules().EditMode());
    QStringList captions;
    for (QAction* action : window->menuBar()->findChildren<QAction*>()) captions << action->text();
    // The import window's command, the export window's three commands, the preview and the
    // printing commands show.
    EXPECT_TRUE(captions.contains(QStringLiteral("&Importa/apri pagine...")));
    for (const char* shown : {"Esp&orta pagine...", "Esporta &Html...", "Esporta &WinHelp...",
                              "Stam&pa...", "Stampa pagina corrente", "Stampa tutte"})
        EXPECT_TRUE(captions.contains(QString::fromLatin1(shown))) << shown;
    EXPECT_TRUE(captions.contains(QStringLiteral("&Corrente pagina in browser di default")));
    EXPECT_TRUE(captions.contains(QStringLiteral("Salva &con nome...")));

    // The page list: titles and sizes; the identifiers stay the rows' data.
    PageListView& list = window->PageList();
    QStringList shown;
    for (int column = 0; column < list.columnCount(); ++column)
        if (!list.isColumnHidden(column)) shown << list.headerItem()->text(column);
    EXPECT_EQ(shown.size(), 2) << shown.join(QStringLiteral("|")).toStdString();
    for (const QString& caption : shown) EXPECT_FALSE(caption.isEmpty());
}

}  // namespace
}  // namespace orvo::test

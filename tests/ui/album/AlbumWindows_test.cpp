// The album, the deletion window and the hypertext options on the sample hypertext, offscreen:
// the pictures listed with a preview, renaming, editing a picture with an outside program (a
// shell that copies another picture over the file it is given), deleting a used picture after
// the search lists its page, the saved file read again without the picture's code; the options
// window's fields into the header. With ORVO_ALBUM_SHOTS naming a folder, the windows are saved
// there as pictures (run under Xvfb to look at them).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstdlib>
#include <filesystem>

#include "app/AlbumBlocks.h"
#include "app/WhereUsed.h"
#include "app/u3LOCforms.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "model/HeaderRecord.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"
#include "ui/QtConvert.h"
#include "ui/album/AlbumWindow.h"
#include "ui/album/DeletionWindow.h"
#include "ui/album/OptionsWindow.h"
#include "ui/app/DialogSupport.h"
#include "ui/render/QtTextMeasurer.h"

namespace orvo::test {
namespace {

using K = TOggettiHel;

void EnsureApplication() {
    if (QCoreApplication::instance()) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);  // a run under Xvfb may ask for xcb
    static int argc = 1;
    static char name[] = "orvo_ui_album_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    // The measurer's file tells the leak checker about fontconfig's own blocks.
    QtTextMeasurer measurer;
}

void Shot(QWidget& window, const char* name) {
    const char* folder = std::getenv("ORVO_ALBUM_SHOTS");
    if (!folder) return;
    window.show();
    QApplication::processEvents();
    window.grab().save(QString::fromUtf8(folder) + QLatin1Char('/') + QLatin1String(name) +
                       QStringLiteral(".png"));
}

bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class AlbumWindows : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        MakeSampleHypertext(set_, {});
        path_ = NameOfPath(TestDir() / "Album.kyt");
        ASSERT_TRUE(set_.SaveToFile(path_));
    }
    AlbumHost Host() {
        return AlbumHost{
            set_,
            messages_,
            DeletionEditor{[this] { return shown_; }, [this](int page) { shown_ = page; }},
            [this] { ++reformats_; },
            {},
            {},
            {},
            album::WindowDressing{[](QWidget& w) { LocalizeFromBlock(w); }, {}, {}},
            {}};
    }
    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_{environment_, messages_};
    std::string path_;
    int shown_ = 9;
    int reformats_ = 0;
};

QStringList Captions(QListWidget* list) {
    QStringList captions;
    for (int i = 0; i < list->count(); ++i) captions << list->item(i)->text();
    return captions;
}

TEST_F(AlbumWindows, PicturesRenamedEditedOutsideAndDeletedWithTheirReferences) {
    // The picture of the map page, its image object, and another picture to copy over it.
    TKYToggetto* map = set_.ObjectByKind(K::immagine, 1);
    ASSERT_TRUE(map && !map->IsFree());
    const std::string other = set_.ObjectByKind(K::immagine, 0)->ContentBytes().value();
    const std::filesystem::path replacement = TestDir() / "nuova.gif";
    WriteFile(replacement, other);

    AlbumWindow window(Host());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Album immagini e files"));
    EXPECT_EQ(window.findChild<QPushButton*>("Bapplica")->text(), QStringLiteral("A&pplica"));
    EXPECT_EQ(
        Captions(window.List()),
        (QStringList{"Carta della copertina", "Disegno di una tabella", "Mappa della guida"}));
    window.SelectObject(map->Code());
    ASSERT_FALSE(window.Preview()->pixmap().isNull());
    EXPECT_EQ(window.Preview()->pixmap().width(), map->ReadView().I16(kPictureWidth));
    Shot(window, "album-immagini");

    // Renamed in place.
    window.List()->currentItem()->setText(QStringLiteral("Mappa rinnovata"));
    EXPECT_EQ(map->Name(), "Mappa rinnovata");
    EXPECT_TRUE(set_.Modified());

    // Edited with an outside program that puts the other picture in the file it is given.
    AlbumHost host = Host();
    host.editorCommand = [&](const std::string& file) {
        return std::vector<std::string>{"/bin/sh", "-c", "cp \"$1\" \"$0\"", Cp1252ToUtf8(file),
                                        replacement.string()};
    };
    AlbumWindow editing(std::move(host));
    editing.SelectObject(map->Code());
    editing.Edit();
    ASSERT_TRUE(editing.Editing());
    EXPECT_FALSE(editing.findChild<QPushButton*>("BOk")->isEnabled() &&
                 editing.findChild<QPushButton*>("Bedita")->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return !editing.Editing(); }));
    EXPECT_EQ(map->ContentBytes().value(), other);
    EXPECT_EQ(reformats_, 1);
    EXPECT_TRUE(editing.Status()->text().isEmpty());
    std::size_t left = 0;
    for (const auto& entry : std::filesystem::directory_iterator(set_.WorkingDirectory()))
        left += entry.path().filename().string().rfind("re", 0) == 0;
    EXPECT_EQ(left, 0u) << "the temporary copy is deleted once applied";

    if (const char* folder = std::getenv("ORVO_ALBUM_SHOTS")) {
        // The document as edited, for orvo-cli render to show the page with the new picture.
        ASSERT_TRUE(set_.SaveToFile(path_));
        std::filesystem::copy_file(path_, std::filesystem::path(folder) / "dopo-edit.kyt",
                                   std::filesystem::copy_options::overwrite_existing);
        map = set_.ObjectByKind(K::immagine, 1);  // a save reads every object again
    }

    // No program for the file: the message, and nothing changes.
    AlbumHost none = Host();
    none.editorCommand = [](const std::string&) { return std::vector<std::string>{}; };
    AlbumWindow noEditor(std::move(none));
    noEditor.SelectObject(map->Code());
    noEditor.Edit();
    EXPECT_FALSE(noEditor.Editing());
    EXPECT_EQ(messages_.Shown().back().text,
              "Dovresti definire l'editor in Windows, oppure in Orvo usando \"Strumenti >Opzioni "
              "programma...\"");

    // Deleting the used picture: the search lists its page, Ok deletes it and its image object.
    AlbumHost deleting = Host();
    std::vector<std::string> listed;
    deleting.deleteObjects = [&](const std::vector<std::int32_t>& codes) {
        DeletionWindow confirm(
            set_, codes,
            DeletionEditor{[this] { return shown_; }, [this](int page) { shown_ = page; }},
            album::WindowDressing{[](QWidget& w) { LocalizeFromBlock(w); }, {}, {}});
        confirm.show();
        EXPECT_TRUE(WaitFor([&] { return confirm.SearchDone(); }));
        EXPECT_EQ(confirm.windowTitle(), QStringLiteral("Cancella oggetti dagli album interni"));
        Shot(confirm, "cancella-riferimenti");
        for (const QString& line : confirm.References()->toPlainText().split('\n'))
            listed.push_back(line.toStdString());
        confirm.Confirm();
        EXPECT_EQ(confirm.Selected()->toPlainText(),
                  QStringLiteral("Mappa rinnovata [X] Cancellato"));
        return true;
    };
    AlbumWindow album(std::move(deleting));
    album.SelectObject(map->Code());
    album.Delete();
    EXPECT_THAT(listed, ::testing::ElementsAre(
                            "+ \"MAPPA RINNOVATA\" è presente in/collegato da /utilizzato in:",
                            "    - La mappa della guida   {nel testo}"));
    EXPECT_EQ(Captions(album.List()),
              (QStringList{"Carta della copertina", "Disegno di una tabella"}));
    EXPECT_EQ(shown_, 9);

    ASSERT_TRUE(set_.SaveToFile(path_));
    ASSERT_TRUE(set_.LoadFromFile(path_));
    EXPECT_TRUE(set_.ObjectByKind(K::immagine, 1)->IsFree());
    EXPECT_TRUE(set_.ObjectByKind(K::immagineNew, 0)->IsFree());
    EXPECT_EQ(set_.ObjectByKind(K::testoHtml, 9)->ContentBytes().value().find("<$10000000>"),
              std::string::npos);
}

TEST_F(AlbumWindows, TabsShowTheirButtonsAndTheSearchFindsByPrefix) {
    AlbumWindow window(Host());
    window.show();
    window.SetTab(3);  // "Pagine"
    EXPECT_TRUE(window.findChild<QPushButton*>("Bedita")->isVisible());
    EXPECT_FALSE(window.findChild<QPushButton*>("BReplace")->isVisible());
    EXPECT_TRUE(window.findChild<QCheckBox*>("cbpreview")->isVisible());
    window.Search(QStringLiteral("PAGINE e"));
    ASSERT_NE(window.List()->currentItem(), nullptr);
    EXPECT_EQ(window.List()->currentItem()->text(), QStringLiteral("Pagine e capitoli"));
    window.SetTab(2);  // "Prototipi": no button but "Cancella", and no "A&pplica"
    for (const char* name : {"Bedita", "BReplace", "BAdd", "Bapplica"})
        EXPECT_FALSE(window.findChild<QPushButton*>(name)->isVisible()) << name;
    window.SetTab(0);
    window.Replace();
    EXPECT_EQ(messages_.Shown().back().text, "Seleziona oggetto da sostituire");
    window.SelectObject(MakeCode(K::immagine, 0));
    window.List()->item(1)->setSelected(true);
    window.Replace();
    EXPECT_EQ(messages_.Shown().back().text, "Seleziona un solo oggetto");
    // The first page is never handed to deletion.
    std::vector<std::int32_t> handed;
    AlbumHost host = Host();
    host.deleteObjects = [&](const std::vector<std::int32_t>& codes) {
        handed = codes;
        return false;
    };
    AlbumWindow pages(std::move(host));
    pages.SetTab(3);
    pages.SelectObject(0);
    pages.List()->item(pages.List()->count() - 1)->setSelected(true);
    pages.Delete();
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_NE(handed[0], 0);
}

TEST_F(AlbumWindows, OptionsWindowWritesItsFieldsIntoTheHeader) {
    HypertextOptionsWindow window(
        set_, {{"Inglese (Stati Uniti)", 1033}, {"Italiano", 1040}}, {},
        album::WindowDressing{[](QWidget& w) { LocalizeFromBlock(w); }, {}, {}});
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Opzioni dell'ipertesto"));
    Shot(window, "opzioni-ipertesto");
    auto* title = window.findChild<QLineEdit*>("Etitolo");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QStringLiteral("Guida di Orvo"));
    EXPECT_EQ(title->maxLength(), 79);
    title->setText(QStringLiteral("Guida è nuova"));
    window.findChild<QLineEdit*>("Eautori")->setText(QString(150, QLatin1Char('a')));
    window.findChild<QCheckBox*>("CBreadOnly")->setChecked(true);
    window.findChild<QLineEdit*>("Epass")->setText(QStringLiteral("chiave"));
    window.chooseColour = [](std::int32_t) { return std::optional<std::int32_t>(0x00FF00); };
    window.findChild<QPushButton*>("Bcolore")->click();
    window.choosePage = [](std::optional<std::int32_t>) { return std::optional<std::int32_t>(3); };
    window.findChild<QPushButton*>("Bscegli")->click();
    EXPECT_EQ(window.findChild<QLabel*>("Lsommario")->text(),
              QStringLiteral("Pagina definita come sommario:"));
    window.Confirm();
    const RecordView h = set_.HeaderView();
    EXPECT_EQ(h.PStr(kHdrTitle), "Guida \xE8 nuova");
    EXPECT_EQ(h.PStr(kHdrAuthors), std::string(79, 'a'));
    EXPECT_EQ(h.U8(kHdrReadOnly), 1);
    EXPECT_EQ(set_.ReadOnlyPassword(), "chiave");
    EXPECT_EQ(h.I32(kHdrBackColour), 0x00FF00);
    EXPECT_EQ(h.I32(kHdrContentsPage), 3);
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace orvo::test

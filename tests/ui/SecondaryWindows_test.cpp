// The windows around the main window, offscreen, each driven from its menu command through its
// main path: the export window writing the site and a text file, the program options written
// to the settings, a new hypertext from a model, the publishing window against a real
// pyftpdlib server (publish, browse, rename, delete), and a walk over every menu item.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "MainWindowSupport.h"
#include "app/DocumentConverters.h"
#include "app/MainFormPorts.h"
#include "app/u3MainForm.h"
#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "convert/TKYTListHtmlToTx.h"
#include "convert/TextExport.h"
#include "model/ObjectRecord.h"
#include "model/SampleHypertext.h"
#include "model/StyleRecord.h"
#include "model/StyleTable.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "publish/FtpTestSupport.h"
#include "publish/PublishConfigurations.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTundo.h"
#include "ui/app/ExportWindow.h"
#include "ui/app/PageListView.h"
#include "ui/app/PageTreeView.h"
#include "ui/app/ProgramOptionsWindow.h"
#include "ui/app/PublishWindow.h"
#include "ui/app/SecondaryWindows.h"
#include "ui/app/StartWindows.h"
#include "ui/app/StyleWindow.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::set<std::string> FilesIn(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        names.insert(entry.path().filename());
    return names;
}

// The live pages of the hypertext, as the exported-items list finds them.
std::vector<TKYToggetto*> Pages(TKYTset& set, TKYTtoHtml& html) {
    TKYTListHtmlToTx list(&html);
    list.ListType = TListType::ltOneFile;
    list.Rebuild();
    std::vector<TKYToggetto*> pages;
    for (const TListHtmlRow& row : list.Rows())
        if (row.kind == TOggettiHel::testoHtml && row.code)
            if (TKYToggetto* page = LivePage(set, CodeIdentifier(*row.code))) pages.push_back(page);
    return pages;
}

template <class T>
T* Child(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// Set by hand to look at the windows: each is saved as a picture into that folder.
void Grab(QWidget& window, const char* name) {
    if (const char* folder = ::getenv("ORVO_WINDOWS_GRAB"))
        window.grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
}

void Trigger(MainWindow& window, const char* command) {
    QAction* action = window.findChild<QAction*>(QString::fromLatin1(command));
    ASSERT_NE(action, nullptr) << command << " is not in the menus";
    action->trigger();
}

// A local port where nothing listens (bound, then let go).
int ClosedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 1;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

class CancellingPrompter final : public IPrompter {
public:
    std::optional<std::string> InputBox(std::string_view, std::string_view) override {
        return std::nullopt;
    }
    std::optional<FileChoice> OpenDialog(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<FileChoice> SaveDialog(const FileDialogRequest&) override { return std::nullopt; }
    void ShowErrorList(std::string_view, const std::vector<std::string>&) override {}
};

class SecondaryWindowsTest : public MainWindowTest {};

TEST_F(SecondaryWindowsTest, ExportWindowWritesTheTickedPagesAsSiteAndAsText) {
    auto window = Open(first_);
    const fs::path site = TestDir() / "sito";
    int opened = 0;
    window->ExportService().onWindow = [&](QDialog& dialog) {
        ++opened;
        auto& exporter = dynamic_cast<ExportWindow&>(dialog);
        EXPECT_EQ(exporter.windowTitle(), "Esportazione");
        EXPECT_EQ(exporter.Rules().Format(), 0);  // the proposed ".htm" chooses HTML
        Child<QLineEdit>(exporter, "EDdir")->setText(QString::fromStdString(site.string()));
        Child<QPushButton>(exporter, "BEsporta")->click();
        Grab(exporter, "export");
        EXPECT_EQ(exporter.StatusText(), "");
        Child<QPushButton>(exporter, "BChiudi")->click();
    };
    Trigger(*window, "MIPublishExportHtml");
    ASSERT_EQ(opened, 1);
    EXPECT_THAT(messages_.Shown(), ElementsAre());

    // Every page of the hypertext has its file, named as the exporter names it, with its
    // title (escaped as HTML), and the style sheet is there under the document's prefix; the
    // folder is kept for the next time, ending in "/".
    const std::set<std::string> written = FilesIn(site);
    EXPECT_THAT(written, Contains("guida_style.css"));
    EXPECT_EQ(window->Converters().Html().StyleSheetName(), "guida_style.css");
    int pages = 0;
    TKYTset& set = window->Document();
    for (TKYToggetto* page : Pages(set, window->Converters().Html())) {
        ++pages;
        const std::string file = window->Converters().Html().ObjectFileName(*page, 0);
        EXPECT_TRUE(fs::exists(site / file)) << file;
        EXPECT_NE(ReadFile(site / file).find("<TITLE>" + EscapeText(page->Name()) + "\r\n</TITLE>"),
                  std::string::npos)
            << file;
    }
    EXPECT_GE(pages, 7);
    EXPECT_EQ(settings_.ReadString("exp\\0", "expPathInWindow"), site.string() + "/");

    // ASCII with only the second page ticked: the file holds that page's text, as the text
    // converter writes it alone.
    const fs::path text = TestDir() / "testo";
    window->ExportService().onWindow = [&](QDialog& dialog) {
        auto& exporter = dynamic_cast<ExportWindow&>(dialog);
        auto* formats = Child<QComboBox>(exporter, "CBformato");
        formats->setCurrentIndex(formats->findData(4));
        ASSERT_EQ(exporter.Rules().Format(), 4);
        auto* all = Child<QPushButton>(exporter, "BTutte");
        all->click();
        EXPECT_EQ(all->text(), "Nessuna");
        all->click();
        EXPECT_EQ(all->text(), "Tutte");
        QTreeWidget* list = exporter.List();
        ASSERT_GE(list->topLevelItemCount(), 2);
        list->topLevelItem(1)->setCheckState(0, Qt::Checked);
        Child<QLineEdit>(exporter, "EDdir")->setText(QString::fromStdString(text.string()));
        Child<QLineEdit>(exporter, "EDnomeFile")->setText("una.txt");
        Child<QPushButton>(exporter, "BEsporta")->click();
        dialog.accept();
    };
    Trigger(*window, "MIPublishExportHtml");
    const std::vector<std::int32_t> ticked = [&] {
        ExportWindowRules rules({set, window->Converters().Html(), window->Converters().Rtf(),
                                 window->Converters().Text(), settings_, shell_, messages_});
        rules.ChooseFormat(4);
        return std::vector<std::int32_t>{rules.TickedPages().at(1)};
    }();
    TKYTtoTxt alone(&set);
    alone.ExportFileName = NameOfPath(TestDir() / "alone.txt");
    ASSERT_TRUE(alone.ExportPages(ticked));
    EXPECT_EQ(ReadFile(text / "una.txt"), ReadFile(TestDir() / "alone.txt"));
    EXPECT_FALSE(ReadFile(text / "una.txt").empty());
}

TEST_F(SecondaryWindowsTest, ExportWindowNamesAFolderItCannotMake) {
    auto window = Open(first_);
    const fs::path blocker = TestDir() / "un-file";
    std::ofstream(blocker) << "x";
    const std::string folder = (blocker / "sotto").string();
    window->ExportService().onWindow = [&](QDialog& dialog) {
        Child<QLineEdit>(dialog, "EDdir")->setText(QString::fromStdString(folder));
        Child<QPushButton>(dialog, "BEsporta")->click();
        dialog.accept();
    };
    Trigger(*window, "MIFileExportPages");
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{Box::Error, "Errore nella creazione directory: \"" + folder +
                                                    "/\" controlla la linguetta \"path\"."}));
}

TEST_F(SecondaryWindowsTest, HtmlOptionsGoToTheExporterAndTheSettings) {
    auto window = Open(first_);
    HtmlOptionsWindow options(window->Document(), window->Converters().Html(), settings_);
    EXPECT_EQ(options.windowTitle(), "Opzioni");
    EXPECT_FALSE(Child<QCheckBox>(options, "CBsepImage")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(options, "CBalt")->isChecked());  // checked when absent
    Child<QCheckBox>(options, "CBsepImage")->setChecked(true);
    Child<QCheckBox>(options, "CBalt")->setChecked(false);
    Child<QComboBox>(options, "CBtipoExt")->setCurrentIndex(1);
    Child<QPushButton>(options, "BOk")->click();
    EXPECT_EQ(settings_.ReadString("htmlexp", "expSepImage"), "1");
    EXPECT_EQ(settings_.ReadString("htmlexp", "expAlt"), "0");
    EXPECT_EQ(settings_.ReadString("htmlexp", "expTipoExt"), "1");
    EXPECT_TRUE(window->Converters().Html().ExpSepImage);
    EXPECT_EQ(window->Converters().Html().PageExtension(), ".html");
    EXPECT_TRUE(settings_.Read("forms\\FopzExp", "geometry").has_value());
}

TEST_F(SecondaryWindowsTest, ProgramOptionsAreWrittenToTheSettings) {
    auto window = Open(first_);
    window->Windows().onWindow = [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Opzioni del programma");
        Child<QSpinBox>(dialog, "SEundoDeep")->setValue(55);
        Child<QCheckBox>(dialog, "CBtipOfTheDay")->setChecked(false);
        Child<QCheckBox>(dialog, "CBbak")->setChecked(false);
        Grab(dialog, "program-options");
        Child<QPushButton>(dialog, "BOk")->click();
    };
    Trigger(*window, "MIToolsOptions");
    EXPECT_EQ(settings_.ReadString("options", "undoDeep"), "55");
    EXPECT_EQ(settings_.ReadString("options", "TipOfTheDay"), "0");
    EXPECT_EQ(settings_.ReadString("options", "Bak"), "0");
    EXPECT_TRUE(settings_.Read("forms\\FopzProg", "geometry").has_value());
    EXPECT_THAT(messages_.Shown(), ElementsAre());
}

// The tips are shown before the main window; once it is up they come back on top of it.
TEST_F(SecondaryWindowsTest, TheTipsAtStartStayAboveTheMainWindow) {
    settings_.Write("options", "liteOk", "1");  // no publishing set-up first
    MainWindowOptions options;
    options.startWindows = true;
    auto window = Open(first_, options);
    QApplication::processEvents();
    TipsWindow* tips = window->Windows().Tips();
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(tips->windowTitle(), "Suggerimenti");
    EXPECT_TRUE(tips->isVisible());
    EXPECT_EQ(QApplication::activeWindow(), tips);
}

TEST_F(SecondaryWindowsTest, NewHypertextStartsFromTheChosenModel) {
    auto window = Open(first_);
    const fs::path models = environment_.UserDataDir() / "HypTemplates";
    fs::create_directories(models);
    const std::string model = Write("Modello.kyt", 3);
    fs::copy_file(NativePath(model), models / "Modello.kyt", fs::copy_options::overwrite_existing);
    window->Windows().onWindow = [&](QDialog& dialog) {
        auto& chooser = dynamic_cast<NewHypertextWindow&>(dialog);
        EXPECT_EQ(chooser.windowTitle(), "Nuovo ipertesto:");
        auto* list = Child<QListWidget>(chooser, "LBmodelli");
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->item(0)->text(), "(ipertesto vuoto)");
        const auto found = list->findItems("Modello", Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        list->setCurrentItem(found.front());
        Child<QPushButton>(chooser, "BOk")->click();
    };
    Trigger(*window, "MIFileNewFrom");
    // The new hypertext has the model's pages, by title in list order (neither the open
    // hypertext's eleven nor the single page of an empty one).
    TKYTset read(environment_, scratchMessages_);
    ASSERT_TRUE(read.LoadFromFile(model));
    TKYTtoHtml readHtml(&read);
    std::vector<std::string> expected, made;
    for (TKYToggetto* page : Pages(read, readHtml)) expected.push_back(page->Name());
    for (TKYToggetto* page : Pages(window->Document(), window->Converters().Html()))
        made.push_back(page->Name());
    EXPECT_EQ(expected.size(), 8u);  // three pages, header, footer, map, table and form
    EXPECT_EQ(made, expected);
    EXPECT_THAT(window->windowTitle().toStdString(), ::testing::StartsWith("Senza titolo"));
}

TEST_F(SecondaryWindowsTest, PublishesToARealServerAndBrowsesIt) {
    const fs::path root = TestDir() / "ftproot";
    fs::create_directories(root / "vecchia");
    std::ofstream(root / "leggimi.txt") << "da rinominare";
    std::ofstream(root / "vecchia" / "x.txt") << "x";
    PyFtpServer server(root);
    ASSERT_TRUE(server.Started());
    FtpServerConfig config;
    config.nomeConf = "Locale";
    config.server = "127.0.0.1";
    config.port = server.Port();
    config.user = kFtpUser;
    config.pass = kFtpPassword;
    config.savePass = true;
    // Saved after the program's first start, which writes its default configuration.
    auto window = Open(first_);
    PublishConfigurations(settings_).Save(0, config);
    int result = 0;
    window->Publishing().onWindow = [&](QDialog& dialog) {
        auto& publish = dynamic_cast<PublishWindow&>(dialog);
        EXPECT_EQ(publish.windowTitle(), "Pubblicazione in rete tramite FTP");
        // A port where nothing listens, then the server's: the failure is not shown after.
        auto* port = Child<QSpinBox>(publish, "SEporta");
        auto* apply = Child<QPushButton>(publish, "BApplica");
        port->setValue(ClosedPort());
        apply->click();
        EXPECT_NE(publish.ConnectNow(), 200);
        EXPECT_EQ(publish.StatusText(), "Impossibile connettersi: Errore di creazione socket");
        port->setValue(server.Port());
        apply->click();
        ASSERT_EQ(publish.ConnectNow(), 200);
        EXPECT_EQ(publish.StatusText(), "");
        EXPECT_EQ(publish.Rules().VersionLabel(),
                  "In questa dir del server non risulta nessuna versione dell'ipertesto.");
        publish.ChooseChanged();
        result = publish.PublishNow();
        Grab(publish, "publish-first");
        EXPECT_EQ(publish.StatusText(), "Pubblicazione OK.");

        // The browser: four columns, folders first; into a folder and back up; a new
        // folder; a file renamed in place; a file and a folder deleted.
        QTreeWidget* remote = publish.Remote();
        EXPECT_EQ(remote->headerItem()->text(3), "Modificato");
        EXPECT_EQ(remote->topLevelItem(0)->text(2), "Directory");
        EXPECT_EQ(publish.OpenFolder("vecchia"), 200);
        EXPECT_EQ(publish.Rules().Directory(), "/vecchia/");
        EXPECT_EQ(remote->topLevelItemCount(), 1);
        EXPECT_EQ(publish.GoUp(), 200);
        EXPECT_EQ(publish.Rules().Directory(), "/");
        EXPECT_EQ(publish.MakeFolder("nuova"), 200);
        for (int i = 0; i < remote->topLevelItemCount(); ++i)
            if (remote->topLevelItem(i)->text(0) == "leggimi.txt")
                remote->topLevelItem(i)->setText(0, "letto.txt");
        // Every entry is asked about first: "No" leaves the file on the server and in the
        // list, "Sì" deletes it.
        const auto listed = [remote](const QString& name) {
            for (int i = 0; i < remote->topLevelItemCount(); ++i)
                if (remote->topLevelItem(i)->text(0) == name) return true;
            return false;
        };
        for (int i = 0; i < remote->topLevelItemCount(); ++i)
            remote->topLevelItem(i)->setSelected(remote->topLevelItem(i)->text(0) == "letto.txt");
        messages_.Clear();
        messages_.ScriptAnswers({Answer::No});
        EXPECT_EQ(publish.DeleteSelected(), 200);
        EXPECT_THAT(messages_.Questions(), ElementsAre("Cancello letto.txt?"));
        EXPECT_TRUE(fs::exists(root / "letto.txt"));
        EXPECT_TRUE(listed("letto.txt"));
        for (int i = 0; i < remote->topLevelItemCount(); ++i) {
            const QString name = remote->topLevelItem(i)->text(0);
            remote->topLevelItem(i)->setSelected(name == "letto.txt" || name == "nuova");
        }
        messages_.Clear();
        messages_.ScriptAnswers({Answer::Yes, Answer::Yes});
        EXPECT_EQ(publish.DeleteSelected(), 200);
        EXPECT_THAT(messages_.Questions(),
                    UnorderedElementsAre("Cancello letto.txt?", "Cancello nuova?"));
        EXPECT_FALSE(listed("letto.txt"));
        EXPECT_FALSE(listed("nuova"));
        Grab(publish, "ftp-browser");
        Child<QPushButton>(publish, "BChiudi")->click();
    };
    Trigger(*window, "MIPublishFtp");
    EXPECT_EQ(result, 200);
    TKYTset& set = window->Document();
    for (TKYToggetto* page : Pages(set, window->Converters().Html())) {
        const std::string file = window->Converters().Html().ObjectFileName(*page, 0);
        EXPECT_TRUE(fs::exists(root / file)) << file;
    }
    EXPECT_TRUE(fs::exists(root / "guida_style.css"));
    EXPECT_FALSE(fs::exists(root / "leggimi.txt"));
    EXPECT_FALSE(fs::exists(root / "letto.txt"));
    EXPECT_FALSE(fs::exists(root / "nuova"));
    EXPECT_TRUE(fs::exists(root / "vecchia" / "x.txt"));

    // One page typed into and saved: the second publication sends that page, the style sheet
    // (it has no stamp, so it always counts as changed) and the version page.
    std::vector<TKYToggetto*> pages = Pages(set, window->Converters().Html());
    ASSERT_GE(pages.size(), 3u);
    const std::string changed = window->Converters().Html().ObjectFileName(*pages[2], 0);
    if (!window->Rules().EditMode()) window->Rules().EditButtonClick();
    window->Rules().GoToPage(pages[2]->Identifier());
    QApplication::processEvents();
    ASSERT_NE(window->PageView().Session(), nullptr);
    ASSERT_TRUE(window->PageView().Session()->Char('X'));
    Trigger(*window, "MIFileSave");
    ASSERT_FALSE(window->Document().Modified());
    std::vector<std::string> sent;
    window->Publishing().onWindow = [&](QDialog& dialog) {
        auto& publish = dynamic_cast<PublishWindow&>(dialog);
        ASSERT_EQ(publish.ConnectNow(), 200);
        publish.ChooseChanged();
        EXPECT_EQ(publish.PublishNow(), 200);
        Grab(publish, "publish-changed");
        for (const auto& transfer : publish.Rules().Sent()) sent.push_back(transfer.remote);
        dialog.accept();
    };
    Trigger(*window, "MIPublishFtp");
    EXPECT_THAT(sent, ElementsAre("/guida_style.css", "/" + changed, "/guida_ver.html"));
    EXPECT_THAT(messages_.Shown(), ElementsAre());
}

// The style window from "&Stili...": style 0 made larger and red, seen first in the preview and
// then on the page shown, with the undo step named after the style; "&Nuovo stile..." adds a
// style after the others, its name made unique; lengths read in the style's unit.
TEST_F(SecondaryWindowsTest, StyleWindowChangesAStyleAndThePageFollows) {
    auto window = Open(first_);
    if (!window->Rules().EditMode()) window->Rules().EditButtonClick();
    TKYTset& set = window->Document();
    auto pageBottom = [](PageViewWidget& view) {
        const TKYTbox* box = view.Box();
        return box && box->ParagraphCount() > 0 ? box->Paragraph(box->ParagraphCount() - 1).bottom
                                                : -1;
    };
    const std::int32_t before = pageBottom(window->PageView());
    ASSERT_GT(before, 0);
    const std::size_t styles = StyleNames(set).size();
    window->Windows().onWindow = [&](QDialog& dialog) {
        auto& styleWindow = dynamic_cast<StyleWindow&>(dialog);
        EXPECT_EQ(styleWindow.windowTitle(), "Stili");
        auto* list = Child<QListWidget>(styleWindow, "LBstili");
        ASSERT_EQ(std::size_t(list->count()), styles);
        EXPECT_EQ(list->item(0)->text(), "[nessuno stile]");
        EXPECT_EQ(list->currentRow(), 0);
        // The default left margin, 10 pixels, in millimetres on a 96 ppi screen.
        EXPECT_NEAR(Child<QDoubleSpinBox>(styleWindow, "SEmargSx")->value(), 2.65, 0.005);
        EXPECT_EQ(Child<QLabel>(styleWindow, "Lnota")->text().toStdString(),
                  "(nota che il link applica un'inversione allo stile abituale, ad esempio se il "
                  "testo \xC3\xA8 in grassetto, ed il link \xC3\xA8 definito grassetto, il link "
                  "sar\xC3\xA0 \"normale\")");
        const std::int32_t previewBefore = pageBottom(*styleWindow.Preview());
        ASSERT_GT(previewBefore, 0);
        Child<QSpinBox>(styleWindow, "SEdimensione")->setValue(36);
        EXPECT_GT(pageBottom(*styleWindow.Preview()), previewBefore);
        styleWindow.chooseColour = [](std::int32_t) { return std::int32_t(0x0000FF); };
        Child<QPushButton>(styleWindow, "BColore")->click();
        Grab(styleWindow, "style");
        Child<QPushButton>(styleWindow, "BOk")->click();
    };
    Trigger(*window, "MIFormatStyles");
    QApplication::processEvents();
    const StyleRecord changed(StyleByNumber(set, 0)->Record());
    EXPECT_EQ(changed.Size(), 36);
    EXPECT_EQ(changed.Colour(), 0x0000FF);
    EXPECT_EQ(changed.LeftMargin(), 10);  // shown in mm and left alone: still 10 pixels
    EXPECT_TRUE(set.Modified());
    EXPECT_GT(pageBottom(window->PageView()), before);
    Grab(*window, "style-page");
    EXPECT_THAT(UndoListOf(set).Labels(), Contains("Modifica stile: [nessuno stile]"));

    window->Windows().onWindow = [&](QDialog& dialog) {
        auto& styleWindow = dynamic_cast<StyleWindow&>(dialog);
        EXPECT_EQ(styleWindow.Rules().Selected(), -1);
        auto* unit = Child<QComboBox>(styleWindow, "CBunita");
        EXPECT_EQ(unit->currentText(), "mm");
        unit->setCurrentIndex(5);  // pixels
        EXPECT_EQ(Child<QDoubleSpinBox>(styleWindow, "SEmargSx")->value(), 10.0);
        Child<QDoubleSpinBox>(styleWindow, "SEmargSx")->setValue(25);
        Child<QLineEdit>(styleWindow, "EDnome")->setText("[NESSUNO STILE]");
        Child<QPushButton>(styleWindow, "BOk")->click();
    };
    Trigger(*window, "MIFormatNewStyle");
    ASSERT_EQ(StyleNames(set).size(), styles + 1);
    const StyleRecord made(StyleByNumber(set, std::int32_t(styles))->Record());
    EXPECT_EQ(made.Name(), "[NESSUNO STILE] 1");
    EXPECT_EQ(made.LeftMargin(), 25);
    EXPECT_EQ(made.Unit(), 5);
    EXPECT_EQ(made.Origin(), 0);
    EXPECT_THAT(messages_.Shown(), ElementsAre());

    // Styles imported from another hypertext: the sample's own styles are already here and
    // offered unticked; a "Titolo" of another format and a new "Citazione" are ticked.
    const std::string other = NameOfPath(TestDir() / "Stili.kyt");
    {
        TKYTset scratch(environment_, scratchMessages_);
        MakeSampleHypertext(scratch);
        StyleRecord(StyleByName(scratch, "Titolo")->Record()).SetSize(30);
        StyleRecord quote(CreateStyle(scratch, "Citazione").Record());
        quote.SetStyleBits(2);
        quote.SetLeftMargin(40);
        ASSERT_TRUE(scratch.SaveToFile(other));
    }
    const std::string garbage = NameOfPath(TestDir() / "NonIpertesto.kyt");
    std::ofstream(garbage, std::ios::binary) << "non sono un ipertesto";
    const std::size_t before2 = StyleNames(set).size();
    std::vector<std::int32_t> imported;
    window->Windows().onWindow = [&](QDialog& dialog) {
        auto& styleWindow = dynamic_cast<StyleWindow&>(dialog);
        int chooserShown = 0;
        styleWindow.chooseFile = [&] { return garbage; };
        styleWindow.onImportWindow = [&](StyleImportWindow&) { ++chooserShown; };
        EXPECT_THAT(styleWindow.ImportStyles(), ElementsAre());
        EXPECT_EQ(chooserShown, 0);
        EXPECT_FALSE(messages_.Shown().empty());  // the reading failure was shown
        messages_.Clear();
        styleWindow.chooseFile = [&] { return other; };
        styleWindow.onImportWindow = [&](StyleImportWindow& chooser) {
            ++chooserShown;
            EXPECT_EQ(chooser.windowTitle(), "Importa stili");
            EXPECT_EQ(Child<QLabel>(chooser, "Ldi")->text(), "Stili dell'ipertesto:");
            auto* list = Child<QListWidget>(chooser, "LBstili");
            auto* ok = Child<QPushButton>(chooser, "BOk");
            QStringList names, ticked;
            for (int i = 0; i < list->count(); ++i) {
                names << list->item(i)->text();
                if (list->item(i)->checkState() == Qt::Checked) ticked << list->item(i)->text();
            }
            EXPECT_EQ(names,
                      QStringList({"Titolo", "Elenco puntato", "Elenco numerato", "Citazione"}));
            EXPECT_EQ(ticked, QStringList({"Titolo", "Citazione"}));
            Child<QPushButton>(chooser, "BNessuno")->click();
            EXPECT_FALSE(ok->isEnabled());
            ok->click();  // nothing ticked: the chooser stays
            EXPECT_TRUE(chooser.isVisible());
            list->item(3)->setCheckState(Qt::Checked);
            list->item(0)->setCheckState(Qt::Checked);
            EXPECT_TRUE(ok->isEnabled());
            Grab(chooser, "style-import");
            ok->click();
        };
        imported = styleWindow.ImportStyles();
        EXPECT_EQ(chooserShown, 1);
        auto* list = Child<QListWidget>(styleWindow, "LBstili");
        ASSERT_EQ(std::size_t(list->count()), before2 + 2);
        EXPECT_EQ(list->currentItem()->text(), "Titolo 1");
        EXPECT_EQ(Child<QSpinBox>(styleWindow, "SEdimensione")->value(), 30);
        Child<QPushButton>(styleWindow, "BAnnulla")->click();
    };
    Trigger(*window, "MIFormatStyles");
    ASSERT_EQ(imported.size(), 2u);
    ASSERT_EQ(StyleNames(set).size(), before2 + 2);
    const StyleRecord title(StyleByNumber(set, imported[0])->Record());
    const StyleRecord quote(StyleByNumber(set, imported[1])->Record());
    EXPECT_EQ(title.Name(), "Titolo 1");
    EXPECT_EQ(title.Size(), 30);
    EXPECT_FALSE(title.SameFormat(StyleRecord(StyleByName(set, "Titolo")->Record())));
    EXPECT_EQ(quote.Name(), "Citazione");
    EXPECT_EQ(quote.StyleBits(), 2);
    EXPECT_EQ(quote.LeftMargin(), 40);
    EXPECT_EQ(quote.Origin(), 0);
    EXPECT_EQ(title.Origin(), 0);
}

// The page tree reorganised in the window: a new chapter renamed in place, then in preview the
// first page dragged into it and renamed (the page list follows), a chapter moved up, a page
// taken out with Del; after a save, orvo-cli reads the same order from the file.
TEST_F(SecondaryWindowsTest, PageTreeReorganisedIsSavedInItsOrder) {
    auto window = Open(first_);
    const ProgramRun stored = RunOrvoCli({"tree", first_});
    ASSERT_EQ(stored.status, 0) << stored.err;
    std::vector<std::string> lines;
    for (std::istringstream in(stored.out); std::getline(in, lines.emplace_back());) {
    }
    lines.pop_back();

    PageTreeView& tree = window->Tree();
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    // Items are made again after every change: they are looked up each time.
    auto root = [&] { return tree.topLevelItem(0); };
    auto count = [&] { return root()->childCount(); };
    auto child = [&](int i) { return root()->child(i); };
    ASSERT_GE(count(), 4);
    auto text = [](QTreeWidgetItem* item) { return item->text(0).toStdString(); };
    // The stored tree: a page, two chapters, ..., a page last.
    ASSERT_GE(PageTreeView::PageOf(*child(0)), 0);
    ASSERT_EQ(PageTreeView::PageOf(*child(1)), -1);
    ASSERT_EQ(PageTreeView::PageOf(*child(2)), -1);
    ASSERT_GE(PageTreeView::PageOf(*child(count() - 1)), 0);
    const std::string first = text(child(0)), second = text(child(1)), third = text(child(2)),
                      last = text(child(count() - 1));

    // Refused: the root moved, a node dropped on a page or into its own chapter.
    EXPECT_FALSE(tree.DropOn(root(), child(1)));
    EXPECT_FALSE(tree.DropOn(child(1), child(0)));
    EXPECT_FALSE(tree.DropOn(child(1), child(1)->child(0)));

    tree.setCurrentItem(root());
    ASSERT_TRUE(tree.AddChapter("Nuovo capitolo"));
    QTreeWidgetItem* chapter = tree.currentItem();
    ASSERT_EQ(text(chapter), "Nuovo capitolo");
    tree.closePersistentEditor(chapter, 0);
    chapter->setText(0, "Indice analitico");
    QApplication::processEvents();
    chapter = child(count() - 1);
    ASSERT_EQ(text(chapter), "Indice analitico");
    // The rest is done in preview: the tree is edited in both modes.
    Preview(*window);
    ASSERT_TRUE(tree.DropOn(child(0), chapter));
    // The page renamed in place in its new chapter; the page list follows.
    QTreeWidgetItem* dropped = child(count() - 1)->child(0);
    const std::int32_t droppedPage = PageTreeView::PageOf(*dropped);
    ASSERT_EQ(text(dropped), first);
    dropped->setText(0, "Prima pagina, rinominata");
    QApplication::processEvents();
    const QTreeWidgetItem* listed = window->PageList().ItemOfPage(droppedPage);
    ASSERT_NE(listed, nullptr);
    EXPECT_EQ(listed->text(0).toStdString(), "Prima pagina, rinominata");
    for (int i = 0; i < count(); ++i)
        if (text(child(i)) == third) tree.setCurrentItem(child(i));
    ASSERT_TRUE(tree.MoveUp());
    for (int i = 0; i < count(); ++i)
        if (text(child(i)) == last) tree.setCurrentItem(child(i));
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(&tree, &del);
    Grab(*window, "tree");
    EXPECT_TRUE(window->Document().Modified());
    ASSERT_FALSE(window->Rules().EditMode());
    // Saving is an edit-mode command: the changes made in preview are kept across the switch.
    window->Rules().EditButtonClick();
    ASSERT_TRUE(window->Rules().EditMode());
    Trigger(*window, "MIFileSave");
    EXPECT_THAT(messages_.Shown(), ElementsAre());

    // The same changes made to orvo-cli's lines: the first page goes under the new chapter at
    // the end, the third node's block before the second's, the last page out.
    auto block = [&](const std::string& head) {
        auto from = std::find(lines.begin(), lines.end(), head);
        auto to = from == lines.end() ? from : std::next(from);
        while (to != lines.end() && to->rfind("    ", 0) == 0) ++to;
        std::vector<std::string> taken(from, to);
        lines.erase(from, to);
        return taken;
    };
    auto pageLine = [&](const std::string& title) {
        for (const std::string& line : lines)
            if (line.rfind("  " + title + " [", 0) == 0) return line;
        return std::string();
    };
    const std::string firstLine = pageLine(first), lastLine = pageLine(last);
    ASSERT_FALSE(firstLine.empty());
    ASSERT_FALSE(lastLine.empty());
    (void)block(firstLine);
    (void)block(lastLine);
    std::vector<std::string> moved = block("  " + third + "/");
    ASSERT_FALSE(moved.empty());
    lines.insert(std::find(lines.begin(), lines.end(), "  " + second + "/"), moved.begin(),
                 moved.end());
    lines.push_back("  Indice analitico/");
    lines.push_back("    Prima pagina, rinominata" + firstLine.substr(2 + first.size()));
    std::string expected;
    for (const std::string& line : lines) expected += line + "\n";
    const ProgramRun saved = RunOrvoCli({"tree", first_});
    EXPECT_EQ(saved.out, expected);
}

// Every item of every menu, in both modes, either does its work or is absent: none answers
// "Non definito o non supportato.".
TEST_F(SecondaryWindowsTest, EveryMenuItemShownDoesSomething) {
    CancellingPrompter prompter;
    MainWindowOptions options;
    options.prompter = &prompter;
    auto window = Open(first_, options);
    auto closeAtOnce = [](QDialog& dialog) { dialog.reject(); };
    window->ExportService().onWindow = closeAtOnce;
    window->Windows().onWindow = closeAtOnce;
    window->Publishing().onWindow = closeAtOnce;
    messages_.SetDefaultAnswer(Answer::Cancel);
    // Whatever modal window a command opens (a file dialog, the print window) is closed.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    closer.start(50);
    for (bool edit : {true, false}) {
        if (window->Rules().EditMode() != edit) window->Rules().EditButtonClick();
        QApplication::processEvents();
        ASSERT_EQ(window->Rules().EditMode(), edit);
        QStringList names;
        for (QMenu* menu : window->menuBar()->findChildren<QMenu*>())
            for (QAction* action : menu->actions())
                if (!action->menu() && action->objectName().startsWith("MI") &&
                    action->objectName() != "MIFileExit")
                    names << action->objectName();
        ASSERT_GT(names.size(), 10);
        for (const QString& name : names) {
            // The menus are built again when a command changes them: the live item is used.
            QAction* live = window->findChild<QAction*>(name);
            if (!live) continue;
            messages_.Clear();
            live->trigger();
            QApplication::processEvents();
            for (const Message& shown : messages_.Shown())
                EXPECT_NE(shown.text, std::string(kNotSupported)) << name.toStdString();
            if (window->Rules().EditMode() != edit) window->Rules().EditButtonClick();
        }
    }
}

}  // namespace
}  // namespace orvo::test

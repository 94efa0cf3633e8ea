// The main window's texts come from its localisation block: the built-in Italian one, and
// another block that replaces every text; and the program's icon, shown and installed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QToolBar>

#include <set>

#include "MainWindowSupport.h"
#include "app/CommandLine.h"
#include "app/MainFormBlock.h"
#include "app/MenuCatalogue.h"
#include "app/u3LOCforms.h"
#include "app/u3MainForm.h"
#include "app/uQzLangs.h"
#include "support/TestSupport.h"
#include "ui/QtConvert.h"
#include "ui/app/HistoryBox.h"
#include "ui/app/PageListView.h"
#include "ui/app/QtLocalizer.h"

namespace orvo::test {
namespace {

using ::testing::HasSubstr;

QStringList MenuTitles(MainWindow& window) {
    QStringList titles;
    for (QAction* action : window.menuBar()->actions()) titles << action->text();
    return titles;
}

QString ActionText(MainWindow& window, const char* name) {
    auto* action = window.findChild<QAction*>(QString::fromLatin1(name));
    return action ? action->text() : QStringLiteral("<none>");
}

QStringList ListColumns(MainWindow& window) {
    QStringList columns;
    for (int c = 0; c < window.PageList().columnCount(); ++c)
        columns << window.PageList().headerItem()->text(c);
    return columns;
}

QStringList PanelTabs(MainWindow& window) {
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("PCPagine"));
    QStringList texts;
    for (int i = 0; tabs && i < tabs->count(); ++i) texts << tabs->tabText(i);
    return texts;
}

QString LabelText(MainWindow& window, const char* name) {
    auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<none>");
}

// An English block for the same window.
constexpr std::string_view kEnglish =
    "*_*mfile_caption\r\n &Document\r\n"
    "*_*mipertesto_caption\r\n Hyper&text\r\n"
    "*_*mifileopen_caption\r\n &Open...\r\n"
    "*_*mifilesave_caption\r\n &Save all\r\n"
    "*_*mihypertextcover_caption\r\n &Cover page\r\n"
    "*_*misearchrepeatinhypertext_caption\r\n Repeat in the &hypertext\r\n"
    "*_*toolbarmain_caption\r\n Main\r\n"
    "*_*bprecedente_caption\r\n Back\r\n"
    "*_*bprecedente_hint\r\n The page seen before\r\n"
    "*_*bseguente_caption\r\n Forward\r\n"
    "*_*historycombo_hint\r\n Pages seen\r\n"
    "*_*tsindice_caption\r\n Contents\r\n"
    "*_*tselenco_caption\r\n Page list\r\n"
    "*_.lvpages_columns*item0_caption\r\n Title\r\n"
    "*_.lvpages_columns*item1_caption\r\n Size\r\n"
    "*_.lvpages_columns*item2_caption\r\n File name\r\n"
    "*_*lanteprima_caption\r\n Preview\r\n"
    "*_*lmodifica_caption\r\n Editing\r\n"
    "*_*opendialog_title\r\n Open a hypertext\r\n"
    "*_*savedialog_title\r\n Save as\r\n";

TEST(MainFormBlockTest, NamesEveryCommandOnceAndCarriesTheTableCaptionsEscaped) {
    const std::string& block = MainFormBlock();
    ASSERT_TRUE(CheckBlock(block).ok());
    EXPECT_EQ(LocalizationBlock("mainform"), block);
    std::set<std::string_view> names;
    for (const MenuItem& item : MenuCatalogue()) {
        const std::string_view name = CommandComponentName(item.command);
        ASSERT_FALSE(name.empty()) << item.caption;
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_FALSE(MenuComponentName(item.menu).empty()) << item.menu;
    }
    // An apostrophe is doubled in the block, and read back single.
    EXPECT_THAT(block, HasSubstr("*_*misearchrepeatinhypertext_caption\r\n Ripeti "
                                 "nell''&ipertesto\r\n"));
    EXPECT_THAT(block, HasSubstr("*_*mfile_caption\r\n &File\r\n"));
    EXPECT_THAT(block, HasSubstr("*_*mftp_caption\r\n Internet - &Ftp\r\n"));
    EXPECT_THAT(block, HasSubstr("*_*bprecedente_caption\r\n Indietro\r\n"));
    EXPECT_THAT(block, HasSubstr("*_.lvpages_columns*item0_caption\r\n Titolo\r\n"));
}

TEST_F(MainWindowTest, TheBuiltInBlockGivesTheWindowItsItalianTexts) {
    auto window = Open(first_);
    const QStringList menus = MenuTitles(*window);
    ASSERT_FALSE(menus.isEmpty());
    EXPECT_EQ(menus.front(), QStringLiteral("&File"));
    EXPECT_TRUE(menus.contains(QStringLiteral("Iper&testo"))) << menus.join(",").toStdString();
    EXPECT_EQ(ActionText(*window, "MIFileOpen"), QStringLiteral("&Apri..."));
    EXPECT_EQ(ActionText(*window, "MISearchRepeatInHypertext"),
              QStringLiteral("Ripeti nell'&ipertesto"));
    EXPECT_EQ(ActionText(*window, "MIHypertextCover"), QStringLiteral("&Copertina"));
    EXPECT_EQ(ActionText(*window, "BPrecedente"), QStringLiteral("Indietro"));
    EXPECT_EQ(ActionText(*window, "Bseguente"), QStringLiteral("Avanti"));
    EXPECT_EQ(ActionText(*window, "BApri"), QStringLiteral("Apri"));
    EXPECT_EQ(ActionText(*window, "EditButton"), QStringLiteral("Modifica"));
    EXPECT_EQ(window->findChild<QAction*>(QStringLiteral("EditButton"))->toolTip(),
              QStringLiteral("Modo editor"));
    EXPECT_EQ(window->findChild<QAction*>(QStringLiteral("BPrecedente"))->toolTip(),
              QStringLiteral("Torna alla pagina vista prima"));
    EXPECT_EQ(window->findChild<QToolBar*>(QStringLiteral("ToolBarMain"))->windowTitle(),
              QStringLiteral("Principale"));
    EXPECT_EQ(PanelTabs(*window),
              (QStringList{QStringLiteral("Indice"), QStringLiteral("Elenco pagine")}));
    EXPECT_EQ(ListColumns(*window),
              (QStringList{QStringLiteral("Titolo"), QStringLiteral("Dimensione"),
                           QStringLiteral("Nome file"), QString()}));
    EXPECT_EQ(LabelText(*window, "LAnteprima"), QStringLiteral("Anteprima"));
    EXPECT_EQ(LabelText(*window, "LModifica"), QStringLiteral("Modifica"));
    // The sample has no edit password: it opens in edit mode, and the status bar says so.
    ASSERT_TRUE(window->Rules().EditMode());
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("LAnteprima"))->isHidden());
    EXPECT_FALSE(window->findChild<QLabel*>(QStringLiteral("LModifica"))->isHidden());
    Preview(*window);
    EXPECT_FALSE(window->findChild<QLabel*>(QStringLiteral("LAnteprima"))->isHidden());
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("LModifica"))->isHidden());
    EXPECT_EQ(window->findChild<QObject*>(QStringLiteral("OpenDialog"))->property("title"),
              QStringLiteral("Apri"));
}

TEST_F(MainWindowTest, AnotherBlockReplacesTheTextsAndTheyOutliveAModeChange) {
    auto window = Open(first_);
    ASSERT_TRUE(window->SetLocalization(kEnglish).ok());
    EXPECT_EQ(MenuTitles(*window).front(), QStringLiteral("&Document"));
    EXPECT_TRUE(MenuTitles(*window).contains(QStringLiteral("Hyper&text")));
    EXPECT_EQ(ActionText(*window, "MIFileOpen"), QStringLiteral("&Open..."));
    EXPECT_EQ(ActionText(*window, "BPrecedente"), QStringLiteral("Back"));
    EXPECT_EQ(window->findChild<QAction*>(QStringLiteral("BPrecedente"))->toolTip(),
              QStringLiteral("The page seen before"));
    EXPECT_EQ(ActionText(*window, "Bseguente"), QStringLiteral("Forward"));
    EXPECT_EQ(window->History().toolTip(), QStringLiteral("Pages seen"));
    EXPECT_EQ(PanelTabs(*window),
              (QStringList{QStringLiteral("Contents"), QStringLiteral("Page list")}));
    EXPECT_EQ(ListColumns(*window).mid(0, 3),
              (QStringList{QStringLiteral("Title"), QStringLiteral("Size"),
                           QStringLiteral("File name")}));
    EXPECT_EQ(LabelText(*window, "LAnteprima"), QStringLiteral("Preview"));
    EXPECT_EQ(window->findChild<QObject*>(QStringLiteral("SaveDialog"))->property("title"),
              QStringLiteral("Save as"));
    // A text the block leaves out keeps the one it had.
    EXPECT_EQ(ActionText(*window, "BApri"), QStringLiteral("Apri"));

    EXPECT_EQ(ActionText(*window, "MIFileSave"), QStringLiteral("&Save all"));
    EXPECT_EQ(LabelText(*window, "LModifica"), QStringLiteral("Editing"));

    // Preview mode builds the menus anew: the new items are named by the same block, the
    // edit-only ones are gone.
    Preview(*window);
    EXPECT_EQ(MenuTitles(*window).front(), QStringLiteral("&Document"));
    EXPECT_EQ(ActionText(*window, "MIFileOpen"), QStringLiteral("&Open..."));
    EXPECT_EQ(window->findChildren<QAction*>(QStringLiteral("MIFileOpen")).size(), 1);
    EXPECT_EQ(ActionText(*window, "MIFileSave"), QStringLiteral("<none>"));
    EXPECT_EQ(LabelText(*window, "LAnteprima"), QStringLiteral("Preview"));
    EXPECT_FALSE(window->findChild<QLabel*>(QStringLiteral("LAnteprima"))->isHidden());

    // A block that breaks the form is refused whole.
    const Status broken = window->SetLocalization("*_*bprecedente_caption\r\n Zurück\r\nx\r\n y");
    EXPECT_FALSE(broken.ok());
    EXPECT_EQ(ActionText(*window, "BPrecedente"), QStringLiteral("Back"));
}

TEST_F(MainWindowTest, ABlockGivenAtCreationIsTheOneTheWindowStartsWith) {
    MainWindowOptions options;
    options.localization = std::string(kEnglish);
    auto window = Open(first_, options);
    EXPECT_EQ(MenuTitles(*window).front(), QStringLiteral("&Document"));
    EXPECT_EQ(ActionText(*window, "BPrecedente"), QStringLiteral("Back"));
    EXPECT_EQ(ListColumns(*window).front(), QStringLiteral("Title"));
}

TEST(ProgramIconTest, TheSvgIsTheCommittedFileAndDrawsThePageOnBlue) {
    EnsureApplication();
    EXPECT_EQ(std::string(ProgramIconSvg()),
              ReadFile(std::filesystem::path(ORVO_SOURCE_DIR) / "src/ui/app/icons/orvo.svg"));
    QSvgRenderer renderer(QByteArray(ProgramIconSvg().data(), qsizetype(ProgramIconSvg().size())));
    ASSERT_TRUE(renderer.isValid());
    const QIcon icon = ProgramIcon();
    ASSERT_FALSE(icon.isNull());
    const QImage image = icon.pixmap(64, 64).toImage();
    ASSERT_EQ(image.size(), QSize(64, 64));
    // Transparent outside the rounded corner, blue on the square, white on the page, the
    // ring blue again, the line under it red.
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    const QColor square = image.pixelColor(8, 40);
    EXPECT_GT(square.blue(), 150);
    EXPECT_LT(square.red(), 80);
    EXPECT_EQ(image.pixelColor(22, 20), QColor(Qt::white));
    const QColor ring = image.pixelColor(24, 35);  // the ring's left side
    EXPECT_GT(ring.blue(), 120);
    EXPECT_LT(ring.red(), 80);
    const QColor line = image.pixelColor(32, 48);
    EXPECT_GT(line.red(), 180);
    EXPECT_LT(line.blue(), 80);
}

TEST_F(MainWindowTest, InitInstallsTheIconAndTheEntryNamesIt) {
    MainWindowOptions options;
    options.programPath = "/opt/orvo/bin/orvo";
    const auto home = TestDir() / "share";
    options.desktopDataHome = home;
    options.messages = &messages_;
    MainWindow window(environment_, settings_, shell_, options);
    CommandLine line;
    line.install = true;
    window.Start(line);
    const DesktopRegistration paths = DesktopRegistrationPaths(home);
    EXPECT_EQ(ReadFile(paths.icon), std::string(ProgramIconSvg()));
    EXPECT_EQ(ReadFile(paths.desktopEntry), DesktopEntryText("/opt/orvo/bin/orvo", paths.icon));
    EXPECT_THAT(ReadFile(paths.desktopEntry), HasSubstr("\nIcon=" + paths.icon.string() + "\n"));
    EXPECT_FALSE(window.windowIcon().isNull());
}

}  // namespace
}  // namespace orvo::test

// The recent-file list, the page history and the command table, each on its own.
#include <set>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/MenuCatalogue.h"
#include "app/PageHistory.h"
#include "app/RecentFiles.h"
#include "base/Cp1252.h"
#include "platform/ISettings.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;

std::vector<std::string> Paths(std::initializer_list<const char*> list) {
    return {list.begin(), list.end()};
}

TEST(RecentFileList, ASixthDistinctPathDropsTheOldest) {
    RecentFiles recent;
    for (const char* p : {"/a.kyt", "/b.kyt", "/c.kyt", "/d.kyt", "/e.kyt", "/f.kyt"})
        recent.Add(p);
    EXPECT_EQ(recent.Entries(), Paths({"/b.kyt", "/c.kyt", "/d.kyt", "/e.kyt", "/f.kyt"}));
}

TEST(RecentFileList, ReaddingAPathMovesItToTheEnd) {
    RecentFiles recent;
    for (const char* p : {"/a.kyt", "/b.kyt", "/c.kyt"}) recent.Add(p);
    recent.Add("/a.kyt");
    EXPECT_EQ(recent.Entries(), Paths({"/b.kyt", "/c.kyt", "/a.kyt"}));
    EXPECT_TRUE(recent.Remove("/c.kyt"));
    EXPECT_FALSE(recent.Remove("/c.kyt"));
    EXPECT_EQ(recent.Entries(), Paths({"/b.kyt", "/a.kyt"}));
}

TEST(RecentFileList, SavingWritesAllFiveSlotsSoRemovedEntriesStayRemoved) {
    MemorySettings settings;
    for (int i = 0; i < 5; ++i)
        settings.Write("RecentFile", std::to_string(i), "/old" + std::to_string(i) + ".kyt");
    RecentFiles recent;
    recent.Load(settings);
    ASSERT_EQ(recent.Entries().size(), 5u);
    recent.Remove("/old1.kyt");
    recent.Remove("/old3.kyt");
    recent.Save(settings);
    EXPECT_EQ(settings.ReadString("RecentFile", "0"), "/old0.kyt");
    EXPECT_EQ(settings.ReadString("RecentFile", "1"), "/old2.kyt");
    EXPECT_EQ(settings.ReadString("RecentFile", "2"), "/old4.kyt");
    EXPECT_EQ(settings.Read("RecentFile", "3"), std::optional<std::string>(""));
    EXPECT_EQ(settings.Read("RecentFile", "4"), std::optional<std::string>(""));
    RecentFiles again;
    again.Load(settings);
    EXPECT_EQ(again.Entries(), Paths({"/old0.kyt", "/old2.kyt", "/old4.kyt"}));
}

TEST(RecentFileList, LoadingSkipsEmptySlotsAndKeepsWindowsBytes) {
    MemorySettings settings;
    settings.Write("recentfile", "1", "/perch\xE9.kyt");
    settings.Write("RecentFile", "3", "/z.kyt");
    RecentFiles recent;
    recent.Load(settings);
    EXPECT_EQ(recent.Entries(), Paths({"/perch\xE9.kyt", "/z.kyt"}));
}

TEST(PageHistoryEntries, AreOrvoLinksOfPathAndPage) {
    EXPECT_EQ(PageHistory::EntryFor("/doc/Libro.kyt", 5), "orvo:///doc/Libro.kyt|5");
    EXPECT_EQ(PageHistory::Parse("orvo:///doc/Libro.kyt|5"), (HistoryTarget{"/doc/Libro.kyt", 5}));
    // A path stored in Windows form by an older document.
    EXPECT_EQ(PageHistory::Parse("orvo://C:\\doc\\Libro.kyt|12"),
              (HistoryTarget{"/doc/Libro.kyt", 12}));
    // The last "|" separates the page, so a name may hold one.
    EXPECT_EQ(PageHistory::Parse("orvo:///a|b.kyt|3"), (HistoryTarget{"/a|b.kyt", 3}));
}

TEST(PageHistoryEntries, TextThatIsNotAnEntryIsRefused) {
    for (const char* bad : {"", "orvo://", "orvo://a.kyt", "orvo://a.kyt|", "orvo://|3",
                            "orvo://a.kyt|x", "orvo://a.kyt|3x", "http://a|3", "orvo:a.kyt|3"})
        EXPECT_EQ(PageHistory::Parse(bad), std::nullopt) << bad;
    EXPECT_EQ(PageHistory::Parse("orvo://a.kyt|99999999999999")->page, 0x7FFFFFFF);
}

TEST(PageHistoryNavigation, ANewPageGoesRightAfterTheCurrentOneAndBecomesCurrent) {
    PageHistory history;
    history.Record("/a.kyt", 0);
    history.Record("/a.kyt", 1);
    history.Record("/a.kyt", 2);
    EXPECT_EQ(history.Back(), (HistoryTarget{"/a.kyt", 1}));
    EXPECT_EQ(history.Back(), (HistoryTarget{"/a.kyt", 0}));
    EXPECT_EQ(history.Back(), std::nullopt);
    history.Record("/a.kyt", 7);  // inserted after entry 0; the later entries stay
    EXPECT_THAT(history.Entries(), ElementsAre("orvo:///a.kyt|0", "orvo:///a.kyt|7",
                                               "orvo:///a.kyt|1", "orvo:///a.kyt|2"));
    EXPECT_EQ(history.Current(), 1);
    EXPECT_EQ(history.Forward(), (HistoryTarget{"/a.kyt", 1}));
    EXPECT_EQ(history.Forward(), (HistoryTarget{"/a.kyt", 2}));
    EXPECT_EQ(history.Forward(), std::nullopt);
    EXPECT_EQ(history.Current(), 3);
}

TEST(PageHistoryNavigation, TheCurrentPageIsNotRecordedTwice) {
    PageHistory history;
    history.Record("/a.kyt", 4);
    history.Record("/a.kyt", 4);
    history.Record("/b.kyt", 4);
    EXPECT_THAT(history.Entries(), ElementsAre("orvo:///a.kyt|4", "orvo:///b.kyt|4"));
    EXPECT_EQ(history.Select(0), (HistoryTarget{"/a.kyt", 4}));
    EXPECT_EQ(history.Select(2), std::nullopt);
    EXPECT_EQ(history.Select(-1), std::nullopt);
    EXPECT_EQ(history.Current(), 0);
}

constexpr std::initializer_list<CommandId> kEveryCommand = {CommandId::FileNew,
                                                            CommandId::FileNewFrom,
                                                            CommandId::FileOpen,
                                                            CommandId::FileSave,
                                                            CommandId::FileSaveAs,
                                                            CommandId::FileSaveAsTemplate,
                                                            CommandId::FileImport,
                                                            CommandId::FileExportPages,
                                                            CommandId::FilePrinterSetup,
                                                            CommandId::FileMargins,
                                                            CommandId::FilePrint,
                                                            CommandId::FilePrintCurrent,
                                                            CommandId::FilePrintAll,
                                                            CommandId::FilePageList,
                                                            CommandId::FileExit,
                                                            CommandId::EditUndo,
                                                            CommandId::EditRedo,
                                                            CommandId::EditCut,
                                                            CommandId::EditCopy,
                                                            CommandId::EditPaste,
                                                            CommandId::EditSelectAll,
                                                            CommandId::SearchFind,
                                                            CommandId::SearchReplace,
                                                            CommandId::SearchKeyword,
                                                            CommandId::SearchRepeatInPage,
                                                            CommandId::SearchRepeatInHypertext,
                                                            CommandId::InsertSymbol,
                                                            CommandId::InsertImage,
                                                            CommandId::InsertTable,
                                                            CommandId::InsertAnimation,
                                                            CommandId::InsertEmbed,
                                                            CommandId::InsertForms,
                                                            CommandId::InsertAnchor,
                                                            CommandId::InsertLink,
                                                            CommandId::InsertSpecialLink,
                                                            CommandId::InsertNewPage,
                                                            CommandId::TableAddRow,
                                                            CommandId::TableDeleteRow,
                                                            CommandId::TableAddColumn,
                                                            CommandId::TableDeleteColumn,
                                                            CommandId::TableProperties,
                                                            CommandId::FormatFont,
                                                            CommandId::FormatNormal,
                                                            CommandId::FormatSuperscript,
                                                            CommandId::FormatSubscript,
                                                            CommandId::FormatStyles,
                                                            CommandId::FormatParagraphStyle,
                                                            CommandId::FormatNewStyle,
                                                            CommandId::FormatReformat,
                                                            CommandId::HypertextProperties,
                                                            CommandId::HypertextCover,
                                                            CommandId::HypertextContents,
                                                            CommandId::HypertextReadOnly,
                                                            CommandId::HypertextPreviousPage,
                                                            CommandId::HypertextNextPage,
                                                            CommandId::HypertextReloadPage,
                                                            CommandId::HypertextAlbum,
                                                            CommandId::HypertextDeletePages,
                                                            CommandId::PublishFtp,
                                                            CommandId::PublishConfigurations,
                                                            CommandId::PreviewPageInBrowser,
                                                            CommandId::PreviewAllInBrowser,
                                                            CommandId::PublishExportHtml,
                                                            CommandId::PublishExportWinHelp,
                                                            CommandId::ToolsSpellPage,
                                                            CommandId::ToolsSpellHypertext,
                                                            CommandId::ToolsOptions,
                                                            CommandId::PageProperties};

TEST(CommandTable, EveryCommandHasExactlyOneRow) {
    std::set<CommandId> seen;
    for (const MenuItem& item : MenuCatalogue()) EXPECT_TRUE(seen.insert(item.command).second);
    for (CommandId c : kEveryCommand) {
        EXPECT_EQ(seen.count(c), 1u) << int(c);
        EXPECT_EQ(MenuItemOf(c).command, c);
    }
    EXPECT_EQ(seen.size(), kEveryCommand.size());
}

TEST(CommandTable, CaptionsAreTheWindowsOwnBytes) {
    EXPECT_EQ(MenuItemOf(CommandId::TableProperties).caption, "&Propriet\xE0 tabella/caselle...");
    EXPECT_EQ(MenuItemOf(CommandId::HypertextProperties).caption,
              "&Propriet\xE0 dell'ipertesto corrente...");
    EXPECT_EQ(MenuItemOf(CommandId::PublishFtp).submenu, "Internet - &Ftp");
    EXPECT_EQ(MenuItemOf(CommandId::PreviewAllInBrowser).caption,
              "&Tutto l'ipertesto in browser di default");
    EXPECT_EQ(MenuItemOf(CommandId::PreviewAllInBrowser).menu, "&Pubblica");
}

std::vector<std::string_view> Captions(bool editMode, const Services& built) {
    std::vector<std::string_view> captions;
    for (const MenuItem* item : VisibleItems(editMode, built)) captions.push_back(item->caption);
    return captions;
}

bool Shows(const std::vector<std::string_view>& captions, std::string_view caption) {
    return std::find(captions.begin(), captions.end(), caption) != captions.end();
}

TEST(CommandTable, CommandsThatChangeTheDocumentShowOnlyInEditMode) {
    const Services all{Service::Printing,         Service::Editing,        Service::Search,
                       Service::Insertion,        Service::Tables,         Service::Formatting,
                       Service::HypertextOptions, Service::Album,          Service::Publishing,
                       Service::HtmlExport,       Service::RtfExport,      Service::Import,
                       Service::SpellCheck,       Service::ProgramOptions, Service::ExportWindow};
    const auto edit = Captions(true, all);
    const auto preview = Captions(false, all);
    for (std::string_view c :
         {"&Salva tutto", "Salva &con nome...", "&Importa/apri pagine...", "&Taglia", "&Incolla",
          "Co&llegamento...", "&Nuova pagina...", "&Aggiungi riga", "&Carattere...",
          "&Pubblica ipertesto in rete...", "Esporta &Html...", "&Opzioni del programma..."}) {
        EXPECT_TRUE(Shows(edit, c)) << c;
        EXPECT_FALSE(Shows(preview, c)) << c;
    }
    for (std::string_view c : {"Ricarica pa&gina", "Solo &lettura"}) {
        EXPECT_FALSE(Shows(edit, c)) << c;
        EXPECT_TRUE(Shows(preview, c)) << c;
    }
    for (std::string_view c : {"&Nuovo ipertesto", "&Apri...", "&Esci", "&Copia", "&Cerca...",
                               "Stam&pa...", "P&agina precedente", "&Copertina"}) {
        EXPECT_TRUE(Shows(edit, c)) << c;
        EXPECT_TRUE(Shows(preview, c)) << c;
    }
}

TEST(CommandTable, AnItemWhoseServiceIsNotBuiltIsAbsent) {
    const auto edit = Captions(true, Services{});
    // Only the main window's own commands remain.
    for (const MenuItem* item : VisibleItems(true, Services{}))
        EXPECT_EQ(item->service, Service::MainWindow) << item->caption;
    EXPECT_TRUE(Shows(edit, "&Salva tutto"));
    EXPECT_FALSE(Shows(edit, "Stam&pa..."));
    EXPECT_FALSE(Shows(edit, "Esporta &WinHelp..."));
    // The three export commands open the export window: they show exactly when it is built,
    // whatever converters there are.
    const auto converters = Captions(true, Services{Service::RtfExport, Service::HtmlExport});
    const auto window = Captions(true, Services{Service::ExportWindow});
    for (std::string_view c : {"Esp&orta pagine...", "Esporta &Html...", "Esporta &WinHelp..."}) {
        EXPECT_FALSE(Shows(converters, c)) << c;
        EXPECT_TRUE(Shows(window, c)) << c;
    }
}

}  // namespace
}  // namespace orvo

// The command table of the main window.
#include "app/MenuCatalogue.h"

#include <array>

#include "base/Cp1252.h"

namespace orvo {

using namespace orvo::literals;

namespace {

using C = CommandId;
using S = Service;
constexpr Modes E = Modes::Edit;
constexpr Modes P = Modes::Preview;
constexpr Modes B = Modes::Both;

constexpr std::string_view kFile = "&File";
constexpr std::string_view kEdit = "&Modifica";
constexpr std::string_view kSearch = "&Cerca";
constexpr std::string_view kInsert = "&Inserisci";
constexpr std::string_view kTable = "T&abella";
constexpr std::string_view kFormat = "Fo&rmato";
constexpr std::string_view kHypertext = "Iper&testo";
constexpr std::string_view kPublish = "&Pubblica";
constexpr std::string_view kTools = "&Strumenti";
constexpr std::string_view kFtp = "Internet - &Ftp";
constexpr std::string_view kPreview = "&Anteprima in browser";

// Commands that change the document show only in edit mode; "Ricarica pa&gina" only in
// preview mode; looking, copying, printing and moving between pages in both.
constexpr std::array kItems{
    MenuItem{kFile, "", "&Nuovo ipertesto", C::FileNew, B, S::MainWindow},
    MenuItem{kFile, "", "N&uovo da...", C::FileNewFrom, B, S::MainWindow},
    MenuItem{kFile, "", "&Apri...", C::FileOpen, B, S::MainWindow},
    MenuItem{kFile, "", "&Salva tutto", C::FileSave, E, S::MainWindow},
    MenuItem{kFile, "", "Salva &con nome...", C::FileSaveAs, E, S::MainWindow},
    MenuItem{kFile, "", "Salva come mo&dello...", C::FileSaveAsTemplate, E, S::MainWindow},
    MenuItem{kFile, "", "&Importa/apri pagine...", C::FileImport, E, S::Import},
    MenuItem{kFile, "", "Esp&orta pagine...", C::FileExportPages, E, S::ExportWindow},
    MenuItem{kFile, "", "I&mposta stampante...", C::FilePrinterSetup, B, S::Printing},
    MenuItem{kFile, "", "Imposta mar&gini...", C::FileMargins, B, S::Printing},
    MenuItem{kFile, "", "Stam&pa...", C::FilePrint, B, S::Printing},
    MenuItem{kFile, "", "Stampa pagina corrente", C::FilePrintCurrent, B, S::Printing},
    MenuItem{kFile, "", "Stampa tutte", C::FilePrintAll, B, S::Printing},
    MenuItem{kFile, "", "&Lista pagine...", C::FilePageList, E, S::Album},
    MenuItem{kFile, "", "&Esci", C::FileExit, B, S::MainWindow},
    MenuItem{kEdit, "", "&Undo", C::EditUndo, E, S::Editing},
    MenuItem{kEdit, "", "&Annulla undo", C::EditRedo, E, S::Editing},
    MenuItem{kEdit, "", "&Taglia", C::EditCut, E, S::Editing},
    MenuItem{kEdit, "", "&Copia", C::EditCopy, B, S::Editing},
    MenuItem{kEdit, "", "&Incolla", C::EditPaste, E, S::Editing},
    MenuItem{kEdit, "", "&Seleziona tutto", C::EditSelectAll, B, S::Editing},
    MenuItem{kSearch, "", "&Cerca...", C::SearchFind, B, S::Search},
    MenuItem{kSearch, "", "Cerca / &Sostituisci...", C::SearchReplace, E, S::Search},
    MenuItem{kSearch, "", "Cerca per parola c&hiave...", C::SearchKeyword, B, S::Search},
    MenuItem{kSearch, "", "&Ripeti ultima ricerca nella pagina", C::SearchRepeatInPage, B,
             S::Search},
    MenuItem{kSearch, "", "Ripeti nell'&ipertesto", C::SearchRepeatInHypertext, B, S::Search},
    MenuItem{kInsert, "", "&Simbolo...", C::InsertSymbol, E, S::Insertion},
    MenuItem{kInsert, "", "&Immagine/mappa...", C::InsertImage, E, S::Pictures},
    MenuItem{kInsert, "", "&Tabella...", C::InsertTable, E, S::Tables},
    MenuItem{kInsert, "", "&Animazione/suono...", C::InsertAnimation, E, S::Insertion},
    MenuItem{kInsert, "", "&Embed/Java/activeX...", C::InsertEmbed, E, S::Insertion},
    MenuItem{kInsert, "", "&Moduli", C::InsertForms, E, S::Insertion},
    MenuItem{kInsert, "", "Anco&ra", C::InsertAnchor, E, S::Insertion},
    MenuItem{kInsert, "", "Co&llegamento...", C::InsertLink, E, S::Insertion},
    MenuItem{kInsert, "", "&Collegamento speciale...", C::InsertSpecialLink, E, S::Insertion},
    MenuItem{kInsert, "", "&Nuova pagina...", C::InsertNewPage, E, S::Insertion},
    MenuItem{kTable, "", "&Aggiungi riga", C::TableAddRow, E, S::Tables},
    MenuItem{kTable, "", "&Elimina riga", C::TableDeleteRow, E, S::Tables},
    MenuItem{kTable, "", "&Aggiungi colonna", C::TableAddColumn, E, S::Tables},
    MenuItem{kTable, "", "&Elimina colonna", C::TableDeleteColumn, E, S::Tables},
    MenuItem{kTable, "", "&Proprietà tabella/caselle..."_cp, C::TableProperties, E, S::Tables},
    MenuItem{kFormat, "", "&Carattere...", C::FormatFont, E, S::Formatting},
    MenuItem{kFormat, "", "N&ormale", C::FormatNormal, E, S::Formatting},
    MenuItem{kFormat, "", "&Apice", C::FormatSuperscript, E, S::Formatting},
    MenuItem{kFormat, "", "&Pedice", C::FormatSubscript, E, S::Formatting},
    MenuItem{kFormat, "", "&Stili...", C::FormatStyles, E, S::Styles},
    MenuItem{kFormat, "", "S&tile paragrafo...", C::FormatParagraphStyle, E, S::Formatting},
    MenuItem{kFormat, "", "&Nuovo stile...", C::FormatNewStyle, E, S::Styles},
    MenuItem{kFormat, "", "&Riformatta", C::FormatReformat, E, S::Formatting},
    MenuItem{kHypertext, "", "&Proprietà pagina..."_cp, C::PageProperties, E, S::HypertextOptions},
    MenuItem{kHypertext, "", "&Proprietà dell'ipertesto corrente..."_cp, C::HypertextProperties, E,
             S::HypertextOptions},
    MenuItem{kHypertext, "", "&Copertina", C::HypertextCover, B, S::MainWindow},
    MenuItem{kHypertext, "", "&Sommario", C::HypertextContents, B, S::MainWindow},
    MenuItem{kHypertext, "", "Solo &lettura", C::HypertextReadOnly, P, S::MainWindow},
    MenuItem{kHypertext, "", "P&agina precedente", C::HypertextPreviousPage, B, S::MainWindow},
    MenuItem{kHypertext, "", "Pagi&na seguente", C::HypertextNextPage, B, S::MainWindow},
    MenuItem{kHypertext, "", "Ricarica pa&gina", C::HypertextReloadPage, P, S::MainWindow},
    MenuItem{kHypertext, "", "&Album immagini - files - pagine e cancellazioni...",
             C::HypertextAlbum, E, S::Album},
    MenuItem{kHypertext, "", "&Cancella pagine...", C::HypertextDeletePages, E, S::Album},
    MenuItem{kPublish, kFtp, "&Pubblica ipertesto in rete...", C::PublishFtp, E, S::Publishing},
    MenuItem{kPublish, kFtp, "&Configurazioni...", C::PublishConfigurations, E, S::Publishing},
    MenuItem{kPublish, kPreview, "&Corrente pagina in browser di default", C::PreviewPageInBrowser,
             E, S::HtmlExport},
    MenuItem{kPublish, kPreview, "&Tutto l'ipertesto in browser di default", C::PreviewAllInBrowser,
             E, S::HtmlExport},
    MenuItem{kPublish, "", "Esporta &Html...", C::PublishExportHtml, E, S::ExportWindow},
    MenuItem{kPublish, "", "Esporta &WinHelp...", C::PublishExportWinHelp, E, S::ExportWindow},
    MenuItem{kTools, "", "&Controllo ortografia pagina...", C::ToolsSpellPage, E, S::SpellCheck},
    MenuItem{kTools, "", "Controllo ortografia &ipertesto...", C::ToolsSpellHypertext, E,
             S::SpellCheck},
    MenuItem{kTools, "", "&Opzioni del programma...", C::ToolsOptions, E, S::ProgramOptions},
};

}  // namespace

std::span<const MenuItem> MenuCatalogue() {
    return kItems;
}

const MenuItem& MenuItemOf(CommandId command) {
    for (const MenuItem& item : kItems)
        if (item.command == command) return item;
    return kItems.front();  // every command has a row (checked by the tests)
}

bool ItemShows(const MenuItem& item, bool editMode, const Services& built) {
    const auto wanted = std::uint8_t(editMode ? Modes::Edit : Modes::Preview);
    return (std::uint8_t(item.modes) & wanted) != 0 && built.Has(item.service);
}

std::vector<const MenuItem*> VisibleItems(bool editMode, const Services& built) {
    std::vector<const MenuItem*> shown;
    for (const MenuItem& item : kItems)
        if (ItemShows(item, editMode, built)) shown.push_back(&item);
    return shown;
}

}  // namespace orvo

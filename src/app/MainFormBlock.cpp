// The main window's block of the Italian build. The command captions are the command table's
// own; the rest are the window's texts.
#include "app/MainFormBlock.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "app/uQzLangs.h"
#include "base/Cp1252.h"

namespace orvo {

using namespace orvo::literals;

namespace {

using C = CommandId;

constexpr std::array<std::pair<CommandId, std::string_view>, 68> kCommandNames{{
    {C::FileNew, "MIFileNew"},
    {C::FileNewFrom, "MIFileNewFrom"},
    {C::FileOpen, "MIFileOpen"},
    {C::FileSave, "MIFileSave"},
    {C::FileSaveAs, "MIFileSaveAs"},
    {C::FileSaveAsTemplate, "MIFileSaveAsTemplate"},
    {C::FileImport, "MIFileImport"},
    {C::FileExportPages, "MIFileExportPages"},
    {C::FilePrinterSetup, "MIFilePrinterSetup"},
    {C::FileMargins, "MIFileMargins"},
    {C::FilePrint, "MIFilePrint"},
    {C::FilePrintCurrent, "MIFilePrintCurrent"},
    {C::FilePrintAll, "MIFilePrintAll"},
    {C::FilePageList, "MIFilePageList"},
    {C::FileExit, "MIFileExit"},
    {C::EditUndo, "MIEditUndo"},
    {C::EditRedo, "MIEditRedo"},
    {C::EditCut, "MIEditCut"},
    {C::EditCopy, "MIEditCopy"},
    {C::EditPaste, "MIEditPaste"},
    {C::EditSelectAll, "MIEditSelectAll"},
    {C::SearchFind, "MISearchFind"},
    {C::SearchReplace, "MISearchReplace"},
    {C::SearchKeyword, "MISearchKeyword"},
    {C::SearchRepeatInPage, "MISearchRepeatInPage"},
    {C::SearchRepeatInHypertext, "MISearchRepeatInHypertext"},
    {C::InsertSymbol, "MIInsertSymbol"},
    {C::InsertImage, "MIInsertImage"},
    {C::InsertTable, "MIInsertTable"},
    {C::InsertAnimation, "MIInsertAnimation"},
    {C::InsertEmbed, "MIInsertEmbed"},
    {C::InsertForms, "MIInsertForms"},
    {C::InsertAnchor, "MIInsertAnchor"},
    {C::InsertLink, "MIInsertLink"},
    {C::InsertSpecialLink, "MIInsertSpecialLink"},
    {C::InsertNewPage, "MIInsertNewPage"},
    {C::TableAddRow, "MITableAddRow"},
    {C::TableDeleteRow, "MITableDeleteRow"},
    {C::TableAddColumn, "MITableAddColumn"},
    {C::TableDeleteColumn, "MITableDeleteColumn"},
    {C::TableProperties, "MITableProperties"},
    {C::FormatFont, "MIFormatFont"},
    {C::FormatNormal, "MIFormatNormal"},
    {C::FormatSuperscript, "MIFormatSuperscript"},
    {C::FormatSubscript, "MIFormatSubscript"},
    {C::FormatStyles, "MIFormatStyles"},
    {C::FormatParagraphStyle, "MIFormatParagraphStyle"},
    {C::FormatNewStyle, "MIFormatNewStyle"},
    {C::FormatReformat, "MIFormatReformat"},
    {C::HypertextProperties, "MIHypertextProperties"},
    {C::HypertextCover, "MIHypertextCover"},
    {C::HypertextContents, "MIHypertextContents"},
    {C::HypertextReadOnly, "MIHypertextReadOnly"},
    {C::HypertextPreviousPage, "MIHypertextPreviousPage"},
    {C::HypertextNextPage, "MIHypertextNextPage"},
    {C::HypertextReloadPage, "MIHypertextReloadPage"},
    {C::HypertextAlbum, "MIHypertextAlbum"},
    {C::HypertextDeletePages, "MIHypertextDeletePages"},
    {C::PublishFtp, "MIPublishFtp"},
    {C::PublishConfigurations, "MIPublishConfigurations"},
    {C::PreviewPageInBrowser, "MIPreviewPageInBrowser"},
    {C::PreviewAllInBrowser, "MIPreviewAllInBrowser"},
    {C::PublishExportHtml, "MIPublishExportHtml"},
    {C::PublishExportWinHelp, "MIPublishExportWinHelp"},
    {C::ToolsSpellPage, "MIToolsSpellPage"},
    {C::ToolsSpellHypertext, "MIToolsSpellHypertext"},
    {C::ToolsOptions, "MIToolsOptions"},
    {C::PageProperties, "MIPageProperties"},
}};

constexpr std::array<std::pair<std::string_view, std::string_view>, 11> kMenuNames{{
    {"&File", "MFile"},
    {"&Modifica", "MModifica"},
    {"&Cerca", "MCerca"},
    {"&Inserisci", "MInserisci"},
    {"T&abella", "MTabella"},
    {"Fo&rmato", "MFormato"},
    {"Iper&testo", "MIpertesto"},
    {"&Pubblica", "MPubblica"},
    {"&Strumenti", "MStrumenti"},
    {"Internet - &Ftp", "MFtp"},
    {"&Anteprima in browser", "MAnteprima"},
}};

// The window's own texts, as block lines.
constexpr std::string_view kWindowTexts =
    "*_*toolbarmain_caption\r\n Principale\r\n"
    "*_*bapri_caption\r\n Apri\r\n"
    "*_*bapri_hint\r\n Apri un ipertesto o un altro file\r\n"
    "*_*bsalva_caption\r\n Salva\r\n"
    "*_*bsalva_hint\r\n Salva l''ipertesto\r\n"
    "*_*editbutton_caption\r\n Modifica\r\n"
    "*_*editbutton_hint\r\n Modo editor\r\n"
    "*_*bprecedente_caption\r\n Indietro\r\n"
    "*_*bprecedente_hint\r\n Torna alla pagina vista prima\r\n"
    "*_*bseguente_caption\r\n Avanti\r\n"
    "*_*bseguente_hint\r\n Vai alla pagina vista dopo\r\n"
    "*_*historycombo_hint\r\n Pagine visitate\r\n"
    "*_*tsindice_caption\r\n Indice\r\n"
    "*_*tselenco_caption\r\n Elenco pagine\r\n"
    "*_.lvpages_columns*item0_caption\r\n Titolo\r\n"
    "*_.lvpages_columns*item1_caption\r\n Dimensione\r\n"
    "*_.lvpages_columns*item1_alignment\r\n taRightJustify\r\n"
    "*_.lvpages_columns*item2_caption\r\n Nome file\r\n"
    "*_.lvpages_columns*item3_caption\r\n \r\n"
    "*_.lvpages_columns*item3_alignment\r\n taRightJustify\r\n"
    "*_*lanteprima_caption\r\n Anteprima\r\n"
    "*_*lanteprima_hint\r\n Le pagine si sfogliano seguendo i collegamenti\r\n"
    "*_*lmodifica_caption\r\n Modifica\r\n"
    "*_*opendialog_title\r\n Apri\r\n"
    "*_*savedialog_title\r\n Salva con nome\r\n";

void AddLine(std::string& block, std::string_view component, std::string_view value) {
    block += "*_*";
    block += Lower1252(component);
    block += "_caption\r\n ";
    block += EscapeValue(value);
    block += "\r\n";
}

}  // namespace

std::string_view CommandComponentName(CommandId command) {
    for (const auto& [id, name] : kCommandNames)
        if (id == command) return name;
    return {};
}

std::string_view MenuComponentName(std::string_view caption) {
    for (const auto& [text, name] : kMenuNames)
        if (text == caption) return name;
    return {};
}

const std::string& MainFormBlock() {
    static const std::string block = [] {
        // The window's own caption first: the program's title, until a document names it.
        std::string b = "*_*mainform_caption\r\n Orvo\r\n";
        std::vector<std::string_view> menus;
        for (const MenuItem& item : MenuCatalogue()) {
            for (std::string_view menu : {item.menu, item.submenu}) {
                if (menu.empty() || std::find(menus.begin(), menus.end(), menu) != menus.end())
                    continue;
                menus.push_back(menu);
                AddLine(b, MenuComponentName(menu), menu);
            }
            AddLine(b, CommandComponentName(item.command), item.caption);
        }
        b += kWindowTexts;
        return b;
    }();
    return block;
}

}  // namespace orvo

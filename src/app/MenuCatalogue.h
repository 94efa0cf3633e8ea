// The main window's commands as one table: caption, menu, the modes in which each shows and
// the service that does its work. The window builds its menus from it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace orvo {

enum class CommandId : std::uint8_t {
    FileNew,
    FileNewFrom,
    FileOpen,
    FileSave,
    FileSaveAs,
    FileSaveAsTemplate,
    FileImport,
    FileExportPages,
    FilePrinterSetup,
    FileMargins,
    FilePrint,
    FilePrintCurrent,
    FilePrintAll,
    FilePageList,
    FileExit,
    EditUndo,
    EditRedo,
    EditCut,
    EditCopy,
    EditPaste,
    EditSelectAll,
    SearchFind,
    SearchReplace,
    SearchKeyword,
    SearchRepeatInPage,
    SearchRepeatInHypertext,
    InsertSymbol,
    InsertImage,
    InsertTable,
    InsertAnimation,
    InsertEmbed,
    InsertForms,
    InsertAnchor,
    InsertLink,
    InsertSpecialLink,
    InsertNewPage,
    TableAddRow,
    TableDeleteRow,
    TableAddColumn,
    TableDeleteColumn,
    TableProperties,
    FormatFont,
    FormatNormal,
    FormatSuperscript,
    FormatSubscript,
    FormatStyles,
    FormatParagraphStyle,
    FormatNewStyle,
    FormatReformat,
    HypertextProperties,
    HypertextCover,
    HypertextContents,
    HypertextReadOnly,
    HypertextPreviousPage,
    HypertextNextPage,
    HypertextReloadPage,
    HypertextAlbum,
    HypertextDeletePages,
    PublishFtp,
    PublishConfigurations,
    PreviewPageInBrowser,
    PreviewAllInBrowser,
    PublishExportHtml,
    PublishExportWinHelp,
    ToolsSpellPage,
    ToolsSpellHypertext,
    ToolsOptions,
    PageProperties,
};

/// Who does a command's work. A command whose service is not built into this program is left
/// out of the menus altogether.
enum class Service : std::uint8_t {
    MainWindow,        // the main window's own command flow
    Printing,          // printing and page set-up
    Editing,           // undo, clipboard, selection
    Search,            // search and replace
    Insertion,         // symbols, pictures, multimedia, forms, anchors, links, new pages
    Tables,            // table editing
    Formatting,        // character and paragraph formats, styles
    HypertextOptions,  // "Opzioni dell'ipertesto"
    Album,             // "Album immagini e files", page lists and deletion
    Publishing,        // FTP publishing and its configurations
    HtmlExport,        // HTML pages (the preview in a browser)
    RtfExport,         // RTF pages
    Import,            // the import window
    SpellCheck,        // spell checking
    ProgramOptions,    // "Opzioni del programma"
    ExportWindow,      // the export window: chosen pages as HTML, RTF, help RTF or text
    Styles,            // the paragraph style window: editing and creating styles
    Pictures,          // the picture window: pictures brought into a page
};

/// The set of services built into this program.
class Services {
public:
    Services() = default;
    Services(std::initializer_list<Service> services) {
        for (Service s : services) Add(s);
    }
    void Add(Service s) { bits_ |= Bit(s); }
    void Remove(Service s) { bits_ &= ~Bit(s); }
    bool Has(Service s) const { return s == Service::MainWindow || (bits_ & Bit(s)) != 0; }

private:
    static std::uint32_t Bit(Service s) { return std::uint32_t(1) << unsigned(s); }
    std::uint32_t bits_ = 0;
};

enum class Modes : std::uint8_t { Edit = 1, Preview = 2, Both = 3 };

struct MenuItem {
    std::string_view menu;     // "&File"
    std::string_view submenu;  // "" or the submenu that holds the item ("Internet - &Ftp")
    std::string_view caption;  // Windows-1252, "&" before the access key
    CommandId command;
    Modes modes;
    Service service;
};

/// Every command of the menus, in menu order.
std::span<const MenuItem> MenuCatalogue();
const MenuItem& MenuItemOf(CommandId command);

/// Whether an item shows in the given mode with the given services built.
bool ItemShows(const MenuItem& item, bool editMode, const Services& built);
/// The items that show, in menu order.
std::vector<const MenuItem*> VisibleItems(bool editMode, const Services& built);

}  // namespace orvo

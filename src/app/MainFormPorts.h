// The small interfaces through which the main window's command flow reaches the rest of the
// program: questions and file dialogs, the editor, the converters, printing, publishing, and
// the secondary windows. The desktop implements them with widgets; tests script them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/MenuCatalogue.h"
#include "model/ObjectRecord.h"

namespace orvo {

class TKYToggetto;

/// What a command whose converter, window or program is not built answers.
inline constexpr std::string_view kNotSupported = "Non definito o non supportato.";

/// How a piece of work handed to another part of the program ended.
enum class Outcome {
    Done,
    Cancelled,    // the user closed the window without going on
    Failed,       // the part reported the failure to the user itself
    NotSupported  // this program has no such converter or window yet
};

struct FileDialogRequest {
    std::string title;     // Windows-1252; empty: the toolkit's own
    std::string folder;    // the folder the dialog starts in
    std::string fileName;  // the name proposed
    std::string filter;    // "description|patterns|description|patterns..."
    int filterIndex = 1;   // 1-based, as the filter lists them
    bool operator==(const FileDialogRequest&) const = default;
};

struct FileChoice {
    std::string path;     // Windows-1252, absolute
    int filterIndex = 1;  // the filter the user left selected
};

/// Input boxes, file dialogs and the error list window. Message boxes and questions go
/// through IMessages.
class IPrompter {
public:
    virtual ~IPrompter() = default;
    /// An input box; nullopt when it is cancelled.
    virtual std::optional<std::string> InputBox(std::string_view caption,
                                                std::string_view prompt) = 0;
    virtual std::optional<FileChoice> OpenDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<FileChoice> SaveDialog(const FileDialogRequest& request) = 0;
    /// The window that lists the lines of a failed save ("Salvataggio non riuscito!").
    virtual void ShowErrorList(std::string_view caption, const std::vector<std::string>& lines) = 0;
};

/// The control a followed link came from.
enum class LinkSourceKind { TextBox, VisualObject, Zone, FrameSet, PageSurface, Other };

struct LinkSource {
    LinkSourceKind kind = LinkSourceKind::TextBox;
    int frameSet = -1;     // the frame set that holds the source (-1: the editor's main one)
    int page = -1;         // the page the source lies on
    std::string pageFile;  // the document file of that page; empty: the open document
};

/// What the controller needs to know of an object that a link leads to. The editor fills it
/// from the object (its record and, for local codes, the page's text).
struct LinkedObject {
    TOggettiHel kind = TOggettiHel::none;
    std::int32_t identifier = -1;   // a page's index for testoHtml
    std::string documentFile;       // testoHtml: the page's document; empty: the open one
    std::string address;            // internetLink
    bool inUse = true;              // genLink
    TKYToggetto* object = nullptr;  // the object itself, for the windows that work on it
    // speclink and shortObj
    int subtype = 0;
    int action = 0;          // speclink subtype 1: 0..6
    int targetFrame = 0;     // 0 the single page, 1 the frame set
    int anchor = -1;         // -1 none; -2 (subtype 2) the main window
    std::string name;        // frame or window name
    std::string importFile;  // subtype 6: the file its content names
};

/// The editing surface (the editor's frame set) as the command flow sees it.
class IEditorView {
public:
    virtual ~IEditorView() = default;
    /// Lets every frame release its page: no page is shown afterwards.
    virtual void ReleasePages() = 0;
    /// Shows `page` of the open document as the main page; the editor then reports the
    /// change (EditorPageChanged) when the page shown changed.
    virtual void ShowPage(int page) = 0;
    /// The page shown as the main page; -1 when none.
    virtual int CurrentPage() const = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
    /// The editor's own change flag (edits not yet stored in the document).
    virtual bool Changed() const = 0;
    virtual void ClearChanged() = 0;
    /// Whether the current page holds edits not yet committed into the document.
    virtual bool PageHasUnsavedEdits() const = 0;
    /// Commits the current page's edits into the document (shows it again).
    virtual void CommitPage() = 0;
    /// True while the editor changes frames; navigation waits.
    virtual bool Busy() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    /// Hides the context toolbars and the ruler.
    virtual void HideContextToolbars() = 0;
    virtual void Refresh() = 0;
    virtual void GoToAnchor(int anchor) = 0;
    /// Typographic quotes while typing (the setting "Virgolette").
    virtual void SetAutoEngQuote(bool on) = 0;

    // Where a followed link shows its page.
    /// Inside the frame set the source lies in.
    virtual void ShowInFrameSet(int frameSet, int page) = 0;
    /// In place of the frame that holds the source.
    virtual void ShowInSourceFrame(const LinkSource& source, int page, int anchor) = 0;
    /// In the frame set's frame of that name, else in the frame of that name of an open
    /// separate browse window, else in a new separate browse window of that name.
    virtual void ShowInNamedFrame(std::string_view name, int page, int anchor) = 0;
    /// In the separate browse window of that name (made when none is open), after loading the
    /// link's own content into it.
    virtual void ShowInSeparateWindow(std::string_view name, int page, int anchor,
                                      const LinkedObject& link) = 0;
    virtual void ShowInNewWindow(std::string_view name, int page, int anchor) = 0;
    /// In a new pop-up browse window placed at the source object, as large as the link's
    /// window features say.
    virtual void ShowInPopup(const LinkSource& source, int page, int anchor,
                             const LinkedObject& link) = 0;
    /// Closes the open separate browse window whose name equals `name` (without case).
    virtual void CloseBrowseWindow(std::string_view name) = 0;
    /// The object a special link or a marker names, resolved through the page's text.
    virtual std::optional<LinkedObject> ResolveTarget(const LinkedObject& link) = 0;
};

enum class PageFormat { Html, Rtf, Text };

/// What the "Apri" chooser decided for an HTML file.
struct HtmlOpening {
    Outcome outcome = Outcome::Done;
    int choice = 0;        // 0..6
    std::string document;  // the source document the page's marker names (maybe changed)
    int page = 0;          // the marked page
};

struct PreviewExport {
    Outcome outcome = Outcome::Done;
    std::string mainPage;  // the exported page to open
};

/// The converters and their windows.
class IConverters {
public:
    virtual ~IConverters() = default;
    /// Whether this program can import files of this extension (".rtf", ".htm", ...).
    virtual bool CanImport(std::string_view extension) const = 0;
    /// The import window with these files, the import started at once.
    virtual Outcome ImportFiles(const std::vector<std::string>& files) = 0;
    /// The import window on "Importa seguendo automaticamente i collegamenti" with `root` and
    /// the list of linked files determined; the user starts the import.
    virtual Outcome ImportFollowingLinks(const std::string& root) = 0;
    /// The import window, empty.
    virtual Outcome OpenImportWindow() = 0;
    /// Reads the HTML file's page marker and shows the "Apri" chooser.
    virtual HtmlOpening ChooseHtmlOpening(const std::string& file) = 0;
    /// The page marker of an HTML file: the source document, or nullopt when it names none.
    virtual std::optional<std::pair<std::string, int>> ReadPageMarker(const std::string& file) = 0;
    /// The export window for `path` (".htm" or ".rtf" names the format).
    virtual Outcome OpenExportWindow(const std::string& path) = 0;
    /// Writes one page into the folder of `path`; progress as (page, phase, total).
    virtual Outcome ExportPage(PageFormat format, const std::string& path, int page,
                               const std::function<void(int, int, int)>& progress) = 0;
    /// Exports the current page or all pages as HTML into `folder` for a browser.
    virtual PreviewExport ExportForPreview(const std::string& folder, bool allPages, int page) = 0;
    /// Merges the styles of the pages from `firstNewPage` on into the style list.
    virtual void MergeImportedStyles(int firstNewPage) = 0;
    /// The page imported earlier from `file` (its head code names the file), if any.
    virtual std::optional<int> PageImportedFrom(const std::string& file) = 0;
};

class IPrintService {
public:
    virtual ~IPrintService() = default;
    virtual bool PrinterAvailable() const = 0;
    virtual Outcome SetupPrinter() = 0;
    virtual Outcome SetupMargins() = 0;
    /// "Stam&pa...": the print window with the page being edited in its list.
    virtual Outcome OpenPrintWindow() = 0;
    /// "Stampa pagina corrente": the page being edited printed at once, with the default
    /// options.
    virtual Outcome PrintCurrentPage() = 0;
    /// The print window with "Tutte, in ordine predefinito" chosen, printing at once.
    virtual Outcome PrintAll() = 0;
};

class IPublishService {
public:
    virtual ~IPublishService() = default;
    /// "Orvo - Pubblicazione in Internet": stores FTP configuration 0.
    virtual void RunSetupWizard() = 0;
    virtual Outcome PublishServer() = 0;
    virtual Outcome PublishFtp() = 0;
    virtual Outcome Configurations() = 0;
};

/// The secondary windows the main window opens.
class ISecondaryWindows {
public:
    virtual ~ISecondaryWindows() = default;
    /// The about window as a splash while the program starts.
    virtual void ShowSplash() = 0;
    virtual void CloseSplash() = 0;
    /// The tips window ("Benvenuti in Orvo (editor)!", its box for the next start ticked).
    virtual void ShowTips(std::string_view caption) = 0;
    virtual void RetitleTips(std::string_view caption) = 0;
    virtual void CloseTips() = 0;
    /// "Album immagini e files" on the tab of that caption.
    virtual Outcome OpenAlbum(std::string_view tab) = 0;
    virtual Outcome OpenKeywordSearch() = 0;
    /// "Nuovo ipertesto:" preset to `document`; on Done `chosen` holds the file to start
    /// from, or "" for an empty hypertext.
    virtual Outcome NewHypertext(const std::string& document, std::string& chosen) = 0;
    /// The link window in its page-copy mode: copies `page` of `document` in, as the first
    /// page or after the last one.
    virtual Outcome CopyPageIn(const std::string& document, int page, bool asFirstPage) = 0;
    /// The link window offering to link to that page of another hypertext.
    virtual Outcome OfferLinkToPage(const std::string& document, int page) = 0;
    /// The picture window preset to a dropped picture, then the image properties window;
    /// Ok inserts the image at the caret.
    virtual Outcome InsertDroppedPicture(const std::string& file) = 0;
    /// A menu command whose work lies wholly in another part of the program (editing,
    /// search, insertion, tables, formats, the album, spelling, the options windows).
    virtual Outcome RunCommand(CommandId command) = 0;
};

/// Secondary windows that hand every call on to `inner`: the base of a layer that adds
/// commands of its own (search, spelling) and overrides only those.
class ForwardingWindows : public ISecondaryWindows {
public:
    explicit ForwardingWindows(ISecondaryWindows& inner) : inner_(inner) {}
    void ShowSplash() override { inner_.ShowSplash(); }
    void CloseSplash() override { inner_.CloseSplash(); }
    void ShowTips(std::string_view caption) override { inner_.ShowTips(caption); }
    void RetitleTips(std::string_view caption) override { inner_.RetitleTips(caption); }
    void CloseTips() override { inner_.CloseTips(); }
    Outcome OpenAlbum(std::string_view tab) override { return inner_.OpenAlbum(tab); }
    Outcome OpenKeywordSearch() override { return inner_.OpenKeywordSearch(); }
    Outcome NewHypertext(const std::string& document, std::string& chosen) override {
        return inner_.NewHypertext(document, chosen);
    }
    Outcome CopyPageIn(const std::string& document, int page, bool asFirstPage) override {
        return inner_.CopyPageIn(document, page, asFirstPage);
    }
    Outcome OfferLinkToPage(const std::string& document, int page) override {
        return inner_.OfferLinkToPage(document, page);
    }
    Outcome InsertDroppedPicture(const std::string& file) override {
        return inner_.InsertDroppedPicture(file);
    }
    Outcome RunCommand(CommandId command) override { return inner_.RunCommand(command); }

protected:
    ISecondaryWindows& inner_;
};

/// Files and programs that links lead to.
class ILinkedFiles {
public:
    virtual ~ILinkedFiles() = default;
    /// "Collegamento a file": what to do with an embedded file that was followed.
    virtual void OpenLinkedFile(TKYToggetto& genLink) = 0;
    /// Starts the program a "prog:" address names (after asking the user).
    virtual void RunRegisteredProgram(const std::string& address, TKYToggetto* link) = 0;
};

/// Tells the window that what it shows of the controller changed (caption, mode, menus,
/// recent files, history, status).
class IMainWindowView {
public:
    virtual ~IMainWindowView() = default;
    virtual void StateChanged() = 0;
};

}  // namespace orvo

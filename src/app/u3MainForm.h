// TMainFormRules: the main window's command flow without widgets. Start-up, the document's
// life cycle (new, open, save, save as, close), recent files, page history, edit and preview,
// following links and the timers; the Qt window shows its state and forwards its events.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "app/MainFormPorts.h"
#include "app/MenuCatalogue.h"
#include "app/PageHistory.h"
#include "app/RecentFiles.h"
#include "app/u3Utils.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "platform/ISettings.h"
#include "platform/IShell.h"

namespace orvo {

class TKYTset;
class TKYToggetto;

/// The spell checker's language, as the main window switches it.
class ISpellLanguage {
public:
    virtual ~ISpellLanguage() = default;
    virtual int Language() const = 0;
    /// Switches the checker (closes and reopens it); false when it could not be opened.
    virtual bool SetLanguage(int language) = 0;
};

/// "file://" and the path's bytes, every byte but letters, digits, "-._~" and "/" written
/// "%HH": the page address a browser is started with.
std::string FileUrlOf(const std::filesystem::path& file);

/// What a link leads to, read from the object's record (a local code is not resolved here).
LinkedObject LinkedObjectOf(const TKYToggetto& object, const TKYTset& openDocument);

/// Everything the main window talks to. All of it outlives the controller.
struct MainFormServices {
    Environment& environment;
    IMessages& messages;
    ISettings& settings;
    IScheduler& scheduler;
    IShell& shell;
    IPrompter& prompter;
    IEditorView& editor;
    IConverters& converters;
    IPrintService& print;
    IPublishService& publish;
    ISecondaryWindows& windows;
    ILinkedFiles& linkedFiles;
    IMainWindowView& view;
    ISpellLanguage* speller = nullptr;  // none while no spell checker is available
    /// Looks for a word-processor automation server: 0 none, 1 or 2 the kind found.
    std::function<int()> probeWordProcessor = {};
    /// The program itself, for the desktop registration of "/INIT".
    std::filesystem::path programPath = {};
    /// The desktop's data folder (XDG_DATA_HOME) that "/INIT" registers in.
    std::filesystem::path desktopDataHome = {};
    /// The program's icon (an SVG document) that "/INIT" installs; empty: none.
    std::string programIcon = {};
};

/// The HTML export options the main window reads at creation (group "htmlexp").
struct HtmlExportOptions {
    bool keepImageNames = false;  // "expOrigName" = "1"
    bool separateImages = false;  // "expSepImage" = "1"
    bool altTexts = true;         // "expAlt" other than "0"
    int extensionType = 0;        // "expTipoExt"
    bool operator==(const HtmlExportOptions&) const = default;
};

/// The state the window's menus are built from: building them again is due when it changes.
struct MenuStamp {
    bool editMode = false;
    std::vector<std::string> recent;
    bool operator==(const MenuStamp&) const = default;
};

/// The state the page tree and the page list are read from: another file, a save (which
/// replaces every object) or pages added or removed make reading them again due.
struct DocumentStamp {
    std::string file;
    std::int32_t saveCounter = -1;
    int pages = -1;
    bool operator==(const DocumentStamp&) const = default;
};

/// The main window's rules. Texts are Windows-1252; paths are Windows-1252 names of files on
/// disk (NativePath converts them).
class TMainFormRules {
public:
    static constexpr std::string_view kApplicationTitle = "Orvo";
    static constexpr std::string_view kSaveFilter =
        "Salva ipertesto Orvo (*.kyt)|*.kyt|Salva ipertesto altri "
        "formati|*.htm;*.rtf;*.txt;*.asc;*.c;*.pas;*.doc|Salva pagina corrente in "
        "HTML|*.htm|Salva pagina corrente in RTF|*.rtf|Salva pagina corrente in "
        "TXT|*.txt;*.asc;*.c;*.pas|Tutti i files (*.*)|*.*";
    static constexpr std::string_view kFrameFilter = "File cornici (*.frm)|*.frm";

    TMainFormRules(TKYTset& mainKYTset, TKYTset& KYTsetLib, const MainFormServices& services,
                   Services built);
    ~TMainFormRules();
    TMainFormRules(const TMainFormRules&) = delete;
    TMainFormRules& operator=(const TMainFormRules&) = delete;

    // Start-up and closing, in the order the program runs them.
    /// Before the main window exists: the publishing set-up and the start window.
    void ProgramStart();
    void FormCreate();
    void FormShow(const CommandLine& commandLine);
    /// Whether the window may close; a cancel or a failed save keeps it open.
    bool FormCloseQuery();
    void FormClose();
    /// Writes what the next run reads: "LastFile", the toolbar layout, the recent files.
    void FormDestroy(const std::optional<std::string>& toolbarLayout);

    // Commands.
    /// Runs a menu command; one that does not show in the current mode does nothing.
    void Execute(CommandId command);
    void FileNew();
    void Nuovoda1Click();
    void FileOpen();
    /// True when the document was written (false: cancelled or failed).
    bool FileSave();
    bool FileSaveAs();
    bool Salvacomemodello1Click();
    void Importa1Click();
    void BFileExportClick();
    void EsportaHtml1Click();
    void EsportaWinHelp1Click();
    void RecentFileClick(int index);
    void EditorDropFile(const std::vector<std::string>& files);
    void EditButtonClick();
    void EditorPageChanged(int page);
    void BPrecedenteClick();
    void BseguenteClick();
    void HistoryComboClick(int index);
    void GoToPage(int page);  // the "Vai a pagina" items and the page-number box
    /// The preview in a browser: `browser` -1 for the system's default handler, else the
    /// number of a browser configured in the settings.
    void Correntepagina1Click(int browser = -1);
    void Tuttolipertesto1Click(int browser = -1);
    /// An item of PreviewItems(): the page or the whole hypertext in that browser.
    void PreviewMenuClick(int index);
    void EditorDoLink(const LinkSource& source, const std::optional<LinkedObject>& object);
    void TimerSaveTimer();
    void TimerNextActionTimer();
    /// "Export in corso, fase " phase ": " page*100/total "%".
    static std::string ExpProgressText(int page, int phase, int total);
    void mainKYTtoHtmlExpProgress(int page, int phase, int total);

    // The document's life cycle.
    void openFile(const std::string& path, bool askSave);
    void loadDocument(const std::string& path, bool asNew);
    /// Writes the document (typeIndex 1) or exports; false when cancelled or failed.
    bool saveAs(const std::string& path, int typeIndex, bool fromMenu, bool asTemplate);
    /// True when the caller may go on: nothing to save, "No", or a save that succeeded.
    bool askSaveChanges();
    void setCaption(const std::string& path);
    void addRecent(const std::string& path);
    void removeRecent(const std::string& path);

    // What the window shows.
    const std::string& Caption() const { return caption_; }
    /// The file the document is saved to; empty for an unnamed document (also one that was
    /// made by importing a file).
    const std::string& DocumentPath() const { return documentPath_; }
    const std::string& LastPath() const { return lastPath_; }
    const std::string& StatusText() const { return status_; }
    /// What the status bar shows: the status text, else the name of the page shown.
    std::string StatusLine() const;
    MenuStamp MenusShown() const { return {editMode_, recent_.Entries()}; }
    DocumentStamp DocumentShown() const;
    bool EditMode() const { return editMode_; }
    bool EverEdited() const { return everEdited_; }
    bool DocumentChanged() const;
    int FrameLimit() const { return frameLimit_; }
    NextAction PendingNextAction() const { return nextAction_; }
    int WordProcessor() const { return wordProcessor_; }
    const HtmlExportOptions& HtmlOptions() const { return htmlOptions_; }
    const RecentFiles& Recent() const { return recent_; }
    const PageHistory& History() const { return history_; }
    /// The pages of the "Vai a pagina" menu (at most 15).
    const std::vector<int>& PageMenu() const { return pageMenu_; }
    int PageNumber() const { return pageNumber_; }
    /// The toolbar layout to restore ("NotSaveTool" = "0"), else nullopt.
    const std::optional<std::string>& ToolbarLayout() const { return toolbarLayout_; }
    std::vector<const MenuItem*> VisibleMenuItems() const;
    /// The items after "n28" in "&Anteprima in browser" (none without HTML export).
    const PreviewMenu& PreviewItems() const { return previewMenu_; }
    bool ReminderActive() const { return reminderTimer_ != 0; }
    std::chrono::milliseconds ReminderInterval() const { return reminderInterval_; }
    bool BorderPanelVisible() const { return borderPanel_; }
    bool SearchWindowOnTop() const { return searchOnTop_; }
    int CursorSet() const { return cursors_; }
    const SpellSettings& SpellOptions() const { return spell_; }
    bool Closing() const { return closing_; }

    // Folders beside the program (writable ones in the user's data folder).
    std::filesystem::path ExamplesFolder() const;
    std::filesystem::path SharedExamplesFolder() const;
    std::filesystem::path LibraryPath() const;
    std::filesystem::path StartDocumentPath() const;  // "Docs/index.kyt"
    std::filesystem::path TemplatesFolder() const;    // "HypTemplates"
    bool InExamples(const std::string& path) const;

    /// Copies the stored options into the running program (applySettings): the containers,
    /// the save reminder, spelling, the editor, the border panel, the preview menu.
    void ApplySettings();

private:
    void NotSupported();
    void ShowOutcome(Outcome outcome);
    void UpdateView();
    void SetEditMode(bool on);
    /// Edit mode, after asking for the edit password when the document has one.
    bool EnterEditMode();
    void ClearModified();
    /// A new, unnamed, unchanged document with page 0 shown.
    void ResetToEmpty();
    void RebuildPageMenu();
    void AddToPageMenu(int page);
    std::string DisplayPath() const;
    std::string HistoryName() const;
    std::string EditPassword() const;
    GlobalOptions Options() const;
    bool InTemplates(const std::string& path) const;
    int PageCount() const;
    void MergeStylesIfGrown(int pagesBefore);

    void ImportTextFile(const std::string& path, bool askSave);
    void OpenHtml(const std::string& path);
    void OpenLastDocument();
    void WriteFirstRunDefaults();
    void ProbeWordProcessor();
    void StartReminder();
    class SettingsTarget;
    friend class SettingsTarget;

    void FollowTarget(const LinkSource& source, const LinkedObject& target, int anchor);
    void ShowLinkedPage(const LinkSource& source, const LinkedObject& page, int anchor);
    bool AskSaveBeforeOtherFile();
    void OpenDocumentLink(const std::string& address);
    void RunSpecialLink(const LinkSource& source, const LinkedObject& link);
    void AutomaticImport(const LinkSource& source, const LinkedObject& link);
    void ShowSequencePage(const LinkSource& source, bool next);
    void GoToHistoryTarget(const std::optional<HistoryTarget>& target, int previousIndex);
    void PreviewInBrowser(bool allPages, int browser);
    void ExportDocumentAs(std::string_view extension);
    void PrintCommand(CommandId command);

    TKYTset& mainKYTset_;
    TKYTset& KYTsetLib_;
    MainFormServices services_;
    Services built_;

    std::string caption_;
    std::string captionPath_;  // what setCaption was given
    std::string documentPath_;
    std::string importedFrom_;  // the source of an imported document, for Save As
    std::string lastPath_;
    std::string status_;
    RecentFiles recent_;
    PageHistory history_;
    std::vector<int> pageMenu_;
    int pageNumber_ = -1;
    bool editMode_ = false;
    bool everEdited_ = false;
    bool modified_ = false;
    NextAction nextAction_ = NextAction::ProbeWordProcessor;
    int frameLimit_ = 3;
    bool historyEnabled_ = true;
    bool historyBusy_ = false;
    bool closing_ = false;
    bool splashShown_ = false;  // the about window shows as a splash
    int wordProcessor_ = 0;
    HtmlExportOptions htmlOptions_;
    std::optional<std::string> toolbarLayout_;
    SpellSettings spell_;
    bool autoSpellCheck_ = false;
    bool borderPanel_ = false;
    bool searchOnTop_ = false;
    int cursors_ = 0;
    PreviewMenu previewMenu_;
    std::chrono::milliseconds reminderInterval_{0};  // 0: off
    IScheduler::TimerId reminderTimer_ = 0;
    IScheduler::TimerId nextActionTimer_ = 0;
};

}  // namespace orvo

// The main window's widgets. Every decision is the command flow's: the widgets forward clicks,
// drops and closes to it and show what it reports. This file builds the window and wires the
// services; the menus and toolbar are in MainWindowMenus.cpp, the page surface's events and
// the window's own events in MainWindowEvents.cpp.
#include "ui/app/MainWindow.h"

#include <QApplication>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include <utility>

#include "app/u3LOCforms.h"
#include "app/u3Utils.h"
#include "base/Paths.h"
#include "convert/ExportOptions.h"
#include "model/uKYTpag.h"
#include "platform/ISettings.h"
#include "platform/IShell.h"
#include "search/CellSearch.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTbox.h"
#include "ui/QtConvert.h"
#include "ui/album/AlbumWindows.h"
#include "ui/app/DialogSupport.h"
#include "ui/app/MainWindowState.h"
#include "ui/app/ProgramIconSvg.h"
#include "ui/app/QtLocalizer.h"
#include "ui/convert/HtmlOpenWindow.h"
#include "ui/convert/ImportWindow.h"
#include "ui/links/LinkCommands.h"
#include "ui/links/LinkWindow.h"
#include "ui/objects/PictureEditing.h"
#include "ui/pages/PageWindows.h"
#include "ui/search/SearchWindow.h"
#include "ui/textbox/PageFormInput.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {

bool MainPageSurface::ShowPage(std::int32_t page) {
    // Only a page of the hypertext: the frame set would make a new page for any other number.
    if (!LivePage(set_, page)) return false;
    frames_.ForgetStaleControl();
    TKYTframeSet& frames = frames_.FrameSet();
    if (frames.Top() && frames.MainPageNumber() == page) {
        // The same page again: every frame reads its page anew from what is stored.
        bool shown = true;
        for (PageViewWidget* view : frames_.Views())
            if (view->Showing()) shown = view->ShowPage(view->PageShown()) && shown;
        return shown;
    }
    frames.SetMainPageNumber(page);
    return frames.Top() && frames.MainPageNumber() == page;
}

std::int32_t MainPageSurface::PageShown() const {
    const TKYTframeSet& frames = frames_.FrameSet();
    return frames.Top() ? frames.MainPageNumber() : -1;
}

PageViewWidget* MainPageSurface::MasterView() const {
    const std::int32_t page = PageShown();
    for (PageViewWidget* view : frames_.Views())
        if (page >= 0 && view->PageShown() == page) return view;
    return frames_.FocusedView();
}

MainWindow::MainWindow(Environment& environment, ISettings& settings, IShell& shell,
                       const MainWindowOptions& options)
    : state_(std::make_unique<State>(environment, options, this)) {
    State& s = *state_;
    s.settings = &settings;
    setObjectName(QStringLiteral("MainForm"));
    setWindowIcon(ProgramIcon());
    setAcceptDrops(true);
    resize(960, 680);

    s.block = options.localization.empty() ? std::string(LocalizationBlock("MainForm"))
                                           : options.localization;

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("Splitter"));
    // The panel: the page tree on its first tab, the list of pages on its second.
    s.panel = new QTabWidget(splitter);
    s.panel->setObjectName(QStringLiteral("PCPagine"));
    s.tree = new PageTreeView(s.main);
    s.list = new PageListView(s.main);
    auto* treeTab = new QWidget;
    treeTab->setObjectName(QStringLiteral("TSIndice"));
    auto* listTab = new QWidget;
    listTab->setObjectName(QStringLiteral("TSElenco"));
    for (auto [tab, content] :
         {std::pair<QWidget*, QWidget*>{treeTab, s.tree}, {listTab, s.list}}) {
        auto* layout = new QVBoxLayout(tab);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(content);
        s.panel->addTab(tab, QString());
    }
    // The frame set fills the view area; its first frame shows pages in the main view.
    s.frameSet = new FrameSetWidget(s.main, s.messages, s.scheduler, splitter);
    s.frameSet->setObjectName(QStringLiteral("FrameSet"));
    s.view = new PageViewWidget(s.main, s.frameSet);
    s.view->setObjectName(QStringLiteral("PageView"));
    s.frameSet->FrameSet().SetLinkedKYTset(&s.main);
    s.frameSet->FrameSet().SaveOnExit = true;  // until the command flow sets the mode
    splitter->addWidget(s.panel);
    splitter->addWidget(s.frameSet);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 660});
    setCentralWidget(splitter);
    s.view->Surface()->installEventFilter(this);
    s.view->Surface()->setMouseTracking(true);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    s.previewMark = new QLabel(statusBar());
    s.previewMark->setObjectName(QStringLiteral("LAnteprima"));
    s.editMark = new QLabel(statusBar());
    s.editMark->setObjectName(QStringLiteral("LModifica"));
    statusBar()->addPermanentWidget(s.previewMark);
    statusBar()->addPermanentWidget(s.editMark);
    s.qtPrompter.SetDialogTexts(NewDialogTexts(QStringLiteral("OpenDialog"), this),
                                NewDialogTexts(QStringLiteral("SaveDialog"), this));
    s.qtPrompter.SetNonNative(options.nonNativeDialogs);

    // Links to embedded files and "prog:" addresses: the file type's behaviour, the window
    // "Collegamento a file", the refusal of program files.
    s.store = std::make_unique<SettingsStore>(settings, s.messages);
    s.fileWindows = std::make_unique<QtLinkedFileWindows>(this, s.prompter, s.messages);
    s.files = std::make_unique<LinkedFiles>(*s.store, shell, s.scheduler, *s.fileWindows);
    s.linkedFiles = std::make_unique<LinkedFilesPort>(*s.files, s.main);
    s.mainSurface = std::make_unique<MainPageSurface>(*s.frameSet, s.main);
    s.browsePort = std::make_unique<BrowsePort>(s.browse, s.clickPoint);
    PreviewEditor::Hooks hooks;
    hooks.changed = [this](int page) {
        if (state_->rules) state_->rules->EditorPageChanged(page);
    };
    hooks.released = [this] {
        // A document opened by any command is timed from here to its first paint.
        if (state_->timingOpen) return;
        state_->openTimer.start();
        state_->timingOpen = true;
    };
    s.editor = std::make_unique<PreviewEditor>(s.main, *s.mainSurface, *s.browsePort, s.messages,
                                               std::move(hooks));
    s.converters.AttachEditor(s.editor.get());
    // The import window, and the chooser "Apri" shown when a web page is opened.
    s.converters.AttachImportWindow([this](const std::string& root) {
        State& st = *state_;
        ImportWindow window(
            ImportWindowParts{st.main, st.converters, *st.settings, st.messages, st.environment,
                              DocumentConverters::ProbeWordProcessor() != 0},
            this);
        if (!root.empty()) window.OpenOnLinks(root);
        window.exec();
        return window.Result();
    });
    s.converters.AttachHtmlChooser([this](const std::string&, const PageMarker& marker) {
        HtmlOpenWindow window(marker.documentFile, state_->messages, this);
        HtmlOpening opening;
        opening.outcome = window.exec() == QDialog::Accepted ? Outcome::Done : Outcome::Cancelled;
        opening.choice = window.Choice();
        opening.document = window.Document();
        opening.page = int(marker.page);
        return opening;
    });
    // Pages are edited in the same widget: the caret blinks on the window's scheduler, copies
    // and pastes of RTF go through the converters.
    s.selectionConverters = std::make_unique<SelectionConverters>(s.main, s.measurer, [this] {
        PageViewWidget* view = state_->frameSet->FocusedView();
        return view ? view->WorkingText() : nullptr;
    });
    s.view->EnableEditing(s.scheduler, s.messages, s.selectionConverters.get());
    s.frameSet->SetConverters(s.selectionConverters.get());
    s.frameSet->SetMainView(*s.view);
    s.editingEditor = std::make_unique<EditingEditorView>(*s.editor, *s.frameSet);
    // What keeps objects of the hypertext beyond one call registers with s.holders (the rule
    // of ObjectHolders): the page views here; the page tree, the page list and the history
    // hold page identifiers and read the tree again after a save. Whatever is added to the
    // window later (the editor, undo, frames, visual objects) registers here too.
    s.pagesHeld = s.holders.Add([this] { state_->editor->DetachPages(); },
                                [this] {
                                    state_->editor->ReattachPages();
                                    Refresh();
                                });
    s.notice = std::make_unique<ViewNotice>([this] { Refresh(); });
    s.print = std::make_unique<QtPrintService>(
        s.main, settings, s.messages, this, [this] { return state_->editor->CurrentPage(); },
        [this] { state_->editingEditor->CommitPage(); });
    s.startWindows = options.startWindows;
    s.exporting = std::make_unique<QtConverters>(
        s.converters,
        [this, &shell] {
            State& st = *state_;
            return ExportWindowParts{st.main,
                                     st.converters.Html(),
                                     st.converters.Rtf(),
                                     st.converters.Text(),
                                     *st.settings,
                                     shell,
                                     st.messages,
                                     nullptr,
                                     NameOfPath(st.environment.TempRoot()) + "/"};
        },
        this);
    s.publish = std::make_unique<QtPublishService>(
        [this] {
            State& st = *state_;
            return PublishWindowParts{st.main,
                                      st.holders,
                                      st.converters.Html(),
                                      *st.settings,
                                      st.messages,
                                      st.scheduler,
                                      [this] { return state_->rules->FileSave(); }};
        },
        this, options.startWindows);
    s.windows = std::make_unique<QtSecondaryWindows>(SecondaryWindowsHost{
        settings, s.messages, s.optionsHost,
        [this] {
            const Environment& env = state_->environment;
            return std::vector<std::filesystem::path>{env.UserDataDir() / "HypTemplates",
                                                      env.ShareDir() / "HypTemplates"};
        },
        this, options.startWindows, &s.main,
        [this] {
            // A style changed: every page shown is laid out again.
            for (PageViewWidget* view : state_->frameSet->Views()) {
                if (TKYTbox* box = view->Box()) box->ReformatAll();
                view->Surface()->update();
            }
        }});
    // The search window ("Cerca:"), made now and shown by its commands; a child of this
    // window, so it goes after the command flow that calls it.
    auto* search = new SearchWindow(
        SearchWindowHost{
            s.main, s.messages, settings, [this] { return state_->view->PageShown(); },
            [this](std::int32_t page) { state_->rules->GoToPage(page); },
            [this] { return state_->rules->EditMode(); },
            [this, finder = std::make_shared<std::unique_ptr<TPageSearch>>()]() -> TPageSearch* {
                // Hits in table cells too, selected and replaced in the cell's own editing.
                PageViewWidget& view = *state_->view;
                PageEditSession* session = view.Session();
                TKYTbox* box = view.Box();
                if (!session || !box) return nullptr;
                *finder = SessionPageSearch(*session, *box);
                return finder->get();
            },
            [this](bool changed) {
                PageViewWidget& view = *state_->view;
                if (changed && view.Session()) view.Session()->NoteEdit();
                view.Surface()->setFocus();
                view.Surface()->update();
                if (state_->editing) state_->editing->Refresh();
            },
            [this](std::string_view text) { statusBar()->showMessage(ToQString(text)); }},
        this);
    LocalizeFromBlock(*search);
    // Spelling: the checker opened in the hypertext's language, the dialog walking the shown
    // page or every page.
    s.spelling =
        std::make_unique<DesktopSpelling>(s.main, s.environment, s.messages, s.scheduler, this);
    s.spelling->currentPage = [this] { return state_->editor->CurrentPage(); };
    s.spelling->commitPage = [this] { state_->editingEditor->CommitPage(); };
    s.spelling->showPage = [this](std::int32_t page) { state_->rules->GoToPage(page); };
    s.spelling->Open();
    s.spellingWindows = std::make_unique<SpellingWindows>(search->Around(*s.windows), *s.spelling);
    // The album, the deletion of objects and the hypertext's options.
    AlbumHost album{
        s.main,
        s.messages,
        DeletionEditor{[this] { return state_->editingEditor->CurrentPage(); },
                       [this](int page) {
                           if (page < 0)
                               state_->editingEditor->ReleasePages();
                           else
                               state_->editingEditor->ShowPage(page);
                       }},
        [this] {
            for (PageViewWidget* view : state_->frameSet->Views()) {
                if (TKYTbox* box = view->Box()) box->ReformatAll();
                view->Surface()->update();
            }
        },
        [this, &shell](const std::string& file) -> std::vector<std::string> {
            const std::string application =
                fileTypeApplication(*state_->store, ExtensionOf(LastComponent(file)));
            if (!application.empty()) return {Cp1252ToUtf8(application), Cp1252ToUtf8(file)};
            const AssociatedProgram program = shell.ProgramFor(NativePath(file));
            if (program.outcome == ProgramLookup::Found) return program.command.argv;
            return {};
        },
        {},
        {},
        album::WindowDressing{
            [](QWidget& window) { LocalizeFromBlock(window); },
            [this](QWidget& window) { RestoreWindowPlacement(window, *state_->settings); },
            [this](QWidget& window) { SaveWindowPlacement(window, *state_->settings); }},
        [this] { return state_->links && state_->links->NewPage(); }};
    // "&Proprietà pagina...": the page properties window on the current frame's page.
    s.pageWindows = std::make_unique<PageWindows>(
        *s.spellingWindows,
        PageWindowsHost{
            s.main, s.environment, s.messages, s.scheduler, *s.frameSet,
            [](QWidget& window, std::string_view block) { (void)LocalizeWindow(window, block); },
            this,
            [this](PictureWindowMode mode, std::int32_t preset) {
                return state_->pictures->ChoosePicture(mode, preset);
            },
            [this](int mode, std::int32_t presetCode) {
                return ChooseLinkTarget(mode, presetCode);
            }});
    s.albumWindows = std::make_unique<AlbumWindows>(
        *s.pageWindows,
        AlbumWindowsHost{std::move(album), [this] { state_->editingEditor->CommitPage(); },
                         [this] {
                             HypertextOptionsHost host;
                             host.speller = &state_->spelling->Checker();
                             host.settings = state_->settings;
                             host.editorReadOnly = [this] { return !state_->rules->EditMode(); };
                             host.setEditorReadOnly = [this](bool readOnly) {
                                 state_->editingEditor->SetReadOnly(readOnly);
                             };
                             host.reshowPage = [this](int) {
                                 IEditorView& editor = *state_->editingEditor;
                                 const int page = editor.CurrentPage();
                                 editor.ReleasePages();
                                 editor.ShowPage(page < 0 ? 0 : page);
                             };
                             return host;
                         },
                         this,
                         [this] {
                             // The tree and the list show the titles the album may have changed.
                             state_->tree->Reload();
                             state_->list->Reload();
                             Refresh();
                         }});
    s.pictures = std::make_unique<PictureCommands>(PictureCommandsHost{
        s.main, s.environment, s.messages, s.scheduler,
        [this] { return state_->frameSet->FocusedView(); },
        [](QWidget& window) { LocalizeFromBlock(window); }, this,
        [](QWidget& widget, std::string_view block) { (void)LocalizeWindow(widget, block); },
        [this](int mode, std::int32_t presetCode) { return ChooseLinkTarget(mode, presetCode); },
        [this] { return state_->frameSet->Views(); }});
    s.pictureWindows = std::make_unique<PictureWindowsLayer>(*s.albumWindows, *s.pictures);
    ISecondaryWindows& windows = *s.pictureWindows;
    MainFormServices services{s.environment, s.messages, settings,         s.scheduler,
                              shell,         s.prompter, *s.editingEditor, *s.exporting,
                              *s.print,      *s.publish, windows,          *s.linkedFiles,
                              *s.notice};
    services.programPath = options.programPath;
    services.desktopDataHome = options.desktopDataHome;
    services.programIcon = std::string(kProgramIconSvg);
    services.probeWordProcessor = &DocumentConverters::ProbeWordProcessor;
    services.speller = s.spelling.get();
    // The main window's own commands, and the converters: the HTML preview in a browser, the
    // pages saved as HTML, RTF or text, and the export, import, publishing and options windows.
    s.rules = std::make_unique<TMainFormRules>(
        s.main, s.library, services,
        Services{Service::Printing, Service::HtmlExport, Service::RtfExport, Service::Editing,
                 Service::ExportWindow, Service::Import, Service::Publishing,
                 Service::ProgramOptions, Service::Search, Service::Styles, Service::SpellCheck,
                 Service::HypertextOptions, Service::Album, Service::Tables, Service::Pictures});
    s.optionsHost.windowCacheLimit = [this] { return state_->rules->FrameLimit(); };
    s.optionsHost.showCurrentPageAgain = [this] { state_->editor->Refresh(); };
    s.editing = std::make_unique<EditingTools>(*this, *s.frameSet, *s.rules);
    s.editingEditor->onHideTools = [this] { state_->editing->HideContextToolbars(); };
    s.frameSet->onToolsChanged = [this](PageViewWidget&) {
        if (state_->editing) state_->editing->Refresh();
    };
    // Every frame's page widget hands dropped files and hypertexts to the command flow.
    const auto wire = [this](PageViewWidget& view) {
        // Links are followed in every frame while browsing.
        view.Surface()->installEventFilter(this);
        view.Surface()->setMouseTracking(true);
        // A button of a browsed page follows its link as a click on a text link does.
        if (PageFormInput* forms = view.FormInput())
            forms->onLink = [this, &view](const TKYToggetto& link) { FollowObjectIn(view, link); };
        view.onFilesDropped = [this](const std::vector<std::string>& files) {
            state_->rules->EditorDropFile(files);
        };
        view.onOpenHypertext = [this](const std::string& file) {
            state_->rules->openFile(file, true);
        };
        // Misspelt words are underlined as the page is edited; the spelling menu's
        // "&Controllo ortografia" checks the page in the spelling dialog.
        view.EnableSpelling(&state_->spelling->Checker());
        view.onCheckSpelling = [this] { state_->spelling->Run(CommandId::ToolsSpellPage); };
        // A zone of an image is linked through the link window.
        if (PictureEditing* pictures = view.Pictures())
            pictures->chooseLink = [this](ILinkHolder& holder) {
                return state_->links && state_->links->ChooseLinkFor(holder);
            };
        // The image menu offers the image's properties window.
        state_->pictures->Wire(view);
    };
    wire(*s.view);
    s.frameSet->onViewMade = wire;

    s.tree->onPagePicked = [this](std::int32_t page) { state_->rules->GoToPage(page); };
    // A page renamed in the tree is renamed in the hypertext: the list shows its new title.
    s.tree->onChanged = [this] {
        state_->list->Reload();
        state_->list->SelectPage(state_->editor->CurrentPage());
    };
    s.list->onPagePicked = [this](std::int32_t page) { state_->rules->GoToPage(page); };
    s.browse.onClick = [this](BrowseWindow& window, QPoint at) {
        return FollowLinkIn(window, window.View(), at, &window);
    };
    s.browse.onFormLink = [this](BrowseWindow& window, const TKYToggetto& link) {
        FollowObjectIn(window, &window, link);
    };
    BuildToolbar();
    BuildMenus();
}

MainWindow::~MainWindow() {
    state_->rules.reset();  // before the widgets it reports to
    // The pages' carets blink on the scheduler that goes with the state, and the frames show
    // pages of the hypertext that goes with it: the frame set goes first.
    state_->frameSet->ForgetStaleControl();
    state_->frameSet->FrameSet().SetMainPageNumber(-1);
    state_->view->Surface()->removeEventFilter(this);
    state_->view = nullptr;
    delete std::exchange(state_->frameSet, nullptr);
    state_->browse.CloseAll();
}

TMainFormRules& MainWindow::Rules() {
    return *state_->rules;
}
TKYTset& MainWindow::Document() {
    return state_->main;
}
PageViewWidget& MainWindow::PageView() {
    return *state_->view;
}
PageTreeView& MainWindow::Tree() {
    return *state_->tree;
}
PageListView& MainWindow::PageList() {
    return *state_->list;
}
HistoryBox& MainWindow::History() {
    return *state_->history;
}
DocumentConverters& MainWindow::Converters() {
    return state_->converters;
}
QtConverters& MainWindow::ExportService() {
    return *state_->exporting;
}
QtSecondaryWindows& MainWindow::Windows() {
    return *state_->windows;
}
QtPublishService& MainWindow::Publishing() {
    return *state_->publish;
}
BrowseWindows& MainWindow::Browse() {
    return state_->browse;
}

Status MainWindow::SetLocalization(std::string_view block) {
    if (Status s = CheckBlock(block); !s) return s;
    state_->block = std::string(block);
    Localize();
    return {};
}

void MainWindow::Localize() {
    // Checked when it was set; what a block cannot set stays as it was.
    (void)LocalizeWindow(*this, state_->block);
    // The block names the window after the program; a document names it after itself.
    if (state_->rules) setWindowTitle(ToQString(state_->rules->Caption()));
}
int MainWindow::PageShown() const {
    return state_->editor->CurrentPage();
}
qint64 MainWindow::OpenToPaintNanoseconds() const {
    return state_->openToPaint;
}

void MainWindow::Start(const CommandLine& line) {
    State& s = *state_;
    if (s.startWindows) s.rules->ProgramStart();  // the wizard, the tips or the splash
    s.rules->FormCreate();
    LoadHtmlOptions(*s.settings, s.converters.Html());  // the "htmlexp" group
    RestorePlacement();
    show();
    s.openTimer.start();
    s.timingOpen = true;
    s.rules->FormShow(line);
    Refresh();
}

void MainWindow::OpenFile(const std::string& path) {
    State& s = *state_;
    s.openTimer.start();
    s.timingOpen = true;
    s.rules->openFile(path, true);
}

std::optional<std::int32_t> MainWindow::ChooseLinkTarget(int mode, std::int32_t presetCode) {
    State& s = *state_;
    if (!s.links) return std::nullopt;
    QWidget* parent = QApplication::activeModalWidget();
    LinkWindow window(s.main, *s.links, s.messages, parent ? parent : this);
    LocalizeFromBlock(window);
    TLinkChooser& chooser = window.Chooser();
    chooser.mode = mode;
    chooser.preset = presetCode >= 0 ? s.main.ObjectByCode(presetCode) : nullptr;
    window.Prepare();
    if (window.exec() != QDialog::Accepted) return std::nullopt;
    if (std::unique_ptr<TKYToggetto> owned = chooser.TakeOwned()) {
        const TOggettiHel kind = owned->Kind();
        return MakeCode(kind, s.main.Register(std::move(owned)));
    }
    const TKYToggetto* chosen = chooser.ResultObject();
    if (!chosen) return std::nullopt;
    return chosen->Code();
}

}  // namespace orvo

// The main window's widgets. Every decision is the command flow's: the widgets forward clicks,
// drops and closes to it and show what it reports.
#include "ui/app/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdio>
#include <map>
#include <optional>

#include "app/AbsentServices.h"
#include "app/DocumentConverters.h"
#include "app/MainFormBlock.h"
#include "app/MainFormLinks.h"
#include "app/MenuCatalogue.h"
#include "app/PreviewEditor.h"
#include "app/SelectionConverters.h"
#include "app/WindowFeatures.h"
#include "app/u3LOCforms.h"
#include "app/u3MainForm.h"
#include "app/u3Utils.h"
#include "base/Paths.h"
#include "convert/ExportOptions.h"
#include "model/ObjectHolders.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/ISettings.h"
#include "platform/IShell.h"
#include "textbox/uKYTbox.h"
#include "ui/QtConvert.h"
#include "ui/app/BrowseWindows.h"
#include "ui/app/EditingTools.h"
#include "ui/app/HistoryBox.h"
#include "ui/app/LinkedFileWindows.h"
#include "ui/app/PageListView.h"
#include "ui/app/PageTreeView.h"
#include "ui/app/ProgramIconSvg.h"
#include "ui/app/PublishWindow.h"
#include "ui/app/QtLocalizer.h"
#include "ui/app/QtMessages.h"
#include "ui/app/QtPrompter.h"
#include "ui/app/QtScheduler.h"
#include "ui/app/SecondaryWindows.h"
#include "ui/print/QtPrintService.h"
#include "ui/render/QtTextMeasurer.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {
namespace {

// The main window's page view as the preview's main surface.
class MainPageSurface final : public IPreviewSurface {
public:
    explicit MainPageSurface(PageViewWidget& view) : view_(view) {}
    bool ShowPage(std::int32_t page) override { return view_.ShowPage(page); }
    void ClosePage() override { view_.ClosePage(); }
    std::int32_t PageShown() const override { return view_.PageShown(); }
    bool GoToAnchor(std::int32_t anchor) override { return view_.GoToAnchor(anchor); }
    const TKYTbox* Box() const override { return view_.Box(); }
    const TKYTtesto* WorkingText() const override { return view_.WorkingText(); }
    void Raise() override {}
    void ApplyFeatures(const WindowFeatures&) override {}
    void DetachPage() override { view_.DetachPage(); }
    void ReattachPage() override { view_.ReattachPage(); }
    void SetEnabled(bool on) override { view_.setEnabled(on); }
    void Repaint() override { view_.Surface()->update(); }

private:
    PageViewWidget& view_;
};

// The browse windows as the preview opens them; a pop-up goes where the link was clicked.
class BrowsePort final : public IBrowseWindowsPort {
public:
    BrowsePort(BrowseWindows& windows, const QPoint& clickPoint)
        : windows_(windows), clickPoint_(clickPoint) {}
    IPreviewSurface& Named(std::string_view name) override { return windows_.Named(name); }
    IPreviewSurface& New(std::string_view name) override { return windows_.New(name); }
    IPreviewSurface& Popup() override { return windows_.Popup(clickPoint_); }
    void Close(std::string_view name) override { windows_.Close(name); }
    void CloseAll() override { windows_.CloseAll(); }
    void DetachPages() override { windows_.DetachPages(); }
    void ReattachPages() override { windows_.ReattachPages(); }

private:
    BrowseWindows& windows_;
    const QPoint& clickPoint_;
};

class ViewNotice final : public IMainWindowView {
public:
    explicit ViewNotice(std::function<void()> changed) : changed_(std::move(changed)) {}
    void StateChanged() override { changed_(); }

private:
    std::function<void()> changed_;
};

QString MenuText(std::string_view caption) {
    return ToQString(caption);  // "&" marks the access key in Qt as well
}

}  // namespace

std::string_view ProgramIconSvg() {
    return kProgramIconSvg;
}

QIcon ProgramIcon() {
    QSvgRenderer renderer(
        QByteArray::fromRawData(kProgramIconSvg.data(), qsizetype(kProgramIconSvg.size())));
    QIcon icon;
    if (!renderer.isValid()) return icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

struct MainWindow::State {
    State(Environment& env, const MainWindowOptions& options, QWidget* parent)
        : environment(env),
          qtMessages(parent),
          qtPrompter(parent),
          messages(options.messages ? *options.messages : qtMessages),
          prompter(options.prompter ? *options.prompter : qtPrompter),
          main(env, messages),
          holders(main),
          library(env, messages),
          browse(main, *parent),
          converters(main, messages, measurer) {}
    Environment& environment;
    QtMessages qtMessages;
    QtPrompter qtPrompter;
    IMessages& messages;
    IPrompter& prompter;
    TKYTset main;
    ObjectHolders holders;  // the one listener of main's replace notifications
    TKYTset library;
    BrowseWindows browse;
    QtScheduler scheduler;
    QtTextMeasurer measurer{96};  // the RTF export's font table
    DocumentConverters converters;
    std::unique_ptr<QtPrintService> print;
    // The export, publishing, options, new-hypertext, tips and about windows.
    std::unique_ptr<QtConverters> exporting;
    std::unique_ptr<QtPublishService> publish;
    std::unique_ptr<QtSecondaryWindows> windows;
    FunctionOptionsHost optionsHost;
    bool startWindows = false;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<QtLinkedFileWindows> fileWindows;
    std::unique_ptr<LinkedFiles> files;
    std::unique_ptr<LinkedFilesPort> linkedFiles;
    std::unique_ptr<MainPageSurface> mainSurface;
    std::unique_ptr<BrowsePort> browsePort;
    std::unique_ptr<PreviewEditor> editor;
    std::unique_ptr<SelectionConverters> selectionConverters;
    std::unique_ptr<EditingEditorView> editingEditor;  // the editor the command flow sees
    std::unique_ptr<EditingTools> editing;
    ObjectHolders::Registration pagesHeld;
    std::unique_ptr<ViewNotice> notice;
    std::unique_ptr<TMainFormRules> rules;
    ISettings* settings = nullptr;

    PageTreeView* tree = nullptr;
    PageListView* list = nullptr;
    QTabWidget* panel = nullptr;
    PageViewWidget* view = nullptr;
    QLabel* previewMark = nullptr;
    QLabel* editMark = nullptr;
    std::string block;  // the localisation block applied
    QPoint clickPoint;  // where on the screen the link being followed was clicked
    HistoryBox* history = nullptr;
    QToolBar* toolbar = nullptr;
    QAction* editButton = nullptr;
    QAction* back = nullptr;
    QAction* forward = nullptr;
    std::optional<MenuStamp> menusShown;  // what the menus were built from
    DocumentStamp documentShown;          // what the tree and list were read from
    bool refreshing = false;

    QElapsedTimer openTimer;
    bool timingOpen = false;
    qint64 openToPaint = -1;
};

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
    s.view = new PageViewWidget(s.main, splitter);
    s.view->setObjectName(QStringLiteral("PageView"));
    splitter->addWidget(s.panel);
    splitter->addWidget(s.view);
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
    s.mainSurface = std::make_unique<MainPageSurface>(*s.view);
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
    // Pages are edited in the same widget: the caret blinks on the window's scheduler, copies
    // and pastes of RTF go through the converters.
    s.selectionConverters = std::make_unique<SelectionConverters>(
        s.main, s.measurer, [this] { return state_->view->WorkingText(); });
    s.view->EnableEditing(s.scheduler, s.messages, s.selectionConverters.get());
    s.editingEditor = std::make_unique<EditingEditorView>(*s.editor, *s.view);
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
        this, options.startWindows});
    MainFormServices services{s.environment, s.messages, settings,         s.scheduler,
                              shell,         s.prompter, *s.editingEditor, *s.exporting,
                              *s.print,      *s.publish, *s.windows,       *s.linkedFiles,
                              *s.notice};
    services.programPath = options.programPath;
    services.desktopDataHome = options.desktopDataHome;
    services.programIcon = std::string(kProgramIconSvg);
    services.probeWordProcessor = &DocumentConverters::ProbeWordProcessor;
    // The main window's own commands, and the converters: the HTML preview in a browser, the
    // pages saved as HTML, RTF or text, and the export, publishing and options windows. The
    // import window is not built: its command does not show.
    s.rules = std::make_unique<TMainFormRules>(
        s.main, s.library, services,
        Services{Service::Printing, Service::HtmlExport, Service::RtfExport, Service::Editing,
                 Service::ExportWindow, Service::Publishing, Service::ProgramOptions});
    s.optionsHost.windowCacheLimit = [this] { return state_->rules->FrameLimit(); };
    s.optionsHost.showCurrentPageAgain = [this] { state_->editor->Refresh(); };
    s.editing = std::make_unique<EditingTools>(*this, *s.view, *s.rules);
    s.editingEditor->onHideTools = [this] { state_->editing->HideContextToolbars(); };
    s.view->onToolsChanged = [this] {
        if (state_->editing) state_->editing->Refresh();
    };
    s.view->onFilesDropped = [this](const std::vector<std::string>& files) {
        state_->rules->EditorDropFile(files);
    };
    s.view->onOpenHypertext = [this](const std::string& file) {
        state_->rules->openFile(file, true);
    };

    s.tree->onPagePicked = [this](std::int32_t page) { state_->rules->GoToPage(page); };
    s.list->onPagePicked = [this](std::int32_t page) { state_->rules->GoToPage(page); };
    s.browse.onClick = [this](BrowseWindow& window, QPoint at) {
        FollowLinkIn(window, window.View(), at, &window);
    };
    BuildToolbar();
    BuildMenus();
}

MainWindow::~MainWindow() {
    state_->rules.reset();  // before the widgets it reports to
    // The page's caret blinks on the scheduler that goes with the state, before the widget.
    state_->view->ClosePage();
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

void MainWindow::BuildToolbar() {
    State& s = *state_;
    s.toolbar = addToolBar(QString());
    s.toolbar->setObjectName(QStringLiteral("ToolBarMain"));
    QAction* open = s.toolbar->addAction(style()->standardIcon(QStyle::SP_DialogOpenButton), {});
    open->setObjectName(QStringLiteral("BApri"));
    connect(open, &QAction::triggered, this,
            [this] { state_->rules->Execute(CommandId::FileOpen); });
    QAction* save = s.toolbar->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton), {});
    save->setObjectName(QStringLiteral("BSalva"));
    connect(save, &QAction::triggered, this,
            [this] { state_->rules->Execute(CommandId::FileSave); });
    s.toolbar->addSeparator();
    // Edit mode on or off; the command flow asks for the edit password when there is one.
    s.editButton =
        s.toolbar->addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView), {});
    s.editButton->setObjectName(QStringLiteral("EditButton"));
    s.editButton->setCheckable(true);
    connect(s.editButton, &QAction::triggered, this, [this] {
        state_->rules->EditButtonClick();
        Refresh();
    });
    s.toolbar->addSeparator();
    s.back = s.toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), {});
    s.back->setObjectName(QStringLiteral("BPrecedente"));
    connect(s.back, &QAction::triggered, this, [this] { state_->rules->BPrecedenteClick(); });
    s.forward = s.toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), {});
    s.forward->setObjectName(QStringLiteral("Bseguente"));
    connect(s.forward, &QAction::triggered, this, [this] { state_->rules->BseguenteClick(); });
    s.toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    s.history = new HistoryBox(s.toolbar);
    s.history->setObjectName(QStringLiteral("HistoryCombo"));
    s.history->onPick = [this](int index) { state_->rules->HistoryComboClick(index); };
    s.toolbar->addWidget(s.history);
    s.editing->AddToMainToolbar(*s.toolbar);
}

void MainWindow::BuildMenus() {
    State& s = *state_;
    s.menusShown = s.rules->MenusShown();
    // The menus of the last build go, with their names, so that only the new ones answer.
    for (QMenu* old : menuBar()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) {
        for (QObject* o : old->findChildren<QObject*>()) o->setObjectName(QString());
        old->setObjectName(QString());
        old->deleteLater();
    }
    menuBar()->clear();
    std::map<std::string_view, QMenu*> menus;
    std::map<std::pair<std::string_view, std::string_view>, QMenu*> submenus;
    for (const MenuItem* item : s.rules->VisibleMenuItems()) {
        QMenu*& menu = menus[item->menu];
        if (!menu) {
            menu = menuBar()->addMenu(MenuText(item->menu));
            menu->setObjectName(ToQString(MenuComponentName(item->menu)));
        }
        QMenu* target = menu;
        if (!item->submenu.empty()) {
            QMenu*& sub = submenus[{item->menu, item->submenu}];
            if (!sub) {
                sub = menu->addMenu(MenuText(item->submenu));
                sub->setObjectName(ToQString(MenuComponentName(item->submenu)));
            }
            target = sub;
        }
        // The command table's caption until the block gives the item its text.
        QAction* action = target->addAction(MenuText(item->caption));
        action->setObjectName(ToQString(CommandComponentName(item->command)));
        const CommandId command = item->command;
        if (const auto key = EditingTools::Shortcut(command)) action->setShortcut(*key);
        connect(action, &QAction::triggered, this, [this, command] {
            if (!state_->editing->RunCommand(command)) state_->rules->Execute(command);
        });
    }
    for (auto& [name, menu] : menus)
        if (name == MenuItemOf(CommandId::HypertextCover).menu) s.editing->AddGoToPageMenu(*menu);
    // The recent files close the File menu, numbered as the menu shows them.
    if (!menus.empty() && !s.menusShown->recent.empty()) {
        QMenu* file = menus.begin()->second;
        for (auto& [name, menu] : menus) {
            if (name == MenuItemOf(CommandId::FileOpen).menu) file = menu;
        }
        file->addSeparator();
        const auto& entries = s.menusShown->recent;
        for (int i = int(entries.size()) - 1, n = 1; i >= 0; --i, ++n) {
            QAction* action = file->addAction(
                QStringLiteral("&%1 %2").arg(n).arg(ToQString(entries[std::size_t(i)])));
            connect(action, &QAction::triggered, this,
                    [this, i] { state_->rules->RecentFileClick(i); });
        }
    }
    Localize();
}

void MainWindow::Refresh() {
    State& s = *state_;
    if (!s.rules || s.refreshing) return;
    s.refreshing = true;
    TMainFormRules& rules = *s.rules;
    setWindowTitle(ToQString(rules.Caption()));
    if (s.menusShown != rules.MenusShown()) BuildMenus();
    if (DocumentStamp now = rules.DocumentShown(); now != s.documentShown) {
        s.documentShown = std::move(now);
        s.tree->Reload();
        s.list->Reload();
    }
    s.tree->SelectPage(s.editor->CurrentPage());
    s.list->SelectPage(s.editor->CurrentPage());
    s.editButton->setChecked(rules.EditMode());
    s.previewMark->setVisible(!rules.EditMode());
    s.editMark->setVisible(rules.EditMode());
    s.history->ShowHistory(rules.History());
    s.back->setEnabled(rules.History().CanGoBack());
    s.forward->setEnabled(rules.History().CanGoForward());
    const QString status = ToQString(rules.StatusLine());
    statusBar()->showMessage(status);
    if (s.editing) s.editing->Refresh();
    s.refreshing = false;
}

std::int32_t MainWindow::LinkAt(int x, int y) const {
    return PreviewEditor::LinkAt(*state_->mainSurface, x, y);
}

bool MainWindow::ClickAt(int x, int y) {
    return FollowLinkIn(*state_->mainSurface, *state_->view, QPoint(x, y), nullptr);
}

bool MainWindow::FollowLinkIn(IPreviewSurface& surface, PageViewWidget& view, QPoint at,
                              IPreviewSurface* from) {
    State& s = *state_;
    s.clickPoint = view.Surface()->mapToGlobal(at);
    return s.editor->Click(surface, from, at.x(), at.y(),
                           [&s](const LinkSource& source, const std::optional<LinkedObject>& link) {
                               s.rules->EditorDoLink(source, link);
                           });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    State& s = *state_;
    if (watched == s.view->Surface()) {
        // A page being edited takes its own mouse events; links are followed in preview.
        const bool mouse = event->type() == QEvent::MouseButtonPress ||
                           event->type() == QEvent::MouseButtonRelease ||
                           event->type() == QEvent::MouseMove;
        if (mouse && s.view->Editable()) return QMainWindow::eventFilter(watched, event);
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            return true;  // taken, so that the release comes here too
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                const QPoint p = mouse->position().toPoint();
                ClickAt(p.x(), p.y());
            }
        } else if (event->type() == QEvent::MouseMove) {
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            s.view->Surface()->setCursor(LinkAt(p.x(), p.y()) >= 0 ? Qt::PointingHandCursor
                                                                   : Qt::ArrowCursor);
        } else if (event->type() == QEvent::Paint && s.timingOpen) {
            // The paint runs inside this call; the figure is taken once it has ended.
            s.timingOpen = false;
            QApplication::sendEvent(watched, event);
            s.openToPaint = s.openTimer.nsecsElapsed();
            if (qEnvironmentVariableIsSet("ORVO_TIMING")) {
                std::fprintf(stderr, "orvo: openFile to first paint %.2f ms\n",
                             double(s.openToPaint) / 1e6);
            }
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            files.push_back(NameOfPath(std::filesystem::path(url.toLocalFile().toStdString())));
        }
    }
    if (files.empty()) return;
    event->acceptProposedAction();
    state_->rules->EditorDropFile(files);
}

void MainWindow::RestorePlacement() {
    ISettings& settings = *state_->settings;
    const std::string key = std::string(keys::kForms) + "\\" + objectName().toStdString();
    if (auto geometry = settings.Read(key, "geometry")) {
        restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*geometry)));
    }
    if (const auto& layout = state_->rules->ToolbarLayout()) {
        restoreState(QByteArray::fromBase64(QByteArray::fromStdString(*layout)));
    }
}

void MainWindow::SavePlacement() {
    ISettings& settings = *state_->settings;
    const std::string key = std::string(keys::kForms) + "\\" + objectName().toStdString();
    settings.Write(key, "geometry", saveGeometry().toBase64().toStdString());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    State& s = *state_;
    if (!s.rules->FormCloseQuery()) {
        event->ignore();
        return;
    }
    s.rules->FormClose();
    SavePlacement();
    s.rules->FormDestroy(saveState().toBase64().toStdString());
    event->accept();
}

}  // namespace orvo

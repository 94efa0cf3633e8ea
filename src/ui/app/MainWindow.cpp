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
#include "app/WindowFeatures.h"
#include "app/u3LOCforms.h"
#include "app/u3MainForm.h"
#include "app/u3Utils.h"
#include "base/Paths.h"
#include "convert/ExportOptions.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/ISettings.h"
#include "platform/IShell.h"
#include "textbox/uKYTbox.h"
#include "ui/QtConvert.h"
#include "ui/app/BrowseWindows.h"
#include "ui/app/HistoryBox.h"
#include "ui/app/PageListView.h"
#include "ui/app/PageTreeView.h"
#include "ui/app/ProgramIconSvg.h"
#include "ui/app/QtLocalizer.h"
#include "ui/app/QtMessages.h"
#include "ui/app/QtPrompter.h"
#include "ui/app/QtScheduler.h"
#include "ui/render/QtTextMeasurer.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {
namespace {

// The editor as the preview shows it: one page view in the main window (its only frame) and
// the separate and pop-up browse windows that links open.
class PreviewEditor final : public IEditorView {
public:
    // `clickWindow` names the browse window the link being followed was clicked in (nullptr:
    // the main window), `clickPoint` where on the screen.
    // `released` is told when the pages go, as a document is replaced.
    PreviewEditor(TKYTset& set, PageViewWidget& view, BrowseWindows& browse, IMessages& messages,
                  std::function<void(int)> changed, std::function<BrowseWindow*()> clickWindow,
                  std::function<QPoint()> clickPoint, std::function<void()> released)
        : set_(set),
          view_(view),
          browse_(browse),
          messages_(messages),
          changed_(std::move(changed)),
          clickWindow_(std::move(clickWindow)),
          clickPoint_(std::move(clickPoint)),
          released_(std::move(released)) {}

    void ReleasePages() override {
        released_();
        browse_.CloseAll();
        view_.ClosePage();
        current_ = -1;
    }
    void ShowPage(int page) override {
        const bool shown = view_.ShowPage(page);
        shownIn_ = &view_;
        const int now = shown ? page : -1;
        if (now == current_) return;
        current_ = now;
        changed_(now);
    }
    int CurrentPage() const override { return current_; }
    void SetReadOnly(bool) override {}  // the preview never edits
    bool Changed() const override { return false; }
    void ClearChanged() override {}
    bool PageHasUnsavedEdits() const override { return false; }
    void CommitPage() override {}
    bool Busy() const override { return false; }
    void SetEnabled(bool on) override { view_.setEnabled(on); }
    void HideContextToolbars() override {}
    void Refresh() override { view_.Surface()->update(); }
    // On the page a link just showed; else on the page the link was clicked on.
    void GoToAnchor(int anchor) override {
        BrowseWindow* from = clickWindow_();
        PageViewWidget* target = shownIn_ ? shownIn_ : from ? &from->View() : &view_;
        target->GoToAnchor(anchor);
    }
    /// A link is being followed: no page shown for it yet.
    void BeginLink() { shownIn_ = nullptr; }
    void SetAutoEngQuote(bool) override {}
    // The main window's view is a single frame: frame set -1. Inner frame sets are not built.
    void ShowInFrameSet(int frameSet, int page) override {
        if (frameSet == -1)
            ShowPage(page);
        else
            messages_.Inform("Non definito o non supportato.");
    }
    void ShowInSourceFrame(const LinkSource&, int page, int anchor) override {
        if (BrowseWindow* from = clickWindow_()) {
            Show(*from, page, anchor);
        } else {
            ShowPage(page);
            if (anchor >= 0) view_.GoToAnchor(anchor);
        }
    }
    // No frame of the view has a name, so the page goes to the browse window of that name.
    void ShowInNamedFrame(std::string_view name, int page, int anchor) override {
        Show(browse_.Named(name), page, anchor);
    }
    // The link's content holds the window's features: its position and size come first.
    void ShowInSeparateWindow(std::string_view name, int page, int anchor,
                              const LinkedObject& link) override {
        BrowseWindow& window = browse_.Named(name);
        if (link.object) {
            if (Result<std::string> content = link.object->ContentBytes(); content)
                window.ApplyFeatures(ReadWindowFeatures(*content));
        }
        Show(window, page, anchor);
    }
    void ShowInNewWindow(std::string_view name, int page, int anchor) override {
        Show(browse_.New(name), page, anchor);
    }
    void ShowInPopup(const LinkSource&, int page, int anchor) override {
        Show(browse_.Popup(clickPoint_()), page, anchor);
    }
    void CloseBrowseWindow(std::string_view name) override { browse_.Close(name); }
    // A jump's target is the object whose code the link's record holds, a local code
    // resolved through the text of the page the link was clicked on.
    std::optional<LinkedObject> ResolveTarget(const LinkedObject& link) override {
        if (!link.object) return std::nullopt;
        const std::int32_t code = link.object->ReadView().I32(kSpecTarget);
        BrowseWindow* from = clickWindow_();
        const TKYToggetto* target = (from ? from->View() : view_).LinkObject(code);
        if (!target || target->IsFree()) return std::nullopt;
        return LinkedObjectOf(*target, set_);
    }

private:
    void Show(BrowseWindow& window, int page, int anchor) {
        if (window.ShowPage(page) && anchor >= 0) window.View().GoToAnchor(anchor);
        shownIn_ = &window.View();
        window.raise();
    }
    TKYTset& set_;
    PageViewWidget& view_;
    BrowseWindows& browse_;
    IMessages& messages_;
    std::function<void(int)> changed_;
    std::function<BrowseWindow*()> clickWindow_;
    std::function<QPoint()> clickPoint_;
    std::function<void()> released_;
    PageViewWidget* shownIn_ = nullptr;  // where the link being followed showed its page
    int current_ = -1;
};

// Embedded files open with the desktop's program for their type, after extraction.
class DesktopLinkedFiles final : public ILinkedFiles {
public:
    DesktopLinkedFiles(IShell& shell, IMessages& messages) : shell_(shell), messages_(messages) {}
    void OpenLinkedFile(TKYToggetto& genLink) override {
        EmbeddedObjectFile file(genLink);
        Result<std::filesystem::path> extracted = file.ExtractContent();
        if (!extracted) {
            messages_.Show(
                extracted.failure().severity == Severity::Warning ? Box::Warning : Box::Error,
                extracted.failure().text);
            return;
        }
        if (Status s = shell_.OpenWithDefault(*extracted); !s) {
            messages_.Error(s.failure().text);
        }
    }
    void RunRegisteredProgram(const std::string&, TKYToggetto*) override {
        messages_.Inform("Non definito o non supportato.");
    }

private:
    IShell& shell_;
    IMessages& messages_;
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

// The link code under (x, y) of a page view's surface, or -1. Only a click on a character
// counts, not one beside the line or below the text.
std::int32_t LinkIn(const PageViewWidget& view, int x, int y) {
    const TKYTbox* box = view.Box();
    if (!box) return -1;
    const TKYTTextPos pos = box->HitTest(1, x, y);
    if (!pos.Valid() || !pos.paragraph || pos.height < 0) return -1;
    if (y < pos.y || y >= pos.y + pos.height || x < pos.x || x >= pos.xRight) return -1;
    return pos.paragraph->LinkAt(pos.charIndex);
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
          library(env, messages),
          browse(main, *parent),
          converters(main, messages, measurer) {}
    Environment& environment;
    QtMessages qtMessages;
    QtPrompter qtPrompter;
    IMessages& messages;
    IPrompter& prompter;
    TKYTset main;
    TKYTset library;
    BrowseWindows browse;
    QtScheduler scheduler;
    QtTextMeasurer measurer{96};  // the RTF export's font table
    DocumentConverters converters;
    AbsentPrint print;
    AbsentPublish publish;
    AbsentWindows windows;
    std::unique_ptr<DesktopLinkedFiles> linkedFiles;
    std::unique_ptr<PreviewEditor> editor;
    std::unique_ptr<ViewNotice> notice;
    std::unique_ptr<TMainFormRules> rules;
    ISettings* settings = nullptr;

    PageTreeView* tree = nullptr;
    PageListView* list = nullptr;
    QTabWidget* panel = nullptr;
    PageViewWidget* view = nullptr;
    QLabel* previewMark = nullptr;
    QLabel* editMark = nullptr;
    std::string block;                    // the localisation block applied
    BrowseWindow* clickWindow = nullptr;  // where the link being followed was clicked
    QPoint clickPoint;                    // and where on the screen
    HistoryBox* history = nullptr;
    QToolBar* toolbar = nullptr;
    QAction* editButton = nullptr;
    QAction* back = nullptr;
    QAction* forward = nullptr;
    std::optional<bool> menusBuiltForEdit;
    std::vector<std::string> menuRecent;  // the recent files the File menu lists
    std::string shownDocument;            // the document whose tree is shown
    std::int32_t shownSaveCounter = -1;
    int shownPageCount = -1;
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

    s.linkedFiles = std::make_unique<DesktopLinkedFiles>(shell, s.messages);
    s.editor = std::make_unique<PreviewEditor>(
        s.main, *s.view, s.browse, s.messages,
        [this](int page) {
            if (state_->rules) state_->rules->EditorPageChanged(page);
        },
        [this] { return state_->clickWindow; }, [this] { return state_->clickPoint; },
        [this] {
            // A document opened by any command is timed from here to its first paint.
            if (state_->timingOpen) return;
            state_->openTimer.start();
            state_->timingOpen = true;
        });
    s.converters.AttachEditor(s.editor.get());
    s.notice = std::make_unique<ViewNotice>([this] { Refresh(); });
    MainFormServices services{s.environment, s.messages,     settings,     s.scheduler, shell,
                              s.prompter,    *s.editor,      s.converters, s.print,     s.publish,
                              s.windows,     *s.linkedFiles, *s.notice};
    services.programPath = options.programPath;
    services.desktopDataHome = options.desktopDataHome;
    services.programIcon = std::string(kProgramIconSvg);
    services.probeWordProcessor = &DocumentConverters::ProbeWordProcessor;
    // The main window's own commands, and the HTML converter's preview in a browser.
    s.rules = std::make_unique<TMainFormRules>(s.main, s.library, services,
                                               Services{Service::HtmlExport});

    s.tree->onPagePicked = [this](std::int32_t page) { state_->rules->GoToPage(page); };
    s.list->onPagePicked = [this](std::int32_t page) { state_->rules->GoToPage(page); };
    s.browse.onClick = [this](BrowseWindow& window, QPoint at) {
        FollowLinkIn(window.View(), window.PageShown(), at, &window);
    };
    BuildToolbar();
    BuildMenus();
}

MainWindow::~MainWindow() {
    state_->rules.reset();  // before the widgets it reports to
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
}

void MainWindow::BuildMenus() {
    State& s = *state_;
    const bool edit = s.rules->EditMode();
    s.menusBuiltForEdit = edit;
    s.menuRecent = s.rules->Recent().Entries();
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
        connect(action, &QAction::triggered, this,
                [this, command] { state_->rules->Execute(command); });
    }
    // The recent files close the File menu, numbered as the menu shows them.
    if (!menus.empty() && !s.menuRecent.empty()) {
        QMenu* file = menus.begin()->second;
        for (auto& [name, menu] : menus) {
            if (name == MenuItemOf(CommandId::FileOpen).menu) file = menu;
        }
        file->addSeparator();
        const auto& entries = s.menuRecent;
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
    if (s.menusBuiltForEdit != rules.EditMode() || s.menuRecent != rules.Recent().Entries()) {
        BuildMenus();
    }
    // A document loaded, saved or grown: its tree is read again.
    const int pages = s.main.KindCount(TOggettiHel::testoHtml);
    if (s.shownDocument != s.main.KYTFileName() || s.shownSaveCounter != s.main.SaveCounter() ||
        s.shownPageCount != pages) {
        s.shownDocument = s.main.KYTFileName();
        s.shownSaveCounter = s.main.SaveCounter();
        s.shownPageCount = pages;
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
    QString status = ToQString(rules.StatusText());
    if (status.isEmpty() && s.editor->CurrentPage() >= 0) {
        if (const TKYToggetto* page =
                s.main.ObjectByKind(TOggettiHel::testoHtml, s.editor->CurrentPage())) {
            status = ToQString(page->Name());
        }
    }
    statusBar()->showMessage(status);
    s.refreshing = false;
}

std::int32_t MainWindow::LinkAt(int x, int y) const {
    return LinkIn(*state_->view, x, y);
}

bool MainWindow::ClickAt(int x, int y) {
    return FollowLinkIn(*state_->view, state_->editor->CurrentPage(), QPoint(x, y), nullptr);
}

bool MainWindow::FollowLinkIn(PageViewWidget& view, int page, QPoint at, BrowseWindow* from) {
    State& s = *state_;
    const std::int32_t code = LinkIn(view, at.x(), at.y());
    if (code < 0) return false;
    LinkSource source;
    source.kind = LinkSourceKind::TextBox;
    source.page = page;
    TKYToggetto* object = view.LinkObject(code);
    std::optional<LinkedObject> linked;
    if (object) linked = LinkedObjectOf(*object, s.main);
    s.clickWindow = from;
    s.clickPoint = view.Surface()->mapToGlobal(at);
    s.editor->BeginLink();
    s.rules->EditorDoLink(source, linked);
    s.clickWindow = nullptr;
    return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    State& s = *state_;
    if (watched == s.view->Surface()) {
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

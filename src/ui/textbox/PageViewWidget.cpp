// The page widget: Qt events become calls on the page surface, its text box and the box's
// input; the widget itself decides nothing about the text.
#include "ui/textbox/PageViewWidget.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDrag>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

#include "model/uKYTogge.h"
#include "objects/ObjectViews.h"
#include "objects/PageCells.h"
#include "objects/TableCommands.h"
#include "platform/IScheduler.h"
#include "spell/QzSpellers.h"
#include "spell/SpellMarks.h"
#include "spell/TQzSpellThread.h"
#include "textbox/PageEditSession.h"
#include "textbox/PageLinks.h"
#include "textbox/TKYTpage.h"
#include "textbox/TKYTpageHeadless.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTboxInput.h"
#include "textbox/uKYTboxView.h"
#include "ui/QtConvert.h"
#include "ui/objects/PictureEditing.h"
#include "ui/render/PageRender.h"
#include "ui/render/QPainterCanvas.h"
#include "ui/render/QtTextMeasurer.h"
#include "ui/table/TableDialogs.h"
#include "ui/textbox/PageFormInput.h"
#include "ui/textbox/QtClipboard.h"

namespace orvo {
namespace {

// The MIME type that marks a text drag between boxes of this program.
const QString kTextDragMime = QStringLiteral("application/x-orvo30-text-drag");

// The box a text drag started in, while the drag runs (one drag at a time).
TKYTboxInput* g_dragSource = nullptr;

// The scroll area as the box's page: its viewport is the client area, its scroll bars the
// page's.
class ScrollAreaHost final : public IBoxHost {
public:
    ScrollAreaHost(QScrollArea& area, QWidget& surface, std::function<void()> tools)
        : area_(area), surface_(surface), tools_(std::move(tools)) {}

    std::int32_t ClientWidth() const override { return area_.viewport()->width(); }
    std::int32_t ClientHeight() const override { return area_.viewport()->height(); }
    std::int32_t HorizontalRange() const override {
        return area_.horizontalScrollBar()->maximum() + ClientWidth();
    }
    std::int32_t HorizontalPosition() const override {
        return area_.horizontalScrollBar()->value();
    }
    std::int32_t VerticalRange() const override {
        return area_.verticalScrollBar()->maximum() + ClientHeight();
    }
    std::int32_t VerticalPosition() const override { return area_.verticalScrollBar()->value(); }
    void SetHorizontalScroll(std::int32_t range, std::int32_t position) override {
        surface_.resize(std::max(range, ClientWidth()), surface_.height());
        area_.horizontalScrollBar()->setValue(position);
    }
    void SetVerticalScroll(std::int32_t range, std::int32_t position) override {
        surface_.resize(surface_.width(), std::max(range, ClientHeight()));
        area_.verticalScrollBar()->setValue(position);
    }
    Point BoxOriginInPage() const override { return {}; }
    void BoxResized(std::int32_t width, std::int32_t height) override {
        surface_.resize(std::max(width, ClientWidth()), std::max(height, ClientHeight()));
    }
    void Invalidate(const Rect& area) override { surface_.update(ToQRect(area)); }
    void StopSpellCheck() override {
        if (stopSpell) stopSpell();
    }
    void RearmSpellCheck() override {
        if (rearmSpell) rearmSpell();
    }
    bool ShowBoundaries() const override { return false; }
    bool ReadOnly() const override { return readOnly; }
    void RefreshTools() override {
        if (tools_) tools_();
    }
    IInlineObject* ViewOf(const TKYToggetto&) override { return nullptr; }

    bool readOnly = true;
    // The page's background spell check, once the page exists.
    std::function<void()> stopSpell, rearmSpell;

private:
    QScrollArea& area_;
    QWidget& surface_;
    std::function<void()> tools_;
};

BoxKey KeyOf(int key) {
    switch (key) {
        case Qt::Key_Backspace:
            return BoxKey::Backspace;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return BoxKey::Return;
        case Qt::Key_PageUp:
            return BoxKey::PageUp;
        case Qt::Key_PageDown:
            return BoxKey::PageDown;
        case Qt::Key_End:
            return BoxKey::End;
        case Qt::Key_Home:
            return BoxKey::Home;
        case Qt::Key_Left:
            return BoxKey::Left;
        case Qt::Key_Up:
            return BoxKey::Up;
        case Qt::Key_Right:
            return BoxKey::Right;
        case Qt::Key_Down:
            return BoxKey::Down;
        case Qt::Key_Delete:
            return BoxKey::Delete;
        case Qt::Key_F9:
            return BoxKey::F9;
        default:
            return BoxKey::None;
    }
}

unsigned ModifiersOf(Qt::KeyboardModifiers m) {
    unsigned out = 0;
    if (m & Qt::ShiftModifier) out |= kModShift;
    if (m & Qt::ControlModifier) out |= kModCtrl;
    if (m & Qt::AltModifier) out |= kModAlt;
    return out;
}

MouseButton ButtonOf(Qt::MouseButton b) {
    return b == Qt::RightButton    ? MouseButton::Right
           : b == Qt::MiddleButton ? MouseButton::Middle
                                   : MouseButton::Left;
}

Qt::CursorShape CursorOf(int pointer) {
    switch (pointer) {
        case kPointerIBeam:
            return Qt::IBeamCursor;
        case kPointerHand:
        case kPointerEditHand:
            return Qt::PointingHandCursor;
        case kPointerDrag:
            return Qt::DragMoveCursor;
        default:
            return Qt::ArrowCursor;
    }
}

}  // namespace

// What the box's input asks of the widget: focus, menus, hints, drags and drops.
class PageInputHost final : public IBoxInputHost {
public:
    explicit PageInputHost(PageViewWidget& view) : view_(view) {}
    void TakeFocus(TKYTboxInput& box) override;
    int LinkKind(std::int32_t linkId) const override {
        const TKYToggetto* link = view_.LinkObject(linkId);
        return link ? int(link->Kind()) : -1;
    }
    void ShowHint(std::string_view text) override {
        if (text.empty())
            QToolTip::hideText();
        else
            QToolTip::showText(QCursor::pos(), ToQString(text), view_.Surface());
    }
    std::string LinkDescription(std::int32_t linkId) const override {
        const TKYToggetto* link = view_.LinkObject(linkId);
        return link ? std::string(link->Name()) : std::string();
    }
    void ShowMenu(TKYTboxInput& input, BoxMenu menu, Point at) override {
        view_.ShowMenu(int(menu), QPoint(at.x, at.y), &input);
    }
    DropChoice AskDrop(Point at) override;
    void StartTextDrag(TKYTboxInput& source) override;
    void DropFiles(TKYTboxInput&, const std::vector<std::string>& names) override {
        if (view_.onFilesDropped) view_.onFilesDropped(names);
    }
    void OpenHypertext(const std::string& name) override {
        if (view_.onOpenHypertext) view_.onOpenHypertext(name);
    }
    void ImageFromClipboard(TKYTboxInput&, std::string_view) override {
        if (view_.onImageFromClipboard) view_.onImageFromClipboard();
    }

private:
    PageViewWidget& view_;
};

// Paints the page (the background, then the text box and the caret over it) and hands its
// events to the widget.
class PageSurface final : public QWidget {
public:
    explicit PageSurface(PageViewWidget& view) : view_(view) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
        setAcceptDrops(true);
    }

    // The view is being destroyed: the events its children still receive are the toolkit's own.
    void Orphan() { orphaned_ = true; }

protected:
    bool event(QEvent* e) override {
        if (!orphaned_ && view_.SurfaceEvent(e)) return true;
        return QWidget::event(e);
    }

private:
    PageViewWidget& view_;
    bool orphaned_ = false;
};

// The page's background spell check: nothing until spelling is enabled, then the paced check.
class SpellPacerSlot final : public ISpellPacer {
public:
    void Start(TKYTpage& page, std::unique_ptr<TParInfoForThread> handOff) override {
        if (target) target->Start(page, std::move(handOff));
    }
    void Stop() override {
        if (target) target->Stop();
    }
    bool Running() const override { return target && target->Running(); }
    ISpellPacer* target = nullptr;
};

struct PageViewWidget::State {
    explicit State(TKYTset& s) : set(s) {}
    TKYTset& set;
    QtTextMeasurer measurer{96};
    HeadlessFrameSet frameSet;
    RecordingUndoPurge undo;
    SpellPacerSlot spell;
    TQzSpellChecker* checker = nullptr;
    std::unique_ptr<TQzSpellThread> spellThread;
    ManualScheduler manualScheduler;
    IScheduler* scheduler = &manualScheduler;
    QtClipboard clipboard;
    std::unique_ptr<PageInputHost> inputHost;
    std::unique_ptr<PageEditSession> session;
    PageSurface* surface = nullptr;
    std::unique_ptr<ScrollAreaHost> host;
    // The views of the page's pictures and tables, drawn with the text.
    std::unique_ptr<ObjectViewHost> objects;
    bool showAnchors = false;  // kept when the objects' host is made again
    // The cells of its tables, which the session edits like the page's own box.
    std::unique_ptr<PageCells> cells;
    std::unique_ptr<TKYTboxViewFactory> views;
    // The editing of those pictures while the page is edited.
    std::unique_ptr<PictureEditing> pictures;
    // A column of a table resized by its header strip.
    std::unique_ptr<TableHeaderDrag> headerDrag;
    std::unique_ptr<TKYTpage> page;
    PageBackgroundPicture background;
    // The clicks and keys of the form inputs while the page is browsed.
    PageFormInput* formInput = nullptr;
    bool editable = false;
    bool toolsPending = false;
    int paints = 0;
};

void PageInputHost::TakeFocus(TKYTboxInput& box) {
    if (!view_.Surface()->hasFocus()) view_.Surface()->setFocus(Qt::OtherFocusReason);
    if (!box.Focused()) box.FocusIn();
}

DropChoice PageInputHost::AskDrop(Point at) {
    QMenu menu(view_.Surface());
    QAction* move = menu.addAction(QStringLiteral("&Sposta"));
    QAction* copy = menu.addAction(QStringLiteral("&Copia"));
    menu.addSeparator();
    menu.addAction(QStringLiteral("&Annulla"));
    QAction* chosen = menu.exec(view_.Surface()->mapToGlobal(QPoint(at.x, at.y)));
    return chosen == move   ? DropChoice::Move
           : chosen == copy ? DropChoice::Copy
                            : DropChoice::Cancel;
}

void PageInputHost::StartTextDrag(TKYTboxInput& source) {
    // The text in the program's own format, and as plain text for other programs.
    ClipboardContents contents;
    std::string stream = source.Editing().WriteSelection(true, nullptr);
    if (!stream.empty()) contents.emplace_back(kClipObjects, std::move(stream));
    contents.emplace_back(kClipText, source.Editing().WriteSelectionAsText());
    QMimeData* data = ToMimeData(contents);
    data->setData(kTextDragMime, QByteArray());
    QPointer<QWidget> surface = view_.Surface();
    auto* drag = new QDrag(surface);
    drag->setMimeData(data);
    g_dragSource = &source;
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    // The page may have gone meanwhile (its input with it): then the source is cleared.
    if (g_dragSource == &source) {
        g_dragSource = nullptr;
        source.EndDrag();
    }
}

PageViewWidget::PageViewWidget(TKYTset& set, QWidget* parent)
    : QScrollArea(parent), state_(std::make_unique<State>(set)) {
    State& s = *state_;
    s.surface = new PageSurface(*this);
    setWidget(s.surface);
    setWidgetResizable(false);
    setFocusProxy(s.surface);
    s.host = std::make_unique<ScrollAreaHost>(*this, *s.surface, [this] { ToolsChanged(); });
    s.objects = std::make_unique<ObjectViewHost>(*s.host, set, set.Messages(), *s.scheduler);
    s.objects->SetReadOnly(true);
    s.views = std::make_unique<TKYTboxViewFactory>(s.measurer, *s.objects);
    s.page = std::make_unique<TKYTpage>(set, s.frameSet, *s.views, s.undo, s.spell, *s.scheduler);
    s.page->SetReadOnly(true);
    // Floating frames on the page join its list and measure their pages like it.
    s.objects->SetPage(s.page.get());
    s.objects->SetMeasurer(&s.measurer);
    s.inputHost = std::make_unique<PageInputHost>(*this);
    s.formInput = new PageFormInput(*this);
    // The box's update lock stops the page's spell check before any change and arms it again
    // after: a check never reads a paragraph being changed.
    s.host->stopSpell = [this] {
        if (state_->page) state_->page->StopSpellCheck();
    };
    s.host->rearmSpell = [this] {
        if (state_->page && state_->page->Showing()) state_->page->TextChanged();
    };
}

PageViewWidget::~PageViewWidget() {
    // The form input watches the surface, which Qt destroys after this body: it goes first.
    delete state_->formInput;
    state_->formInput = nullptr;
    Detach();
    if (state_->page && state_->page->Showing()) state_->page->CloseText();
    state_->page.reset();
    // The views' numbers live in the session's control index.
    DropObjectViews();
    state_->session.reset();
    if (state_->surface) state_->surface->Orphan();
}

void PageViewWidget::EnableEditing(IScheduler& scheduler, IMessages& messages,
                                   ISelectionConverters* converters) {
    State& s = *state_;
    ClosePage();
    s.page.reset();
    s.session.reset();
    s.scheduler = &scheduler;
    // The objects' posted work (a table's deletions) runs on the window's scheduler.
    s.views.reset();
    s.objects = std::make_unique<ObjectViewHost>(*s.host, s.set, messages, scheduler);
    s.objects->SetReadOnly(!s.editable);
    s.objects->SetAnchorPreview(s.showAnchors);
    s.views = std::make_unique<TKYTboxViewFactory>(s.measurer, *s.objects);
    s.session =
        std::make_unique<PageEditSession>(s.set, messages, scheduler, s.clipboard, *s.inputHost);
    s.session->SetConverters(converters);
    s.cells = std::make_unique<PageCells>(*s.objects);
    s.session->SetCells(s.cells.get());
    s.objects->SetUndo(&s.session->Undo(), &s.session->Controls());
    s.pictures = std::make_unique<PictureEditing>(*s.surface, s.set, *s.objects, s.clipboard);
    s.headerDrag = std::make_unique<TableHeaderDrag>(*s.objects);
    s.pictures->copyText = [this](bool cut) {
        return state_->session &&
               state_->session->Command(cut ? BoxCommandKind::Cut : BoxCommandKind::Copy);
    };
    s.pictures->changed = [this] { ToolsChanged(); };
    s.page = std::make_unique<TKYTpage>(s.set, s.frameSet, *s.views, s.session->Undo(), s.spell,
                                        scheduler);
    s.page->SetReadOnly(true);
    s.objects->SetPage(s.page.get());
    s.objects->SetMeasurer(&s.measurer);
    s.session->OnUndoApplied([this] {
        state_->surface->update();
        ToolsChanged();
    });
    // The spell check paces itself on the new scheduler.
    if (s.checker) EnableSpelling(s.checker);
}

PictureEditing* PageViewWidget::Pictures() const {
    return state_->pictures.get();
}

std::int32_t PageViewWidget::NextAnchorNumber() const {
    return state_->page ? state_->page->NextAnchorNumber() : 0;
}

PageEditSession* PageViewWidget::Session() const {
    return state_->session.get();
}

TKYTboxInput* PageViewWidget::Input() const {
    return state_->session ? state_->session->Input() : nullptr;
}

bool PageViewWidget::Editable() const {
    return state_->editable;
}

void PageViewWidget::SetEditable(bool on) {
    State& s = *state_;
    if (!s.session || s.editable == on) return;
    s.editable = on;
    s.host->readOnly = !on;
    // The session keeps the caret and the selection before run mode hides them.
    if (!on) s.session->SetEditable(false);
    if (s.page->Showing()) s.page->SetReadOnly(!on);
    if (on) s.session->SetEditable(true);
    if (TKYTbox* box = Box()) box->runMode = !on;
    state_->objects->SetReadOnly(!on);
    // Markers take room only while the page is edited.
    if (TKYTbox* box = Box()) box->RelayoutAll();
    s.surface->setMouseTracking(true);
    if (on) s.surface->setFocus(Qt::OtherFocusReason);
    s.surface->update();
    ToolsChanged();
}

void PageViewWidget::Attach() {
    State& s = *state_;
    TKYTbox* box = Box();
    if (!box) return;
    box->transparent = true;
    box->runMode = !s.editable;
    box->drawObjectsOnCanvas = true;
    s.objects->SetBox(box);
    if (s.session && s.page->Showing()) {
        s.objects->SetUndoPage(s.page->PageIdentifier(), s.session->FrameId());
        s.session->Attach(*box, *s.page->WorkingText(), s.page->PageIdentifier());
        if (s.pictures) s.pictures->Attach(box, s.session->Input(), s.session->Editing());
    }
    ToolsChanged();
}

void PageViewWidget::Detach() {
    State& s = *state_;
    if (!s.session) return;
    if (s.pictures) s.pictures->Attach(nullptr, nullptr, nullptr);
    if (g_dragSource && g_dragSource == s.session->Input()) g_dragSource = nullptr;
    s.session->Detach();
}

void PageViewWidget::ClosePage() {
    Detach();
    if (state_->page && state_->page->Showing()) state_->page->CloseText();
    DropObjectViews();
    if (state_->session) state_->session->Forget();
    state_->surface->update();
    ToolsChanged();
}

void PageViewWidget::DropObjectViews() {
    // The views hold the closed text's objects and cells: they go with it.
    if (state_->pictures) state_->pictures->Forget();
    if (state_->headerDrag) state_->headerDrag->Forget();
    if (state_->objects) {
        state_->objects->SetBox(nullptr);
        state_->objects->Clear();
    }
}

ObjectViewHost* PageViewWidget::ObjectViews() const {
    return state_->objects.get();
}

void PageViewWidget::ShowAnchors(bool on) {
    state_->showAnchors = on;
    state_->objects->SetAnchorPreview(on);
}

PageFormInput* PageViewWidget::FormInput() const {
    return state_->formInput;
}

TKYTbox* PageViewWidget::Box() const {
    // The page's own view: the factory's last one is gone once the page lets its view go.
    auto* view = state_->page ? dynamic_cast<TKYTboxView*>(state_->page->View()) : nullptr;
    return view ? &view->Box() : nullptr;
}

bool PageViewWidget::Showing() const {
    return state_->page->Showing();
}

void PageViewWidget::DetachPage() {
    State& s = *state_;
    if (!s.page->Showing()) return;
    Detach();
    s.page->DetachView();
    DropObjectViews();
    s.surface->update();
}

void PageViewWidget::ReattachPage() {
    State& s = *state_;
    if (!s.page->Showing()) return;
    const std::int32_t identifier = s.page->PageIdentifier();
    TKYToggetto* pageObject = s.set.ObjectByKind(TOggettiHel::testoHtml, identifier);
    if (!pageObject || pageObject->IsFree()) {
        ClosePage();
        return;
    }
    s.page->ReattachView();
    Attach();
    SetPageBackground(s.set, *pageObject, s.page->Background(), s.background);
    s.surface->update();
}

TKYToggetto* PageViewWidget::LinkObject(std::int32_t code) const {
    return LinkObjectOf(state_->set, WorkingText(), code);
}

std::int32_t PageViewWidget::PageShown() const {
    return state_->page->Showing() ? state_->page->PageIdentifier() : -1;
}

const TKYTtesto* PageViewWidget::WorkingText() const {
    return state_->page->Showing() ? state_->page->WorkingText() : nullptr;
}

bool PageViewWidget::GoToAnchor(std::int32_t number) {
    return state_->page->Showing() && state_->page->GoToAnchor(number);
}

QWidget* PageViewWidget::Surface() const {
    return state_->surface;
}

int PageViewWidget::Paints() const {
    return state_->paints;
}

bool PageViewWidget::CommitPage() {
    State& s = *state_;
    if (!s.page->Showing()) return false;
    const std::int32_t identifier = s.page->PageIdentifier();
    // A page the author changed records the save counter, so that publishing sends it again.
    s.frameSet.raiseVersionStamp = s.session && s.session->Edited();
    Detach();
    const bool stored = s.page->CommitText();
    // A committed page takes no further commit until it is shown again.
    s.page->CloseText();
    DropObjectViews();
    if (!s.page->ShowText(identifier)) {
        s.surface->update();
        return stored;
    }
    s.page->SetReadOnly(!s.editable);
    Attach();
    s.surface->update();
    return stored;
}

bool PageViewWidget::ShowPage(std::int32_t pageIdentifier) {
    State& s = *state_;
    TKYToggetto* pageObject = s.set.ObjectByKind(TOggettiHel::testoHtml, pageIdentifier);
    if (!pageObject || pageObject->IsFree()) return false;
    const bool same = s.page->Showing() && s.page->PageIdentifier() == pageIdentifier;
    Detach();
    if (s.page->Showing()) {
        // A page being edited keeps its edits when another page is shown.
        if (s.editable) s.page->CommitText();
        s.page->CloseText();
        DropObjectViews();
    }
    if (!same && s.session) s.session->Forget();
    pageObject = s.set.ObjectByKind(TOggettiHel::testoHtml, pageIdentifier);
    if (!pageObject) return false;
    s.surface->resize(viewport()->size());
    if (!s.page->ShowText(pageIdentifier) || !Box()) return false;
    s.page->SetReadOnly(!s.editable);
    Attach();
    SetPageBackground(s.set, *pageObject, s.page->Background(), s.background);
    s.surface->update();
    return true;
}

void PageViewWidget::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (TKYTbox* box = Box()) box->Resize(viewport()->width(), viewport()->height());
}

void PageViewWidget::ToolsChanged() {
    State& s = *state_;
    // The header strip shows above the table whose cell has the caret.
    if (s.session && s.objects && Box()) ShowHeaderOfEditedTable(*s.session, *s.objects);
    if (s.toolsPending || !onToolsChanged) return;
    s.toolsPending = true;
    QTimer::singleShot(0, this, [this] {
        state_->toolsPending = false;
        if (onToolsChanged) onToolsChanged();
    });
}

void PageViewWidget::EnableSpelling(TQzSpellChecker* checker) {
    State& s = *state_;
    if (s.page) s.page->StopSpellCheck();
    s.spell.target = nullptr;
    s.spellThread.reset();
    s.checker = checker;
    s.frameSet.automaticSpellCheck = s.frameSet.activeSpellChecker = checker != nullptr;
    if (!checker) return;
    s.spellThread = std::make_unique<TQzSpellThread>(*checker, *s.scheduler);
    s.spellThread->onMarksChanged = [this](TKYTparag&) { state_->surface->update(); };
    s.spell.target = s.spellThread.get();
    if (s.page && s.page->Showing()) s.page->TextChanged();
}

bool PageViewWidget::ShowSpellMenu(TKYTboxInput& input, const QPoint& at) {
    State& s = *state_;
    if (!s.checker || !s.checker->IsOpen() || !s.session || !s.session->Editing()) return false;
    TKYTbox& box = input.Box();
    const TKYTTextPos hit = box.HitTest(kHitAll, at.x(), at.y());
    if (!hit.Valid() || hit.paraIndex >= std::int32_t(box.AllParagraphs().size())) return false;
    const std::int32_t para = hit.paraIndex;
    const TKYTparag& paragraph = box.Paragraph(para);
    const std::optional<SpellStretch> stretch =
        SpellStretchAt(paragraph.spellFlags, std::size_t(hit.charIndex));
    if (!stretch || stretch->last >= paragraph.text.size()) return false;
    const std::string word =
        paragraph.text.substr(stretch->first, stretch->last - stretch->first + 1);
    const std::vector<SpellMenuItem> items = SpellMenuItems(*s.checker, word);
    QMenu popup(s.surface);
    std::vector<std::pair<QAction*, const SpellMenuItem*>> actions;
    for (const SpellMenuItem& item : items) {
        if (item.action == SpellMenuAction::Separator) {
            popup.addSeparator();
            continue;
        }
        QString caption = ToQString(item.caption);
        // A suggestion is shown as it is written, never as a mnemonic.
        if (item.action == SpellMenuAction::Replace)
            caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = popup.addAction(caption);
        action->setEnabled(item.enabled);
        if (!item.shortcut.empty())
            action->setShortcut(QKeySequence(QString::fromStdString(item.shortcut)));
        actions.emplace_back(action, &item);
    }
    QAction* chosen = popup.exec(s.surface->mapToGlobal(at));
    const SpellMenuItem* picked = nullptr;
    for (const auto& [action, item] : actions)
        if (action == chosen) picked = item;
    if (!picked) return true;
    switch (picked->action) {
        case SpellMenuAction::Replace: {
            // The word selected and replaced as one editing step.
            TKYTTextPos from;
            from.paraIndex = para;
            from.charIndex = std::int32_t(stretch->first);
            TKYTTextPos to = from;
            to.charIndex = std::int32_t(stretch->last + 1);
            input.SetSelection(box.ResolvePosition(from), box.ResolvePosition(to));
            s.session->Editing()->Text().ReplaceSelection(picked->caption);
            TKYTTextPos after = from;
            after.charIndex = std::int32_t(stretch->first + picked->caption.size());
            after = box.ResolvePosition(after);
            input.SetSelection(after, after);
            break;
        }
        case SpellMenuAction::IgnoreAll:
        case SpellMenuAction::Add:
            ApplySpellMenuAction(*s.checker, picked->action, word);
            // The page is checked again at once: the word loses its marks everywhere.
            if (s.page) s.page->SpellTimerFired();
            break;
        case SpellMenuAction::CheckSpelling:
            if (onCheckSpelling) onCheckSpelling();
            break;
        default:
            break;
    }
    s.surface->update();
    ToolsChanged();
    return true;
}

void PageViewWidget::ShowMenu(int menu, const QPoint& at, TKYTboxInput* input) {
    State& s = *state_;
    PageEditSession* session = s.session.get();
    if (!session) return;
    if (menu == int(BoxMenu::Spell) && input && ShowSpellMenu(*input, at)) return;
    QMenu popup(s.surface);
    const bool editing = s.editable;
    const bool selection = session->Input() && session->Input()->SelectionPresent();
    struct Item {
        const char* caption;
        BoxCommandKind command;
        bool enabled;
    };
    const Item items[] = {
        {"&Taglia", BoxCommandKind::Cut, editing && selection},
        {"&Copia", BoxCommandKind::Copy, selection},
        {"&Incolla", BoxCommandKind::Paste, editing},
        {nullptr, BoxCommandKind::Copy, false},
        {"&Seleziona tutto", BoxCommandKind::SelectAll, true},
    };
    (void)menu;  // every menu of a box offers the clipboard commands
    for (const Item& item : items) {
        if (!item.caption) {
            popup.addSeparator();
            continue;
        }
        QAction* action = popup.addAction(QString::fromLatin1(item.caption));
        action->setEnabled(item.enabled);
        const BoxCommandKind command = item.command;
        QObject::connect(action, &QAction::triggered, s.surface, [this, command] {
            if (state_->session) state_->session->Command(command);
            state_->surface->update();
            ToolsChanged();
        });
    }
    if (editing) {
        // The table commands: a new table wherever the caret is, the rows and columns of the
        // cell being edited.
        popup.addSeparator();
        QObject::connect(popup.addAction(QStringLiteral("T&abella...")), &QAction::triggered,
                         s.surface, [this] { NewTableWindow(); });
        const bool inCell = session->ActiveBox() && session->ActiveBox()->IsCellBox();
        struct TableItem {
            const char* caption;
            int command;  // a TableCommand, or -1: the window that asks how many
        };
        const TableItem tableItems[] = {
            {"Aggiungi riga", int(TableCommand::AddRows)},
            {"Aggiungi colonna", int(TableCommand::AddColumns)},
            {"Aggiungi righe/colonne...", -1},
            {"Elimina riga", int(TableCommand::DeleteRow)},
            {"Elimina colonna", int(TableCommand::DeleteColumn)},
            {"Propriet\xE0 tabella/caselle...", -2},
        };
        for (const TableItem& item : tableItems) {
            QAction* action = popup.addAction(QString::fromLatin1(item.caption));
            action->setEnabled(inCell);
            const int command = item.command;
            QObject::connect(action, &QAction::triggered, s.surface, [this, command] {
                if (command == -2)
                    TablePropertiesWindow();
                else if (command < 0)
                    AddRowsColumnsWindow();
                else
                    TableCommandOnCell(command, 1, false);
            });
        }
    }
    popup.exec(s.surface->mapToGlobal(at));
}

bool PageViewWidget::InsertTable(const NewTableChoice& choice) {
    State& s = *state_;
    if (!s.session || !s.editable) return false;
    const bool done = InsertNewTable(*s.session, *s.objects, s.set, choice);
    s.surface->update();
    ToolsChanged();
    return done;
}

bool PageViewWidget::TableCommandOnCell(int command, int count, bool after) {
    State& s = *state_;
    if (!s.session || !s.editable) return false;
    const bool done = RunTableCommand(*s.session, *s.objects, TableCommand(command), count, after);
    s.surface->update();
    ToolsChanged();
    // A deletion runs when its posted message comes: the page is painted again after it.
    QTimer::singleShot(0, this, [this] {
        state_->surface->update();
        ToolsChanged();
    });
    return done;
}

void PageViewWidget::NewTableWindow() {
    NewTableDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) InsertTable(dialog.Choice());
}

bool PageViewWidget::InTableCell() const {
    State& s = *state_;
    return s.session && s.editable && s.objects &&
           CellBeingEdited(*s.session, *s.objects).table != nullptr;
}

bool PageViewWidget::ApplyTableProperties(const TableProperties& properties) {
    State& s = *state_;
    if (!s.session || !s.editable) return false;
    const bool done = ApplyPropertiesToEditedCell(*s.session, *s.objects, properties);
    s.surface->update();
    ToolsChanged();
    return done;
}

void PageViewWidget::TablePropertiesWindow() {
    State& s = *state_;
    if (!s.session || !s.editable) return;
    const EditedCell cell = CellBeingEdited(*s.session, *s.objects);
    if (!cell.table) return;
    TablePropertiesDialog dialog(cell.table->Properties(cell.row, cell.column),
                                 cell.table->InCell(), cell.table->Bounds().Width(), this);
    if (onTableWindow) onTableWindow(dialog);
    if (dialog.exec() == QDialog::Accepted) ApplyTableProperties(dialog.Properties());
}

void PageViewWidget::AddRowsColumnsWindow() {
    AddRowsColumnsDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    TableCommandOnCell(int(dialog.Columns() ? TableCommand::AddColumns : TableCommand::AddRows),
                       dialog.Count(), dialog.After());
}

bool PageViewWidget::HeaderDragEvent(QMouseEvent& mouse, Point p) {
    State& s = *state_;
    TableHeaderDrag& drag = *s.headerDrag;
    switch (mouse.type()) {
        case QEvent::MouseButtonPress:
            if (mouse.button() != Qt::LeftButton || !drag.Press(p)) return false;
            s.surface->update();
            return true;
        case QEvent::MouseMove:
            if (drag.Move(p)) {
                s.surface->update();
                return true;
            }
            if (drag.EdgeAt(p)) {
                s.surface->setCursor(Qt::SplitHCursor);
                return true;
            }
            return false;
        case QEvent::MouseButtonRelease:
            if (mouse.button() != Qt::LeftButton || !drag.Release(p)) return false;
            s.surface->update();
            ToolsChanged();
            return true;
        default:
            return false;
    }
}

bool PageViewWidget::SurfaceEvent(QEvent* event) {
    State& s = *state_;
    PageEditSession* session = s.session.get();
    TKYTboxInput* input = session ? session->Input() : nullptr;
    const bool editing = s.editable && input;
    switch (event->type()) {
        case QEvent::Paint: {
            auto* paint = static_cast<QPaintEvent*>(event);
            QPainter painter(s.surface);
            QPainterCanvas canvas(painter, s.measurer);
            const Rect area = FromQRect(paint->rect());
            ++s.paints;
            TKYTbox* box = Box();
            if (!box) {
                canvas.FillRect(area, 0xFFFFFF);
                return true;
            }
            s.page->Background().Paint(canvas, area);
            box->Paint(canvas, area);
            if (editing && s.pictures) s.pictures->PaintOver(painter);
            if (editing && s.headerDrag)
                if (const std::optional<std::int32_t> x = s.headerDrag->LineX()) {
                    // The column's new edge, dotted across the page.
                    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
                    painter.drawLine(*x, 0, *x, s.surface->height());
                }
            if (editing && input->Caret().BarVisible()) {
                // The bar inverts what it covers, as an exclusive-or of white.
                painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
                const Point origin = session->ActiveOrigin();  // a cell's caret
                painter.fillRect(ToQRect(input->Caret().Bar().Offset(origin.x, origin.y)),
                                 Qt::white);
            }
            return true;
        }
        case QEvent::KeyPress: {
            if (!editing) return false;
            if (s.pictures && s.pictures->Event(event)) return true;
            auto* key = static_cast<QKeyEvent*>(event);
            const unsigned modifiers = ModifiersOf(key->modifiers());
            // Tab walks the cells of a table (Shift+Tab backwards).
            if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
                session->NextCell(key->key() == Qt::Key_Backtab || (modifiers & kModShift))) {
                s.surface->update();
                ToolsChanged();
                return true;
            }
            // F7 is the shortcut the spelling menu shows for "&Controllo ortografia".
            if (key->key() == Qt::Key_F7 && modifiers == 0 && s.checker && s.checker->IsOpen() &&
                onCheckSpelling) {
                onCheckSpelling();
                return true;
            }
            const BoxKey boxKey = KeyOf(key->key());
            bool done = false;
            if (boxKey != BoxKey::None) {
                done = session->Key(boxKey, modifiers);
            } else if (modifiers == kModCtrl) {
                // The clipboard keys, for a widget outside a window whose menu has them.
                switch (key->key()) {
                    case Qt::Key_C:
                        done = session->Command(BoxCommandKind::Copy);
                        break;
                    case Qt::Key_X:
                        done = session->Command(BoxCommandKind::Cut);
                        break;
                    case Qt::Key_V:
                        done = session->Command(BoxCommandKind::Paste);
                        break;
                    case Qt::Key_A:
                        done = session->Command(BoxCommandKind::SelectAll);
                        break;
                    case Qt::Key_Z:
                        done = session->Command(BoxCommandKind::Undo);
                        break;
                    default:
                        break;
                }
            } else if (!key->text().isEmpty() && (modifiers & kModCtrl) == 0) {
                // Characters outside Windows-1252 cannot be typed into a page.
                for (const char c : ToCp1252(key->text(), '\x01')) {
                    const auto byte = static_cast<unsigned char>(c);
                    if (byte >= 32 && byte != 0x7F) done = session->Char(byte) || done;
                }
            }
            ToolsChanged();
            if (done) key->accept();
            return done;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
        case QEvent::MouseButtonDblClick: {
            if (!editing) return false;
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint p = mouse->position().toPoint();
            if (s.headerDrag && HeaderDragEvent(*mouse, Point{p.x(), p.y()})) return true;
            if (s.pictures && s.pictures->Event(event)) return true;
            const unsigned modifiers = ModifiersOf(mouse->modifiers());
            if (event->type() == QEvent::MouseButtonPress) {
                if (!s.surface->hasFocus()) s.surface->setFocus(Qt::MouseFocusReason);
                session->MouseDown(ButtonOf(mouse->button()), p.x(), p.y(), modifiers);
            } else if (event->type() == QEvent::MouseButtonRelease) {
                session->MouseUp(ButtonOf(mouse->button()), p.x(), p.y(), modifiers);
            } else if (event->type() == QEvent::MouseMove) {
                session->MouseMove(p.x(), p.y(), modifiers);
            } else {
                session->DoubleClick(p.x(), p.y());
            }
            if (session->Input()) s.surface->setCursor(CursorOf(session->Input()->Pointer()));
            if (event->type() != QEvent::MouseMove) ToolsChanged();
            return true;
        }
        case QEvent::ContextMenu:
            return editing;  // the box opens its menu on the right button's release
        case QEvent::FocusIn:
            if (editing && !input->Focused()) input->FocusIn();
            return false;
        case QEvent::FocusOut: {
            auto* focus = static_cast<QFocusEvent*>(event);
            if (editing && focus->reason() != Qt::PopupFocusReason && input->Focused())
                input->FocusOut();
            return false;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            const QMimeData* data = drag->mimeData();
            if (!editing) return false;
            const QPoint p = drag->position().toPoint();
            if (data->hasFormat(kTextDragMime) && g_dragSource) {
                if (input->DragOver(*g_dragSource, p.x(), p.y()))
                    drag->acceptProposedAction();
                else
                    drag->ignore();
                return true;
            }
            if (data->hasUrls()) {
                drag->acceptProposedAction();
                return true;
            }
            return false;
        }
        case QEvent::DragLeave:
            if (editing) input->DragLeave();
            return false;
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QMimeData* data = drop->mimeData();
            if (!editing) return false;
            const QPoint p = drop->position().toPoint();
            if (data->hasFormat(kTextDragMime) && g_dragSource) {
                if (session->Drop(*g_dragSource, p.x(), p.y())) drop->acceptProposedAction();
                s.surface->update();
                ToolsChanged();
                return true;
            }
            std::vector<std::string> names;
            for (const QUrl& url : data->urls())
                if (url.isLocalFile()) names.push_back(ToCp1252(url.toLocalFile()));
            if (names.empty()) return false;
            drop->acceptProposedAction();
            input->DropFiles(names, p.x(), p.y());
            return true;
        }
        default:
            return false;
    }
}

}  // namespace orvo

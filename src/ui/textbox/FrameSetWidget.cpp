// The frame set widget: places the frames TKYTframeSet arranges, paints the bars, the
// splitters and the layout view, and turns drags into the frame set's splits and resizes.
#include "ui/textbox/FrameSetWidget.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <vector>

#include "model/uKYTset.h"
#include "platform/ICanvas.h"
#include "platform/IMessages.h"
#include "textbox/uKYTCornice.h"
#include "textbox/uKYTboxInput.h"
#include "ui/QtConvert.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {
namespace {

// The page widgets of the frame set. A frame takes a widget when it is made and hands it back
// when it goes; widgets handed back wait hidden for the next frame, so a page shown again after
// the frames were rebuilt reuses them, and the main view (when there is one) is always the
// first taken.
class ViewPool {
public:
    ViewPool(TKYTset& set, QWidget& parent, IScheduler& scheduler, IMessages& messages)
        : set_(set), parent_(parent), scheduler_(scheduler), messages_(messages) {}

    void SetMain(PageViewWidget& view) {
        main_ = &view;
        view.setParent(&parent_);
        view.hide();
        idle_.insert(idle_.begin(), &view);
    }
    PageViewWidget* Main() const { return main_; }

    PageViewWidget& Take(TKYTCustomFrameSet& frames) {
        PageViewWidget* view = nullptr;
        if (!idle_.empty()) {
            view = idle_.front();
            idle_.erase(idle_.begin());
        } else {
            view = new PageViewWidget(set_, &parent_);
            view->EnableEditing(scheduler_, messages_, converters);
            if (onMade) onMade(*view);
        }
        // The box the caret moves in is the one the routed commands act on.
        view->onToolsChanged = [this, view, &frames] {
            if (onStale) onStale();
            if (TKYTboxInput* input = view->Input(); input && view->Editable())
                frames.SetCurrentControl(input);
            if (onToolsChanged) onToolsChanged(*view);
        };
        view->show();
        return *view;
    }

    void Give(PageViewWidget& view) {
        view.onToolsChanged = nullptr;
        view.ClosePage();
        view.hide();
        if (&view == main_)
            idle_.insert(idle_.begin(), &view);
        else
            idle_.push_back(&view);
    }

    ISelectionConverters* converters = nullptr;
    std::function<void(PageViewWidget&)> onMade;
    std::function<void(PageViewWidget&)> onToolsChanged;
    std::function<void()> onStale;

private:
    TKYTset& set_;
    QWidget& parent_;
    IScheduler& scheduler_;
    IMessages& messages_;
    PageViewWidget* main_ = nullptr;
    std::vector<PageViewWidget*> idle_;  // children of the frame set widget
};

// A frame's page shown by a page widget of the frame set, which edits it outside run mode.
class WidgetFramePage final : public IFramePage {
public:
    WidgetFramePage(ViewPool& pool, TKYTCustomFrameSet& frames)
        : pool_(pool), view_(&pool.Take(frames)) {}
    ~WidgetFramePage() override { pool_.Give(*view_); }
    bool ShowPage(std::int32_t page) override {
        if (!view_->ShowPage(page)) return false;
        newPage_ = false;
        return true;
    }
    void ShowNewPage() override {
        // The page widget shows registered pages only: a new frame stays empty until a page
        // is shown in it.
        view_->ClosePage();
        newPage_ = true;
    }
    bool Commit() override { return view_->CommitPage(); }
    void Close() override { view_->ClosePage(); }
    bool Showing() const override { return view_->Showing() || newPage_; }
    std::int32_t PageIdentifier() const override { return view_->PageShown(); }
    bool IsNewPage() const override { return newPage_; }
    bool Edited() override { return false; }  // a new frame holds no page to edit
    const TKYTtesto* WorkingText() const override { return view_->WorkingText(); }
    TKYTbox* Box() const override { return view_->Box(); }
    void SetReadOnly(bool readOnly) override { view_->SetEditable(!readOnly); }
    void SetAnimated(bool) override {}
    void SetHidden(bool hidden) override { view_->setVisible(!hidden); }
    void SetGeometry(const Rect& area, bool border) override {
        view_->setGeometry(ToQRect(area));
        view_->setFrameShape(border ? QFrame::Box : QFrame::NoFrame);
        view_->setLineWidth(border ? 1 : 0);
    }
    void DetachView() override { view_->DetachPage(); }
    void ReattachView() override { view_->ReattachPage(); }

    PageViewWidget* View() const { return view_; }

private:
    ViewPool& pool_;
    PageViewWidget* view_;
    bool newPage_ = false;
};

class WidgetFramePageFactory final : public IFramePageFactory {
public:
    explicit WidgetFramePageFactory(ViewPool& pool) : pool_(pool) {}
    std::unique_ptr<IFramePage> CreatePage(TKYTCustomFrameSet& frames) override {
        return std::make_unique<WidgetFramePage>(pool_, frames);
    }

private:
    ViewPool& pool_;
};

enum class DragKind { TopBar, LeftBar, Splitter };

struct Drag {
    std::uint32_t frame = 0;  // serial
    DragKind kind = DragKind::TopBar;
    QPoint at;
};

template <class F>
void Each(TKYTFrame* frame, F&& visit) {
    if (!frame) return;
    visit(*frame);
    for (auto& child : frame->children) Each(child.get(), visit);
}

// The striped bar: stripes across the bar every LineStep pixels over the button face, with a
// raised bevel.
void PaintBar(QPainter& painter, const QRect& r, bool horizontal, int step, int bevel) {
    painter.fillRect(r, ToQColor(SystemColour(kColourButtonFace)));
    painter.setPen(ToQColor(SystemColour(kColourButtonShadow)));
    if (horizontal) {
        for (int x = r.left() + step / 2; x < r.right(); x += step)
            painter.drawLine(x, r.top() + 2, x + r.height() - 4, r.bottom() - 2);
    } else {
        for (int y = r.top() + step / 2; y < r.bottom(); y += step)
            painter.drawLine(r.left() + 2, y, r.right() - 2, y + r.width() - 4);
    }
    if (bevel == 0) return;
    painter.setPen(ToQColor(SystemColour(kColourButtonHighlight)));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(ToQColor(SystemColour(kColourButtonShadow)));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace

struct FrameSetWidget::State {
    State(TKYTset& s, IMessages& messages, IScheduler& scheduler, QWidget& self)
        : set(s),
          pool(s, self, scheduler, messages),
          factory(pool),
          frames(messages, scheduler, factory) {}
    TKYTset& set;
    ViewPool pool;
    WidgetFramePageFactory factory;
    TKYTframeSet frames;
    std::optional<Drag> drag;
};

FrameSetWidget::FrameSetWidget(TKYTset& set, IMessages& messages, IScheduler& scheduler,
                               QWidget* parent)
    : QWidget(parent), state_(std::make_unique<State>(set, messages, scheduler, *this)) {
    setMouseTracking(true);
    TKYTframeSet& frames = state_->frames;
    frames.SetLinkedKYTset(&set);
    frames.OnFrameSetChanged = [this] { update(); };
    frames.OnPageChanged = [this] { update(); };
    state_->pool.onStale = [this] { ForgetStaleControl(); };
    state_->pool.onMade = [this](PageViewWidget& view) {
        if (onViewMade) onViewMade(view);
    };
    state_->pool.onToolsChanged = [this](PageViewWidget& view) {
        if (onToolsChanged) onToolsChanged(view);
    };
}

FrameSetWidget::~FrameSetWidget() {
    // The frames hand their widgets back while the pool is still there.
    state_->frames.SetMainPageNumber(-1);
}

void FrameSetWidget::SetMainView(PageViewWidget& view) {
    state_->pool.SetMain(view);
}

void FrameSetWidget::SetConverters(ISelectionConverters* converters) {
    state_->pool.converters = converters;
}

std::vector<PageViewWidget*> FrameSetWidget::Views() const {
    std::vector<PageViewWidget*> views;
    for (TKYTFrame* f : state_->frames.Leaves())
        if (PageViewWidget* view = ViewOf(*f)) views.push_back(view);
    return views;
}

void FrameSetWidget::ForgetStaleControl() const {
    // A page widget drops its box's input whenever its page is closed, committed or detached,
    // without telling the frame set: the current control is compared, never read, until a
    // frame's widget is found to hold it.
    TKYTframeSet& frames = state_->frames;
    TKYTboxInput* control = frames.CurrentControl();
    if (!control) return;
    for (PageViewWidget* view : Views())
        if (view->Input() == control) return;
    frames.SetCurrentControl(nullptr);
}

PageViewWidget* FrameSetWidget::FocusedView() const {
    ForgetStaleControl();
    TKYTframeSet& frames = state_->frames;
    if (TKYTboxInput* input = frames.CurrentControl())
        if (TKYTFrame* f = frames.FrameOfBox(&input->Box()))
            if (PageViewWidget* view = ViewOf(*f)) return view;
    for (PageViewWidget* view : Views())
        if (view->Showing()) return view;
    return state_->pool.Main();
}

void FrameSetWidget::SetEditable(bool on) {
    TKYTframeSet& frames = state_->frames;
    frames.SetReadOnly(!on);
    // Pages being edited keep their edits when the frames show other pages.
    frames.SaveOnExit = on;
    for (TKYTFrame* f : frames.Leaves()) f->FlagsChanged();
    frames.Arrange();
    update();
}

TKYTframeSet& FrameSetWidget::FrameSet() {
    return state_->frames;
}

bool FrameSetWidget::Dragging() const {
    return state_->drag.has_value();
}

PageViewWidget* FrameSetWidget::ViewOf(const TKYTFrame& frame) const {
    auto* page = dynamic_cast<WidgetFramePage*>(frame.page.get());
    return page ? page->View() : nullptr;
}

bool FrameSetWidget::SaveLayoutTo(const std::string& utf8Path) {
    std::string bytes;
    if (!state_->frames.SaveLayout(bytes)) return false;
    std::ofstream out(utf8Path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out.flush());
}

bool FrameSetWidget::LoadLayoutFrom(const std::string& utf8Path, bool clearPages) {
    std::ifstream in(utf8Path, std::ios::binary);
    if (!in) return false;
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    return state_->frames.LoadLayout(bytes, clearPages);
}

void FrameSetWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    state_->frames.SetClientSize(width(), height());
    update();
}

void FrameSetWidget::paintEvent(QPaintEvent*) {
    TKYTframeSet& frames = state_->frames;
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(SystemColour(kColourButtonFace)));
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    Each(frames.Top(), [&](TKYTFrame& f) {
        if (f.ShowsTopBar())
            PaintBar(painter, ToQRect(f.TopBarRect()), true, f.LineStep(), f.TigerBevel());
        if (f.ShowsLeftBar())
            PaintBar(painter, ToQRect(f.LeftBarRect()), false, f.LineStep(), f.TigerBevel());
        const Rect splitter = f.SplitterRect();
        if (splitter.Width() > 0 && splitter.Height() > 0)
            painter.fillRect(ToQRect(splitter), ToQColor(SystemColour(kColourButtonShadow)));
        if (frames.ShowFramesOnly() && !f.IsSplit()) {
            // The layout view: every frame a named rectangle 10 pixels inside its place.
            const QRect r = ToQRect(f.ContentRect()).adjusted(10, 10, -10, -10);
            painter.setPen(Qt::black);
            painter.fillRect(r, Qt::white);
            painter.drawRect(r);
            painter.drawText(r, Qt::AlignCenter, ToQString(f.Name()));
        }
    });
    if (const auto& drag = state_->drag) {
        // Where the drag would split or size the frame.
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        const TKYTFrame* f = frames.FrameWithSerial(drag->frame);
        if (f) {
            const bool across =
                drag->kind == DragKind::TopBar ||
                (drag->kind == DragKind::Splitter && f->parent && f->parent->SplitInRows());
            if (across)
                painter.drawLine(f->bounds.left, drag->at.y(), f->bounds.right, drag->at.y());
            else
                painter.drawLine(drag->at.x(), f->bounds.top, drag->at.x(), f->bounds.bottom);
        }
    }
}

void FrameSetWidget::mousePressEvent(QMouseEvent* event) {
    ForgetStaleControl();
    TKYTframeSet& frames = state_->frames;
    const QPoint p = event->position().toPoint();
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    std::optional<Drag> found;
    Each(frames.Top(), [&](TKYTFrame& f) {
        if (found) return;
        if (ToQRect(f.TopBarRect()).contains(p))
            found = Drag{f.Serial(), DragKind::TopBar, p};
        else if (ToQRect(f.LeftBarRect()).contains(p))
            found = Drag{f.Serial(), DragKind::LeftBar, p};
        else if (ToQRect(f.SplitterRect()).contains(p) && !frames.ReadOnly())
            found = Drag{f.Serial(), DragKind::Splitter, p};
        else if (frames.ShowFramesOnly() && !f.IsSplit() && ToQRect(f.ContentRect()).contains(p))
            frames.ClickFrame(f);
    });
    state_->drag = found;
    update();
}

void FrameSetWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (state_->drag) {
        state_->drag->at = p;
        update();
        return;
    }
    // The pointer tells what a drag would do.
    Qt::CursorShape shape = Qt::ArrowCursor;
    Each(state_->frames.Top(), [&](TKYTFrame& f) {
        if (ToQRect(f.TopBarRect()).contains(p)) shape = Qt::SizeVerCursor;
        if (ToQRect(f.LeftBarRect()).contains(p)) shape = Qt::SizeHorCursor;
        if (ToQRect(f.SplitterRect()).contains(p))
            shape = f.parent && f.parent->SplitInRows() ? Qt::SplitVCursor : Qt::SplitHCursor;
    });
    setCursor(shape);
}

void FrameSetWidget::mouseReleaseEvent(QMouseEvent* event) {
    ForgetStaleControl();
    TKYTframeSet& frames = state_->frames;
    const std::optional<Drag> drag = state_->drag;
    state_->drag.reset();
    update();
    if (!drag || event->button() != Qt::LeftButton) return;
    TKYTFrame* f = frames.FrameWithSerial(drag->frame);
    if (!f) return;
    const QPoint p = event->position().toPoint();
    switch (drag->kind) {
        case DragKind::TopBar:
            frames.DragBar(*f, FrameBar::Top, p.y() - f->bounds.top);
            break;
        case DragKind::LeftBar:
            frames.DragBar(*f, FrameBar::Left, p.x() - f->bounds.left);
            break;
        case DragKind::Splitter:
            if (f->parent)
                frames.MoveSplitter(
                    *f, f->parent->SplitInRows() ? p.y() - f->bounds.top : p.x() - f->bounds.left);
            break;
    }
}

void FrameSetWidget::contextMenuEvent(QContextMenuEvent* event) {
    ForgetStaleControl();
    TKYTframeSet& frames = state_->frames;
    if (frames.ReadOnly() || !frames.Top()) return;
    // The frame under the pointer: its bar, or the frame set's empty area around it.
    TKYTFrame* target = nullptr;
    Each(frames.Top(), [&](TKYTFrame& f) {
        if (!f.IsSplit() && ToQRect(f.bounds).contains(event->pos())) target = &f;
    });
    QMenu menu(this);
    QAction* show =
        target ? menu.addAction(QStringLiteral("Mostra una pagina nella cornice...")) : nullptr;
    QAction* save = menu.addAction(QStringLiteral("Salva layout cornici..."));
    save->setEnabled(frames.Split());
    QAction* load = menu.addAction(QStringLiteral("Carica layout cornici..."));
    QAction* chosen = menu.exec(event->globalPos());
    const QString filter = QStringLiteral("File cornici (*.frm)");
    const QString folder = QString::fromStdString(layoutFolder);
    if (chosen && chosen == show) {
        bool ok = false;
        const int page =
            QInputDialog::getInt(this, QStringLiteral("Cornice"),
                                 QStringLiteral("Numero della pagina:"), 0, 0, 16777215, 1, &ok);
        const std::uint32_t serial = target->Serial();
        if (TKYTFrame* f = ok ? frames.FrameWithSerial(serial) : nullptr)
            frames.ShowPageInFrame(*f, page);
    } else if (chosen && chosen == save) {
        const QString path = QFileDialog::getSaveFileName(this, {}, folder, filter);
        if (!path.isEmpty()) SaveLayoutTo(path.toStdString());
    } else if (chosen && chosen == load) {
        const QString path = QFileDialog::getOpenFileName(this, {}, folder, filter);
        if (!path.isEmpty()) LoadLayoutFrom(path.toStdString(), false);
    }
}

}  // namespace orvo

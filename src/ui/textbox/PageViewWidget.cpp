// The read-only page widget: Qt events become calls on the page surface and its text box.
#include "ui/textbox/PageViewWidget.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

#include "model/uKYTogge.h"
#include "platform/IScheduler.h"
#include "textbox/PageLinks.h"
#include "textbox/TKYTpage.h"
#include "textbox/TKYTpageHeadless.h"
#include "textbox/uKYTboxView.h"
#include "ui/QtConvert.h"
#include "ui/render/PageRender.h"
#include "ui/render/QPainterCanvas.h"
#include "ui/render/QtTextMeasurer.h"

namespace orvo {
namespace {

// The scroll area as the box's page: its viewport is the client area, its scroll bars the
// page's.
class ScrollAreaHost final : public IBoxHost {
public:
    ScrollAreaHost(QScrollArea& area, QWidget& surface) : area_(area), surface_(surface) {}

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
    void StopSpellCheck() override {}
    void RearmSpellCheck() override {}
    bool ShowBoundaries() const override { return false; }
    bool ReadOnly() const override { return true; }
    void RefreshTools() override {}
    IInlineObject* ViewOf(const TKYToggetto&) override { return nullptr; }

private:
    QScrollArea& area_;
    QWidget& surface_;
};

}  // namespace

struct PageViewWidget::State {
    explicit State(TKYTset& s) : set(s) {}
    TKYTset& set;
    QtTextMeasurer measurer{96};
    HeadlessFrameSet frameSet;
    RecordingUndoPurge undo;
    ManualSpellPacer spell;
    ManualScheduler scheduler;
    QWidget* surface = nullptr;
    std::unique_ptr<ScrollAreaHost> host;
    std::unique_ptr<TKYTboxViewFactory> views;
    std::unique_ptr<TKYTpage> page;
    PageBackgroundPicture background;
};

namespace {

// Paints the page: the background, then the text box over it.
class SurfaceWidget final : public QWidget {
public:
    using Painter = std::function<void(QPainter&, const QRect&)>;
    explicit SurfaceWidget(Painter painter) : painter_(std::move(painter)) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter_(painter, event->rect());
    }

private:
    Painter painter_;
};

}  // namespace

PageViewWidget::PageViewWidget(TKYTset& set, QWidget* parent)
    : QScrollArea(parent), state_(std::make_unique<State>(set)) {
    State& s = *state_;
    auto* surface = new SurfaceWidget([this](QPainter& painter, const QRect& rect) {
        State& st = *state_;
        QPainterCanvas canvas(painter, st.measurer);
        const Rect area = FromQRect(rect);
        TKYTbox* box = Box();
        if (!box) {
            canvas.FillRect(area, 0xFFFFFF);
            return;
        }
        st.page->Background().Paint(canvas, area);
        box->Paint(canvas, area);
    });
    s.surface = surface;
    setWidget(surface);
    setWidgetResizable(false);
    s.host = std::make_unique<ScrollAreaHost>(*this, *surface);
    s.views = std::make_unique<TKYTboxViewFactory>(s.measurer, *s.host);
    s.page = std::make_unique<TKYTpage>(set, s.frameSet, *s.views, s.undo, s.spell, s.scheduler);
    s.page->SetReadOnly(true);
}

PageViewWidget::~PageViewWidget() {
    if (state_->page && state_->page->Showing()) state_->page->CloseText();
}

void PageViewWidget::ClosePage() {
    if (state_->page->Showing()) state_->page->CloseText();
    state_->surface->update();
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
    s.page->DetachView();
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
    if (TKYTbox* box = Box()) {
        box->transparent = true;
        box->runMode = true;
    }
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

bool PageViewWidget::ShowPage(std::int32_t pageIdentifier) {
    State& s = *state_;
    TKYToggetto* pageObject = s.set.ObjectByKind(TOggettiHel::testoHtml, pageIdentifier);
    if (!pageObject || pageObject->IsFree()) return false;
    if (s.page->Showing()) s.page->CloseText();
    s.surface->resize(viewport()->size());
    if (!s.page->ShowText(pageIdentifier) || !Box()) return false;
    Box()->transparent = true;
    Box()->runMode = true;

    SetPageBackground(s.set, *pageObject, s.page->Background(), s.background);
    s.surface->update();
    return true;
}

void PageViewWidget::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (TKYTbox* box = Box()) box->Resize(viewport()->width(), viewport()->height());
}

}  // namespace orvo

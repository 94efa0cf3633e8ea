// Frame pages over page surfaces.
#include "textbox/FramePages.h"

#include "model/uKYTpag.h"
#include "textbox/uKYTboxView.h"

namespace orvo {

SurfaceFramePage::SurfaceFramePage(TKYTset& set, IPageFrameSet& frameSet, ITextViewFactory& views,
                                   IUndoPurge& undo, ISpellPacer& spell, IScheduler& scheduler)
    : page_(set, frameSet, views, undo, spell, scheduler) {}

SurfaceFramePage::~SurfaceFramePage() {
    if (page_.Showing()) page_.CloseText();
}

void SurfaceFramePage::Shown() {
    shownMarkup_ = page_.View() ? page_.View()->WrittenText() : std::string();
    if (TKYTbox* box = Box()) box->Resize(area_.Width(), area_.Height());
}

bool SurfaceFramePage::ShowPage(std::int32_t page) {
    if (!LivePage(page_.Set(), page)) return false;
    if (!page_.ShowText(page)) return false;
    Shown();
    return true;
}

void SurfaceFramePage::ShowNewPage() {
    page_.ShowText(std::unique_ptr<TKYTtesto>());
    Shown();
}

bool SurfaceFramePage::Commit() {
    return page_.Showing() && page_.CommitText();
}

void SurfaceFramePage::Close() {
    if (page_.Showing()) page_.CloseText();
}

bool SurfaceFramePage::Edited() {
    return page_.View() && page_.View()->WrittenText() != shownMarkup_;
}

TKYTbox* SurfaceFramePage::Box() const {
    auto* view = dynamic_cast<TKYTboxView*>(page_.View());
    return view ? &view->Box() : nullptr;
}

void SurfaceFramePage::SetGeometry(const Rect& area, bool border) {
    area_ = area;
    border_ = border;
    if (TKYTbox* box = Box()) box->Resize(area.Width(), area.Height());
}

void SurfaceFramePage::ReattachView() {
    page_.ReattachView();
    if (TKYTbox* box = Box()) box->Resize(area_.Width(), area_.Height());
}

std::unique_ptr<IFramePage> SurfaceFramePageFactory::CreatePage(TKYTCustomFrameSet& frameSet) {
    if (!frameSet.LinkedKYTset()) return nullptr;
    return std::make_unique<SurfaceFramePage>(*frameSet.LinkedKYTset(), frameSet, views_, undo_,
                                              spell_, scheduler_);
}

}  // namespace orvo

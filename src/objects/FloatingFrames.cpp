// The pages of a floating frame's frame set.
#include "objects/FloatingFrames.h"

#include "model/uKYTpag.h"
#include "objects/OffsetCanvas.h"
#include "textbox/uKYTbox.h"

namespace orvo {

FloatingFramePage::FloatingFramePage(TKYTset& set, TKYTCustomFrameSet& frames,
                                     FloatingFrameContext& context)
    : set_(set),
      context_(context),
      objects_(host_, set, context.messages, context.scheduler),
      views_(context.measurer, objects_),
      surface_(set, frames, views_, undo_, spell_, context.scheduler) {
    objects_.SetReadOnly(true);
    objects_.SetMeasurer(&context.measurer);
    objects_.SetFloatingDepth(context.depth);
    objects_.SetPage(&surface_.Surface());
    surface_.SetReadOnly(true);
}

FloatingFramePage::~FloatingFramePage() {
    Close();
}

void FloatingFramePage::Shown() {
    TKYTbox* box = Box();
    objects_.SetBox(box);
    objects_.SetText(surface_.WorkingText());
    if (!box) return;
    // Browsed, drawn with its objects over the background the frame paints.
    box->transparent = true;
    box->drawObjectsOnCanvas = true;
    box->SetRunMode(true, true);
    box->Resize(area_.Width(), area_.Height());
    if (const TKYToggetto* page = LivePage(set_, PageIdentifier()))
        SetPageBackground(set_, *page, surface_.Surface().Background(), picture_);
}

bool FloatingFramePage::ShowPage(std::int32_t page) {
    Close();
    if (!surface_.ShowPage(page)) return false;
    Shown();
    return true;
}

void FloatingFramePage::ShowNewPage() {
    // A frame of a nested map whose page is gone stays empty: a floating frame never adds a
    // page to the hypertext.
    Close();
}

void FloatingFramePage::Close() {
    surface_.Close();
    objects_.SetBox(nullptr);
    objects_.SetText(nullptr);
    objects_.Clear();
    surface_.Surface().Background().picture = nullptr;
}

void FloatingFramePage::SetAnimated(bool animated) {
    surface_.SetAnimated(animated);
    objects_.SetAnimated(animated);
}

void FloatingFramePage::SetGeometry(const Rect& area, bool border) {
    area_ = area;
    border_ = border;
    surface_.SetGeometry(area, border);
}

void FloatingFramePage::DetachView() {
    surface_.DetachView();
    // The views hold the objects the save replaces.
    objects_.SetBox(nullptr);
    objects_.SetText(nullptr);
    objects_.Clear();
    surface_.Surface().Background().picture = nullptr;
}

void FloatingFramePage::ReattachView() {
    if (!LivePage(set_, PageIdentifier())) {
        Close();
        return;
    }
    surface_.ReattachView();
    Shown();
}

void FloatingFramePage::Paint(ICanvas& canvas, std::int32_t left, std::int32_t top) {
    if (hidden_ || area_.Empty()) return;
    const Rect at = area_.Offset(left, top);
    canvas.PushClip(at);
    OffsetCanvas inner(canvas, at.left, at.top);
    const Rect client{0, 0, area_.Width(), area_.Height()};
    surface_.Surface().Background().Paint(inner, client);
    if (TKYTbox* box = Box()) box->Paint(inner, client);
    canvas.PopClip();
    if (border_) {
        const std::int32_t dark = SystemColour(kColourButtonShadow);
        canvas.FillRect({at.left, at.top, at.right, at.top + 1}, dark);
        canvas.FillRect({at.left, at.top, at.left + 1, at.bottom}, dark);
        canvas.FillRect({at.left, at.bottom - 1, at.right, at.bottom}, dark);
        canvas.FillRect({at.right - 1, at.top, at.right, at.bottom}, dark);
    }
}

void FloatingFramePage::Host::Invalidate(const Rect& area) {
    if (page_.context_.invalidate)
        page_.context_.invalidate(area.Offset(page_.area_.left, page_.area_.top));
}

std::unique_ptr<IFramePage> FloatingFramePages::CreatePage(TKYTCustomFrameSet& frames) {
    if (!frames.LinkedKYTset()) return nullptr;
    return std::make_unique<FloatingFramePage>(*frames.LinkedKYTset(), frames, context_);
}

}  // namespace orvo

// The caret and the blink timer all carets share.
#include "textbox/TKYTcursor.h"

#include <algorithm>

#include "textbox/uKYTbox.h"

namespace orvo {

namespace {

// One timer for the program; `owner` is the caret it blinks.
struct SharedBlink {
    IScheduler* scheduler = nullptr;
    IScheduler::TimerId id = 0;
    TKYTcursor* owner = nullptr;
};

SharedBlink& Blink() {
    static SharedBlink blink;
    return blink;
}

void StopBlink() {
    SharedBlink& b = Blink();
    if (b.scheduler && b.id) b.scheduler->StopTimer(b.id);
    b.scheduler = nullptr;
    b.id = 0;
    b.owner = nullptr;
}

}  // namespace

TKYTcursor::TKYTcursor(TKYTbox& box, IScheduler& scheduler, bool boxCaret)
    : box_(box), scheduler_(scheduler), boxCaret_(boxCaret) {}

TKYTcursor::~TKYTcursor() {
    if (Owned()) StopBlink();
}

bool TKYTcursor::Owned() const {
    return Blink().owner == this;
}

TKYTTextPos TKYTcursor::Pos() const {
    return boxCaret_ ? box_.Caret() : pos_;
}

Rect TKYTcursor::Bar() const {
    const TKYTTextPos p = Pos();
    if (!p.Resolved()) return {};
    return {p.x, p.y, p.x + kCaretWidth, p.y + p.height};
}

void TKYTcursor::InvalidateBar() {
    const Rect bar = Bar();
    if (bar.right > bar.left) box_.Host().Invalidate(bar);
}

void TKYTcursor::ShowCaret(bool on) {
    if (on) {
        SharedBlink& b = Blink();
        if (b.owner != this) {
            if (b.owner) {
                // The previous owner's bar goes away with the timer.
                TKYTcursor* previous = b.owner;
                StopBlink();
                previous->barOn_ = false;
                previous->InvalidateBar();
            }
            b.scheduler = &scheduler_;
            b.owner = this;
            b.id = scheduler_.StartTimer(kCaretBlink, true, [this] { Tick(); });
        }
        shown_ = true;
        barOn_ = true;
        PlaceCaret(Pos(), false);
        return;
    }
    if (Owned()) StopBlink();
    shown_ = false;
    barOn_ = false;
    InvalidateBar();
}

void TKYTcursor::StorePos(const TKYTTextPos& position) {
    if (boxCaret_)
        box_.SetCaret(position);
    else
        pos_ = box_.ResolvePosition(position);
}

void TKYTcursor::PlaceCaret(const TKYTTextPos& position, bool scroll) {
    TKYTTextPos p = position;
    if (p.paraIndex < 0) {
        p.paraIndex = 0;
        p.lineIndex = -1;
    }
    p.charIndex = std::max(p.charIndex, 0);
    InvalidateBar();
    StorePos(p);
    const TKYTTextPos placed = Pos();
    if (placed.height < 0) return;
    // A new place shows the bar at once, so that a moving caret is seen while it moves.
    if (shown_) barOn_ = true;
    InvalidateBar();
    if (scroll && focused && !box_.runMode && !box_.inactive)
        box_.ScrollIntoView(placed.x, placed.y, placed.height, kCaretWidth);
}

void TKYTcursor::KeepVisible() {
    keepVisible_ = 3;
    const TKYTTextPos p = Pos();
    if (p.Resolved()) box_.ScrollIntoView(p.x, p.y, p.height, kCaretWidth);
}

void TKYTcursor::ScrollCaretWithContext() {
    const TKYTTextPos p = Pos();
    if (!p.Resolved()) return;
    const std::int32_t above = std::min(p.y, 25);
    box_.ScrollIntoView(p.x, p.y - above, p.height + above, kCaretWidth);
}

void TKYTcursor::Tick() {
    if (keepVisible_ > 3) {
        --keepVisible_;
    } else if (keepVisible_ > 0) {
        --keepVisible_;
        const TKYTTextPos p = Pos();
        if (p.Resolved()) box_.ScrollIntoView(p.x, p.y, p.height, kCaretWidth);
    }
    barOn_ = !barOn_;
    InvalidateBar();
}

}  // namespace orvo

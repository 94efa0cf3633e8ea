// TKYTcursor: the caret of a text box, a bar 3 pixels wide and one line high that blinks on a
// timer shared by every caret of the program.
#pragma once

#include <chrono>
#include <cstdint>

#include "platform/ICanvas.h"
#include "platform/IScheduler.h"
#include "textbox/TKYTTextPos.h"

namespace orvo {

class TKYTbox;

/// The blink interval of the shared timer.
inline constexpr std::chrono::milliseconds kCaretBlink{500};
/// The caret's width in pixels.
inline constexpr std::int32_t kCaretWidth = 3;

class TKYTcursor {
public:
    /// A caret of `box`. The box's own caret keeps its position in the box (so that every
    /// relayout resolves it again); the drop caret keeps its own.
    TKYTcursor(TKYTbox& box, IScheduler& scheduler, bool boxCaret = true);
    ~TKYTcursor();
    TKYTcursor(const TKYTcursor&) = delete;
    TKYTcursor& operator=(const TKYTcursor&) = delete;

    /// On: takes the shared timer, becomes its owner and places itself at its position. Off:
    /// stops the timer (when owned) and repaints the box under the bar.
    void ShowCaret(bool on);
    /// Stores the position (a paragraph index below 0 becomes 0, a character index below 0
    /// becomes 0), erases the bar and, when resolved, moves there; with `scroll`, a box that
    /// has the focus and is edited scrolls the caret into view.
    void PlaceCaret(const TKYTTextPos& position, bool scroll);
    /// Stores the position without moving or drawing.
    void StorePos(const TKYTTextPos& position);
    /// Keeps the caret in view for the next three blinks, and scrolls it into view now.
    void KeepVisible();
    /// Scrolls so that the caret and up to 25 pixels above it are visible.
    void ScrollCaretWithContext();

    /// The position (the box's caret for the box's own caret).
    TKYTTextPos Pos() const;
    bool Shown() const { return shown_; }
    bool Owned() const;
    std::int32_t KeepVisibleCount() const { return keepVisible_; }
    /// The bar is drawn now (the blink's phase).
    bool BarVisible() const { return shown_ && barOn_; }
    /// Where the bar is, in box pixels; empty when the position has no geometry.
    Rect Bar() const;

    /// One blink of the shared timer (called by it; tests may call it too).
    void Tick();

    /// The box has the focus: PlaceCaret with scroll reaches the screen only then.
    bool focused = false;

private:
    void InvalidateBar();

    TKYTbox& box_;
    IScheduler& scheduler_;
    bool boxCaret_;
    TKYTTextPos pos_;
    bool shown_ = false;
    bool barOn_ = false;
    std::int32_t keepVisible_ = 0;
};

}  // namespace orvo

// The selection handles of a visual object and the pointer rules of moving and resizing it:
// pure geometry, shared by the desktop views and the tests.
#pragma once

#include <array>
#include <cstdint>

#include "platform/ICanvas.h"

namespace orvo {

/// Handle positions 1..8: corners 1 top-left, 2 top-right, 3 bottom-left, 4 bottom-right;
/// 5 top middle, 6 bottom middle, 7 left middle, 8 right middle.
inline constexpr int kHandleSize = 8;
inline constexpr std::int32_t kHandleEnabledColour = 0xFFFFFF;
inline constexpr std::int32_t kHandleDisabledColour = 0xC0C0C0;

/// Handle modes: 0 shown but not draggable, 1 shown only, 2 resizable.
enum class HandleMode : std::uint8_t { Fixed = 0, ShownOnly = 1, Resizable = 2 };

/// The eight handle squares of `bounds` (index 0 is handle 1), each centred on its point.
std::array<Rect, 8> HandleRects(const Rect& bounds);

/// The handle (1..8) under `point`, or 0.
int HandleAt(const Rect& bounds, Point point);

/// A press followed by a move of (dx, dy) starts a drag: more than 4 pixels along one axis and
/// more than 1 along the other.
bool DragStarts(std::int32_t dx, std::int32_t dy);

/// The rectangle after dragging `handle` by (dx, dy) from `start`. With `shift` on a corner
/// both offsets become the smaller of the two. Width and height stay at least 1.
Rect ResizeWithHandle(const Rect& start, int handle, std::int32_t dx, std::int32_t dy, bool shift);

/// Draws the outline (white, then black dotted) and, with `handles`, the eight handles of
/// `bounds`, white when `enabled` and silver otherwise.
void PaintSelection(ICanvas& canvas, const Rect& bounds, bool handles, bool enabled);

}  // namespace orvo

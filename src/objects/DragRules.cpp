// Handle geometry and pointer rules.
#include "objects/DragRules.h"

#include <cstdlib>

namespace orvo {

std::array<Rect, 8> HandleRects(const Rect& b) {
    const std::int32_t midX = (b.left + b.right) / 2, midY = (b.top + b.bottom) / 2;
    const std::array<Point, 8> centres{{{b.left, b.top},
                                        {b.right, b.top},
                                        {b.left, b.bottom},
                                        {b.right, b.bottom},
                                        {midX, b.top},
                                        {midX, b.bottom},
                                        {b.left, midY},
                                        {b.right, midY}}};
    std::array<Rect, 8> rects{};
    constexpr std::int32_t h = kHandleSize / 2;
    for (std::size_t i = 0; i < centres.size(); ++i)
        rects[i] = {centres[i].x - h, centres[i].y - h, centres[i].x + h, centres[i].y + h};
    return rects;
}

int HandleAt(const Rect& bounds, Point point) {
    const std::array<Rect, 8> rects = HandleRects(bounds);
    for (std::size_t i = 0; i < rects.size(); ++i)
        if (rects[i].Contains(point)) return int(i) + 1;
    return 0;
}

bool DragStarts(std::int32_t dx, std::int32_t dy) {
    const std::int32_t ax = std::abs(dx), ay = std::abs(dy);
    return (ax > 4 && ay > 1) || (ay > 4 && ax > 1);
}

Rect ResizeWithHandle(const Rect& start, int handle, std::int32_t dx, std::int32_t dy, bool shift) {
    const bool corner = handle >= 1 && handle <= 4;
    if (shift && corner) {
        const std::int32_t m = std::min(std::abs(dx), std::abs(dy));
        dx = dx < 0 ? -m : m;
        dy = dy < 0 ? -m : m;
    }
    Rect r = start;
    switch (handle) {
        case 1:
            r.left += dx, r.top += dy;
            break;
        case 2:
            r.right += dx, r.top += dy;
            break;
        case 3:
            r.left += dx, r.bottom += dy;
            break;
        case 4:
            r.right += dx, r.bottom += dy;
            break;
        case 5:
            r.top += dy;
            break;
        case 6:
            r.bottom += dy;
            break;
        case 7:
            r.left += dx;
            break;
        case 8:
            r.right += dx;
            break;
        default:
            break;
    }
    if (r.right - r.left < 1) {
        if (handle == 1 || handle == 3 || handle == 7)
            r.left = r.right - 1;
        else
            r.right = r.left + 1;
    }
    if (r.bottom - r.top < 1) {
        if (handle == 1 || handle == 2 || handle == 5)
            r.top = r.bottom - 1;
        else
            r.bottom = r.top + 1;
    }
    return r;
}

void PaintSelection(ICanvas& canvas, const Rect& b, bool handles, bool enabled) {
    const Pen white{0xFFFFFF, LineStyle::Solid, std::nullopt};
    const Pen dotted{0x000000, LineStyle::Dotted, std::nullopt};
    for (const Pen& pen : {white, dotted}) {
        canvas.Line({b.left, b.top}, {b.right - 1, b.top}, pen);
        canvas.Line({b.right - 1, b.top}, {b.right - 1, b.bottom - 1}, pen);
        canvas.Line({b.right - 1, b.bottom - 1}, {b.left, b.bottom - 1}, pen);
        canvas.Line({b.left, b.bottom - 1}, {b.left, b.top}, pen);
    }
    if (!handles) return;
    for (const Rect& h : HandleRects(b)) {
        canvas.FillRect(h, 0x000000);
        canvas.FillRect({h.left + 1, h.top + 1, h.right - 1, h.bottom - 1},
                        enabled ? kHandleEnabledColour : kHandleDisabledColour);
    }
}

}  // namespace orvo

// TKYTbox's geometric queries: point to text position, position to geometry, and scrolling
// a rectangle into view.
#include <algorithm>
#include <cstdint>

#include "textbox/LineBreaker.h"
#include "textbox/uKYTbox.h"

namespace orvo {

TKYTTextPos TKYTbox::HitTest(int mode, std::int32_t x, std::int32_t y) const {
    TKYTTextPos none;
    if (paragraphs_.empty()) return none;
    std::int32_t lo = 0, hi = ParagraphCount() - 1;
    if (mode == 0 || mode == 3 || mode == 4) {
        lo = headCount_;
        hi = ParagraphCount() - footCount_ - 1;
    }
    if (lo > hi || lo < 0 || hi >= ParagraphCount()) return none;

    // The paragraphs are stacked in order: the first whose bottom is at or below y holds y.
    std::int32_t index;
    if (y < Paragraph(lo).top) {
        index = lo;
    } else {
        std::int32_t first = lo, count = hi - lo + 1;
        while (count > 0) {
            const std::int32_t step = count / 2;
            if (Paragraph(first + step).bottom < y) {
                first += step + 1;
                count -= step + 1;
            } else {
                count = step;
            }
        }
        index = std::min(first, hi);
    }

    const TKYTparag& p = Paragraph(index);
    if (p.lines.empty()) return none;
    const std::int32_t contentTop = p.top + p.style.SpaceBefore();
    std::size_t lineIndex = 0;
    for (std::size_t i = 0; i < p.lines.size(); ++i)
        if (contentTop + p.lines[i].top <= y) lineIndex = i;
    const TKYTline& line = p.lines[lineIndex];

    TKYTTextPos pos;
    pos.paragraph = &p;
    pos.paraIndex = index;
    pos.lineIndex = std::int32_t(lineIndex);
    pos.y = contentTop + line.top;
    pos.height = line.height;

    const std::int32_t length = std::int32_t(p.text.size());
    const std::int32_t end =
        std::min<std::int32_t>(line.first + line.count, std::int32_t(p.metrics.size()));
    // Summed in 64 bits and held in the int range, as ResolvePosition does.
    std::int64_t left = std::int64_t(line.indent) + line.alignOffset;
    if (x < left && line.count > 0) {
        pos.charIndex = line.first;
        pos.x = HeldInLayout(left);
        pos.xRight = HeldInLayout(left + p.metrics[std::size_t(line.first)].width);
        return pos;
    }
    for (std::int32_t k = line.first; k < end; ++k) {
        const std::int64_t right = left + p.metrics[std::size_t(k)].width;
        if (x < right) {
            pos.charIndex = k;
            pos.x = HeldInLayout(left);
            pos.xRight = HeldInLayout(right);
            return pos;
        }
        left = right;
    }
    // Past the line's end.
    const bool lastLine = lineIndex + 1 == p.lines.size();
    if (lastLine || line.count == 0) {
        pos.charIndex = lastLine ? length : line.first;
        pos.x = HeldInLayout(left);
        pos.xRight = pos.x;
    } else {
        const std::int32_t k = end - 1;
        const std::int32_t width = p.metrics[std::size_t(k)].width;
        pos.charIndex = k;
        pos.x = HeldInLayout(left - width);
        pos.xRight = HeldInLayout(left);
    }
    return pos;
}

TKYTTextPos TKYTbox::ResolvePosition(const TKYTTextPos& position) const {
    TKYTTextPos pos = position;
    if (pos.paraIndex < 0 || pos.paraIndex >= ParagraphCount()) {
        pos.paragraph = nullptr;
        pos.height = -1;
        return pos;
    }
    const TKYTparag& p = Paragraph(pos.paraIndex);
    pos.paragraph = &p;
    if (p.lines.empty()) {
        pos.height = -1;
        return pos;
    }
    const std::int32_t length = std::int32_t(p.text.size());
    pos.charIndex = std::clamp(pos.charIndex, 0, length);

    std::size_t lineIndex = 0;
    for (std::size_t i = 0; i < p.lines.size(); ++i)
        if (p.lines[i].first <= pos.charIndex) lineIndex = i;
    // A position at the end of a line that was asked for stays on that line (the caret after
    // a line's last character), not at the start of the next.
    if (position.lineIndex >= 0 && std::size_t(position.lineIndex) + 1 == lineIndex) {
        const TKYTline& asked = p.lines[std::size_t(position.lineIndex)];
        if (asked.first + asked.count == pos.charIndex && asked.count > 0)
            lineIndex = std::size_t(position.lineIndex);
    }
    const TKYTline& line = p.lines[lineIndex];
    // Summed in 64 bits and held in the int range.
    std::int64_t x = std::int64_t(line.indent) + line.alignOffset;
    const std::int32_t measured = std::int32_t(p.metrics.size());
    for (std::int32_t k = line.first; k < pos.charIndex && k < measured; ++k)
        x += p.metrics[std::size_t(k)].width;
    pos.lineIndex = std::int32_t(lineIndex);
    pos.x = HeldInLayout(x);
    pos.xRight = pos.x;
    if (pos.charIndex < line.first + line.count && pos.charIndex < measured)
        pos.xRight = HeldInLayout(x + p.metrics[std::size_t(pos.charIndex)].width);
    pos.y = p.top + p.style.SpaceBefore() + line.top;
    pos.height = line.height;
    return pos;
}

void TKYTbox::ScrollIntoView(std::int32_t x, std::int32_t y, std::int32_t height,
                             std::int32_t width) {
    const Point origin = host_.BoxOriginInPage();
    x += origin.x;
    y += origin.y;
    const std::int32_t left = host_.HorizontalPosition();
    const std::int32_t top = host_.VerticalPosition();
    const std::int32_t clientWidth = host_.ClientWidth();
    const std::int32_t clientHeight = host_.ClientHeight();
    std::int32_t newLeft = left, newTop = top;
    if (x < left)
        newLeft = x;
    else if (x + width > left + clientWidth)
        newLeft = x + width - clientWidth;
    if (y < top)
        newTop = y;
    else if (y + height > top + clientHeight)
        newTop = y + height - clientHeight;
    if (newLeft != left) host_.SetHorizontalScroll(host_.HorizontalRange(), newLeft);
    if (newTop != top) host_.SetVerticalScroll(host_.VerticalRange(), newTop);
}

}  // namespace orvo

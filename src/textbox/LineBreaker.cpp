// The line breaker: stored widths are added, never measured again.
#include "textbox/LineBreaker.h"

#include <algorithm>
#include <cstdint>

#include "model/uKYTogge.h"
#include "textbox/IBoxHost.h"
#include "textbox/IInlineObject.h"

namespace orvo {
namespace {

constexpr std::uint8_t kAlignRight = 1;
constexpr std::uint8_t kAlignCentre = 2;

// Sizes an inline object for this layout and parks it until painting places it.
void PrepareInlineObject(TKYTparag& paragraph, TKYTcharMetric& m, std::int32_t fullWidth,
                         IBoxHost* host) {
    if (m.objectIndex < 0 || std::size_t(m.objectIndex) >= paragraph.objects.size()) return;
    const TKYToggetto* object = paragraph.objects[std::size_t(m.objectIndex)];
    IInlineObject* view = (object && host) ? host->ViewOf(*object) : nullptr;
    if (!view) {
        // No view: the size read with the markup stands, bottom on the baseline.
        m.ascent = m.height;
        return;
    }
    view->UpdateSize(fullWidth);
    const ObjectSize size = view->Size();
    m.width = size.width;
    m.height = size.height;
    switch (view->VerticalAlignment()) {
        case 3:
            m.ascent = 0;
            break;
        case 4:
            m.ascent = m.height / 2;
            break;
        default:
            m.ascent = m.height;
            break;
    }
    view->MarkReposition();
    view->Park();
}

}  // namespace

// Margins and indents come from stored markup and may be any int32: layout takes them within
// 16 million pixels, so that sums of a few of them stay in range.
std::int32_t LayoutExtent(std::int32_t value) {
    constexpr std::int32_t kLimit = 1 << 24;
    return std::clamp(value, -kLimit, kLimit);
}

std::int32_t HeldInLayout(std::int64_t value) {
    constexpr std::int64_t kLimit = std::int64_t(1) << 30;
    return std::int32_t(std::clamp(value, -kLimit, kLimit));
}

std::int32_t LeftMarginOf(const TKYTparag& paragraph, std::int32_t padding) {
    return LayoutExtent(paragraph.style.LeftMargin()) + LayoutExtent(padding);
}

std::int32_t RightMarginOf(const TKYTparag& paragraph, std::int32_t padding) {
    return LayoutExtent(paragraph.style.RightMargin()) + LayoutExtent(padding);
}

std::int32_t FirstIndentOf(const TKYTparag& paragraph) {
    const std::int32_t indent = LayoutExtent(paragraph.style.FirstIndent());
    return (indent < 0 && paragraph.style.ListKind() != 0) ? 0 : indent;
}

std::int32_t EmptyLineHeight(const TKYTparag& paragraph) {
    return paragraph.defaultLineHeight > 0 ? paragraph.defaultLineHeight : 20;
}

std::int32_t LayoutParagraph(TKYTparag& paragraph, std::int32_t top, LineBreakContext& context) {
    const std::int32_t W = context.layoutWidth;
    paragraph.top = top;
    paragraph.bottom = top;
    paragraph.layoutWidth = W;

    const TKYTParaStyle& style = paragraph.style;
    const std::int32_t left = LeftMarginOf(paragraph, context.padding);
    const std::int32_t firstIndent = FirstIndentOf(paragraph);
    const std::int32_t fullWidth =
        LayoutExtent(W) - left - RightMarginOf(paragraph, context.padding);
    const std::uint8_t alignment = style.Alignment();
    const std::int32_t fixedLineHeight = style.LineHeight();
    const std::int32_t emptyHeight = EmptyLineHeight(paragraph);

    const std::int32_t length = std::int32_t(paragraph.text.size());
    // Hostile or half-built data: never read past the metric records.
    const std::int32_t measured =
        std::min<std::int32_t>(length, std::int32_t(paragraph.metrics.size()));

    // The line list is rebuilt in place: its storage is kept from the last layout.
    std::vector<TKYTline>& lines = paragraph.lines;
    lines.clear();
    TKYTline line;
    line.paragraph = &paragraph;
    line.first = 0;
    line.indent = left + firstIndent;
    // Widths are summed in 64 bits, each character's metrics taken within LayoutExtent.
    std::int64_t available = std::int64_t(fullWidth) - firstIndent;
    std::int64_t remaining = available;
    std::int32_t breakAt = -1;
    std::int64_t remainingAtBreak = 0;
    std::int32_t maxAscentAfterBreak = 0;
    // The largest depth below the ascent (height - ascent) of the line's characters, of those
    // up to the break point and of those after it: a line's height is its ascent plus the
    // depth of the characters it keeps.
    std::int32_t depth = 0, depthAtBreak = 0, depthAfterBreak = 0;

    auto recordOverflow = [&] {
        if (remaining < 0)
            context.usedWidth = std::max(context.usedWidth, HeldInLayout(W - remaining));
    };
    auto finish = [&](TKYTline& l, std::int32_t lineDepth, std::int64_t lineRemaining,
                      std::int64_t lineAvailable) {
        const std::int32_t height = l.count > 0 ? l.ascent + lineDepth : 0;
        l.height = height > 0 ? height : emptyHeight;
        if (alignment == kAlignRight)
            l.alignOffset = HeldInLayout(lineRemaining);
        else if (alignment == kAlignCentre)
            l.alignOffset = HeldInLayout(lineRemaining / 2);
        else
            l.alignOffset = 0;
        l.usedWidth = HeldInLayout(lineAvailable - lineRemaining);
        if (fixedLineHeight > 0) l.height = fixedLineHeight;
    };
    auto add = [&](std::int32_t i) {
        const TKYTcharMetric& m = paragraph.metrics[std::size_t(i)];
        const std::int32_t ascent = LayoutExtent(m.ascent);
        const std::int32_t below = LayoutExtent(m.height) - ascent;
        remaining -= LayoutExtent(m.width);
        line.ascent = std::max(line.ascent, ascent);
        maxAscentAfterBreak = std::max(maxAscentAfterBreak, ascent);
        depth = std::max(depth, below);
        depthAfterBreak = std::max(depthAfterBreak, below);
        ++line.count;
        recordOverflow();
        if (paragraph.text[std::size_t(i)] == ' ') {
            breakAt = i + 1;
            remainingAtBreak = remaining;
            maxAscentAfterBreak = 0;
            depthAtBreak = depth;
            depthAfterBreak = 0;
        }
    };
    auto open = [&](std::int32_t first, std::int32_t count, std::int32_t ascent,
                    std::int32_t carriedDepth) {
        TKYTline next;
        next.paragraph = &paragraph;
        next.first = first;
        next.count = count;
        next.ascent = ascent;
        next.top = HeldInLayout(std::int64_t(line.top) + line.height);
        next.indent = left;
        lines.push_back(line);
        line = next;
        available = fullWidth;
        breakAt = -1;
        depth = carriedDepth;
        depthAfterBreak = carriedDepth;
    };

    for (std::int32_t i = 0; i < measured; ++i) {
        TKYTcharMetric& m = paragraph.metrics[std::size_t(i)];
        if (m.objectIndex >= 0) PrepareInlineObject(paragraph, m, fullWidth, context.host);
        if (remaining - LayoutExtent(m.width) > 0) {
            add(i);
            continue;
        }
        if (line.count > 0) {
            if (breakAt < 0 && i > 0 && paragraph.text[std::size_t(i - 1)] == ' ') {
                breakAt = i;
                remainingAtBreak = remaining;
                maxAscentAfterBreak = 0;
                depthAtBreak = depth;
                depthAfterBreak = 0;
            }
            if (breakAt < 0) {
                add(i);  // no break point: the line overflows
                continue;
            }
            const std::int64_t remainingBeforeCut = remaining;
            line.count = breakAt - line.first;
            finish(line, depthAtBreak, std::max<std::int64_t>(0, remainingAtBreak), available);
            const std::int32_t carried = i - breakAt;
            const std::int64_t carriedWidth = remainingAtBreak - remainingBeforeCut;
            open(breakAt, carried, maxAscentAfterBreak, depthAfterBreak);
            remaining = fullWidth - carriedWidth;
            add(i);
        } else {
            add(i);  // a character wider than an empty line: it stands alone and overflows
            remaining = 0;
            if (i != measured - 1) {
                finish(line, depth, 0, available);
                open(i + 1, 0, 0, 0);
                remaining = fullWidth;
            }
        }
    }
    finish(line, depth, remaining, available);
    recordOverflow();
    lines.push_back(line);

    const TKYTline& last = lines.back();
    const std::int32_t nextTop = HeldInLayout(std::int64_t(top) + style.SpaceBefore() + last.top +
                                              last.height + style.SpaceAfter());
    paragraph.bottom = nextTop - 1;
    return nextTop;
}

void ShiftParagraph(TKYTparag& paragraph, std::int32_t dy, IBoxHost* host) {
    paragraph.top += dy;
    paragraph.bottom += dy;
    if (!host) return;
    for (const TKYToggetto* object : paragraph.objects)
        if (object)
            if (IInlineObject* view = host->ViewOf(*object)) view->MarkReposition();
}

}  // namespace orvo

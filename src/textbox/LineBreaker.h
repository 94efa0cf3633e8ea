// Breaking one paragraph into lines at a box's layout width.
#pragma once

#include <cstdint>

#include "model/TKYTparag.h"

namespace orvo {

class IBoxHost;
class IInlineObject;

/// What laying out a paragraph needs of its box.
struct LineBreakContext {
    std::int32_t layoutWidth = 0;  // W, the width lines are broken to
    std::int32_t padding = 0;      // a cell box's inner padding, added to both margins
    std::int32_t usedWidth = 0;    // grows to W + the overflow of any line wider than W
    IBoxHost* host = nullptr;      // finds the views of inline objects; none: sizes as read
};

/// A margin or indent from stored markup as layout takes it: within 16 million pixels.
std::int32_t LayoutExtent(std::int32_t value);
/// A position or size summed in 64 bits from hostile widths and heights, held within about a
/// billion pixels: half the int range, so that what is added to it afterwards stays in range.
std::int32_t HeldInLayout(std::int64_t value);

/// The left and right margin and the first-line indent a paragraph lays out with: the
/// style's margins plus the padding, and a negative first-line indent counted as 0 when the
/// paragraph is numbered or bulleted.
std::int32_t LeftMarginOf(const TKYTparag& paragraph, std::int32_t padding);
std::int32_t RightMarginOf(const TKYTparag& paragraph, std::int32_t padding);
std::int32_t FirstIndentOf(const TKYTparag& paragraph);

/// Breaks the paragraph into lines with its top at `top`, replaces its lines, sets its top,
/// bottom and layoutWidth, and returns the top of the next paragraph. Lines break only after
/// a space; a word wider than the line is not split and the line overflows.
std::int32_t LayoutParagraph(TKYTparag& paragraph, std::int32_t top, LineBreakContext& context);

/// Moves a laid-out paragraph down by dy (up when negative); its inline objects are placed
/// again when next painted.
void ShiftParagraph(TKYTparag& paragraph, std::int32_t dy, IBoxHost* host);

/// The height an empty line of the paragraph gets: its default line height, or 20 when that
/// is not positive.
std::int32_t EmptyLineHeight(const TKYTparag& paragraph);

}  // namespace orvo

// Where the copies of a tiled background picture go: the arithmetic of the page background.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/ICanvas.h"

namespace orvo {

/// The largest multiple of `step` (> 0) that does not exceed `edge`: floor division, so an
/// edge of -10 with a step of 30 gives -30.
std::int64_t TileStart(std::int64_t edge, std::int64_t step);

/// The copies of a `width` x `height` picture that cover `clip`, laid from the origin of the
/// surface: the first at `origin`, then `columns` across and `rows` down.
struct TileGrid {
    Point origin;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int64_t columns = 0;
    std::int64_t rows = 0;
    Point At(std::int64_t column, std::int64_t row) const {
        return {std::int32_t(origin.x + column * width), std::int32_t(origin.y + row * height)};
    }
};

/// The grid over `clip`; nothing for an empty clip or a picture without a width or a height.
std::optional<TileGrid> TileGridFor(const Rect& clip, std::int32_t width, std::int32_t height);

}  // namespace orvo

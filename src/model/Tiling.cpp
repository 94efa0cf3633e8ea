// The arithmetic of a tiled page background.
#include "model/Tiling.h"

namespace orvo {

std::int64_t TileStart(std::int64_t edge, std::int64_t step) {
    std::int64_t quotient = edge / step;
    if (edge % step != 0 && edge < 0) --quotient;
    return quotient * step;
}

std::optional<TileGrid> TileGridFor(const Rect& clip, std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0 || clip.Empty()) return std::nullopt;
    TileGrid grid;
    grid.width = width;
    grid.height = height;
    const std::int64_t x0 = TileStart(clip.left, width);
    const std::int64_t y0 = TileStart(clip.top, height);
    grid.origin = {std::int32_t(x0), std::int32_t(y0)};
    // Copies go on until the clip's right and bottom edges are passed.
    grid.columns = (std::int64_t(clip.right) - x0 + width - 1) / width;
    grid.rows = (std::int64_t(clip.bottom) - y0 + height - 1) / height;
    return grid;
}

}  // namespace orvo

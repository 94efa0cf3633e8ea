// The page background painter.
#include "textbox/TKYTsfondo.h"

#include "model/Tiling.h"

namespace orvo {

void TKYTsfondo::Paint(ICanvas& canvas, const Rect& clip) const {
    if (clip.Empty()) return;
    const auto grid = picture && !picture->Empty()
                          ? TileGridFor(clip, picture->width, picture->height)
                          : std::nullopt;
    if (!grid) {
        canvas.FillRect(clip, colour);
        return;
    }
    ClipGuard guard(canvas, clip);
    if (!picture->opaque) canvas.FillRect(clip, colour);
    for (std::int64_t row = 0; row < grid->rows; ++row)
        for (std::int64_t column = 0; column < grid->columns; ++column) {
            const Point at = grid->At(column, row);
            canvas.DrawImage(*picture, at.x, at.y);
        }
}

}  // namespace orvo

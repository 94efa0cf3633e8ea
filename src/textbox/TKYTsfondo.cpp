// The page background painter.
#include "textbox/TKYTsfondo.h"

#include "model/ObjectRecord.h"
#include "model/Tiling.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "picture/TKYTpicture.h"

namespace orvo {

void SetPageBackground(TKYTset& set, const TKYToggetto& page, TKYTsfondo& background,
                       PageBackgroundPicture& picture) {
    const PageRecord record = PageRecord::Read(page);
    background.colour = record.BackgroundColour();
    background.picture = nullptr;
    picture = PageBackgroundPicture{};
    const std::int32_t id = record.BackgroundPicture();
    TKYToggetto* object = set.ObjectByKind(TOggettiHel::immagine, id);
    if (!object || object->IsFree()) return;
    auto decoded = set.PictureOf(*object);
    if (!decoded.ok() || !*decoded || !(*decoded)->HasGraphic()) return;
    picture.pixels = RenderPicture((*decoded)->Graphic());
    if (picture.pixels.Empty()) return;
    picture.image =
        CanvasImage{picture.pixels.width, picture.pixels.height, picture.pixels.rgba.data(),
                    std::uint64_t(id) + 1, (*decoded)->IsOpaque()};
    background.picture = &picture.image;
}

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

// TKYTsfondo: what lies behind a page's text: its background colour, or its background
// picture tiled from the surface's origin.
#pragma once

#include <cstdint>

#include "picture/Picture.h"
#include "platform/ICanvas.h"

namespace orvo {

class TKYToggetto;
class TKYTset;

class TKYTsfondo {
public:
    /// Windows colour value (0x00BBGGRR).
    std::int32_t colour = 0xC0C0C0;
    /// The decoded background picture (owned by the caller, kept while set); none or an empty
    /// image: the colour alone.
    const CanvasImage* picture = nullptr;

    /// Paints `clip`: a picture that is not opaque has the colour filled behind it; copies of
    /// the picture start at the largest multiples of its size not beyond the clip's top left.
    void Paint(ICanvas& canvas, const Rect& clip) const;
};

/// The pixels of a page's background picture, kept while the background shows them.
struct PageBackgroundPicture {
    Bitmap pixels;
    CanvasImage image;
};

/// Gives `background` the page's colour and its decoded background picture (none when the
/// page has none or it cannot be decoded); `picture` holds the pixels.
void SetPageBackground(TKYTset& set, const TKYToggetto& page, TKYTsfondo& background,
                       PageBackgroundPicture& picture);

}  // namespace orvo

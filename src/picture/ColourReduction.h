// Reducing a bitmap to at most 256 colours, for writing it as a GIF.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Result.h"
#include "picture/Picture.h"

namespace orvo {

struct IndexedBitmap {
    int width = 0;
    int height = 0;
    Palette palette;                    // at most 256 colours
    std::vector<std::uint8_t> indices;  // width × height, rows top to bottom
};

/// The one place where colours are reduced. A bitmap of at most 256 distinct colours keeps them
/// exactly (palette in order of first appearance); a richer one goes through giflib's median cut
/// (GifQuantizeBuffer), whose palette is then refined towards its pixels. Alpha is ignored.
Result<IndexedBitmap> ReduceColours(const Bitmap& bitmap);

}  // namespace orvo

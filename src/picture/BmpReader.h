// Windows and OS/2 bitmap files: 1, 4, 8, 16, 24 and 32 bits, RLE4, RLE8 and bit fields.
#pragma once

#include <string_view>

#include "base/Result.h"
#include "picture/Picture.h"

namespace orvo {

/// Decodes a ".bmp" file. Rows bottom-up or top-down; pixels that an RLE bitmap skips get
/// palette colour 0; a colour index beyond the palette is black.
Result<Picture> DecodeBmp(std::string_view bytes, const DecodeLimits& limits = {});

}  // namespace orvo

// PNG reading through libpng, for pictures that arrive as PNG (RTF documents) and are kept as
// GIF or JPEG, the formats a hypertext stores.
#pragma once

#include <string_view>

#include "base/Result.h"
#include "picture/Picture.h"

namespace orvo {

/// True when `bytes` starts with the PNG signature.
bool IsPng(std::string_view bytes);

/// Decodes any PNG (palette, grey, colour, with or without alpha, interlaced) into RGBA pixels.
/// Sizes beyond `limits` are refused before the pixels are allocated; a damaged file fails.
Result<Bitmap> DecodePng(std::string_view bytes, const DecodeLimits& limits = {});

}  // namespace orvo

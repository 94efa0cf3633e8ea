// JPEG reading and writing through libjpeg(-turbo).
#pragma once

#include <string>
#include <string_view>

#include "base/Result.h"
#include "picture/Picture.h"

namespace orvo {

/// Decodes a baseline or progressive JPEG (greyscale, YCbCr, RGB, CMYK) into RGB pixels.
/// A size beyond `limits`, or more progressive scans than it allows, is refused.
Result<Picture> DecodeJpeg(std::string_view bytes, const DecodeLimits& limits = {});

/// Encodes the bitmap's colours (alpha is ignored) at `quality` 0..100 (clamped).
Result<std::string> EncodeJpeg(const Bitmap& bitmap, int quality);

}  // namespace orvo

// WMF and EMF metafiles: recognised and measured, never drawn; their bytes are kept untouched.
#pragma once

#include <string_view>

#include "base/Result.h"
#include "picture/Picture.h"

namespace orvo {

/// A placeable WMF (its bounding box in units per inch), a plain WMF (its first window extent,
/// taken as pixels) or an EMF (its frame in 0.01 mm), sized in pixels at `limits.pixelsPerInch`.
Result<Picture> DecodeMetafile(std::string_view bytes, const DecodeLimits& limits = {});

}  // namespace orvo

// Bitmaps inside Windows metafiles: a placeable WMF that draws one 24-bit DIB (how pictures
// travel inside RTF), the ".bmp" file of a bitmap, and the first bitmap read back out of a
// WMF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "picture/Picture.h"

namespace orvo {

/// The placeable header in front of a WMF: 22 bytes starting with the key 0x9AC6CDD7.
inline constexpr std::size_t kPlaceableHeaderSize = 22;
inline constexpr std::uint32_t kWmfPlaceableKey = 0x9AC6CDD7u;

/// True when `bytes` starts with a placeable header's key.
bool IsPlaceableWmf(std::string_view bytes);

/// A bottom-up 24-bit DIB: a 40-byte BITMAPINFOHEADER and rows padded to 4 bytes. Pixels are
/// laid over white by their alpha.
std::string EncodeDib(const Bitmap& bitmap);

/// A ".bmp" file: the 14-byte file header and EncodeDib.
std::string EncodeBmpFile(const Bitmap& bitmap);

/// A placeable WMF of `width` x `height` units at `unitsPerInch` (the bounding box 0, 0,
/// width, height) whose records set the window to that size and stretch the whole bitmap over
/// it (STRETCHDIB, SRCCOPY). Sizes below 1 become 1; the bitmap must not be empty.
std::string WriteBitmapWmf(const Bitmap& bitmap, int width, int height, int unitsPerInch);

/// The bitmap of the first STRETCHDIB, DIBSTRETCHBLT, DIBBITBLT or SETDIBTODEV record of a
/// WMF, placeable or not. Fails with "Metafile non valido" for bytes that are no WMF and with
/// "Il metafile non contiene immagini" when no record holds a bitmap.
Result<Bitmap> ReadWmfBitmap(std::string_view wmf, const DecodeLimits& limits = {});

/// The message of a WMF without any bitmap record.
inline constexpr std::string_view kWmfWithoutBitmap = "Il metafile non contiene immagini";

}  // namespace orvo

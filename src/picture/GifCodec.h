// GIF reading and writing through giflib: frames, the graphic control extension, loop count.
#pragma once

#include <string>
#include <string_view>

#include "base/Result.h"
#include "picture/Picture.h"

namespace orvo {

/// Reads every frame of a GIF. A file cut short keeps the frames (and the rows of the last
/// frame) read before the cut; sizes beyond `limits` are refused before anything is allocated.
Result<Picture> DecodeGif(std::string_view bytes, const DecodeLimits& limits = {});

/// Writes a GIF89a of the picture's frames, each preceded by its graphic control extension when
/// it has one, with the NETSCAPE2.0 loop count when the picture has one. Palettes are padded to
/// a power of two; a frame without any palette, or with no pixels, is refused.
Result<std::string> EncodeGif(const Picture& gif);

/// Turns the transparency of every frame on or off, changing nothing else in the file: each
/// graphic control extension gets its transparency flag set to `on`; when turning on, a frame
/// without one gets a new extension, and a frame at least 2 pixels high takes the colour index of
/// its lower-left pixel as its transparent colour.
Result<std::string> RewriteGifTransparency(std::string_view gifBytes, bool on,
                                           const DecodeLimits& limits = {});

/// A bitmap as a one-frame GIF, its colours reduced by ReduceColours. With `transparent` the
/// frame is transparent by the same rule as RewriteGifTransparency.
Result<std::string> BitmapToGif(const Bitmap& bitmap, bool transparent);

}  // namespace orvo

// The decoded picture: what a GIF, JPEG, BMP or metafile holds, as the rest of Orvo sees it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace orvo {

enum class PictureFormat : std::uint8_t { Gif, Jpeg, Bmp, Wmf, Emf };

/// The lower-case extension a picture of this format is stored under (".gif", ".jpg", ...).
std::string_view ExtensionFor(PictureFormat format);

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};
using Palette = std::vector<Rgb>;

/// RGBA pixels, 4 bytes each, rows top to bottom.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    Bitmap() = default;
    Bitmap(int w, int h) : width(w), height(h), rgba(std::size_t(w) * std::size_t(h) * 4, 0) {}
    bool Empty() const { return width <= 0 || height <= 0; }
    std::uint8_t* At(int x, int y) { return &rgba[(std::size_t(y) * std::size_t(width) + x) * 4]; }
    const std::uint8_t* At(int x, int y) const {
        return &rgba[(std::size_t(y) * std::size_t(width) + x) * 4];
    }
    void Set(int x, int y, Rgb c, std::uint8_t alpha = 255) {
        std::uint8_t* p = At(x, y);
        p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = alpha;
    }
    Rgb ColourAt(int x, int y) const {
        const std::uint8_t* p = At(x, y);
        return {p[0], p[1], p[2]};
    }
};

/// What a GIF frame asks to be done with its area before the next frame is drawn.
enum class GifDisposal : std::uint8_t {
    Unspecified = 0,
    Keep = 1,
    RestoreBackground = 2,
    RestorePrevious = 3,
};

/// One image of a GIF with the graphic control extension that precedes it.
struct GifFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;            // as stored; `indices` are always in display order
    Palette localPalette;               // empty: the frame uses the global palette
    std::vector<std::uint8_t> indices;  // width × height colour indices, rows top to bottom

    bool hasControl = false;  // a graphic control extension precedes the frame
    int delay = 0;            // hundredths of a second
    GifDisposal disposal = GifDisposal::Unspecified;
    bool userInput = false;
    bool transparent = false;  // the extension's transparency flag
    int transparentIndex = 0;  // meaningful while `transparent` is set

    const Palette& PaletteIn(const Palette& global) const {
        return localPalette.empty() ? global : localPalette;
    }
    std::uint8_t IndexAt(int x, int y) const {
        return indices[std::size_t(y) * std::size_t(width) + x];
    }
};

/// A decoded picture. A GIF keeps its frames as colour indices so that it can be written back;
/// JPEG and BMP keep their pixels; a metafile keeps its bytes untouched (nothing here draws it)
/// and only its size is known.
struct Picture {
    PictureFormat format = PictureFormat::Bmp;
    int width = 0;   // pixels
    int height = 0;  // pixels

    // GIF
    Palette globalPalette;
    int backgroundIndex = 0;
    int loopCount = -1;  // the NETSCAPE2.0 loop count; -1 when the file has none (0 = forever)
    std::vector<GifFrame> frames;

    // JPEG, BMP
    Bitmap pixels;

    // WMF, EMF
    std::string metafileBytes;

    bool IsGif() const { return format == PictureFormat::Gif; }
    bool IsMetafile() const { return format == PictureFormat::Wmf || format == PictureFormat::Emf; }
    /// A GIF whose first frame carries the transparency flag.
    bool IsTransparentGif() const;
};

/// Bounds on what a decoder accepts from a file, so that a hostile size gives an error rather
/// than an endless allocation.
struct DecodeLimits {
    int maxSide = 32767;                                    // pixels, either dimension
    std::int64_t maxPixels = std::int64_t(64) << 20;        // one frame or one canvas
    std::int64_t maxTotalPixels = std::int64_t(256) << 20;  // all frames of a GIF together
    int maxFrames = 10000;
    int maxJpegScans = 500;  // progressive scans of a JPEG
    int pixelsPerInch = 96;  // metafile sizes are converted with it
};

/// The format recognised from the first bytes: GIF, JPEG, BMP, placeable or plain WMF, EMF.
/// Fails when the bytes are none of them.
Result<PictureFormat> SniffPictureFormat(std::string_view bytes);

/// Decodes any of the formats above, recognised from the bytes, never from a file name.
Result<Picture> DecodePicture(std::string_view bytes, const DecodeLimits& limits = {});

/// The picture as pixels: frame `frame` of a GIF composed over its predecessors (following their
/// disposal; transparent pixels have alpha 0), the pixels of a JPEG or BMP, and an empty bitmap
/// for a metafile or a GIF without frames.
Bitmap RenderPicture(const Picture& picture, std::size_t frame = 0);

}  // namespace orvo

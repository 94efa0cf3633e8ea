// Recognising picture formats, and composing a GIF's frames into pixels.
#include "picture/Picture.h"

#include <algorithm>

#include "picture/BmpReader.h"
#include "picture/GifCodec.h"
#include "picture/JpegCodec.h"
#include "picture/Metafile.h"

namespace orvo {

namespace {

std::uint32_t U32At(std::string_view b, std::size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at);
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

std::uint16_t U16At(std::string_view b, std::size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at);
    return std::uint16_t(p[0] | (p[1] << 8));
}

// Draws one frame onto the canvas, leaving its transparent pixels alone.
void DrawFrame(Bitmap& canvas, const GifFrame& frame, const Palette& palette) {
    const int x0 = std::max(0, frame.left), y0 = std::max(0, frame.top);
    const int x1 = std::min(canvas.width, frame.left + frame.width);
    const int y1 = std::min(canvas.height, frame.top + frame.height);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const int index = frame.IndexAt(x - frame.left, y - frame.top);
            if (frame.transparent && index == frame.transparentIndex) continue;
            const Rgb colour = std::size_t(index) < palette.size() ? palette[index] : Rgb{};
            canvas.Set(x, y, colour);
        }
    }
}

// "Restore to background": transparent when the frame was transparent, otherwise the background
// colour of the global palette (transparent when there is none).
void RestoreBackground(Bitmap& canvas, const GifFrame& frame, const Picture& picture) {
    const bool transparent =
        frame.transparent || std::size_t(picture.backgroundIndex) >= picture.globalPalette.size();
    const Rgb background = transparent ? Rgb{} : picture.globalPalette[picture.backgroundIndex];
    const int x0 = std::max(0, frame.left), y0 = std::max(0, frame.top);
    const int x1 = std::min(canvas.width, frame.left + frame.width);
    const int y1 = std::min(canvas.height, frame.top + frame.height);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) canvas.Set(x, y, background, transparent ? 0 : 255);
    }
}

}  // namespace

std::string_view ExtensionFor(PictureFormat format) {
    switch (format) {
        case PictureFormat::Gif:
            return ".gif";
        case PictureFormat::Jpeg:
            return ".jpg";
        case PictureFormat::Bmp:
            return ".bmp";
        case PictureFormat::Wmf:
            return ".wmf";
        case PictureFormat::Emf:
            return ".emf";
    }
    return "";
}

bool Picture::IsTransparentGif() const {
    return format == PictureFormat::Gif && !frames.empty() && frames.front().transparent;
}

Result<PictureFormat> SniffPictureFormat(std::string_view b) {
    if (b.size() >= 6 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a")) {
        return PictureFormat::Gif;
    }
    if (b.size() >= 3 && b.substr(0, 3) == "\xFF\xD8\xFF") return PictureFormat::Jpeg;
    if (b.size() >= 2 && b.substr(0, 2) == "BM") return PictureFormat::Bmp;
    if (b.size() >= 4 && U32At(b, 0) == 0x9AC6CDD7u) return PictureFormat::Wmf;
    if (b.size() >= 44 && U32At(b, 0) == 1 && b.substr(40, 4) == " EMF") {
        return PictureFormat::Emf;
    }
    if (b.size() >= 18) {
        const std::uint16_t type = U16At(b, 0), headerWords = U16At(b, 2), version = U16At(b, 4);
        if ((type == 1 || type == 2) && headerWords == 9 &&
            (version == 0x0100 || version == 0x0300)) {
            return PictureFormat::Wmf;
        }
    }
    return Fail("Formato di immagine sconosciuto");
}

Result<Picture> DecodePicture(std::string_view bytes, const DecodeLimits& limits) {
    const Result<PictureFormat> format = SniffPictureFormat(bytes);
    if (!format) return format.failure();
    switch (*format) {
        case PictureFormat::Gif:
            return DecodeGif(bytes, limits);
        case PictureFormat::Jpeg:
            return DecodeJpeg(bytes, limits);
        case PictureFormat::Bmp:
            return DecodeBmp(bytes, limits);
        case PictureFormat::Wmf:
        case PictureFormat::Emf:
            return DecodeMetafile(bytes, limits);
    }
    return Fail("Formato di immagine sconosciuto");
}

Bitmap RenderPicture(const Picture& picture, std::size_t frame) {
    if (picture.IsMetafile()) return {};
    if (!picture.IsGif()) return picture.pixels;
    if (picture.frames.empty() || picture.width <= 0 || picture.height <= 0) return {};
    frame = std::min(frame, picture.frames.size() - 1);

    Bitmap canvas(picture.width, picture.height);
    Bitmap saved;
    for (std::size_t i = 0; i <= frame; ++i) {
        const GifFrame& f = picture.frames[i];
        const bool last = i == frame;
        if (!last && f.disposal == GifDisposal::RestorePrevious) saved = canvas;
        DrawFrame(canvas, f, f.PaletteIn(picture.globalPalette));
        if (last) break;
        if (f.disposal == GifDisposal::RestoreBackground) {
            RestoreBackground(canvas, f, picture);
        } else if (f.disposal == GifDisposal::RestorePrevious) {
            canvas = std::move(saved);
            saved = {};
        }
    }
    return canvas;
}

}  // namespace orvo

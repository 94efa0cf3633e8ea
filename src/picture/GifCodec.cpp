// GIF reading and writing through giflib, and the in-place rewrite of transparency.
#include "picture/GifCodec.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/ByteReader.h"
#include "picture/ColourReduction.h"

namespace orvo {

namespace {

const char kInvalidGif[] = "Immagine GIF non valida";
const char kGifTooLarge[] = "Immagine GIF troppo grande";
const char kGifNotWritten[] = "Non riesco a scrivere l'immagine GIF";

struct MemoryInput {
    std::string_view bytes;
    std::size_t position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
    auto* input = static_cast<MemoryInput*>(gif->UserData);
    if (length <= 0) return 0;
    const std::size_t n = std::min(std::size_t(length), input->bytes.size() - input->position);
    if (n == 0) return 0;
    std::memcpy(buffer, input->bytes.data() + input->position, n);
    input->position += n;
    return int(n);
}

int WriteToString(GifFileType* gif, const GifByteType* buffer, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(buffer), length);
    return length;
}

struct DecoderCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

struct EncoderCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

struct MapFreer {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using MapPtr = std::unique_ptr<ColorMapObject, MapFreer>;

Palette PaletteOf(const ColorMapObject* map) {
    Palette palette;
    if (map == nullptr || map->Colors == nullptr) return palette;
    const int count = std::clamp(map->ColorCount, 0, 256);
    palette.reserve(count);
    for (int i = 0; i < count; ++i) {
        palette.push_back({map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
    }
    return palette;
}

// giflib wants a colour table of 2..256 entries, a power of two.
MapPtr MapOf(const Palette& palette) {
    int size = 2;
    while (size < int(palette.size())) size *= 2;
    std::vector<GifColorType> colours(size, GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < palette.size(); ++i) {
        colours[i] = {palette[i].r, palette[i].g, palette[i].b};
    }
    return MapPtr(GifMakeMapObject(size, colours.data()));
}

// Rows are stored in four passes when a frame is interlaced; `rows` came in that order.
std::vector<std::uint8_t> Deinterlace(const std::vector<std::uint8_t>& rows, int width,
                                      int height) {
    std::vector<std::uint8_t> out(rows.size());
    static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    int stored = 0;
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < height; y += kStep[pass], ++stored) {
            std::memcpy(&out[std::size_t(y) * width], &rows[std::size_t(stored) * width], width);
        }
    }
    return out;
}

std::vector<int> InterlacedOrder(int height) {
    std::vector<int> order;
    static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
    }
    return order;
}

// Reads an extension's sub-blocks to its end; the first is already in `block`.
bool SkipSubBlocks(GifFileType* gif, GifByteType* block) {
    while (block != nullptr) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    }
    return true;
}

bool SkipImageData(GifFileType* gif) {
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR) return false;
    while (block != nullptr) {
        if (DGifGetCodeNext(gif, &block) == GIF_ERROR) return false;
    }
    return true;
}

}  // namespace

Result<Picture> DecodeGif(std::string_view bytes, const DecodeLimits& limits) {
    MemoryInput input{bytes};
    int error = 0;
    std::unique_ptr<GifFileType, DecoderCloser> gif(DGifOpen(&input, ReadFromMemory, &error));
    if (!gif) return Fail(kInvalidGif);

    Picture picture;
    picture.format = PictureFormat::Gif;
    const int screenWidth = gif->SWidth, screenHeight = gif->SHeight;
    if (screenWidth > limits.maxSide || screenHeight > limits.maxSide ||
        std::int64_t(screenWidth) * screenHeight > limits.maxPixels) {
        return Fail(kGifTooLarge);
    }
    picture.globalPalette = PaletteOf(gif->SColorMap);
    picture.backgroundIndex = gif->SBackGroundColor;

    GraphicsControlBlock control{};
    bool controlPending = false;
    std::int64_t totalPixels = 0;
    bool cut = false;  // the file ended, or broke, before its trailer

    while (!cut) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) {
            cut = true;
            break;
        }
        if (type == TERMINATE_RECORD_TYPE) break;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) {
                cut = true;
                break;
            }
            if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
                if (DGifExtensionToGCB(4, block + 1, &control) == GIF_OK) controlPending = true;
            } else if (code == APPLICATION_EXT_FUNC_CODE && block != nullptr && block[0] == 11 &&
                       (std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0 ||
                        std::memcmp(block + 1, "ANIMEXTS1.0", 11) == 0)) {
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) {
                    cut = true;
                    break;
                }
                if (block != nullptr && block[0] >= 3 && block[1] == 1) {
                    picture.loopCount = block[2] | (block[3] << 8);
                }
            }
            if (!SkipSubBlocks(gif.get(), block)) cut = true;
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) {
            cut = true;
            break;
        }

        if (int(picture.frames.size()) >= limits.maxFrames) return Fail(kGifTooLarge);
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR) {
            cut = true;
            break;
        }
        const GifImageDesc& desc = gif->Image;
        if (desc.Width < 0 || desc.Height < 0 || desc.Width > limits.maxSide ||
            desc.Height > limits.maxSide) {
            return Fail(kGifTooLarge);
        }
        const std::int64_t pixels = std::int64_t(desc.Width) * desc.Height;
        totalPixels += pixels;
        if (pixels > limits.maxPixels || totalPixels > limits.maxTotalPixels) {
            return Fail(kGifTooLarge);
        }

        GifFrame frame;
        frame.left = desc.Left;
        frame.top = desc.Top;
        frame.width = desc.Width;
        frame.height = desc.Height;
        frame.interlaced = desc.Interlace;
        frame.localPalette = PaletteOf(desc.ColorMap);
        if (controlPending) {
            frame.hasControl = true;
            frame.delay = control.DelayTime;
            frame.disposal = GifDisposal(std::clamp(control.DisposalMode, 0, 3));
            frame.userInput = control.UserInputFlag;
            frame.transparent = control.TransparentColor != NO_TRANSPARENT_COLOR;
            frame.transparentIndex = frame.transparent ? control.TransparentColor : 0;
            controlPending = false;
        }

        if (pixels == 0) {
            if (!SkipImageData(gif.get())) cut = true;
            picture.frames.push_back(std::move(frame));
            continue;
        }

        // Rows are added as they decode, so a huge frame described by a few bytes costs only
        // what its data really holds.
        std::vector<std::uint8_t> rows;
        int decoded = 0;
        for (; decoded < frame.height; ++decoded) {
            rows.resize(std::size_t(decoded + 1) * frame.width);
            if (DGifGetLine(gif.get(), &rows[std::size_t(decoded) * frame.width], frame.width) ==
                GIF_ERROR) {
                cut = true;
                break;
            }
        }
        if (decoded < frame.height) {
            if (decoded == 0) break;  // nothing of this frame arrived
            const std::uint8_t fill =
                std::uint8_t(frame.transparent ? frame.transparentIndex : picture.backgroundIndex);
            rows.resize(std::size_t(decoded) * frame.width);
            rows.resize(std::size_t(frame.height) * frame.width, fill);
        }
        frame.indices =
            frame.interlaced ? Deinterlace(rows, frame.width, frame.height) : std::move(rows);
        picture.frames.push_back(std::move(frame));
    }

    if (cut && picture.frames.empty()) return Fail(kInvalidGif);

    picture.width = screenWidth;
    picture.height = screenHeight;
    if (picture.width == 0 || picture.height == 0) {
        // Some writers leave the logical screen empty: the frames say how big the picture is.
        for (const GifFrame& f : picture.frames) {
            picture.width = std::max(picture.width, std::min(limits.maxSide, f.left + f.width));
            picture.height = std::max(picture.height, std::min(limits.maxSide, f.top + f.height));
        }
        if (std::int64_t(picture.width) * picture.height > limits.maxPixels) {
            return Fail(kGifTooLarge);
        }
    }
    return picture;
}

Result<std::string> EncodeGif(const Picture& gif) {
    if (gif.width <= 0 || gif.height <= 0 || gif.width > 65535 || gif.height > 65535) {
        return Fail(kGifNotWritten);
    }
    for (const GifFrame& f : gif.frames) {
        const bool hasPalette = !f.localPalette.empty() || !gif.globalPalette.empty();
        if (f.width <= 0 || f.height <= 0 || f.left < 0 || f.top < 0 || f.left > 65535 ||
            f.top > 65535 || f.width > 65535 || f.height > 65535 || !hasPalette ||
            f.indices.size() != std::size_t(f.width) * std::size_t(f.height) ||
            f.localPalette.size() > 256) {
            return Fail(kGifNotWritten);
        }
    }
    if (gif.globalPalette.size() > 256) return Fail(kGifNotWritten);

    std::string out;
    int error = 0;
    std::unique_ptr<GifFileType, EncoderCloser> file(EGifOpen(&out, WriteToString, &error));
    if (!file) return Fail(kGifNotWritten);
    EGifSetGifVersion(file.get(), true);

    MapPtr globalMap;
    if (!gif.globalPalette.empty()) {
        globalMap = MapOf(gif.globalPalette);
        if (!globalMap) return Fail(kGifNotWritten);
    }
    const int background = std::clamp(gif.backgroundIndex, 0, 255);
    if (EGifPutScreenDesc(file.get(), gif.width, gif.height, 8, background, globalMap.get()) ==
        GIF_ERROR) {
        return Fail(kGifNotWritten);
    }
    if (gif.loopCount >= 0) {
        const unsigned char loop[3] = {1, std::uint8_t(gif.loopCount & 0xFF),
                                       std::uint8_t((gif.loopCount >> 8) & 0xFF)};
        if (EGifPutExtensionLeader(file.get(), APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
            EGifPutExtensionBlock(file.get(), 11, "NETSCAPE2.0") == GIF_ERROR ||
            EGifPutExtensionBlock(file.get(), 3, loop) == GIF_ERROR ||
            EGifPutExtensionTrailer(file.get()) == GIF_ERROR) {
            return Fail(kGifNotWritten);
        }
    }

    std::vector<GifPixelType> line;
    for (const GifFrame& f : gif.frames) {
        if (f.hasControl) {
            GraphicsControlBlock control{};
            control.DisposalMode = int(f.disposal);
            control.UserInputFlag = f.userInput;
            control.DelayTime = std::clamp(f.delay, 0, 65535);
            control.TransparentColor =
                f.transparent ? std::clamp(f.transparentIndex, 0, 255) : NO_TRANSPARENT_COLOR;
            GifByteType extension[4];
            const std::size_t length = EGifGCBToExtension(&control, extension);
            if (EGifPutExtension(file.get(), GRAPHICS_EXT_FUNC_CODE, int(length), extension) ==
                GIF_ERROR) {
                return Fail(kGifNotWritten);
            }
        }
        MapPtr localMap;
        if (!f.localPalette.empty()) {
            localMap = MapOf(f.localPalette);
            if (!localMap) return Fail(kGifNotWritten);
        } else if (file->Image.ColorMap != nullptr) {
            // giflib forgets, without freeing it, the previous frame's palette here.
            GifFreeMapObject(file->Image.ColorMap);
            file->Image.ColorMap = nullptr;
        }
        if (EGifPutImageDesc(file.get(), f.left, f.top, f.width, f.height, f.interlaced,
                             localMap.get()) == GIF_ERROR) {
            return Fail(kGifNotWritten);
        }
        std::vector<int> order;
        if (f.interlaced) order = InterlacedOrder(f.height);
        line.resize(f.width);  // giflib masks the line it is given, so it gets a copy
        for (int i = 0; i < f.height; ++i) {
            const int y = f.interlaced ? order[i] : i;
            std::memcpy(line.data(), &f.indices[std::size_t(y) * f.width], f.width);
            if (EGifPutLine(file.get(), line.data(), f.width) == GIF_ERROR) {
                return Fail(kGifNotWritten);
            }
        }
    }
    GifFileType* raw = file.release();
    if (EGifCloseFile(raw, &error) == GIF_ERROR) return Fail(kGifNotWritten);
    return out;
}

Result<std::string> RewriteGifTransparency(std::string_view bytes, bool on,
                                           const DecodeLimits& limits) {
    // The frames are decoded only to learn their lower-left pixels; the file itself is copied
    // block by block, so its compressed data, comments and other extensions stay as they were.
    const Result<Picture> decoded = DecodeGif(bytes, limits);
    if (!decoded) return decoded.failure();
    const std::vector<GifFrame>& frames = decoded->frames;

    std::string out;
    try {
        ByteReader in(bytes);
        out.append(in.Bytes(13));  // signature, version, logical screen descriptor
        const std::uint8_t screenFlags = std::uint8_t(out[10]);
        if (screenFlags & 0x80) out.append(in.Bytes(3u << ((screenFlags & 7) + 1)));
        auto copySubBlocks = [&] {
            for (;;) {
                const std::uint8_t length = in.U8();
                out += char(length);
                if (length == 0) return;
                out.append(in.Bytes(length));
            }
        };

        std::size_t frame = 0;
        std::size_t pendingFlags = std::string::npos;  // where the pending extension keeps them
        bool inserted = false;
        while (!in.AtEnd()) {
            const std::uint8_t introducer = in.U8();
            if (introducer == 0x3B) {  // trailer, and whatever follows it, unchanged
                out += char(introducer);
                out.append(in.Bytes(in.Remaining()));
                break;
            }
            if (introducer == 0x21) {
                const std::uint8_t label = in.U8();
                out += char(introducer);
                out += char(label);
                // As readers do, an extension too short to hold its fields is passed over.
                if (label == 0xF9 && in.Peek() >= 4) pendingFlags = out.size() + 1;
                copySubBlocks();
                continue;
            }
            if (introducer != 0x2C) throw ParseError("unknown block");
            if (frame >= frames.size()) throw ParseError("frame not decoded");
            const GifFrame& f = frames[frame++];
            const bool takesLowerLeft = on && f.height >= 2 && f.width >= 1;
            const std::uint8_t lowerLeft = takesLowerLeft ? f.IndexAt(0, f.height - 1) : 0;
            if (pendingFlags != std::string::npos) {
                char& flags = out[pendingFlags];
                flags = on ? char(flags | 1) : char(flags & ~1);
                if (takesLowerLeft) out[pendingFlags + 3] = char(lowerLeft);
            } else if (on) {
                const char extension[8] = {0x21, char(0xF9), 4, 1, 0, 0, char(lowerLeft), 0};
                out.append(extension, 8);
                inserted = true;
            }
            pendingFlags = std::string::npos;
            out += char(introducer);
            out.append(in.Bytes(8));  // left, top, width, height
            const std::uint8_t flags = in.U8();
            out += char(flags);
            if (flags & 0x80) out.append(in.Bytes(3u << ((flags & 7) + 1)));
            out += char(in.U8());  // minimum code size
            copySubBlocks();
        }
        if (inserted) out.replace(3, 3, "89a");  // extensions need the later version
    } catch (const ParseError&) {
        return Fail(kInvalidGif);
    }
    return out;
}

Result<std::string> BitmapToGif(const Bitmap& bitmap, bool transparent) {
    Result<IndexedBitmap> reduced = ReduceColours(bitmap);
    if (!reduced) return reduced.failure();
    Picture gif;
    gif.format = PictureFormat::Gif;
    gif.width = reduced->width;
    gif.height = reduced->height;
    gif.globalPalette = std::move(reduced->palette);
    GifFrame frame;
    frame.width = gif.width;
    frame.height = gif.height;
    frame.indices = std::move(reduced->indices);
    if (transparent) {
        frame.hasControl = true;
        frame.transparent = true;
        frame.transparentIndex = frame.height >= 2 ? frame.IndexAt(0, frame.height - 1) : 0;
    }
    gif.frames.push_back(std::move(frame));
    return EncodeGif(gif);
}

}  // namespace orvo

// Windows and OS/2 bitmap files. Every read goes through ByteReader, so a short or lying file
// ends in ParseError, which becomes the failure "Immagine BMP non valida".
#include "picture/BmpReader.h"

#include <algorithm>
#include <bit>
#include <climits>

#include "base/ByteReader.h"

namespace orvo {

namespace {

const char kInvalidBmp[] = "Immagine BMP non valida";
const char kBmpTooLarge[] = "Immagine BMP troppo grande";

enum Compression : std::uint32_t {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitFields = 3,
    kAlphaBitFields = 6
};

// One colour channel of a bit-field pixel, scaled to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (mask == 0) return;
        shift = std::countr_zero(mask);
        max = mask >> shift;
    }
    std::uint8_t Of(std::uint32_t pixel) const {
        if (max == 0) return 0;
        const std::uint64_t v = (pixel & mask) >> shift;
        return std::uint8_t(v * 255 / max);
    }
};

struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0;  // positive: rows bottom-up
    bool topDown = false;
    int bits = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t colourCount = 0;
    Channel red, green, blue, alpha;
    bool core = false;  // OS/2 1.x: 3-byte palette entries
};

class Decoder {
public:
    Decoder(std::string_view bytes, const DecodeLimits& limits) : in_(bytes), limits_(limits) {}

    Result<Picture> Run() {
        if (in_.Bytes(2) != "BM") throw ParseError("signature");
        in_.Skip(8);  // file size, reserved
        const std::uint32_t dataOffset = in_.U32();
        ReadHeader();
        if (header_.width <= 0 || header_.height <= 0) throw ParseError("size");
        if (header_.width > limits_.maxSide || header_.height > limits_.maxSide ||
            header_.width * header_.height > limits_.maxPixels) {
            return Fail(kBmpTooLarge);
        }
        ReadPalette();

        Picture picture;
        picture.format = PictureFormat::Bmp;
        picture.width = int(header_.width);
        picture.height = int(header_.height);
        picture.pixels = Bitmap(picture.width, picture.height);
        in_.Seek(dataOffset);
        if (header_.compression == kRle8 || header_.compression == kRle4) {
            DecodeRle(picture.pixels);
        } else {
            DecodeRows(picture.pixels);
        }
        return picture;
    }

private:
    void ReadHeader() {
        const std::uint32_t size = in_.U32();
        if (size == 12) {
            header_.core = true;
            header_.width = in_.U16();
            header_.height = in_.U16();
            in_.Skip(2);  // planes
            header_.bits = in_.U16();
        } else if (size >= 40 && size <= 4096) {
            header_.width = in_.I32();
            const std::int32_t height = in_.I32();
            if (height == INT32_MIN) throw ParseError("height");
            header_.topDown = height < 0;
            header_.height = height < 0 ? -std::int64_t(height) : height;
            in_.Skip(2);  // planes
            header_.bits = in_.U16();
            header_.compression = in_.U32();
            in_.Skip(12);  // image size, resolution
            header_.colourCount = in_.U32();
            in_.Skip(4);  // important colours
            const bool fields =
                header_.compression == kBitFields || header_.compression == kAlphaBitFields;
            if (size >= 52 || fields) {
                // The masks are inside a longer header, or follow a 40-byte one.
                header_.red = Channel(in_.U32());
                header_.green = Channel(in_.U32());
                header_.blue = Channel(in_.U32());
                if (size >= 56 || header_.compression == kAlphaBitFields) {
                    header_.alpha = Channel(in_.U32());
                }
            }
            in_.Seek(
                14 + std::size_t(size) +
                (size < 52 && fields ? (header_.compression == kAlphaBitFields ? 16 : 12) : 0));
        } else {
            throw ParseError("header size");
        }

        const int b = header_.bits;
        switch (header_.compression) {
            case kRgb:
                if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) {
                    throw ParseError("depth");
                }
                if (b == 16) {
                    header_.red = Channel(0x7C00), header_.green = Channel(0x03E0);
                    header_.blue = Channel(0x001F), header_.alpha = Channel(0);
                } else if (b == 32) {
                    header_.red = Channel(0xFF0000), header_.green = Channel(0xFF00);
                    header_.blue = Channel(0xFF), header_.alpha = Channel(0);
                }
                break;
            case kRle8:
                if (b != 8 || header_.topDown) throw ParseError("rle8");
                break;
            case kRle4:
                if (b != 4 || header_.topDown) throw ParseError("rle4");
                break;
            case kBitFields:
            case kAlphaBitFields:
                if (b != 16 && b != 32) throw ParseError("bit fields");
                break;
            default:
                throw ParseError("compression");
        }
    }

    void ReadPalette() {
        if (header_.bits > 8) return;
        const std::uint32_t full = 1u << header_.bits;
        const std::uint32_t count =
            header_.colourCount == 0 ? full : std::min(header_.colourCount, full);
        palette_.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint8_t blue = in_.U8(), green = in_.U8(), red = in_.U8();
            if (!header_.core) in_.Skip(1);
            palette_.push_back({red, green, blue});
        }
    }

    Rgb Colour(std::uint32_t index) const {
        return index < palette_.size() ? palette_[index] : Rgb{};
    }

    int RowY(std::int64_t stored) const {
        return int(header_.topDown ? stored : header_.height - 1 - stored);
    }

    void DecodeRows(Bitmap& pixels) {
        const int width = pixels.width, height = pixels.height, bits = header_.bits;
        const std::size_t rowBytes = (std::size_t(width) * bits + 7) / 8;
        const std::size_t stride = (std::size_t(width) * bits + 31) / 32 * 4;
        bool anyAlpha = false;
        for (int stored = 0; stored < height; ++stored) {
            const std::size_t start = in_.Position();
            // The last row's padding may be missing.
            const auto* row = reinterpret_cast<const unsigned char*>(in_.Bytes(rowBytes).data());
            const int y = RowY(stored);
            for (int x = 0; x < width; ++x) {
                switch (bits) {
                    case 1:
                        pixels.Set(x, y, Colour((row[x / 8] >> (7 - x % 8)) & 1));
                        break;
                    case 4:
                        pixels.Set(x, y, Colour((row[x / 2] >> (x % 2 ? 0 : 4)) & 15));
                        break;
                    case 8:
                        pixels.Set(x, y, Colour(row[x]));
                        break;
                    case 24:
                        pixels.Set(x, y, {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
                        break;
                    case 16:
                    case 32: {
                        const unsigned char* p = row + std::size_t(x) * (bits / 8);
                        std::uint32_t v = p[0] | (p[1] << 8);
                        if (bits == 32)
                            v |= (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
                        const std::uint8_t a = header_.alpha.mask ? header_.alpha.Of(v) : 255;
                        anyAlpha = anyAlpha || a != 0;
                        pixels.Set(x, y,
                                   {header_.red.Of(v), header_.green.Of(v), header_.blue.Of(v)}, a);
                        break;
                    }
                }
            }
            if (stored + 1 < height) in_.Seek(start + stride);
        }
        // An alpha channel that is zero everywhere was never meant: such files are opaque.
        if (header_.alpha.mask && !anyAlpha) {
            for (std::size_t i = 3; i < pixels.rgba.size(); i += 4) pixels.rgba[i] = 255;
        }
    }

    void DecodeRle(Bitmap& pixels) {
        const int width = pixels.width, height = pixels.height;
        const bool four = header_.compression == kRle4;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) pixels.Set(x, y, Colour(0));
        }
        std::int64_t x = 0, stored = 0;
        auto put = [&](std::uint32_t index) {
            if (x < width && stored < height) pixels.Set(int(x), RowY(stored), Colour(index));
            ++x;
        };
        while (!in_.AtEnd() && stored < height) {
            const std::uint8_t count = in_.U8(), value = in_.U8();
            if (count > 0) {
                for (int i = 0; i < count; ++i) {
                    put(four ? (i % 2 ? value & 15 : value >> 4) : value);
                }
                continue;
            }
            if (value == 0) {  // end of line
                x = 0;
                ++stored;
            } else if (value == 1) {  // end of bitmap
                break;
            } else if (value == 2) {  // delta
                x += in_.U8();
                stored += in_.U8();
            } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
                const std::size_t bytes = four ? (value + 1) / 2 : value;
                const std::string_view run = in_.Bytes(bytes);
                for (int i = 0; i < value; ++i) {
                    const std::uint8_t b = std::uint8_t(run[four ? i / 2 : i]);
                    put(four ? (i % 2 ? b & 15 : b >> 4) : b);
                }
                if (bytes % 2) in_.Skip(1);
            }
        }
    }

    ByteReader in_;
    const DecodeLimits& limits_;
    Header header_;
    Palette palette_;
};

}  // namespace

Result<Picture> DecodeBmp(std::string_view bytes, const DecodeLimits& limits) {
    try {
        return Decoder(bytes, limits).Run();
    } catch (const ParseError&) {
        return Fail(kInvalidBmp);
    }
}

}  // namespace orvo

// Bitmaps inside Windows metafiles. Reading walks the records with ByteReader, so a short or
// lying file ends in a failure; a DIB found is decoded by the BMP reader behind a file header
// made for it.
#include "picture/WmfBitmap.h"

#include <algorithm>

#include "base/ByteReader.h"
#include "picture/BmpReader.h"

namespace orvo {

namespace {

constexpr std::string_view kInvalidWmf = "Metafile non valido";

constexpr std::uint16_t kEof = 0x0000;
constexpr std::uint16_t kSetWindowOrg = 0x020B;
constexpr std::uint16_t kSetWindowExt = 0x020C;
constexpr std::uint16_t kSetMapMode = 0x0103;
constexpr std::uint16_t kStretchDib = 0x0F43;
constexpr std::uint16_t kDibStretchBlt = 0x0B41;
constexpr std::uint16_t kDibBitBlt = 0x0940;
constexpr std::uint16_t kSetDibToDev = 0x0D33;
constexpr std::uint32_t kSrcCopy = 0x00CC0020u;
constexpr std::uint16_t kAnisotropic = 8;
constexpr int kMaxRecords = 1000000;

std::uint8_t OverWhite(std::uint8_t value, std::uint8_t alpha) {
    return std::uint8_t((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

std::int16_t Clamp16(int v) {
    return std::int16_t(std::clamp(v, 1, 32767));
}

// Where the DIB starts inside a record, counted from the record's start; 0 for records that
// hold none.
std::size_t DibOffset(std::uint16_t function) {
    switch (function) {
        case kStretchDib:
            return 6 + 4 + 2 + 16;
        case kDibStretchBlt:
            return 6 + 4 + 16;
        case kDibBitBlt:
            return 6 + 4 + 12;
        case kSetDibToDev:
            return 6 + 2 + 16;
        default:
            return 0;
    }
}

// A DIB as a ".bmp" file: the file header says where the pixels start, after the info header,
// the colour masks and the palette.
std::string AsBmpFile(std::string_view dib) {
    ByteReader in(dib);
    const std::uint32_t headerSize = in.U32();
    if (headerSize != 12 && headerSize < 40) throw ParseError("dib header");
    std::uint32_t bits = 0, compression = 0, used = 0;
    std::size_t entrySize = 4;
    if (headerSize == 12) {
        in.Skip(6);
        bits = in.U16();
        entrySize = 3;
    } else {
        in.Skip(10);
        bits = in.U16();
        compression = in.U32();
        in.Skip(12);
        used = in.U32();
    }
    std::uint64_t masks = 0;
    if (headerSize == 40 && compression == 3) masks = 12;
    if (headerSize == 40 && compression == 6) masks = 16;
    std::uint64_t entries = used;
    if (bits <= 8 && entries == 0) entries = std::uint64_t(1) << bits;
    if (entries > 256 && bits <= 8) entries = 256;
    const std::uint64_t offset = 14 + headerSize + masks + entries * entrySize;
    if (offset > dib.size() + 14) throw ParseError("dib palette");
    std::string file;
    ByteWriter out(file);
    out.Bytes("BM");
    out.U32(std::uint32_t(14 + dib.size()));
    out.U32(0);
    out.U32(std::uint32_t(offset));
    out.Bytes(dib);
    return file;
}

}  // namespace

bool IsPlaceableWmf(std::string_view bytes) {
    if (bytes.size() < 4) return false;
    ByteReader in(bytes);
    return in.U32() == kWmfPlaceableKey;
}

std::string EncodeDib(const Bitmap& bitmap) {
    const int w = std::max(bitmap.width, 0), h = std::max(bitmap.height, 0);
    const std::size_t stride = (std::size_t(w) * 3 + 3) & ~std::size_t(3);
    std::string dib;
    dib.reserve(40 + stride * std::size_t(h));
    ByteWriter out(dib);
    out.U32(40);
    out.I32(w);
    out.I32(h);
    out.U16(1);
    out.U16(24);
    out.U32(0);  // no compression
    out.U32(std::uint32_t(stride * std::size_t(h)));
    out.I32(2835);  // 72 dots per inch
    out.I32(2835);
    out.U32(0);
    out.U32(0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = bitmap.At(x, y);
            out.U8(OverWhite(p[2], p[3]));
            out.U8(OverWhite(p[1], p[3]));
            out.U8(OverWhite(p[0], p[3]));
        }
        for (std::size_t pad = std::size_t(w) * 3; pad < stride; ++pad) out.U8(0);
    }
    return dib;
}

std::string EncodeBmpFile(const Bitmap& bitmap) {
    const std::string dib = EncodeDib(bitmap);
    std::string file;
    ByteWriter out(file);
    out.Bytes("BM");
    out.U32(std::uint32_t(14 + dib.size()));
    out.U32(0);
    out.U32(14 + 40);
    out.Bytes(dib);
    return file;
}

std::string WriteBitmapWmf(const Bitmap& bitmap, int width, int height, int unitsPerInch) {
    const std::int16_t w = Clamp16(width), h = Clamp16(height);
    const std::string dib = EncodeDib(bitmap);
    const std::uint32_t dibWords = std::uint32_t((dib.size() + 1) / 2);
    const std::uint32_t stretchWords = 3 + 2 + 1 + 8 + dibWords;

    std::string records;
    ByteWriter r(records);
    r.U32(4);
    r.U16(kSetMapMode);
    r.U16(kAnisotropic);
    r.U32(5);
    r.U16(kSetWindowOrg);
    r.I16(0);
    r.I16(0);
    r.U32(5);
    r.U16(kSetWindowExt);
    r.I16(h);
    r.I16(w);
    r.U32(stretchWords);
    r.U16(kStretchDib);
    r.U32(kSrcCopy);
    r.U16(0);  // colours are RGB values
    r.I16(std::int16_t(std::clamp(bitmap.height, 0, 32767)));
    r.I16(std::int16_t(std::clamp(bitmap.width, 0, 32767)));
    r.I16(0);
    r.I16(0);
    r.I16(h);
    r.I16(w);
    r.I16(0);
    r.I16(0);
    r.Bytes(dib);
    if (dib.size() % 2) r.U8(0);
    r.U32(3);
    r.U16(kEof);

    std::string out;
    ByteWriter o(out);
    // The placeable header and its checksum, the XOR of its first ten words.
    std::string placeable;
    ByteWriter p(placeable);
    p.U32(kWmfPlaceableKey);
    p.U16(0);
    p.I16(0);
    p.I16(0);
    p.I16(w);
    p.I16(h);
    p.U16(std::uint16_t(std::clamp(unitsPerInch, 1, 65535)));
    p.U32(0);
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i + 1 < placeable.size(); i += 2)
        checksum ^=
            std::uint16_t(std::uint8_t(placeable[i]) | (std::uint8_t(placeable[i + 1]) << 8));
    p.U16(checksum);
    o.Bytes(placeable);
    const std::uint32_t totalWords = 9 + std::uint32_t(records.size() / 2);
    o.U16(1);  // in memory
    o.U16(9);
    o.U16(0x0300);
    o.U32(totalWords);
    o.U16(0);  // no objects
    o.U32(std::max<std::uint32_t>(stretchWords, 5));
    o.U16(0);
    o.Bytes(records);
    return out;
}

Result<Bitmap> ReadWmfBitmap(std::string_view wmf, const DecodeLimits& limits) {
    try {
        ByteReader in(wmf);
        if (IsPlaceableWmf(wmf)) in.Seek(kPlaceableHeaderSize);
        const std::size_t headerStart = in.Position();
        const std::uint16_t type = in.U16(), headerWords = in.U16(), version = in.U16();
        if ((type != 1 && type != 2) || headerWords != 9 ||
            (version != 0x0100 && version != 0x0300))
            return Fail(std::string(kInvalidWmf));
        in.Seek(headerStart + 18);
        for (int n = 0; n < kMaxRecords && in.Remaining() >= 6; ++n) {
            const std::size_t start = in.Position();
            const std::uint32_t words = in.U32();
            const std::uint16_t function = in.U16();
            if (function == kEof) break;
            if (words < 3 || std::uint64_t(words) * 2 > in.Size() - start)
                return Fail(std::string(kInvalidWmf));
            const std::size_t length = std::size_t(words) * 2;
            const std::size_t at = DibOffset(function);
            if (at != 0 && length >= at + 12) {
                const std::string_view dib = wmf.substr(start + at, length - at);
                Result<Picture> picture = DecodeBmp(AsBmpFile(dib), limits);
                if (!picture) return Fail(picture.failure().text);
                return std::move(picture->pixels);
            }
            in.Seek(start + length);
        }
        return Fail(std::string(kWmfWithoutBitmap));
    } catch (const ParseError&) {
        return Fail(std::string(kInvalidWmf));
    }
}

}  // namespace orvo

// WMF and EMF metafiles: their headers say how big they are; nothing here draws them.
#include "picture/Metafile.h"

#include <algorithm>
#include <cstdlib>

#include "base/ByteReader.h"

namespace orvo {

namespace {

const char kInvalidMetafile[] = "Metafile non valido";

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr std::uint16_t kSetWindowExt = 0x020C;
constexpr int kMaxRecords = 100000;

int Pixels(std::int64_t length, std::int64_t unitsPerInch, int pixelsPerInch, int maxSide) {
    const std::int64_t value =
        (std::llabs(length) * pixelsPerInch + unitsPerInch / 2) / unitsPerInch;
    return int(std::clamp<std::int64_t>(value, 1, maxSide));
}

// The 18-byte header that every WMF has (after the placeable header, when there is one).
void CheckWmfHeader(ByteReader& in) {
    const std::uint16_t type = in.U16(), headerWords = in.U16(), version = in.U16();
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300)) {
        throw ParseError("wmf header");
    }
    in.Skip(12);  // size, objects, largest record, parameters
}

}  // namespace

Result<Picture> DecodeMetafile(std::string_view bytes, const DecodeLimits& limits) {
    Picture picture;
    picture.format = PictureFormat::Wmf;
    try {
        ByteReader in(bytes);
        const std::uint32_t first = in.U32();
        if (first == kPlaceableKey) {
            in.Skip(2);  // handle
            const std::int16_t left = in.I16(), top = in.I16(), right = in.I16(), bottom = in.I16();
            const std::uint16_t unitsPerInch = in.U16();
            in.Skip(6);  // reserved, checksum
            if (unitsPerInch == 0) throw ParseError("units");
            CheckWmfHeader(in);
            picture.width =
                Pixels(right - left, unitsPerInch, limits.pixelsPerInch, limits.maxSide);
            picture.height =
                Pixels(bottom - top, unitsPerInch, limits.pixelsPerInch, limits.maxSide);
        } else if (first == 1 && bytes.size() >= 88 && bytes.substr(40, 4) == " EMF") {
            picture.format = PictureFormat::Emf;
            in.Seek(24);  // the frame, in 0.01 mm
            const std::int64_t left = in.I32(), top = in.I32(), right = in.I32(), bottom = in.I32();
            picture.width = Pixels(right - left, 2540, limits.pixelsPerInch, limits.maxSide);
            picture.height = Pixels(bottom - top, 2540, limits.pixelsPerInch, limits.maxSide);
        } else {
            // A plain WMF says its size only through the window extent its records set.
            in.Seek(0);
            CheckWmfHeader(in);
            bool found = false;
            for (int n = 0; n < kMaxRecords && !in.AtEnd() && !found; ++n) {
                const std::size_t start = in.Position();
                const std::uint32_t words = in.U32();
                const std::uint16_t function = in.U16();
                if (function == 0 || words < 3) break;
                if (function == kSetWindowExt && words >= 5) {
                    const std::int16_t height = in.I16(), width = in.I16();
                    if (width != 0 && height != 0) {
                        picture.width = Pixels(width, 1, 1, limits.maxSide);
                        picture.height = Pixels(height, 1, 1, limits.maxSide);
                        found = true;
                    }
                }
                if (std::uint64_t(words) * 2 > in.Size() - start) break;
                in.Seek(start + std::size_t(words) * 2);
            }
            if (!found) throw ParseError("no extent");
        }
    } catch (const ParseError&) {
        return Fail(kInvalidMetafile);
    }
    picture.metafileBytes = std::string(bytes);
    return picture;
}

}  // namespace orvo

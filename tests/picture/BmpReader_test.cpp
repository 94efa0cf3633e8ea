// Bitmap files of every common depth and compression, built here and read by PIL and by us.
#include <gtest/gtest.h>

#include <chrono>

#include "PictureSupport.h"
#include "base/ByteReader.h"
#include "picture/BmpReader.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using test::TestDir;

struct BmpSpec {
    const char* name;
    int bits;
    std::uint32_t compression = 0;  // 0 rgb, 1 rle8, 2 rle4, 3 bit fields
    int headerSize = 40;
    bool topDown = false;
    std::uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    bool delta = false;                     // RLE: the second stored row skipped with a delta
    int encodedRun = 6;  // RLE: pixels written as runs before one absolute run ends the row
};

constexpr int kWidth = 13, kHeight = 7;

// The colour index of pixel (x, y) in the pictures below.
int IndexAt(int x, int y, int colours) {
    return (x * 3 + y * 5 + x * y) % colours;
}

Rgb PaletteColour(int i) {
    return {std::uint8_t(i * 37 % 256), std::uint8_t(255 - i * 11 % 256),
            std::uint8_t(i * 73 % 256)};
}

std::uint32_t PixelValue(int x, int y) {
    return std::uint32_t(x * 0x1357 + y * 0x24681) + std::uint32_t(x * y) * 0x0B000091u;
}

void PutRow(std::string& out, const BmpSpec& s, int y) {
    std::string row;
    ByteWriter w(row);
    const int colours = 1 << std::min(s.bits, 8);
    if (s.bits <= 8) {
        int acc = 0, filled = 0;
        for (int x = 0; x < kWidth; ++x) {
            acc = (acc << s.bits) | IndexAt(x, y, colours);
            filled += s.bits;
            if (filled == 8) w.U8(std::uint8_t(acc)), acc = 0, filled = 0;
        }
        if (filled) w.U8(std::uint8_t(acc << (8 - filled)));
    } else {
        for (int x = 0; x < kWidth; ++x) {
            const std::uint32_t v = PixelValue(x, y);
            if (s.bits == 16) w.U16(std::uint16_t(v));
            if (s.bits == 24) w.U8(v & 255), w.U8((v >> 8) & 255), w.U8((v >> 16) & 255);
            if (s.bits == 32) w.U32(v);
        }
    }
    while (row.size() % 4) row += '\0';
    out += row;
}

// RLE rows: the first half of each row as encoded runs, the rest as one absolute run; with
// `delta` the second stored row is skipped by a delta, so that its pixels stay colour 0.
void PutRle(std::string& out, const BmpSpec& s) {
    ByteWriter w(out);
    const bool four = s.bits == 4;
    const int colours = four ? 16 : 256;
    for (int stored = 0; stored < kHeight; ++stored) {
        const int y = kHeight - 1 - stored;
        if (stored == 1 && s.delta) {  // skip the second stored row with a delta
            w.U8(0), w.U8(2), w.U8(0), w.U8(1);
            continue;
        }
        const int half = s.encodedRun;
        for (int x = 0; x < half; ++x) {
            if (four) {
                w.U8(1), w.U8(std::uint8_t(IndexAt(x, y, colours) << 4));
            } else {
                w.U8(1), w.U8(std::uint8_t(IndexAt(x, y, colours)));
            }
        }
        const int rest = kWidth - half;  // 7 pixels, absolute
        w.U8(0), w.U8(std::uint8_t(rest));
        std::string run;
        for (int x = half; x < kWidth; ++x) {
            const int v = IndexAt(x, y, colours);
            if (!four) {
                run += char(v);
            } else if ((x - half) % 2 == 0) {
                run += char(v << 4);
            } else {
                run.back() = char(run.back() | v);
            }
        }
        out += run;
        if (run.size() % 2) out += '\0';
        w.U8(0), w.U8(0);  // end of line
    }
    w.U8(0), w.U8(1);  // end of bitmap
}

std::string BuildBmp(const BmpSpec& s) {
    const bool fields = s.compression == 3;
    const int paletteCount = s.bits <= 8 ? 1 << s.bits : 0;
    const int entry = s.headerSize == 12 ? 3 : 4;
    const int extraMasks = fields && s.headerSize == 40 ? 12 : 0;
    const std::uint32_t dataOffset = 14 + s.headerSize + extraMasks + paletteCount * entry;

    std::string pixels;
    if (s.compression == 1 || s.compression == 2) {
        PutRle(pixels, s);
    } else {
        for (int stored = 0; stored < kHeight; ++stored) {
            PutRow(pixels, s, s.topDown ? stored : kHeight - 1 - stored);
        }
    }

    std::string out = "BM";
    ByteWriter w(out);
    w.U32(dataOffset + std::uint32_t(pixels.size()));
    w.U32(0);
    w.U32(dataOffset);
    w.U32(std::uint32_t(s.headerSize));
    if (s.headerSize == 12) {
        w.U16(kWidth), w.U16(kHeight), w.U16(1), w.U16(std::uint16_t(s.bits));
    } else {
        w.I32(kWidth), w.I32(s.topDown ? -kHeight : kHeight), w.U16(1),
            w.U16(std::uint16_t(s.bits));
        w.U32(s.compression), w.U32(std::uint32_t(pixels.size())), w.I32(2835), w.I32(2835);
        w.U32(0), w.U32(0);
        if (s.headerSize > 40 || fields) {
            w.U32(s.masks[0]), w.U32(s.masks[1]), w.U32(s.masks[2]);
            if (s.headerSize > 40) w.U32(s.masks[3]);
        }
        while (out.size() < 14u + s.headerSize + extraMasks) out += '\0';
    }
    for (int i = 0; i < paletteCount; ++i) {
        const Rgb c = PaletteColour(i);
        w.U8(c.b), w.U8(c.g), w.U8(c.r);
        if (entry == 4) w.U8(0);
    }
    EXPECT_EQ(out.size(), dataOffset);
    return out + pixels;
}

class BmpDepths : public ::testing::TestWithParam<BmpSpec> {};

TEST_P(BmpDepths, DecodeLikePil) {
    const BmpSpec& s = GetParam();
    const std::string bytes = BuildBmp(s);
    const auto path = TestDir() / (std::string(s.name) + ".bmp");
    test::WriteFile(path, bytes);
    Result<Picture> ours = DecodeBmp(bytes);
    ASSERT_TRUE(ours.ok()) << ours.failure().text;
    EXPECT_EQ(ours->width, kWidth);
    EXPECT_EQ(ours->height, kHeight);
    const Bitmap theirs = test::PilPixels(path);
    EXPECT_EQ(test::MaxChannelDifference(ours->pixels, theirs), 0);
    if (s.bits <= 8 && s.compression == 0) {  // our own expectation, not only PIL's
        const int colours = 1 << s.bits;
        EXPECT_EQ(ours->pixels.ColourAt(5, 2), PaletteColour(IndexAt(5, 2, colours)));
        EXPECT_EQ(ours->pixels.ColourAt(12, 6), PaletteColour(IndexAt(12, 6, colours)));
    }
}

// PIL 9.4 misreads RLE deltas (it takes four bytes) and drops the last pixel of an odd absolute
// RLE4 run, so those are checked here against the pattern itself.
TEST(BmpRle, ADeltaSkipsPixelsWhichKeepColourZero) {
    for (std::uint32_t compression : {1u, 2u}) {
        const int bits = compression == 1 ? 8 : 4;
        BmpSpec plain{"Plain", bits, compression};
        BmpSpec skipping = plain;
        skipping.delta = true;
        Result<Picture> a = DecodeBmp(BuildBmp(plain)), b = DecodeBmp(BuildBmp(skipping));
        ASSERT_TRUE(a.ok() && b.ok());
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (y == kHeight - 2) {
                    EXPECT_EQ(b->pixels.ColourAt(x, y), PaletteColour(0));
                } else {
                    EXPECT_EQ(b->pixels.ColourAt(x, y), a->pixels.ColourAt(x, y));
                }
            }
        }
        for (int y = 0; y < kHeight; ++y) {  // the odd absolute run ends at x = 12
            EXPECT_EQ(a->pixels.ColourAt(12, y), PaletteColour(IndexAt(12, y, 1 << bits)));
            EXPECT_EQ(a->pixels.ColourAt(2, y), PaletteColour(IndexAt(2, y, 1 << bits)));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, BmpDepths,
    ::testing::Values(BmpSpec{"Mono", 1}, BmpSpec{"Sixteen", 4}, BmpSpec{"Palette", 8},
                      BmpSpec{"TopDown", 8, 0, 40, true}, BmpSpec{"Os2", 8, 0, 12},
                      BmpSpec{"Rgb555", 16}, BmpSpec{"Rgb24", 24}, BmpSpec{"Rgb32", 32},
                      BmpSpec{"Rle8", 8, 1}, BmpSpec{"Rle4", 4, 2, 40, false, {}, false, 5},
                      BmpSpec{"Fields565", 16, 3, 40, false, {0xF800, 0x07E0, 0x001F, 0}},
                      BmpSpec{"Fields32", 32, 3, 40, false, {0xFF0000, 0xFF00, 0xFF, 0}},
                      BmpSpec{"V5Header", 24, 0, 124}, BmpSpec{"V4TopDown24", 24, 0, 108, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BmpAlpha, AChannelOfZerosIsOpaqueAndARealOneIsKept) {
    BmpSpec s{"Alpha", 32, 3, 124, false, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}};
    std::string bytes = BuildBmp(s);
    // PixelValue puts varying top bytes in: a real alpha channel.
    Result<Picture> withAlpha = DecodeBmp(bytes);
    ASSERT_TRUE(withAlpha.ok());
    const std::uint32_t v = PixelValue(4, kHeight - 1);
    EXPECT_EQ(withAlpha->pixels.At(4, kHeight - 1)[3], std::uint8_t(v >> 24));
    // The same file with every alpha byte 0.
    const std::size_t data = bytes.size() - std::size_t(kWidth) * kHeight * 4;
    for (std::size_t i = data + 3; i < bytes.size(); i += 4) bytes[i] = 0;
    Result<Picture> zeros = DecodeBmp(bytes);
    ASSERT_TRUE(zeros.ok());
    EXPECT_EQ(zeros->pixels.At(4, 2)[3], 255);
}

TEST(BmpHostile, LyingHeadersFailWithoutReadingOutside) {
    const std::string good = BuildBmp(BmpSpec{"Palette", 8});
    auto patched = [&](std::size_t at, std::initializer_list<int> bytes) {
        std::string b = good;
        std::size_t i = at;
        for (int v : bytes) b[i++] = char(v);
        return b;
    };
    EXPECT_TRUE(DecodeBmp(good).ok());
    EXPECT_FALSE(DecodeBmp(good.substr(0, good.size() - 20)).ok());       // rows missing
    EXPECT_FALSE(DecodeBmp(good.substr(0, 60)).ok());                     // palette cut
    EXPECT_FALSE(DecodeBmp(patched(10, {0xFF, 0xFF, 0xFF, 0x7F})).ok());  // data offset
    EXPECT_FALSE(DecodeBmp(patched(14, {200, 0, 0, 0})).ok());            // header size
    EXPECT_FALSE(DecodeBmp(patched(18, {0, 0, 0, 0})).ok());              // width 0
    EXPECT_FALSE(DecodeBmp(patched(22, {0, 0, 0, 0x80})).ok());           // height INT_MIN
    EXPECT_FALSE(DecodeBmp(patched(28, {7, 0})).ok());                    // 7 bits
    EXPECT_FALSE(DecodeBmp(patched(30, {4, 0, 0, 0})).ok());              // embedded JPEG
    EXPECT_FALSE(DecodeBmp(patched(30, {2, 0, 0, 0})).ok());              // RLE4 on an 8-bit bitmap
    EXPECT_FALSE(DecodeBmp("BM").ok());
    EXPECT_FALSE(DecodeBmp("").ok());
    // The last row may lack its padding: 13 bytes of an 8-bit row, padded to 16.
    EXPECT_TRUE(DecodeBmp(good.substr(0, good.size() - 3)).ok());
}

TEST(BmpHostile, HugeSizesAreRefusedBeforeAllocating) {
    const std::string good = BuildBmp(BmpSpec{"Rgb24", 24});
    std::string huge = good;
    huge.replace(18, 8, test::Bytes({0xFF, 0x7F, 0, 0, 0xFF, 0x7F, 0, 0}));  // 32767 × 32767
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(DecodeBmp(huge).ok());
    huge.replace(18, 8, test::Bytes({0, 0, 1, 0, 1, 0, 0, 0}));  // 65536 × 1
    EXPECT_FALSE(DecodeBmp(huge).ok());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    DecodeLimits limits;
    limits.maxPixels = kWidth * kHeight - 1;
    EXPECT_FALSE(DecodeBmp(good, limits).ok());
}

TEST(BmpHostile, RunLengthDataBeyondTheBitmapIsIgnored) {
    // The first stored row of the RLE8 picture: 6 runs, an absolute run of 7 and its pad, and
    // the end of the line, after the header and the 256-colour palette.
    const std::string whole = BuildBmp(BmpSpec{"Rle8", 8, 1});
    const std::string firstRow = whole.substr(0, 14 + 40 + 1024 + 24);
    ASSERT_EQ(firstRow.substr(firstRow.size() - 2), std::string(2, '\0'));
    const Result<Picture> plain = DecodeBmp(firstRow);
    ASSERT_TRUE(plain.ok());  // a stream without its end-of-bitmap mark keeps what it drew
    // A run of 255 pixels on a 13-pixel row, and deltas far outside the bitmap.
    Result<Picture> p =
        DecodeBmp(firstRow + test::Bytes({255, 3, 0, 2, 255, 255, 0, 2, 255, 255, 200, 4, 0, 1}));
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p->pixels.ColourAt(0, kHeight - 1), plain->pixels.ColourAt(0, kHeight - 1));
    EXPECT_EQ(p->pixels.ColourAt(12, kHeight - 2), PaletteColour(3));  // the long run, cut
    EXPECT_EQ(p->pixels.ColourAt(0, 0), PaletteColour(0));
    // An absolute run cut short is an error.
    EXPECT_FALSE(DecodeBmp(firstRow + test::Bytes({0, 40, 1, 2})).ok());
}

}  // namespace
}  // namespace orvo

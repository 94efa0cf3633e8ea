// Colour reduction and bitmaps written as GIF, checked against PIL.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "PictureSupport.h"
#include "picture/ColourReduction.h"
#include "picture/GifCodec.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

Bitmap Expand(const IndexedBitmap& indexed) {
    Bitmap b(indexed.width, indexed.height);
    for (int y = 0; y < b.height; ++y) {
        for (int x = 0; x < b.width; ++x) {
            b.Set(x, y, indexed.palette.at(indexed.indices[std::size_t(y) * b.width + x]));
        }
    }
    return b;
}

Bitmap DistinctColours(int count) {
    Bitmap b(count, 2);
    for (int x = 0; x < count; ++x) {
        const Rgb c{std::uint8_t(x), std::uint8_t(x * 7), std::uint8_t(255 - x)};
        b.Set(x, 0, c);
        b.Set(x, 1, c);
    }
    return b;
}

TEST(ColourReduction, FewColoursAreKeptExactlyInOrderOfAppearance) {
    const std::vector<Rgb> colours = {{200, 10, 10}, {1, 2, 3}, {250, 250, 250}, {0, 90, 0}};
    const Bitmap bands = test::Bands(9, 5, colours);
    Result<IndexedBitmap> r = ReduceColours(bands);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->palette, colours);
    EXPECT_EQ(test::MaxChannelDifference(Expand(*r), bands), 0);
    Result<IndexedBitmap> full = ReduceColours(DistinctColours(256));
    ASSERT_TRUE(full.ok());
    EXPECT_EQ(full->palette.size(), 256u);
    EXPECT_EQ(test::MaxChannelDifference(Expand(*full), DistinctColours(256)), 0);
}

TEST(ColourReduction, RichBitmapsAreReducedCloseToTheOriginal) {
    const Bitmap source = test::Gradient(120, 80);
    Result<IndexedBitmap> r = ReduceColours(source);
    ASSERT_TRUE(r.ok());
    EXPECT_LE(r->palette.size(), 256u);
    EXPECT_GT(r->palette.size(), 64u);
    const Bitmap back = Expand(*r);  // throws on an index outside the palette
    EXPECT_LT(test::MeanChannelDifference(back, source), 5.0);
    EXPECT_LE(test::MaxChannelDifference(back, source), 32);
    EXPECT_FALSE(ReduceColours(Bitmap()).ok());
}

TEST(ColourReduction, EveryPixelTakesItsNearestPaletteColour) {
    Bitmap noisy = test::Gradient(90, 70);
    unsigned seed = 7;
    for (std::uint8_t& v : noisy.rgba) {
        seed = seed * 1103515245u + 12345u;
        v = std::uint8_t(std::clamp(int(v) + int((seed >> 16) % 41) - 20, 0, 255));
    }
    Result<IndexedBitmap> r = ReduceColours(noisy);
    ASSERT_TRUE(r.ok());
    auto distance = [](const Rgb& c, const std::uint8_t* p) {
        const int dr = c.r - p[0], dg = c.g - p[1], db = c.b - p[2];
        return dr * dr + dg * dg + db * db;
    };
    int wrong = 0;
    for (std::size_t i = 0; i < r->indices.size(); ++i) {
        const std::uint8_t* p = &noisy.rgba[i * 4];
        int best = INT_MAX;
        for (const Rgb& c : r->palette) best = std::min(best, distance(c, p));
        wrong += distance(r->palette.at(r->indices[i]), p) != best;
    }
    EXPECT_EQ(wrong, 0);
}

TEST(BitmapAsGif, PilReadsItWithinTheColourReduction) {
    const Bitmap source = test::Gradient(50, 30);
    Result<std::string> gif = BitmapToGif(source, false);
    ASSERT_TRUE(gif.ok());
    const auto path = test::TestDir() / "converted.gif";
    test::WriteFile(path, *gif);
    const test::PilInfo info = test::PilRead(path);
    EXPECT_EQ(info.format, "GIF");
    EXPECT_EQ(info.width, 50);
    EXPECT_EQ(info.height, 30);
    EXPECT_EQ(info.transparency, -1);
    const Bitmap theirs = test::PilPixels(path);
    EXPECT_LT(test::MeanChannelDifference(theirs, source), 5.0);
    EXPECT_LE(test::MaxChannelDifference(theirs, source), 32);
}

TEST(BitmapAsGif, TransparentTakesTheLowerLeftColour) {
    const std::vector<Rgb> colours = {{9, 9, 9}, {100, 0, 0}, {0, 0, 100}};
    const Bitmap source = test::Bands(6, 4, colours);  // lower-left (0, 3) is colour 6 % 3 = 0
    Result<std::string> gif = BitmapToGif(source, true);
    ASSERT_TRUE(gif.ok());
    Result<Picture> back = DecodeGif(*gif);
    ASSERT_TRUE(back.ok());
    ASSERT_TRUE(back->frames[0].transparent);
    EXPECT_EQ(back->globalPalette.at(back->frames[0].transparentIndex), colours[0]);
    const auto path = test::TestDir() / "transparent.gif";
    test::WriteFile(path, *gif);
    EXPECT_EQ(test::PilRead(path).transparency, back->frames[0].transparentIndex);
}

}  // namespace
}  // namespace orvo

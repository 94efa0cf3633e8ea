// Bitmaps inside WMF files: what the writer puts in them, reading them back, the ".bmp" file,
// hostile metafiles, and libwmf's wmf2svg as an independent reader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "PictureSupport.h"
#include "base/ByteReader.h"
#include "picture/BmpReader.h"
#include "picture/Metafile.h"
#include "picture/WmfBitmap.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::test;

Bitmap Opaque(Bitmap b) {
    for (std::size_t i = 3; i < b.rgba.size(); i += 4) b.rgba[i] = 255;
    return b;
}

TEST(WmfBitmap, RoundTripAndHeader) {
    // An odd width, so every DIB row is padded.
    const Bitmap picture = Opaque(Gradient(7, 5));
    const std::string wmf = WriteBitmapWmf(picture, 14, 10, 96);
    ASSERT_TRUE(IsPlaceableWmf(wmf));
    ByteReader in(wmf);
    EXPECT_EQ(in.U32(), kWmfPlaceableKey);
    EXPECT_EQ(in.U16(), 0);
    EXPECT_EQ(in.I16(), 0);
    EXPECT_EQ(in.I16(), 0);
    EXPECT_EQ(in.I16(), 14);
    EXPECT_EQ(in.I16(), 10);
    EXPECT_EQ(in.U16(), 96);
    in.Skip(4);
    // The checksum is the XOR of the ten words before it.
    std::uint16_t sum = 0;
    ByteReader words(wmf);
    for (int i = 0; i < 10; ++i) sum ^= words.U16();
    EXPECT_EQ(in.U16(), sum);
    // The standard header: in memory, 9 words, version 3, its size in words.
    EXPECT_EQ(in.U16(), 1);
    EXPECT_EQ(in.U16(), 9);
    EXPECT_EQ(in.U16(), 0x0300);
    EXPECT_EQ(in.U32() * 2, wmf.size() - kPlaceableHeaderSize);
    EXPECT_TRUE(wmf.ends_with(std::string("\x03\x00\x00\x00\x00\x00", 6)));

    Result<Bitmap> back = ReadWmfBitmap(wmf);
    ASSERT_TRUE(back) << back.failure().text;
    EXPECT_EQ(MaxChannelDifference(*back, picture), 0);
    // Without its placeable header it is still a WMF with the same bitmap.
    Result<Bitmap> plain = ReadWmfBitmap(std::string_view(wmf).substr(kPlaceableHeaderSize));
    ASSERT_TRUE(plain);
    EXPECT_EQ(MaxChannelDifference(*plain, picture), 0);
    // The metafile reader sizes it by its bounding box.
    Result<Picture> sized = DecodeMetafile(wmf);
    ASSERT_TRUE(sized);
    EXPECT_EQ(sized->width, 14);
    EXPECT_EQ(sized->height, 10);
}

TEST(WmfBitmap, TransparencyOverWhiteAndBmpFiles) {
    Bitmap b(2, 1);
    b.Set(0, 0, {10, 20, 30}, 255);
    b.Set(1, 0, {0, 0, 0}, 0);
    const std::string dib = EncodeDib(b);
    ASSERT_EQ(dib.size(), 40u + 8u);
    EXPECT_EQ(dib.substr(40), std::string("\x1E\x14\x0A\xFF\xFF\xFF\x00\x00", 8));
    // The ".bmp" file is read by our reader and by PIL alike.
    const Bitmap picture = Opaque(Gradient(9, 4));
    const std::string bmp = EncodeBmpFile(picture);
    Result<Picture> ours = DecodeBmp(bmp);
    ASSERT_TRUE(ours);
    EXPECT_EQ(MaxChannelDifference(ours->pixels, picture), 0);
    WriteFile(TestDir() / "g.bmp", bmp);
    EXPECT_EQ(MaxChannelDifference(PilPixels(TestDir() / "g.bmp"), picture), 0);
}

// A WMF by hand: header, one record, EOF.
std::string WmfWith(std::uint16_t function, std::string params) {
    std::string out;
    ByteWriter w(out);
    const std::uint32_t recordWords = std::uint32_t(3 + (params.size() + 1) / 2);
    if (params.size() % 2) params += '\0';
    w.U16(1);
    w.U16(9);
    w.U16(0x0300);
    w.U32(9 + recordWords + 3);
    w.U16(0);
    w.U32(recordWords);
    w.U16(0);
    w.U32(recordWords);
    w.U16(function);
    w.Bytes(params);
    w.U32(3);
    w.U16(0);
    return out;
}

TEST(WmfBitmap, PalettedDibOfABitBltRecord) {
    // DIBBITBLT: raster operation, source y and x, height, width, destination y and x, then
    // an 8-bit DIB of two colours.
    std::string params;
    ByteWriter w(params);
    w.U32(0x00CC0020);
    for (int v : {0, 0, 1, 2, 0, 0}) w.I16(std::int16_t(v));
    w.U32(40);
    w.I32(2);
    w.I32(1);
    w.U16(1);
    w.U16(8);
    w.U32(0);
    w.U32(4);
    w.U32(0);
    w.U32(0);
    w.U32(2);
    w.U32(0);
    w.U32(0x000000FF);  // blue (B, G, R, 0)
    w.U32(0x0000FF00);  // green
    w.Bytes(std::string("\x01\x00\x00\x00", 4));
    Result<Bitmap> b = ReadWmfBitmap(WmfWith(0x0940, params));
    ASSERT_TRUE(b) << b.failure().text;
    ASSERT_EQ(b->width, 2);
    EXPECT_EQ(b->ColourAt(0, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(b->ColourAt(1, 0), (Rgb{0, 0, 255}));
}

TEST(WmfBitmap, HostileMetafiles) {
    EXPECT_EQ(ReadWmfBitmap("").failure().text, "Metafile non valido");
    EXPECT_EQ(ReadWmfBitmap("GIF89a....................").failure().text, "Metafile non valido");
    // A metafile of lines only has no bitmap.
    EXPECT_EQ(ReadWmfBitmap(WmfWith(0x0213, std::string(4, '\0'))).failure().text,
              kWmfWithoutBitmap);
    // A record longer than the file.
    std::string lying = WmfWith(0x0F43, std::string(30, '\0'));
    lying[18] = '\xFF';
    lying[19] = '\x7F';
    EXPECT_EQ(ReadWmfBitmap(lying).failure().text, "Metafile non valido");
    // Every cut of a good file fails cleanly or still finds the whole bitmap.
    const std::string wmf = WriteBitmapWmf(Opaque(Gradient(3, 3)), 3, 3, 96);
    for (std::size_t n = 0; n < wmf.size(); ++n) {
        Result<Bitmap> cut = ReadWmfBitmap(std::string_view(wmf).substr(0, n));
        if (cut) {
            EXPECT_EQ(cut->width, 3);
        }
    }
    // A DIB that claims a huge size is refused by the limits.
    std::string params(28 - 6, '\0');
    ByteWriter w(params);
    w.U32(40);
    w.I32(30000);
    w.I32(30000);
    w.U16(1);
    w.U16(24);
    params += std::string(40, '\0');
    EXPECT_FALSE(ReadWmfBitmap(WmfWith(0x0F43, params)));
}

TEST(WmfBitmap, AcceptedByWmf2svg) {
    // ./test installs wmf2svg (libwmf-bin) and the fonts it loads (fonts-urw-base35).
    ASSERT_EQ(std::system("command -v wmf2svg >/dev/null 2>&1"), 0) << "wmf2svg is missing";
    const Bitmap picture = Opaque(Gradient(16, 8));
    WriteFile(TestDir() / "ours.wmf", WriteBitmapWmf(picture, 32, 16, 96));
    const std::string command =
        "wmf2svg --wmf-ignore-nonfatal -o '" + (TestDir() / "ours.svg").string() + "' '" +
        (TestDir() / "ours.wmf").string() + "' 2>'" + (TestDir() / "wmf2svg.err").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadFile(TestDir() / "wmf2svg.err");
    const std::string svg = ReadFile(TestDir() / "ours.svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    // The bitmap travels as an embedded PNG image over the whole picture.
    EXPECT_NE(svg.find("<svg width=\"32\" height=\"16\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("<image x=\"0.000000\" y=\"0.000000\""), std::string::npos) << svg;
    EXPECT_EQ(ReadFile(TestDir() / "wmf2svg.err"), "");
    // The PNG it wrote for the image holds our pixels, as PIL reads them.
    ASSERT_TRUE(std::filesystem::exists(TestDir() / "ours-1.png"));
    EXPECT_EQ(MaxChannelDifference(PilPixels(TestDir() / "ours-1.png"), picture), 0);
}

}  // namespace
}  // namespace orvo

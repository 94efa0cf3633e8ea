// WMF and EMF headers: recognised, measured, bytes kept.
#include <gtest/gtest.h>

#include "base/ByteReader.h"
#include "picture/Metafile.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

void WmfHeader(std::string& out, std::uint32_t totalWords) {
    ByteWriter w(out);
    w.U16(1), w.U16(9), w.U16(0x0300), w.U32(totalWords), w.U16(0), w.U32(5), w.U16(0);
}

std::string Placeable(std::int16_t right, std::int16_t bottom, std::uint16_t inch) {
    std::string out;
    ByteWriter w(out);
    w.U32(0x9AC6CDD7u), w.U16(0), w.I16(10), w.I16(20), w.I16(right), w.I16(bottom), w.U16(inch);
    w.U32(0);
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < out.size(); i += 2) {
        checksum ^= std::uint16_t(std::uint8_t(out[i]) | (std::uint8_t(out[i + 1]) << 8));
    }
    w.U16(checksum);
    WmfHeader(out, 12);
    w.U32(3), w.U16(0);  // end-of-file record
    return out;
}

std::string Plain(std::int16_t width, std::int16_t height) {
    std::string out;
    ByteWriter w(out);
    WmfHeader(out, 19);
    w.U32(5), w.U16(0x0103), w.U16(8), w.U16(0);           // SetMapMode, padded to 5 words
    w.U32(5), w.U16(0x020C), w.I16(height), w.I16(width);  // SetWindowExt
    w.U32(3), w.U16(0);
    return out;
}

std::string Emf(std::int32_t frameRight, std::int32_t frameBottom) {
    std::string out;
    ByteWriter w(out);
    w.U32(1), w.U32(108);
    w.I32(0), w.I32(0), w.I32(99), w.I32(49);                   // bounds, device pixels
    w.I32(0), w.I32(0), w.I32(frameRight), w.I32(frameBottom);  // frame, 0.01 mm
    w.Bytes(" EMF");
    w.U32(0x10000), w.U32(108), w.U32(1), w.U16(1), w.U16(0), w.U32(0), w.U32(0), w.U32(0);
    w.I32(1920), w.I32(1080), w.I32(508), w.I32(286);
    while (out.size() < 108) out += '\0';
    return out;
}

TEST(Metafiles, PlaceableWmfIsMeasuredByItsBoxAndUnits) {
    const std::string bytes = Placeable(2010, 1020, 1000);  // 2000 × 1000 units, 1000 per inch
    Result<Picture> p = DecodeMetafile(bytes);
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p->format, PictureFormat::Wmf);
    EXPECT_EQ(p->width, 192);
    EXPECT_EQ(p->height, 96);
    EXPECT_EQ(p->metafileBytes, bytes);
    EXPECT_TRUE(p->IsMetafile());
    EXPECT_TRUE(RenderPicture(*p).Empty());
    DecodeLimits limits;
    limits.pixelsPerInch = 120;
    EXPECT_EQ(DecodeMetafile(bytes, limits)->width, 240);
    EXPECT_EQ(DecodePicture(bytes)->format, PictureFormat::Wmf);  // recognised by its key
}

TEST(Metafiles, EmfIsMeasuredByItsFrame) {
    Result<Picture> p = DecodePicture(Emf(2540, 1270));  // 25.4 mm × 12.7 mm
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p->format, PictureFormat::Emf);
    EXPECT_EQ(p->width, 96);
    EXPECT_EQ(p->height, 48);
}

TEST(Metafiles, PlainWmfTakesItsWindowExtent) {
    const std::string bytes = Plain(400, -300);
    Result<Picture> p = DecodePicture(bytes);
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p->width, 400);
    EXPECT_EQ(p->height, 300);
    EXPECT_EQ(p->metafileBytes, bytes);
}

TEST(Metafiles, BrokenOrHostileHeadersAreRefusedOrBounded) {
    EXPECT_FALSE(DecodeMetafile(Placeable(100, 100, 0)).ok());  // no units per inch
    EXPECT_FALSE(DecodeMetafile(Placeable(100, 100, 1000).substr(0, 30)).ok());
    std::string noExtent;
    WmfHeader(noExtent, 12);
    noExtent += test::Bytes({3, 0, 0, 0, 0, 0});
    EXPECT_FALSE(DecodeMetafile(noExtent).ok());
    // A record claiming to be longer than the file ends the scan.
    std::string lying;
    WmfHeader(lying, 12);
    lying += test::Bytes({0xFF, 0xFF, 0xFF, 0x7F, 0x03, 0x01, 8, 0});
    EXPECT_FALSE(DecodeMetafile(lying).ok());
    // Sizes are kept within 1 .. 32767 pixels.
    Result<Picture> huge = DecodeMetafile(Emf(2000000000, 1));
    ASSERT_TRUE(huge.ok());
    EXPECT_EQ(huge->width, 32767);
    EXPECT_EQ(huge->height, 1);
    EXPECT_FALSE(DecodePicture("\x01\x00\x00\x00 not really").ok());
}

}  // namespace
}  // namespace orvo

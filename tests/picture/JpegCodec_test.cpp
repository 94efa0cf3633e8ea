// JPEG writing and reading, checked against PIL.
#include <gtest/gtest.h>

#include <chrono>

#include "PictureSupport.h"
#include "picture/JpegCodec.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using test::TestDir;

std::string EncodeOk(const Bitmap& b, int quality) {
    Result<std::string> r = EncodeJpeg(b, quality);
    EXPECT_TRUE(r.ok());
    return r.ok() ? *r : std::string();
}

Picture DecodeOk(std::string_view bytes, const DecodeLimits& limits = {}) {
    Result<Picture> r = DecodeJpeg(bytes, limits);
    EXPECT_TRUE(r.ok()) << (r.ok() ? "" : r.failure().text);
    return r.ok() ? std::move(*r) : Picture{};
}

TEST(JpegWithPil, OurJpegOpensWithItsSizeAndDecodesAsPilDecodesIt) {
    const auto path = TestDir() / "ours.jpg";
    test::WriteFile(path, EncodeOk(test::Gradient(37, 21), 90));
    const test::PilInfo info = test::PilRead(path);
    EXPECT_EQ(info.format, "JPEG");
    EXPECT_EQ(info.width, 37);
    EXPECT_EQ(info.height, 21);
    EXPECT_EQ(info.mode, "RGB");
    const Picture ours = DecodeOk(test::ReadFile(path));
    EXPECT_EQ(ours.format, PictureFormat::Jpeg);
    EXPECT_EQ(test::MaxChannelDifference(ours.pixels, test::PilPixels(path)), 0);
}

TEST(JpegRoundTrip, QualityDecidesSizeAndFidelity) {
    const Bitmap source = test::Gradient(64, 48);
    const std::string fine = EncodeOk(source, 95), coarse = EncodeOk(source, 10);
    EXPECT_LT(coarse.size(), fine.size());
    EXPECT_LT(test::MeanChannelDifference(DecodeOk(fine).pixels, source), 2.0);
    EXPECT_EQ(EncodeOk(source, -7), EncodeOk(source, 0));  // clamped to 0..100
    EXPECT_EQ(EncodeOk(source, 900), EncodeOk(source, 100));
    const Picture back = DecodeOk(coarse);
    EXPECT_EQ(back.width, 64);
    EXPECT_EQ(back.height, 48);
    EXPECT_EQ(back.pixels.At(10, 10)[3], 255);  // opaque
}

struct PilJpeg {
    const char* name;
    const char* mode;     // PIL mode the picture is made in
    const char* options;  // extra save arguments
    int tolerance;        // largest channel difference allowed against PIL's decoding
};

class JpegFromPil : public ::testing::TestWithParam<PilJpeg> {};

TEST_P(JpegFromPil, DecodesLikePil) {
    const PilJpeg& p = GetParam();
    const auto path = TestDir() / (std::string(p.name) + ".jpg");
    test::RunPython(std::string(R"(
import sys
from PIL import Image
im = Image.new("RGB", (45, 33))
im.putdata([((x * 5) % 256, (y * 7) % 256, (x * y) % 256) for y in range(33) for x in range(45)])
im.convert(sys.argv[2]).save(sys.argv[1], "JPEG", quality=85)") +
                        p.options + ")\n",
                    {path.string(), p.mode});
    const Picture ours = DecodeOk(test::ReadFile(path));
    EXPECT_EQ(ours.width, 45);
    EXPECT_EQ(ours.height, 33);
    EXPECT_LE(test::MaxChannelDifference(ours.pixels, test::PilPixels(path)), p.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Kinds, JpegFromPil,
                         ::testing::Values(PilJpeg{"Baseline", "RGB", "", 0},
                                           PilJpeg{"Progressive", "RGB", ", progressive=True", 0},
                                           PilJpeg{"Greyscale", "L", "", 0},
                                           PilJpeg{"Cmyk", "CMYK", "", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// A real 16 × 8 JPEG whose frame header then claims another size.
std::string WithSize(std::string jpeg, int width, int height) {
    const std::size_t sof = jpeg.find("\xFF\xC0");
    EXPECT_NE(sof, std::string::npos);
    jpeg[sof + 5] = char(height >> 8), jpeg[sof + 6] = char(height & 255);
    jpeg[sof + 7] = char(width >> 8), jpeg[sof + 8] = char(width & 255);
    return jpeg;
}

TEST(JpegHostile, HugeSizesAreRefusedBeforeDecoding) {
    const std::string small = EncodeOk(test::Gradient(16, 8), 50);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(DecodeJpeg(WithSize(small, 65000, 65000)).ok());
    EXPECT_FALSE(DecodeJpeg(WithSize(small, 40000, 1)).ok());  // one side beyond 32767
    DecodeLimits limits;
    limits.maxPixels = 100;
    EXPECT_FALSE(DecodeJpeg(small, limits).ok());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(JpegHostile, TooManyProgressiveScansAreRefused) {
    const auto path = TestDir() / "progressive.jpg";
    test::RunPython(R"(
import sys
from PIL import Image
Image.new("RGB", (20, 20), (10, 200, 30)).save(sys.argv[1], "JPEG", progressive=True)
)",
                    {path.string()});
    const std::string bytes = test::ReadFile(path);
    DecodeLimits limits;
    EXPECT_TRUE(DecodeJpeg(bytes, limits).ok());
    limits.maxJpegScans = 2;
    EXPECT_FALSE(DecodeJpeg(bytes, limits).ok());
}

TEST(JpegHostile, BrokenFilesFailOrKeepTheirSize) {
    const std::string whole = EncodeOk(test::Gradient(40, 40), 80);
    EXPECT_FALSE(DecodeJpeg("").ok());
    EXPECT_FALSE(DecodeJpeg("\xFF\xD8\xFF").ok());
    EXPECT_FALSE(DecodeJpeg(whole.substr(0, 100)).ok());  // cut inside the headers
    EXPECT_FALSE(DecodeJpeg("GIF89a and more").ok());
    // Cut inside the scan: libjpeg fills the rest, as other readers do.
    const Picture cut = DecodeOk(whole.substr(0, whole.size() * 3 / 4));
    EXPECT_EQ(cut.width, 40);
    EXPECT_EQ(cut.height, 40);
}

}  // namespace
}  // namespace orvo

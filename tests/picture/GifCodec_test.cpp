// GIF frames, graphic control extensions and the transparency rewrite, checked against PIL.
#include <gtest/gtest.h>

#include <chrono>

#include "PictureSupport.h"
#include "picture/GifCodec.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using test::Bytes;
using test::TestDir;

const Palette kFour = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

GifFrame Frame(int left, int top, int width, int height, int seed) {
    GifFrame f;
    f.left = left, f.top = top, f.width = width, f.height = height;
    f.indices.resize(std::size_t(width) * height);
    for (std::size_t i = 0; i < f.indices.size(); ++i) f.indices[i] = std::uint8_t((i + seed) % 4);
    return f;
}

// A 6 × 10 picture: a full first frame with a control extension, and a smaller interlaced one
// with its own palette.
Picture TwoFrames() {
    Picture p;
    p.format = PictureFormat::Gif;
    p.width = 6, p.height = 10;
    p.globalPalette = kFour;
    p.loopCount = 0;
    GifFrame first = Frame(0, 0, 6, 10, 0);
    first.hasControl = true;
    first.delay = 25;
    first.disposal = GifDisposal::RestoreBackground;
    first.transparent = true;
    first.transparentIndex = 3;
    GifFrame second = Frame(2, 1, 3, 9, 1);
    second.interlaced = true;
    second.localPalette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {200, 210, 220}};
    p.frames = {first, second};
    return p;
}

Picture DecodeOk(std::string_view bytes) {
    Result<Picture> r = DecodeGif(bytes);
    EXPECT_TRUE(r.ok()) << (r.ok() ? "" : r.failure().text);
    return r.ok() ? std::move(*r) : Picture{};
}

std::string EncodeOk(const Picture& p) {
    Result<std::string> r = EncodeGif(p);
    EXPECT_TRUE(r.ok());
    return r.ok() ? *r : std::string();
}

std::filesystem::path Saved(std::string_view name, std::string_view bytes) {
    const auto path = TestDir() / name;
    test::WriteFile(path, bytes);
    return path;
}

// Pixels agree where both are opaque; transparency agrees everywhere.
void ExpectSameVisiblePixels(const Bitmap& ours, const Bitmap& theirs) {
    ASSERT_EQ(ours.width, theirs.width);
    ASSERT_EQ(ours.height, theirs.height);
    int wrong = 0;
    for (int y = 0; y < ours.height; ++y) {
        for (int x = 0; x < ours.width; ++x) {
            const bool a = ours.At(x, y)[3] != 0, b = theirs.At(x, y)[3] != 0;
            if (a != b || (a && !(ours.ColourAt(x, y) == theirs.ColourAt(x, y)))) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(GifRoundTrip, FramesControlsPalettesAndLoopSurvive) {
    const Picture original = TwoFrames();
    const std::string bytes = EncodeOk(original);
    EXPECT_EQ(bytes.substr(0, 6), "GIF89a");
    const Picture back = DecodeOk(bytes);
    EXPECT_EQ(back.width, 6);
    EXPECT_EQ(back.height, 10);
    EXPECT_EQ(back.loopCount, 0);
    EXPECT_EQ(back.globalPalette, kFour);
    ASSERT_EQ(back.frames.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const GifFrame &a = original.frames[i], &b = back.frames[i];
        EXPECT_EQ(b.left, a.left);
        EXPECT_EQ(b.top, a.top);
        EXPECT_EQ(b.width, a.width);
        EXPECT_EQ(b.height, a.height);
        EXPECT_EQ(b.interlaced, a.interlaced);
        EXPECT_EQ(b.indices, a.indices) << "frame " << i;  // interlaced rows back in place
        EXPECT_EQ(b.localPalette, a.localPalette);
        EXPECT_EQ(b.hasControl, a.hasControl);
        EXPECT_EQ(b.delay, a.delay);
        EXPECT_EQ(b.disposal, a.disposal);
        EXPECT_EQ(b.transparent, a.transparent);
        if (a.transparent) {
            EXPECT_EQ(b.transparentIndex, a.transparentIndex);
        }
    }
    EXPECT_TRUE(back.IsTransparentGif());
    EXPECT_EQ(EncodeOk(back), bytes);  // writing what we read gives the same bytes
}

TEST(GifRoundTrip, AFrameWithItsOwnPaletteMayComeBeforeOneWithout) {
    Picture p = TwoFrames();
    std::swap(p.frames[0], p.frames[1]);
    const Picture back = DecodeOk(EncodeOk(p));
    ASSERT_EQ(back.frames.size(), 2u);
    EXPECT_EQ(back.frames[0].localPalette, p.frames[0].localPalette);
    EXPECT_TRUE(back.frames[1].localPalette.empty());
    EXPECT_EQ(back.frames[1].indices, p.frames[1].indices);
}

TEST(GifRoundTrip, RefusesWhatCannotBeWritten) {
    Picture p = TwoFrames();
    p.frames[0].indices.pop_back();
    EXPECT_FALSE(EncodeGif(p).ok());
    p = TwoFrames();
    p.globalPalette.clear();  // the first frame has no palette left
    EXPECT_FALSE(EncodeGif(p).ok());
    p = TwoFrames();
    p.frames[1].width = 0;
    p.frames[1].indices.clear();
    EXPECT_FALSE(EncodeGif(p).ok());
}

TEST(GifWithPil, OurGifOpensWithItsSizeFramesTransparencyAndPixels) {
    const Picture original = TwoFrames();
    const auto path = Saved("ours.gif", EncodeOk(original));
    const test::PilInfo info = test::PilRead(path);
    EXPECT_EQ(info.format, "GIF");
    EXPECT_EQ(info.width, 6);
    EXPECT_EQ(info.height, 10);
    EXPECT_EQ(info.frames, 2);
    EXPECT_EQ(info.transparency, 3);
    ExpectSameVisiblePixels(RenderPicture(original, 0), test::PilPixels(path, 0));
}

TEST(GifWithPil, AnimationMadeByPilDecodesFrameByFrameAsPilShowsIt) {
    const auto path = TestDir() / "pil-anim.gif";
    test::RunPython(R"(
import sys
from PIL import Image, ImageDraw
frames = []
for i, colour in enumerate([(255, 0, 0), (0, 128, 255), (30, 200, 40)]):
    im = Image.new("RGB", (40, 30), (250, 250, 250))
    d = ImageDraw.Draw(im)
    d.rectangle([5 + 8 * i, 4 + 3 * i, 20 + 8 * i, 20 + 2 * i], fill=colour)
    frames.append(im)
frames[0].save(sys.argv[1], save_all=True, append_images=frames[1:], duration=[100, 200, 300],
               loop=2, disposal=[1, 2, 1])
)",
                    {path.string()});
    const Picture gif = DecodeOk(test::ReadFile(path));
    ASSERT_EQ(gif.frames.size(), 3u);
    EXPECT_EQ(gif.width, 40);
    EXPECT_EQ(gif.height, 30);
    EXPECT_EQ(gif.loopCount, 2);
    EXPECT_EQ(gif.frames[0].delay, 10);
    EXPECT_EQ(gif.frames[1].delay, 20);
    EXPECT_EQ(gif.frames[2].delay, 30);
    EXPECT_EQ(gif.frames[1].disposal, GifDisposal::RestoreBackground);
    ExpectSameVisiblePixels(RenderPicture(gif, 0), test::PilPixels(path, 0));
    ExpectSameVisiblePixels(RenderPicture(gif, 1), test::PilPixels(path, 1));
    ExpectSameVisiblePixels(RenderPicture(gif, 2), test::PilPixels(path, 2));
}

TEST(GifComposition, DisposalDecidesWhatTheNextFrameDrawsOver) {
    Picture p;
    p.format = PictureFormat::Gif;
    p.width = 4, p.height = 1;
    p.globalPalette = kFour;
    GifFrame base = Frame(0, 0, 4, 1, 0);
    base.indices = {1, 1, 1, 1};  // red everywhere
    GifFrame patch = Frame(1, 0, 2, 1, 0);
    patch.indices = {2, 3};  // green, blue
    GifFrame dot = Frame(3, 0, 1, 1, 0);
    dot.indices = {2};
    p.frames = {base, patch, dot};

    auto colours = [](const Bitmap& b) {
        std::string s;
        for (int x = 0; x < b.width; ++x) {
            const std::uint8_t* px = b.At(x, 0);
            s += px[3] == 0 ? '.' : px[0] ? 'R' : px[1] ? 'G' : px[2] ? 'B' : 'K';
        }
        return s;
    };
    EXPECT_EQ(colours(RenderPicture(p, 1)), "RGBR");
    EXPECT_EQ(colours(RenderPicture(p, 2)), "RGBG");  // unspecified disposal keeps the patch
    p.frames[1].disposal = GifDisposal::RestoreBackground;
    EXPECT_EQ(colours(RenderPicture(p, 2)), "RKKG");  // the background colour, index 0
    p.frames[1].hasControl = p.frames[1].transparent = true;
    EXPECT_EQ(colours(RenderPicture(p, 2)), "R..G");  // a transparent frame clears to nothing
    p.frames[1].hasControl = p.frames[1].transparent = false;
    p.frames[1].disposal = GifDisposal::RestorePrevious;
    EXPECT_EQ(colours(RenderPicture(p, 2)), "RRRG");
    p.frames[2].hasControl = p.frames[2].transparent = true;
    p.frames[2].transparentIndex = 2;
    EXPECT_EQ(colours(RenderPicture(p, 2)), "RRRR");   // the dot's only pixel is transparent
    EXPECT_EQ(colours(RenderPicture(p, 99)), "RRRR");  // past the end: the last frame
}

// A 2 × 2 GIF (indices 0 0 1 1, black and white) whose screen and frame sizes are then
// overwritten: byte 6 holds the screen, byte 19 the image descriptor.
std::string TinyGif(int screenWidth = 2, int screenHeight = 2, int frameWidth = 2,
                    int frameHeight = 2) {
    Picture p;
    p.format = PictureFormat::Gif;
    p.width = p.height = 2;
    p.globalPalette = {{0, 0, 0}, {255, 255, 255}};
    GifFrame f = Frame(0, 0, 2, 2, 0);
    f.indices = {0, 0, 1, 1};
    p.frames = {f};
    std::string g = EncodeOk(p);
    EXPECT_EQ(g[19], 0x2C);
    g.replace(6, 4,
              Bytes({screenWidth & 255, screenWidth >> 8, screenHeight & 255, screenHeight >> 8}));
    g.replace(24, 4,
              Bytes({frameWidth & 255, frameWidth >> 8, frameHeight & 255, frameHeight >> 8}));
    return g;
}

TEST(GifHostile, HugeSizesAreRefusedQuickly) {
    ASSERT_EQ(DecodeOk(TinyGif()).frames[0].indices, (std::vector<std::uint8_t>{0, 0, 1, 1}));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(DecodeGif(TinyGif(65535, 65535)).ok());        // logical screen
    EXPECT_FALSE(DecodeGif(TinyGif(2, 2, 32767, 32767)).ok());  // one frame beyond the limit
    EXPECT_FALSE(DecodeGif(TinyGif(2, 2, 8000, 8000)).ok());    // within limits, no data for it
    DecodeLimits small;
    small.maxPixels = 3;
    EXPECT_FALSE(DecodeGif(TinyGif(), small).ok());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(GifHostile, TooManyFramesAreRefused) {
    std::string g = TinyGif();
    g.pop_back();  // the trailer
    const std::string frame = g.substr(19);
    for (int i = 0; i < 5; ++i) g += frame;
    g += ";";
    DecodeLimits limits;
    limits.maxFrames = 4;
    EXPECT_FALSE(DecodeGif(g, limits).ok());
    limits.maxFrames = 6;
    EXPECT_EQ(DecodeOk(g).frames.size(), 6u);
    limits.maxTotalPixels = 20;  // 6 frames of 4 pixels
    EXPECT_FALSE(DecodeGif(g, limits).ok());
}

TEST(GifHostile, FilesCutShortKeepWhatArrived) {
    const std::string whole = EncodeOk(TwoFrames());
    // Without its trailer: both frames.
    EXPECT_EQ(DecodeOk(whole.substr(0, whole.size() - 1)).frames.size(), 2u);
    // Cut inside the second frame's data: the first frame, and the second's decoded rows.
    const Picture cut = DecodeOk(whole.substr(0, whole.size() - 6));
    ASSERT_GE(cut.frames.size(), 1u);
    EXPECT_EQ(cut.frames[0].indices, TwoFrames().frames[0].indices);
    // Cut before any pixel: nothing to show.
    const std::string tiny = TinyGif();
    EXPECT_FALSE(DecodeGif(tiny.substr(0, 26)).ok());
    EXPECT_FALSE(DecodeGif(tiny.substr(0, 10)).ok());
    EXPECT_FALSE(DecodeGif("").ok());
    EXPECT_FALSE(DecodeGif("GIF89a").ok());
}

TEST(GifHostile, ALogicalScreenOfZeroTakesTheFramesSize) {
    std::string g = TinyGif(0, 0, 2, 2);
    const Picture p = DecodeOk(g);
    EXPECT_EQ(p.width, 2);
    EXPECT_EQ(p.height, 2);
}

TEST(GifHostile, AFileWithoutFramesHasNoPixels) {
    std::string g = "GIF89a";
    g += Bytes({3, 0, 3, 0, 0, 0, 0, ';'});
    const Picture p = DecodeOk(g);
    EXPECT_TRUE(p.frames.empty());
    EXPECT_FALSE(p.IsTransparentGif());
    EXPECT_TRUE(RenderPicture(p).Empty());
}

// --- The transparency rewrite -------------------------------------------------------------

Picture Opaque(int height) {
    Picture p;
    p.format = PictureFormat::Gif;
    p.width = 3, p.height = height;
    p.globalPalette = kFour;
    p.frames = {Frame(0, 0, 3, height, 2)};
    return p;
}

TEST(GifTransparency, TurningOnAddsAnExtensionWithTheLowerLeftColour) {
    const Picture p = TwoFrames();
    Picture plain = p;
    for (GifFrame& f : plain.frames) f.hasControl = f.transparent = false;
    const std::string before = EncodeOk(plain);
    const Result<std::string> after = RewriteGifTransparency(before, true);
    ASSERT_TRUE(after.ok());
    EXPECT_EQ(after->size(), before.size() + 2 * 8);  // one 8-byte extension per frame
    const Picture back = DecodeOk(*after);
    ASSERT_EQ(back.frames.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const GifFrame& f = back.frames[i];
        EXPECT_TRUE(f.transparent);
        EXPECT_EQ(f.transparentIndex, f.IndexAt(0, f.height - 1));
        EXPECT_EQ(f.indices, p.frames[i].indices);
    }
    const auto path = Saved("on.gif", *after);
    EXPECT_EQ(test::PilRead(path).transparency, back.frames[0].IndexAt(0, 9));
}

TEST(GifTransparency, AnExistingExtensionChangesOnlyItsFlagAndIndex) {
    Picture p = TwoFrames();
    p.frames[0].transparent = false;
    p.frames[0].delay = 77;
    const std::string before = EncodeOk(p);
    const Result<std::string> on = RewriteGifTransparency(before, true);
    ASSERT_TRUE(on.ok());
    // The first frame had an extension: same length there; the second frame got a new one.
    EXPECT_EQ(on->size(), before.size() + 8);
    const Picture back = DecodeOk(*on);
    EXPECT_EQ(back.frames[0].delay, 77);
    EXPECT_EQ(back.frames[0].disposal, GifDisposal::RestoreBackground);
    EXPECT_TRUE(back.frames[0].transparent);
    EXPECT_EQ(back.frames[0].transparentIndex, p.frames[0].IndexAt(0, 9));

    const Result<std::string> off = RewriteGifTransparency(*on, false);
    ASSERT_TRUE(off.ok());
    EXPECT_EQ(off->size(), on->size());  // extensions are kept, only their flags cleared
    int changed = 0;
    for (std::size_t i = 0; i < on->size(); ++i) changed += (*on)[i] != (*off)[i];
    EXPECT_EQ(changed, 2);  // one flag byte per frame
    const Picture opaque = DecodeOk(*off);
    EXPECT_FALSE(opaque.frames[0].transparent);
    EXPECT_FALSE(opaque.frames[1].transparent);
    EXPECT_EQ(test::PilRead(Saved("off.gif", *off)).transparency, -1);
}

TEST(GifTransparency, TurningOffAnOpaqueGifChangesNothing) {
    const std::string before = EncodeOk(Opaque(4));
    const Result<std::string> after = RewriteGifTransparency(before, false);
    ASSERT_TRUE(after.ok());
    EXPECT_EQ(*after, before);
}

TEST(GifTransparency, AOneRowFrameKeepsIndexZero) {
    const Result<std::string> after = RewriteGifTransparency(EncodeOk(Opaque(1)), true);
    ASSERT_TRUE(after.ok());
    const Picture back = DecodeOk(*after);
    EXPECT_TRUE(back.frames[0].transparent);
    EXPECT_EQ(back.frames[0].transparentIndex, 0);
}

TEST(GifTransparency, CommentsAndOlderVersionsAreKept) {
    std::string g = TinyGif();
    g.replace(3, 3, "87a");
    const std::string comment = Bytes({0x21, 0xFE, 5, 'h', 'e', 'l', 'l', 'o', 0});
    g.insert(19, comment);
    const Result<std::string> after = RewriteGifTransparency(g, true);
    ASSERT_TRUE(after.ok());
    EXPECT_EQ(after->substr(0, 6), "GIF89a");
    EXPECT_NE(after->find(comment), std::string::npos);
    EXPECT_EQ(after->substr(after->size() - 7), g.substr(g.size() - 7));  // data untouched
    const Picture back = DecodeOk(*after);
    EXPECT_TRUE(back.frames[0].transparent);
    EXPECT_EQ(back.frames[0].transparentIndex, 1);  // the lower-left pixel is white
}

TEST(GifTransparency, BrokenFilesAreRefused) {
    EXPECT_FALSE(RewriteGifTransparency("", true).ok());
    EXPECT_FALSE(RewriteGifTransparency("GIF89a\x01", true).ok());
    std::string g = TinyGif();
    g.insert(g.size() - 1, "\x99");  // an unknown block before the trailer
    EXPECT_FALSE(RewriteGifTransparency(g, true).ok());
}

}  // namespace
}  // namespace orvo

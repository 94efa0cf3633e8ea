// The container's pictures: import (bitmaps converted), duplicates, the decoded-picture cache,
// extraction to the working folder, and transparency written into the GIF.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "KytFixture.h"
#include "base/ByteReader.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "picture/GifCodec.h"
#include "picture/JpegCodec.h"
#include "picture/TKYTpicture.h"

namespace orvo::test {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using K = TOggettiHel;

// What PIL (Debian's Python) reads from a file: format, size and the GIF transparency index.
std::string PilSays(const std::filesystem::path& file) {
    const auto script = TestDir() / "probe.py";
    WriteFile(script,
              "import sys\nfrom PIL import Image\nim = Image.open(sys.argv[1])\n"
              "t = im.info.get('transparency', -1)\n"
              "print(im.format, im.size[0], im.size[1], t if isinstance(t, int) else -1)\n");
    const std::string command =
        "/usr/bin/python3 '" + script.string() + "' '" + file.string() + "'";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
        EXPECT_EQ(pclose(pipe), 0);
    }
    if (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

// A GIF of `width` × 3 whose colours depend on `seed`; its lower-left pixel has index 2.
std::string Gif(int width = 4, int seed = 0, bool transparent = false) {
    Picture p;
    p.format = PictureFormat::Gif;
    p.width = width, p.height = 3;
    p.globalPalette = {{0, 0, 0}, {255, 255, 255}, {std::uint8_t(seed), 0, 0}, {0, 0, 255}};
    GifFrame f;
    f.width = width, f.height = 3;
    f.indices.assign(std::size_t(width) * 3, 1);
    f.indices[std::size_t(width) * 2] = 2;
    f.indices[0] = std::uint8_t(seed % 4);
    f.hasControl = f.transparent = transparent;
    f.transparentIndex = 1;
    p.frames = {f};
    return *EncodeGif(p);
}

// A 24-bit bitmap file of the given pixels.
std::string Bmp(const Bitmap& b) {
    std::string out = "BM";
    ByteWriter w(out);
    const std::uint32_t stride = (std::uint32_t(b.width) * 3 + 3) / 4 * 4;
    w.U32(54 + stride * b.height), w.U32(0), w.U32(54), w.U32(40), w.I32(b.width);
    w.I32(b.height), w.U16(1), w.U16(24), w.U32(0), w.U32(stride * b.height), w.I32(0), w.I32(0);
    w.U32(0), w.U32(0);
    for (int y = b.height - 1; y >= 0; --y) {
        for (int x = 0; x < b.width; ++x) {
            const Rgb c = b.ColourAt(x, y);
            w.U8(c.b), w.U8(c.g), w.U8(c.r);
        }
        for (std::uint32_t i = std::uint32_t(b.width) * 3; i < stride; ++i) w.U8(0);
    }
    return out;
}

Bitmap Gradient(int width, int height) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            b.Set(x, y,
                  {std::uint8_t(x * 255 / (width - 1)), std::uint8_t(y * 255 / (height - 1)),
                   std::uint8_t((x + y) * 127 / (width + height - 2) + 64)});
        }
    }
    return b;
}

class Pictures : public KytTest {
protected:
    // Writes `bytes` as `name` in the test folder and returns its Windows-1252 name.
    std::string Saved(std::string_view cp1252Name, std::string_view bytes) {
        const std::string name = NameOfPath(TestDir()) + "/" + std::string(cp1252Name);
        WriteFile(NativePath(name), bytes);
        return name;
    }
    TKYToggetto& AddOk(const std::string& name) {
        Result<TKYToggetto*> added = set_.AddPictureFromFile(name);
        EXPECT_TRUE(added.ok()) << (added.ok() ? "" : added.failure().text);
        return **added;
    }
    std::shared_ptr<TKYTpicture> DecodedOk(TKYToggetto& object) {
        Result<std::shared_ptr<TKYTpicture>> picture = set_.PictureOf(object);
        EXPECT_TRUE(picture.ok()) << (picture.ok() ? "" : picture.failure().text);
        return picture.ok() ? *picture : nullptr;
    }
    std::string ContentOf(const TKYToggetto& object) {
        Result<std::string> bytes = object.ContentBytes();
        EXPECT_TRUE(bytes.ok());
        return bytes.ok() ? *bytes : std::string();
    }
    bool Cached(const TKYToggetto& object) const {
        for (const auto& entry : set_.pictureCache) {
            if (entry.first == object.Identifier()) return true;
        }
        return false;
    }
};

TEST_F(Pictures, AGifIsTakenAsItIsWithItsRecordFields) {
    const std::string gif = Gif(7);
    const std::string name = Saved("Logo della ditt\xE0.gif", gif);
    TKYToggetto& picture = AddOk(name);
    EXPECT_EQ(picture.Kind(), K::immagine);
    EXPECT_TRUE(picture.Registered());
    EXPECT_EQ(set_.KindCount(K::immagine), 1);
    const std::string record = RecordString(picture);
    EXPECT_EQ(record[4], 0);  // subtype: GIF
    EXPECT_EQ(picture.Name(), "Logo della ditt\xE0");
    EXPECT_EQ(picture.FileName(), name.substr(0, 75));
    EXPECT_EQ(I16At(record, 85), 7);    // width
    EXPECT_EQ(I16At(record, 87), 3);    // height
    EXPECT_EQ(I32At(record, 170), -2);  // an opaque GIF
    EXPECT_EQ(I32At(record, 174), int(gif.size()));
    EXPECT_EQ(ContentOf(picture), gif);
    EXPECT_TRUE(set_.Modified());
}

TEST_F(Pictures, ATransparentGifIsMarkedMinusOne) {
    TKYToggetto& picture = AddOk(Saved("clear.gif", Gif(4, 0, true)));
    EXPECT_EQ(I32At(RecordString(picture), 170), -1);
    EXPECT_THAT(set_.IsOpaque(picture).value(), false);
}

TEST_F(Pictures, JpegsAndMetafilesAreSubtypeOne) {
    const std::string jpeg = *EncodeJpeg(Gradient(30, 20), 60);
    for (const char* name : {"photo.jpg", "photo2.JPEG"}) {
        TKYToggetto& picture = AddOk(Saved(name, jpeg + name));  // distinct bytes
        const std::string record = RecordString(picture);
        EXPECT_EQ(record[4], 1);
        EXPECT_EQ(I32At(record, 170), -2);
        EXPECT_EQ(I16At(record, 85), 30);
        EXPECT_EQ(I16At(record, 87), 20);
        EXPECT_THAT(set_.IsOpaque(picture).value(), true);
    }
    std::string emf(108, '\0');
    emf[0] = 1;
    emf.replace(40, 4, " EMF");
    emf.replace(32, 4, Bytes({0xD8, 0x13, 0, 0}));  // frame: 50.8 mm wide
    emf.replace(36, 4, Bytes({0xEC, 0x09, 0, 0}));  // 25.4 mm high
    TKYToggetto& metafile = AddOk(Saved("chart.emf", emf));
    EXPECT_EQ(RecordString(metafile)[4], 1);
    EXPECT_EQ(I16At(RecordString(metafile), 85), 192);
    EXPECT_EQ(I16At(RecordString(metafile), 87), 96);
    EXPECT_EQ(ContentOf(metafile), emf);  // kept untouched
    EXPECT_THAT(set_.IsOpaque(metafile).value(), false);
}

TEST_F(Pictures, TheSamePictureTwiceIsOneObject) {
    const std::string gif = Gif(5);
    TKYToggetto& first = AddOk(Saved("a.gif", gif));
    EXPECT_EQ(&AddOk(Saved("a.gif", gif)), &first);
    EXPECT_EQ(&AddOk(Saved("copy of a.gif", gif)), &first);  // same bytes, another name
    EXPECT_EQ(set_.KindCount(K::immagine), 1);
    // Still found after its content was extracted by decoding it.
    ASSERT_TRUE(DecodedOk(first));
    EXPECT_FALSE(first.Content().Present());
    EXPECT_EQ(&AddOk(Saved("a.gif", gif)), &first);
    EXPECT_NE(&AddOk(Saved("b.gif", Gif(6))), &first);
    EXPECT_EQ(set_.KindCount(K::immagine), 2);
}

TEST_F(Pictures, ABitmapBecomesAGifThatMatchesItWithinTheColourReduction) {
    const Bitmap source = Gradient(60, 40);
    TKYToggetto& picture = AddOk(Saved("foto.bmp", Bmp(source)));
    const std::string record = RecordString(picture);
    EXPECT_EQ(record[4], 0);  // now a GIF
    EXPECT_EQ(picture.Name(), "foto");
    EXPECT_EQ(I16At(record, 85), 60);
    EXPECT_EQ(I16At(record, 87), 40);
    const std::string gif = ContentOf(picture);
    EXPECT_EQ(gif.substr(0, 6), "GIF89a");
    // Converted in the working folder, under the bitmap's name with ".gif"; the file is gone
    // and the object holds the bytes.
    EXPECT_EQ(std::string(LastComponent(picture.FileName())), "foto.gif");
    EXPECT_FALSE(std::filesystem::exists(NativePath(picture.FileName())));
    EXPECT_TRUE(picture.Content().InMemory());

    const Result<Picture> decoded = DecodeGif(gif);
    ASSERT_TRUE(decoded.ok());
    const Bitmap back = RenderPicture(*decoded);
    double sum = 0;
    int worst = 0;
    for (std::size_t i = 0; i < back.rgba.size(); ++i) {
        if (i % 4 == 3) continue;
        const int d = std::abs(int(back.rgba[i]) - int(source.rgba[i]));
        sum += d, worst = std::max(worst, d);
    }
    EXPECT_LT(sum / (double(back.rgba.size()) * 3 / 4), 5.0);
    EXPECT_LE(worst, 32);

    const auto file = TestDir() / "converted.gif";
    WriteFile(file, gif);
    EXPECT_EQ(PilSays(file), "GIF 60 40 -1");
}

TEST_F(Pictures, ABitmapOfFewColoursKeepsThemExactly) {
    Bitmap source(9, 4);
    const Rgb colours[3] = {{250, 0, 0}, {0, 250, 0}, {1, 2, 3}};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 9; ++x) source.Set(x, y, colours[(x + y) % 3]);
    }
    TKYToggetto& picture = AddOk(Saved("flags.bmp", Bmp(source)));
    const Bitmap back = RenderPicture(*DecodeGif(ContentOf(picture)));
    EXPECT_EQ(back.rgba, source.rgba);
}

TEST_F(Pictures, OtherFilesGiveNoPicture) {
    EXPECT_FALSE(set_.AddPictureFromFile(Saved("note.txt", "hello")).ok());
    EXPECT_FALSE(set_.AddPictureFromFile(Saved("image.png", "\x89PNG\r\n")).ok());
    EXPECT_FALSE(set_.AddPictureFromFile(Saved("broken.gif", "GIF89a but nothing")).ok());
    EXPECT_FALSE(set_.AddPictureFromFile(Saved("broken.bmp", "BM")).ok());
    EXPECT_FALSE(set_.AddPictureFromFile(Path("missing.gif")).ok());
    EXPECT_EQ(set_.KindCount(K::immagine), 0);
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(Pictures, APictureOutlivesItsFileAndASave) {
    const std::string gif = Gif(8, 3);
    const std::string name = Saved("gone.gif", gif);
    AddOk(name);
    std::filesystem::remove(NativePath(name));
    ASSERT_TRUE(set_.SaveToFile(Path("book.kyt"))) << ::testing::PrintToString(set_.Errors());
    ASSERT_TRUE(set_.LoadFromFile(Path("book.kyt")));
    TKYToggetto* picture = set_.ObjectByKind(K::immagine, 0);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(ContentOf(*picture), gif);
    std::shared_ptr<TKYTpicture> decoded = DecodedOk(*picture);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Width(), 8);
}

TEST_F(Pictures, DecodingExtractsTheContentAndRefreshesTheSize) {
    TKYToggetto& picture = AddOk(Saved("shown.gif", Gif(9)));
    picture.View().SetI16(kPictureWidth, 1);  // stale
    std::shared_ptr<TKYTpicture> decoded = DecodedOk(picture);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(I16At(RecordString(picture), 85), 9);
    EXPECT_EQ(decoded->ImageNameL(), picture.ContentFileName());
    EXPECT_EQ(NativePath(decoded->ImageNameL()).parent_path(), set_.WorkingDirectory());
    EXPECT_EQ(ContentOf(picture), Gif(9));   // now read from the extracted file
    EXPECT_EQ(DecodedOk(picture), decoded);  // the cached one
    // Saving takes the content from the extracted file.
    ASSERT_TRUE(set_.SaveToFile(Path("shown.kyt")));
    ASSERT_TRUE(set_.LoadFromFile(Path("shown.kyt")));
    ASSERT_NE(set_.ObjectByKind(K::immagine, 0), nullptr);
    EXPECT_EQ(ContentOf(*set_.ObjectByKind(K::immagine, 0)), Gif(9));
}

TEST_F(Pictures, TheTwentyFirstDecodedPictureEvictsTheFirst) {
    std::vector<TKYToggetto*> pictures;
    for (int i = 0; i < 21; ++i) {
        pictures.push_back(&AddOk(Saved("p" + std::to_string(i) + ".gif", Gif(3 + i, i))));
    }
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(DecodedOk(*pictures[i]));
    EXPECT_EQ(set_.pictureCache.size(), 20u);
    DecodedOk(*pictures[0]);  // a lookup does not make an entry younger
    ASSERT_TRUE(DecodedOk(*pictures[20]));
    EXPECT_EQ(set_.pictureCache.size(), 20u);
    EXPECT_FALSE(Cached(*pictures[0]));
    EXPECT_TRUE(Cached(*pictures[1]));
    EXPECT_TRUE(Cached(*pictures[20]));
    // Decoding the first again makes room by evicting the oldest, the second.
    ASSERT_TRUE(DecodedOk(*pictures[0]));
    EXPECT_FALSE(Cached(*pictures[1]));
    EXPECT_EQ(set_.pictureCache.front().first, pictures[2]->Identifier());

    // A smaller cache shrinks when the next picture is decoded.
    set_.MaxCacheImg = 2;
    ASSERT_TRUE(DecodedOk(*pictures[1]));
    EXPECT_EQ(set_.pictureCache.size(), 2u);
    EXPECT_EQ(set_.pictureCache.front().first, pictures[0]->Identifier());
    set_.MaxCacheImg = 0;  // at least one entry is kept
    ASSERT_TRUE(DecodedOk(*pictures[3]));
    ASSERT_EQ(set_.pictureCache.size(), 1u);
    EXPECT_EQ(set_.pictureCache.front().first, pictures[3]->Identifier());
}

TEST_F(Pictures, OnlyPicturesEnterTheCache) {
    TKYToggetto& page = AddPage("Copertina", "<Z S0 >\0");
    const Status refused = set_.AddToPictureCache(page, std::make_shared<TKYTpicture>());
    EXPECT_FALSE(refused.ok());
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{Box::Error, "What happens? Image cache bug?"}));
    EXPECT_TRUE(set_.pictureCache.empty());
    EXPECT_FALSE(set_.PictureOf(page).ok());
}

TEST_F(Pictures, ChangingOrFreeingAPictureDropsItsEntry) {
    TKYToggetto& a = AddOk(Saved("a.gif", Gif(4, 1)));
    TKYToggetto& b = AddOk(Saved("b.gif", Gif(5, 2)));
    DecodedOk(a), DecodedOk(b);
    ASSERT_EQ(set_.pictureCache.size(), 2u);
    a.Clear();
    EXPECT_FALSE(Cached(a));
    EXPECT_TRUE(Cached(b));
}

TEST_F(Pictures, AnImageObjectShowsThePictureItRefersTo) {
    TKYToggetto& picture = AddOk(Saved("shown.gif", Gif(6)));
    TKYToggetto& image = Add(K::immagineNew);
    image.View().SetI32(kImagePicture, picture.Identifier());
    std::shared_ptr<TKYTpicture> decoded = DecodedOk(image);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded, DecodedOk(picture));
    image.View().SetI32(kImagePicture, 99);
    EXPECT_FALSE(set_.PictureOf(image).ok());
}

// A file system whose opens fail: nothing can be extracted.
class FullDisk final : public PosixFileSystem {
public:
    Result<FileStream> Open(const std::filesystem::path& path, FileStream::Mode mode,
                            unsigned permissions) override {
        if (full) return Fail("disco pieno");
        return PosixFileSystem::Open(path, mode, permissions);
    }
    bool full = false;
};

TEST(PictureExtraction, AFailureIsShownAndTheContentKept) {
    FixedEnvironment env;
    RecordingMessages messages;
    FullDisk disk;
    TKYTset set(env, messages, disk);
    const std::string name = NameOfPath(TestDir()) + "/logo.gif";
    WriteFile(NativePath(name), Gif(4));
    Result<TKYToggetto*> added = set.AddPictureFromFile(name);
    ASSERT_TRUE(added.ok());
    disk.full = true;
    EXPECT_FALSE(set.PictureOf(**added).ok());
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].box, Box::Error);
    EXPECT_THAT(messages.Shown()[0].text,
                HasSubstr("Lo spazio su HD potrebbe essere insufficiente! Errore nella "
                          "scorporazione file: "_cp));
    EXPECT_THAT(messages.Shown()[0].text, HasSubstr("logo.gif"));
    EXPECT_TRUE((*added)->Content().InMemory());
    EXPECT_TRUE(set.pictureCache.empty());
    disk.full = false;
    EXPECT_TRUE(set.PictureOf(**added).ok());
}

TEST_F(Pictures, TransparencyIsWrittenIntoTheGifAndReadByPil) {
    TKYToggetto& picture = AddOk(Saved("logo.gif", Gif(4)));
    set_.SetModified(false);
    ASSERT_TRUE(set_.SetTransparent(picture, true).ok());
    EXPECT_THAT(set_.IsOpaque(picture).value(), false);
    EXPECT_EQ(I32At(RecordString(picture), 170), -1);
    EXPECT_TRUE(set_.Modified());
    const std::string gif = ContentOf(picture);
    EXPECT_TRUE(picture.Content().InMemory());
    EXPECT_EQ(I32At(RecordString(picture), 174), int(gif.size()));
    const auto file = TestDir() / "transparent.gif";
    WriteFile(file, gif);
    EXPECT_EQ(PilSays(file), "GIF 4 3 2");  // the lower-left pixel's index

    ASSERT_TRUE(set_.SetTransparent(picture, false).ok());
    EXPECT_THAT(set_.IsOpaque(picture).value(), true);
    EXPECT_EQ(I32At(RecordString(picture), 170), -2);
    WriteFile(file, ContentOf(picture));
    EXPECT_EQ(PilSays(file), "GIF 4 3 -1");

    // The change is saved with the document.
    ASSERT_TRUE(set_.SetTransparent(picture, true).ok());
    ASSERT_TRUE(set_.SaveToFile(Path("logo.kyt")));
    ASSERT_TRUE(set_.LoadFromFile(Path("logo.kyt")));
    TKYToggetto* reread = set_.ObjectByKind(K::immagine, 0);
    ASSERT_NE(reread, nullptr);
    EXPECT_THAT(set_.IsOpaque(*reread).value(), false);
}

TEST_F(Pictures, OnlyAGifCanBeMadeTransparent) {
    TKYToggetto& photo = AddOk(Saved("photo.jpg", *EncodeJpeg(Gradient(8, 8), 50)));
    EXPECT_FALSE(set_.SetTransparent(photo, true).ok());
    EXPECT_EQ(I32At(RecordString(photo), 170), -2);
    EXPECT_FALSE(set_.SetTransparent(AddPage("Pagina", "<Z S0 >\0"), true).ok());
}

}  // namespace
}  // namespace orvo::test

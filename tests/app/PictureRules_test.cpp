// Pictures brought into a hypertext and the properties of the images that show them: bitmaps
// converted to GIF and JPEG, picture objects from files and from another hypertext, the image
// record an inserted picture gets, the sizes in percent, the IMG parameters' stream, and a
// picture replaced everywhere, proven over a hundred pages saved and read back.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "app/ImagePropertiesRules.h"
#include "app/PictureWindowRules.h"
#include "base/Cp1252.h"
#include "model/ObjectRecord.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "picture/TKYTpicture.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using K = TOggettiHel;
namespace fs = std::filesystem;

void Put16(std::string& s, int v) {
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xFF);
}

// A 24-bit bitmap whose pixels follow (x, y) so that every picture made from it differs.
std::string Bmp(int width, int height, int seed) {
    const int row = (width * 3 + 3) / 4 * 4;
    std::string bmp = "BM";
    Put32(bmp, std::uint32_t(54 + row * height));
    Put32(bmp, 0);
    Put32(bmp, 54);
    Put32(bmp, 40);
    Put32(bmp, std::uint32_t(width));
    Put32(bmp, std::uint32_t(height));
    Put16(bmp, 1);
    Put16(bmp, 24);
    for (int i = 0; i < 6; ++i) Put32(bmp, 0);
    for (int y = 0; y < height; ++y) {
        std::string line;
        for (int x = 0; x < width; ++x) {
            line += char((x * 40 + seed) & 0xFF);
            line += char((y * 60 + seed * 3) & 0xFF);
            line += char(((x + y) * 25) & 0xFF);
        }
        line.resize(std::size_t(row), '\0');
        bmp += line;
    }
    return bmp;
}

std::string Hex8(std::int32_t code) {
    char buffer[9];
    std::snprintf(buffer, sizeof buffer, "%08x", unsigned(code));
    return buffer;
}

std::vector<std::int32_t> ImageCodesOf(const std::string& text) {
    std::vector<std::int32_t> codes;
    for (std::size_t at = text.find("<$"); at != std::string::npos; at = text.find("<$", at + 2))
        if (at + 11 <= text.size() && text[at + 10] == '>')
            codes.push_back(std::int32_t(std::stoul(text.substr(at + 2, 8), nullptr, 16)));
    return codes;
}

class PictureRules : public ::testing::Test {
protected:
    fs::path Write(const std::string& name, const std::string& bytes) {
        const fs::path path = TestDir() / "pictures" / name;
        WriteFile(path, bytes);
        return path;
    }
    std::string Path(const fs::path& p) { return Utf8ToCp1252(p.string()); }
    TKYToggetto& Picture(const std::string& name, int seed, int w = 8, int h = 6) {
        Result<TKYToggetto*> added =
            set_.AddPictureFromFile(Path(Write(name + ".bmp", Bmp(w, h, seed))));
        EXPECT_TRUE(added) << (added ? "" : added.failure().text);
        return **added;
    }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_{environment_, messages_};
};

TEST_F(PictureRules, TabsSearchAndClipartFolder) {
    struct Case {
        PictureWindowMode mode;
        bool hasPictures;
        bool album, disk, other;
        PictureTab active;
    };
    constexpr Case kCases[] = {
        {PictureWindowMode::Single, true, true, true, true, PictureTab::Album},
        {PictureWindowMode::Single, false, true, true, true, PictureTab::Disk},
        {PictureWindowMode::AlbumOnly, false, true, false, false, PictureTab::Album},
        {PictureWindowMode::DiskOrOther, true, false, true, true, PictureTab::Disk},
        {PictureWindowMode::DroppedFile, true, false, true, false, PictureTab::Disk},
        {PictureWindowMode::Several, true, true, true, true, PictureTab::Album},
        {PictureWindowMode::Several, false, true, true, true, PictureTab::Disk},
    };
    for (const Case& c : kCases) {
        const PictureTabs tabs = TabsForMode(c.mode, c.hasPictures);
        SCOPED_TRACE(int(c.mode));
        EXPECT_EQ(tabs.album, c.album);
        EXPECT_EQ(tabs.disk, c.disk);
        EXPECT_EQ(tabs.other, c.other);
        EXPECT_EQ(tabs.active, c.active);
    }

    const std::vector<std::string> names{"Logo", "barra", "LOGOTIPO",
                                         "\xC8"
                                         "cole"};
    EXPECT_EQ(FindNameByPrefix(names, "logo"), 0);
    EXPECT_EQ(FindNameByPrefix(names, "logo", 1), 2);  // from the next one on
    EXPECT_EQ(FindNameByPrefix(names, "logo", 3), 0);  // wrapping round
    EXPECT_EQ(FindNameByPrefix(names,
                               "\xE8"
                               "co"),
              3);  // accented capitals fold too
    EXPECT_EQ(FindNameByPrefix(names, "zeta"), -1);
    EXPECT_EQ(FindNameByPrefix(names, ""), -1);

    EXPECT_EQ(ClipartFolder("/opt/orvo/bin", true), "/opt/orvo/bin/Clipart");
    EXPECT_EQ(ClipartFolder("/a/b/c/d/e/bin", false), "/a/b/c/Clipart");
    EXPECT_EQ(ClipartFolder("/a/bin", false), "/a/bin/Clipart");
}

// A bitmap becomes a GIF (transparent or not) or a JPEG whose size follows the quality; the
// picture made from the converted file holds its bytes after the file is gone, and a picture
// the hypertext holds already is taken instead of a copy.
TEST_F(PictureRules, BitmapsConvertedAndPicturesMadeFromFiles) {
    const std::string bmp = Bmp(40, 30, 7);
    const std::string source = Path(Write("foto.bmp", bmp));

    Result<ConvertedPicture> gif =
        ConvertPictureFile(set_, source, ConversionFormat::Gif, 25, false);
    ASSERT_TRUE(gif) << gif.failure().text;
    EXPECT_EQ(fs::path(gif->file).parent_path(), set_.WorkingDirectory());
    EXPECT_EQ(fs::path(gif->file).extension(), ".gif");
    EXPECT_EQ(gif->sourceSize, std::int64_t(bmp.size()));
    const std::string gifBytes = ReadFile(gif->file);
    EXPECT_EQ(gif->convertedSize, std::int64_t(gifBytes.size()));
    EXPECT_EQ(gifBytes.substr(0, 6), "GIF89a");

    Result<ConvertedPicture> low =
        ConvertPictureFile(set_, source, ConversionFormat::Jpeg, 10, false);
    Result<ConvertedPicture> high =
        ConvertPictureFile(set_, source, ConversionFormat::Jpeg, 95, false);
    ASSERT_TRUE(low && high);
    EXPECT_EQ(fs::path(low->file).extension(), ".jpg");
    EXPECT_EQ(ReadFile(low->file).substr(0, 2), "\xFF\xD8");
    EXPECT_LT(low->convertedSize, high->convertedSize);

    Result<ChosenPicture> made = PictureFromFile(set_, gif->file, "foto");
    ASSERT_TRUE(made) << made.failure().text;
    ASSERT_FALSE(made->Registered());
    TKYToggetto& picture = *made->Get();
    fs::remove(gif->file);
    EXPECT_EQ(picture.Kind(), K::immagine);
    EXPECT_EQ(picture.Name(), "foto");
    EXPECT_EQ(picture.Subtype(), 0);
    EXPECT_EQ(picture.ReadView().I32(kPictureTransparency), -2);
    EXPECT_EQ(picture.ReadView().I16(kPictureWidth), 40);
    EXPECT_EQ(picture.ReadView().I16(kPictureHeight), 30);
    EXPECT_EQ(*picture.ContentBytes(), gifBytes);

    Result<ConvertedPicture> clear =
        ConvertPictureFile(set_, source, ConversionFormat::Gif, 25, true);
    Result<ChosenPicture> transparent = PictureFromFile(set_, clear->file, "trasp");
    ASSERT_TRUE(transparent);
    EXPECT_EQ(transparent->Get()->ReadView().I32(kPictureTransparency), -1);
    Result<ChosenPicture> jpeg = PictureFromFile(set_, high->file, "alta");
    EXPECT_EQ(jpeg->Get()->Subtype(), 1);
    EXPECT_EQ(jpeg->Get()->ReadView().I32(kPictureTransparency), -2);

    TKYToggetto* held = made->Register(set_);
    ASSERT_TRUE(held->Registered());
    const fs::path again = Write("copia.gif", gifBytes);
    Result<ChosenPicture> same = PictureFromFile(set_, Path(again), "copia");
    ASSERT_TRUE(same);
    EXPECT_TRUE(same->Registered());
    EXPECT_EQ(same->Get(), held);

    EXPECT_FALSE(PictureFromFile(set_, Path(Write("rotto.gif", "GIF89a\x01")), "rotto"));
    EXPECT_FALSE(ConvertPictureFile(set_, Path(TestDir() / "assente.bmp"), ConversionFormat::Gif,
                                    25, false));
}

// The image record of an inserted picture, byte for byte; the alternative text follows "Alt";
// a picture of another hypertext gives the error box and no image.
TEST_F(PictureRules, ImageObjectOfAPicture) {
    TKYToggetto& picture = Picture("un_nome_di_immagine_lungo_oltre_trentadue", 3, 20, 10);
    ZoneRecord zone{5, 0, 1, 2, 3, 4};
    std::string zones = WriteZoneTable({zone});
    std::array<ZoneRecord, kZoneCount> table = ReadZoneTable(zones);
    for (int i = 1; i < kZoneCount; ++i) table[std::size_t(i)] = ZoneRecord{};
    picture.View().SetRaw(kPictureZones, WriteZoneTable(table));

    for (bool alt : {true, false}) {
        set_.AutomaticAlternativeText = alt;
        ChosenPicture chosen(&picture);
        std::unique_ptr<TKYToggetto> image = AddImmagineNew(set_, chosen);
        ASSERT_TRUE(image);
        // The record's bytes at their offsets (little-endian).
        const auto r = image->Record();
        const auto i16 = [&](int at) { return std::int16_t(r[at] | r[at + 1] << 8); };
        const auto i32 = [&](int at) {
            return std::int32_t(std::uint32_t(r[at]) | std::uint32_t(r[at + 1]) << 8 |
                                std::uint32_t(r[at + 2]) << 16 | std::uint32_t(r[at + 3]) << 24);
        };
        EXPECT_EQ(image->Kind(), K::immagineNew);
        EXPECT_EQ(i32(0), picture.Identifier());
        EXPECT_EQ(r[13], 4);
        EXPECT_EQ(r[14], 0);
        EXPECT_EQ(i16(15), 20);
        EXPECT_EQ(i16(17), 10);
        EXPECT_EQ(i16(19), 20);
        EXPECT_EQ(i16(21), 10);
        EXPECT_EQ(r[23], 0);
        EXPECT_EQ(i32(5), -1);
        EXPECT_EQ(i32(9), -1);
        EXPECT_EQ(ImageRecord(*image).Zone(0), zone);
        const std::string alternative(reinterpret_cast<const char*>(&r[29]), r[28]);
        EXPECT_EQ(alternative, alt ? "un_nome_di_immagine_lungo_oltre_" : "");
    }

    // A new picture is registered when an image is made for it.
    Result<ChosenPicture> fresh =
        PictureFromFile(set_, Path(Write("nuova.bmp", Bmp(4, 4, 99))), "nuova");
    ASSERT_TRUE(fresh && !fresh->Registered());
    std::unique_ptr<TKYToggetto> image = AddImmagineNew(set_, *fresh);
    ASSERT_TRUE(image && fresh->Registered());
    EXPECT_EQ(ImageRecord(*image).Picture(), fresh->Get()->Identifier());
    EXPECT_EQ(set_.ObjectByKind(K::immagine, fresh->Get()->Identifier()), fresh->Get());

    RecordingMessages otherMessages;
    TKYTset other(environment_, otherMessages);
    Result<TKYToggetto*> foreign = other.AddPictureFromFile(Path(Write("altra.bmp", Bmp(3, 3, 5))));
    ChosenPicture chosen(*foreign);
    EXPECT_EQ(AddImmagineNew(set_, chosen), nullptr);
    ASSERT_EQ(messages_.Shown().size(), 1u);
    EXPECT_EQ(messages_.Shown()[0].text, "Different AEHset in AddImmagineNew!");
}

// A picture of another hypertext is copied with its bytes and name; one this hypertext holds
// already is taken instead; only pictures are copied.
TEST_F(PictureRules, PicturesCopiedFromAnotherHypertext) {
    RecordingMessages otherMessages;
    TKYTset other(environment_, otherMessages);
    TKYToggetto& there = **other.AddPictureFromFile(Path(Write("mare.bmp", Bmp(6, 5, 11))));
    const std::string bytes = *there.ContentBytes();

    Result<ChosenPicture> copy = CopyPictureFromOther(set_, there);
    ASSERT_TRUE(copy) << copy.failure().text;
    EXPECT_FALSE(copy->Registered());
    EXPECT_EQ(copy->Get()->Owner(), &set_);
    EXPECT_EQ(copy->Get()->Name(), "mare");
    EXPECT_EQ(*copy->Get()->ContentBytes(), bytes);
    TKYToggetto* registered = copy->Register(set_);

    Result<ChosenPicture> again = CopyPictureFromOther(set_, there);
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->Registered());
    EXPECT_EQ(again->Get(), registered);

    auto page = NewObjectOfKind(K::testoHtml, &other);
    page->Clear();
    page->TakeIntoUse();
    EXPECT_FALSE(CopyPictureFromOther(set_, *page));
}

// The fields of the properties window: a new image's text, percent both ways, an alignment
// out of range, a picture of no size, and the IMG parameters' stream with its header kept.
TEST_F(PictureRules, ImagePropertiesFields) {
    TKYToggetto& logo = Picture("logo", 1, 200, 100);
    ImagePropertiesRules rules(set_);
    rules.LoadNew(ChosenPicture(&logo));
    EXPECT_EQ(rules.alternativeText, "IMG logo");
    EXPECT_EQ(rules.position, 1);
    EXPECT_EQ(std::make_pair(rules.SizeX(), rules.SizeY()), std::make_pair(200, 100));
    ASSERT_TRUE(rules.SetPercent(true));
    EXPECT_EQ(std::make_pair(rules.SizeX(), rules.SizeY()), std::make_pair(100, 100));
    rules.SetSize(50, 50);
    rules.alternativeText = "Un testo alternativo molto lungo, oltre il limite";
    rules.position = 2;
    rules.border = true;
    std::unique_ptr<TKYToggetto> image = rules.Apply(nullptr);
    ASSERT_TRUE(image);
    ImageRecord record(*image);
    EXPECT_EQ(record.Width(), 100);
    EXPECT_EQ(record.Height(), 50);
    EXPECT_TRUE(record.Percent());
    EXPECT_EQ(record.Alignment(), 5);
    EXPECT_EQ(record.Border(), 1);
    EXPECT_EQ(record.AlternativeText(), "Un testo alternativo molto lungo");
    EXPECT_EQ(record.Picture(), logo.Identifier());
    EXPECT_FALSE(image->Auxiliary().has_value());

    // Loaded again: percent shown, cleared back to pixels.
    ImagePropertiesRules again(set_);
    image->View().SetU8(kImageAlignment, 7);
    const std::string header = std::string("\x03\x00\x00\x00", 4) + "abc";
    image->SetAuxiliary(header + "HSPACE=4");
    again.LoadImage(*image);
    EXPECT_EQ(again.position, 1);
    EXPECT_TRUE(again.Percent());
    EXPECT_EQ(std::make_pair(again.SizeX(), again.SizeY()), std::make_pair(50, 50));
    ASSERT_TRUE(again.SetPercent(false));
    EXPECT_EQ(std::make_pair(again.SizeX(), again.SizeY()), std::make_pair(100, 50));
    EXPECT_EQ(again.ImgParameters(), "HSPACE=4");
    again.SetImgParameters("VSPACE=2");
    again.Apply(image.get());
    EXPECT_EQ(*image->Auxiliary(), header + "VSPACE=2");
    EXPECT_FALSE(ImageRecord(*image).Percent());
    EXPECT_EQ(ImageRecord(*image).Alignment(), 4);

    // A picture without size: no percent, and the shown size stays within 1..32767.
    TKYToggetto& empty = Picture("vuota", 2, 2, 2);
    empty.View().SetI16(kPictureWidth, 0);
    ImagePropertiesRules none(set_);
    none.LoadNew(ChosenPicture(&empty));
    EXPECT_FALSE(none.PercentAllowed());
    EXPECT_FALSE(none.SetPercent(true));
    none.SetSize(0, 40000);
    EXPECT_EQ(none.ShownSize(), std::make_pair(1, 32767));
}

// One picture shown on a hundred pages, replaced from a file: every page shows the new
// picture under the old identifier after a save and a load, no page shows the old bytes; the
// picture given itself changes nothing.
TEST_F(PictureRules, PictureReplacedEverywhereOverAHundredPages) {
    TKYToggetto& old = Picture("vecchia", 21, 12, 9);
    const std::string oldBytes = *old.ContentBytes();
    const std::int32_t oldId = old.Identifier();
    std::vector<std::int32_t> pages;
    TKYToggetto* firstImage = nullptr;
    for (int i = 0; i < 100; ++i) {
        ChosenPicture chosen(&old);
        std::unique_ptr<TKYToggetto> image = AddImmagineNew(set_, chosen);
        TKYToggetto* held = image.get();
        set_.Register(std::move(image));
        if (!firstImage) firstImage = held;
        auto page = NewObjectOfKind(K::testoHtml, &set_);
        page->Clear();
        page->TakeIntoUse();
        page->SetContent("<Z S0 >Pagina " + std::to_string(i) + " <$" + Hex8(held->Code()) + ">" +
                         std::string(1, '\0'));
        pages.push_back(MakeCode(K::testoHtml, set_.Register(std::move(page))));
    }
    std::vector<std::int32_t> shown = PagesShowingPicture(set_, oldId);
    EXPECT_EQ(shown.size(), 100u);

    ImagePropertiesRules self(set_);
    self.LoadImage(*firstImage);
    self.SetReplacement(ChosenPicture(&old));
    EXPECT_FALSE(self.ReplaceEverywhere());
    EXPECT_EQ(*old.ContentBytes(), oldBytes);

    Result<ChosenPicture> replacement =
        PictureFromFile(set_, Path(Write("nuova.bmp", Bmp(30, 16, 77))), "nuova");
    ASSERT_TRUE(replacement);
    const std::string newBytes = *replacement->Get()->ContentBytes();
    ImagePropertiesRules rules(set_);
    rules.LoadImage(*firstImage);
    rules.SetReplacement(std::move(*replacement));
    ASSERT_TRUE(rules.ReplaceEverywhere());
    EXPECT_EQ(std::make_pair(rules.SizeX(), rules.SizeY()), std::make_pair(30, 16));
    rules.Apply(firstImage);

    const std::int32_t firstCode = firstImage->Code();  // a save replaces every object
    const std::string file = Path(TestDir() / "cento.kyt");
    ASSERT_TRUE(set_.SaveToFile(file));
    RecordingMessages readMessages;
    TKYTset read(environment_, readMessages);
    ASSERT_TRUE(read.LoadFromFile(file));
    int images = 0;
    for (std::int32_t code : pages) {
        TKYToggetto* page = read.ObjectByCode(code);
        ASSERT_NE(page, nullptr);
        for (std::int32_t imageCode : ImageCodesOf(*page->ContentBytes())) {
            TKYToggetto* image = read.ObjectByCode(imageCode);
            ASSERT_NE(image, nullptr);
            TKYToggetto* picture = ImagePictureObject(read, *image);
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(picture->Identifier(), oldId);
            const std::string bytes = *picture->ContentBytes();
            EXPECT_EQ(bytes, newBytes);
            EXPECT_NE(bytes, oldBytes);
            // Each image shows the new picture at its size, as the page on screen does.
            const ImageRecord record(*image);
            EXPECT_EQ(std::make_pair(record.NaturalWidth(), record.NaturalHeight()),
                      std::make_pair(std::int16_t(30), std::int16_t(16)));
            EXPECT_EQ(std::make_pair(record.Width(), record.Height()),
                      std::make_pair(std::int16_t(30), std::int16_t(16)));
            ++images;
        }
    }
    EXPECT_EQ(images, 100);
    for (const auto& picture : read.KindList(K::immagine)) {
        if (picture->IsFree()) continue;
        EXPECT_NE(*picture->ContentBytes(), oldBytes);
    }
    EXPECT_EQ(ImageRecord(*read.ObjectByCode(firstCode)).Width(), 30);
}

// A picture replaced everywhere resizes every image that shows it, and each image's clickable
// zones follow its own old size to the new one: images shown at full and at half size, the
// image being edited whether the hypertext holds it or not (scaled once, never given the
// picture's zones), empty slots left empty, an image of another picture untouched.
TEST_F(PictureRules, ZonesScaleWithTheImagesOfAReplacedPicture) {
    TKYToggetto& old = Picture("mappa", 5, 20, 10);
    TKYToggetto& other = Picture("altra", 6, 20, 10);
    auto image = [&](TKYToggetto& picture, int w, int h, ZoneRecord zone, bool registered) {
        ChosenPicture chosen(&picture);
        std::unique_ptr<TKYToggetto> made = AddImmagineNew(set_, chosen);
        ImageRecord record(*made);
        record.SetSize(std::int16_t(w), std::int16_t(h));
        record.SetZone(0, zone);
        if (!registered) return made;
        set_.Register(std::move(made));
        return std::unique_ptr<TKYToggetto>();
    };
    auto last = [&] { return set_.KindList(K::immagineNew).back().get(); };
    auto zone = [](std::int16_t l, std::int16_t t, std::int16_t w, std::int16_t h) {
        return ZoneRecord{7, 0, l, t, w, h};
    };
    image(old, 20, 10, zone(2, 1, 10, 5), true);
    TKYToggetto* full = last();
    image(old, 10, 5, zone(1, 1, 4, 2), true);
    TKYToggetto* half = last();
    image(other, 20, 10, zone(2, 1, 10, 5), true);
    TKYToggetto* unrelated = last();
    std::unique_ptr<TKYToggetto> loose = image(old, 20, 10, zone(2, 1, 10, 5), false);

    struct Step {
        const char* file;
        int w, h;
        TKYToggetto* edited;  // none: the loose image
        ZoneRecord full, half, loose;
    };
    const Step steps[] = {
        {"tripla.bmp", 60, 40, nullptr, zone(6, 4, 30, 20), zone(6, 8, 24, 16), zone(6, 4, 30, 20)},
        {"meta.bmp", 30, 20, full, zone(3, 2, 15, 10), zone(3, 4, 12, 8), zone(6, 4, 30, 20)},
    };
    int seed = 40;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.file);
        Result<ChosenPicture> replacement =
            PictureFromFile(set_, Path(Write(step.file, Bmp(step.w, step.h, ++seed))), "nuova");
        ASSERT_TRUE(replacement);
        TKYToggetto* edited = step.edited ? step.edited : loose.get();
        ImagePropertiesRules rules(set_);
        rules.LoadImage(*edited);
        rules.SetReplacement(std::move(*replacement));
        ASSERT_TRUE(rules.ReplaceEverywhere());
        EXPECT_EQ(rules.Apply(edited), nullptr);
        for (auto [object, expected] : {std::pair{full, step.full}, std::pair{half, step.half},
                                        std::pair{loose.get(), step.loose}}) {
            const ImageRecord record(*object);
            EXPECT_EQ(record.Zone(0), expected) << record.Zone(0).left << "," << record.Zone(0).top;
            EXPECT_TRUE(record.Zone(1).Empty());
            EXPECT_EQ(record.ZoneCount(), 1);
        }
        EXPECT_EQ(ImageRecord(*full).Width(), step.w);
        EXPECT_EQ(ImageRecord(*half).Height(), step.h);
        EXPECT_EQ(ImageRecord(*unrelated).Zone(0), zone(2, 1, 10, 5));
        EXPECT_EQ(ImageRecord(*unrelated).Width(), 20);
    }
    EXPECT_EQ(ImageRecord(*loose).Width(), 60);
    EXPECT_TRUE(messages_.Shown().empty());
}

}  // namespace
}  // namespace orvo::test

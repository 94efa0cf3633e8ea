// Pictures in RTF: GIF and JPEG drawn into a metafile holding their bitmap, WMF copied without
// its placeable header, EMF as an enhanced metafile, and the bitmap files of the help variant.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/ByteReader.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/RtfExport.h"
#include "model/ObjectRecord.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "picture/BmpReader.h"
#include "picture/GifCodec.h"
#include "picture/WmfBitmap.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::test;
using K = TOggettiHel;

Bitmap Checks(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.Set(x, y, (x + y) % 2 ? Rgb{200, 30, 40} : Rgb{10, 120, 250});
    return b;
}

std::string Unhex(std::string_view hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        std::uint32_t v = 0;
        ParseHex(hex.substr(i, 2), 2, v);
        out += char(v);
    }
    return out;
}

class RtfPictureTest : public ::testing::Test {
protected:
    RtfPictureTest() : set_(environment_, messages_), rtf_(&set_, metrics_) {}

    // An image object on a page showing the picture file `name` with `bytes`, at w x h.
    TKYToggetto& Image(const std::string& name, const std::string& bytes, int w, int h) {
        WriteFile(TestDir() / "src" / name, bytes);
        Result<TKYToggetto*> picture =
            set_.AddPictureFromFile(NameOfPath(TestDir() / "src" / name));
        EXPECT_TRUE(picture) << (picture ? "" : picture.failure().text);
        auto made = NewObjectOfKind(K::immagineNew, &set_);
        made->Clear();
        made->TakeIntoUse();
        RecordView r = made->View();
        r.SetI32(kImagePicture, picture ? (*picture)->Identifier() : -1);
        r.SetI16(kImageWidth, std::int16_t(w));
        r.SetI16(kImageHeight, std::int16_t(h));
        const std::int32_t id = set_.Register(std::move(made));
        return *set_.ObjectByKind(K::immagineNew, id);
    }
    std::string Code(const TKYToggetto& object) {
        return "<$" + Hex8(std::uint32_t(object.Code())) + ">";
    }
    // The hex digits of the first picture group and its control words.
    std::pair<std::string, std::string> Pict(const std::string& body) {
        const std::size_t start = body.find("{{\\pict");
        if (start == std::string::npos) return {};
        const std::size_t space = body.find(' ', body.find("\\pichgoal", start));
        std::size_t data = space + 1;
        if (body.compare(data, 7, "\\picbmp") == 0) data += 8;
        const std::size_t end = body.find("}}", data);
        return {body.substr(start, data - start), body.substr(data, end - data)};
    }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    FixedMetrics metrics_;
    TKYTset set_;
    TKYTtortf rtf_;
};

TEST_F(RtfPictureTest, GifIsDrawnIntoAMetafileOfTheImageSize) {
    const Bitmap pixels = Checks(5, 3);
    Result<std::string> gif = BitmapToGif(pixels, false);
    ASSERT_TRUE(gif);
    TKYToggetto& image = Image("a.gif", *gif, 20, 12);
    const std::string body = rtf_.WriteRtfBody("<Z S0 >x" + Code(image) + "y", rpPage);
    // 20 x 12 pixels at 96 per inch: 5292 x 3175 thousandths of a millimetre, 300 x 180 twips.
    const auto [words, hex] = Pict(body);
    EXPECT_EQ(words, "{{\\pict\\wmetafile8\\picw300\\pich180\\picwgoal300\\pichgoal180 \\picbmp ");
    EXPECT_EQ(hex.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_NE(body.find("x{{\\pict"), std::string::npos);
    EXPECT_NE(body.find(hex + "}}y"), std::string::npos);
    // The digits are a WMF without its placeable header, whose bitmap is the GIF's.
    const std::string wmf = Unhex(hex);
    EXPECT_FALSE(IsPlaceableWmf(wmf));
    Result<Bitmap> back = ReadWmfBitmap(wmf);
    ASSERT_TRUE(back) << back.failure().text;
    ASSERT_EQ(back->width, 5);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(back->ColourAt(x, y), pixels.ColourAt(x, y));
}

TEST_F(RtfPictureTest, MetafilesAreCopied) {
    // A placeable WMF of 2 x 1 inches at 1440 units: the 22 bytes go, the rest is copied.
    std::string wmf = WriteBitmapWmf(Checks(2, 2), 2880, 1440, 1440);
    TKYToggetto& placeable = Image("p.wmf", wmf, 10, 10);
    auto [words, hex] = Pict(rtf_.WriteRtfBody("<Z S0 >" + Code(placeable), rpPage));
    EXPECT_EQ(words, "{{\\pict\\wmetafile8\\picw2880\\pich1440\\picwgoal2880\\pichgoal1440 ");
    EXPECT_EQ(Unhex(hex), wmf.substr(kPlaceableHeaderSize));
    // A WMF without the placeable header keeps all its bytes: its first records are not cut.
    const std::string plain = wmf.substr(kPlaceableHeaderSize);
    TKYToggetto& bare = Image("b.wmf", plain, 10, 10);
    std::tie(words, hex) = Pict(rtf_.WriteRtfBody("<Z S0 >" + Code(bare), rpPage));
    EXPECT_EQ(Unhex(hex), plain);
    // An EMF is labelled as one, its frame (0.01 mm) giving the size.
    std::string emf(88, '\0');
    {
        std::string head;
        ByteWriter w(head);
        w.U32(1);
        w.U32(88);
        for (int v : {0, 0, 99, 49}) w.I32(v);      // bounds, pixels
        for (int v : {0, 0, 2540, 1270}) w.I32(v);  // frame: 1 x 0.5 inch
        w.Bytes(" EMF");
        emf.replace(0, head.size(), head);
    }
    TKYToggetto& enhanced = Image("e.emf", emf, 10, 10);
    std::tie(words, hex) = Pict(rtf_.WriteRtfBody("<Z S0 >" + Code(enhanced), rpPage));
    EXPECT_EQ(words, "{{\\pict\\emfblip\\picw1440\\pich720\\picwgoal1440\\pichgoal720 ");
    EXPECT_EQ(Unhex(hex), emf);
}

TEST_F(RtfPictureTest, UnreadablePictureIsReportedOnce) {
    Result<std::string> gif = BitmapToGif(Checks(2, 2), false);
    ASSERT_TRUE(gif);
    TKYToggetto& image = Image("c.gif", *gif, 4, 4);
    // Damage the stored bytes after the picture was added.
    TKYToggetto* picture = set_.ObjectByKind(K::immagine, image.ReadView().I32(kImagePicture));
    ASSERT_NE(picture, nullptr);
    picture->SetContent("GIF89a\x02\x00");
    rtf_.ExportFileName = NameOfPath(TestDir() / "out.rtf");
    auto page = NewObjectOfKind(K::testoHtml, &set_);
    page->Clear();
    page->TakeIntoUse();
    page->SetContent("<Z S0 >a" + Code(image) + "b" + Code(image) + "c" + '\0');
    const std::int32_t id = set_.Register(std::move(page));
    ASSERT_TRUE(rtf_.ExportPages({id}));
    ASSERT_EQ(messages_.Shown().size(), 1u);
    EXPECT_EQ(messages_.Shown()[0].text, "Problemi scrivendo il file temporaneo...");
    EXPECT_NE(ReadFile(TestDir() / "out.rtf").find("abc\\par"), std::string::npos);
    // Each later export reports it again, once.
    messages_.Clear();
    ASSERT_TRUE(rtf_.ExportPage(id));
    EXPECT_EQ(messages_.Shown().size(), 1u);
}

TEST_F(RtfPictureTest, HelpBitmapsStayInTheExportFolder) {
    const Bitmap pixels = Checks(3, 2);
    Result<std::string> gif = BitmapToGif(pixels, false);
    ASSERT_TRUE(gif);
    TKYToggetto& image = Image("foto.gif", *gif, 3, 2);
    TKYToggetto* picture = set_.ObjectByKind(K::immagine, image.ReadView().I32(kImagePicture));
    ASSERT_NE(picture, nullptr);
    // A stored name that climbs out of the folder: only its last component is used.
    picture->SetFileName("..\\..\\fuori\\Foto \xE8.gif");
    auto page = NewObjectOfKind(K::testoHtml, &set_);
    page->Clear();
    page->TakeIntoUse();
    page->SetContent("<Z S0 >" + Code(image) + Code(image) + '\0');
    PageRecord(*page).SetTitle("Foto");
    const std::int32_t id = set_.Register(std::move(page));
    std::filesystem::create_directories(TestDir() / "help" / "a" / "b");
    rtf_.ExportFileName = NameOfPath(TestDir() / "help" / "a" / "b" / "guida.rtf");
    ASSERT_TRUE(rtf_.ExportHelp({id}));
    const std::string rtf = ReadFile(TestDir() / "help" / "a" / "b" / "guida.rtf");
    EXPECT_NE(rtf.find("\\{bmc Foto \\'e8.bmp\\}\\{bmc Foto \\'e8.bmp\\}"), std::string::npos)
        << rtf;
    EXPECT_EQ(rtf.find("\\pict"), std::string::npos);
    const std::filesystem::path bmp = TestDir() / "help" / "a" / "b" / NativePath("Foto \xE8.bmp");
    ASSERT_TRUE(std::filesystem::exists(bmp));
    EXPECT_FALSE(std::filesystem::exists(TestDir() / "help" / "fuori"));
    Result<Picture> written = DecodeBmp(ReadFile(bmp));
    ASSERT_TRUE(written);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(written->pixels.ColourAt(x, y), pixels.ColourAt(x, y));
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(RtfPictureTest, LibreOfficeShowsTheDrawnPicture) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "no LibreOffice";
    Result<std::string> gif = BitmapToGif(Checks(8, 6), false);
    ASSERT_TRUE(gif);
    TKYToggetto& image = Image("lo.gif", *gif, 64, 48);
    auto page = NewObjectOfKind(K::testoHtml, &set_);
    page->Clear();
    page->TakeIntoUse();
    page->SetContent("<Z S0 >prima" + Code(image) + "dopo" + '\0');
    const std::int32_t id = set_.Register(std::move(page));
    rtf_.ExportFileName = NameOfPath(TestDir() / "figura.rtf");
    ASSERT_TRUE(rtf_.ExportPages({id}));
    const std::string profile = (TestDir() / "lo-profile").string();
    const std::string command =
        "timeout 300 soffice --headless --norestore -env:UserInstallation=file://" + profile +
        " --convert-to odt --outdir '" + TestDir().string() + "' '" +
        (TestDir() / "figura.rtf").string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_TRUE(std::filesystem::exists(TestDir() / "figura.odt"));
    // The document holds our metafile, shown at the image's size: 64 x 48 pixels at 96 per
    // inch are two thirds by one half of an inch.
    const std::string list = TestDir() / "list.txt";
    const std::string python =
        "/usr/bin/python3 -c \"import sys,zipfile,re; z=zipfile.ZipFile(sys.argv[1]); "
        "print(sum(n.endswith('.wmf') for n in z.namelist())); "
        "c=z.read('content.xml').decode(); "
        "w,h=re.findall(r'svg:width=.([0-9.]+)in. svg:height=.([0-9.]+)in', c)[0]; "
        "print(round(float(w),2), round(float(h),2))\" '" +
        (TestDir() / "figura.odt").string() + "' > '" + list + "'";
    ASSERT_EQ(std::system(python.c_str()), 0);
    EXPECT_EQ(ReadFile(list), "1\n0.67 0.5\n");
}

}  // namespace
}  // namespace orvo

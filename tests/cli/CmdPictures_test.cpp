// Pictures shown in a page's text through the built program: orvo-cli addpicture --page places
// an image, orvo-cli zones lists and adds its clickable zones, the export writes them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "picture/GifCodec.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using ::testing::HasSubstr;

ProgramRun Cli(std::vector<std::string> args) {
    ProgramRun run = RunOrvoCli(std::move(args));
    run.out += run.err;
    return run;
}

std::string Gif(int width, int height) {
    Picture p;
    p.format = PictureFormat::Gif;
    p.width = width, p.height = height;
    p.globalPalette = {{0, 0, 0}, {255, 255, 255}};
    GifFrame f;
    f.width = width, f.height = height;
    f.indices.assign(std::size_t(width) * std::size_t(height), 1);
    p.frames = {f};
    return *EncodeGif(p);
}

TEST(CliPictures, PlaceAnImageAddZonesAndExportThem) {
    const std::filesystem::path kyt = TestDir() / "guida.kyt";
    ASSERT_EQ(Cli({"sample", kyt}).status, 0);
    // The sample's map: two zones, the front-most first.
    ProgramRun run = Cli({"zones", kyt, "0"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out,
              "zone 0: 16 20 106 104 -> testoHtml 0 \"Copertina\"\n"
              "zone 1: 134 28 224 100 -> testoHtml 3 \"Che cos'\xC3\xA8 un ipertesto\"\n");

    const std::filesystem::path gif = TestDir() / "logo.gif";
    WriteFile(gif, Gif(60, 40));
    run = Cli({"addpicture", kyt, gif, "--page", "3", "--para", "1", "--char", "0"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_THAT(run.out, HasSubstr("\" subtype 0, "));
    EXPECT_THAT(run.out, HasSubstr("placed immagineNew 2 on page 3\n"));

    run = Cli({"zones", kyt, "2", "--add", "5", "6", "25", "36", "9"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "zone 0: 5 6 25 36 -> testoHtml 9 \"La mappa della guida\"\n");
    run = Cli({"zones", kyt, "2", "--add", "0", "0", "10", "10", "0"});
    EXPECT_EQ(run.out,
              "zone 0: 0 0 10 10 -> testoHtml 0 \"Copertina\"\n"
              "zone 1: 5 6 25 36 -> testoHtml 9 \"La mappa della guida\"\n");

    // The page's file shows the image at the start of its second paragraph, with its map.
    const std::filesystem::path site = TestDir() / "sito";
    run = Cli({"export", "html", kyt, site});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "");
    const std::string page = ReadFile(site / "guida_000003.html");
    EXPECT_THAT(page, HasSubstr("<MAP NAME=ma000002 >\r\n<AREA COORDS=0,0,10,10 HREF=\"guida_index."
                                "html\"   ALT=\"Copertina\" TITLE=\"Copertina\">\r\n<AREA "
                                "COORDS=5,6,25,36 HREF=\"guida_000009.html\"   "));
    EXPECT_THAT(page, HasSubstr("<IMG SRC=\"guida_i000003.gif\" BORDER=0 ALIGN=MIDDLE ALT=\"\" "
                                "USEMAP=#ma000002 WIDTH=60 HEIGHT=40  >Un ipertesto"));
    EXPECT_TRUE(ReadFile(site / "guida_i000003.gif").starts_with("GIF89a"));

    // Refusals: the page, the place, the rectangle, the link, the thirtieth-first zone.
    EXPECT_THAT(Cli({"addpicture", kyt, gif, "--page", "77"}).out,
                HasSubstr("the hypertext has no page 77"));
    EXPECT_THAT(Cli({"addpicture", kyt, gif, "--page", "3", "--para", "40"}).out,
                HasSubstr("page 3: the page has 6 paragraphs (0 to 5)"));
    EXPECT_THAT(Cli({"addpicture", kyt, gif, "--para", "1"}).out,
                HasSubstr("--para and --char need --page"));
    EXPECT_THAT(Cli({"zones", kyt, "2", "--add", "9", "0", "3", "10", "0"}).out,
                HasSubstr("X1 Y1 X2 Y2 must be a rectangle"));
    EXPECT_THAT(Cli({"zones", kyt, "2", "--add", "0", "0", "3", "10", "400"}).out,
                HasSubstr("the hypertext has no page 400"));
    EXPECT_THAT(Cli({"zones", kyt, "7"}).out, HasSubstr("the hypertext has no image 7"));
    for (int i = 2; i < 30; ++i)
        ASSERT_EQ(Cli({"zones", kyt, "2", "--add", "0", "0", "3", "3", "0"}).status, 0);
    run = Cli({"zones", kyt, "2", "--add", "0", "0", "3", "3", "0"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.out, HasSubstr("the image holds 30 zones already"));
}

}  // namespace
}  // namespace orvo::test

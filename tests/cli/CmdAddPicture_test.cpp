// orvo-cli addpicture, and the pictures in orvo-cli dump, run as the built program.
#include <sys/wait.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/ByteReader.h"
#include "picture/GifCodec.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using ::testing::HasSubstr;

struct Output {
    int status = -1;
    std::string out;
};

// Runs a command line (paths quoted by the caller) and collects standard output and error.
Output Shell(const std::string& command) {
    Output result;
    if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
        const int status = pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return result;
}

std::string Quoted(const std::filesystem::path& p) {
    return "'" + p.string() + "'";
}

Output Cli(const std::string& args) {
    return Shell(ORVO_BINARY_DIR "/cli/orvo-cli " + args);
}

std::string SmallGif(int width) {
    Picture p;
    p.format = PictureFormat::Gif;
    p.width = width, p.height = 2;
    p.globalPalette = {{0, 0, 0}, {255, 255, 255}};
    GifFrame f;
    f.width = width, f.height = 2;
    f.indices.assign(std::size_t(width) * 2, 1);
    p.frames = {f};
    return *EncodeGif(p);
}

std::string RedBmp(int width, int height) {
    std::string out = "BM";
    ByteWriter w(out);
    const std::uint32_t stride = (std::uint32_t(width) * 3 + 3) / 4 * 4;
    w.U32(54 + stride * height), w.U32(0), w.U32(54), w.U32(40), w.I32(width), w.I32(height);
    w.U16(1), w.U16(24), w.U32(0), w.U32(stride * height), w.I32(0), w.I32(0), w.U32(0), w.U32(0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) w.U8(0), w.U8(0), w.U8(255);
        for (std::uint32_t i = std::uint32_t(width) * 3; i < stride; ++i) w.U8(0);
    }
    return out;
}

TEST(CliAddPicture, AddsPicturesOnceSavesAndDumpListsThem) {
    const auto book = TestDir() / "Libro.kyt";
    ASSERT_EQ(Cli("new " + Quoted(book)).status, 0);
    const auto gif = TestDir() / "logo.gif";
    const auto bmp = TestDir() / "rosso.bmp";
    WriteFile(gif, SmallGif(5));
    WriteFile(bmp, RedBmp(7, 3));

    const Output run = Cli("addpicture " + Quoted(book) + " " + Quoted(gif) + " " + Quoted(bmp) +
                           " " + Quoted(gif));
    ASSERT_EQ(run.status, 0) << run.out;
    const std::string gifSize = std::to_string(SmallGif(5).size());
    EXPECT_THAT(run.out,
                HasSubstr("added immagine 0 \"logo\" subtype 0, " + gifSize + " bytes, 5 x 2\n"));
    EXPECT_THAT(run.out, HasSubstr("added immagine 1 \"rosso\" subtype 0, "));
    EXPECT_THAT(run.out, HasSubstr("already held immagine 0 \"logo\""));

    const Output dump = Cli("dump " + Quoted(book));
    ASSERT_EQ(dump.status, 0) << dump.out;
    const auto json = TestDir() / "dump.json";
    WriteFile(json, dump.out);
    const Output check = Shell(
        "/usr/bin/python3 -c \"import json,sys\n"
        "d=json.load(open(sys.argv[1]))\n"
        "p=[o for o in d['objects'] if o['kind']==5]\n"
        "assert d['kinds'][5]==2, d['kinds']\n"
        "assert p[0]['name']=='logo' and p[0]['subtype']==0 and p[0]['size']==" +
        gifSize +
        " and p[0]['width']==5 and p[0]['height']==2, p[0]\n"
        "assert p[1]['name']=='rosso' and p[1]['width']==7 and p[1]['height']==3, p[1]\n"
        "print('ok')\" " +
        Quoted(json));
    EXPECT_EQ(check.out, "ok\n");
}

TEST(CliAddPicture, AFailingPictureLeavesTheFileAsItWas) {
    const auto book = TestDir() / "Libro.kyt";
    ASSERT_EQ(Cli("new " + Quoted(book)).status, 0);
    const std::string before = ReadFile(book);
    const auto gif = TestDir() / "logo.gif";
    WriteFile(gif, SmallGif(4));
    const auto text = TestDir() / "note.txt";
    WriteFile(text, "not a picture");
    const Output run = Cli("addpicture " + Quoted(book) + " " + Quoted(gif) + " " + Quoted(text));
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.out, HasSubstr("note.txt"));
    EXPECT_EQ(ReadFile(book), before);
    EXPECT_EQ(Cli("addpicture " + Quoted(book)).status, 1);  // no picture named
    EXPECT_THAT(Cli("addpicture --help").out, HasSubstr("Usage: orvo-cli addpicture FILE.kyt"));
}

}  // namespace
}  // namespace orvo::test

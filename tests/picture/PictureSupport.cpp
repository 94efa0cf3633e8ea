// Helpers for the picture tests.
#include "PictureSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "support/TestSupport.h"

namespace orvo::test {

namespace {

std::string Quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

const char kProbe[] = R"(
import sys
from PIL import Image
im = Image.open(sys.argv[1])
frames = getattr(im, "n_frames", 1)
t = im.info.get("transparency", -1)
if not isinstance(t, int): t = -1
print(im.format, im.size[0], im.size[1], frames, im.mode, t)
)";

const char kPixels[] = R"(
import sys
from PIL import Image
im = Image.open(sys.argv[1])
im.seek(int(sys.argv[2]))
open(sys.argv[3], "wb").write(im.convert("RGBA").tobytes())
print(im.size[0], im.size[1])
)";

}  // namespace

std::string RunPython(std::string_view script, const std::vector<std::string>& args) {
    static int counter = 0;
    const auto path = TestDir() / ("script" + std::to_string(++counter) + ".py");
    WriteFile(path, script);
    std::string command = "/usr/bin/python3 " + Quoted(path.string());
    for (const std::string& a : args) command += " " + Quoted(a);
    command += " 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return {};
    }
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    const int status = pclose(pipe);
    if (status != 0) ADD_FAILURE() << "python failed (" << status << "): " << output;
    return output;
}

PilInfo PilRead(const std::filesystem::path& file) {
    std::istringstream out(RunPython(kProbe, {file.string()}));
    PilInfo info;
    out >> info.format >> info.width >> info.height >> info.frames >> info.mode >>
        info.transparency;
    return info;
}

Bitmap PilPixels(const std::filesystem::path& file, int frame) {
    const auto raw = TestDir() / "pil-pixels.raw";
    std::istringstream out(
        RunPython(kPixels, {file.string(), std::to_string(frame), raw.string()}));
    Bitmap bitmap;
    out >> bitmap.width >> bitmap.height;
    const std::string bytes = ReadFile(raw);
    bitmap.rgba.assign(bytes.begin(), bytes.end());
    EXPECT_EQ(bitmap.rgba.size(), std::size_t(bitmap.width) * bitmap.height * 4);
    return bitmap;
}

Bitmap Gradient(int width, int height) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            b.Set(x, y,
                  {std::uint8_t(x * 255 / std::max(1, width - 1)),
                   std::uint8_t(y * 255 / std::max(1, height - 1)),
                   std::uint8_t((x + y) * 127 / std::max(1, width + height - 2) + 64)});
        }
    }
    return b;
}

Bitmap Bands(int width, int height, const std::vector<Rgb>& colours) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) b.Set(x, y, colours[(x + 2 * y) % colours.size()]);
    }
    return b;
}

int MaxChannelDifference(const Bitmap& a, const Bitmap& b) {
    if (a.width != b.width || a.height != b.height || a.rgba.size() != b.rgba.size()) return -1;
    int worst = 0;
    for (std::size_t i = 0; i < a.rgba.size(); ++i) {
        if (i % 4 == 3) continue;
        worst = std::max(worst, std::abs(int(a.rgba[i]) - int(b.rgba[i])));
    }
    return worst;
}

double MeanChannelDifference(const Bitmap& a, const Bitmap& b) {
    if (a.rgba.size() != b.rgba.size() || a.rgba.empty()) return 1e9;
    double sum = 0;
    for (std::size_t i = 0; i < a.rgba.size(); ++i) {
        if (i % 4 != 3) sum += std::abs(int(a.rgba[i]) - int(b.rgba[i]));
    }
    return sum / (double(a.rgba.size()) * 3 / 4);
}

}  // namespace orvo::test

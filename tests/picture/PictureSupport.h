// Helpers for the picture tests: PIL (run with /usr/bin/python3) as an independent reader and
// maker of pictures, and bitmaps to feed the encoders.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "picture/Picture.h"

namespace orvo::test {

/// Runs a Python script with Debian's Python (which sees PIL) and returns what it printed;
/// fails the test when the script fails.
std::string RunPython(std::string_view script, const std::vector<std::string>& args = {});

/// What PIL says about a picture file: format, size, frame count, mode, transparency.
struct PilInfo {
    std::string format;
    int width = 0;
    int height = 0;
    int frames = 0;
    std::string mode;
    int transparency = -1;  // the GIF's transparent index of the first frame, -1 none
};
PilInfo PilRead(const std::filesystem::path& file);

/// The RGBA pixels PIL decodes for frame `frame` (converted with PIL's "RGBA").
Bitmap PilPixels(const std::filesystem::path& file, int frame = 0);

/// A bitmap with a smooth gradient: far more than 256 colours.
Bitmap Gradient(int width, int height);
/// A bitmap of a few flat colour bands.
Bitmap Bands(int width, int height, const std::vector<Rgb>& colours);

/// The largest difference of any colour channel between two bitmaps of the same size, ignoring
/// alpha; -1 when the sizes differ.
int MaxChannelDifference(const Bitmap& a, const Bitmap& b);
/// The mean absolute difference per colour channel.
double MeanChannelDifference(const Bitmap& a, const Bitmap& b);

}  // namespace orvo::test

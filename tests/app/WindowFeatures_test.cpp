// The window-feature record of a separate-window link, written out by hand.
#include "app/WindowFeatures.h"

#include <gtest/gtest.h>

#include <string>

namespace orvo {
namespace {

std::string Record(std::initializer_list<int> values, std::string flags) {
    std::string bytes;
    for (int v : values) {
        const auto u = std::uint16_t(std::int16_t(v));
        bytes += char(u & 0xFF);
        bytes += char(u >> 8);
    }
    return bytes + flags;
}

TEST(WindowFeatures, ReadsPositionSizeAndOptions) {
    // top 40, left 300, width 640, height 480, screenX and screenY not set (-20000 is E0 B1);
    // an unused byte, dependent, an unused byte, then menubar, resizable and status on.
    const std::string bytes =
        Record({40, 300, 640, 480, -20000, -20000}, std::string("\0\1\0\0\0\1\1\0\1\0", 10));
    ASSERT_EQ(bytes.size(), kWindowFeaturesSize);
    EXPECT_EQ(std::uint8_t(bytes[8]), 0xE0);
    EXPECT_EQ(std::uint8_t(bytes[9]), 0xB1);
    const WindowFeatures f = ReadWindowFeatures(bytes);
    EXPECT_EQ(f.top, 40);
    EXPECT_EQ(f.left, 300);
    EXPECT_EQ(f.width, 640);
    EXPECT_EQ(f.height, 480);
    EXPECT_FALSE(f.screenX.has_value());
    EXPECT_FALSE(f.screenY.has_value());
    EXPECT_TRUE(f.dependent);
    EXPECT_FALSE(f.fullscreen);
    EXPECT_FALSE(f.location);
    EXPECT_TRUE(f.menubar);
    EXPECT_TRUE(f.resizable);
    EXPECT_FALSE(f.scrollbars);
    EXPECT_TRUE(f.status);
    EXPECT_FALSE(f.toolbar);
}

TEST(WindowFeatures, ShortOrHostileContentSetsOnlyWhatItReaches) {
    EXPECT_EQ(ReadWindowFeatures(""), WindowFeatures{});
    // Three bytes: the top only; the left's second byte is missing.
    const WindowFeatures cut = ReadWindowFeatures(std::string("\x10\x00\x05", 3));
    EXPECT_EQ(cut.top, 16);
    EXPECT_FALSE(cut.left.has_value());
    EXPECT_FALSE(cut.width.has_value());
    // Negative and zero sizes are not sizes; a negative position is kept (a screen to the
    // left); bytes past the record change nothing.
    const WindowFeatures odd =
        ReadWindowFeatures(Record({-5, -30, 0, -1}, "") + std::string(40, '\xFF'));
    EXPECT_EQ(odd.top, -5);
    EXPECT_EQ(odd.left, -30);
    EXPECT_FALSE(odd.width.has_value());
    EXPECT_FALSE(odd.height.has_value());
    EXPECT_EQ(odd.screenX, -1);  // the filler's 0xFFFF
    EXPECT_TRUE(odd.toolbar);
}

}  // namespace
}  // namespace orvo

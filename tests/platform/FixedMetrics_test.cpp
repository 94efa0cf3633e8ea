// The headless measurer's documented metrics, and pair measuring through the interface.
#include "platform/FixedMetrics.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvo {
namespace {

TEST(FixedMetricsMeasuring, WidthsHeightsAndAscentsFollowTheSize) {
    FixedMetrics metrics;
    const TMyFont times12{"Times New Roman", 0, 0, 12, 0};
    EXPECT_EQ(metrics.Extent(times12, "abcd"), 24);
    EXPECT_EQ(metrics.Extent({"Arial", 0, 0, 10, 0}, "abc"), 15);
    EXPECT_EQ(metrics.Extent({"Arial", kFontBold, 0, 10, 0}, "abc"), 18);
    EXPECT_EQ(metrics.Metrics(times12), (TextMetrics{15, 12}));
    EXPECT_EQ(metrics.Metrics({"Arial", 0, 0, 0, 0}), (TextMetrics{0, 0}));
    EXPECT_EQ(metrics.Extent({"Arial", 0, 0, -5, 0}, "abc"), 0);
    // A size above 1,000,000 measures as 1,000,000 (500,000 px a byte); a sum past the int
    // range is held at its end.
    const TMyFont huge{"Arial", 0, 0, 2147483647, 0};
    EXPECT_EQ(metrics.Extent(huge, std::string(100, 'a')), 50000000);
    EXPECT_EQ(metrics.Metrics(huge), (TextMetrics{1250000, 1000000}));
    EXPECT_EQ(metrics.Extent(huge, std::string(5000, 'a')), 2147483647);
}

TEST(FixedMetricsMeasuring, PairWidthAgreesWithTheExtentsOfThePair) {
    class ExtentOnly final : public ITextMeasurer {
    public:
        // A face with kerning: "AV" is 2 px narrower than its letters.
        std::int32_t Extent(const TMyFont&, std::string_view text) override {
            std::int32_t width = std::int32_t(text.size()) * 10;
            if (text.find("AV") != std::string_view::npos) width -= 2;
            return width;
        }
        TextMetrics Metrics(const TMyFont&) override { return {}; }
        bool IsInstalled(std::string_view) override { return true; }
        FontPitch Pitch(const TMyFont&) override { return FontPitch::Variable; }
        FontFamily Family(const TMyFont&) override { return FontFamily::DontCare; }
    } kerned;
    const TMyFont font;
    EXPECT_EQ(kerned.PairWidth(font, -1, 'V'), 10);
    EXPECT_EQ(kerned.PairWidth(font, 'A', 'V'), 8);
    std::int32_t widths[4];
    kerned.RunWidths(font, 'A', "VAVx", widths);
    EXPECT_EQ(std::vector<std::int32_t>(widths, widths + 4),
              (std::vector<std::int32_t>{8, 10, 8, 10}));
    FixedMetrics fixed;
    fixed.RunWidths({"Arial", kFontBold, 0, 12, 0}, -1, "abc", widths);
    EXPECT_EQ(std::vector<std::int32_t>(widths, widths + 3), (std::vector<std::int32_t>{7, 7, 7}));
    EXPECT_EQ(
        fixed.PairWidth({"Arial", 0, 0, 12, 0}, 'A', 'V'),
        fixed.Extent({"Arial", 0, 0, 12, 0}, "AV") - fixed.Extent({"Arial", 0, 0, 12, 0}, "A"));
}

TEST(FixedMetricsMeasuring, FacesPitchesAndFamilies) {
    FixedMetrics metrics;
    EXPECT_TRUE(metrics.IsInstalled("Courier New"));
    EXPECT_FALSE(metrics.IsInstalled("Comic Sans MS"));
    EXPECT_EQ(metrics.Pitch({"Courier New", 0, 0, 10, 0}), FontPitch::Fixed);
    EXPECT_EQ(metrics.Family({"Courier New", 0, 0, 10, 0}), FontFamily::Modern);
    EXPECT_EQ(metrics.Family({"Arial", 0, 0, 10, 0}), FontFamily::Swiss);
    EXPECT_EQ(metrics.Family({"Times New Roman", 0, 0, 10, 0}), FontFamily::Roman);
    FixedMetrics only({"Verdana"});
    EXPECT_TRUE(only.IsInstalled("Verdana"));
    EXPECT_FALSE(only.IsInstalled("Arial"));
}

}  // namespace
}  // namespace orvo

// Rectangles and the recording canvas that painting tests read.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/FixedMetrics.h"
#include "platform/RecordingCanvas.h"

namespace orvo {
namespace {

using ::testing::ElementsAre;

TEST(Rects, IntersectAndContainWithTheirRightAndBottomOutside) {
    const Rect a{0, 0, 10, 10}, b{10, 0, 20, 10}, c{5, 5, 15, 15};
    EXPECT_FALSE(a.Intersects(b));  // they touch, and share no pixel
    EXPECT_TRUE(a.Intersects(c));
    EXPECT_EQ(a.Intersection(c), (Rect{5, 5, 10, 10}));
    EXPECT_TRUE(a.Intersection(b).Empty());
    EXPECT_TRUE(a.Contains({9, 9}));
    EXPECT_FALSE(a.Contains({10, 9}));
    EXPECT_EQ(c.Offset(-5, 2), (Rect{0, 7, 10, 17}));
    EXPECT_EQ(PlainColour(0x020000FF), 0x000000FF);
}

TEST(RecordingCanvases, RecordTextWithItsFontColourBackgroundAndCell) {
    FixedMetrics metrics;
    RecordingCanvas canvas(metrics);
    TMyFont font;
    font.name = "Arial";
    font.size = 12;
    font.colour = 0x00112233;
    canvas.SetFont(font);
    canvas.TextOut(5, 7, "abc");
    canvas.SetTextColour(0x00FFFFFF);
    canvas.SetTextBackground(0x00D77800);
    canvas.SetExtraWidthPerByte(2);
    canvas.TextOut(30, 7, "de");
    const auto texts = canvas.OpsOf(CanvasOpKind::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].area, (Rect{5, 7, 5 + 18, 7 + 15}));
    EXPECT_EQ(texts[0].colour, 0x00112233);
    EXPECT_FALSE(texts[0].background.has_value());
    EXPECT_EQ(texts[1].area.Width(), 2 * 6 + 2 * 2);
    EXPECT_EQ(texts[1].colour, 0x00FFFFFF);
    EXPECT_EQ(texts[1].background, 0x00D77800);
    EXPECT_EQ(canvas.AllText(), "abcde");
}

TEST(RecordingCanvases, NestedClipsNarrowAndUnwind) {
    FixedMetrics metrics;
    RecordingCanvas canvas(metrics);
    canvas.FillRect({0, 0, 5, 5}, 1);
    {
        ClipGuard outer(canvas, {0, 0, 100, 100});
        ClipGuard inner(canvas, {50, 50, 200, 200});
        canvas.HatchRect({0, 0, 10, 10}, Hatch::BackwardDiagonal, 2);
        EXPECT_EQ(canvas.ClipDepth(), 2u);
    }
    canvas.Line({0, 0}, {4, 0}, Pen{3, LineStyle::Dotted, 4});
    EXPECT_EQ(canvas.ClipDepth(), 0u);
    const auto& ops = canvas.Ops();
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_FALSE(ops[0].clip.has_value());
    EXPECT_EQ(ops[1].clip, (Rect{50, 50, 100, 100}));
    EXPECT_EQ(ops[1].hatch, Hatch::BackwardDiagonal);
    EXPECT_FALSE(ops[2].clip.has_value());
    EXPECT_EQ(ops[2].pen.gapColour, 4);
}

TEST(SystemColours, TheStandardSchemeGivesTheColoursPaintingUses) {
    EXPECT_EQ(SystemColour(kColourHighlightText), 0x00FFFFFF);
    EXPECT_EQ(SystemColour(kColourButtonHighlight), 0x00FFFFFF);
    EXPECT_NE(SystemColour(kColourHighlight), SystemColour(kColourHighlightText));
    EXPECT_NE(SystemColour(kColourButtonShadow), SystemColour(kColourButtonHighlight));
    EXPECT_EQ(SystemColour(99), 0);
}

}  // namespace
}  // namespace orvo

// Painting a box onto the recording canvas.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "LayoutSupport.h"
#include "platform/RecordingCanvas.h"
#include "textbox/UpdateLock.h"

namespace orvo::test {
namespace {

using ::testing::ElementsAre;

constexpr int kByte = 6;

class Painting : public ::testing::Test {
protected:
    void Load(std::string_view body, int clientWidth = 400) {
        host_.SetClientSize(clientWidth, 300);
        box_.LoadText(std::nullopt, Text(body), std::nullopt);
    }
    void PaintAll() {
        canvas_.Clear();
        box_.Paint(canvas_, {0, 0, box_.Width(), box_.Height()});
    }
    std::vector<CanvasOp> TextOps() const { return canvas_.OpsOf(CanvasOpKind::Text); }

    BoxMarkupHost markup_;
    RecordingBoxHost host_;
    TKYTbox box_{markup_, host_};
    RecordingCanvas canvas_{markup_.metrics};
};

TEST_F(Painting, FillsTheAreaWithTheBackColourThenDrawsEachRunOnce) {
    Load("<Z S0 >plain <Y y1 >bold<Y > again");
    box_.backColour = 0x00FFEEDD;
    canvas_.Clear();
    box_.Paint(canvas_, {0, 0, 400, 100});
    ASSERT_FALSE(canvas_.Ops().empty());
    EXPECT_EQ(canvas_.Ops()[0].kind, CanvasOpKind::Fill);
    EXPECT_EQ(canvas_.Ops()[0].area, (Rect{0, 0, 400, 100}));
    EXPECT_EQ(canvas_.Ops()[0].colour, 0x00FFEEDD);
    EXPECT_THAT(canvas_.Texts(), ElementsAre("plain ", "bold", " again"));
    const auto texts = TextOps();
    // Left margin 10; the first paragraph's content top is 8; baseline 8 + 12.
    EXPECT_EQ(texts[0].area.left, 10);
    EXPECT_EQ(texts[0].area.top, 8);
    EXPECT_EQ(texts[1].area.left, 10 + 6 * kByte);
    EXPECT_EQ(texts[1].font.styleBits, kFontBold);
    // Bold is 7 px a byte in the fixed metrics; the next run starts after the stored widths.
    EXPECT_EQ(texts[2].area.left, 10 + 6 * kByte + 4 * 7);
    EXPECT_EQ(texts[2].font.styleBits, 0);
    EXPECT_EQ(texts[0].font.name, "Times New Roman");
    EXPECT_EQ(texts[0].colour, 0);
}

TEST_F(Painting, ATransparentBoxPaintsNoBackground) {
    Load("<Z S0 >x");
    box_.transparent = true;
    PaintAll();
    EXPECT_TRUE(canvas_.OpsOf(CanvasOpKind::Fill).empty());
}

TEST_F(Painting, NothingIsPaintedDuringAnUpdate) {
    Load("<Z S0 >x");
    UpdateLock lock(box_);
    PaintAll();
    EXPECT_TRUE(canvas_.Ops().empty());
}

TEST_F(Painting, OnlyParagraphsThatMeetTheAreaArePainted) {
    Load("<Z S0 >one<Z S0 >two<Z S0 >three");
    const TKYTparag& second = box_.Paragraph(1);
    canvas_.Clear();
    box_.Paint(canvas_, {0, second.top, 400, second.bottom + 1});
    EXPECT_THAT(canvas_.Texts(), ElementsAre("two"));
}

TEST_F(Painting, AFaceThatIsNotInstalledPaintsAsTimesNewRoman) {
    Load("<Z S0 F\"Nessun Font\" >x<Y F\"Arial\" >y");
    PaintAll();
    const auto texts = TextOps();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].font.name, "Times New Roman");
    EXPECT_EQ(texts[1].font.name, "Arial");
}

TEST_F(Painting, LinksAreDrawnWithTheLinkColourSizeAndInvertedStyle) {
    // Link colour C, size S 20 and style Y 1 (bold): bold text in the link becomes normal.
    Load("<Z S0 C00FF00 S20 Y1 >a<$00000001>b<Y y1 >c<%>d");
    PaintAll();
    const auto texts = TextOps();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, "a");
    EXPECT_EQ(texts[1].text, "b");
    EXPECT_EQ(texts[1].colour, 0x0000FF00);
    EXPECT_EQ(texts[1].font.size, 20);
    EXPECT_EQ(texts[1].font.styleBits, kFontBold);
    EXPECT_EQ(texts[2].text, "c");
    EXPECT_EQ(texts[2].font.styleBits, 0);  // bold xor bold
    EXPECT_EQ(texts[3].text, "d");
    EXPECT_EQ(texts[3].colour, 0);
    EXPECT_EQ(texts[3].font.size, 12);
    EXPECT_EQ(texts[3].font.styleBits, kFontBold);
}

TEST_F(Painting, LinksThatKeepTheirSizeKeepTheRunsSize) {
    Load("<Z S0 >a<$00000001><Y s18 >b<%>");
    PaintAll();
    const auto texts = TextOps();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].font.size, 18);
    EXPECT_EQ(texts[1].font.styleBits, kFontUnderline);  // the default link style bits
    EXPECT_EQ(texts[1].colour, 0x00FF0000);              // the default link colour, blue
}

TEST_F(Painting, SubscriptTextIsDrawnHalfAHeightLower) {
    Load("<Z S0 >a<Y p1 >b");
    PaintAll();
    const auto texts = TextOps();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].area.top, texts[0].area.top + 7);
}

TEST_F(Painting, SuperscriptTextIsDrawnHigher) {
    Load("<Z S0 >a<Y p2 >b");
    PaintAll();
    const auto texts = TextOps();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].area.top, texts[0].area.top - 7);
}

TEST_F(Painting, ARunThatDriftsMoreThanFourPixelsIsDrawnCharacterByCharacter) {
    Load("<Z S0 >abcd<Y y1 >efghi");
    canvas_.SetExtraWidthPerByte(1);
    PaintAll();
    // "abcd" drifts by 4: one text-out. "efghi" drifts by 5: one text-out a character, and
    // the fresh widths (8 px) are stored.
    EXPECT_THAT(canvas_.Texts(), ElementsAre("abcd", "e", "f", "g", "h", "i"));
    const auto texts = TextOps();
    EXPECT_EQ(texts[2].area.left - texts[1].area.left, 8);
    EXPECT_EQ(box_.Paragraph(0).metrics[5].width, 8);
    EXPECT_EQ(box_.Paragraph(0).metrics[0].width, kByte);
    // The next painting finds the stored widths in agreement.
    PaintAll();
    EXPECT_THAT(canvas_.Texts(), ElementsAre("abcd", "efghi"));
}

TEST_F(Painting, TheSelectionIsHighlightedWithTheSystemColours) {
    Load("<Z S0 >abcdef<Z S0 >ghi");
    box_.SetSelection(At(0, 2), At(1, 1));
    PaintAll();
    EXPECT_THAT(canvas_.Texts(), ElementsAre("ab", "cdef", "g", "hi"));
    const auto texts = TextOps();
    EXPECT_FALSE(texts[0].background.has_value());
    EXPECT_EQ(texts[1].background, SystemColour(kColourHighlight));
    EXPECT_EQ(texts[1].colour, SystemColour(kColourHighlightText));
    EXPECT_EQ(texts[2].background, SystemColour(kColourHighlight));
    EXPECT_FALSE(texts[3].background.has_value());
    EXPECT_EQ(texts[3].colour, 0);
}

TEST_F(Painting, ASelectionMadeBackwardsPaintsTheSame) {
    Load("<Z S0 >abcdef");
    box_.SetSelection(At(0, 4), At(0, 1));
    PaintAll();
    EXPECT_THAT(canvas_.Texts(), ElementsAre("a", "bcd", "ef"));
}

TEST_F(Painting, MisspeltStretchesAreUnderlinedTwiceInDottedRed) {
    Load("<Z S0 >ab cde f");
    box_.Paragraph(0).spellFlags = "   !!!  ";
    PaintAll();
    const auto lines = canvas_.OpsOf(CanvasOpKind::Line);
    ASSERT_EQ(lines.size(), 2u);
    const int start = 10 + 3 * kByte, end = 10 + 6 * kByte, baseline = 8 + 12;
    EXPECT_EQ(lines[0].from, (Point{start, baseline + 2}));
    EXPECT_EQ(lines[0].to, (Point{end, baseline + 2}));
    EXPECT_EQ(lines[1].from, (Point{start + 2, baseline + 1}));
    EXPECT_EQ(lines[1].to, (Point{end, baseline + 1}));
    EXPECT_EQ(lines[0].pen.colour, 0x020000FF);
    EXPECT_EQ(lines[0].pen.style, LineStyle::Dotted);
}

TEST_F(Painting, SpellFlagsShorterThanTheTextAreReadOnlyAsFarAsTheyGo) {
    Load("<Z S0 >abcdef");
    box_.Paragraph(0).spellFlags = "!!";
    PaintAll();
    const auto lines = canvas_.OpsOf(CanvasOpKind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].to.x, 10 + 2 * kByte);
}

TEST_F(Painting, AnInactiveBoxIsHatchedTwice) {
    Load("<Z S0 >x");
    box_.inactive = true;
    PaintAll();
    const auto hatches = canvas_.OpsOf(CanvasOpKind::Hatch);
    ASSERT_EQ(hatches.size(), 2u);
    EXPECT_EQ(hatches[0].hatch, Hatch::ForwardDiagonal);
    EXPECT_EQ(hatches[0].colour, SystemColour(20));
    EXPECT_EQ(hatches[1].hatch, Hatch::BackwardDiagonal);
    EXPECT_EQ(hatches[1].colour, SystemColour(16));
    box_.runMode = true;
    PaintAll();
    EXPECT_TRUE(canvas_.OpsOf(CanvasOpKind::Hatch).empty());
}

TEST_F(Painting, HeaderAndFooterParagraphsAreHatchedOutsideRunMode) {
    box_.LoadText(Text("<Z S0 >h"), Text("<Z S0 >b"), Text("<Z S0 >f"));
    PaintAll();
    const auto hatches = canvas_.OpsOf(CanvasOpKind::Hatch);
    ASSERT_EQ(hatches.size(), 4u);
    const TKYTparag& header = box_.Paragraph(0);
    EXPECT_EQ(hatches[0].area, (Rect{0, header.top - 2, box_.Width(), header.bottom + 1}));
    box_.runMode = true;
    PaintAll();
    EXPECT_TRUE(canvas_.OpsOf(CanvasOpKind::Hatch).empty());
    EXPECT_THAT(canvas_.Texts(), ElementsAre("h", "b", "f"));
}

class ListMarks : public Painting {};

TEST_F(ListMarks, NumberedParagraphsCountAndRestartAfterOthers) {
    Load(
        "<Z S0 N6 I20 >a<Z S0 N6 I20 >b<Z S0 >c<Z S0 N6 I20 >d<Z S0 N6 I20 >e"
        "<Z S0 N6 I20 >f");
    PaintAll();
    EXPECT_THAT(canvas_.Texts(),
                ElementsAre("1. ", "a", "2. ", "b", "c", "1. ", "d", "2. ", "e", "3. ", "f"));
}

TEST_F(ListMarks, TheNumberHangsInANegativeIndentOrBeforeTheMargin) {
    // "1. " is 18 px wide. F < 0: at L + F. 0 <= F < 18: at L - 18. F >= 18: at L.
    Load("<Z S0 N6 I-15 l40 >a<Z S0 >x<Z S0 N6 I5 l40 >b<Z S0 >x<Z S0 N6 I30 l40 >c");
    PaintAll();
    std::vector<int> marks;
    for (const CanvasOp& op : TextOps())
        if (op.text == "1. ") marks.push_back(op.area.left);
    EXPECT_THAT(marks, ElementsAre(25, 22, 40));
}

TEST_F(ListMarks, TheBulletIsAWingdingsCharacterPlacedByTheIndent) {
    Load("<Z S0 N10 I-15 l40 >a<Z S0 N10 I12 l40 >b<Z S0 N10 I5 l40 >c");
    PaintAll();
    std::vector<int> bullets;
    for (const CanvasOp& op : TextOps())
        if (op.text == "w") {
            bullets.push_back(op.area.left);
            EXPECT_EQ(op.font.name, "Wingdings");
        }
    EXPECT_THAT(bullets, ElementsAre(25, 40, 30));
    // The text that follows is back in the paragraph's font.
    EXPECT_EQ(TextOps()[1].font.name, "Times New Roman");
}

TEST(ListMarksWithoutWingdings, AFilledBulletInTheParagraphsFontStandsIn) {
    BoxMarkupHost markup({"Times New Roman"});
    RecordingBoxHost host;
    TKYTbox box(markup, host);
    box.LoadText(std::nullopt, Text("<Z S0 N10 >a"), std::nullopt);
    RecordingCanvas canvas(markup.metrics);
    box.Paint(canvas, {0, 0, box.Width(), box.Height()});
    EXPECT_THAT(canvas.Texts(), ElementsAre("\x95", "a"));
    EXPECT_EQ(canvas.OpsOf(CanvasOpKind::Text)[0].font.name, "Times New Roman");
}

TEST_F(ListMarks, TheMarkSitsOnTheFirstLinesBaseline) {
    Load("<Z S0 N6 I20 t4 ><Y s24 >Big");
    PaintAll();
    const auto texts = TextOps();
    ASSERT_GE(texts.size(), 2u);
    // Size 24 text: ascent 24 on the line; the mark is drawn at its first character's
    // ascent from the baseline.
    const TKYTparag& p = box_.Paragraph(0);
    EXPECT_EQ(texts[0].area.top, p.top + 4 + p.lines[0].ascent - p.metrics[0].ascent);
}

class BackgroundPicture : public Painting {
protected:
    void SetUp() override {
        pixels_.assign(40 * 30 * 4, 0xFF);
        picture_ = CanvasImage{40, 30, pixels_.data(), 77, true};
    }
    std::vector<Point> Tiles() const {
        std::vector<Point> out;
        for (const CanvasOp& op : canvas_.OpsOf(CanvasOpKind::Image))
            out.push_back({op.area.left, op.area.top});
        return out;
    }
    std::vector<std::uint8_t> pixels_;
    CanvasImage picture_;
};

TEST_F(BackgroundPicture, TilesStartOnTheGridBelowTheAreasCorner) {
    Load("<Z S0 >");
    box_.SetBackPicture(picture_, false);
    canvas_.Clear();
    box_.Paint(canvas_, {100, 70, 130, 95});
    EXPECT_EQ(canvas_.Ops()[0].kind, CanvasOpKind::Fill);
    EXPECT_THAT(Tiles(), ElementsAre(Point{80, 60}, Point{120, 60}, Point{80, 90}, Point{120, 90}));
    EXPECT_EQ(canvas_.Ops()[1].clip, (Rect{100, 70, 130, 95}));
}

TEST_F(BackgroundPicture, ATransparentPictureIsNotFilledUnder) {
    Load("<Z S0 >");
    box_.SetBackPicture(picture_, true);
    canvas_.Clear();
    box_.Paint(canvas_, {0, 0, 10, 10});
    EXPECT_TRUE(canvas_.OpsOf(CanvasOpKind::Fill).empty());
    EXPECT_THAT(Tiles(), ElementsAre(Point{0, 0}));
}

TEST_F(BackgroundPicture, AFixedBackgroundFollowsTheScrollPosition) {
    Load("<Z S0 >");
    host_.SetVerticalScroll(5000, 45);
    box_.backFixed = true;
    box_.SetBackPicture(picture_, false);
    canvas_.Clear();
    box_.Paint(canvas_, {0, 50, 10, 60});
    EXPECT_THAT(Tiles(), ElementsAre(Point{0, 45}));
}

TEST_F(BackgroundPicture, ACellBoxAlignsItsTilesWithThePage) {
    CountingTableHost table;
    RecordingBoxHost host;
    host.SetOrigin({55, 47});
    TKYTbox cell(markup_, host, &table);
    cell.Resize(100, 50);
    cell.LoadText(std::nullopt, Text("<Z S1 >"), std::nullopt);
    cell.SetBackPicture(picture_, false);
    canvas_.Clear();
    cell.Paint(canvas_, {0, 0, 10, 10});
    // The page's tile at (40, 30) lies at (-15, -17) in the cell.
    EXPECT_TRUE(canvas_.OpsOf(CanvasOpKind::Fill).empty());
    EXPECT_THAT(Tiles(), ElementsAre(Point{-15, -17}));
}

class CellFrame : public Painting {
protected:
    void LoadCell(int border) {
        cell_.borderWidth = border;
        cell_.Resize(60, 20);
        cell_.LoadText(std::nullopt, Text("<Z S1 >"), std::nullopt);
    }
    CountingTableHost table_;
    RecordingBoxHost cellHost_;
    TKYTbox cell_{markup_, cellHost_, &table_};
};

TEST_F(CellFrame, ABorderOfTwoIsTwoSunkenBevels) {
    LoadCell(2);
    canvas_.Clear();
    cell_.Paint(canvas_, {0, 0, 60, 20});
    const auto lines = canvas_.OpsOf(CanvasOpKind::Line);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].from, (Point{0, 0}));
    EXPECT_EQ(lines[0].pen.colour, SystemColour(16));  // top and left in shadow
    EXPECT_EQ(lines[1].pen.colour, SystemColour(16));
    EXPECT_EQ(lines[2].pen.colour, SystemColour(20));  // right and bottom in highlight
    EXPECT_EQ(lines[3].pen.colour, SystemColour(20));
    EXPECT_EQ(lines[4].from, (Point{1, 1}));
}

TEST_F(CellFrame, NoBorderIsADottedOutlineUnlessReadOnly) {
    LoadCell(0);
    canvas_.Clear();
    cell_.Paint(canvas_, {0, 0, 60, 20});
    const auto lines = canvas_.OpsOf(CanvasOpKind::Line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].pen.style, LineStyle::Dotted);
    EXPECT_EQ(lines[0].pen.gapColour, 0xFFFFFF);
    cellHost_.SetReadOnly(true);
    canvas_.Clear();
    cell_.Paint(canvas_, {0, 0, 60, 20});
    EXPECT_TRUE(canvas_.OpsOf(CanvasOpKind::Line).empty());
}

TEST_F(CellFrame, HiddenBoundariesOrAnInactiveCellDrawNoFrame) {
    LoadCell(1);
    cellHost_.SetShowBoundaries(false);
    canvas_.Clear();
    cell_.Paint(canvas_, {0, 0, 60, 20});
    EXPECT_TRUE(canvas_.OpsOf(CanvasOpKind::Line).empty());
    cellHost_.SetShowBoundaries(true);
    cell_.inactive = true;
    canvas_.Clear();
    cell_.Paint(canvas_, {0, 0, 60, 20});
    EXPECT_TRUE(canvas_.OpsOf(CanvasOpKind::Line).empty());
}

TEST_F(Painting, InlineObjectsArePlacedWhereTheyStandOnTheLine) {
    const int id = markup_.AddObject(TOggettiHel::immagineNew, 20, 30);
    FakeInlineObject view({20, 30}, 3);  // top at the baseline
    host_.SetView(&markup_.Object(id), &view);
    Load("<Z S0 >ab<$FF000000>c");
    box_.SetSelection(At(0, 1), At(0, 3));
    PaintAll();
    EXPECT_EQ(view.placements, 1);
    EXPECT_EQ(view.placedLeft, 10 + 2 * kByte);
    EXPECT_EQ(view.placedTop, 8 + 12);
    EXPECT_TRUE(view.highlighted);
    EXPECT_THAT(canvas_.Texts(), ElementsAre("a", "b", "c"));
    // Placed once; a second painting leaves it where it is.
    PaintAll();
    EXPECT_EQ(view.placements, 1);
}

}  // namespace
}  // namespace orvo::test

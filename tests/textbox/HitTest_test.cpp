// Points to text positions, positions to geometry, scrolling into view.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "LayoutSupport.h"

namespace orvo::test {
namespace {

constexpr int kByte = 6;

class HitTesting : public ::testing::Test {
protected:
    void Load(std::string_view body, int clientWidth = 400) {
        host_.SetClientSize(clientWidth, 300);
        box_.LoadText(std::nullopt, Text(body), std::nullopt);
    }
    BoxMarkupHost markup_;
    RecordingBoxHost host_;
    TKYTbox box_{markup_, host_};
};

TEST_F(HitTesting, EitherHalfOfACharacterGivesThePositionBeforeIt) {
    Load("<Z S0 >abcd");
    // "c" spans x 22..27 (margin 10, 6 px a byte).
    for (int x : {22, 24, 26, 27}) {
        const TKYTTextPos pos = box_.HitTest(kHitEditable, x, 12);
        EXPECT_EQ(pos.charIndex, 2) << x;
        EXPECT_EQ(pos.x, 22);
        EXPECT_EQ(pos.xRight, 28);
    }
    EXPECT_EQ(box_.HitTest(kHitEditable, 28, 12).charIndex, 3);
}

TEST_F(HitTesting, LeftOfTheLineGivesItsFirstCharacter) {
    Load("<Z S0 >abcd");
    const TKYTTextPos pos = box_.HitTest(kHitEditable, 2, 12);
    EXPECT_EQ(pos.charIndex, 0);
    EXPECT_EQ(pos.x, 10);
}

TEST_F(HitTesting, PastTheEndGivesTheLastCharacterOrTheParagraphsEnd) {
    Load("<Z S0 >abcd efgh", 20 + 6 * kByte);  // "abcd |efgh"
    const TKYTparag& p = box_.Paragraph(0);
    ASSERT_EQ(p.lines.size(), 2u);
    const std::int32_t secondLineY = p.top + p.lines[1].top + 3;
    const TKYTTextPos first = box_.HitTest(kHitEditable, 300, p.top + 3);
    EXPECT_EQ(first.charIndex, 4);  // the space that ends the first line
    EXPECT_EQ(first.lineIndex, 0);
    EXPECT_EQ(first.x, 10 + 4 * kByte);
    const TKYTTextPos last = box_.HitTest(kHitEditable, 300, secondLineY);
    EXPECT_EQ(last.charIndex, 9);
    EXPECT_EQ(last.lineIndex, 1);
    EXPECT_EQ(last.x, 10 + 4 * kByte);
    EXPECT_EQ(last.y, p.top + 15);
    EXPECT_EQ(last.height, 15);
}

TEST_F(HitTesting, AnEmptyParagraphGivesPositionZero) {
    Load("<Z S0 >a<Z S0 ><Z S0 >b");
    const TKYTparag& empty = box_.Paragraph(1);
    const TKYTTextPos pos = box_.HitTest(kHitEditable, 50, empty.top + 2);
    EXPECT_EQ(pos.paraIndex, 1);
    EXPECT_EQ(pos.charIndex, 0);
    EXPECT_EQ(pos.x, 10);
}

TEST_F(HitTesting, PointsAboveAndBelowTheTextClampToTheFirstAndLastParagraph) {
    Load("<Z S0 >a<Z S0 >b<Z S0 >c");
    EXPECT_EQ(box_.HitTest(kHitEditable, 10, -500).paraIndex, 0);
    EXPECT_EQ(box_.HitTest(kHitEditable, 10, 3).paraIndex, 0);  // above the first top (8)
    EXPECT_EQ(box_.HitTest(kHitEditable, 10, 99999).paraIndex, 2);
}

TEST_F(HitTesting, EditingModesLeaveOutHeaderAndFooterParagraphs) {
    box_.LoadText(Text("<Z S0 >head"), Text("<Z S0 >body"), Text("<Z S0 >foot"));
    const TKYTparag& header = box_.Paragraph(0);
    const TKYTparag& footer = box_.Paragraph(2);
    for (int mode : {0, 3, 4}) {
        EXPECT_EQ(box_.HitTest(mode, 20, header.top + 2).paraIndex, 1) << mode;
        EXPECT_EQ(box_.HitTest(mode, 20, footer.top + 2).paraIndex, 1) << mode;
    }
    EXPECT_EQ(box_.HitTest(kHitAll, 20, header.top + 2).paraIndex, 0);
    EXPECT_EQ(box_.HitTest(kHitAll, 20, footer.top + 2).paraIndex, 2);
}

TEST_F(HitTesting, AnEmptyBoxGivesNoPosition) {
    EXPECT_EQ(box_.HitTest(kHitAll, 10, 10).paraIndex, -1);
}

TEST_F(HitTesting, TheSearchFindsTheSameParagraphAsAScanOnLongTexts) {
    std::string body;
    std::mt19937 random(3);
    for (int i = 0; i < 3000; ++i) {
        body += "<Z S0 t" + std::to_string(random() % 4) + " >";
        body += std::string(random() % 90, 'x') + (i % 7 ? " y" : "");
    }
    Load(body, 200);
    const auto& paragraphs = box_.AllParagraphs();
    const std::int32_t bottom = paragraphs.back()->bottom;
    for (int probe = 0; probe < 2000; ++probe) {
        const std::int32_t y = std::int32_t(random() % std::uint32_t(bottom + 40)) - 20;
        std::int32_t expected = std::int32_t(paragraphs.size()) - 1;
        for (std::size_t i = 0; i < paragraphs.size(); ++i)
            if (paragraphs[i]->bottom >= y) {
                expected = std::int32_t(i);
                break;
            }
        ASSERT_EQ(box_.HitTest(kHitAll, 30, y).paraIndex, expected) << y;
    }
}

TEST_F(HitTesting, RightAlignedLinesAreHitWhereTheyAreDrawn) {
    Load("<Z S0 A1 >ab", 120);  // full width 100, remaining 88
    const TKYTTextPos pos = box_.HitTest(kHitEditable, 10 + 88 + 7, 12);
    EXPECT_EQ(pos.charIndex, 1);
    EXPECT_EQ(pos.x, 10 + 88 + 6);
}

class Resolving : public HitTesting {};

TEST_F(Resolving, APositionGetsItsLineAndCoordinates) {
    Load("<Z S0 >abcd efgh", 20 + 6 * kByte);
    const TKYTparag& p = box_.Paragraph(0);
    const TKYTTextPos pos = box_.ResolvePosition(At(0, 7));
    EXPECT_EQ(pos.paragraph, &p);
    EXPECT_EQ(pos.lineIndex, 1);
    EXPECT_EQ(pos.x, 10 + 2 * kByte);
    EXPECT_EQ(pos.xRight, 10 + 3 * kByte);
    EXPECT_EQ(pos.y, p.top + 15);
    EXPECT_EQ(pos.height, 15);
    // The start of the second line belongs to it...
    EXPECT_EQ(box_.ResolvePosition(At(0, 5)).lineIndex, 1);
    // ...unless the position asks for the end of the first line.
    TKYTTextPos end = At(0, 5);
    end.lineIndex = 0;
    const TKYTTextPos resolved = box_.ResolvePosition(end);
    EXPECT_EQ(resolved.lineIndex, 0);
    EXPECT_EQ(resolved.x, 10 + 5 * kByte);
}

TEST_F(Resolving, OutOfRangePositionsAreNotResolved) {
    Load("<Z S0 >abc");
    EXPECT_EQ(box_.ResolvePosition(At(5, 0)).height, -1);
    EXPECT_EQ(box_.ResolvePosition(At(5, 0)).paragraph, nullptr);
    EXPECT_EQ(box_.ResolvePosition(At(-1, 0)).height, -1);
    // A character index past the text is held at its end.
    const TKYTTextPos clamped = box_.ResolvePosition(At(0, 99));
    EXPECT_EQ(clamped.charIndex, 3);
    EXPECT_EQ(clamped.x, 10 + 3 * kByte);
}

TEST_F(Resolving, HitTestingAResolvedPositionFindsItAgain) {
    Load("<Z S0 >one two three four five six<Z S0 A2 >centred text here", 20 + 10 * kByte);
    for (std::int32_t para = 0; para < box_.ParagraphCount(); ++para) {
        const std::int32_t length = std::int32_t(box_.Paragraph(para).text.size());
        for (std::int32_t c = 0; c < length; ++c) {
            const TKYTTextPos pos = box_.ResolvePosition(At(para, c));
            const TKYTTextPos hit = box_.HitTest(kHitAll, pos.x + 1, pos.y + 1);
            ASSERT_EQ(hit.paraIndex, para);
            ASSERT_EQ(hit.charIndex, c);
        }
    }
}

class ScrollingIntoView : public HitTesting {
protected:
    void SetUp() override {
        std::string body;
        for (int i = 0; i < 100; ++i) body += "<Z S0 >line";
        Load(body, 200);
        host_.SetClientSize(200, 100);
        host_.SetHorizontalScroll(1000, 0);
        host_.SetVerticalScroll(box_.Paragraph(99).bottom + 1, 300);
    }
};

TEST_F(ScrollingIntoView, AVisibleRectangleScrollsNothing) {
    box_.ScrollIntoView(10, 320, 15, 3);
    EXPECT_EQ(host_.VerticalPosition(), 300);
}

TEST_F(ScrollingIntoView, ARectangleAboveOrBelowBringsItsEdgeToTheView) {
    box_.ScrollIntoView(10, 250, 15, 3);
    EXPECT_EQ(host_.VerticalPosition(), 250);
    box_.ScrollIntoView(10, 500, 15, 3);
    EXPECT_EQ(host_.VerticalPosition(), 500 + 15 - 100);
    box_.ScrollIntoView(450, 500, 15, 3);
    EXPECT_EQ(host_.HorizontalPosition(), 450 + 3 - 200);
    box_.ScrollIntoView(5, 500, 15, 3);
    EXPECT_EQ(host_.HorizontalPosition(), 5);
}

TEST_F(ScrollingIntoView, ANestedBoxAddsItsOriginInThePage) {
    host_.SetOrigin({0, 200});
    box_.ScrollIntoView(10, 300, 15, 3);  // at 500 in the page
    EXPECT_EQ(host_.VerticalPosition(), 415);
}

}  // namespace
}  // namespace orvo::test

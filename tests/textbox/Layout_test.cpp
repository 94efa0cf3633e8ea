// Breaking paragraphs into lines and stacking them in a box.
#include <gmock/gmock.h>

#include <gtest/gtest.h>
#include <cstdlib>

#include <random>

#include "LayoutSupport.h"
#include "textbox/LineBreaker.h"
#include "textbox/UpdateLock.h"

namespace orvo::test {
namespace {

using ::testing::ElementsAre;

// Style 0: margins 10 + 10, Times New Roman 12 = 6 px a byte, ascent 12, height 15.
constexpr int kMargins = 20;
constexpr int kByte = 6;

class LineBreaking : public ::testing::Test {
protected:
    // A page text whose lines are `fullWidth` pixels wide.
    void Load(std::string_view markup, int fullWidth) {
        host_.SetClientSize(fullWidth + kMargins, 400);
        box_.LoadText(std::nullopt, Text(markup), std::nullopt);
    }
    const TKYTparag& First() const { return box_.Paragraph(0); }

    BoxMarkupHost markup_;
    RecordingBoxHost host_;
    TKYTbox box_{markup_, host_};
};

TEST_F(LineBreaking, BreaksAfterTheSpaceWhenTheNextWordDoesNotFit) {
    // Room for "abcd" + " " + one more letter: "abcd |efgh".
    Load("<Z S0 >abcd efgh", 6 * kByte);
    EXPECT_THAT(LineTexts(First()), ElementsAre("abcd ", "efgh"));
    EXPECT_EQ(First().lines[0].usedWidth, 5 * kByte);
    EXPECT_EQ(First().lines[1].first, 5);
}

TEST_F(LineBreaking, ACharacterAsWideAsTheRemainingWidthDoesNotFit) {
    // "ab cd" is 30 px: at 30 the "d" leaves 0 and goes to the next line, at 31 it fits.
    Load("<Z S0 >ab cd", 5 * kByte);
    EXPECT_THAT(LineTexts(First()), ElementsAre("ab ", "cd"));
    Load("<Z S0 >ab cd", 5 * kByte + 1);
    EXPECT_THAT(LineTexts(First()), ElementsAre("ab cd"));
}

TEST_F(LineBreaking, AWordWiderThanTheLineOverflowsWithoutBeingSplit) {
    Load("<Z S0 >abcdefghij", 5 * kByte);
    EXPECT_THAT(LineTexts(First()), ElementsAre("abcdefghij"));
    // W - remaining: 50 - (30 - 60).
    EXPECT_EQ(box_.UsedWidth(), 50 + 30);
    EXPECT_EQ(host_.HorizontalRange(), 80);
    EXPECT_EQ(box_.Width(), 80);
}

TEST_F(LineBreaking, AWordWiderThanTheLineTakesAWholeLineAfterABreak) {
    Load("<Z S0 >ab abcdefghij cd", 5 * kByte);
    EXPECT_THAT(LineTexts(First()), ElementsAre("ab ", "abcdefghij ", "cd"));
}

TEST_F(LineBreaking, CharactersWiderThanAnEmptyLineStandOneALine) {
    Load("<Z S0 >abc", 4);
    EXPECT_THAT(LineTexts(First()), ElementsAre("a", "b", "c"));
}

TEST_F(LineBreaking, LinesCoverTheTextWithoutGapsAtAnyWidth) {
    std::mt19937 random(7);
    const std::string alphabet = "ab c  defg hij";
    for (int round = 0; round < 200; ++round) {
        std::string text;
        const int length = int(random() % 60);
        for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        Load("<Z S0 >" + text, 1 + int(random() % 120));
        std::int32_t next = 0;
        for (const TKYTline& line : First().lines) {
            ASSERT_EQ(line.first, next) << text;
            next += line.count;
        }
        ASSERT_EQ(next, std::int32_t(text.size())) << text;
        // A line ends after a space, or holds one character too wide for any line.
        for (std::size_t i = 0; i + 1 < First().lines.size(); ++i) {
            const TKYTline& line = First().lines[i];
            const char last = text[std::size_t(line.first + line.count - 1)];
            EXPECT_TRUE(last == ' ' || line.count == 1) << text;
        }
    }
}

TEST_F(LineBreaking, AnEmptyParagraphHasOneLineOfTheDefaultHeight) {
    Load("<Z S0 >", 100);
    ASSERT_EQ(First().lines.size(), 1u);
    EXPECT_EQ(First().lines[0].count, 0);
    EXPECT_EQ(First().lines[0].height, 15);
    EXPECT_EQ(First().bottom - First().top + 1, 15);
}

TEST_F(LineBreaking, AFontOfNoHeightGivesEmptyLinesTwentyPixels) {
    Load("<Z S0 s0 >", 100);
    EXPECT_EQ(First().lines[0].height, 20);
}

TEST_F(LineBreaking, AFixedLineHeightReplacesTheMeasuredOneAlsoOnEmptyLines) {
    Load("<Z S0 L30 >", 100);
    EXPECT_EQ(First().lines[0].height, 30);
    Load("<Z S0 L9 >abcd efgh", 6 * kByte);
    ASSERT_EQ(First().lines.size(), 2u);
    EXPECT_EQ(First().lines[0].height, 9);
    EXPECT_EQ(First().lines[1].top, 9);
    // An automatic line height (0 or the new-style -32000) measures.
    Load("<Z S0 L0 >abcd", 100);
    EXPECT_EQ(First().lines[0].height, 15);
}

TEST_F(LineBreaking, AlignmentShiftsLinesByTheirRemainingWidth) {
    Load("<Z S0 A1 >abc", 61);  // remaining 61 - 18 = 43
    EXPECT_EQ(First().lines[0].alignOffset, 43);
    Load("<Z S0 A2 >abc", 61);  // centred: 43 / 2, truncated
    EXPECT_EQ(First().lines[0].alignOffset, 21);
    Load("<Z S0 A3 >abc", 61);  // justified lays out as left
    EXPECT_EQ(First().lines[0].alignOffset, 0);
    Load("<Z S0 A9 >abc", 61);
    EXPECT_EQ(First().lines[0].alignOffset, 0);
}

TEST_F(LineBreaking, TheFirstLineIsIndentedAndLaterLinesStartAtTheMargin) {
    Load("<Z S0 I12 >abcd efgh", 6 * kByte + 12);
    EXPECT_THAT(LineTexts(First()), ElementsAre("abcd ", "efgh"));
    EXPECT_EQ(First().lines[0].indent, 10 + 12);
    EXPECT_EQ(First().lines[1].indent, 10);
}

TEST_F(LineBreaking, AHangingIndentHangsOnlyOnPlainParagraphs) {
    Load("<Z S0 I-8 >abc", 100);
    EXPECT_EQ(First().lines[0].indent, 2);
    Load("<Z S0 N10 I-8 >abc", 100);  // bulleted: the bullet hangs there, the text does not
    EXPECT_EQ(First().lines[0].indent, 10);
}

// Margins and indents of any int32 read from a document are laid out within 16 million
// pixels: no sum of them overflows (the sanitizer build stops on one).
TEST_F(LineBreaking, MarginsAndIndentsAtTheEndsOfTheirRangeLayOutInRange) {
    for (const char* markup : {"<Z S0 r-2147483641 >ab cd", "<Z S0 l2147483647 I2147483647 >ab",
                               "<Z S0 l-2147483648 r-2147483648 I-2147483648 >ab cd"}) {
        Load(markup, 100);
        ASSERT_FALSE(First().lines.empty()) << markup;
        EXPECT_LE(std::abs(First().lines[0].indent), 3 << 24) << markup;
    }
}

TEST_F(LineBreaking, SubscriptAndSuperscriptCharactersMakeTheLineTaller) {
    // Subscript: height 15 + 7; superscript: ascent 12 + 7 (halves toward zero).
    Load("<Z S0 >a<Y p1 >b", 100);
    EXPECT_EQ(First().metrics[1].height, 22);
    EXPECT_EQ(First().metrics[1].ascent, 12);
    EXPECT_EQ(First().lines[0].ascent, 12);
    EXPECT_EQ(First().lines[0].height, 22);
    Load("<Z S0 >a<Y p2 >b", 100);
    EXPECT_EQ(First().metrics[1].ascent, 19);
    EXPECT_EQ(First().lines[0].ascent, 19);
    EXPECT_EQ(First().lines[0].height, 19 + 15 - 12);
}

TEST_F(LineBreaking, SpacingAddsAboveAndBelowTheParagraph) {
    Load("<Z S0 t5 b7 >abc<Z S0 >def", 100);
    const TKYTparag& second = box_.Paragraph(1);
    EXPECT_EQ(First().top, 5);  // the first paragraph's top is its space before
    EXPECT_EQ(First().bottom, 5 + 5 + 15 + 7 - 1);
    EXPECT_EQ(second.top, First().bottom + 1);
    EXPECT_EQ(host_.VerticalRange(), second.bottom + 1);
}

TEST_F(LineBreaking, InlineObjectsTakeTheirViewsSizeAndAlignment) {
    const int bottom = markup_.AddObject(TOggettiHel::immagineNew, 20, 30);
    const int top = markup_.AddObject(TOggettiHel::immagineNew, 20, 30);
    const int middle = markup_.AddObject(TOggettiHel::immagineNew, 20, 30);
    FakeInlineObject atBottom({24, 40}, 0), atTop({24, 40}, 3), atMiddle({24, 40}, 4);
    host_.SetView(&markup_.Object(bottom), &atBottom);
    host_.SetView(&markup_.Object(top), &atTop);
    host_.SetView(&markup_.Object(middle), &atMiddle);
    Load("<Z S0 >a<$FF000000><$FF000001><$FF000002>", 200);
    const TKYTparag& p = First();
    ASSERT_EQ(p.text, "a   ");
    EXPECT_EQ(p.metrics[1].width, 24);
    EXPECT_EQ(p.metrics[1].ascent, 40);
    EXPECT_EQ(p.metrics[2].ascent, 0);
    EXPECT_EQ(p.metrics[3].ascent, 20);
    EXPECT_EQ(atTop.lastFullWidth, 200);
    EXPECT_EQ(atBottom.parkedX, -20000);
    EXPECT_TRUE(atMiddle.marked);
    // Ascent 40 (the bottom-aligned object); the top-aligned one reaches 40 below it.
    EXPECT_EQ(p.lines[0].ascent, 40);
    EXPECT_EQ(p.lines[0].height, 80);
}

TEST_F(LineBreaking, AnObjectWithoutAViewKeepsTheSizeReadWithTheText) {
    markup_.AddObject(TOggettiHel::immagineNew, 33, 44);
    Load("<Z S0 >x<$FF000000>", 200);
    EXPECT_EQ(First().metrics[1].width, 33);
    // Its bottom on the baseline: ascent 44, and the "x" reaches 15 - 12 below it.
    EXPECT_EQ(First().lines[0].ascent, 44);
    EXPECT_EQ(First().lines[0].height, 47);
}

class BoxLoading : public ::testing::Test {
protected:
    BoxMarkupHost markup_;
    RecordingBoxHost host_{300, 200};
    TKYTbox box_{markup_, host_};
};

TEST_F(BoxLoading, HeaderAndFooterParagraphsFrameTheBody) {
    box_.LoadText(Text("<Z S0 >head"), Text("<Z S0 >one<Z S0 >two"), Text("<Z S0 >foot"));
    EXPECT_EQ(box_.HeadCount(), 1);
    EXPECT_EQ(box_.FootCount(), 1);
    ASSERT_EQ(box_.ParagraphCount(), 4);
    EXPECT_EQ(box_.Paragraph(0).kind, kHeaderParagraph);
    EXPECT_EQ(box_.Paragraph(1).kind, kBodyParagraph);
    EXPECT_EQ(box_.Paragraph(3).kind, kFooterParagraph);
    EXPECT_EQ(box_.Caret().paraIndex, 1);
    EXPECT_EQ(box_.Caret().charIndex, 0);
    EXPECT_TRUE(box_.Loaded());
    EXPECT_EQ(host_.ToolRefreshes(), 1);
}

TEST_F(BoxLoading, AnEmptyBodyStillGetsOneEditableParagraph) {
    box_.LoadText(Text("<Z S0 >head"), std::string_view(), Text("<Z S0 >foot"));
    ASSERT_EQ(box_.ParagraphCount(), 3);
    EXPECT_EQ(box_.FirstEditable(), 1);
    EXPECT_EQ(box_.LastEditable(), 1);
    EXPECT_EQ(box_.Paragraph(1).kind, kBodyParagraph);
    EXPECT_EQ(box_.Paragraph(1).text, "");
    EXPECT_EQ(box_.Caret().paraIndex, 1);
    EXPECT_TRUE(box_.Caret().Resolved());
    // Garbage that reads as no paragraph at all gets the same.
    box_.LoadText(std::nullopt, Text("no markup here"), std::nullopt);
    ASSERT_GE(box_.ParagraphCount(), 1);
    EXPECT_EQ(box_.HitTest(kHitEditable, 50, 10).paraIndex, 0);
}

TEST_F(BoxLoading, TheFirstTopIsEightPixelsOrTheSpaceBefore) {
    box_.LoadText(std::nullopt, Text("<Z S0 >a"), std::nullopt);
    EXPECT_EQ(box_.Paragraph(0).top, 8);
    box_.LoadText(std::nullopt, Text("<Z S0 t3 >a"), std::nullopt);
    EXPECT_EQ(box_.Paragraph(0).top, 3);
}

TEST_F(BoxLoading, APageBoxIsAtLeastAsWideAsThePageAndTwentyPixels) {
    host_.SetClientSize(5, 100);
    box_.LoadText(std::nullopt, Text("<Z S0 >"), std::nullopt);
    EXPECT_EQ(box_.LayoutWidth(), 20);
    EXPECT_GE(box_.Width(), 20);
}

TEST_F(BoxLoading, TheUpdateLockStopsTheSpellCheckOnceAndRearmsItAfterLoading) {
    box_.LoadText(std::nullopt, Text("<Z S0 >a"), std::nullopt);
    const int stops = host_.SpellStops(), rearms = host_.SpellRearms();
    {
        UpdateLock outer(box_);
        UpdateLock inner(box_);
        EXPECT_EQ(box_.UpdateDepth(), 2);
    }
    EXPECT_EQ(host_.SpellStops(), stops + 1);
    EXPECT_EQ(host_.SpellRearms(), rearms + 1);
    try {
        UpdateLock lock(box_);
        throw std::runtime_error("edit failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(box_.UpdateDepth(), 0);
    EXPECT_EQ(host_.SpellRearms(), rearms + 2);
}

TEST_F(BoxLoading, ABoxThatHasNotLoadedDoesNotRearmTheSpellCheck) {
    { UpdateLock lock(box_); }
    EXPECT_EQ(host_.SpellStops(), 1);
    EXPECT_EQ(host_.SpellRearms(), 0);
}

TEST_F(BoxLoading, AWiderPageLaysTheTextOutAgain) {
    box_.LoadText(std::nullopt, Text("<Z S0 >aaaa bbbb cccc"), std::nullopt);
    host_.SetClientSize(20 + 6 * kByte, 200);
    box_.Resize(20 + 6 * kByte, 200);
    EXPECT_THAT(LineTexts(box_), ElementsAre("aaaa ", "bbbb ", "cccc"));
    host_.SetClientSize(400, 200);
    box_.Resize(400, 200);
    EXPECT_THAT(LineTexts(box_), ElementsAre("aaaa bbbb cccc"));
    EXPECT_EQ(box_.LayoutWidth(), 400);
}

TEST_F(BoxLoading, NoLayoutHappensDuringAnUpdate) {
    box_.LoadText(std::nullopt, Text("<Z S0 >aaaa bbbb cccc"), std::nullopt);
    UpdateLock lock(box_);
    host_.SetClientSize(20 + 6 * kByte, 200);
    box_.Resize(20 + 6 * kByte, 200);
    EXPECT_THAT(LineTexts(box_), ElementsAre("aaaa bbbb cccc"));
}

class Relayout : public ::testing::Test {
protected:
    void SetUp() override {
        box_.LoadText(std::nullopt, Text("<Z S0 >one<Z S0 >two<Z S0 >three"), std::nullopt);
    }
    // Changes paragraph `index` to `text` as an edit would, and lays it out again.
    void Retype(int index, std::string_view text) {
        TKYTparag& p = box_.Paragraph(index);
        const std::int32_t oldBottom = p.bottom, top = p.top;
        Paragraphs fresh = ReadText(Text(text), markup_);
        fresh.front()->top = top;
        box_.MutableParagraphs()[std::size_t(index)] = std::move(fresh.front());
        box_.RelayoutRange(index, index, false, oldBottom, top);
    }

    BoxMarkupHost markup_;
    RecordingBoxHost host_{20 + 6 * kByte, 200};
    TKYTbox box_{markup_, host_};
};

TEST_F(Relayout, AParagraphThatGrowsShiftsTheOnesBelow) {
    const std::int32_t thirdTop = box_.Paragraph(2).top;
    Retype(0, "<Z S0 >aaaa bbbb cccc");  // three lines instead of one
    EXPECT_EQ(box_.Paragraph(0).lines.size(), 3u);
    EXPECT_EQ(box_.Paragraph(1).top, box_.Paragraph(0).bottom + 1);
    EXPECT_EQ(box_.Paragraph(2).top, thirdTop + 30);
    EXPECT_EQ(host_.VerticalRange(), box_.Paragraph(2).bottom + 1);
}

TEST_F(Relayout, AParagraphThatKeepsItsHeightMovesNothing) {
    const std::int32_t secondTop = box_.Paragraph(1).top;
    host_.ClearInvalidated();
    Retype(0, "<Z S0 >onex");
    EXPECT_EQ(box_.Paragraph(1).top, secondTop);
    ASSERT_EQ(host_.Invalidated().size(), 1u);  // only the edited paragraph
    EXPECT_EQ(host_.Invalidated()[0].top, box_.Paragraph(0).top);
}

TEST_F(Relayout, ALayoutAfterLoadingEqualsTheLayoutAfterEditing) {
    Retype(1, "<Z S0 >aaaa bbbb cccc");
    std::vector<std::pair<int, int>> edited;
    for (const auto& p : box_.AllParagraphs()) edited.push_back({p->top, p->bottom});
    TKYTbox loaded(markup_, host_);
    loaded.LoadText(std::nullopt, Text("<Z S0 >one<Z S0 >aaaa bbbb cccc<Z S0 >three"),
                    std::nullopt);
    std::vector<std::pair<int, int>> fresh;
    for (const auto& p : loaded.AllParagraphs()) fresh.push_back({p->top, p->bottom});
    EXPECT_EQ(edited, fresh);
    EXPECT_EQ(LineTexts(box_), LineTexts(loaded));
}

TEST_F(Relayout, ShiftingMarksInlineObjectsForPlacing) {
    const int id = markup_.AddObject(TOggettiHel::immagineNew, 10, 10);
    FakeInlineObject view({10, 10}, 0);
    host_.SetView(&markup_.Object(id), &view);
    box_.LoadText(std::nullopt, Text("<Z S0 >one<Z S0 ><$FF000000>"), std::nullopt);
    view.marked = false;
    const std::int32_t before = box_.Paragraph(1).top;
    box_.ShiftParagraphs(12, 1);
    EXPECT_EQ(box_.Paragraph(1).top, before + 12);
    EXPECT_TRUE(view.marked);
}

TEST_F(Relayout, SelectAfterMakesTheRangeTheSelection) {
    box_.RelayoutRange(0, 1, true, box_.Paragraph(1).bottom, box_.Paragraph(0).top);
    const auto [start, end] = box_.SelectionRange();
    EXPECT_EQ(start.paraIndex, 0);
    EXPECT_EQ(start.charIndex, 0);
    EXPECT_EQ(end.paraIndex, 1);
    EXPECT_EQ(end.charIndex, 3);
}

TEST_F(Relayout, ReplacingParagraphsKeepsTextPlacesAndKinds) {
    box_.LoadText(Text("<Z S0 >h"), Text("<Z S0 >a<Y y1 >b<Y y1 >c<%>"), std::nullopt);
    box_.SetCaret(At(1, 2));
    TKYTparag* before = &box_.Paragraph(1);
    before->fonts.push_back(before->fonts.front());  // a format no character uses any more
    const std::int32_t top = before->top, bottom = before->bottom;
    box_.ReplaceParagraphs(0, 1);
    const TKYTparag& after = box_.Paragraph(1);
    EXPECT_NE(&after, before);
    EXPECT_EQ(after.text, "abc");
    EXPECT_EQ(after.top, top);
    EXPECT_EQ(after.bottom, bottom);
    EXPECT_EQ(box_.Paragraph(0).kind, kHeaderParagraph);
    EXPECT_EQ(box_.Caret().paragraph, &after);  // no position is left on a freed paragraph
    // Only the formats the characters use are read back.
    EXPECT_EQ(after.fonts.size(), 2u);
    EXPECT_EQ(after.metrics[1].fontIndex, 0);
    EXPECT_EQ(after.metrics[2].fontIndex, 1);
}

TEST_F(Relayout, ReformatAllLaysOutAgainAndReformatsTables) {
    const int id = markup_.AddObject(TOggettiHel::tabellaHtml, 50, 20);
    FakeInlineObject table({50, 20}, 0, true);
    host_.SetView(&markup_.Object(id), &table);
    box_.LoadText(std::nullopt, Text("<Z S0 ><$FF000000><@><Z S0 >x"), std::nullopt);
    box_.ReformatAll();
    EXPECT_EQ(table.reformats, 1);
    EXPECT_EQ(table.lastFullWidth, box_.LayoutWidth() - 20);
    EXPECT_EQ(box_.Paragraph(1).text, "x");
}

TEST_F(Relayout, RunModeHidesTheSelectionTellsTheObjectsAndMayClearSpelling) {
    const int id = markup_.AddObject(TOggettiHel::immagineNew, 10, 10);
    struct ModeObject final : public IInlineObject {
        bool IsTable() const override { return false; }
        void UpdateSize(std::int32_t) override {}
        ObjectSize Size() const override { return {10, 10}; }
        int VerticalAlignment() const override { return 0; }
        void MarkReposition() override {}
        void Park() override {}
        bool NeedsPlacing() const override { return false; }
        void PlaceAt(std::int32_t, std::int32_t) override {}
        void SetHighlighted(bool) override {}
        void SetRunMode(bool on) override { runMode = on; }
        void SetDisplayFlag(bool on) override { display = on; }
        bool runMode = false, display = false;
    } view;
    host_.SetView(&markup_.Object(id), &view);
    box_.LoadText(std::nullopt, Text("<Z S0 >ab<$FF000000>"), std::nullopt);
    box_.Paragraph(0).spellFlags = "!! ";
    box_.SetSelection(At(0, 0), At(0, 2));
    box_.SetRunMode(true, false);
    EXPECT_TRUE(box_.runMode);
    EXPECT_TRUE(view.runMode);
    EXPECT_FALSE(box_.SelectionShown());
    EXPECT_EQ(box_.Paragraph(0).spellFlags, "!! ");
    box_.SetRunMode(false, true);
    EXPECT_FALSE(view.runMode);
    EXPECT_EQ(box_.Paragraph(0).spellFlags, "!! ");  // only switching run mode on clears them
    box_.SetRunMode(true, true);
    EXPECT_EQ(box_.Paragraph(0).spellFlags, "");
    box_.SetDisplayFlag(true);
    EXPECT_TRUE(view.display);
}

class CellBox : public ::testing::Test {
protected:
    BoxMarkupHost markup_;
    RecordingBoxHost host_;
    CountingTableHost table_;
    TKYTbox box_{markup_, host_, &table_};
};

TEST_F(CellBox, GrowsToFitItsTextAndPadding) {
    box_.padding = 4;
    box_.Resize(70, 10);
    box_.LoadText(std::nullopt, Text("<Z S1 >ab cd"), std::nullopt);
    // Style 1 has no margins: the line is 70 - 8 wide, the text 30.
    EXPECT_EQ(box_.Paragraph(0).top, 4);
    EXPECT_THAT(LineTexts(box_), ElementsAre("ab cd"));
    EXPECT_EQ(box_.Paragraph(0).lines[0].indent, 4);
    EXPECT_EQ(box_.Height(), 4 + 15 + 4);
    EXPECT_EQ(host_.BoxHeight(), box_.Height());
    EXPECT_GE(table_.arranged, 1);
}

TEST_F(CellBox, AnOverWideWordWidensTheCell) {
    box_.Resize(40, 10);
    box_.LoadText(std::nullopt, Text("<Z S1 >abcdefghij"), std::nullopt);
    EXPECT_EQ(box_.Width(), 60);
    EXPECT_EQ(box_.UsedWidth(), 60);
}

TEST_F(CellBox, AShiftResizesTheCellAndTheTableParagraph) {
    box_.padding = 2;
    box_.Resize(100, 10);
    box_.LoadText(std::nullopt, Text("<Z S1 >a<Z S1 >b"), std::nullopt);
    const std::int32_t height = box_.Height();
    box_.ShiftParagraphs(10, 1);
    EXPECT_EQ(box_.Height(), height + 10);
    EXPECT_EQ(table_.relaidOut, 1);
}

}  // namespace
}  // namespace orvo::test

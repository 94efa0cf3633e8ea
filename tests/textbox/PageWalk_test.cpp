// The paragraph walk through tables, and the page background painter.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/KytFixture.h"
#include "model/TKYTparag.h"
#include "model/TextForms.h"
#include "platform/FixedMetrics.h"
#include "platform/RecordingCanvas.h"
#include "textbox/TKYTpar.h"
#include "textbox/TKYTsfondo.h"

namespace orvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ParagraphWalk : public test::KytTest {
protected:
    // A working text whose page objects are tables of `rows` x `columns` cells.
    void Tables(std::initializer_list<std::pair<int, int>> sizes) {
        for (const auto& [rows, columns] : sizes) {
            auto table = Make(TOggettiHel::tabellaHtml);
            table->TakeIntoUse();
            table->Record()[93] = std::uint8_t(rows);
            table->Record()[94] = std::uint8_t(columns);
            text_.pageObjects.push_back(std::move(table));
        }
    }
    void Read(std::string_view markup) {
        paragraphs_ = ReadText(std::string(markup) + '\0', host_);
    }
    std::vector<std::string> Walk(bool bodyOnly = false) {
        TKYTpar walk(paragraphs_, host_);
        EXPECT_EQ(walk.Current(), nullptr);
        std::vector<std::string> order;
        while (TKYTparag* p = bodyOnly ? walk.NextBody() : walk.Next()) {
            EXPECT_EQ(walk.Current(), p);
            order.push_back(p->text);
        }
        EXPECT_EQ(walk.Current(), nullptr);
        EXPECT_EQ(walk.Next(), nullptr);  // stays at the end
        return order;
    }
    TKYTtesto text_{&set_};
    FixedMetrics metrics_;
    TextMarkupHost host_{set_, text_, metrics_};
    Paragraphs paragraphs_;
};

TEST_F(ParagraphWalk, VisitsTheCellsOfAParagraphsTablesRowByRowBeforeIt) {
    Tables({{2, 2}});
    Read(
        "<Z S0 >prima<Z S0 >tab<$FF000000><Z S1 >a<T><Z S1 >b<T><Z S1 >c<Z S1 >c2<T>"
        "<Z S1 >d<T>ella<Z S0 >dopo");
    EXPECT_THAT(Walk(), ElementsAre("prima", "a", "b", "c", "c2", "d", "tab ella", "dopo"));
}

TEST_F(ParagraphWalk, GoesDepthFirstIntoTablesInsideCells) {
    // table 0 (1 x 2): its second cell holds table 1 (2 x 1); a paragraph with two tables
    Tables({{1, 2}, {2, 1}, {1, 1}});
    Read(
        "<Z S0 ><$FF000000><Z S1 >x<T><Z S1 ><$FF000001><Z S1 >y1<T><Z S1 >y2<T>z<T>"
        "<Z S0 ><$FF000002><Z S1 >w<T>");
    EXPECT_THAT(Walk(), ElementsAre("x", "y1", "y2", " z", " ", "w", " "));
}

TEST_F(ParagraphWalk, PassesOverHeaderAndFooterParagraphsForTheSpellCheck) {
    Read("<Z S0 >testata<Z S0 >corpo<Z S0 >piede");
    paragraphs_[0]->kind = kHeaderParagraph;
    paragraphs_[2]->kind = kFooterParagraph;
    EXPECT_THAT(Walk(true), ElementsAre("corpo"));
    EXPECT_THAT(Walk(false), ElementsAre("testata", "corpo", "piede"));
    paragraphs_.clear();
    EXPECT_THAT(Walk(), IsEmpty());
}

TEST_F(ParagraphWalk, EntersTablesWhenAskedBeforeStepping) {
    Tables({{1, 1}});
    Read("<Z S0 ><$FF000000><Z S1 >cella<T><Z S0 >dopo");
    TKYTpar walk(paragraphs_, host_);
    walk.EnterTables();
    EXPECT_EQ(walk.Index(), 0u);
    ASSERT_NE(walk.Next(), nullptr);
    EXPECT_EQ(walk.Current()->text, "cella");
    EXPECT_EQ(walk.Next()->text, " ");
    EXPECT_EQ(walk.Index(), 1u);
}

class Background : public ::testing::Test {
protected:
    FixedMetrics metrics_;
    RecordingCanvas canvas_{metrics_};
    std::vector<std::uint8_t> pixels_ = std::vector<std::uint8_t>(40 * 30 * 4, 0xFF);
    CanvasImage picture_{40, 30, pixels_.data(), 77, true};
    TKYTsfondo background_;

    std::vector<Point> Tiles() const {
        std::vector<Point> at;
        for (const CanvasOp& op : canvas_.OpsOf(CanvasOpKind::Image))
            at.push_back({op.area.left, op.area.top});
        return at;
    }
};

TEST_F(Background, TilesThePictureFromTheLargestMultiplesBeforeTheClip) {
    background_.picture = &picture_;
    background_.Paint(canvas_, {100, 70, 130, 100});
    // 40 x 30 copies from (80, 60): two across, two down; an opaque picture needs no fill
    EXPECT_THAT(Tiles(), ElementsAre(Point{80, 60}, Point{120, 60}, Point{80, 90}, Point{120, 90}));
    EXPECT_THAT(canvas_.OpsOf(CanvasOpKind::Fill), IsEmpty());
    for (const CanvasOp& op : canvas_.Ops()) EXPECT_EQ(op.clip, (Rect{100, 70, 130, 100}));
    EXPECT_EQ(canvas_.ClipDepth(), 0u);
}

TEST_F(Background, FillsBehindAPictureThatIsNotOpaqueAndTilesAboveTheOrigin) {
    picture_.opaque = false;
    background_.picture = &picture_;
    background_.colour = 0x00336699;
    background_.Paint(canvas_, {-5, -10, 10, 5});
    ASSERT_EQ(canvas_.Ops().size(), 5u);
    EXPECT_EQ(canvas_.Ops()[0].kind, CanvasOpKind::Fill);
    EXPECT_EQ(canvas_.Ops()[0].colour, 0x00336699);
    // floor division: a clip edge of -10 with 30-pixel rows starts at -30, not 0
    EXPECT_THAT(Tiles(), ElementsAre(Point{-40, -30}, Point{0, -30}, Point{-40, 0}, Point{0, 0}));
}

TEST_F(Background, FillsTheColourWithoutAUsablePicture) {
    background_.colour = 0x00C0C0C0;
    background_.Paint(canvas_, {0, 0, 50, 50});
    CanvasImage empty;
    background_.picture = &empty;
    background_.Paint(canvas_, {0, 0, 50, 50});
    ASSERT_EQ(canvas_.Ops().size(), 2u);
    for (const CanvasOp& op : canvas_.Ops()) {
        EXPECT_EQ(op.kind, CanvasOpKind::Fill);
        EXPECT_EQ(op.area, (Rect{0, 0, 50, 50}));
    }
}

}  // namespace
}  // namespace orvo

// Pages: the browse sequence and the tiling of a background picture.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "KytFixture.h"
#include "model/BrowseSequence.h"
#include "model/HeaderRecord.h"
#include "model/Tiling.h"
#include "model/uKYTpag.h"

namespace orvo {
namespace {

class BrowseSequence : public ::testing::Test {
protected:
    // identifier = index; {group, order, free}
    void Page(std::int16_t group, std::int16_t order, bool free = false) {
        pages_.push_back({std::int32_t(pages_.size()), group, order, free});
    }
    std::int32_t Previous(std::int32_t page) const { return PreviousInSequence(pages_, page); }
    std::int32_t Next(std::int32_t page) const { return NextInSequence(pages_, page); }
    std::vector<SequenceEntry> pages_;
};

TEST_F(BrowseSequence, StepsOverGapsInTheOrderNumbers) {
    Page(1, 4);  // 0
    Page(1, 1);  // 1
    Page(2, 2);  // 2: another group
    Page(1, 3);  // 3
    EXPECT_EQ(Previous(0), 3);
    EXPECT_EQ(Next(1), 3);
    EXPECT_EQ(Next(3), 0);
    EXPECT_EQ(Previous(3), 1);
}

TEST_F(BrowseSequence, GivesThePageItselfAtTheEndsAndOutsideASequence) {
    Page(1, 1);   // 0: first of its group
    Page(1, 2);   // 1: last
    Page(1, -1);  // 2: no order number
    Page(5, 0);   // 3: alone in its group
    EXPECT_EQ(Previous(0), 0);
    EXPECT_EQ(Next(1), 1);
    EXPECT_EQ(Previous(2), 2);
    EXPECT_EQ(Next(2), 2);
    EXPECT_EQ(Next(3), 3);
    EXPECT_EQ(Previous(3), 3);
    EXPECT_EQ(Next(99), 99);  // no such page
}

TEST_F(BrowseSequence, PassesOverFreePagesAndTakesTheFirstOfEqualOrders) {
    Page(1, 1);        // 0
    Page(1, 2, true);  // 1: deleted
    Page(1, 5);        // 2
    Page(1, 5);        // 3: the same order number as 2
    Page(1, 2);        // 4
    EXPECT_EQ(Next(0), 4);
    EXPECT_EQ(Next(4), 2);
    EXPECT_EQ(Previous(2), 4);
    Page(1, 9);  // 5: pages 2 and 3 share the nearest order below it
    EXPECT_EQ(Previous(5), 2);
    Page(1, 6);  // 6: order 5 is next to it, and page 2 is met first
    EXPECT_EQ(Previous(6), 2);
}

TEST(TileOrigin, IsTheLargestMultipleNotAboveTheClipEdge) {
    EXPECT_EQ(TileStart(100, 40), 80);
    EXPECT_EQ(TileStart(70, 30), 60);
    EXPECT_EQ(TileStart(60, 30), 60);
    EXPECT_EQ(TileStart(0, 30), 0);
    EXPECT_EQ(TileStart(-10, 30), -30);
    EXPECT_EQ(TileStart(-30, 30), -30);
    EXPECT_EQ(TileStart(-31, 30), -60);
}

TEST(TileGrid, CoversTheClipFromTheTileOrigin) {
    // a 40 x 30 picture over a clip from (100, 70) to (181, 120): copies from (80, 60)
    const auto grid = TileGridFor({100, 70, 181, 120}, 40, 30);
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->origin, (Point{80, 60}));
    EXPECT_EQ(grid->columns, 3);  // 80, 120, 160: the last passes 181
    EXPECT_EQ(grid->rows, 2);     // 60, 90: 120 is reached
    EXPECT_EQ(grid->At(2, 1), (Point{160, 90}));

    const auto negative = TileGridFor({-5, -10, 10, 5}, 40, 30);
    ASSERT_TRUE(negative);
    EXPECT_EQ(negative->origin, (Point{-40, -30}));
    EXPECT_EQ(negative->columns, 2);
    EXPECT_EQ(negative->rows, 2);
}

TEST(TileGrid, NeedsAPictureWithBothSides) {
    EXPECT_FALSE(TileGridFor({0, 0, 10, 10}, 0, 30));
    EXPECT_FALSE(TileGridFor({0, 0, 10, 10}, 40, 0));
    EXPECT_FALSE(TileGridFor({0, 0, 10, 10}, -4, 3));
    EXPECT_FALSE(TileGridFor({10, 10, 10, 20}, 4, 3));
}

// The page record, checked against offsets written out by hand.
class PageRecordFields : public test::KytTest {
protected:
    TKYToggetto& page_ = AddPage("Pagina", std::string("<Z S0 >\0", 8));
    std::uint8_t At(std::size_t offset) const { return page_.Record()[offset]; }
    std::int32_t I32(std::size_t offset) const {
        return test::I32At(test::RecordString(page_), offset);
    }
};

TEST_F(PageRecordFields, ReadsTheDefaultsOfANewPage) {
    const PageRecord record = PageRecord::Read(page_);
    EXPECT_EQ(record.Title(), "Pagina");
    EXPECT_EQ(record.Group(), -1);
    EXPECT_EQ(record.Order(), -1);
    EXPECT_FALSE(record.InSequence());
    EXPECT_EQ(At(189), 1);
    EXPECT_EQ(record.FrameMap(), -1);
    EXPECT_FALSE(record.HostsFrames());
    EXPECT_FALSE(record.IsPopup());
    EXPECT_EQ(record.BackgroundColour(), 0xC0C0C0);
    EXPECT_EQ(record.TextColour(), 0);
    EXPECT_EQ(record.LinkColour(), 0xFF0000);
    EXPECT_EQ(record.VisitedColour(), 0x0000FF);
    EXPECT_EQ(record.BackgroundPicture(), -1);
    EXPECT_EQ(record.Keyword(0), -1);
    EXPECT_EQ(record.Keyword(19), -1);
    EXPECT_EQ(record.Reserved191(), 1040);
    EXPECT_EQ(record.TextVersion(), 2);
    EXPECT_EQ(record.VersionStamp(), 2);
    EXPECT_EQ(record.HelpContext(), "");
    EXPECT_EQ(record.RedirectSeconds(), -1);
    EXPECT_EQ(record.RedirectTarget(), -1);
    EXPECT_FALSE(record.RedirectsAfter());
    EXPECT_EQ(record.Header(), -1);
    EXPECT_EQ(record.Footer(), -1);
    EXPECT_EQ(record.Alias(), "");
    EXPECT_FALSE(record.FixedBackground());
}

TEST_F(PageRecordFields, WritesEachFieldAtItsOffset) {
    PageRecord record(page_);
    record.SetGroup(3);
    record.SetOrder(-7);
    record.SetInSequence(true);
    record.SetFrameMap(-2);
    record.SetBackgroundPicture(4);
    record.SetTextColour(0x112233);
    record.SetLinkColour(0x445566);
    record.SetVisitedColour(0x778899);
    record.SetBackgroundColour(0x00AABBCC);
    record.SetHelpContext("IDH_INDICE");
    record.SetRedirect(10, 6);
    record.SetHeader(-2);
    record.SetFooter(9);
    record.SetFixedBackground(true);
    EXPECT_EQ(test::I16At(test::RecordString(page_), 77), 3);
    EXPECT_EQ(test::I16At(test::RecordString(page_), 79), -7);
    EXPECT_EQ(At(189), 0);
    EXPECT_EQ(I32(81), -2);
    EXPECT_TRUE(record.IsPopup());
    EXPECT_EQ(I32(85), 4);
    EXPECT_EQ(I32(89), 0x112233);
    EXPECT_EQ(I32(93), 0x445566);
    EXPECT_EQ(I32(97), 0x778899);
    EXPECT_EQ(I32(101), 0x00AABBCC);
    EXPECT_EQ(At(200), 10);
    EXPECT_EQ(test::RecordString(page_).substr(201, 10), "IDH_INDICE");
    EXPECT_EQ(test::I16At(test::RecordString(page_), 221), 10);
    EXPECT_EQ(I32(227), 6);
    EXPECT_EQ(record.RedirectsAfter(), 10);
    EXPECT_EQ(I32(231), -2);
    EXPECT_EQ(I32(235), 9);
    EXPECT_EQ(At(288), 1);
}

TEST_F(PageRecordFields, StoresAnAliasOfBlanksOnlyEmptyAndCutsAt40) {
    PageRecord record(page_);
    record.SetAlias("   ");
    EXPECT_EQ(At(247), 0);
    record.SetAlias(std::string(45, 'a'));
    EXPECT_EQ(At(247), 40);
    EXPECT_EQ(record.Alias(), std::string(40, 'a'));
    record.SetAlias(" indice.htm");
    EXPECT_EQ(record.Alias(), " indice.htm");
}

TEST_F(PageRecordFields, KeepsKeywordsInTheFirstEmptyEntries) {
    PageRecord record(page_);
    EXPECT_TRUE(record.AddKeyword(7));
    EXPECT_TRUE(record.AddKeyword(3));
    EXPECT_FALSE(record.AddKeyword(7));
    EXPECT_EQ(I32(105), 7);
    EXPECT_EQ(I32(109), 3);
    EXPECT_TRUE(record.HasKeyword(3));
    EXPECT_TRUE(record.RemoveKeyword(7));
    EXPECT_EQ(I32(105), -1);
    EXPECT_TRUE(record.AddKeyword(9));  // takes the emptied first entry
    EXPECT_EQ(I32(105), 9);
    EXPECT_FALSE(record.HasKeyword(-1));
    for (int k = 100; k < 118; ++k) EXPECT_TRUE(record.AddKeyword(k));
    EXPECT_FALSE(record.AddKeyword(200));  // all 20 taken
    EXPECT_EQ(I32(105 + 19 * 4), 117);
    record.SetKeyword(20, 5);  // outside the field: nothing is written
    EXPECT_EQ(At(185), page_.Record()[185]);
    EXPECT_EQ(record.Keyword(-1), -1);
}

TEST_F(PageRecordFields, CompletesAnOldRecordThatThenRedirectsOnlyWithATarget) {
    std::string stored(242, '\0');
    stored[4] = 0;  // in use
    stored[5] = 5;  // title "Vecchia"
    stored.replace(6, 5, "Vecch");
    stored.replace(227, 4, std::string("\x03\0\0\0", 4));  // a target, dropped by completion
    TKYTtesto old(&set_);
    old.SetKind(TOggettiHel::testoHtml);
    old.ReadRecord(stored);
    const PageRecord record = PageRecord::Read(old);
    EXPECT_EQ(record.RedirectSeconds(), 5);
    EXPECT_EQ(record.RedirectTarget(), -1);
    EXPECT_FALSE(record.RedirectsAfter());
    EXPECT_EQ(record.TextVersion(), 1);
    EXPECT_EQ(record.VersionStamp(), 1);
    EXPECT_EQ(record.Header(), -1);
    EXPECT_EQ(record.Alias(), "");
    EXPECT_FALSE(record.FixedBackground());
    PageRecord(old).SetRedirect(record.RedirectSeconds(), 2);
    EXPECT_EQ(PageRecord::Read(old).RedirectsAfter(), 5);
}

class HeaderFooter : public test::KytTest {
protected:
    TKYToggetto& page_ = AddPage("Pagina", std::string("<Z S0 >p\0", 9));
    TKYToggetto& header_ = AddPage("Intestazione", std::string("<Z S0 >h\0", 9));
    TKYToggetto& footer_ = AddPage("Pie", std::string("<Z S0 >f\0", 9));
    void Hypertext(std::int32_t header, std::int32_t footer) {
        set_.HeaderRecordView().SetI32(kHdrHeaderPage, header);
        set_.HeaderRecordView().SetI32(kHdrFooterPage, footer);
    }
};

TEST_F(HeaderFooter, MinusOneTakesTheHypertextsPages) {
    EXPECT_EQ(HeaderPageOf(set_, page_), -1);  // the hypertext has none
    Hypertext(1, 2);
    EXPECT_EQ(HeaderPageOf(set_, page_), 1);
    EXPECT_EQ(FooterPageOf(set_, page_), 2);
}

TEST_F(HeaderFooter, MinusTwoMeansNoneEvenWhenTheHypertextHasOne) {
    Hypertext(1, 2);
    PageRecord(page_).SetHeader(-2);
    PageRecord(page_).SetFooter(-2);
    EXPECT_EQ(HeaderPageOf(set_, page_), -1);
    EXPECT_EQ(FooterPageOf(set_, page_), -1);
}

TEST_F(HeaderFooter, APageOfItsOwnWinsOverTheHypertexts) {
    Hypertext(1, 2);
    PageRecord(page_).SetHeader(2);
    PageRecord(page_).SetFooter(1);
    EXPECT_EQ(HeaderPageOf(set_, page_), 2);
    EXPECT_EQ(FooterPageOf(set_, page_), 1);
}

TEST_F(HeaderFooter, NamesNoPageThatIsFreeMissingOrThePageItself) {
    Hypertext(1, 2);
    footer_.Clear();
    EXPECT_EQ(FooterPageOf(set_, page_), -1);
    PageRecord(page_).SetHeader(99);
    EXPECT_EQ(HeaderPageOf(set_, page_), -1);
    // the header page shown itself has no header: the hypertext's header is that very page
    EXPECT_EQ(HeaderPageOf(set_, header_), -1);
    // nor has a working copy of it, which keeps the page's identifier
    TKYTtesto copy(&set_);
    copy.Assign(header_);
    EXPECT_EQ(HeaderPageOf(set_, copy), -1);
}

}  // namespace
}  // namespace orvo

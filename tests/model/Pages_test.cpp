// Pages: the browse sequence and the tiling of a background picture.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "model/BrowseSequence.h"
#include "model/Tiling.h"

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

}  // namespace
}  // namespace orvo

// The swatch grid's geometry.
#include "ui/swatch_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(SwatchLayout, RowsHoldAtMostTwentyFiveCells) {
    const SwatchGrid one = LayOutSwatches(300, 60, 1);
    EXPECT_EQ(one.columns, 1);
    EXPECT_EQ(one.rows, 1);
    EXPECT_EQ(one.cellWidth, 300);
    EXPECT_EQ(one.cellHeight, 60);

    const SwatchGrid full = LayOutSwatches(300, 60, 25);
    EXPECT_EQ(full.columns, 25);
    EXPECT_EQ(full.rows, 1);
    EXPECT_EQ(full.cellWidth, 12);

    const SwatchGrid twoRows = LayOutSwatches(300, 61, 26);
    EXPECT_EQ(twoRows.columns, 25);
    EXPECT_EQ(twoRows.rows, 2);
    EXPECT_EQ(twoRows.cellHeight, 30);

    const SwatchGrid hundred = LayOutSwatches(300, 60, 100);
    EXPECT_EQ(hundred.rows, 4);
    EXPECT_EQ(hundred.cellHeight, 15);
}

TEST(SwatchLayout, CellSizesTruncateAndLeaveTheRemainder) {
    const SwatchGrid seven = LayOutSwatches(300, 50, 7);
    EXPECT_EQ(seven.columns, 7);
    EXPECT_EQ(seven.cellWidth, 42); // 6 pixels stay white at the right
}

TEST(SwatchLayout, NoCellsForNoColours) {
    EXPECT_EQ(LayOutSwatches(300, 60, 0).columns, 0);
    EXPECT_EQ(LayOutSwatches(300, 60, -3).columns, 0);
    const SwatchGrid tiny = LayOutSwatches(10, 2, 30);
    EXPECT_EQ(tiny.cellWidth, 0);
    EXPECT_EQ(tiny.cellHeight, 1);
}

} // namespace

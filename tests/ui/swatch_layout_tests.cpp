// The swatch grid's geometry.
#include "ui/swatch_layout.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// Rows of at most 25 cells; cell sizes truncate, leaving the remainder white; no cells for no colours.
TEST(SwatchLayout, RowsHoldAtMostTwentyFiveCellsOfTruncatedSize) {
    const struct {
        int width, height, count, columns, rows, cellWidth, cellHeight;
    } cases[] = {
        {300, 60, 1, 1, 1, 300, 60},   {300, 60, 25, 25, 1, 12, 60}, {300, 61, 26, 25, 2, 12, 30},
        {300, 60, 100, 25, 4, 12, 15}, {300, 50, 7, 7, 1, 42, 50},   {300, 60, 0, 0, 0, 0, 0},
        {300, 60, -3, 0, 0, 0, 0},     {10, 2, 30, 25, 2, 0, 1},
    };
    for (const auto& c : cases) {
        const SwatchGrid grid = LayOutSwatches(c.width, c.height, c.count);
        EXPECT_EQ((std::array{grid.columns, grid.rows, grid.cellWidth, grid.cellHeight}),
                  (std::array{c.columns, c.rows, c.cellWidth, c.cellHeight}))
            << c.count << " colours in " << c.width << " x " << c.height;
    }
}

TEST(SwatchHitTest, CellBordersSeparatorsAndTheRemainder) {
    // 7 colours in 300 × 50: cells 42 pixels wide, pixels 294..299 left over.
    EXPECT_EQ(SwatchCellAt(300, 50, 7, 0, 0), 0);
    EXPECT_EQ(SwatchCellAt(300, 50, 7, 41, 49), 0);
    EXPECT_EQ(SwatchCellAt(300, 50, 7, 42, 0), 1); // the separator belongs to the cell it starts
    EXPECT_EQ(SwatchCellAt(300, 50, 7, 293, 10), 6);
    EXPECT_EQ(SwatchCellAt(300, 50, 7, 294, 10), -1); // the white remainder
    // 30 colours in two rows of 25: the second row starts at 25, its white cells give -1.
    EXPECT_EQ(SwatchCellAt(300, 60, 30, 0, 30), 25);
    EXPECT_EQ(SwatchCellAt(300, 60, 30, 12 * 4, 59), 29);
    EXPECT_EQ(SwatchCellAt(300, 60, 30, 12 * 5, 30), -1);
    EXPECT_EQ(SwatchCellAt(300, 60, 30, 12 * 24 + 11, 29), 24);
    // 100 colours: four rows 15 pixels high.
    EXPECT_EQ(SwatchCellAt(300, 60, 100, 299 - 11, 59), 99);
    EXPECT_EQ(SwatchCellAt(300, 60, 100, 13, 15), 26);
}

TEST(SwatchHitTest, NoCellsWithoutColoursOrPixels) {
    EXPECT_EQ(SwatchCellAt(300, 60, 0, 5, 5), -1);
    EXPECT_EQ(SwatchCellAt(20, 60, 30, 5, 5), -1); // under one pixel a column
    EXPECT_EQ(SwatchCellAt(300, 1, 30, 5, 0), -1); // under one pixel a row
    // Exactly one pixel a column or a row is still a cell.
    EXPECT_EQ(SwatchCellAt(25, 60, 30, 24, 0), 24);
    EXPECT_EQ(SwatchCellAt(300, 2, 30, 12, 1), 26);
}

TEST(SwatchDragPreview, OneCellCentredOnTheMouseAndClippedToTheFrame) {
    const SwatchRect frame{10, 20, 310, 80};
    const SwatchGrid grid = LayOutSwatches(300, 60, 7); // cells 42 × 60
    const SwatchRect middle = DragPreviewCell(frame, grid, 100, 30);
    EXPECT_EQ(middle.left, 10 + 100 - 21);
    EXPECT_EQ(middle.right, middle.left + 42);
    EXPECT_EQ(middle.top, 20);
    EXPECT_EQ(middle.bottom, 80);

    const SwatchGrid odd = LayOutSwatches(300, 61, 26); // cells 12 × 30
    const SwatchRect corner = DragPreviewCell(frame, odd, 2, 59);
    EXPECT_EQ(corner.left, 10);
    EXPECT_EQ(corner.right, 10 + 2 - 6 + 12);
    EXPECT_EQ(corner.top, 20 + 59 - 15);
    EXPECT_EQ(corner.bottom, 80);

    // A mouse far left of the frame: the clipped cell is empty (its right lies left of its left).
    const SwatchGrid oneWide = LayOutSwatches(3, 60, 1); // one cell 3 wide
    const SwatchRect left = DragPreviewCell(frame, oneWide, -5, 0);
    EXPECT_EQ(left.left, 10);
    EXPECT_EQ(left.right, 10 - 5 - 1 + 3);
}

} // namespace
